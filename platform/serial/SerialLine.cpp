#include "SerialLine.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <linux/serial.h>
#include <poll.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

namespace {

struct BaudEntry {
    DWORD dwBaud;
    speed_t speed;
};

constexpr std::array<BaudEntry, 8> kBaudTable = {{
    {1200, B1200},
    {2400, B2400},
    {4800, B4800},
    {9600, B9600},
    {19200, B19200},
    {38400, B38400},
    {57600, B57600},
    {115200, B115200},
}};

struct CharSizeEntry {
    unsigned nBits;
    tcflag_t flag;
};

constexpr std::array<CharSizeEntry, 4> kCharSizeTable = {{{5, CS5}, {6, CS6}, {7, CS7}, {8, CS8}}};

struct ParityEntry {
    char cLetter;
    tcflag_t flags;
};

constexpr std::array<ParityEntry, 3> kParityTable = {
    {{'N', 0}, {'E', PARENB}, {'O', PARENB | PARODD}}};

template <typename Table, typename Pred> auto FindEntry(const Table& table, Pred pred)
{
    auto it = std::find_if(table.begin(), table.end(), pred);
    return it == table.end() ? nullptr : &*it;
}

// No line discipline: bytes pass unchanged, no echo, no flow control, no signals. The rate and the
// character format are left alone so a refused Configure keeps the line's earlier settings.
bool MakeRaw(int fd)
{
    termios t{};
    if (tcgetattr(fd, &t) != 0) return false;
    t.c_iflag &=
        ~(IGNBRK | BRKINT | PARMRK | ISTRIP | INLCR | IGNCR | ICRNL | IXON | IXOFF | IXANY | INPCK);
    t.c_oflag &= ~OPOST;
    t.c_lflag &= ~(ECHO | ECHONL | ICANON | ISIG | IEXTEN);
    t.c_cflag |= CLOCAL | CREAD;
    t.c_cflag &= ~CRTSCTS;
    // With O_NONBLOCK: no data gives EAGAIN and a hung-up line gives 0, so the two differ.
    t.c_cc[VMIN] = 1;
    t.c_cc[VTIME] = 0;
    return tcsetattr(fd, TCSANOW, &t) == 0;
}

// USB adapters otherwise hold received bytes back for several milliseconds. Lines that do not
// support it (pseudo-terminals, some drivers) refuse; they work as they are.
void RequestLowLatency(int fd)
{
    serial_struct serial{};
    if (ioctl(fd, TIOCGSERIAL, &serial) != 0) return;
    serial.flags |= ASYNC_LOW_LATENCY;
    ioctl(fd, TIOCSSERIAL, &serial);
}

} // namespace

int MsUntil(std::chrono::steady_clock::time_point deadline)
{
    using namespace std::chrono;
    auto left = ceil<milliseconds>(deadline - steady_clock::now()).count();
    return static_cast<int>(std::clamp<decltype(left)>(left, 0, 1 << 30));
}

std::string CSerialLine::DevicePath(unsigned port)
{
    std::string name = "OSTRA_COM" + std::to_string(port);
    if (const char* path = std::getenv(name.c_str()); path && *path) return path;
    return "/dev/ttyS" + std::to_string(port - 1);
}

bool CSerialLine::IsKnownRate(DWORD baud)
{
    return FindEntry(kBaudTable, [&](auto& e) { return e.dwBaud == baud; }) != nullptr;
}

bool CSerialLine::Open(unsigned port)
{
    Close();
    if (port == 0) return false;
    const std::string path = DevicePath(port);
    m_nPort = port;
    int fd = open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        ReportOpenFailure(path, errno);
        return false;
    }
    // TIOCEXCL alone does not keep out root, so a lock decides; it also refuses a second open by
    // this process, since each open has a lock of its own.
    if (flock(fd, LOCK_EX | LOCK_NB) != 0 || ioctl(fd, TIOCEXCL) != 0 || !MakeRaw(fd)) {
        int error = errno == EWOULDBLOCK ? EBUSY : errno;
        close(fd);
        ReportOpenFailure(path, error);
        return false;
    }
    RequestLowLatency(fd);
    m_nFd = fd;
    m_bLost = false;
    return true;
}

void CSerialLine::Close()
{
    if (m_nFd < 0) return;
    ioctl(m_nFd, TIOCNXCL);
    close(m_nFd);
    m_nFd = -1;
    m_bLost = false;
}

void CSerialLine::ReportOpenFailure(const std::string& path, int error) const
{
    const char* hint = "";
    if (error == EACCES || error == EPERM)
        hint = " (add the user to the dialout group: sudo usermod -aG dialout $USER, then log in "
               "again)";
    else if (error == EBUSY)
        hint = " (another program, or another part of this one, has the line open)";
    std::fprintf(stderr, "Cannot open COM%u (%s): %s%s\n", m_nPort, path.c_str(),
                 std::strerror(error), hint);
}

