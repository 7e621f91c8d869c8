// The in-process link as a caller sees it: results, reply buffers, the time charged to the
// program's clock, the rules of the real links, and the recorded traffic.
#include "SimLink.h"
#include "Clock.h"
#include "SimCodec.h"

#include <gtest/gtest.h>

#include <array>
#include <cstring>

namespace {

std::string Frame(std::initializer_list<BYTE> bytes)
{
    std::string frame(bytes.size() + 2, '\0');
    CSimLink::Table().GetRtuStrCRC(bytes.begin(), static_cast<DWORD>(bytes.size()),
                                   reinterpret_cast<BYTE*>(frame.data()));
    return frame;
}

} // namespace

// COM1: a 6384 at address 1 (9600, ASCII) and one at address 2 (9600, RTU).
class SimLinkTest : public ::testing::Test {
protected:
    SimLinkTest()
    {
        bus.Add("6384", 1, 9600);
        bus.Add("6384", 2, 9600, ESimProtocol::Rtu);
    }
    WORD Ask(const char* command, WORD timeoutMs = 200, WORD checksum = 0)
    {
        return t.Send_Receive_Ascii(1, command, reply.data(), timeoutMs, checksum, &length);
    }
    int AskRtu(const std::string& frame, WORD timeoutMs = 100)
    {
        return t.Send_Receive_Rtu(1, reinterpret_cast<const BYTE*>(frame.data()),
                                  static_cast<DWORD>(frame.size()), rtuReply.data(), timeoutMs, 0,
                                  &length);
    }
    DWORD Elapsed() { return clock.TickCount() - start; }

    CScopedVirtualClock clock;
    const DWORD start = clock.TickCount();
    CSimBus bus;
    CSimLink link{bus};
    const LinkTable& t = CSimLink::Table();
    std::array<char, 201> reply{};
    std::array<BYTE, kRtuReplyBufferSize + 1> rtuReply{};
    WORD length = 0xFFFF;
};

TEST_F(SimLinkTest, AsciiReplyComesAtOnceAndIsRecorded)
{
    ASSERT_EQ(t.Open_ComAscii(1, 9600, 8, 0, 0), 0);
    EXPECT_EQ(Ask("$01M"), 0);
    EXPECT_STREQ(reply.data(), "!016384");
    EXPECT_EQ(length, 7);
    EXPECT_EQ(Elapsed(), 0u);
    EXPECT_EQ(Ask("$01M", 200, 1), 0) << "the module's checksum is off: it refuses";
    EXPECT_STREQ(reply.data(), "?01");
    ASSERT_EQ(link.Traffic().size(), 2u);
    const SSimExchange& first = link.Traffic()[0];
    EXPECT_EQ(first.dwTime, start);
    EXPECT_EQ(first.eProtocol, ESimProtocol::Ascii);
    EXPECT_EQ(first.nPort, 1);
    EXPECT_EQ(first.line.dwBaud, 9600u);
    EXPECT_EQ(first.strReply, "!016384");
    EXPECT_TRUE(first.bAnswered);
    EXPECT_EQ(link.Requests(), (std::vector<std::string>{"$01M", "$01MD2"}));
}

TEST_F(SimLinkTest, SilenceChargesTheTimeOut)
{
    ASSERT_EQ(t.Open_ComAscii(1, 9600, 8, 0, 0), 0);
    EXPECT_NE(Ask("$05M", 200), 0);
    EXPECT_STREQ(reply.data(), "");
    EXPECT_EQ(length, 0);
    EXPECT_EQ(Elapsed(), 200u);
    EXPECT_FALSE(link.Traffic().back().bAnswered);

    bus.Module(0).Faults().dwDelayMs = 50;
    EXPECT_EQ(Ask("$01M", 200), 0) << "late but within the time-out";
    EXPECT_EQ(Elapsed(), 250u);
    bus.Module(0).Faults().dwDelayMs = 300;
    EXPECT_NE(Ask("$01M", 200), 0) << "too late";
    EXPECT_EQ(Elapsed(), 450u);
}

