// The serial-port member that the windows carry and never open: using it must not touch the
// system, start a thread or allocate.
#include "SerialPort.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <dirent.h>
#include <new>
#include <optional>

namespace {

std::atomic<long> g_nAllocations{0};

// Entries of a /proc/self folder (open descriptors, threads).
int CountEntries(const char* folder)
{
    DIR* dir = opendir(folder);
    if (!dir) return -1;
    int n = 0;
    while (readdir(dir)) ++n;
    closedir(dir);
    return n;
}

} // namespace

void* operator new(std::size_t size)
{
    ++g_nAllocations;
    if (void* p = std::malloc(size ? size : 1)) return p;
    throw std::bad_alloc();
}
void operator delete(void* p) noexcept
{
    std::free(p);
}
void operator delete(void* p, std::size_t) noexcept
{
    std::free(p);
}

TEST(SerialPort, ANeverOpenedMemberTouchesNothing)
{
    const int nFds = CountEntries("/proc/self/fd");
    const int nThreads = CountEntries("/proc/self/task");
    const long nAllocations = g_nAllocations;
    std::optional<CSerialPort> port;
    port.emplace();
    const DWORD dwInitialWait = port->GetWaitTimeout();
    const bool bStopRequestedAtFirst = port->IsStopRequested();
    const BOOL bStopped = port->StopReceiver();
    port->SetWaitTimeout(0);
    port->SendString("$01M");
    const int nFdsOpen = CountEntries("/proc/self/fd");
    const int nThreadsOpen = CountEntries("/proc/self/task");
    const DWORD dwWait = port->GetWaitTimeout();
    const bool bStopRequested = port->IsStopRequested();
    port.reset();
    const long nAllocated = g_nAllocations - nAllocations;

    EXPECT_EQ(nAllocated, 0);
    EXPECT_EQ(nFdsOpen, nFds) << "no descriptor was opened";
    EXPECT_EQ(nThreadsOpen, nThreads) << "no receiver was started";
    EXPECT_EQ(dwInitialWait, 500u);
    EXPECT_FALSE(bStopRequestedAtFirst);
    EXPECT_EQ(bStopped, TRUE);
    EXPECT_TRUE(bStopRequested);
    EXPECT_EQ(dwWait, 0u) << "only stored";
}
