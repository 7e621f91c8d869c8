// The simulated digital I/O modules as the digital I/O dialogs see them, in both protocols.
#include "SimDigitalIo.h"
#include "SimRegistry.h"
#include "SimTestUtil.h"

#include <gtest/gtest.h>

namespace {

CSimDigitalIo& AddDio(CSimBus& bus, const char* model, int address = 1,
                      ESimProtocol protocol = ESimProtocol::Ascii)
{
    return dynamic_cast<CSimDigitalIo&>(bus.Add(model, address, 9600, protocol));
}

} // namespace

TEST(SimDigitalIo, EveryModelIsKnownByName)
{
    for (const std::string& name : SimDigitalIoModelNames()) {
        auto module = SimCreateModule(name);
        ASSERT_NE(dynamic_cast<CSimDigitalIo*>(module.get()), nullptr) << name;
    }
}

TEST(SimDigitalIo, StatusCarriesInputsAndOutputsInEachModelsLayout)
{
    struct Case {
        const char* model;
        WORD inputs;
        WORD outputs;
        const char* reply;
    } cases[] = {
        {"6373", 0x5, 0xF, "!0F0500\r"},   {"6372", 0x3, 0x11, "!110300\r"},
        {"6324", 0xABC, 0x9, "!9ABC00\r"}, {"6323", 0x7F, 0x80, "!807F00\r"},
        {"6376", 0, 0x81, "!810000\r"},    {"6395", 0, 0x1FFF, "!1FFF00\r"},
        {"6390", 0, 0xFFFF, "!FFFF00\r"},  {"6398", 0x2001, 0, "!200100\r"},
        {"6325", 0xA5, 0, "!A50000\r"},    {"6320", 0x1234, 0, "!123400\r"},
        {"6328", 0x8001, 0, "!800100\r"},  {"6322", 0x0F, 0xF0, "!F00F00\r"},
        {"6373", 0xFF, 0xFF, "!0F0F00\r"}, // channels the model lacks stay off
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.model);
        CSimBus bus;
        CSimDigitalIo& m = AddDio(bus, c.model);
        for (int k = 0; k < 16; ++k) m.SetDigitalInput(k, (c.inputs >> k) & 1);
        m.SetOutputs(c.outputs);
        EXPECT_EQ(AskAscii(bus, "$016"), c.reply);
    }
}

TEST(SimDigitalIo, OutputsSetInAsciiAreReportedByTheNextStatus)
{
    struct Case {
        const char* model;
        const char* request;
        const char* reply;
        const char* status;
    } cases[] = {
        {"6373", "@01A", ">\r", "!0A0000\r"},
        {"6373", "@0110", "?01\r", "!000000\r"}, // beyond its four outputs
        {"6390", "@01ABCD", ">\r", "!ABCD00\r"},
        {"6377", "@0105", ">\r", "!050000\r"},
        {"6320", "@01", "?01\r", "!000000\r"}, // no outputs
        {"6398", "@010000", "?01\r", "!000000\r"},
        {"6373", "@01G", "?01\r", "!000000\r"},
        {"6322", "#010080", ">\r", "!800000\r"}, // its own output command
        {"6322", "@0180", "?01\r", "!000000\r"},
        {"6373", "#010080", "?01\r", "!000000\r"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.request);
        CSimBus bus;
        AddDio(bus, c.model);
        EXPECT_EQ(AskAscii(bus, c.request), c.reply);
        EXPECT_EQ(AskAscii(bus, "$016"), c.status);
    }
}

