#include "RtuLink.h"

#include <algorithm>
#include <thread>

namespace {

// The caller's pause after handing a request to the receiver thread.
constexpr std::chrono::milliseconds kAfterSendPause(10);

} // namespace

CRtuLink::CRtuLink(std::chrono::milliseconds openPause) : m_openPause(openPause) {}

CRtuLink::~CRtuLink()
{
    Close();
}

bool CRtuLink::Open(unsigned port, const LineSettings& settings)
{
    if (!m_port.OpenPort(*this, port, settings, kWriteCapacity, kRtuMaxReply) ||
        !m_port.StartReceiver()) {
        Close();
        return false;
    }
    PauseAfterOpen();
    return true;
}

void CRtuLink::PauseAfterOpen() const
{
    std::this_thread::sleep_for(m_openPause);
}

void CRtuLink::Close()
{
    m_port.StopReceiver();
    m_port.CloseCommHandle();
}

std::optional<size_t> CRtuLink::Exchange(const BYTE* request, size_t length, BYTE* reply)
{
    std::uint64_t tag = 0;
    {
        std::lock_guard lock(m_mtx);
        m_nRxCount = 0;
        tag = ++m_nLastTag;
    }
    if (!m_port.SendBytes(request, length, tag)) return std::nullopt;
    std::this_thread::sleep_for(kAfterSendPause);
    std::unique_lock lock(m_mtx);
    m_cvReply.wait(lock, [&] { return m_nEndedTag == tag || !m_port.IsReceiverAlive(); });
    size_t count = m_nEndedTag == tag ? m_nReplyLength : 0;
    std::copy_n(m_rxBuffer.begin(), count, reply);
    reply[count] = 0;
    return count;
}

bool CRtuLink::CollectRxBytes(const BYTE* bytes, size_t count)
{
    std::lock_guard lock(m_mtx);
    // Bytes beyond a full buffer are dropped; a reply being collected ends there.
    size_t taken = std::min(count, m_rxBuffer.size() - m_nRxCount);
    std::copy_n(bytes, taken, m_rxBuffer.begin() + static_cast<long>(m_nRxCount));
    m_nRxCount += taken;
    return m_nRxCount == m_rxBuffer.size();
}

void CRtuLink::EndOfReply(std::uint64_t tag)
{
    std::lock_guard lock(m_mtx);
    m_nEndedTag = tag;
    m_nReplyLength = m_nRxCount;
    m_cvReply.notify_all();
}

void CRtuLink::ReceiverEnded()
{
    // Under the lock, so a caller between its check and its wait cannot miss the wake-up.
    std::lock_guard lock(m_mtx);
    m_cvReply.notify_all();
}
