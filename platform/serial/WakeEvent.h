// A wake-up that a thread waiting on a serial line can poll beside the line (an eventfd).
#pragma once

class CWakeEvent {
public:
    CWakeEvent() = default;
    ~CWakeEvent();
    CWakeEvent(const CWakeEvent&) = delete;
    CWakeEvent& operator=(const CWakeEvent&) = delete;

    // Creates the descriptor on first use; false when the system refuses one.
    bool Create();
    void Signal();
    void Clear();
    int Fd() const { return m_nFd; }

private:
    int m_nFd = -1;
};
