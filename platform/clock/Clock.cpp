#include "Clock.h"

#include <chrono>
#include <thread>

namespace {

class CRealClock : public IClock {
public:
    DWORD TickCount() override
    {
        using namespace std::chrono;
        return static_cast<DWORD>(
            duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
    }
    void Pause(DWORD ms) override { std::this_thread::sleep_for(std::chrono::milliseconds(ms)); }
    std::tm LocalTime() override
    {
        std::time_t now = std::time(nullptr);
        std::tm local{};
        localtime_r(&now, &local);
        return local;
    }
};

CRealClock g_realClock;
IClock* g_pClock = &g_realClock;

} // namespace

IClock& Clock()
{
    return *g_pClock;
}
void SetClock(IClock* clock)
{
    g_pClock = clock ? clock : &g_realClock;
}

DWORD GetTickCount()
{
    return Clock().TickCount();
}
void Sleep(DWORD ms)
{
    Clock().Pause(ms);
}
std::tm GetLocalTime()
{
    return Clock().LocalTime();
}

std::tm CVirtualClock::DefaultLocal()
{
    std::tm local{};
    local.tm_year = 2026 - 1900;
    local.tm_mon = 0;
    local.tm_mday = 2;
    local.tm_hour = 3;
    local.tm_min = 4;
    local.tm_sec = 5;
    local.tm_isdst = -1;
    return local;
}

std::tm CVirtualClock::LocalTime()
{
    // The local time moves with the virtual tick count, whole seconds only.
    std::tm local = m_tmLocal;
    local.tm_sec += static_cast<int>((m_dwNow - m_dwStart) / 1000);
    std::time_t t = timegm(&local);
    std::tm out{};
    gmtime_r(&t, &out);
    return out;
}
