// The analog-input family as the analog-input dialogs see it, in both protocols, and the bus file.
#include "SimAnalogInput.h"
#include "SimBridgeInput.h"
#include "SimTestUtil.h"

#include <gtest/gtest.h>

TEST(SimAnalogReadings, EachDataFormatWritesTheReadingAsTheModuleDoes)
{
    struct Case {
        BYTE range;
        BYTE format;
        double value;
        const char* text;
    } cases[] = {
        {0x08, 0, 5.0, "+05.000"}, {0x08, 0, -10.0, "-10.000"},  {0x09, 0, -2.5, "-2.5000"},
        {0x0A, 0, 0.5, "+0.5000"}, {0x0B, 0, -250.0, "-250.00"}, {0x07, 0, 12.0, "+12.000"},
        {0x08, 1, 5.0, "+050.00"}, {0x0C, 1, -150.0, "-100.00"}, {0x07, 1, 12.0, "+050.00"},
        {0x08, 2, 5.0, "4000"},    {0x08, 2, -10.0, "8001"},     {0x07, 2, 20.0, "FFFF"},
        {0x07, 2, 4.0, "0000"},    {0x0D, 2, 0.0, "0000"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(SimFormatReading(*SimAiRange(c.range), c.format, c.value), c.text)
            << "range " << int(c.range) << " format " << int(c.format) << " value " << c.value;
    EXPECT_EQ(SimRawRegister(*SimAiRange(0x08), -10.0), 0);
    EXPECT_EQ(SimRawRegister(*SimAiRange(0x08), 10.0), 65535);
    EXPECT_EQ(SimRawRegister(*SimAiRange(0x07), 12.0), 32768);
    EXPECT_EQ(SimAiRange(0x0E), nullptr);
}

// An eight-channel 6384 at address 1 with CH0..CH7 held at 1..8 V, a per-channel 9384P at 3.
class SimEightChannel : public ::testing::Test {
protected:
    void SetUp() override
    {
        CSimModule& m = bus.Add("6384", 1, 9600);
        for (int ch = 0; ch < 8; ++ch) m.SetInput(ch, ch + 1.0);
        bus.Add("9384P", 3, 9600);
    }
    CSimModule& Module(size_t i) { return bus.Module(i); }
    CSimBus bus;
};

TEST_F(SimEightChannel, ReadingsInEveryFormat)
{
    EXPECT_EQ(AskAscii(bus, "#01"), ">+01.000+02.000+03.000+04.000+05.000+06.000+07.000+08.000\r");
    Module(0).SetFormat(0x01);
    EXPECT_EQ(AskAscii(bus, "#01"), ">+010.00+020.00+030.00+040.00+050.00+060.00+070.00+080.00\r");
    Module(0).SetFormat(0x02);
    EXPECT_EQ(AskAscii(bus, "#01"), ">0CCD19992666333340004CCC59996666\r");
    EXPECT_EQ(WithoutCrc(*[&] {
                  Module(0).SetProtocol(ESimProtocol::Rtu);
                  return AskRtu(bus, "010300000008");
              }()),
              "01 03 10 8C CC 99 99 A6 66 B3 33 BF FF CC CC D9 99 E6 66");
}

TEST_F(SimEightChannel, LiveReadingsMoveWithTimeAndRepeatForTheSameTime)
{
    auto at = [&](DWORD now) { return *AskAscii(bus, "#03", {}, now); };
    EXPECT_EQ(at(1000), at(1000));
    EXPECT_NE(at(1000), at(3000));
    auto& ai = bus.ModuleAs<CSimAnalogInput8>(1);
    for (DWORD now = 0; now < 20000; now += 700)
        for (int ch = 0; ch < 8; ++ch) {
            double value = ai.Value(ch, now);
            EXPECT_GE(value, -10.0);
            EXPECT_LE(value, 10.0);
        }
}

TEST_F(SimEightChannel, ChannelEnableMaskInBothProtocols)
{
    EXPECT_EQ(AskAscii(bus, "$016"), "!01FF\r");
    EXPECT_EQ(AskAscii(bus, "$015FE"), "!01\r");
    EXPECT_EQ(AskAscii(bus, "$016"), "!01FE\r");
    EXPECT_EQ(AskAscii(bus, "$015G0"), "?01\r");
    EXPECT_EQ(AskAscii(bus, "$0158"), "?01\r");
    Module(0).SetProtocol(ESimProtocol::Rtu);
    EXPECT_EQ(WithoutCrc(*AskRtu(bus, "010300DC0001")), "01 03 02 00 FE");
    EXPECT_EQ(WithoutCrc(*AskRtu(bus, "010600DC0081")), "01 06 00 DC 00 81");
    EXPECT_EQ(bus.ModuleAs<CSimAnalogInput8>(0).EnableMask(), 0x81);
    EXPECT_EQ(WithoutCrc(*AskRtu(bus, "010600DC0100")), "01 86 03");
}

TEST_F(SimEightChannel, PerChannelTypesInAscii)
{
    EXPECT_EQ(AskAscii(bus, "$038C2"), "!03C2R08\r");
    EXPECT_EQ(AskAscii(bus, "$037C2R0A"), "!03\r");
    EXPECT_EQ(AskAscii(bus, "$038C2"), "!03C2R0A\r");
    struct Case {
        const char* what;
        const char* request;
    } refused[] = {
        {"type outside the table", "$037C2R20"},
        {"channel 8", "$037C8R08"},
        {"channel -1", "$038C-1"},
        {"no R", "$037C2X08"},
        {"read on a one-range model", "$018C0"},
    };
    for (const Case& c : refused) EXPECT_EQ(AskAscii(bus, c.request)->front(), '?') << c.what;
    EXPECT_EQ(AskAscii(bus, "$032"), "!03FF0600\r");
    EXPECT_EQ(AskAscii(bus, "%0303080600"), "?03\r") << "the type stays per channel";
}

TEST_F(SimEightChannel, PerChannelTypesAsRegisters)
{
    Module(1).SetProtocol(ESimProtocol::Rtu);
    EXPECT_EQ(WithoutCrc(*AskRtu(bus, "030600CA000A")), "03 06 00 CA 00 0A");
    EXPECT_EQ(WithoutCrc(*AskRtu(bus, "030300C80008")),
              "03 03 10 00 08 00 08 00 0A 00 08 00 08 00 08 00 08 00 08");
    EXPECT_EQ(WithoutCrc(*AskRtu(bus, "030600CA0020")), "03 86 03");
    Module(0).SetProtocol(ESimProtocol::Rtu);
    EXPECT_EQ(WithoutCrc(*AskRtu(bus, "010300C80001")), "01 03 02 00 08");
    EXPECT_EQ(WithoutCrc(*AskRtu(bus, "010300C90001")), "01 83 02");
    EXPECT_EQ(WithoutCrc(*AskRtu(bus, "010600C8000C")), "01 06 00 C8 00 0C");
    EXPECT_EQ(Module(0).Type(), 0x0C);
}

TEST_F(SimEightChannel, ProtocolSwitchesBothWays)
{
    EXPECT_EQ(AskAscii(bus, "$01R1"), std::nullopt) << "it goes over without an ASCII reply";
    EXPECT_EQ(AskAscii(bus, "$01M"), std::nullopt);
    EXPECT_EQ(WithoutCrc(*AskRtu(bus, "0103080D0001")), "01 03 02 00 00")
        << "register 0x080D reads 0 while the module speaks RTU";
    EXPECT_EQ(WithoutCrc(*AskRtu(bus, "0106080D0001")), "01 06 08 0D 00 01");
    EXPECT_EQ(AskAscii(bus, "$01M"), "!016384\r");

    // The per-channel model switches with bit 2 of the format byte.
    EXPECT_EQ(AskAscii(bus, "%0303FF0604"), "!03\r");
    EXPECT_EQ(Module(1).Protocol(), ESimProtocol::Rtu);
    EXPECT_TRUE(AskRtu(bus, "030300000001"));
}

TEST_F(SimEightChannel, SlaveAddressRegisterMovesTheModule)
{
    Module(0).SetProtocol(ESimProtocol::Rtu);
    EXPECT_EQ(WithoutCrc(*AskRtu(bus, "010608120012")), "01 06 08 12 00 12");
    EXPECT_FALSE(AskRtu(bus, "010300000001"));
    EXPECT_EQ(WithoutCrc(*AskRtu(bus, "120308120001")), "12 03 02 00 12");
}

// A 6385 alarm model at address 4 in the +/-10 V range, its input held at 5 V.
class SimAlarm : public ::testing::Test {
protected:
    void SetUp() override { bus.Add("6385", 4, 9600).SetInput(0, 5.0); }
    void Input(double v) { bus.Module(0).SetInput(0, v); }
    std::string Ask(const char* request) { return AskAscii(bus, request).value_or("(silent)"); }
    CSimBus bus;
};

TEST_F(SimAlarm, LimitsReadAndWrite)
{
    EXPECT_EQ(Ask("#04"), ">+05.000\r");
    EXPECT_EQ(Ask("@04RH"), "!04+10.000\r");
    EXPECT_EQ(Ask("@04RL"), "!04-10.000\r");
    EXPECT_EQ(Ask("@04HI+06.000"), "!04\r");
    EXPECT_EQ(Ask("@04LO-02.5"), "!04\r");
    EXPECT_EQ(Ask("@04RH"), "!04+06.000\r");
    EXPECT_EQ(Ask("@04RL"), "!04-02.500\r");
    EXPECT_EQ(Ask("@04HI+11.000"), "?04\r") << "outside the range";
    EXPECT_EQ(Ask("@04HIabc"), "?04\r");
    EXPECT_EQ(Ask("@04HI"), "?04\r");
}

TEST_F(SimAlarm, OutputsFollowTheAlarmModes)
{
    ASSERT_EQ(Ask("@04HI+06.000"), "!04\r");
    ASSERT_EQ(Ask("@04LO-02.000"), "!04\r");
    EXPECT_EQ(Ask("@04DI"), "!0400000\r");
    EXPECT_EQ(Ask("@04DO02"), "!04\r") << "by hand while the alarm is off";
    EXPECT_EQ(Ask("@04DI"), "!0400200\r");
    EXPECT_EQ(Ask("@04DO04"), "?04\r");

    EXPECT_EQ(Ask("@04EAM"), "!04\r");
    EXPECT_EQ(Ask("@04DI"), "!0410000\r");
    EXPECT_EQ(Ask("@04DO01"), "?04\r") << "the alarm owns the outputs";
    Input(7.0);
    EXPECT_EQ(Ask("@04DI"), "!0410200\r") << "high alarm drives output 1";
    Input(5.0);
    EXPECT_EQ(Ask("@04DI"), "!0410000\r") << "momentary";

    EXPECT_EQ(Ask("@04EAL"), "!04\r");
    Input(-3.0);
    EXPECT_EQ(Ask("@04DI"), "!0420100\r") << "low alarm drives output 0";
    Input(5.0);
    EXPECT_EQ(Ask("@04DI"), "!0420100\r") << "latched";
    EXPECT_EQ(Ask("@04CA"), "!04\r");
    EXPECT_EQ(Ask("@04DI"), "!0420000\r");
    EXPECT_EQ(Ask("@04DA"), "!04\r");
    EXPECT_EQ(Ask("@04DI"), "!0400000\r");
}

TEST(SimDio, SingleChannelWithDigitalIoInBothProtocols)
{
    CSimBus bus;
    CSimModule& m = bus.Add("6385P", 5, 9600);
    m.SetInput(0, 0.0);
    EXPECT_EQ(AskAscii(bus, "#05"), ">+00.000\r");
    EXPECT_EQ(AskAscii(bus, "@05DO03"), "!05\r");
    m.SetDigitalInput(0, true);
    EXPECT_EQ(AskAscii(bus, "@05DI"), "!0500301\r");
    m.SetProtocol(ESimProtocol::Rtu);
    EXPECT_EQ(WithoutCrc(*AskRtu(bus, "050100000001")), "05 01 01 01");
    EXPECT_EQ(WithoutCrc(*AskRtu(bus, "050500100000")), "05 05 00 10 00 00");
    EXPECT_EQ(WithoutCrc(*AskRtu(bus, "050100100002")), "05 01 01 02");
    EXPECT_EQ(WithoutCrc(*AskRtu(bus, "05050000FF00")), "05 85 02") << "the input is read-only";
    EXPECT_EQ(WithoutCrc(*AskRtu(bus, "050500101234")), "05 85 03");
    EXPECT_EQ(WithoutCrc(*AskRtu(bus, "050300C80001")), "05 03 02 00 08");
    EXPECT_EQ(WithoutCrc(*AskRtu(bus, "050300000001")), "05 03 02 80 00");
}

TEST(SimBridge, ExcitationChannelAndOutputBanks)
{
    CSimBus bus;
    CSimModule& m = bus.Add("6387", 6, 9600);
    m.SetInput(0, 10.0);
    m.SetInput(1, -25.0);
    auto ask = [&](const char* request) { return AskAscii(bus, request).value_or("(silent)"); };
    EXPECT_EQ(ask("#06"), ">+10.000\r");
    EXPECT_EQ(ask("$0631"), "!06\r");
    EXPECT_EQ(ask("#06"), ">-25.000\r");
    EXPECT_EQ(ask("$0632"), "?06\r");
    EXPECT_EQ(ask("$066"), "!06+00.000\r");
    EXPECT_EQ(ask("$067+05.000"), "!06\r");
    EXPECT_EQ(ask("$066"), "!06+05.000\r");
    EXPECT_EQ(ask("$067+10.500"), "?06\r");
    EXPECT_EQ(ask("@06DO13"), "!06\r");
    EXPECT_EQ(ask("@06DO01"), "!06\r");
    m.SetDigitalInput(0, true);
    EXPECT_EQ(ask("@06DI"), "!0600D01\r") << "DO digit at index 5, DI at index 7";
    EXPECT_EQ(ask("@06DO24"), "?06\r");
    EXPECT_EQ(ask("%0606070600"), "?06\r") << "an analog-input range";
    EXPECT_EQ(ask("%0606030603"), "?06\r") << "ohms: the bridge measures no resistance";
    EXPECT_EQ(ask("%0606060601"), "!06\r");
    EXPECT_EQ(SimBridgeRange(0x07), nullptr);
}

TEST(SimBusFile, LoadsEveryKeyAndNamesTheLineAtFault)
{
    CSimBus bus;
    bus.Load("# comment line\n"
             "\n"
             "6384 0x11 19200 ascii checksum=on parity=even format=01 type=0A input3=0.5 # tail\n"
             "9384P 3 9600 rtu types=07,08,09,0A,0B,0C,0D,07 probe=00D2 init=off\n"
             "6385 4 9600 ascii delay=250 cut=3 garbage=0 long=0 silent_after=7 hangup=off\n");
    ASSERT_EQ(bus.Count(), 3u);
    CSimModule& m = bus.Module(0);
    EXPECT_EQ(m.Address(), 0x11);
    EXPECT_EQ(m.Baud(), 19200u);
    EXPECT_TRUE(m.Checksum());
    EXPECT_EQ(m.Parity(), 1);
    EXPECT_EQ(m.Format(), 0x01);
    EXPECT_EQ(m.Type(), 0x0A);
    EXPECT_DOUBLE_EQ(bus.ModuleAs<CSimAnalogInput8>(0).Value(3, 0), 0.5);
    EXPECT_EQ(bus.Module(1).Protocol(), ESimProtocol::Rtu);
    EXPECT_EQ(bus.Module(1).ChannelType(7), 0x07);
    EXPECT_EQ(bus.Module(2).Faults().dwDelayMs, 250u);
    EXPECT_EQ(bus.Module(2).Faults().nCutTo, 3);
    EXPECT_EQ(bus.Module(2).Faults().nSilentAfter, 7);

    struct Case {
        const char* line;
        const char* message;
    } bad[] = {
        {"6384 1 9600", "line 2: expected MODEL ADDRESS BAUD PROTOCOL"},
        {"7777 1 9600 ascii", "line 2: unknown model '7777'"},
        {"6384 256 9600 ascii", "line 2: address must be 0 to 255"},
        {"6384 1 9601 ascii", "line 2: baud rate not in the baud table"},
        {"6384 1 9600 modbus", "line 2: protocol must be ascii or rtu"},
        {"6384 1 9600 ascii type=20", "line 2: type code not taken"},
        {"6384 1 9600 ascii types=08", "line 2: 6384 has no type for channel 0"},
        {"9384P 1 9600 ascii types=08,20", "line 2: channel type not taken"},
        {"9384P 1 9600 ascii types=08,08", "line 2: types needs 8 codes"},
        {"6384 1 9600 ascii colour=red", "line 2: unknown key 'colour'"},
        {"6384 1 9600 ascii delay=-1", "line 2: count out of range '-1'"},
        {"6384 1 9600 ascii input9=1", "line 2: no input channel 9"},
        {"6384 1 9600 ascii checksum=maybe", "line 2: expected on or off"},
        {"6384 1 9600 ascii format=3", "line 2: format must be two upper-case hex digits"},
    };
    for (const Case& c : bad) {
        CSimBus other;
        try {
            other.Load(std::string("# first\n") + c.line + "\n");
            ADD_FAILURE() << c.line << " loaded";
        } catch (const std::runtime_error& e) {
            EXPECT_EQ(std::string(e.what()).rfind(c.message, 0), 0u) << e.what();
        }
    }
}

TEST(SimBusFile, DefaultBusLoadsAndAnswersTheSearchesFirstQuestions)
{
    CSimBus bus;
    bus.LoadFile(OSTRA_SIM_DIR "/default_bus.txt");
    EXPECT_GE(bus.Count(), 3u);
    EXPECT_EQ(AskAscii(bus, "$01M"), "!016384\r");
    EXPECT_TRUE(AskRtu(bus, "020327100002"));
    EXPECT_TRUE(AskAscii(bus, "$03M", {19200, 0, 8}));
    EXPECT_THROW(bus.LoadFile("/nonexistent/bus.txt"), std::runtime_error);
}