TEST(SimDigitalIo, CountersCountRisingEdgesAndClearOneByOne)
{
    CSimBus bus;
    CSimDigitalIo& m = AddDio(bus, "6373");
    for (int i = 0; i < 3; ++i) {
        m.SetDigitalInput(2, true);
        m.SetDigitalInput(2, false);
    }
    m.SetCounter(0, 65535);
    EXPECT_EQ(AskAscii(bus, "#012"), "!0100003\r");
    EXPECT_EQ(AskAscii(bus, "#010"), "!0165535\r");
    EXPECT_EQ(AskAscii(bus, "#014"), "?01\r"); // four inputs
    EXPECT_EQ(AskAscii(bus, "$01C2"), "!01\r");
    EXPECT_EQ(AskAscii(bus, "#012"), "!0100000\r");
    EXPECT_EQ(AskAscii(bus, "$01CA"), "?01\r");

    CSimBus status;
    AddDio(status, "6322");
    EXPECT_EQ(AskAscii(status, "#010"), "?01\r"); // status only: no counters
    EXPECT_EQ(AskAscii(status, "$01C0"), "?01\r");
}

TEST(SimDigitalIo, LatchFollowsTheLevelOfTheFormatByteAndClears)
{
    CSimBus bus;
    CSimDigitalIo& m = AddDio(bus, "6320");
    m.SetDigitalInput(3, true);
    m.SetDigitalInput(3, false); // latch level low: the fall latches
    EXPECT_EQ(m.Latched(), 0x0008);
    EXPECT_EQ(AskAscii(bus, "$01C"), "!01\r");
    EXPECT_EQ(m.Latched(), 0);
    EXPECT_EQ(AskAscii(bus, "%0101400680"), "!01\r"); // latch level high
    EXPECT_TRUE(m.LatchHigh());
    m.SetDigitalInput(5, true);
    EXPECT_EQ(m.Latched(), 0x0020);
}

TEST(SimDigitalIo, SafeAndPowerOnValuesTakeThePresentOutputs)
{
    CSimBus bus;
    CSimDigitalIo& m = AddDio(bus, "6399");
    m.SetOutputs(0xA5);
    EXPECT_EQ(AskAscii(bus, "~014P"), "!010000\r");
    EXPECT_EQ(AskAscii(bus, "~015P"), "!01\r");
    EXPECT_EQ(AskAscii(bus, "~014P"), "!0100A5\r");
    m.SetOutputs(0x3C);
    EXPECT_EQ(AskAscii(bus, "~015S"), "!01\r");
    EXPECT_EQ(AskAscii(bus, "~014S"), "!01003C\r");
    EXPECT_EQ(AskAscii(bus, "~014X"), "?01\r");

    CSimBus input;
    AddDio(input, "6320");
    EXPECT_EQ(AskAscii(input, "~014S"), "?01\r");

    CSimBus own;
    CSimDigitalIo& r = AddDio(own, "6322");
    EXPECT_EQ(AskAscii(own, "~014S"), "?01\r");
    EXPECT_EQ(AskAscii(own, "$01X0000080"), "!01\r");
    EXPECT_EQ(r.SafeValue(), 0x80);
    EXPECT_EQ(AskAscii(own, "$01X1"), "!010080\r");
    EXPECT_EQ(AskAscii(own, "$01X00000100"), "?01\r"); // beyond its eight outputs
}

TEST(SimDigitalIo, ChecksumFramingAndConfiguration)
{
    CSimBus bus;
    CSimDigitalIo& m = AddDio(bus, "6373");
    m.SetChecksum(true);
    m.SetOutputs(0x3);
    EXPECT_EQ(AskAscii(bus, "$016" + SimAsciiChecksum("$016")),
              "!030000" + SimAsciiChecksum("!030000") + "\r");
    EXPECT_EQ(AskAscii(bus, "$016"), std::nullopt); // no checksum: not heard
    EXPECT_EQ(AskAscii(bus, "$012" + SimAsciiChecksum("$012")),
              "!01400640" + SimAsciiChecksum("!01400640") + "\r");
    // A new address with the same line settings is taken; a type of no DIO model is refused.
    std::string config = "%0102400640";
    EXPECT_EQ(AskAscii(bus, config + SimAsciiChecksum(config)),
              "!02" + SimAsciiChecksum("!02") + "\r");
    EXPECT_EQ(m.Address(), 2);
    std::string wrongType = "%0202080640";
    EXPECT_EQ(AskAscii(bus, wrongType + SimAsciiChecksum(wrongType)),
              "?02" + SimAsciiChecksum("?02") + "\r");
}

