// Cuts the bytes arriving on a line into requests: an RTU frame ends when the line falls silent
// and must carry its CRC; ASCII commands end at their CR. Both may share the line.
#pragma once

#include "SimModule.h"

#include <string>
#include <string_view>
#include <vector>

struct SSimRequest {
    ESimProtocol eProtocol;
    std::string strBytes; // as on the wire: ASCII with its CR, RTU with its CRC
};

class CSimFramer {
public:
    void Add(std::string_view bytes) { m_strBuffer.append(bytes); }
    bool Empty() const { return m_strBuffer.empty(); }
    // The line has been silent for a frame gap: everything buffered becomes requests. A buffer
    // that is one RTU frame with a valid CRC is that frame; otherwise every run of bytes ended by a
    // CR is an ASCII command, and what follows the last CR is dropped (into dropped, when given),
    // as a module drops a broken frame.
    std::vector<SSimRequest> Flush(std::string* dropped = nullptr);

private:
    std::string m_strBuffer;
};

// The silence that ends an RTU frame at a baud rate: 3.5 characters of 11 bits, at least 2 ms.
int SimFrameGapMs(DWORD baud);
