#include "SimFramer.h"

#include "SimCodec.h"

#include <algorithm>
#include <cmath>

std::vector<SSimRequest> CSimFramer::Flush(std::string* dropped)
{
    std::vector<SSimRequest> requests;
    std::string buffer;
    buffer.swap(m_strBuffer);
    if (SimCrcValid(buffer)) {
        requests.push_back({ESimProtocol::Rtu, std::move(buffer)});
        return requests;
    }
    size_t start = 0;
    for (size_t cr = buffer.find('\r'); cr != std::string::npos; cr = buffer.find('\r', start)) {
        requests.push_back({ESimProtocol::Ascii, buffer.substr(start, cr + 1 - start)});
        start = cr + 1;
    }
    if (dropped) *dropped = buffer.substr(start);
    return requests;
}

int SimFrameGapMs(DWORD baud)
{
    if (baud == 0) return 2;
    return std::max(2, static_cast<int>(std::ceil(3.5 * 11 * 1000.0 / baud)));
}
