// The program's one clock: every pause, tick count and local time goes through it, so tests can
// run the program's time-outs and pauses on a virtual clock.
#pragma once

#include "wintypes.h"

#include <ctime>

class IClock {
public:
    virtual ~IClock() = default;
    virtual DWORD TickCount() = 0;    // ms since an arbitrary origin
    virtual void Pause(DWORD ms) = 0; // block the caller for ms
    virtual std::tm LocalTime() = 0;  // wall-clock time, broken down
};

// The clock in force; the real one unless a test installed another.
IClock& Clock();
// Installs a clock (nullptr restores the real one). The caller keeps ownership.
void SetClock(IClock* clock);

DWORD GetTickCount();
void Sleep(DWORD ms);
std::tm GetLocalTime();

// A clock that only moves when told to: Pause advances it at once.
class CVirtualClock : public IClock {
public:
    explicit CVirtualClock(DWORD start = 1000000, std::tm local = DefaultLocal())
        : m_dwNow(start), m_tmLocal(local)
    {
    }
    DWORD TickCount() override { return m_dwNow; }
    void Pause(DWORD ms) override { m_dwNow += ms; }
    std::tm LocalTime() override;
    void Advance(DWORD ms) { m_dwNow += ms; }
    static std::tm DefaultLocal();

private:
    DWORD m_dwNow;
    DWORD m_dwStart = m_dwNow;
    std::tm m_tmLocal;
};

// Installs a virtual clock for the lifetime of the object (tests).
class CScopedVirtualClock : public CVirtualClock {
public:
    CScopedVirtualClock() { SetClock(this); }
    ~CScopedVirtualClock() override { SetClock(nullptr); }
    CScopedVirtualClock(const CScopedVirtualClock&) = delete;
    CScopedVirtualClock& operator=(const CScopedVirtualClock&) = delete;
};
