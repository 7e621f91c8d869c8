// For the end-to-end tests that run in real time: window timers that fire by themselves, and the
// event loop run until something has happened.
#pragma once

#include "PtyPair.h"
#include "Wnd.h"

#include <QCoreApplication>

#include <chrono>
#include <functional>
#include <thread>

class CRealTimers {
public:
    CRealTimers() { CWnd::SetManualTimers(false); }
    ~CRealTimers() { CWnd::SetManualTimers(true); }
    CRealTimers(const CRealTimers&) = delete;
    CRealTimers& operator=(const CRealTimers&) = delete;
};

// Runs the event loop until done() or the time is up; false when the time ran out.
inline bool RunUntil(const std::function<bool()>& done, long long timeoutMs)
{
    CStopwatch watch;
    while (!done()) {
        if (watch.ElapsedMs() > timeoutMs) return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents);
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return true;
}