bool CSerialLine::Configure(const LineSettings& settings)
{
    auto baud = FindEntry(kBaudTable, [&](auto& e) { return e.dwBaud == settings.m_dwBaud; });
    auto size = FindEntry(kCharSizeTable, [&](auto& e) { return e.nBits == settings.m_nDataBits; });
    auto parity = FindEntry(kParityTable, [&](auto& e) { return e.cLetter == settings.m_cParity; });
    bool stopOk = settings.m_nStopBits == 1 || settings.m_nStopBits == 2;
    termios t{};
    if (!IsOpen() || !baud || !size || !parity || !stopOk || tcgetattr(m_nFd, &t) != 0)
        return false;
    t.c_cflag &= ~(CSIZE | PARENB | PARODD | CSTOPB);
    t.c_cflag |= size->flag | parity->flags | (settings.m_nStopBits == 2 ? CSTOPB : 0);
    cfsetispeed(&t, baud->speed);
    cfsetospeed(&t, baud->speed);
    return tcsetattr(m_nFd, TCSANOW, &t) == 0;
}

void CSerialLine::Purge()
{
    if (IsOpen()) tcflush(m_nFd, TCIOFLUSH);
}

CSerialLine::EWait CSerialLine::Wait(int timeoutMs, int wakeFd)
{
    if (!IsOpen()) return EWait::Lost;
    if (m_bLost && wakeFd < 0) return EWait::Lost;
    pollfd fds[2] = {};
    nfds_t count = 0;
    int lineIndex = -1;
    if (!m_bLost) {
        lineIndex = static_cast<int>(count);
        fds[count++] = {m_nFd, POLLIN, 0};
    }
    int wakeIndex = -1;
    if (wakeFd >= 0) {
        wakeIndex = static_cast<int>(count);
        fds[count++] = {wakeFd, POLLIN, 0};
    }
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    for (;;) {
        int ready = poll(fds, count, timeoutMs < 0 ? -1 : MsUntil(deadline));
        if (ready < 0 && errno == EINTR) continue;
        if (ready == 0) return EWait::TimedOut;
        if (ready < 0) break;
        if (wakeIndex >= 0 && fds[wakeIndex].revents) return EWait::Woken;
        // A hung-up line also reports POLLIN, with nothing to read.
        short line = lineIndex >= 0 ? fds[lineIndex].revents : 0;
        if ((line & POLLIN) && !(line & (POLLHUP | POLLERR | POLLNVAL))) return EWait::Readable;
        break;
    }
    m_bLost = true;
    return wakeFd >= 0 ? Wait(timeoutMs < 0 ? -1 : MsUntil(deadline), wakeFd) : EWait::Lost;
}

long CSerialLine::ReadSome(BYTE* buffer, size_t size)
{
    if (!IsOpen() || m_bLost) return -1;
    ssize_t n = read(m_nFd, buffer, size);
    if (n > 0) return static_cast<long>(n);
    if (n < 0 && (errno == EAGAIN || errno == EINTR)) return 0;
    m_bLost = true;
    return -1;
}

bool CSerialLine::WriteAll(const BYTE* data, size_t size, int timeoutMs)
{
    if (!IsOpen() || m_bLost) return false;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    size_t done = 0;
    while (done < size) {
        ssize_t n = write(m_nFd, data + done, size - done);
        if (n > 0) {
            done += static_cast<size_t>(n);
            continue;
        }
        if (n < 0 && errno == EINTR) continue;
        if (n < 0 && errno != EAGAIN) break;
        pollfd p{m_nFd, POLLOUT, 0};
        int ready = poll(&p, 1, MsUntil(deadline));
        if (ready == 0) return false;
        if (ready > 0 && !(p.revents & POLLOUT)) break;
    }
    if (done == size) return true;
    m_bLost = true;
    return false;
}

int CSerialLine::TransmitTimeMs(size_t count) const
{
    termios t{};
    if (!IsOpen() || tcgetattr(m_nFd, &t) != 0) return 0;
    auto baud = FindEntry(kBaudTable, [&](auto& e) { return e.speed == cfgetospeed(&t); });
    auto size = FindEntry(kCharSizeTable, [&](auto& e) { return e.flag == (t.c_cflag & CSIZE); });
    if (!baud || !size) return 0;
    // Start bit, data bits, parity bit, stop bits.
    unsigned bits =
        1 + size->nBits + ((t.c_cflag & PARENB) ? 1 : 0) + ((t.c_cflag & CSTOPB) ? 2 : 1);
    auto ms =
        (static_cast<unsigned long long>(count) * bits * 1000 + baud->dwBaud - 1) / baud->dwBaud;
    return static_cast<int>(std::min<unsigned long long>(ms, 1u << 30));
}
