// libPortix_rtu.so through its exports, over a pseudo-terminal with a scripted far end.
#include "RtuTestSupport.h"

#include <atomic>
#include <ctime>
#include <dlfcn.h>
#include <ostream>

namespace {

const std::string kRequest = WithCrc(FromHex("01 03 00 00 00 0A"));
const std::string kReply = WithCrc(FromHex("01 03 04 00 2A 01 00"));

using PortixTest = RtuLinkTest;

struct CrcCase {
    const char* name;
    std::string body;
    std::string crc;
};

void PrintTo(const CrcCase& c, std::ostream* os)
{
    *os << c.name;
}

class PortixCrcTest : public ::testing::TestWithParam<CrcCase> {};

TEST_P(PortixCrcTest, AppendsTheCrcLowByteFirst)
{
    const CrcCase& c = GetParam();
    std::string dest(c.body.size() + 2, '\x55');
    EXPECT_EQ(GetRtuStrCRC(AsBytes(c.body), static_cast<DWORD>(c.body.size()),
                           reinterpret_cast<BYTE*>(dest.data())),
              1);
    EXPECT_EQ(dest, c.body + c.crc);
}

INSTANTIATE_TEST_SUITE_P(Vectors, PortixCrcTest,
                         ::testing::Values(CrcCase{"ReadRegisters", FromHex("01 03 00 00 00 0A"),
                                                   FromHex("C5 CD")},
                                           CrcCase{"CheckString", "123456789", FromHex("37 4B")},
                                           CrcCase{"Empty", "", FromHex("FF FF")}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(PortixTest, SendsTheRequestAndReturnsTheReplyFollowedByAZeroByte)
{
    AnswerNextRequest(kRequest.size(), {{0, kReply}});
    CStopwatch watch;
    EXPECT_EQ(Exchange(kRequest, 100), 1);
    // The reply ends with the line silence, not before.
    EXPECT_GE(watch.ElapsedMs(), 100);
    EXPECT_LT(watch.ElapsedMs(), 2000);
    EXPECT_EQ(Request(), kRequest);
    EXPECT_EQ(m_nLength, kReply.size());
    EXPECT_EQ(Reply(), kReply);
    EXPECT_EQ(m_pReply[kReply.size()], 0);
    EXPECT_EQ(m_pReply[kReply.size() + 1], 0xEE) << "nothing is written past the zero byte";
}

TEST_F(PortixTest, ASilentFarEndGivesNoReplyAfterTheTimeOut)
{
    CStopwatch watch;
    EXPECT_EQ(Exchange(kRequest, 150), 0);
    EXPECT_GE(watch.ElapsedMs(), 150);
    EXPECT_LT(watch.ElapsedMs(), 2000);
    EXPECT_EQ(m_nLength, 0);
    EXPECT_EQ(m_pty.Read(64, 100), kRequest);
}

TEST_F(PortixTest, AGapShorterThanTheTimeOutKeepsOneReply)
{
    AnswerNextRequest(kRequest.size(), {{0, kReply.substr(0, 4)}, {60, kReply.substr(4)}});
    EXPECT_EQ(Exchange(kRequest, 200), 1);
    EXPECT_EQ(Reply(), kReply);
}

TEST_F(PortixTest, AGapLongerThanTheTimeOutCutsTheReply)
{
    AnswerNextRequest(kRequest.size(), {{0, "head"}, {400, "tail"}});
    EXPECT_EQ(Exchange(kRequest, 100), 1);
    EXPECT_EQ(Reply(), "head");
    Request();

    // The tail came between the requests: it is not part of the next reply.
    AnswerNextRequest(kRequest.size(), {{0, kReply}});
    EXPECT_EQ(Exchange(kRequest, 100), 1);
    EXPECT_EQ(Reply(), kReply);
}

TEST_F(PortixTest, AReplyLongerThanTheBufferEndsWhenItIsFull)
{
    std::string flood(3500, '\0');
    for (size_t i = 0; i < flood.size(); ++i) flood[i] = static_cast<char>(i * 7);
    AnswerNextRequest(kRequest.size(), {{0, flood}});
    CStopwatch watch;
    EXPECT_EQ(Exchange(kRequest, 1000), 1);
    EXPECT_LT(watch.ElapsedMs(), 900) << "a full buffer ends the reply without waiting for silence";
    EXPECT_EQ(m_nLength, kRtuMaxReply);
    EXPECT_EQ(Reply(), flood.substr(0, kRtuMaxReply));
    EXPECT_EQ(m_pReply[kRtuMaxReply], 0);
}

TEST_F(PortixTest, ALineThatNeverFallsSilentStillEndsTheReply)
{
    ASSERT_EQ(Open_ComRtu(kPort, 0, 115200, 8, 0, 1), 1);
    std::atomic<bool> stop = false;
    std::jthread trickle([&] {
        // A byte every 30 ms: never a silence of 300 ms, and far too slow to fill the buffer. It
        // gives up after 5 s, so a caller held until the line stops shows as too slow.
        for (CStopwatch watch; !stop && watch.ElapsedMs() < 5000;) {
            m_pty.Write("x");
            SleepMs(30);
        }
    });
    CStopwatch watch;
    EXPECT_EQ(Exchange(kRequest, 300), 1);
    stop = true;
    // It may run for the silence plus the time a full buffer takes at 115200 baud (about 0.3 s).
    EXPECT_GE(watch.ElapsedMs(), 300);
    EXPECT_LT(watch.ElapsedMs(), 3000);
    EXPECT_GT(m_nLength, 0);
    EXPECT_LT(m_nLength, 100);
}

TEST_F(PortixTest, ARequestLongerThan52BytesIsRefusedUnsent)
{
    CStopwatch watch;
    EXPECT_EQ(Exchange(std::string(kRtuMaxRequest + 1, 'r'), 2000), 0);
    EXPECT_EQ(m_nLength, 0);
    EXPECT_LT(watch.ElapsedMs(), 1000);
    EXPECT_EQ(m_pty.Read(64, 150), "");

    AnswerNextRequest(kRtuMaxRequest, {{0, kReply}});
    EXPECT_EQ(Exchange(std::string(kRtuMaxRequest, 'r'), 100), 1);
    EXPECT_EQ(Request(), std::string(kRtuMaxRequest, 'r'));
}

TEST_F(PortixTest, PortZeroIsRefusedByEveryOperation)
{
    EXPECT_EQ(Open_ComRtu(0, 100, 9600, 8, 0, 1), 0);
    EXPECT_EQ(Close_ComRtu(0), 0);
    m_nLength = 1234;
    std::string request = kRequest;
    EXPECT_EQ(Send_Receive_Rtu(0, AsBytes(request), 8, m_pReply.get(), 100, 0, &m_nLength), 0);
    EXPECT_EQ(m_nLength, 1234) << "port 0 leaves the reply length as it was";
    EXPECT_EQ(m_pty.Read(64, 150), "");
    // The line opened in SetUp is still open.
    AnswerNextRequest(kRequest.size(), {{0, kReply}});
    EXPECT_EQ(Exchange(kRequest, 100), 1);
}

TEST_F(PortixTest, AClosedLineFailsAtOnceAndClosesHarmlessly)
{
    EXPECT_EQ(Close_ComRtu(kPort), 1);
    EXPECT_EQ(Close_ComRtu(kPort), 1);
    CStopwatch watch;
    EXPECT_EQ(Exchange(kRequest, 1000), 0);
    EXPECT_LT(watch.ElapsedMs(), 500);
    EXPECT_EQ(m_nLength, 0);

    CScopedComPort missing(kPort, "/dev/ostra-no-such-device");
    ::testing::internal::CaptureStderr();
    EXPECT_EQ(Open_ComRtu(kPort, 100, 9600, 8, 0, 1), 0);
    ::testing::internal::GetCapturedStderr();
    EXPECT_EQ(Close_ComRtu(kPort), 1);
}

TEST_F(PortixTest, AnOpenThatFailsStillPausesButPortZeroIsRefusedAtOnce)
{
    CScopedComPort missing(kPort, "/dev/ostra-no-such-device");
    ::testing::internal::CaptureStderr();
    CStopwatch watch;
    EXPECT_EQ(Open_ComRtu(kPort, 100, 9600, 8, 0, 1), 0);
    EXPECT_GE(watch.ElapsedMs(), 100);
    EXPECT_LT(watch.ElapsedMs(), 2000);
    ::testing::internal::GetCapturedStderr();
    CStopwatch zero;
    EXPECT_EQ(Open_ComRtu(0, 100, 9600, 8, 0, 1), 0);
    EXPECT_LT(zero.ElapsedMs(), 100);
}

TEST_F(PortixTest, OpenSetsTheLineAndPauses)
{
    CStopwatch watch;
    ASSERT_EQ(Open_ComRtu(kPort, 100, 19200, 8, 2, 2), 1);
    EXPECT_GE(watch.ElapsedMs(), 100);
    termios t = m_pty.SlaveSettings();
    EXPECT_EQ(cfgetospeed(&t), B19200);
    // A pseudo-terminal shows odd parity and two stop bits (it clears PARENB whatever was set).
    EXPECT_EQ(t.c_cflag & (PARODD | CSTOPB), tcflag_t(PARODD | CSTOPB));
}

TEST_F(PortixTest, RefusedSettingsKeepTheLineButItIsStillRaw)
{
    ASSERT_EQ(Open_ComRtu(kPort, 100, 19200, 8, 2, 2), 1);
    Close_ComRtu(kPort);
    termios cooked = m_pty.SlaveSettings();
    cooked.c_lflag |= ICANON | ECHO;
    ASSERT_EQ(tcsetattr(m_pty.MasterFd(), TCSANOW, &cooked), 0);

    // The search passes stop bits 0; an unknown parity number is refused the same way.
    for (auto [parity, stopBits] : {std::pair<BYTE, BYTE>{0, 0}, {7, 1}}) {
        ASSERT_EQ(Open_ComRtu(kPort, 100, 9600, 8, parity, stopBits), 1);
        termios t = m_pty.SlaveSettings();
        EXPECT_EQ(cfgetospeed(&t), B19200);
        EXPECT_EQ(t.c_cflag & (PARODD | CSTOPB), tcflag_t(PARODD | CSTOPB));
        EXPECT_EQ(t.c_lflag & (ICANON | ECHO), 0u);
    }
    AnswerNextRequest(kRequest.size(), {{0, kReply}});
    EXPECT_EQ(Exchange(kRequest, 100), 1);
}

TEST_F(PortixTest, ChangeConfigLeavesTheLineClosed)
{
    EXPECT_EQ(Change_Config(kPort, 19200, 8, 0, 1), 0);
    CStopwatch watch;
    EXPECT_EQ(Exchange(kRequest, 1000), 0);
    EXPECT_LT(watch.ElapsedMs(), 500);
    EXPECT_EQ(Change_Baudrate(9600, 0), 0);
    EXPECT_EQ(Get_Portix_Version(), 1);
}

TEST_F(PortixTest, AVanishedLineEndsEachExchangeByItsTimeOut)
{
    m_pty.CloseMaster();
    for (int i = 0; i < 2; ++i) {
        CStopwatch watch;
        std::clock_t cpuBefore = std::clock();
        EXPECT_EQ(Exchange(kRequest, 300), 0);
        EXPECT_GE(watch.ElapsedMs(), 300);
        EXPECT_LT(watch.ElapsedMs(), 3000);
        // Nobody spins on the dead line meanwhile.
        EXPECT_LT((std::clock() - cpuBefore) * 1000 / CLOCKS_PER_SEC, 150);
        EXPECT_EQ(m_nLength, 0);
    }
    CStopwatch watch;
    EXPECT_EQ(Close_ComRtu(kPort), 1);
    EXPECT_LT(watch.ElapsedMs(), 1000);
}

TEST_F(PortixTest, OpenCloseCyclesLeaveNoDescriptorOrThread)
{
    // Every open pauses 100 ms, so few cycles here; the link layer's test runs thousands.
    Close_ComRtu(kPort);
    const size_t fds = OpenFdCount();
    const ThreadIds before = ThreadIdsNow();
    for (int i = 0; i < 10; ++i) {
        ASSERT_EQ(Open_ComRtu(kPort, 100, 9600, 8, 0, 1), 1);
        EXPECT_EQ(AddedThreadCount(before, 1), 1u);
        Close_ComRtu(kPort);
    }
    EXPECT_EQ(OpenFdCount(), fds);
    EXPECT_EQ(AddedThreadCount(before, 0), 0u);
}

TEST_F(PortixTest, AProcessMayExitWithTheLineOpen)
{
    Close_ComRtu(kPort);
    EXPECT_EXIT(
        {
            if (Open_ComRtu(kPort, 100, 9600, 8, 0, 1) != 1) std::exit(2);
            std::exit(0);
        },
        ::testing::ExitedWithCode(0), "");
}

TEST_F(PortixTest, UnloadingALibraryWithTheLineOpenEndsItsThread)
{
    Close_ComRtu(kPort);
    const size_t fds = OpenFdCount();
    const ThreadIds before = ThreadIdsNow();
    // Kobal, since this program has Portix_rtu loaded for good; RTLD_LOCAL keeps the two apart.
    std::string path = BinDir() + "/libKobal.so";
    void* library = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    ASSERT_NE(library, nullptr) << dlerror();
    auto open = reinterpret_cast<decltype(&Open_ComRtu)>(dlsym(library, "Open_ComRtu"));
    ASSERT_NE(open, nullptr);
    ASSERT_EQ(open(kPort, 100, 9600, 8, 0, 1), 1);
    EXPECT_EQ(AddedThreadCount(before, 1), 1u);
    EXPECT_EQ(dlclose(library), 0);
    EXPECT_EQ(AddedThreadCount(before, 0), 0u);
    EXPECT_EQ(OpenFdCount(), fds);
    // The line was closed: this library can open it again.
    EXPECT_EQ(Open_ComRtu(kPort, 100, 9600, 8, 0, 1), 1);
}

} // namespace
