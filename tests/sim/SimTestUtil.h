// Short ways to put one request on a simulated bus.
#pragma once

#include "SimBus.h"
#include "SimCodec.h"

#include <optional>
#include <string>
#include <string_view>

// The wire bytes of the answer to an ASCII request (text without CR), or nullopt for silence.
inline std::optional<std::string> AskAscii(CSimBus& bus, std::string_view text, SSimLine line = {},
                                           DWORD now = 0)
{
    auto answer = bus.Exchange(ESimProtocol::Ascii, line, text, now);
    if (!answer) return std::nullopt;
    return answer->strBytes;
}

// The hex text of the answer to an RTU request given as hex without its CRC, or nullopt.
inline std::optional<std::string> AskRtu(CSimBus& bus, std::string_view hex, SSimLine line = {},
                                         DWORD now = 0)
{
    std::string frame = SimAppendCrc(*SimBytesFromHex(hex));
    auto answer = bus.Exchange(ESimProtocol::Rtu, line, frame, now);
    if (!answer) return std::nullopt;
    return SimHexBytes(answer->strBytes);
}

// The answer's hex text with its CRC cut off, for comparing the data part.
inline std::string WithoutCrc(const std::string& hex)
{
    return hex.substr(0, hex.size() - 6);
}
