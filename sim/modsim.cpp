// modsim: serves a bus of simulated modules on a pseudo-terminal, so the program (or a test) can
// open it as its COM port. Prints the slave's path on the first line of standard output.
//
//   modsim [--log FILE] BUSFILE
//
// The rate is read from the line settings the program set on the slave (the master sees them);
// the parity is not visible there, so every parity is heard. With --log, every request and reply
// is written to FILE with the time since start in seconds:
//   0.512 9600 req ascii "$01M\r"
//   0.512 9600 rep ascii "!016384\r"
//   0.731 9600 req rtu 01 03 27 10 00 02 CF 7B
//   0.902 9600 dropped 24 30    (bytes that made no request by the time the line fell silent)
// Ends on SIGTERM or SIGINT. A module with the hang-up fault closes the line and ends modsim.
#include "SimBus.h"
#include "SimCodec.h"
#include "SimFramer.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <map>
#include <poll.h>
#include <pty.h>
#include <string>
#include <termios.h>
#include <unistd.h>

namespace {

using Clock = std::chrono::steady_clock;

volatile std::sig_atomic_t g_bStop = 0;
void OnStopSignal(int)
{
    g_bStop = 1;
}

DWORD BaudOf(speed_t speed)
{
    static const std::map<speed_t, DWORD> rates = {
        {B1200, 1200},   {B2400, 2400},   {B4800, 4800},   {B9600, 9600},
        {B19200, 19200}, {B38400, 38400}, {B57600, 57600}, {B115200, 115200},
    };
    auto it = rates.find(speed);
    return it == rates.end() ? 0 : it->second;
}

std::string Escaped(std::string_view bytes)
{
    std::string out = "\"";
    for (unsigned char c : bytes) {
        if (c == '\r') {
            out += "\\r";
        } else if (c == '\n') {
            out += "\\n";
        } else if (c == '"' || c == '\\') {
            out += '\\';
            out += static_cast<char>(c);
        } else if (c >= 0x20 && c < 0x7F) {
            out += static_cast<char>(c);
        } else {
            out += "\\x" + SimHexPair(c);
        }
    }
    return out + "\"";
}

class CServer {
public:
    CServer(CSimBus& bus, std::FILE* log) : m_bus(bus), m_pLog(log) {}
    ~CServer();
    // Opens the pseudo-terminal; its slave's path, or "" on failure.
    std::string Open();
    // Serves until a stop signal or a hang-up fault. False when the line failed.
    bool Run(const sigset_t& waitMask);

private:
    struct SPending {
        Clock::time_point due;
        std::string strBytes;
        ESimProtocol eProtocol;
    };
    DWORD Now() const;
    SSimLine Line() const;
    void Log(DWORD baud, const char* what, ESimProtocol protocol, std::string_view bytes);
    bool ReadInput();
    bool Serve(const SSimRequest& request);
    bool WriteDue();
    int WaitMs() const;
    void CloseLine();

