#include "SerialPort.h"

#include <algorithm>
#include <optional>
#include <system_error>

namespace {

// Bound of a write beyond the time the bytes take on the wire.
constexpr int kWriteSlackMs = 1000;

} // namespace

CSerialPort::~CSerialPort()
{
    StopReceiver();
    CloseCommHandle();
}

bool CSerialPort::OpenPort(IRxCollector& owner, unsigned portnr, const LineSettings& settings,
                           size_t writeCapacity, size_t replyCapacity)
{
    StopReceiver();
    CloseCommHandle();
    if (!m_wakeEvent.Create()) return false;
    m_pOwner = &owner;
    m_nReplyCapacity = replyCapacity;
    {
        std::lock_guard lock(m_mtxWrite);
        m_writeBuf.assign(writeCapacity, 0);
        m_bWritePending = false;
    }
    if (!m_line.Open(portnr)) return false;
    // Refused settings (stop bits 0, say) leave the line as it was; the port is still usable.
    m_line.Configure(settings);
    m_line.Purge();
    return true;
}

bool CSerialPort::StartReceiver()
{
    if (!m_line.IsOpen() || m_receiverThread.joinable()) return false;
    m_bStopRequested = false;
    m_wakeEvent.Clear();
    m_bReceiverAlive = true;
    try {
        m_receiverThread = std::thread(&CSerialPort::ReceiverThread, this);
    } catch (const std::system_error&) {
        m_bReceiverAlive = false;
        return false;
    }
    return true;
}

bool CSerialPort::StopReceiver()
{
    if (m_receiverThread.joinable()) {
        m_bStopRequested = true;
        m_wakeEvent.Signal();
        m_receiverThread.join();
        m_bStopRequested = false;
    }
    return true;
}

void CSerialPort::CloseCommHandle()
{
    m_line.Close();
}

bool CSerialPort::SendBytes(const BYTE* bytes, size_t count, std::uint64_t tag)
{
    {
        std::lock_guard lock(m_mtxWrite);
        if (!m_bReceiverAlive || count > m_writeBuf.size() || (count > 0 && !bytes)) return false;
        std::copy_n(bytes, count, m_writeBuf.begin());
        m_nWriteLength = count;
        m_nWriteTag = tag;
        m_bWritePending = true;
    }
    m_wakeEvent.Signal();
    return true;
}

std::optional<CSerialPort::SentRequest> CSerialPort::WritePending()
{
    std::vector<BYTE> request;
    SentRequest sent{};
    {
        std::lock_guard lock(m_mtxWrite);
        if (!m_bWritePending) return std::nullopt;
        m_bWritePending = false;
        request.assign(m_writeBuf.begin(), m_writeBuf.begin() + static_cast<long>(m_nWriteLength));
        sent.m_nTag = m_nWriteTag;
    }
    // Input still queued is no answer to this request.
    m_line.Purge();
    sent.m_nSendMs = m_line.TransmitTimeMs(request.size());
    // A failed write is not retried: the reply then ends at the first silence, empty.
    m_line.WriteAll(request.data(), request.size(), sent.m_nSendMs + kWriteSlackMs);
    return sent;
}

void CSerialPort::ReceiverThread()
{
    m_line.Purge();
    std::uint64_t awaited = 0; // tag of the reply being collected; 0: none
    SteadyClock::time_point silenceEnd;
    SteadyClock::time_point replyEnd;
    auto endReply = [&] {
        m_pOwner->EndOfReply(awaited);
        awaited = 0;
    };
    BYTE chunk[256];
    for (;;) {
        // Between requests nothing waits for a silence, so the thread sleeps until a byte or a
        // request comes.
        int waitMs = awaited ? MsUntil(std::min(silenceEnd, replyEnd)) : -1;
        CSerialLine::EWait result = m_line.Wait(waitMs, m_wakeEvent.Fd());
        const auto now = SteadyClock::now();
        const std::chrono::milliseconds silence(m_dwWaitTimeout.load());
        if (result == CSerialLine::EWait::Woken) {
            m_wakeEvent.Clear();
            if (m_bStopRequested) break;
            if (auto sent = WritePending()) {
                if (awaited) endReply();
                awaited = sent->m_nTag;
                // The wait for the first byte starts once the request has left the wire; however
                // the reply trickles, it cannot run past the time a full collector takes.
                silenceEnd = now + std::chrono::milliseconds(sent->m_nSendMs) + silence;
                replyEnd =
                    silenceEnd + std::chrono::milliseconds(m_line.TransmitTimeMs(m_nReplyCapacity));
            }
        } else if (result == CSerialLine::EWait::Readable) {
            long n = m_line.ReadSome(chunk, sizeof chunk);
            if (n <= 0) continue;
            silenceEnd = now + silence;
            if (m_pOwner->CollectRxBytes(chunk, static_cast<size_t>(n)) && awaited) endReply();
        } else if (awaited && now >= std::min(silenceEnd, replyEnd)) {
            endReply();
        }
    }
    m_bReceiverAlive = false;
    m_pOwner->ReceiverEnded();
}
