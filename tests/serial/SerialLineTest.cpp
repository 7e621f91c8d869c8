#include "SerialLine.h"
#include "PtyPair.h"
#include "WakeEvent.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <iterator>
#include <ostream>
#include <string>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

namespace {

constexpr unsigned kPort = 5;

class SerialLineTest : public ::testing::Test {
protected:
    void OpenLine()
    {
        ASSERT_TRUE(m_line.Open(kPort));
        m_pty.KeepSlaveOpen();
    }

    CPtyPair m_pty;
    CScopedComPort m_com{kPort, m_pty.SlavePath()};
    CSerialLine m_line;
};

TEST(SerialLinePathTest, EnvironmentNamesTheDeviceElseTtyS)
{
    EXPECT_EQ(CSerialLine::DevicePath(1), "/dev/ttyS0");
    EXPECT_EQ(CSerialLine::DevicePath(12), "/dev/ttyS11");
    CScopedComPort com(3, "/dev/ttyUSB0");
    EXPECT_EQ(CSerialLine::DevicePath(3), "/dev/ttyUSB0");
    EXPECT_EQ(CSerialLine::DevicePath(4), "/dev/ttyS3");
}

// A pseudo-terminal keeps the rate, PARODD and CSTOPB, but forces CS8 and clears PARENB: the
// character size and whether parity is on cannot be seen from its far end.
constexpr tcflag_t kVisibleFormat = PARODD | CSTOPB;

TEST_F(SerialLineTest, OpenMakesTheLineRawAndKeepsRateAndFormat)
{
    termios cooked = m_pty.SlaveSettings();
    cooked.c_lflag |= ICANON | ECHO | ISIG;
    cooked.c_iflag |= ICRNL | IXON;
    cooked.c_oflag |= OPOST;
    cooked.c_cflag |= PARODD | CSTOPB;
    cfsetospeed(&cooked, B2400);
    cfsetispeed(&cooked, B2400);
    ASSERT_EQ(tcsetattr(m_pty.MasterFd(), TCSANOW, &cooked), 0);

    OpenLine();
    termios t = m_pty.SlaveSettings();
    EXPECT_EQ(t.c_lflag & (ICANON | ECHO | ISIG), 0u);
    EXPECT_EQ(t.c_iflag & (ICRNL | IXON), 0u);
    EXPECT_EQ(t.c_oflag & OPOST, 0u);
    EXPECT_EQ(t.c_cflag & kVisibleFormat, kVisibleFormat);
    EXPECT_EQ(cfgetospeed(&t), B2400);

    // Bytes pass unchanged in both directions.
    const std::string out("A\r\n\x03\x11\xFF", 6);
    ASSERT_TRUE(m_line.WriteAll(reinterpret_cast<const BYTE*>(out.data()), out.size(), 1000));
    EXPECT_EQ(m_pty.Read(out.size(), 500), out);
    m_pty.Write("\r\x13\x7f");
    ASSERT_EQ(m_line.Wait(1000), CSerialLine::EWait::Readable);
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    BYTE in[8] = {};
    ASSERT_EQ(m_line.ReadSome(in, sizeof in), 3);
    EXPECT_EQ(std::string(reinterpret_cast<char*>(in), 3), "\r\x13\x7f");
}

struct ConfigureCase {
    const char* name;
    LineSettings settings;
    speed_t speed;
    tcflag_t format; // the bits of kVisibleFormat the far end sees
};

void PrintTo(const ConfigureCase& c, std::ostream* os)
{
    *os << c.name;
}

class SerialConfigureTest : public SerialLineTest,
                            public ::testing::WithParamInterface<ConfigureCase> {};

TEST_P(SerialConfigureTest, TheFarEndSeesTheSettings)
{
    OpenLine();
    ASSERT_TRUE(m_line.Configure(GetParam().settings));
    termios t = m_pty.SlaveSettings();
    EXPECT_EQ(cfgetospeed(&t), GetParam().speed);
    EXPECT_EQ(cfgetispeed(&t), GetParam().speed);
    EXPECT_EQ(t.c_cflag & kVisibleFormat, GetParam().format);
}

INSTANTIATE_TEST_SUITE_P(
    Settings, SerialConfigureTest,
    ::testing::Values(ConfigureCase{"1200_8N1", {1200, 8, 'N', 1}, B1200, 0},
                      ConfigureCase{"9600_8E1", {9600, 8, 'E', 1}, B9600, 0},
                      ConfigureCase{"19200_8O2", {19200, 8, 'O', 2}, B19200, PARODD | CSTOPB},
                      ConfigureCase{"57600_7O1", {57600, 7, 'O', 1}, B57600, PARODD},
                      ConfigureCase{"115200_5N2", {115200, 5, 'N', 2}, B115200, CSTOPB}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(SerialLineTest, RefusedSettingsLeaveTheLineAsItWas)
{
    OpenLine();
    ASSERT_TRUE(m_line.Configure({4800, 8, 'O', 2}));
    const termios before = m_pty.SlaveSettings();
    const LineSettings refused[] = {
        {9600, 8, 'N', 0}, {9600, 8, 'N', 3}, {1234, 8, 'N', 1}, {0, 8, 'N', 1},
        {9600, 9, 'N', 1}, {9600, 4, 'N', 1}, {9600, 8, 'X', 1}, {9600, 8, 'e', 1},
    };
    for (size_t i = 0; i < std::size(refused); ++i) {
        SCOPED_TRACE(i);
        EXPECT_FALSE(m_line.Configure(refused[i]));
        termios after = m_pty.SlaveSettings();
        EXPECT_EQ(after.c_cflag, before.c_cflag);
        EXPECT_EQ(cfgetospeed(&after), B4800);
    }
}

TEST_F(SerialLineTest, ASecondOpenerIsRefusedUntilTheLineIsClosed)
{
    OpenLine();
    CSerialLine second;
    ::testing::internal::CaptureStderr();
    EXPECT_FALSE(second.Open(kPort));
    std::string message = ::testing::internal::GetCapturedStderr();
    EXPECT_NE(message.find(m_pty.SlavePath()), std::string::npos) << message;
    EXPECT_NE(message.find("another program"), std::string::npos) << message;

    // Another program: the lock is what keeps it out, even when it runs as root.
    EXPECT_EXIT(
        {
            CSerialLine other;
            std::exit(other.Open(kPort) ? 1 : 0);
        },
        ::testing::ExitedWithCode(0), "Cannot open COM5");

    m_line.Close();
    EXPECT_TRUE(second.Open(kPort));
}

TEST_F(SerialLineTest, AnOpenFailureTellsTheDeviceAndTheReason)
{
    CScopedComPort missing(kPort, "/dev/ostra-no-such-device");
    ::testing::internal::CaptureStderr();
    EXPECT_FALSE(m_line.Open(kPort));
    std::string message = ::testing::internal::GetCapturedStderr();
    EXPECT_NE(message.find("COM5 (/dev/ostra-no-such-device): No such file or directory"),
              std::string::npos)
        << message;
    EXPECT_FALSE(m_line.IsOpen());
    EXPECT_FALSE(m_line.Open(0));
}

TEST_F(SerialLineTest, PermissionDeniedPointsAtTheDialoutGroup)
{
    EXPECT_EXIT(
        {
            // Root may open anything, so the child gives up its rights first.
            if (geteuid() == 0) {
                if (setgid(65534) != 0 || setuid(65534) != 0) std::exit(2);
            } else if (chmod(m_pty.SlavePath().c_str(), 0) != 0) {
                std::exit(2);
            }
            std::exit(m_line.Open(kPort) ? 1 : 0);
        },
        ::testing::ExitedWithCode(0), "Cannot open COM5 .*Permission denied.*dialout group");
}

TEST_F(SerialLineTest, WaitEndsAtTheTimeOutOrTheFirstByte)
{
    OpenLine();
    CStopwatch watch;
    EXPECT_EQ(m_line.Wait(150), CSerialLine::EWait::TimedOut);
    EXPECT_GE(watch.ElapsedMs(), 150);
    EXPECT_LT(watch.ElapsedMs(), 1500);

    std::jthread farEnd([&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
        m_pty.Write("x");
    });
    watch = CStopwatch();
    EXPECT_EQ(m_line.Wait(5000), CSerialLine::EWait::Readable);
    EXPECT_LT(watch.ElapsedMs(), 2000);
    BYTE byte = 0;
    EXPECT_EQ(m_line.ReadSome(&byte, 1), 1);
    EXPECT_EQ(byte, 'x');
    EXPECT_EQ(m_line.ReadSome(&byte, 1), 0);
}

TEST_F(SerialLineTest, AWakeEventEndsTheWaitBeforeQueuedBytes)
{
    OpenLine();
    CWakeEvent wake;
    ASSERT_TRUE(wake.Create());
    m_pty.Write("queued");
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    wake.Signal();
    EXPECT_EQ(m_line.Wait(1000, wake.Fd()), CSerialLine::EWait::Woken);
    wake.Clear();
    EXPECT_EQ(m_line.Wait(1000, wake.Fd()), CSerialLine::EWait::Readable);
}

TEST_F(SerialLineTest, PurgeDropsStaleInput)
{
    OpenLine();
    m_pty.Write("stale");
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    m_line.Purge();
    EXPECT_EQ(m_line.Wait(100), CSerialLine::EWait::TimedOut);
}

TEST_F(SerialLineTest, AVanishedLineFailsPromptlyAndNeverSpins)
{
    ASSERT_TRUE(m_line.Open(kPort));
    m_pty.CloseMaster();

    CStopwatch watch;
    EXPECT_EQ(m_line.Wait(5000), CSerialLine::EWait::Lost);
    EXPECT_LT(watch.ElapsedMs(), 2000);
    EXPECT_TRUE(m_line.IsLost());
    BYTE byte = 0;
    EXPECT_EQ(m_line.ReadSome(&byte, 1), -1);
    EXPECT_FALSE(m_line.WriteAll(&byte, 1, 1000));
    EXPECT_EQ(m_line.Wait(5000), CSerialLine::EWait::Lost);

    // A thread that keeps waiting beside a wake event sleeps out its time-outs instead.
    CWakeEvent wake;
    ASSERT_TRUE(wake.Create());
    watch = CStopwatch();
    EXPECT_EQ(m_line.Wait(150, wake.Fd()), CSerialLine::EWait::TimedOut);
    EXPECT_GE(watch.ElapsedMs(), 150);
    wake.Signal();
    EXPECT_EQ(m_line.Wait(5000, wake.Fd()), CSerialLine::EWait::Woken);
}

TEST_F(SerialLineTest, TransmitTimeFollowsRateAndFormat)
{
    OpenLine();
    struct {
        LineSettings settings;
        size_t count;
        int ms;
    } const cases[] = {
        {{9600, 8, 'N', 1}, 10, 11}, // 100 bits: 10.4 ms, rounded up
        {{1200, 8, 'N', 1}, 9, 75},  // 90 bits
        {{1200, 8, 'N', 2}, 10, 92}, // 11 bits a character
        {{115200, 8, 'N', 1}, 3000, 261}, {{9600, 8, 'N', 1}, 0, 0},
    };
    for (const auto& c : cases) {
        ASSERT_TRUE(m_line.Configure(c.settings));
        EXPECT_EQ(m_line.TransmitTimeMs(c.count), c.ms) << c.settings.m_dwBaud << " " << c.count;
    }
}

} // namespace
