// The power meters as both power-meter dialogs see them: the reading groups over ASCII and as
// holding registers, PT and CT ratios, the 6539's digital I/O and the protocol switches.
#include "SimPowerMeter.h"
#include "SimTestUtil.h"

#include <gtest/gtest.h>

namespace {

// A 6539 at 0x40 and a 6530 at 0x41, with readings that exercise the edges of each raw form.
class SimPowerMeterTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        bus.Add("6539", 0x40, 9600);
        bus.Add("6530", 0x41, 9600);
        struct {
            int quantity;
            double value;
        } readings[] = {
            {kSimV1, 230.06},    {kSimV2, 0.0},    {kSimV3, 655.35},     {kSimI1, 0.5},
            {kSimI2, 65.535},    {kSimI3, 1.0},    {kSimIn, 0.2},        {kSimP1, -1.0},
            {kSimP2, 1.0},       {kSimP3, 0.0},    {kSimP, -10.0},       {kSimQ1, 3276.7},
            {kSimQ2, -3276.8},   {kSimQ3, 0.1},    {kSimQ, 214748364.7}, {kSimS1, 1.0},
            {kSimS2, 2.0},       {kSimS3, 3.0},    {kSimS, 6.0},         {kSimPF1, 1.0},
            {kSimPF2, -0.5},     {kSimPF3, 0.0},   {kSimF, 50.0},        {kSimEpi, 4294.967196},
            {kSimEpo, 0.065536}, {kSimEQind, 0.0}, {kSimEQcap, 1.0},
        };
        for (auto& m : {&Meter(0), &Meter(1)})
            for (auto r : readings) m->SetInput(r.quantity, r.value);
    }
    CSimPowerMeter& Meter(size_t i) { return bus.ModuleAs<CSimPowerMeter>(i); }
    CSimBus bus;
};

} // namespace

TEST_F(SimPowerMeterTest, AsciiGroupsAndRegistersCarryTheSameRawValues)
{
    struct Case {
        const char* ascii;
        const char* rtu;
        const char* data;
    } cases[] = {
        {"#40A", "400303000007", "59DE0000FFFF01F4FFFF03E800C8"},
        {"#40B", "400303070005", "FFF6000A0000FFFFFF9C"},
        {"#40C", "4003030C0005", "7FFF80000001 7FFFFFFF"},
        {"#40D", "400303110005", "000A0014001E0000003C"},
        {"#40E", "400303160004", "2710EC7800001388"},
        {"#40F", "4003031A0008", "FFFFFF9C0001000000000000000F4240"},
    };
    for (const Case& c : cases) {
        std::string data = c.data;
        data.erase(std::remove(data.begin(), data.end(), ' '), data.end());
        EXPECT_EQ(AskAscii(bus, c.ascii), ">" + data + "\r") << c.ascii;
    }
    Meter(0).SetProtocol(ESimProtocol::Rtu);
    for (const Case& c : cases) {
        std::string data = c.data;
        data.erase(std::remove(data.begin(), data.end(), ' '), data.end());
        std::string bytes = *SimBytesFromHex(data);
        EXPECT_EQ(WithoutCrc(*AskRtu(bus, c.rtu)),
                  SimHexBytes(std::string("\x40\x03", 2) + static_cast<char>(bytes.size()) + bytes))
            << c.rtu;
    }
    // The whole block at once, and nothing outside it.
    EXPECT_EQ(AskRtu(bus, "400303000022")->substr(0, 8), "40 03 44");
    EXPECT_EQ(WithoutCrc(*AskRtu(bus, "400303000023")), "40 83 02");
    EXPECT_EQ(WithoutCrc(*AskRtu(bus, "400300000003")), "40 83 02");
}

TEST_F(SimPowerMeterTest, ChecksumFramesTheGroupsAndTheRatioRequestsGoUnanswered)
{
    Meter(0).SetChecksum(true);
    std::string request = "#40A" + SimAsciiChecksum("#40A");
    std::string reply = ">59DE0000FFFF01F4FFFF03E800C8";
    EXPECT_EQ(AskAscii(bus, request), reply + SimAsciiChecksum(reply) + "\r");
    EXPECT_EQ(AskAscii(bus, "#40A"), std::nullopt);
    // The ratio requests go out without a checksum, which a meter with its checksum on ignores.
    EXPECT_EQ(AskAscii(bus, "$403"), std::nullopt);
    EXPECT_EQ(AskAscii(bus, "$4050064"), std::nullopt);
    EXPECT_EQ(Meter(0).PtRatio(), 1);
}