TEST_F(SimLinkTest, ClosedOrUnknownPortsFailAtOnce)
{
    EXPECT_EQ(Ask("$01M"), 4) << "never opened";
    EXPECT_EQ(t.Open_ComAscii(2, 9600, 8, 0, 0), 2) << "no bus on COM2";
    EXPECT_EQ(t.Open_ComAscii(0, 9600, 8, 0, 0), 1);
    EXPECT_EQ(t.Open_ComAscii(1, 9601, 8, 0, 0), 3);
    EXPECT_EQ(Ask("$01M"), 4) << "a refused setting leaves the line closed";
    ASSERT_EQ(t.Open_ComAscii(1, 9600, 8, 0, 0), 0);
    EXPECT_EQ(t.Send_Receive_Ascii(2, "$01M", reply.data(), 200, 0, &length), 4) << "other port";
    EXPECT_EQ(t.Close_ComAscii(1), 0);
    EXPECT_EQ(t.Close_ComAscii(1), 0) << "harmless when closed";
    EXPECT_EQ(Ask("$01M"), 4);
    EXPECT_EQ(t.Send_Receive_Ascii(1, nullptr, reply.data(), 200, 0, &length), 1);
    EXPECT_EQ(Elapsed(), 0u);
    EXPECT_TRUE(link.Traffic().empty());
}

TEST_F(SimLinkTest, OneLineOpenAtATime)
{
    ASSERT_EQ(t.Open_ComAscii(1, 9600, 8, 0, 0), 0);
    EXPECT_EQ(t.Open_ComAscii(1, 19200, 8, 0, 0), 0) << "the ASCII link reopens its own line";
    EXPECT_EQ(Elapsed(), 0u);
    EXPECT_EQ(t.Open_ComRtu(1, 100, 9600, 8, 0, 1), 0) << "the device is held";
    EXPECT_EQ(Elapsed(), 100u) << "the RTU link pauses even when its open fails";
    t.Close_ComAscii(1);
    EXPECT_EQ(t.Open_ComRtu(1, 100, 9600, 8, 0, 1), 1);
    EXPECT_EQ(Elapsed(), 200u) << "the RTU link lets the line settle";
    EXPECT_TRUE(link.IsRtuOpen());
    EXPECT_EQ(t.Open_ComAscii(1, 9600, 8, 0, 0), 2);
    EXPECT_EQ(t.Close_ComRtu(0), 0);
    EXPECT_EQ(t.Close_ComRtu(7), 1) << "any port closes the one RTU line";
    EXPECT_FALSE(link.IsRtuOpen());
    EXPECT_EQ(t.Close_ComRtu(1), 1);
    EXPECT_EQ(t.Open_ComRtu(0, 100, 9600, 8, 0, 1), 0);
    EXPECT_EQ(Elapsed(), 200u) << "port 0 is refused at once";
}

TEST_F(SimLinkTest, BrokenAsciiRepliesReachTheCallerAsTheRealLinkHandsThem)
{
    ASSERT_EQ(t.Open_ComAscii(1, 9600, 8, 0, 0), 0);
    reply[200] = 'X';
    bus.Module(0).Faults().nLongTo = 260;
    EXPECT_EQ(Ask("$01M"), 7) << "too long";
    EXPECT_EQ(length, 199);
    EXPECT_EQ(std::strlen(reply.data()), 199u);
    EXPECT_EQ(std::string(reply.data(), 7), "!016384");
    EXPECT_EQ(reply[200], 'X') << "nothing written past the 200 characters";

    bus.Module(0).Faults() = {};
    bus.Module(0).Faults().nCutTo = 4;
    EXPECT_EQ(Ask("$01M", 150), 6) << "no CR";
    EXPECT_STREQ(reply.data(), "!016");
    EXPECT_EQ(Elapsed(), 150u) << "the caller waited out the gap";

    bus.Module(0).Faults() = {};
    bus.Module(0).Faults().nGarbage = 40;
    EXPECT_EQ(Ask("$01M"), 0);
    EXPECT_EQ(length, std::strlen(reply.data()));
}

TEST_F(SimLinkTest, ChangeBaudMovesAnOpenLine)
{
    bus.Module(0).SetBaud(19200);
    ASSERT_EQ(t.Open_ComAscii(1, 9600, 8, 0, 0), 0);
    EXPECT_NE(Ask("$01M"), 0);
    EXPECT_EQ(t.Change_BaudAscii(1, 19200), 0);
    EXPECT_EQ(Ask("$01M"), 0);
    EXPECT_EQ(link.Traffic().back().line.dwBaud, 19200u);
    EXPECT_EQ(t.Change_BaudAscii(1, 12345), 3);
}