TEST(SimDigitalIo, StatusOnlyModelsSwitchToModbusByConfigurationInTheirInitState)
{
    CSimBus bus;
    CSimDigitalIo& m = AddDio(bus, "6322", 5);
    m.SetInit(true);
    EXPECT_EQ(AskAscii(bus, "%0007000604"), "!07\r");
    EXPECT_EQ(m.Protocol(), ESimProtocol::Rtu);
    EXPECT_EQ(m.Address(), 7);
    CSimBus other;
    CSimDigitalIo& plain = AddDio(other, "6373");
    plain.SetInit(true);
    EXPECT_EQ(AskAscii(other, "%0007000604"), "?00\r");
}

TEST(SimDigitalIo, CoilsReadAndWriteOverModbus)
{
    struct Case {
        const char* model;
        WORD inputs;
        WORD outputs;
        const char* request;
        const char* reply; // without CRC
    } cases[] = {
        {"6373", 0x0A, 0x05, "010100000004", "01 01 01 0A"},
        {"6373", 0x0A, 0x05, "010100100004", "01 01 01 05"},
        {"6320", 0x1234, 0, "010100000010", "01 01 02 34 12"},
        {"6325", 0xA5, 0, "010100000008", "01 01 01 A5"},
        {"6376", 0, 0x81, "010100100008", "01 01 01 81"},
        {"6324", 0xABC, 0x9, "01010000000C", "01 01 02 BC 0A"},
        {"6324", 0xABC, 0x9, "010100100008", "01 01 01 09"}, // a whole byte of outputs
        {"6390", 0, 0x1234, "010100100010", "01 01 02 34 12"},
        {"6390", 0, 0, "010100000001", "01 81 02"},          // no inputs
        {"6373", 0, 0, "010100100009", "01 81 02"},          // beyond the byte of outputs
        {"6373", 0, 0, "01050014FF00", "01 85 02"},          // output 4 is none of its four
        {"6373", 0, 0, "01050013FF00", "01 05 00 13 FF 00"}, // output 3 on
        {"6373", 0, 0, "010500131234", "01 85 03"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.model) + " " + c.request);
        CSimBus bus;
        CSimDigitalIo& m = AddDio(bus, c.model, 1, ESimProtocol::Rtu);
        for (int k = 0; k < 16; ++k) m.SetDigitalInput(k, (c.inputs >> k) & 1);
        m.SetOutputs(c.outputs);
        EXPECT_EQ(WithoutCrc(*AskRtu(bus, c.request)), c.reply);
    }
    CSimBus bus;
    CSimDigitalIo& m = AddDio(bus, "6373", 1, ESimProtocol::Rtu);
    AskRtu(bus, "01050012FF00");
    EXPECT_EQ(m.Outputs(), 0x4);
    EXPECT_EQ(WithoutCrc(*AskRtu(bus, "010100100004")), "01 01 01 04");
    AskRtu(bus, "010500120000");
    EXPECT_EQ(m.Outputs(), 0);
}

TEST(SimDigitalIo, BusFileSwitchesInputsOn)
{
    CSimBus bus;
    bus.Load("6373 0x30 9600 ascii input1=1 input3=1 checksum=on\n");
    auto& m = bus.ModuleAs<CSimDigitalIo>(0);
    EXPECT_EQ(m.Inputs(), 0x0A);
    EXPECT_TRUE(m.Checksum());
}

TEST(SimDigitalIo, TheDefaultBusCarriesADigitalModuleInEachProtocol)
{
    CSimBus bus;
    bus.LoadFile(OSTRA_SIM_DIR "/default_bus.txt");
    EXPECT_EQ(AskAscii(bus, "$30M"), "!306373\r");
    EXPECT_EQ(AskAscii(bus, "$306"), "!000500\r");
    EXPECT_EQ(WithoutCrc(*AskRtu(bus, "31010000000C", {19200, 0, 8})), "31 01 02 02 02");
}