TEST_F(SimPowerMeterTest, PtAndCtRatiosAreReadAndSetInFourHexDigitsOfEitherCase)
{
    struct Case {
        const char* request;
        const char* reply;
    } cases[] = {
        {"$403", "!400001"}, {"$404", "!400001"}, {"$4050064", "!40"}, {"$403", "!400064"},
        {"$406ffff", "!40"}, {"$404", "!40FFFF"}, {"$4050", "?40"},    {"$40510000", "?40"},
        {"$4050G00", "?40"}, {"$40500-1", "?40"}, {"$4033", "?40"},    {"$403", "!400064"},
        {"$4150005", "!41"}, {"$413", "!410005"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(AskAscii(bus, c.request), std::string(c.reply) + "\r") << c.request;
    EXPECT_EQ(Meter(0).CtRatio(), 0xFFFF);
}

TEST_F(SimPowerMeterTest, TheDigitalIoOfThe6539)
{
    struct Case {
        const char* request;
        const char* reply;
    } cases[] = {
        {"@40S", "!4010"}, {"@40O1", "!40"}, {"@40S", "!4011"}, {"@40O3", "!40"}, {"@40S", "!4013"},
        {"@40O4", "?40"},  {"@40O", "?40"},  {"@40S", "!4013"}, {"@41S", "?41"},  {"@41O1", "?41"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(AskAscii(bus, c.request), std::string(c.reply) + "\r") << c.request;
    Meter(0).SetDigitalInput(0, true);
    EXPECT_EQ(AskAscii(bus, "@40S"), "!4003\r");
    EXPECT_EQ(Meter(0).Outputs(), 3);
}

TEST_F(SimPowerMeterTest, ConfigurationKeepsAsciiWithType01AndSwitchesToRtuSilentlyWith02)
{
    EXPECT_EQ(AskAscii(bus, "%40420106"
                            "00"),
              "!42\r");
    EXPECT_EQ(Meter(0).Address(), 0x42);
    // A new baud rate or checksum needs INIT*, with either type.
    EXPECT_EQ(AskAscii(bus, "%4242010740"), "?42\r");
    EXPECT_EQ(AskAscii(bus, "%4242020640"), "?42\r");
    EXPECT_EQ(AskAscii(bus, "%4242030600"), "?42\r");
    EXPECT_EQ(Meter(0).Protocol(), ESimProtocol::Ascii);
    EXPECT_EQ(AskAscii(bus, "%4243020600"), std::nullopt);
    EXPECT_EQ(Meter(0).Protocol(), ESimProtocol::Rtu);
    EXPECT_EQ(Meter(0).Address(), 0x43);
    EXPECT_EQ(Meter(0).Type(), 0x01);
    // Over RTU: a new address, then back to ASCII through 0x080D.
    EXPECT_EQ(WithoutCrc(*AskRtu(bus, "430608120044")), "43 06 08 12 00 44");
    EXPECT_EQ(WithoutCrc(*AskRtu(bus, "440608120000")), "44 86 03");
    EXPECT_EQ(WithoutCrc(*AskRtu(bus, "4406080D0001")), "44 06 08 0D 00 01");
    EXPECT_EQ(AskAscii(bus, "$442"), "!44010600\r");
}

TEST(SimPowerMeterBus, TheDefaultBusHasA6539At0x40)
{
    CSimBus bus;
    bus.LoadFile(OSTRA_SIM_DIR "/default_bus.txt");
    EXPECT_EQ(AskAscii(bus, "$40M"), "!406539\r");
    EXPECT_EQ(AskAscii(bus, "$402"), "!40010600\r");
    EXPECT_EQ(AskAscii(bus, "#40A")->size(), 1u + 7 * 4 + 1);
    EXPECT_EQ(AskAscii(bus, "@40S"), "!4010\r");
}

TEST(SimPowerMeterBus, TheBusFileSetsTheRatios)
{
    CSimBus bus;
    bus.Load("6530 1 9600 ascii pt=1234 ct=0\n");
    EXPECT_EQ(bus.ModuleAs<CSimPowerMeter>(0).PtRatio(), 1234);
    EXPECT_EQ(bus.ModuleAs<CSimPowerMeter>(0).CtRatio(), 0);
    for (const char* line : {"6530 1 9600 ascii pt=65536\n", "6530 1 9600 ascii ct=x\n",
                             "6530 1 9600 ascii pt=\n", "6384 1 9600 ascii pt=1\n"}) {
        CSimBus other;
        EXPECT_THROW(other.Load(line), std::runtime_error) << line;
    }
}
