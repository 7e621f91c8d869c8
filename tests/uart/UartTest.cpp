#include "uart.h"
#include "PtyPair.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cstring>
#include <fcntl.h>
#include <memory>
#include <ostream>
#include <string>
#include <sys/file.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace {

constexpr BYTE kPort = 6;
constexpr size_t kReplyBuffer = 200;

void SleepMs(int ms)
{
    std::this_thread::sleep_for(std::chrono::milliseconds(ms));
}

class UartTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_pty.KeepSlaveOpen();
        ASSERT_EQ(Open_ComAscii(kPort, 9600, 8, 0, 0), UART_OK);
    }
    void TearDown() override { Close_ComAscii(kPort); }

    // The far end reads the next command up to its CR, then sends each chunk after its delay.
    void AnswerNextCommand(std::vector<PtyChunk> chunks)
    {
        m_farEnd = std::jthread([this, chunks] {
            m_strRequest = m_pty.ReadUntil('\r', 5000);
            m_pty.WriteChunks(chunks);
        });
    }
    std::string Request()
    {
        if (m_farEnd.joinable()) m_farEnd.join();
        return m_strRequest;
    }
    WORD Exchange(const char* command, WORD timeoutMs, WORD checksum = 0)
    {
        return Send_Receive_Ascii(kPort, command, m_pReply.get(), timeoutMs, checksum, &m_nLength);
    }
    std::string Reply() const { return m_pReply.get(); }

    CPtyPair m_pty;
    CScopedComPort m_com{kPort, m_pty.SlavePath()};
    std::string m_strRequest;
    std::jthread m_farEnd;
    // Exactly the size callers give, on the heap, so a write past it is caught.
    std::unique_ptr<char[]> m_pReply = std::make_unique<char[]>(kReplyBuffer);
    WORD m_nLength = 0xFFFF;
};

struct WireCase {
    const char* name;
    const char* command;
    WORD checksum;
    const char* onWire;
};

void PrintTo(const WireCase& c, std::ostream* os)
{
    *os << c.name;
}

class UartWireTest : public UartTest, public ::testing::WithParamInterface<WireCase> {};

TEST_P(UartWireTest, SendsTheCommandWithItsChecksumAndReturnsTheReplyAtItsCr)
{
    // The module's own checksum digits ("AF") stay in the reply; its CR does not.
    AnswerNextCommand({{0, "!014017AF\r"}});
    CStopwatch watch;
    EXPECT_EQ(Exchange(GetParam().command, 3000, GetParam().checksum), UART_OK);
    EXPECT_LT(watch.ElapsedMs(), 1500) << "the reply ends at its CR, not at the time-out";
    EXPECT_EQ(Request(), GetParam().onWire);
    EXPECT_EQ(Reply(), "!014017AF");
    EXPECT_EQ(m_nLength, 9);
}

