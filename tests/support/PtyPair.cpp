#include "PtyPair.h"

#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <stdexcept>
#include <thread>
#include <unistd.h>

CPtyPair::CPtyPair()
{
    int slave = -1;
    char name[256] = {};
    if (openpty(&m_nMaster, &slave, name, nullptr, nullptr) != 0)
        throw std::runtime_error("openpty failed");
    m_strSlavePath = name;
    // The far end sees exactly the bytes the program wrote.
    termios raw{};
    tcgetattr(m_nMaster, &raw);
    cfmakeraw(&raw);
    tcsetattr(m_nMaster, TCSANOW, &raw);
    tcgetattr(slave, &raw);
    cfmakeraw(&raw);
    tcsetattr(slave, TCSANOW, &raw);
    close(slave);
    fcntl(m_nMaster, F_SETFL, fcntl(m_nMaster, F_GETFL) | O_NONBLOCK);
}

CPtyPair::~CPtyPair()
{
    if (m_nSlaveHold >= 0) close(m_nSlaveHold);
    CloseMaster();
}

void CPtyPair::KeepSlaveOpen()
{
    if (m_nSlaveHold < 0) m_nSlaveHold = open(m_strSlavePath.c_str(), O_RDWR | O_NOCTTY);
}

void CPtyPair::CloseMaster()
{
    if (m_nMaster >= 0) close(m_nMaster);
    m_nMaster = -1;
}

std::string CPtyPair::Read(size_t maxBytes, int gapMs)
{
    std::string out;
    while (out.size() < maxBytes) {
        pollfd p{m_nMaster, POLLIN, 0};
        if (poll(&p, 1, gapMs) <= 0 || !(p.revents & POLLIN)) break;
        char buf[512];
        ssize_t n = read(m_nMaster, buf, std::min(sizeof buf, maxBytes - out.size()));
        if (n <= 0) break;
        out.append(buf, static_cast<size_t>(n));
    }
    return out;
}

std::string CPtyPair::ReadUntil(char terminator, int timeoutMs)
{
    using namespace std::chrono;
    auto deadline = steady_clock::now() + milliseconds(timeoutMs);
    std::string out;
    while (out.empty() || out.back() != terminator) {
        int left =
            static_cast<int>(duration_cast<milliseconds>(deadline - steady_clock::now()).count());
        if (left <= 0) break;
        pollfd p{m_nMaster, POLLIN, 0};
        if (poll(&p, 1, left) <= 0 || !(p.revents & POLLIN)) break;
        char c;
        if (read(m_nMaster, &c, 1) != 1) break;
        out.push_back(c);
    }
    return out;
}

void CPtyPair::Write(std::string_view bytes)
{
    size_t done = 0;
    while (done < bytes.size()) {
        ssize_t n = write(m_nMaster, bytes.data() + done, bytes.size() - done);
        if (n > 0) {
            done += static_cast<size_t>(n);
        } else if (n < 0 && errno == EAGAIN) {
            pollfd p{m_nMaster, POLLOUT, 0};
            poll(&p, 1, 100);
        } else {
            break;
        }
    }
}

void CPtyPair::WriteChunks(const std::vector<PtyChunk>& chunks)
{
    for (const PtyChunk& chunk : chunks) {
        std::this_thread::sleep_for(std::chrono::milliseconds(chunk.nDelayMs));
        Write(chunk.strBytes);
    }
}

termios CPtyPair::SlaveSettings() const
{
    termios t{};
    tcgetattr(m_nMaster, &t);
    return t;
}

CScopedComPort::CScopedComPort(int port, const std::string& path)
    : m_strName("OSTRA_COM" + std::to_string(port))
{
    setenv(m_strName.c_str(), path.c_str(), 1);
}

CScopedComPort::~CScopedComPort()
{
    unsetenv(m_strName.c_str());
}
