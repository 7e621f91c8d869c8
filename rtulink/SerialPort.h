// The link library's serial-port object: one line and the receiver thread that works it. The
// thread reads every received byte into the owner's collector, writes each request handed over by
// SendBytes (dropping stale input first) and tells the collector when the line has fallen silent
// for the wait time-out after the request, which ends the reply.
#pragma once

#include "SerialLine.h"
#include "WakeEvent.h"
#include "wintypes.h"

#include <atomic>
#include <chrono>
#include <cstdint>
#include <mutex>
#include <optional>
#include <thread>
#include <vector>

// What the receiver thread reports to. Called on the receiver thread.
class IRxCollector {
public:
    // Bytes came off the line. Returns true when the collector is full.
    virtual bool CollectRxBytes(const BYTE* bytes, size_t count) = 0;
    // The reply to the request tagged `tag` has ended: the line fell silent, the collector is full,
    // or the reply ran out of time.
    virtual void EndOfReply(std::uint64_t tag) = 0;
    // The thread is about to end; no more calls follow.
    virtual void ReceiverEnded() = 0;

protected:
    ~IRxCollector() = default;
};

class CSerialPort {
public:
    static constexpr DWORD kDefaultWaitTimeout = 200;

    CSerialPort() = default;
    // Stops the receiver thread and closes the line: the object may go away with the line open (at
    // process exit, or when the library is unloaded).
    ~CSerialPort();
    CSerialPort(const CSerialPort&) = delete;
    CSerialPort& operator=(const CSerialPort&) = delete;

    // Opens COM<portnr> (1 to 255) and sets it from settings; a line open before is closed first.
    // True when the line opened, also when the settings were refused (the line then keeps the
    // settings it had). writeCapacity bounds a request; replyCapacity is the collector's size, used
    // to bound how long a reply may run.
    bool OpenPort(IRxCollector& owner, unsigned portnr, const LineSettings& settings,
                  size_t writeCapacity, size_t replyCapacity);
    bool StartReceiver();
    // Makes the receiver thread end and waits for it. Always true.
    bool StopReceiver();
    void CloseCommHandle();

    // Hands bytes to the receiver thread to write. tag names the reply that the request awaits (0:
    // none): the thread ends that reply at the first silence after the write. False (nothing sent)
    // when no receiver runs or the bytes exceed the write buffer.
    bool SendBytes(const BYTE* bytes, size_t count, std::uint64_t tag);

    bool IsOpen() const { return m_line.IsOpen(); }
    bool IsReceiverAlive() const { return m_bReceiverAlive; }
    // The silence that ends a reply, and the wait for its first byte. Used from the next wait on.
    void SetWaitTimeout(DWORD ms) { m_dwWaitTimeout = ms; }

private:
    using SteadyClock = std::chrono::steady_clock;

    struct SentRequest {
        std::uint64_t m_nTag;
        int m_nSendMs; // time the request takes on the wire
    };

    void ReceiverThread();
    // Drops stale input and writes the pending request, if there is one.
    std::optional<SentRequest> WritePending();

    std::atomic<DWORD> m_dwWaitTimeout{kDefaultWaitTimeout};
    CSerialLine m_line;
    std::thread m_receiverThread;
    std::atomic<bool> m_bReceiverAlive{false};
    std::atomic<bool> m_bStopRequested{false};
    CWakeEvent m_wakeEvent; // stop and write requests; created once, kept for the object's life
    IRxCollector* m_pOwner = nullptr;
    size_t m_nReplyCapacity = 0;

    std::mutex m_mtxWrite;        // guards the write request below
    std::vector<BYTE> m_writeBuf; // sized by OpenPort: the longest request
    size_t m_nWriteLength = 0;
    bool m_bWritePending = false;
    std::uint64_t m_nWriteTag = 0;
};
