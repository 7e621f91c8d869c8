// Modbus RTU requests as the wire shows them, and inputs that make a simulated module report a
// chosen raw register value.
#pragma once

#include "HexText.h"
#include "LinkTable.h"
#include "Strings.h"

#include <initializer_list>
#include <string>
#include <vector>

// A frame body with its CRC.
inline std::vector<BYTE> RtuFramed(const std::vector<BYTE>& body)
{
    std::vector<BYTE> frame(body.size() + 2);
    RealLink().GetRtuStrCRC(body.data(), static_cast<DWORD>(body.size()), frame.data());
    return frame;
}

// The frame of a request text with its CRC ("01 03 00 00 00 08 44 0C").
inline std::string RtuFrame(const std::string& text)
{
    return Trim(BytesToHexText(RtuFramed(HexTextToBytes(text))));
}

// The input, in the range low .. low + span, that a module reports as raw.
inline double InputOfRaw(int raw, double low, double span)
{
    return low + raw * span / 65535.0;
}

// The frames of several request texts, in order.
inline std::vector<std::string> RtuFrames(std::initializer_list<const char*> texts)
{
    std::vector<std::string> frames;
    for (const char* t : texts) frames.push_back(RtuFrame(t));
    return frames;
}