TEST_F(SimLinkTest, ParityMustMatch)
{
    ASSERT_EQ(t.Open_ComAscii(1, 9600, 8, 1, 0), 0);
    EXPECT_NE(Ask("$01M"), 0);
    bus.Module(0).SetParity(1);
    EXPECT_EQ(Ask("$01M"), 0);
}

TEST_F(SimLinkTest, RtuReplyEndsInAZeroByte)
{
    ASSERT_EQ(t.Open_ComRtu(1, 50, 9600, 8, 0, 1), 1);
    rtuReply.fill(0xEE);
    EXPECT_EQ(AskRtu(Frame({0x02, 0x03, 0x27, 0x10, 0x00, 0x02})), 1);
    EXPECT_EQ(length, 9);
    EXPECT_EQ(SimHexBytes(std::string(rtuReply.begin(), rtuReply.begin() + 10)),
              "02 03 04 63 84 00 00 97 5E 00");
    EXPECT_EQ(link.Requests().back(), "02 03 27 10 00 02 CF 49");

    DWORD before = Elapsed();
    EXPECT_EQ(AskRtu(Frame({0x05, 0x03, 0x27, 0x10, 0x00, 0x02}), 80), 0);
    EXPECT_EQ(length, 0);
    EXPECT_EQ(Elapsed() - before, 80u);

    bus.Module(1).Faults().nLongTo = 4000;
    rtuReply[kRtuMaxReply + 1] = 0xEE;
    EXPECT_EQ(AskRtu(Frame({0x02, 0x03, 0x00, 0x00, 0x00, 0x01})), 1);
    EXPECT_EQ(length, kRtuMaxReply);
    EXPECT_EQ(rtuReply[kRtuMaxReply], 0);
    EXPECT_EQ(rtuReply[kRtuMaxReply + 1], 0xEE);

    std::string tooLong(kRtuMaxRequest + 1, '\x02');
    before = Elapsed();
    EXPECT_EQ(AskRtu(tooLong), 0);
    EXPECT_EQ(length, 0);
    EXPECT_EQ(Elapsed(), before) << "refused without a wait";
    length = 77;
    EXPECT_EQ(t.Send_Receive_Rtu(0, rtuReply.data(), 8, rtuReply.data(), 50, 0, &length), 0);
    EXPECT_EQ(length, 77) << "port 0 leaves the reply length";
    t.Close_ComRtu(1);
    EXPECT_EQ(AskRtu(Frame({0x02, 0x03, 0x00, 0x00, 0x00, 0x01})), 0) << "closed";
}

TEST_F(SimLinkTest, StopBitsZeroKeepTheLineAsItWas)
{
    bus.Module(1).SetBaud(19200);
    bus.Module(1).SetParity(1);
    ASSERT_EQ(t.Open_ComAscii(1, 19200, 8, 1, 0), 0);
    t.Close_ComAscii(1);
    ASSERT_EQ(t.Open_ComRtu(1, 50, 9600, 8, 0, 0), 1);
    EXPECT_EQ(link.Line(1).dwBaud, 19200u);
    EXPECT_EQ(link.Line(1).nParity, 1);
    EXPECT_EQ(AskRtu(Frame({0x02, 0x03, 0x27, 0x10, 0x00, 0x02})), 1);
    ASSERT_EQ(t.Open_ComRtu(1, 50, 9600, 8, 0, 1), 1);
    EXPECT_EQ(link.Line(1).dwBaud, 9600u);
    EXPECT_EQ(AskRtu(Frame({0x02, 0x03, 0x27, 0x10, 0x00, 0x02})), 0);
}

TEST_F(SimLinkTest, AModuleThatHangsUpTakesThePortAway)
{
    ASSERT_EQ(t.Open_ComAscii(1, 9600, 8, 0, 0), 0);
    bus.Module(0).Faults().bHangUp = true;
    EXPECT_EQ(Ask("$01M"), 8);
    EXPECT_FALSE(link.IsAsciiOpen());
    EXPECT_EQ(t.Open_ComAscii(1, 9600, 8, 0, 0), 2);
}

TEST_F(SimLinkTest, OnlyOneSimulatedLinkAtATime)
{
    EXPECT_THROW(CSimLink second, std::logic_error);
}
