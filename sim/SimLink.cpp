#include "SimLink.h"

#include "Clock.h"
#include "SimCodec.h"

#include <algorithm>
#include <cstring>
#include <stdexcept>

namespace {

// The results the real uart gives for the same situations.
constexpr WORD kUartOk = 0;
constexpr WORD kUartBadArgument = 1;
constexpr WORD kUartOpenFailed = 2;
constexpr WORD kUartSettingsRefused = 3;
constexpr WORD kUartNotOpen = 4;
constexpr WORD kUartNoReply = 6;
constexpr WORD kUartReplyTooLong = 7;
constexpr WORD kUartLineLost = 8;

constexpr size_t kMaxAsciiReply = 199;
constexpr DWORD kRtuOpenPauseMs = 100;

CSimLink* g_pActive = nullptr;

bool ValidLine(DWORD baud, int dataBits, int parity)
{
    return SimBaudCode(baud) != 0 && dataBits >= 5 && dataBits <= 8 && parity >= 0 && parity <= 2;
}

// The exported signatures, routed to the link that exists.
WORD SimOpenComAscii(BYTE port, DWORD baud, BYTE dataBits, BYTE parity, BYTE)
{
    return g_pActive ? g_pActive->OpenAscii(port, baud, dataBits, parity) : kUartOpenFailed;
}
WORD SimChangeBaudAscii(BYTE port, DWORD baud)
{
    return g_pActive ? g_pActive->ChangeBaudAscii(port, baud) : kUartNotOpen;
}
WORD SimCloseComAscii(BYTE port)
{
    return g_pActive ? g_pActive->CloseAscii(port) : kUartOk;
}
WORD SimSendReceiveAscii(BYTE port, const char* command, char* reply, WORD timeoutMs, WORD checksum,
                         WORD* replyLength)
{
    if (g_pActive)
        return g_pActive->SendReceiveAscii(port, command, reply, timeoutMs, checksum, replyLength);
    if (reply) reply[0] = '\0';
    if (replyLength) *replyLength = 0;
    return kUartNotOpen;
}
int SimOpenComRtu(BYTE port, DWORD, DWORD baud, BYTE dataBits, BYTE parity, BYTE stopBits)
{
    return g_pActive ? g_pActive->OpenRtu(port, baud, dataBits, parity, stopBits) : 0;
}
int SimCloseComRtu(BYTE port)
{
    if (g_pActive) return g_pActive->CloseRtu(port);
    return port == 0 ? 0 : 1;
}
int SimSendReceiveRtu(BYTE port, const BYTE* request, DWORD requestLength, BYTE* reply,
                      WORD timeoutMs, DWORD, WORD* replyLength)
{
    if (g_pActive)
        return g_pActive->SendReceiveRtu(port, request, requestLength, reply, timeoutMs,
                                         replyLength);
    if (port != 0 && replyLength) *replyLength = 0;
    return 0;
}
int SimGetRtuStrCRC(const BYTE* source, DWORD length, BYTE* dest)
{
    if (!dest || (length > 0 && !source)) return 0;
    std::string frame = SimAppendCrc(std::string(reinterpret_cast<const char*>(source), length));
    std::memcpy(dest, frame.data(), frame.size());
    return 1;
}

const LinkTable g_simTable = {
    SimOpenComAscii, SimChangeBaudAscii, SimCloseComAscii,  SimSendReceiveAscii,
    SimOpenComRtu,   SimCloseComRtu,     SimSendReceiveRtu, SimGetRtuStrCRC,
};

} // namespace

CSimLink::CSimLink()
{
    if (g_pActive) throw std::logic_error("a simulated link exists already");
    g_pActive = this;
}

CSimLink::CSimLink(CSimBus& bus, int port) : CSimLink()
{
    Attach(port, bus);
}

CSimLink::~CSimLink()
{
    g_pActive = nullptr;
}

void CSimLink::Attach(int port, CSimBus& bus)
{
    m_mapPorts[port].pBus = &bus;
}

void CSimLink::Detach(int port)
{
    auto it = m_mapPorts.find(port);
    if (it != m_mapPorts.end()) it->second.pBus = nullptr;
    if (m_nOpenPort == port) m_nOpenPort = 0;
}

const LinkTable& CSimLink::Table()
{
    return g_simTable;
}

std::vector<std::string> CSimLink::Requests() const
{
    std::vector<std::string> requests;
    for (const SSimExchange& exchange : m_vecTraffic)
        requests.push_back(exchange.eProtocol == ESimProtocol::Ascii
                               ? exchange.strRequest
                               : SimHexBytes(exchange.strRequest));
    return requests;
}

SSimLine CSimLink::Line(int port) const
{
    auto it = m_mapPorts.find(port);
    return it == m_mapPorts.end() ? SSimLine{} : it->second.line;
}

// The device is held by whichever link opened it; the other link's open fails, while a link that
// opens again closes its own line first.
bool CSimLink::Open(ESimProtocol protocol, BYTE port)
{
    if (m_nOpenPort != 0 && m_eOpen != protocol) return false;
    m_nOpenPort = 0;
    auto it = m_mapPorts.find(port);
    if (port == 0 || it == m_mapPorts.end() || !it->second.pBus) return false;
    m_nOpenPort = port;
    m_eOpen = protocol;
    return true;
}

