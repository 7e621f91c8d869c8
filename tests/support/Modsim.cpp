#include "Modsim.h"

#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <poll.h>
#include <sstream>
#include <stdexcept>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

std::string ReadLine(int fd)
{
    std::string line;
    char c = 0;
    pollfd p{fd, POLLIN, 0};
    while (poll(&p, 1, 10000) > 0 && read(fd, &c, 1) == 1 && c != '\n') line += c;
    return line;
}

} // namespace

CModsim::CModsim(const std::string& busText, const std::string& bin)
{
    char dir[] = "/tmp/ostra-modsim-XXXXXX";
    if (!mkdtemp(dir)) throw std::runtime_error("mkdtemp failed");
    m_dir = dir;
    std::ofstream(m_dir / "bus.txt") << busText;
    std::string program = bin + "/modsim";
    std::string log = m_dir / "log.txt";
    std::string bus = m_dir / "bus.txt";
    int out[2];
    if (pipe(out) != 0) throw std::runtime_error("pipe failed");
    m_pid = fork();
    if (m_pid == 0) {
        dup2(out[1], STDOUT_FILENO);
        close(out[0]);
        close(out[1]);
        execl(program.c_str(), "modsim", "--log", log.c_str(), bus.c_str(), nullptr);
        std::fprintf(stderr, "cannot run %s: %s\n", program.c_str(), std::strerror(errno));
        _exit(127);
    }
    close(out[1]);
    m_strSlave = ReadLine(out[0]); // modsim names its slave on its first line
    close(out[0]);
}

CModsim::~CModsim()
{
    Stop();
    std::error_code ignored;
    fs::remove_all(m_dir, ignored);
}

int CModsim::Stop(int waitMs)
{
    if (m_pid <= 0) return m_nStatus;
    for (int waited = 0; waited < waitMs && !Reap(WNOHANG); waited += 10) {
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    if (m_pid > 0) {
        kill(m_pid, SIGTERM);
        Reap(0);
    }
    return m_nStatus;
}

std::string CModsim::Log() const
{
    std::ifstream file(m_dir / "log.txt");
    std::stringstream text;
    text << file.rdbuf();
    return text.str();
}

bool CModsim::Reap(int flags)
{
    int status = 0;
    if (waitpid(m_pid, &status, flags) != m_pid) return false;
    m_nStatus = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    m_pid = -1;
    return true;
}
