// The simulator's framing and the identity every model shares: checksum, CRC, who hears a request,
// the configuration command and its refusals, INIT, the Modbus probes and exceptions.
#include "SimFramer.h"
#include "SimRegistry.h"
#include "SimTestUtil.h"

#include <gtest/gtest.h>

TEST(SimCodec, ChecksumAndCrcMatchTheProtocolValues)
{
    EXPECT_EQ(SimAsciiChecksum("$00M"), "D1");
    EXPECT_EQ(SimAsciiChecksum("#01"), "84");
    EXPECT_EQ(SimHexBytes(SimAppendCrc(*SimBytesFromHex("01030000000A"))),
              "01 03 00 00 00 0A C5 CD");
    EXPECT_EQ(SimHexBytes(SimAppendCrc("123456789")).substr(27), "37 4B");
    EXPECT_TRUE(SimCrcValid(SimAppendCrc("\x01\x03")));
    EXPECT_FALSE(SimCrcValid("\x01\x03\xC5\xCD"));
    EXPECT_FALSE(SimCrcValid("\x01"));
}

TEST(SimCodec, ModelWordIsTheNameAsNibbles)
{
    EXPECT_EQ(SimCreateModule("6384")->ModelWord(), 0x6384);
    EXPECT_EQ(SimCreateModule("9384P")->ModelWord(), 0x9384);
    EXPECT_EQ(SimCreateModule("6387")->ModelWord(), 0x6387);
    EXPECT_EQ(SimCreateModule("4384"), nullptr);
}

// A 6384 at address 1, 9600 baud, even parity, ASCII; and its RTU twin at address 2.
class SimHearing : public ::testing::Test {
protected:
    void SetUp() override
    {
        bus.Add("6384", 1, 9600).SetParity(1);
        bus.Add("6384", 2, 9600, ESimProtocol::Rtu).SetParity(1);
    }
    CSimBus bus;
    const SSimLine even{9600, 1, 8};
};