WORD CSimLink::OpenAscii(BYTE port, DWORD baud, BYTE dataBits, BYTE parity)
{
    if (port == 0 || parity > 2) return kUartBadArgument;
    if (!Open(ESimProtocol::Ascii, port)) return kUartOpenFailed;
    if (!ValidLine(baud, dataBits, parity)) {
        m_nOpenPort = 0;
        return kUartSettingsRefused;
    }
    m_mapPorts[port].line = {baud, parity, dataBits};
    return kUartOk;
}

WORD CSimLink::ChangeBaudAscii(BYTE port, DWORD baud)
{
    if (SimBaudCode(baud) == 0) return kUartSettingsRefused;
    if (IsAsciiOpen() && m_nOpenPort == port) m_mapPorts[port].line.dwBaud = baud;
    return kUartOk;
}

WORD CSimLink::CloseAscii(BYTE port)
{
    if (IsAsciiOpen() && m_nOpenPort == port) m_nOpenPort = 0;
    return kUartOk;
}

// As the real uart: the reply up to its CR, at most 199 characters; without a CR the caller
// waits out the time-out and gets no reply (the partial text stays in its buffer).
WORD CSimLink::SendReceiveAscii(BYTE port, const char* command, char* reply, WORD timeoutMs,
                                WORD checksum, WORD* replyLength)
{
    WORD result = kUartBadArgument;
    if (reply) reply[0] = '\0';
    if (command && reply) {
        if (!IsAsciiOpen() || m_nOpenPort != port) {
            result = kUartNotOpen;
        } else {
            std::string text = command;
            if (checksum) text += SimAsciiChecksum(text);
            auto answer = Exchange(ESimProtocol::Ascii, text, timeoutMs);
            if (!answer) {
                result = m_nOpenPort == 0 ? kUartLineLost : kUartNoReply;
            } else {
                size_t cr = answer->find('\r');
                std::string body = answer->substr(0, cr);
                size_t length = std::min(body.size(), kMaxAsciiReply);
                std::memcpy(reply, body.data(), length);
                reply[length] = '\0';
                if (cr == std::string::npos) {
                    Sleep(timeoutMs);
                    result = kUartNoReply;
                } else {
                    result = body.size() > kMaxAsciiReply ? kUartReplyTooLong : kUartOk;
                }
            }
        }
    }
    if (replyLength) *replyLength = static_cast<WORD>(reply ? std::strlen(reply) : 0);
    return result;
}

int CSimLink::OpenRtu(BYTE port, DWORD baud, BYTE dataBits, BYTE parity, BYTE stopBits)
{
    if (port == 0) return 0;
    if (!Open(ESimProtocol::Rtu, port)) {
        Sleep(kRtuOpenPauseMs); // the real library pauses whether or not the line opened
        return 0;
    }
    // A setting the line refuses (the search passes stop bits 0) leaves it as it was.
    bool stopBitsValid = stopBits == 1 || stopBits == 2;
    if (stopBitsValid && ValidLine(baud, dataBits, parity))
        m_mapPorts[port].line = {baud, parity, dataBits};
    Sleep(kRtuOpenPauseMs);
    return 1;
}

// As the real library: any port but 0 closes the one RTU line.
int CSimLink::CloseRtu(BYTE port)
{
    if (port == 0) return 0;
    if (IsRtuOpen()) m_nOpenPort = 0;
    return 1;
}

int CSimLink::SendReceiveRtu(BYTE port, const BYTE* request, DWORD requestLength, BYTE* reply,
                             WORD timeoutMs, WORD* replyLength)
{
    if (port == 0) return 0;
    size_t count = 0;
    bool sendable = reply && (request || requestLength == 0) && requestLength <= kRtuMaxRequest;
    if (sendable && IsRtuOpen()) {
        std::string frame(reinterpret_cast<const char*>(request), requestLength);
        auto answer = Exchange(ESimProtocol::Rtu, frame, timeoutMs);
        if (answer) {
            count = std::min<size_t>(answer->size(), kRtuMaxReply);
            std::memcpy(reply, answer->data(), count);
        }
    }
    if (reply && sendable) reply[count] = 0;
    if (replyLength) *replyLength = static_cast<WORD>(count);
    return count > 0 ? 1 : 0;
}

std::optional<std::string> CSimLink::Exchange(ESimProtocol protocol, std::string request,
                                              WORD timeoutMs)
{
    SPort& port = m_mapPorts[m_nOpenPort];
    SSimExchange record{GetTickCount(), protocol, m_nOpenPort, port.line, request, "", false};
    auto answer = port.pBus->Exchange(protocol, port.line, request, GetTickCount());
    if (answer && answer->bHangUp) {
        Detach(m_nOpenPort);
        m_vecTraffic.push_back(record);
        return std::nullopt;
    }
    if (!answer || answer->strBytes.empty() || answer->dwDelayMs >= timeoutMs) {
        Sleep(timeoutMs);
        m_vecTraffic.push_back(record);
        return std::nullopt;
    }
    Sleep(answer->dwDelayMs);
    record.bAnswered = true;
    record.strReply = protocol == ESimProtocol::Ascii
                          ? answer->strBytes.substr(0, answer->strBytes.find('\r'))
                          : answer->strBytes;
    m_vecTraffic.push_back(record);
    return std::move(answer->strBytes);
}
