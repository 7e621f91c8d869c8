#include "uart.h"

#include "AsciiChecksum.h"
#include "SerialLine.h"

#include <algorithm>
#include <chrono>
#include <cstring>
#include <mutex>
#include <string>

namespace {

// Callers' reply buffers hold 200 characters, the NUL included.
constexpr size_t kMaxReply = 199;
// Bound of a write beyond the time the bytes take on the wire.
constexpr int kWriteSlackMs = 1000;
// A line still sending after this many characters' wire time (past the reply time-out) is
// babbling: no reply is that long, even one that is cut.
constexpr size_t kLongestLine = 2 * (kMaxReply + 1);

using SteadyClock = std::chrono::steady_clock;

class CAsciiLink {
public:
    WORD Open(unsigned port, DWORD baud, unsigned dataBits, BYTE parity);
    WORD ChangeBaud(unsigned port, DWORD baud);
    void Close(unsigned port);
    WORD SendReceive(unsigned port, const char* command, char* reply, int timeoutMs, bool checksum);

private:
    WORD ReadReply(char* reply, int timeoutMs, int sendMs);
    bool IsOpenOn(unsigned port) const { return m_line.IsOpen() && port == m_nPort; }

    std::mutex m_mtx;
    CSerialLine m_line;
    unsigned m_nPort = 0;
    LineSettings m_settings;
};

constexpr char kParityLetters[] = {'N', 'E', 'O'};

WORD CAsciiLink::Open(unsigned port, DWORD baud, unsigned dataBits, BYTE parity)
{
    if (port == 0 || parity >= sizeof kParityLetters) return UART_BAD_ARGUMENT;
    std::lock_guard lock(m_mtx);
    m_line.Close();
    if (!m_line.Open(port)) return UART_OPEN_FAILED;
    LineSettings settings{baud, dataBits, kParityLetters[parity], 1};
    if (!m_line.Configure(settings)) {
        m_line.Close();
        return UART_SETTINGS_REFUSED;
    }
    m_line.Purge();
    m_nPort = port;
    m_settings = settings;
    return UART_OK;
}

WORD CAsciiLink::ChangeBaud(unsigned port, DWORD baud)
{
    std::lock_guard lock(m_mtx);
    if (!IsOpenOn(port)) return CSerialLine::IsKnownRate(baud) ? UART_OK : UART_SETTINGS_REFUSED;
    LineSettings settings = m_settings;
    settings.m_dwBaud = baud;
    if (!m_line.Configure(settings)) return UART_SETTINGS_REFUSED;
    m_settings = settings;
    return UART_OK;
}

void CAsciiLink::Close(unsigned port)
{
    std::lock_guard lock(m_mtx);
    if (IsOpenOn(port)) m_line.Close();
}

WORD CAsciiLink::SendReceive(unsigned port, const char* command, char* reply, int timeoutMs,
                             bool checksum)
{
    std::lock_guard lock(m_mtx);
    if (!IsOpenOn(port)) return UART_NOT_OPEN;
    std::string frame = command;
    if (checksum) frame += AsciiChecksumDigits(frame);
    frame += '\r';
    // Whatever came before the request (a late reply, noise) is not its answer.
    m_line.Purge();
    const int sendMs = m_line.TransmitTimeMs(frame.size());
    if (!m_line.WriteAll(reinterpret_cast<const BYTE*>(frame.data()), frame.size(),
                         sendMs + kWriteSlackMs))
        return m_line.IsLost() ? UART_LINE_LOST : UART_WRITE_FAILED;
    return ReadReply(reply, timeoutMs, sendMs);
}

// Collects the reply up to its CR into reply (NUL-terminated at every step).
WORD CAsciiLink::ReadReply(char* reply, int timeoutMs, int sendMs)
{
    using std::chrono::milliseconds;
    // The command is still on the wire for sendMs after the write returned.
    auto gapEnd = SteadyClock::now() + milliseconds(sendMs + timeoutMs);
    const auto latest = gapEnd + milliseconds(m_line.TransmitTimeMs(kLongestLine));
    size_t length = 0;
    bool cut = false;
    for (;;) {
        auto waitUntil = std::min(gapEnd, latest);
        switch (m_line.Wait(MsUntil(waitUntil))) {
        case CSerialLine::EWait::Lost:
            return UART_LINE_LOST;
        case CSerialLine::EWait::TimedOut:
        case CSerialLine::EWait::Woken:
            if (SteadyClock::now() >= waitUntil) return cut ? UART_REPLY_TOO_LONG : UART_NO_REPLY;
            continue;
        case CSerialLine::EWait::Readable:
            break;
        }
        BYTE chunk[256];
        long n = m_line.ReadSome(chunk, sizeof chunk);
        if (n < 0) return UART_LINE_LOST;
        for (long i = 0; i < n; ++i) {
            if (chunk[i] == '\r') return cut ? UART_REPLY_TOO_LONG : UART_OK;
            if (length < kMaxReply) {
                reply[length++] = static_cast<char>(chunk[i]);
                reply[length] = '\0';
            } else {
                cut = true;
            }
        }
        gapEnd = SteadyClock::now() + milliseconds(timeoutMs);
    }
}

CAsciiLink g_link;

} // namespace

UART_API WORD Open_ComAscii(BYTE port, DWORD baud, BYTE dataBits, BYTE parity, BYTE)
{
    return g_link.Open(port, baud, dataBits, parity);
}

UART_API WORD Change_BaudAscii(BYTE port, DWORD baud)
{
    return g_link.ChangeBaud(port, baud);
}

UART_API WORD Close_ComAscii(BYTE port)
{
    g_link.Close(port);
    return UART_OK;
}

UART_API WORD Send_Receive_Ascii(BYTE port, const char* command, char* reply, WORD timeoutMs,
                                 WORD checksum, WORD* replyLength)
{
    WORD result = UART_BAD_ARGUMENT;
    if (reply) reply[0] = '\0';
    if (command && reply)
        result = g_link.SendReceive(port, command, reply, timeoutMs, checksum != 0);
    if (replyLength) *replyLength = static_cast<WORD>(reply ? std::strlen(reply) : 0);
    return result;
}
