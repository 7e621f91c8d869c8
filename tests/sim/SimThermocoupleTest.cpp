// The thermocouple-input and RTD-input families as their ASCII dialogs see them: readings in
// every data format, the configuration and protocol commands, checksum framing, and the registers
// a model has or lacks over Modbus RTU.
#include "SimThermocouple.h"
#include "SimRtd.h"
#include "SimTestUtil.h"

#include <gtest/gtest.h>

namespace {

std::string WithChecksum(const std::string& text)
{
    return text + SimAsciiChecksum(text);
}

} // namespace

TEST(SimThermocoupleRanges, ReadingsInEveryFormatAndTheCodesEachModelTakes)
{
    struct Case {
        BYTE range;
        BYTE format;
        double value;
        const char* text;
    } cases[] = {
        {0x00, 0, 7.5, "+07.500"},   {0x02, 0, -50.0, "-050.00"},  {0x05, 0, 1.25, "+1.2500"},
        {0x0E, 0, 500.0, "+0500.0"}, {0x0F, 0, 1370.0, "+1370.0"}, {0x10, 0, -25.5, "-0025.5"},
        {0x0E, 1, 380.0, "+050.00"}, {0x10, 1, -100.0, "-025.00"}, {0x18, 0, 12.0, "+12.000"},
        {0x0E, 2, 760.0, "FFFF"},    {0x0E, 2, 0.0, "0000"},       {0x00, 2, -15.0, "8001"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(SimFormatReading(*SimTcRange(c.range), c.format, c.value), c.text)
            << "range " << int(c.range) << " format " << int(c.format) << " value " << c.value;

    struct Codes {
        BYTE code;
        bool module;
        bool channel;
    } codes[] = {{0x00, true, false},  {0x06, true, true},   {0x07, false, true},
                 {0x08, false, false}, {0x0D, false, false}, {0x0E, true, true},
                 {0x14, true, true},   {0x15, true, false},  {0x18, true, false},
                 {0x19, false, false}, {0xFF, false, false}};
    for (const Codes& c : codes) {
        EXPECT_EQ(SimTcRange(c.code) != nullptr, c.module) << int(c.code);
        EXPECT_EQ(SimTcChannelRange(c.code) != nullptr, c.channel) << int(c.code);
    }
}

// An eight-channel 6386 at 0x10 (K type, CH0..CH7 held at 100..800 degrees), a 4386A at 0x11 and
// a single-channel 4388 at 0x12.
class SimThermocouple : public ::testing::Test {
protected:
    void SetUp() override
    {
        CSimModule& m = bus.Add("6386", 0x10, 9600);
        for (int ch = 0; ch < 8; ++ch) m.SetInput(ch, 100.0 * (ch + 1));
        bus.Add("4386A", 0x11, 9600).SetInput(0, 300.0);
        bus.Add("4388", 0x12, 9600).SetInput(0, 500.0);
    }
    std::string Ask(std::string_view request)
    {
        return AskAscii(bus, request).value_or("(silent)");
    }
    CSimModule& Module(size_t i) { return bus.Module(i); }
    CSimBus bus;
};

TEST_F(SimThermocouple, EightChannelReadingsInEveryFormatAndWithTheChecksum)
{
    EXPECT_EQ(Ask("#10"), ">+0100.0+0200.0+0300.0+0400.0+0500.0+0600.0+0700.0+0800.0\r");
    Module(0).SetFormat(0x01);
    EXPECT_EQ(Ask("#10"), ">+007.30+014.60+021.90+029.20+036.50+043.80+051.09+058.39\r");
    Module(0).SetFormat(0x02);
    EXPECT_EQ(Ask("#10"), ">12B0255F380F4ABE5D6E701D82CD957D\r");

    Module(0).SetChecksum(true);
    EXPECT_EQ(Ask("#10"), "(silent)") << "a request without its checksum digits is not heard";
    EXPECT_EQ(Ask(WithChecksum("#10")), WithChecksum(">12B0255F380F4ABE5D6E701D82CD957D") + "\r");
    EXPECT_EQ(Ask(WithChecksum("$106")), WithChecksum("!10FF") + "\r");
    EXPECT_EQ(Ask(WithChecksum("$103")), WithChecksum(">+025.00") + "\r");
}

TEST_F(SimThermocouple, ConfigurationTakesTheModuleRangesOnly)
{
    EXPECT_EQ(Ask("$102"), "!100F0600\r");
    EXPECT_EQ(Ask("%1010070600"), "?10\r") << "4-20 mA is a channel type of the 4386A only";
    EXPECT_EQ(Ask("%1010080600"), "?10\r") << "an analog-input range";
    EXPECT_EQ(Ask("%1010FF0600"), "?10\r");
    EXPECT_EQ(Ask("%1014180602"), "!14\r");
    EXPECT_EQ(Module(0).Address(), 0x14);
    EXPECT_EQ(Ask("$142"), "!14180602\r");
    EXPECT_EQ(Ask("%1414180702"), "?14\r") << "a new baud rate only in the INIT state";
}

TEST_F(SimThermocouple, SwitchToModbusRtuAnswersRegistersAndRefusesWhatItLacks)
{
    EXPECT_EQ(Ask("$10R1"), "(silent)");
    EXPECT_EQ(Module(0).Protocol(), ESimProtocol::Rtu);
    EXPECT_EQ(Ask("#10"), "(silent)");
    EXPECT_EQ(WithoutCrc(*AskRtu(bus, "100300000002")), "10 03 04 12 B0 25 5F");
    EXPECT_EQ(WithoutCrc(*AskRtu(bus, "100300DC0001")), "10 03 02 00 FF");
    EXPECT_EQ(WithoutCrc(*AskRtu(bus, "100300080001")), "10 83 02") << "no ninth channel";
    EXPECT_EQ(WithoutCrc(*AskRtu(bus, "101000000001")), "10 90 01");
}

TEST_F(SimThermocouple, PerChannelModelReadsAndWritesChannelTypes)
{
    EXPECT_EQ(Ask("$112"), "!11FF0600\r");
    EXPECT_EQ(Ask("$118C0"), "!11C0R0F\r");
    EXPECT_EQ(Ask("#11").substr(0, 9), ">+0300.0+");
    struct Case {
        const char* request;
        const char* reply;
    } cases[] = {
        {"$117C0R07", "!11\r"}, {"$117C1R06", "!11\r"}, {"$117C2R14", "!11\r"},
        {"$117C3R15", "?11\r"}, {"$117C3R00", "?11\r"}, {"$117C8R0E", "?11\r"},
    };
    for (const Case& c : cases) EXPECT_EQ(Ask(c.request), c.reply) << c.request;
    EXPECT_EQ(Module(1).ChannelType(0), 0x07);
    EXPECT_EQ(Ask("$113"), ">+025.00\r");
    EXPECT_EQ(Ask("$116"), "!11FF\r");

    EXPECT_EQ(Ask("%11110F0600"), "?11\r") << "the type stays per channel";
    EXPECT_EQ(Ask("%1111FF0604"), "!11\r") << "bit 2 of the format: over to Modbus RTU";
    EXPECT_EQ(Module(1).Protocol(), ESimProtocol::Rtu);
    EXPECT_EQ(WithoutCrc(*AskRtu(bus, "110300C80002")), "11 03 04 00 07 00 06");
}

TEST_F(SimThermocouple, SingleChannelModelWithAlarms)
{
    EXPECT_EQ(Ask("#12"), ">+0500.0\r");
    EXPECT_EQ(Ask("@12DI"), "!1200000\r");
    EXPECT_EQ(Ask("@12RH"), "!12+1370.0\r");
    EXPECT_EQ(Ask("@12RL"), "!12+0000.0\r");
    EXPECT_EQ(Ask("@12HI+0400.0"), "!12\r");
    EXPECT_EQ(Ask("@12EAM"), "!12\r");
    EXPECT_EQ(Ask("@12DI"), "!1210200\r") << "500 degrees is above the high limit";
    EXPECT_EQ(Ask("$123"), ">+025.00\r");
    EXPECT_EQ(Ask("$126"), "?12\r") << "no channel-enable mask";
}

TEST_F(SimThermocouple, ColdJunctionAndCalibrationCommandsOfEveryModel)
{
    struct Case {
        const char* request;
        const char* reply;
    } cases[] = {
        {"$10J", "!10+0000\r"},  {"$109+006f", "!10\r"}, {"$10J", "!10+006F\r"},
        {"$103", ">+026.00\r"},  {"$109-0032", "!10\r"}, {"$10J", "!10-0032\r"},
        {"$103", ">+024.55\r"},  {"$109+00G0", "?10\r"}, {"$109*0000", "?10\r"},
        {"$109+00000", "?10\r"}, {"$10L", "!102710\r"},  {"~10LC350", "!10\r"},
        {"$10L", "!10C350\r"},   {"~10LC351", "?10\r"},  {"~10L271", "?10\r"},
        {"$101", "!10\r"},       {"$100", "!10\r"},      {"$119+0002", "!11\r"},
        {"$111", "!11\r"},       {"~12L2710", "!12\r"},  {"$12J", "!12+0000\r"},
        {"$1090000", "!10\r"},   {"@12DO02", "!12\r"},   {"@12DI", "!1200200\r"},
        {"@12DO04", "?12\r"},
    };
    for (const Case& c : cases) EXPECT_EQ(Ask(c.request), c.reply) << c.request;
    const auto& module = dynamic_cast<const CSimThermocouple8&>(Module(0));
    EXPECT_EQ(module.Calibration().ZeroCalibrations(), 1);
    EXPECT_EQ(module.Calibration().SpanCalibrations(), 1);
    EXPECT_EQ(module.Calibration().CjcOffset(), 0);

    Module(0).SetChecksum(true);
    EXPECT_EQ(Ask(WithChecksum("$10J")), WithChecksum("!10+0000") + "\r");
}

TEST(SimRtdModels, ChannelsAndRangeTableFollowTheModel)
{
    struct Case {
        const char* model;
        int channels;
        BYTE taken;
        BYTE refused;
    } cases[] = {
        {"6308", 1, 0x2F, 0x28},  {"4308", 1, 0x27, 0x2A},  {"6300", 3, 0x2B, 0x1F},
        {"4300", 3, 0x2E, 0x30},  {"6307", 6, 0x24, 0x29},  {"4307", 6, 0x20, 0x00},
        {"6308A", 1, 0x25, 0x26}, {"4308A", 1, 0x24, 0x2B}, {"6300A", 3, 0x25, 0x27},
        {"4300A", 3, 0x21, 0x2F}, {"6309", 4, 0x20, 0x26},  {"4309", 4, 0x23, 0x2B},
        {"6380", 3, 0x2C, 0x28},  {"4380", 3, 0x20, 0x30},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.model);
        CSimBus bus;
        auto& rtd = dynamic_cast<CSimRtd&>(bus.Add(c.model, 1, 9600));
        EXPECT_EQ(rtd.Channels(), c.channels);
        EXPECT_NO_THROW(rtd.SetType(c.taken));
        EXPECT_THROW(rtd.SetType(c.refused), std::invalid_argument);
    }
    EXPECT_EQ(SimRtdRange13(0x20)->dLow, -100.0);
    EXPECT_EQ(SimRtdRange6(0x20)->dLow, -200.0) << "the same code, another range";
}

// A 6309 at 0x13 (Pt100 -200 to 400) with CH0..CH3 at 100, 200, -10 and 0 degrees, and a 6300 at
// 0x14 (Cu100) with CH0..CH2 at 25, 50 and -50.
class SimRtd : public ::testing::Test {
protected:
    void SetUp() override
    {
        CSimModule& four = bus.Add("6309", 0x13, 9600);
        const double values[] = {100.0, 200.0, -10.0, 0.0};
        for (int ch = 0; ch < 4; ++ch) four.SetInput(ch, values[ch]);
        CSimModule& three = bus.Add("6300", 0x14, 9600);
        three.SetType(0x2B);
        three.SetInput(0, 25.0);
        three.SetInput(1, 50.0);
        three.SetInput(2, -50.0);
    }
    std::string Ask(std::string_view request)
    {
        return AskAscii(bus, request).value_or("(silent)");
    }
    CSimBus bus;
};

TEST_F(SimRtd, InputValuesAndResistancesInEveryFormat)
{
    EXPECT_EQ(Ask("#13"), ">+0100.00+0200.00-0010.00+0000.00\r");
    EXPECT_EQ(Ask("$13A"), ">0138.500177.000096.150100.00\r");
    EXPECT_EQ(Ask("#14"), ">+0025.00+0050.00-0050.00\r");
    EXPECT_EQ(Ask("$14A"), ">0110.700121.400078.60\r");
    bus.Module(1).SetFormat(0x01);
    EXPECT_EQ(Ask("#14"), ">+016.67+033.33-033.33\r");
    bus.Module(1).SetFormat(0x02);
    EXPECT_EQ(Ask("#14"), ">15552AAAD556\r");
    bus.Module(1).SetFormat(0x03);
    EXPECT_EQ(Ask("#14"), ">0110.700121.400078.60\r") << "the Ohm format";
    EXPECT_EQ(Ask("$14A"), ">0110.700121.400078.60\r");

    bus.Module(0).SetChecksum(true);
    EXPECT_EQ(Ask("#13"), "(silent)");
    EXPECT_EQ(Ask(WithChecksum("$13A")), WithChecksum(">0138.500177.000096.150100.00") + "\r");
}

TEST_F(SimRtd, ConfigurationAndTheSwitchToModbusRtu)
{
    EXPECT_EQ(Ask("$132"), "!13200600\r");
    EXPECT_EQ(Ask("%1313260600"), "?13\r") << "the six-range table ends at 25";
    EXPECT_EQ(Ask("%1315250603"), "!15\r");
    EXPECT_EQ(Ask("$152"), "!15250603\r");
    EXPECT_EQ(Ask("%14142F0601"), "!14\r");
    EXPECT_EQ(Ask("%1414280601"), "?14\r");

    EXPECT_EQ(Ask("$15R1"), "(silent)");
    EXPECT_EQ(Ask("$15M"), "(silent)");
    EXPECT_EQ(WithoutCrc(*AskRtu(bus, "150300C80001")), "15 03 02 00 25");
    EXPECT_TRUE(AskRtu(bus, "150300030001"));
    EXPECT_EQ(WithoutCrc(*AskRtu(bus, "150300040001")), "15 83 02") << "no fifth channel";
}

TEST(SimRtdCalibration, TheThreeChannelModelsTakeZeroAndSpanOnlyOnceEnabled)
{
    CSimBus bus;
    auto& rtd = dynamic_cast<CSimRtd&>(bus.Add("6380", 0x17, 9600));
    for (int ch = 0; ch < 3; ++ch) rtd.SetInput(ch, 25.0 * (ch + 1));
    bus.Add("6300", 0x14, 9600);
    struct Case {
        const char* request;
        const char* reply;
    } cases[] = {
        {"$171", "?17\r"},  {"$170", "?17\r"}, {"~17E1", "!17\r"},
        {"$171", "!17\r"},  {"$170", "!17\r"}, {"#17", ">+0025.00+0050.00+0075.00\r"},
        {"~14E1", "?14\r"}, {"$141", "?14\r"},
    };
    for (const Case& c : cases) EXPECT_EQ(AskAscii(bus, c.request), c.reply) << c.request;
    EXPECT_TRUE(rtd.CalibrationEnabled());
    EXPECT_EQ(rtd.ZeroCalibrations(), 1);
    EXPECT_EQ(rtd.SpanCalibrations(), 1);
}

TEST(SimBusFile, DefaultBusHasTheTemperatureModules)
{
    CSimBus bus;
    bus.LoadFile(OSTRA_SIM_DIR "/default_bus.txt");
    struct Case {
        const char* request;
        DWORD baud;
        const char* reply;
    } cases[] = {
        {"$10M", 9600, "!106386\r"}, {"$11M", 9600, "!114386A\r"}, {"$12M", 9600, "!124388\r"},
        {"$13M", 9600, "!136308\r"}, {"$14M", 9600, "!146300\r"},  {"$15M", 9600, "!156309\r"},
        {"$16M", 9600, "!166307\r"}, {"$17M", 9600, "!176380\r"},
    };
    for (const Case& c : cases) EXPECT_EQ(AskAscii(bus, c.request, {c.baud, 0, 8}), c.reply);
}
