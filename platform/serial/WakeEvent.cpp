#include "WakeEvent.h"

#include <cstdint>
#include <sys/eventfd.h>
#include <unistd.h>

CWakeEvent::~CWakeEvent()
{
    if (m_nFd >= 0) close(m_nFd);
}

bool CWakeEvent::Create()
{
    if (m_nFd < 0) m_nFd = eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
    return m_nFd >= 0;
}

void CWakeEvent::Signal()
{
    const std::uint64_t one = 1;
    // Nothing is lost when the write fails: a counter that cannot grow already wakes the waiter.
    if (m_nFd >= 0) (void)!write(m_nFd, &one, sizeof one);
}

void CWakeEvent::Clear()
{
    std::uint64_t count = 0;
    if (m_nFd >= 0) (void)!read(m_nFd, &count, sizeof count);
}