TEST_F(SimHearing, AModuleAnswersOnlyAtItsAddressRateParityAndProtocol)
{
    struct Case {
        const char* what;
        std::string_view request;
        SSimLine line;
        bool answered;
    } cases[] = {
        {"own settings", "$01M", {9600, 1, 8}, true},
        {"parity unknown to the transport", "$01M", {9600, -1, 8}, true},
        {"other address", "$03M", {9600, 1, 8}, false},
        {"other rate", "$01M", {19200, 1, 8}, false},
        {"other parity", "$01M", {9600, 0, 8}, false},
        {"seven data bits", "$01M", {9600, 1, 7}, false},
        {"the RTU module's address in ASCII", "$02M", {9600, 1, 8}, false},
        {"no lead character", "01M", {9600, 1, 8}, false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(AskAscii(bus, c.request, c.line).has_value(), c.answered) << c.what;
    EXPECT_EQ(AskAscii(bus, "$01M", even), "!016384\r");
    EXPECT_TRUE(AskRtu(bus, "0203000D0001", even));
    EXPECT_FALSE(AskRtu(bus, "0103000D0001", even)) << "the ASCII module ignores RTU";
    EXPECT_FALSE(AskRtu(bus, "0203000D0001", {19200, 1, 8}));
}

TEST_F(SimHearing, ChecksumOnGuardsRequestsAndSignsReplies)
{
    bus.Module(0).SetChecksum(true);
    EXPECT_EQ(AskAscii(bus, "$01M", even), std::nullopt) << "digits missing";
    EXPECT_EQ(AskAscii(bus, "$01M00", even), std::nullopt) << "digits wrong";
    EXPECT_EQ(AskAscii(bus, "$01Mb9", even), std::nullopt) << "digits in lower case";
    std::string reply = "!016384";
    EXPECT_EQ(AskAscii(bus, "$01M" + SimAsciiChecksum("$01M"), even),
              reply + SimAsciiChecksum(reply) + "\r");
    EXPECT_EQ(AskAscii(bus, "$012" + SimAsciiChecksum("$012"), even),
              "!01080640" + SimAsciiChecksum("!01080640") + "\r")
        << "bit 6 of the format byte shows the checksum";
    EXPECT_EQ(AskAscii(bus, "$01X" + SimAsciiChecksum("$01X"), even),
              "?01" + SimAsciiChecksum("?01") + "\r");
}

TEST_F(SimHearing, ConfigurationChangesAddressTypeAndFormat)
{
    EXPECT_EQ(AskAscii(bus, "%01110A0602", even), "!11\r");
    CSimModule& m = bus.Module(0);
    EXPECT_EQ(m.Address(), 0x11);
    EXPECT_EQ(m.Type(), 0x0A);
    EXPECT_EQ(m.Format(), 0x02);
    EXPECT_EQ(AskAscii(bus, "$01M", even), std::nullopt);
    EXPECT_EQ(AskAscii(bus, "$112", even), "!110A0602\r");
}

TEST_F(SimHearing, ConfigurationRefusals)
{
    struct Case {
        const char* what;
        std::string_view command;
    } cases[] = {
        {"new baud rate outside INIT", "%0101080700"},
        {"checksum on outside INIT", "%0101080640"},
        {"type the model does not have", "%0101200600"},
        {"per-channel type on a one-range model", "%0101FF0600"},
        {"baud code outside the table", "%01010B0B00"},
        {"data format 3", "%0101080603"},
        {"non-hex field", "%01010G0600"},
        {"short", "%01010806"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(AskAscii(bus, c.command, even), "?01\r") << c.what;
        EXPECT_EQ(AskAscii(bus, "$012", even), "!01080600\r") << c.what << " changed nothing";
    }
}

TEST_F(SimHearing, InitStateAnswersAtAddress00And9600AndTakesBaudAndChecksum)
{
    CSimModule& m = bus.Module(0);
    m.SetChecksum(true);
    m.SetBaud(19200);
    m.SetInit(true);
    const SSimLine init{9600, 0, 8};
    EXPECT_EQ(AskAscii(bus, "$01M", even), std::nullopt);
    EXPECT_EQ(AskAscii(bus, "$00M", init), "!006384\r") << "no checksum digits in INIT";
    EXPECT_EQ(AskAscii(bus, "$002", init), "!00080740\r") << "the configured rate and checksum";
    EXPECT_EQ(AskAscii(bus, "%0005080800", init), "!05\r");
    m.SetInit(false);
    EXPECT_EQ(m.Baud(), 38400u);
    EXPECT_FALSE(m.Checksum());
    EXPECT_EQ(AskAscii(bus, "$05M", {38400, 1, 8}), "!056384\r");
}

TEST_F(SimHearing, ModbusProbesReportTheModelNumber)
{
    EXPECT_EQ(AskRtu(bus, "020327100002", even), "02 03 04 63 84 00 00 97 5E");
    EXPECT_EQ(WithoutCrc(*AskRtu(bus, "020300D20002", even)), "02 03 04 63 84 00 00");
    bus.Module(1).SetProbeRegisters(kSimProbe00D2);
    EXPECT_EQ(WithoutCrc(*AskRtu(bus, "020327100002", even)), "02 83 02");
    EXPECT_EQ(WithoutCrc(*AskRtu(bus, "020300D20002", even)), "02 03 04 63 84 00 00");
}

TEST_F(SimHearing, ModbusExceptionsAndSilence)
{
    struct Case {
        const char* what;
        std::string_view request;
        std::optional<std::string> reply;
    } cases[] = {
        {"unknown register", "020301000001", "02 83 02"},
        {"read running into an unknown register", "020300060004", "02 83 02"},
        {"count 0", "020300000000", "02 83 03"},
        {"count above 125", "02030000007E", "02 83 03"},
        {"unknown function", "021000000001", "02 90 01"},
        {"write to a probe register", "020627100001", "02 86 02"},
        {"protocol value 2", "0206080D0002", "02 86 03"},
        {"slave address 0", "020608120000", "02 86 03"},
        {"short frame", "0203000000", "02 83 03"},
        {"other address", "030300000001", std::nullopt},
        {"broadcast", "000300000001", std::nullopt},
    };
    for (const Case& c : cases) {
        auto reply = AskRtu(bus, c.request, even);
        EXPECT_EQ(reply ? std::optional(WithoutCrc(*reply)) : std::nullopt, c.reply) << c.what;
    }
    std::string bad = SimAppendCrc(*SimBytesFromHex("020300000001"));
    bad.back() ^= 1;
    EXPECT_FALSE(bus.Exchange(ESimProtocol::Rtu, even, bad, 0)) << "bad CRC";
}

TEST_F(SimHearing, ABroadcastWriteIsCarriedOutUnanswered)
{
    EXPECT_FALSE(AskRtu(bus, "000600DC000F", even));
    EXPECT_EQ(WithoutCrc(*AskRtu(bus, "020300DC0001", even)), "02 03 02 00 0F");
}

TEST_F(SimHearing, CollidingRepliesGarbleEachOther)
{
    bus.Add("6387", 1, 9600).SetParity(1);
    auto reply = AskAscii(bus, "$012", even);
    ASSERT_TRUE(reply);
    EXPECT_NE(*reply, "!01080600\r");
    EXPECT_NE(*reply, "!01010600\r");
}

TEST(SimFaults, EachFaultChangesWhatGoesOnTheLine)
{
    CSimBus bus;
    CSimModule& m = bus.Add("6384", 1, 9600);
    m.Faults().nCutTo = 4;
    EXPECT_EQ(AskAscii(bus, "$01M"), "!016");
    m.Faults() = {};
    m.Faults().nLongTo = 250;
    auto longReply = AskAscii(bus, "$01M");
    EXPECT_EQ(longReply->size(), 251u);
    EXPECT_EQ(longReply->substr(0, 7), "!016384");
    EXPECT_EQ(longReply->back(), '\r');
    m.Faults() = {};
    m.Faults().nGarbage = 20;
    auto garbage = AskAscii(bus, "$01M");
    EXPECT_EQ(garbage->size(), 21u);
    EXPECT_EQ(garbage->find('\r'), 20u);
    m.Faults() = {};
    m.Faults().dwDelayMs = 300;
    EXPECT_EQ(bus.Exchange(ESimProtocol::Ascii, {}, "$01M", 0)->dwDelayMs, 300u);
    m.Faults() = {};
    m.Faults().nSilentAfter = 2;
    EXPECT_TRUE(AskAscii(bus, "$01M"));
    EXPECT_TRUE(AskAscii(bus, "$01M"));
    EXPECT_FALSE(AskAscii(bus, "$01M"));
    m.Faults() = {};
    m.Faults().bBlank = true;
    EXPECT_EQ(AskAscii(bus, "$01M"), "\r") << "the carriage return alone";
    CSimModule& rtu = bus.Add("6384", 2, 9600, ESimProtocol::Rtu);
    rtu.Faults().bBlank = true;
    EXPECT_EQ(AskRtu(bus, "020327100002"), "") << "an RTU reply is lost";
    m.Faults() = {};
    m.Faults().bHangUp = true;
    EXPECT_FALSE(bus.Exchange(ESimProtocol::Ascii, {}, "$02M", 0)) << "only its own requests";
    EXPECT_TRUE(bus.Exchange(ESimProtocol::Ascii, {}, "$01M", 0)->bHangUp);
}

TEST(SimFramer, CutsAsciiAndRtuRequestsAtSilence)
{
    CSimFramer framer;
    framer.Add("$01M\r#0");
    framer.Add("1\r$02");
    std::string dropped;
    auto requests = framer.Flush(&dropped);
    ASSERT_EQ(requests.size(), 2u);
    EXPECT_EQ(requests[0].strBytes, "$01M\r");
    EXPECT_EQ(requests[1].strBytes, "#01\r");
    EXPECT_EQ(requests[1].eProtocol, ESimProtocol::Ascii);
    EXPECT_EQ(dropped, "$02") << "a command without its CR is dropped at the silence";
    EXPECT_TRUE(framer.Empty());

    // An RTU frame to address 0x24 ("$") reading register 0x000D (a CR byte) is still one frame.
    std::string frame = SimAppendCrc(*SimBytesFromHex("2403000D0001"));
    framer.Add(frame);
    requests = framer.Flush();
    ASSERT_EQ(requests.size(), 1u);
    EXPECT_EQ(requests[0].eProtocol, ESimProtocol::Rtu);
    EXPECT_EQ(requests[0].strBytes, frame);
}

TEST(SimFramer, GapIsThreeAndAHalfCharacters)
{
    EXPECT_EQ(SimFrameGapMs(9600), 5);
    EXPECT_EQ(SimFrameGapMs(1200), 33);
    EXPECT_EQ(SimFrameGapMs(115200), 2);
}
