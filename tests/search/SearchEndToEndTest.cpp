// A search over a pseudo-terminal: modsim serves the bus, the program talks through the real
// libuart.so and libPortix_rtu.so, in real time, with the window timer running by itself.
#include "SearchWindow.h"

#include "PtyPair.h"

#include <QCoreApplication>

#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <functional>
#include <poll.h>
#include <sys/wait.h>
#include <thread>

using namespace search_test;

namespace {

// modsim serving a bus file; stopped with SIGTERM at the end.
class CModsim {
public:
    explicit CModsim(const std::string& busText) {
        char dir[] = "/tmp/ostra-modsim-XXXXXX";
        if (!mkdtemp(dir)) return;
        m_dir = dir;
        std::ofstream(m_dir / "bus.txt") << busText;
        // $OSTRA_BIN when set, else the build's own folder.
        const char* bin = std::getenv("OSTRA_BIN");
        std::string program = std::string(bin && *bin ? bin : OSTRA_BIN_DIR) + "/modsim";
        std::string bus = (m_dir / "bus.txt").string();
        int out[2];
        if (pipe(out) != 0) return;
        m_pid = fork();
        if (m_pid == 0) {
            dup2(out[1], STDOUT_FILENO);
            close(out[0]);
            close(out[1]);
            execl(program.c_str(), "modsim", bus.c_str(), nullptr);
            std::fprintf(stderr, "cannot run %s: %s\n", program.c_str(), std::strerror(errno));
            _exit(127);
        }
        close(out[1]);
        // modsim names its slave on its first line.
        char c = 0;
        pollfd p{out[0], POLLIN, 0};
        while (poll(&p, 1, 10000) > 0 && read(out[0], &c, 1) == 1 && c != '\n') m_strSlave += c;
        close(out[0]);
    }
    ~CModsim() {
        if (m_pid > 0) {
            kill(m_pid, SIGTERM);
            waitpid(m_pid, nullptr, 0);
        }
        std::error_code ignored;
        if (!m_dir.empty()) fs::remove_all(m_dir, ignored);
    }
    CModsim(const CModsim&) = delete;
    CModsim& operator=(const CModsim&) = delete;
    const std::string& Slave() const { return m_strSlave; }

private:
    fs::path m_dir;
    pid_t m_pid = -1;
    std::string m_strSlave;
};

// Window timers that fire by themselves, as in the running program.
class CRealTimers {
public:
    CRealTimers() { CWnd::SetManualTimers(false); }
    ~CRealTimers() { CWnd::SetManualTimers(true); }
    CRealTimers(const CRealTimers&) = delete;
    CRealTimers& operator=(const CRealTimers&) = delete;
};

// Runs the event loop until done() or the time is up.
bool RunUntil(const std::function<bool()>& done, long long timeoutMs) {
    CStopwatch watch;
    while (!done()) {
        if (watch.ElapsedMs() > timeoutMs) return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents);
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return true;
}

} // namespace

TEST(SearchEndToEnd, ASearchOfTheFirstAddressesFindsAnAsciiAndAModbusModuleThroughModsim) {
    CModsim sim("6384 1 9600 ascii type=08 format=00\n"
                "6384 2 9600 rtu\n");
    ASSERT_FALSE(sim.Slave().empty());
    CScopedComPort com(1, sim.Slave());
    CSearchWindow w(SettingsText('0', "00010000", '0', '0')); // COM1, 9600, 50 ms
    CQueryDlg& dlg = w.Dlg();
    CRealTimers timers;

    CStopwatch watch;
    ASSERT_TRUE(ui::Click(dlg, IDOK));
    ASSERT_TRUE(RunUntil([&] { return dlg.m_nScanAddress >= 4; }, 60000));
    ASSERT_TRUE(ui::Click(dlg, IDC_STOP));
    ASSERT_TRUE(RunUntil([&] { return !dlg.IsTimerActive(kScanTimer); }, 10000));
    long long elapsed = watch.ElapsedMs();

    ASSERT_TRUE(w.boxes.m_boxes.empty()) << w.boxes.m_boxes[0].text;
    std::vector<ResultRow> rows = w.Rows();
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[0], (ResultRow{"4384", "1(01)ASCII", "9600", "Yes", "Disable", "-10 to +10V", "",
                                  "01", "06", "0", "08", "0", "ASC"}));
    EXPECT_EQ(rows[1], (ResultRow{"4384", "2(02)RTU", "9600", "Yes", "Disable", "", "", "02", "06",
                                  "0", "", "", "RTU"}));
    EXPECT_TRUE(w.Enabled(IDOK));
    EXPECT_FALSE(w.Enabled(IDC_STOP));

    // What the search waits by its own rules for addresses 0 to 3: "$00M" unanswered (50); the
    // probes of 0 (100 + 100 open + 50 + 100 + 50 + 150); "$02M" unanswered (200); the probe that
    // finds 2 (100 + 100 open + 150) and "$03M" (200); the probes of 3 (100 + 100 + 50 + 100 + 50
    // + 150) and "$04M" (200); the stop tick (150). Six ticks of 500 ms set the pace.
    const long long waits = 50 + 550 + 200 + 550 + 750 + 150;
    std::printf("search of addresses 0 to 3 against modsim: %lld ms (prescribed waits %lld ms, "
                "6 ticks of 500 ms)\n",
                elapsed, waits);
    RecordProperty("elapsed_ms", static_cast<int>(elapsed));
    EXPECT_GE(elapsed, waits);
    EXPECT_LT(elapsed, 30000);
}
