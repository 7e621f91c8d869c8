// The simulated analog-output modules as the output dialogs see them, in both protocols.
#include "SimAnalogOutput.h"
#include "SimTestUtil.h"

#include <gtest/gtest.h>

namespace {

struct Exchange {
    const char* request;
    std::optional<std::string> reply; // nullopt: silence
};

void ExpectAscii(CSimBus& bus, std::initializer_list<Exchange> exchanges)
{
    for (const Exchange& e : exchanges) EXPECT_EQ(AskAscii(bus, e.request), e.reply) << e.request;
}

void ExpectRtu(CSimBus& bus, std::initializer_list<Exchange> exchanges)
{
    for (const Exchange& e : exchanges) {
        auto reply = AskRtu(bus, e.request);
        ASSERT_TRUE(reply) << e.request;
        EXPECT_EQ(WithoutCrc(*reply), *e.reply) << e.request;
    }
}

} // namespace

TEST(SimAnalogOutput, OneChannelReadsAndWritesItsValue)
{
    CSimBus bus;
    auto& ao = static_cast<CSimAnalogOutput&>(bus.Add("6358", 1, 9600));
    ao.SetType(0x32);
    ExpectAscii(bus, {{"$016", "!0100.000\r"},
                      {"#0105.000", ">\r"},
                      {"$016", "!0105.000\r"},
                      {"#01+7.5", ">\r"},
                      {"$016", "!0107.500\r"},
                      {"#0110.001", "?01\r"},
                      {"#01+05.000X", "?01\r"},
                      {"#01", "?01\r"},
                      {"$0160", "?01\r"},
                      {"$0190", "?01\r"},
                      {"$012", "!01320600\r"}});
    ASSERT_EQ(ao.OutputLog().size(), 2u);
    EXPECT_EQ(ao.OutputLog()[1], (std::pair<int, double>{0, 7.5}));
}

TEST(SimAnalogOutput, TwoChannelsKeepARangeAndSlewRowEach)
{
    CSimBus bus;
    auto& ao = static_cast<CSimAnalogOutput&>(bus.Add("6355", 1, 9600));
    ExpectAscii(bus, {{"$012", "!013F0600\r"},
                      {"$0190", "!0100\r"},
                      {"$019113", "!01\r"},
                      {"$0191", "!0113\r"},
                      {"$0191213", "!01\r"},
                      {"$0191", "!012D\r"},
                      {"$019135", "?01\r"},
                      {"$0191216", "?01\r"},
                      {"$01912", "?01\r"},
                      {"$0192", "?01\r"},
                      {"#01105.000", ">\r"},
                      {"#01015.000", ">\r"},
                      {"$0160", "!0115.000\r"},
                      {"$0161", "!0105.000\r"},
                      {"#01111.000", "?01\r"},
                      {"#01205.000", "?01\r"}});
    EXPECT_EQ(ao.SlewIndex(1), 13);
    EXPECT_EQ(ao.ChannelType(1), 0x32);
    EXPECT_EQ(ao.Output(1), 5.0);
}

TEST(SimAnalogOutput, FourChannelsReadWithTheirSignAndTakeTheConfiguration)
{
    CSimBus bus;
    auto& ao = static_cast<CSimAnalogOutput&>(bus.Add("6359", 1, 9600));
    ExpectAscii(bus, {{"#012+12.345", ">\r"},
                      {"$0162", "!01+12.345\r"},
                      {"$0164", "?01\r"},
                      {"%0102310614", "!02\r"},
                      {"$022", "!02310614\r"},
                      {"$0262", "!02+12.345\r"},
                      {"%02023F0600", "?02\r"}});
    EXPECT_EQ(ao.SlewIndex(0), 5);
    ao.SetChecksum(true);
    EXPECT_EQ(AskAscii(bus, "$0260" + SimAsciiChecksum("$0260")),
              "!02+04.000" + SimAsciiChecksum("!02+04.000") + "\r");
    EXPECT_EQ(AskAscii(bus, "$0260"), std::nullopt); // no checksum: not for this module
}

TEST(SimAnalogOutput, RegistersOfEachModel)
{
    CSimBus bus;
    auto& four = static_cast<CSimAnalogOutput&>(bus.Add("6359", 1, 9600, ESimProtocol::Rtu));
    auto& two = static_cast<CSimAnalogOutput&>(bus.Add("6355", 2, 9600, ESimProtocol::Rtu));
    bus.Add("6358", 3, 9600, ESimProtocol::Rtu);
    four.SetType(0x31);
    two.SetChannelType(1, 0x32);
    ExpectRtu(bus, {
                       {"010600004E20", "01 06 00 00 4E 20"},
                       {"010300000004", "01 03 08 4E 20 00 00 00 00 00 00"},
                       {"010300C80001", "01 03 02 00 31"},
                       {"010300040001", "01 83 02"},
                       {"020600011388", "02 06 00 01 13 88"},
                       {"020300000002", "02 03 04 00 00 13 88"},
                       {"020300C90001", "02 03 02 00 32"},
                       {"0206000127D8", "02 86 03"}, // 10.200 V is beyond 0 to 10 V
                       {"020300C80002", "02 03 04 00 30 00 32"},
                       {"030300010001", "03 83 02"},
                       {"0306080D0000", "03 06 08 0D 00 00"},
                   });
    EXPECT_NEAR(four.Output(0), 4.0 + 0x4E20 * 16.0 / 65535.0, 1e-9);
    EXPECT_EQ(two.Output(1), 5.0);
    // The 64-register read from CH1's range register reaches 0x0108.
    auto reply = AskRtu(bus, "0203 00C9 0040");
    ASSERT_TRUE(reply);
    EXPECT_EQ(reply->substr(0, 20), "02 03 80 00 32 00 00");
    EXPECT_EQ(WithoutCrc(*AskRtu(bus, "020300C90041")), "02 83 02");
}

TEST(SimAnalogOutput, FaultsAndTheDefaultBus)
{
    CSimBus bus;
    bus.LoadFile(OSTRA_SIM_DIR "/default_bus.txt");
    EXPECT_EQ(AskAscii(bus, "$20M"), "!206359\r");
    EXPECT_EQ(AskAscii(bus, "$2061"), "!20+05.000\r");
    for (size_t i = 0; i < bus.Count(); ++i) {
        if (bus.Module(i).Address() == 0x20) bus.Module(i).Faults().nSilentAfter = 0;
    }
    EXPECT_EQ(AskAscii(bus, "$2061"), std::nullopt);
}
