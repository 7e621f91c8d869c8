// The exports of libKobal.so, the later revision: changed meanings of the shared exports, and four
// operations of its own.
#include "AsciiChecksum.h"
#include "Portix_rtu.h"
#include "RtuCrc.h"
#include "RtuLink.h"

#include <algorithm>
#include <cstring>
#include <string>
#include <thread>

namespace {

// This revision always opens the line without parity.
constexpr char kParity = 'N';
// The wait time-out Change_Config reopens the line with.
constexpr DWORD kReconfiguredWaitMs = 500;
// Send_Rtu's pause after handing over the command.
constexpr std::chrono::milliseconds kAfterAsciiSendPause(200);

bool IsAsciiPort(BYTE port)
{
    return port >= 1 && port <= 4;
}

bool OpenLine(BYTE port, DWORD waitTimeoutMs, DWORD baud, unsigned dataBits, unsigned stopBits)
{
    g_RtuLink.SetWaitTimeout(waitTimeoutMs);
    return g_RtuLink.Open(port, {baud, dataBits, kParity, stopBits});
}

} // namespace

// waitTimeoutMs: the line silence that ends every reply until the next open.
RTU_API int Open_ComRtu(BYTE port, DWORD waitTimeoutMs, DWORD baud, BYTE dataBits, BYTE,
                        BYTE stopBits)
{
    return OpenLine(port, waitTimeoutMs, baud, dataBits, stopBits) ? 1 : 0;
}

RTU_API int Close_ComRtu(BYTE)
{
    g_RtuLink.Close();
    return 1;
}

// The port and time-out arguments are not used: the time-out of the last open holds. mode: 0 or
// 1, both send the request unchanged; any other mode sends nothing.
RTU_API int Send_Receive_Rtu(BYTE, const BYTE* request, DWORD requestLength, BYTE* reply, WORD,
                             WORD mode, WORD* replyLength)
{
    std::optional<size_t> count;
    if (reply && mode <= 1) count = g_RtuLink.Exchange(request, requestLength, reply);
    if (!count) {
        StoreReplyLength(replyLength, 0);
        return 0;
    }
    // This revision reports a missing reply with a length of 1.
    StoreReplyLength(replyLength, *count > 0 ? *count : 1);
    return *count > 0 ? 1 : 0;
}

RTU_API WORD Change_Config(BYTE port, DWORD baud, DWORD dataBits, DWORD, DWORD stopBits)
{
    g_RtuLink.Close();
    std::this_thread::sleep_for(kChangeConfigPause);
    OpenLine(port, kReconfiguredWaitMs, baud, dataBits, stopBits);
    return 0;
}

RTU_API WORD Get_Com_Status(DWORD)
{
    return 0;
}

// Sends an ASCII command (mode 1: with its checksum digits) and waits for no answer: count caps
// the characters sent. Always 1.
RTU_API int Send_Rtu(BYTE port, const char* text, DWORD count, WORD mode)
{
    if (IsAsciiPort(port) && text && mode <= 1) {
        std::string frame = text;
        if (mode == 1) frame += AsciiChecksumDigits(frame.substr(0, frame.find('\r')));
        frame += '\r';
        g_RtuLink.Send(reinterpret_cast<const BYTE*>(frame.data()),
                       std::min<size_t>(count, frame.size()));
    }
    std::this_thread::sleep_for(kAfterAsciiSendPause);
    return 1;
}

// This revision keeps no ASCII reply: dest always receives an empty text.
RTU_API int Receive_Rtu(BYTE port, char* dest, DWORD, DWORD, DWORD)
{
    if (!IsAsciiPort(port) || !dest) return 0;
    dest[0] = '\0';
    return 0;
}

// Checks the CRC at the end of a frame and copies the frame without it to dest. 1: CRC correct.
RTU_API int DetachStrCRC(const BYTE* frame, DWORD length, BYTE* dest)
{
    if (!frame || !dest || length < 2) return 0;
    const DWORD body = length - 2;
    RtuCrc crc = CalcRtuCrc(frame, body);
    bool match = frame[body] == crc.m_nLow && frame[body + 1] == crc.m_nHigh;
    std::memmove(dest, frame, body);
    return match ? 1 : 0;
}