INSTANTIATE_TEST_SUITE_P(Commands, UartWireTest,
                         ::testing::Values(WireCase{"Plain", "$00M", 0, "$00M\r"},
                                           WireCase{"Checksum", "$00M", 1, "$00MD1\r"},
                                           WireCase{"AnyNonzeroFlag", "#01", 4, "#0184\r"},
                                           WireCase{"Configuration", "%0102080600", 0,
                                                    "%0102080600\r"}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(UartTest, NoReplyFailsAfterTheTimeOut)
{
    CStopwatch watch;
    EXPECT_EQ(Exchange("$01M", 150), UART_NO_REPLY);
    EXPECT_GE(watch.ElapsedMs(), 150);
    EXPECT_LT(watch.ElapsedMs(), 2000);
    EXPECT_EQ(Reply(), "");
    EXPECT_EQ(m_nLength, 0);
    EXPECT_EQ(m_pty.Read(64, 50), "$01M\r");
}

TEST_F(UartTest, TheTimeOutBoundsEachGapNotTheWholeReply)
{
    // Pieces 50 ms apart: the reply takes twice the 200 ms time-out.
    std::vector<PtyChunk> pieces{{0, "!01"}};
    for (char c : std::string("ABCDEFG\r")) pieces.push_back({50, std::string(1, c)});
    AnswerNextCommand(pieces);
    EXPECT_EQ(Exchange("$01M", 200), UART_OK);
    EXPECT_EQ(Reply(), "!01ABCDEFG");
}

TEST_F(UartTest, AGapLongerThanTheTimeOutEndsTheReplyUnanswered)
{
    AnswerNextCommand({{0, "!01"}, {1500, "A\r"}});
    CStopwatch watch;
    EXPECT_EQ(Exchange("$01M", 150), UART_NO_REPLY);
    EXPECT_GE(watch.ElapsedMs(), 150);
    EXPECT_LT(watch.ElapsedMs(), 1200);
    EXPECT_EQ(Reply(), "!01");
}

TEST_F(UartTest, InputFromBeforeTheRequestIsDropped)
{
    m_pty.Write(">late reply\r");
    SleepMs(30);
    AnswerNextCommand({{0, "!02\r"}});
    EXPECT_EQ(Exchange("$02M", 1000), UART_OK);
    EXPECT_EQ(Reply(), "!02");
}

TEST_F(UartTest, AnOverlongReplyIsCutAndItsRestDropped)
{
    AnswerNextCommand({{0, std::string(150, 'A')}, {20, std::string(250, 'B') + "\r"}});
    EXPECT_EQ(Exchange("$01M", 500), UART_REPLY_TOO_LONG);
    EXPECT_EQ(m_nLength, 199);
    EXPECT_EQ(Reply(), std::string(150, 'A') + std::string(49, 'B'));
    Request();

    // Nothing of it reaches the next exchange.
    AnswerNextCommand({{0, "!01\r"}});
    EXPECT_EQ(Exchange("$01M", 500), UART_OK);
    EXPECT_EQ(Reply(), "!01");
}

TEST_F(UartTest, ALineThatNeverSendsCrDoesNotHoldTheCaller)
{
    std::atomic<bool> stop = false;
    std::jthread babbler([&] {
        // Gives up after 5 s, so a caller held until the line stops shows as too slow.
        for (CStopwatch watch; !stop && watch.ElapsedMs() < 5000;) {
            m_pty.Write("ABCDEFGH");
            SleepMs(2);
        }
    });
    CStopwatch watch;
    EXPECT_EQ(Exchange("$01M", 100), UART_REPLY_TOO_LONG);
    EXPECT_LT(watch.ElapsedMs(), 3000);
    EXPECT_EQ(m_nLength, 199);
    stop = true;
}

TEST_F(UartTest, AFarEndThatGoesAwayMidExchangeFailsPromptly)
{
    m_farEnd = std::jthread([this] {
        m_pty.ReadUntil('\r', 5000);
        m_pty.Write("!0");
        SleepMs(20);
        m_pty.CloseMaster();
    });
    CStopwatch watch;
    EXPECT_EQ(Exchange("$01M", 5000), UART_LINE_LOST);
    EXPECT_LT(watch.ElapsedMs(), 2000);
    watch = CStopwatch();
    EXPECT_EQ(Exchange("$01M", 5000), UART_LINE_LOST);
    EXPECT_LT(watch.ElapsedMs(), 500);
}

TEST_F(UartTest, TheFarEndSeesRateAndParity)
{
    // A pseudo-terminal shows the rate and odd parity (PARODD); it clears PARENB, so even parity
    // looks like none from its far end.
    struct {
        DWORD baud;
        BYTE parity;
        speed_t speed;
        tcflag_t parityBits;
    } const cases[] = {{1200, 0, B1200, 0}, {9600, 1, B9600, 0}, {115200, 2, B115200, PARODD}};
    for (const auto& c : cases) {
        ASSERT_EQ(Open_ComAscii(kPort, c.baud, 8, c.parity, 0), UART_OK);
        termios t = m_pty.SlaveSettings();
        EXPECT_EQ(cfgetospeed(&t), c.speed);
        EXPECT_EQ(t.c_cflag & (PARODD | CSTOPB), c.parityBits);
    }

    ASSERT_EQ(Change_BaudAscii(kPort, 4800), UART_OK);
    termios t = m_pty.SlaveSettings();
    EXPECT_EQ(cfgetospeed(&t), B4800);
    EXPECT_EQ(t.c_cflag & PARODD, tcflag_t(PARODD));

    EXPECT_EQ(Change_BaudAscii(kPort, 1234), UART_SETTINGS_REFUSED);
    EXPECT_EQ(cfgetospeed(&(t = m_pty.SlaveSettings())), B4800);

    // A closed line only has the rate checked; the next open gives its own.
    Close_ComAscii(kPort);
    EXPECT_EQ(Change_BaudAscii(kPort, 19200), UART_OK);
    EXPECT_EQ(Change_BaudAscii(kPort, 1234), UART_SETTINGS_REFUSED);
    EXPECT_EQ(Open_ComAscii(kPort, 19200, 8, 0, 0), UART_OK);
    EXPECT_EQ(cfgetospeed(&(t = m_pty.SlaveSettings())), B19200);
}

TEST_F(UartTest, TheLineIsHeldForThisProgramAlone)
{
    // Another program cannot open it while it is open here ...
    EXPECT_EXIT(std::exit(Open_ComAscii(kPort, 9600, 8, 0, 0) == UART_OPEN_FAILED ? 0 : 1),
                ::testing::ExitedWithCode(0), "COM6");

    // ... and this one cannot open a line another program holds.
    Close_ComAscii(kPort);
    int other = open(m_pty.SlavePath().c_str(), O_RDWR | O_NOCTTY);
    ASSERT_GE(other, 0);
    ASSERT_EQ(flock(other, LOCK_EX | LOCK_NB), 0);
    EXPECT_EQ(Open_ComAscii(kPort, 9600, 8, 0, 0), UART_OPEN_FAILED);
    close(other);
    EXPECT_EQ(Open_ComAscii(kPort, 9600, 8, 0, 0), UART_OK);
}

TEST_F(UartTest, OpeningAgainReplacesTheOpenLine)
{
    EXPECT_EQ(Open_ComAscii(kPort, 19200, 8, 1, 0), UART_OK);
    AnswerNextCommand({{0, "!01\r"}});
    EXPECT_EQ(Exchange("$01M", 1000), UART_OK);

    // A failed open leaves no line open.
    CScopedComPort missing(kPort, "/dev/ostra-no-such-device");
    ::testing::internal::CaptureStderr();
    EXPECT_EQ(Open_ComAscii(kPort, 9600, 8, 0, 0), UART_OPEN_FAILED);
    ::testing::internal::GetCapturedStderr();
    EXPECT_EQ(Exchange("$01M", 1000), UART_NOT_OPEN);
}

TEST_F(UartTest, ClosedLinesAndBadArgumentsFailAtOnce)
{
    EXPECT_EQ(Close_ComAscii(kPort + 1), UART_OK); // not open: harmless, and this line stays
    AnswerNextCommand({{0, "!01\r"}});
    EXPECT_EQ(Exchange("$01M", 1000), UART_OK);
    EXPECT_EQ(Send_Receive_Ascii(kPort + 1, "$01M", m_pReply.get(), 5000, 0, &m_nLength),
              UART_NOT_OPEN);

    Close_ComAscii(kPort);
    Close_ComAscii(kPort);
    CStopwatch watch;
    EXPECT_EQ(Exchange("$01M", 5000), UART_NOT_OPEN);
    EXPECT_LT(watch.ElapsedMs(), 500);
    EXPECT_EQ(Reply(), "");
    EXPECT_EQ(m_nLength, 0);

    EXPECT_EQ(Open_ComAscii(0, 9600, 8, 0, 0), UART_BAD_ARGUMENT);
    EXPECT_EQ(Open_ComAscii(kPort, 9600, 8, 3, 0), UART_BAD_ARGUMENT);
    EXPECT_EQ(Open_ComAscii(kPort, 9601, 8, 0, 0), UART_SETTINGS_REFUSED);
    EXPECT_EQ(Open_ComAscii(kPort, 9600, 8, 0, 0), UART_OK);
    EXPECT_EQ(Send_Receive_Ascii(kPort, nullptr, m_pReply.get(), 100, 0, &m_nLength),
              UART_BAD_ARGUMENT);
    EXPECT_EQ(Send_Receive_Ascii(kPort, "$01M", nullptr, 100, 0, &m_nLength), UART_BAD_ARGUMENT);
}

} // namespace
