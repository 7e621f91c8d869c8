// libKobal.so, the later revision, through its exports: where it differs from Portix_rtu, and its
// four operations of its own.
#include "RtuTestSupport.h"

#include <cstring>

namespace {

const std::string kRequest = WithCrc(FromHex("01 03 00 00 00 0A"));
const std::string kReply = WithCrc(FromHex("01 03 04 00 2A 01 00"));

using KobalTest = RtuLinkTest;

TEST_F(KobalTest, TheOpensTimeOutHoldsWhateverTheExchangePasses)
{
    // Port 0 and a time-out of 5 s are ignored: the 100 ms of the open end the exchange.
    CStopwatch watch;
    EXPECT_EQ(Exchange(kRequest, 5000, 0, 0), 0);
    EXPECT_GE(watch.ElapsedMs(), kOpenArg);
    EXPECT_LT(watch.ElapsedMs(), 3000);
    EXPECT_EQ(m_nLength, 1) << "this revision reports a missing reply with length 1";
    EXPECT_EQ(m_pty.Read(64, 100), kRequest);
}

TEST_F(KobalTest, ModesZeroAndOneSendTheSameBytesAndOthersNothing)
{
    for (WORD mode : {0, 1}) {
        AnswerNextRequest(kRequest.size(), {{0, kReply}});
        EXPECT_EQ(Exchange(kRequest, 100, mode), 1);
        EXPECT_EQ(Request(), kRequest);
        EXPECT_EQ(Reply(), kReply);
        EXPECT_EQ(m_pReply[kReply.size()], 0);
    }
    // With a 2 s silence, "at once" is easy to tell.
    ASSERT_EQ(Open_ComRtu(kPort, 2000, 9600, 8, 0, 1), 1);
    CStopwatch watch;
    EXPECT_EQ(Exchange(kRequest, 100, 2), 0);
    EXPECT_EQ(m_nLength, 0);
    EXPECT_LT(watch.ElapsedMs(), 1000);
    EXPECT_EQ(m_pty.Read(64, 150), "");
}

TEST_F(KobalTest, ARequestLongerThanTheWriteBufferIsRefusedUnsent)
{
    EXPECT_EQ(Exchange(std::string(513, 'r'), 100), 0);
    EXPECT_EQ(m_nLength, 0);
    EXPECT_EQ(m_pty.Read(1024, 150), "");

    AnswerNextRequest(512, {{0, kReply}});
    EXPECT_EQ(Exchange(std::string(512, 'r'), 100), 1);
    EXPECT_EQ(Request(), std::string(512, 'r'));
}

TEST_F(KobalTest, OpenIgnoresParityAndRefusesPortZero)
{
    ASSERT_EQ(Open_ComRtu(kPort, 100, 19200, 8, 2, 2), 1);
    termios t = m_pty.SlaveSettings();
    EXPECT_EQ(cfgetospeed(&t), B19200);
    EXPECT_EQ(t.c_cflag & (PARODD | CSTOPB), tcflag_t(CSTOPB));
    EXPECT_EQ(Open_ComRtu(0, 100, 9600, 8, 0, 1), 0);
}

TEST_F(KobalTest, AnOpenThatFailsReturnsWithoutThePause)
{
    Close_ComRtu(kPort);
    CScopedComPort missing(kPort, "/dev/ostra-no-such-device");
    ::testing::internal::CaptureStderr();
    CStopwatch watch;
    EXPECT_EQ(Open_ComRtu(kPort, 100, 9600, 8, 0, 1), 0);
    EXPECT_LT(watch.ElapsedMs(), 100);
    ::testing::internal::GetCapturedStderr();
}

TEST_F(KobalTest, CloseWaitsForTheReceiverThread)
{
    Close_ComRtu(kPort);
    const ThreadIds before = ThreadIdsNow();
    ASSERT_EQ(Open_ComRtu(kPort, 100, 9600, 8, 0, 1), 1);
    EXPECT_EQ(AddedThreadCount(before, 1), 1u);
    EXPECT_EQ(Close_ComRtu(0), 1);
    EXPECT_EQ(AddedThreadCount(before, 0), 0u);
    EXPECT_EQ(Close_ComRtu(kPort), 1);
}

TEST_F(KobalTest, ChangeConfigReopensWithAHalfSecondSilence)
{
    EXPECT_EQ(Change_Config(kPort, 9600, 8, 0, 1), 0);
    // A 300 ms gap no longer ends the reply ...
    AnswerNextRequest(kRequest.size(), {{0, kReply.substr(0, 3)}, {300, kReply.substr(3)}});
    EXPECT_EQ(Exchange(kRequest, 100), 1);
    EXPECT_EQ(Reply(), kReply);
    Request();
    // ... and a silent far end is given up after 500 ms.
    CStopwatch watch;
    EXPECT_EQ(Exchange(kRequest, 100), 0);
    EXPECT_GE(watch.ElapsedMs(), 500);
    EXPECT_LT(watch.ElapsedMs(), 3000);
}

struct SendRtuCase {
    BYTE port;
    WORD mode;
    DWORD count;
    const char* onWire;
};

TEST_F(KobalTest, SendRtuPutsTheAsciiCommandOnTheLine)
{
    // The port number only has to be 1 to 4; the text goes out on the one open line.
    const SendRtuCase cases[] = {
        {1, 0, 5, "$00M\r"}, {4, 1, 7, "$00MD1\r"}, {1, 1, 5, "$00MD"}, {1, 1, 100, "$00MD1\r"},
        {5, 0, 5, ""},       {0, 0, 5, ""},         {1, 2, 5, ""},
    };
    for (const SendRtuCase& c : cases) {
        SCOPED_TRACE(c.onWire);
        CStopwatch watch;
        EXPECT_EQ(Send_Rtu(c.port, "$00M", c.count, c.mode), 1);
        EXPECT_GE(watch.ElapsedMs(), 200);
        EXPECT_EQ(m_pty.Read(64, 50), c.onWire);
    }
}

TEST_F(KobalTest, AnExchangeAfterSendRtuWaitsForItsOwnReply)
{
    EXPECT_EQ(Send_Rtu(1, "$00M", 5, 0), 1);
    EXPECT_EQ(m_pty.Read(64, 50), "$00M\r");
    AnswerNextRequest(kRequest.size(), {{50, kReply}});
    EXPECT_EQ(Exchange(kRequest, 100), 1);
    EXPECT_EQ(Reply(), kReply);
}

TEST_F(KobalTest, ReceiveRtuAlwaysGivesAnEmptyText)
{
    char text[8] = "xyz";
    EXPECT_EQ(Receive_Rtu(1, text, 0, 0, 0), 0);
    EXPECT_STREQ(text, "");
    std::strcpy(text, "xyz");
    EXPECT_EQ(Receive_Rtu(5, text, 0, 0, 0), 0);
    EXPECT_STREQ(text, "xyz");
    EXPECT_EQ(Get_Com_Status(0), 0);
}

TEST(KobalCrcTest, DetachStrCrcChecksAndStripsTheCrc)
{
    const std::string frame = FromHex("01 03 00 00 00 0A C5 CD");
    std::string body(6, '\0');
    EXPECT_EQ(DetachStrCRC(AsBytes(frame), 8, reinterpret_cast<BYTE*>(body.data())), 1);
    EXPECT_EQ(body, frame.substr(0, 6));
    for (size_t corrupt : {6, 7}) {
        std::string bad = frame;
        bad[corrupt] ^= 0x01;
        EXPECT_EQ(DetachStrCRC(AsBytes(bad), 8, reinterpret_cast<BYTE*>(body.data())), 0);
    }
    EXPECT_EQ(DetachStrCRC(AsBytes(FromHex("FF FF")), 2, reinterpret_cast<BYTE*>(body.data())), 1);
    body = "untouched";
    EXPECT_EQ(DetachStrCRC(AsBytes(frame), 1, reinterpret_cast<BYTE*>(body.data())), 0);
    EXPECT_EQ(body, "untouched");
}

} // namespace
