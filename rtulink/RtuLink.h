// The RTU link's process-wide state: the one port, the receive buffer, and the hand-over of each
// reply from the receiver thread to the caller. Both library builds export thin wrappers over it.
#pragma once

#include "Portix_rtu.h"
#include "SerialPort.h"

#include <array>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <optional>

class CRtuLink : private IRxCollector {
public:
    // The write buffer: the longest request the line takes.
    static constexpr size_t kWriteCapacity = 512;

    // openPause: how long Open lets the line settle before the first request.
    explicit CRtuLink(std::chrono::milliseconds openPause = std::chrono::milliseconds(100));
    ~CRtuLink();
    CRtuLink(const CRtuLink&) = delete;
    CRtuLink& operator=(const CRtuLink&) = delete;

    // Opens COM<port> (an open line is closed first), starts its receiver thread and pauses. A
    // refused setting leaves the line as it was and still counts as open. A failed open returns
    // at once.
    bool Open(unsigned port, const LineSettings& settings);
    // The pause with which Open lets the line settle.
    void PauseAfterOpen() const;
    // Stops the receiver thread, waits for it and closes the line; harmless when closed.
    void Close();
    bool IsOpen() const { return m_port.IsOpen(); }
    void SetWaitTimeout(DWORD ms) { m_port.SetWaitTimeout(ms); }

    // Sends request and collects every byte until the line has been silent for the wait time-out
    // (which is also the wait for the first byte), until the buffer is full, or until the reply
    // has run as long as a full buffer takes on the wire. Returns the reply length, 0 for no reply;
    // reply then holds the bytes and a zero byte after them, so it must hold kRtuReplyBufferSize
    // bytes. nullopt, with nothing sent: the line is not open or the request exceeds the write
    // buffer.
    std::optional<size_t> Exchange(const BYTE* request, size_t length, BYTE* reply);
    // Sends bytes and waits for nothing. False when nothing was sent.
    bool Send(const BYTE* bytes, size_t length) { return m_port.SendBytes(bytes, length, 0); }

private:
    bool CollectRxBytes(const BYTE* bytes, size_t count) override;
    void EndOfReply(std::uint64_t tag) override;
    void ReceiverEnded() override;

    const std::chrono::milliseconds m_openPause;
    std::mutex m_mtx; // guards the receive state below
    std::condition_variable m_cvReply;
    std::array<BYTE, kRtuMaxReply> m_rxBuffer{};
    size_t m_nRxCount = 0;
    // Each request has a tag of its own, so the end of an earlier reply never ends a later one.
    std::uint64_t m_nLastTag = 0;
    std::uint64_t m_nEndedTag = 0;
    size_t m_nReplyLength = 0; // of the reply that ended last
    CSerialPort m_port;        // last: its thread ends before the state above goes
};

// Change_Config's pause after closing the line.
inline constexpr std::chrono::milliseconds kChangeConfigPause{100};

// The link of this library build (one per process).
extern CRtuLink g_RtuLink;

// Stores a reply length in the caller's 16-bit word, if one was given.
inline void StoreReplyLength(WORD* replyLength, size_t length)
{
    if (replyLength) *replyLength = static_cast<WORD>(length);
}