    CSimBus& m_bus;
    std::FILE* m_pLog;
    const Clock::time_point m_start = Clock::now();
    int m_nMaster = -1;
    int m_nSlave = -1; // held open so the master never sees a hang-up between two opens
    CSimFramer m_framer;
    Clock::time_point m_lastByte;
    std::vector<SPending> m_vecPending; // late replies, in order of their due time
};

CServer::~CServer()
{
    CloseLine();
}

void CServer::CloseLine()
{
    if (m_nSlave >= 0) close(m_nSlave);
    if (m_nMaster >= 0) close(m_nMaster);
    m_nSlave = m_nMaster = -1;
}

std::string CServer::Open()
{
    char name[256] = {};
    if (openpty(&m_nMaster, &m_nSlave, name, nullptr, nullptr) != 0) return "";
    // Raw at 9600 until the program sets its own: no echo of the replies back to us.
    termios tio{};
    tcgetattr(m_nSlave, &tio);
    cfmakeraw(&tio);
    cfsetispeed(&tio, B9600);
    cfsetospeed(&tio, B9600);
    tcsetattr(m_nSlave, TCSANOW, &tio);
    fcntl(m_nMaster, F_SETFL, fcntl(m_nMaster, F_GETFL) | O_NONBLOCK);
    return name;
}

DWORD CServer::Now() const
{
    using namespace std::chrono;
    return static_cast<DWORD>(duration_cast<milliseconds>(Clock::now() - m_start).count());
}

SSimLine CServer::Line() const
{
    termios tio{};
    if (tcgetattr(m_nMaster, &tio) != 0) return {0, -1, 8};
    static const std::map<tcflag_t, int> sizes = {{CS5, 5}, {CS6, 6}, {CS7, 7}, {CS8, 8}};
    return {BaudOf(cfgetospeed(&tio)), -1, sizes.at(tio.c_cflag & CSIZE)};
}

void CServer::Log(DWORD baud, const char* what, ESimProtocol protocol, std::string_view bytes)
{
    if (!m_pLog) return;
    bool ascii = protocol == ESimProtocol::Ascii;
    std::string text = ascii ? Escaped(bytes) : SimHexBytes(bytes);
    std::fprintf(m_pLog, "%.3f %u %s %s %s\n", Now() / 1000.0, baud, what, ascii ? "ascii" : "rtu",
                 text.c_str());
    std::fflush(m_pLog);
}

bool CServer::ReadInput()
{
    char buffer[512];
    for (;;) {
        ssize_t n = read(m_nMaster, buffer, sizeof buffer);
        if (n > 0) {
            m_framer.Add(std::string_view(buffer, static_cast<size_t>(n)));
            m_lastByte = Clock::now();
            continue;
        }
        return n < 0 && (errno == EAGAIN || errno == EINTR || errno == EIO);
    }
}

bool CServer::Serve(const SSimRequest& request)
{
    SSimLine line = Line();
    Log(line.dwBaud, "req", request.eProtocol, request.strBytes);
    std::string_view bytes = request.strBytes;
    if (request.eProtocol == ESimProtocol::Ascii) bytes.remove_suffix(1); // the CR
    auto answer = m_bus.Exchange(request.eProtocol, line, bytes, Now());
    if (!answer) return true;
    if (answer->bHangUp) {
        if (m_pLog) std::fprintf(m_pLog, "%.3f line closed\n", Now() / 1000.0);
        CloseLine();
        return false;
    }
    SPending pending{Clock::now() + std::chrono::milliseconds(answer->dwDelayMs),
                     std::move(answer->strBytes), request.eProtocol};
    auto at = std::upper_bound(m_vecPending.begin(), m_vecPending.end(), pending.due,
                               [](auto due, const SPending& p) { return due < p.due; });
    m_vecPending.insert(at, std::move(pending));
    return true;
}

bool CServer::WriteDue()
{
    while (!m_vecPending.empty() && m_vecPending.front().due <= Clock::now()) {
        const SPending& pending = m_vecPending.front();
        Log(Line().dwBaud, "rep", pending.eProtocol, pending.strBytes);
        size_t done = 0;
        while (done < pending.strBytes.size()) {
            ssize_t n =
                write(m_nMaster, pending.strBytes.data() + done, pending.strBytes.size() - done);
            if (n > 0) {
                done += static_cast<size_t>(n);
            } else if (n < 0 && errno == EAGAIN) {
                pollfd p{m_nMaster, POLLOUT, 0};
                poll(&p, 1, 100);
            } else if (n < 0 && errno != EINTR) {
                return false;
            }
        }
        m_vecPending.erase(m_vecPending.begin());
    }
    return true;
}

// How long the loop may sleep: until the next late reply is due or the current frame ends.
int CServer::WaitMs() const
{
    using namespace std::chrono;
    auto until = Clock::time_point::max();
    if (!m_vecPending.empty()) until = m_vecPending.front().due;
    if (!m_framer.Empty())
        until = std::min(until, m_lastByte + milliseconds(SimFrameGapMs(Line().dwBaud)));
    if (until == Clock::time_point::max()) return -1;
    auto left = duration_cast<milliseconds>(until - Clock::now()).count() + 1;
    return static_cast<int>(std::max<long long>(left, 0));
}

bool CServer::Run(const sigset_t& waitMask)
{
    while (!g_bStop) {
        int waitMs = WaitMs();
        timespec timeout{waitMs / 1000, (waitMs % 1000) * 1000000L};
        pollfd p{m_nMaster, POLLIN, 0};
        int ready = ppoll(&p, 1, waitMs < 0 ? nullptr : &timeout, &waitMask);
        if (ready < 0 && errno != EINTR) return false;
        if (ready > 0 && (p.revents & (POLLERR | POLLNVAL))) return false;
        if (ready > 0 && (p.revents & POLLIN) && !ReadInput()) return false;
        auto gap = std::chrono::milliseconds(SimFrameGapMs(Line().dwBaud));
        if (!m_framer.Empty() && Clock::now() - m_lastByte >= gap) {
            std::string dropped;
            for (const SSimRequest& request : m_framer.Flush(&dropped))
                if (!Serve(request)) return true;
            if (!dropped.empty() && m_pLog)
                std::fprintf(m_pLog, "%.3f %u dropped %s\n", Now() / 1000.0, Line().dwBaud,
                             SimHexBytes(dropped).c_str());
        }
        if (!WriteDue()) return false;
    }
    return true;
}

int Usage()
{
    std::fprintf(stderr, "usage: modsim [--log FILE] BUSFILE\n");
    return 2;
}

} // namespace

int main(int argc, char** argv)
{
    std::string busFile;
    std::string logFile;
    for (int i = 1; i < argc; ++i) {
        std::string arg = argv[i];
        if (arg == "--log" && i + 1 < argc)
            logFile = argv[++i];
        else if (!arg.empty() && arg[0] != '-' && busFile.empty())
            busFile = arg;
        else
            return Usage();
    }
    if (busFile.empty()) return Usage();

    CSimBus bus;
    try {
        bus.LoadFile(busFile);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "modsim: %s\n", e.what());
        return 2;
    }
    std::FILE* log = nullptr;
    if (!logFile.empty() && !(log = std::fopen(logFile.c_str(), "w"))) {
        std::fprintf(stderr, "modsim: cannot write %s: %s\n", logFile.c_str(),
                     std::strerror(errno));
        return 2;
    }

    // The stop signals are taken only while waiting, so none is lost between check and wait.
    struct sigaction action {};
    action.sa_handler = OnStopSignal;
    sigaction(SIGTERM, &action, nullptr);
    sigaction(SIGINT, &action, nullptr);
    std::signal(SIGPIPE, SIG_IGN);
    sigset_t blocked;
    sigset_t waitMask;
    sigemptyset(&blocked);
    sigaddset(&blocked, SIGTERM);
    sigaddset(&blocked, SIGINT);
    sigprocmask(SIG_BLOCK, &blocked, &waitMask);

    CServer server(bus, log);
    std::string slave = server.Open();
    if (slave.empty()) {
        std::fprintf(stderr, "modsim: cannot open a pseudo-terminal: %s\n", std::strerror(errno));
        return 1;
    }
    std::printf("%s\n", slave.c_str());
    std::fflush(stdout);
    bool ok = server.Run(waitMask);
    if (log) std::fclose(log);
    return ok ? 0 : 1;
}
