// The ASCII rack main unit and its digital, analog-output, analog-input and speed-input slots, as
// the rack dialogs see them.
#include "SimRack.h"
#include "SimRackAnalog.h"
#include "SimTestUtil.h"

#include <gtest/gtest.h>

namespace {

struct Exchange {
    const char* request;
    const char* reply; // without CR; "(silent)" when nothing comes
};

// A rack at 0x50 with a 1327 in slot 0, a 1359 in slot 1, a 1323 in slot 2, a 1371 in slot 3,
// a 1328 in slot 4, a 1325 in slot 5, a 1313 in slot 6 and slot 7 empty.
class SimRack : public ::testing::Test {
protected:
    SimRack()
    {
        bus.Load("2333E 0x50 9600 ascii slots=27,59,23,71,28,25,13,FF\n");
        rack = &bus.ModuleAs<CSimRack>(0);
    }
    // Each request in turn, known answers in order (state carries from row to row).
    void Expect(std::initializer_list<Exchange> rows)
    {
        for (const Exchange& row : rows) {
            auto reply = AskAscii(bus, row.request);
            std::string got = reply ? reply->substr(0, reply->size() - 1) : "(silent)";
            EXPECT_EQ(got, row.reply) << row.request;
        }
    }

    CSimBus bus;
    CSimRack* rack = nullptr;
};

} // namespace

TEST_F(SimRack, MainUnitReadsItsTableSettingsAndWatchdog)
{
    Expect({
        {"$50M", "!502333E"},
        {"$502", "!5000000"},
        {"$50T", "!5027592371282513FF"},
        {"$50OU", ">5000C"},
        {"#50OU04C", "!50"},
        {"$50OU", ">5004C"},
        {"#50OU01C", "?50"},
        {"$50XR", "!50010"},
        {"$50X25", "!50"},
        {"$50XR", "!50025"},
        {"$50X", "?50"},
        {"$50X1A", "?50"},
        {"$50XER", "!5000"},
        {"$50XEW81", "!50"},
        {"$50XER", "!5081"},
        {"$50XEW8", "?50"},
        {"$51T", "(silent)"},
    });
    EXPECT_EQ(rack->WatchdogEnables(), 0x81);
}

TEST_F(SimRack, ConfigurationTakesProtocolAndRefusesBaudOrChecksumOutsideInit)
{
    Expect({
        {"%50000604", "!50"}, // Modbus protocol digit
        {"$502", "!5000040"},
        {"%50000640", "?50"}, // checksum on needs INIT*
        {"%50000700", "?50"}, // new baud rate too
        {"%50000614", "?50"}, // no such protocol digit
    });
    rack->SetInit(true);
    Expect({{"%00000740", "!00"}});
    EXPECT_EQ(rack->Baud(), 19200u);
    EXPECT_TRUE(rack->Checksum());
}

TEST_F(SimRack, ChecksumFramesRequestsAndReplies)
{
    rack->SetChecksum(true);
    Expect({
        {"$50T", "(silent)"}, // no checksum digits
        {"$50TDD", "!5027592371282513FFEB"},
        {"$50S0642", "!50000046"},
        {"#50S01F01E3", ">3E"}, // a slot's ">" alone, with its own digits
    });
}

TEST_F(SimRack, DigitalSlotsReportAndSwitchByModel)
{
    auto& dio1323 = rack->SlotAs<CSimDigitalSlot>(2);
    dio1323.SetDirections(0x0005); // channels 0 and 2 inputs
    dio1323.SetInputs(0xFFFF);
    rack->SlotAs<CSimDigitalSlot>(4).SetInputs(0x8001);
    rack->SlotAs<CSimDigitalSlot>(5).SetInputs(0xFFFF);
    Expect({
        {"$50S0M", "!501327"}, {"#50S01F01", ">"},
        {"#50S01001", ">"},    {"$50S06", "!508001"},
        {"#50S01F00", ">"},    {"$50S06", "!500001"},
        {"#50S01F02", "?50"},  {"$50S07", "?50"},  // direction read: 1323 only
        {"$50S27", "!500005"}, {"#50S21101", ">"}, // channel 1 is an output
        {"#50S21001", "?50"},                      // channel 0 is an input
        {"$50S26", "!500007"}, {"#50S31701", ">"},
        {"#50S31801", "?50"}, // the 1371 has eight relays
        {"$50S36", "!508000"}, {"$50S46", "!508001"},
        {"#50S41001", "?50"}, // inputs only
        {"$50S56", "!5000FF"}, {"#50S51001", "?50"},
        {"$50S66", "?50"}, // a slot model without commands here
        {"$50S76", "?50"}, // the empty slot
        {"$50S86", "?50"},     {"$50S", "?50"},
    });
}

TEST_F(SimRack, SlotWatchdogPatternsBelongToDigitalSlots)
{
    Expect({
        {"$50XS0", "!500000"},
        {"$50XS0DA05F", "!50"},
        {"$50XS0", "!50A05F"},
        {"$50XS0D12", "?50"},
        {"$50XS1", "?50"}, // the 1359 keeps none
        {"$50XS7", "?50"},
        {"$50XS", "?50"},
    });
    EXPECT_EQ(rack->Slot(0)->WatchdogPattern(), 0xA05F);
}

TEST_F(SimRack, AnalogOutputSlotConfiguresDrivesAndTrims)
{
    Expect({
        {"$50S1C0B", "!503100"},
        {"$50S1C06", "!5004.000"},
        {"#50S1C012.5", ">"},
        {"$50S1C06", "!5012.500"},
        {"#50S1C003.000", "?50"}, // below 4 mA on 4 ~ 20 mA
        {"$50S1C2A3208", "!50"},
        {"$50S1C2B", "!503208"},
        {"#50S1C210.500", "?50"},
        {"#50S1C210.000", ">"},
        {"$50S1C2A3309", "?50"}, // range digit 3 and a slew not a multiple of 4
        {"$50S1C24", "!50"},
        {"$50S1C030A", "!50"},
        {"$50S1C03FF", "!50"},
        {"$50S1C00", "!50"},
        {"$50S1C4B", "?50"},
        {"$50S1X0B", "?50"},
    });
    auto& ao = rack->SlotAs<CSimAnalogOutputSlot>(1);
    EXPECT_EQ(ao.Channel(0).nTrim4mA, 9);
    EXPECT_EQ(ao.Channel(0).nTrimSteps, 0);
    EXPECT_DOUBLE_EQ(ao.Channel(2).dStartup, 10.0);
}

TEST_F(SimRack, BusFileRefusesBadSlotCodes)
{
    CSimBus other;
    EXPECT_THROW(other.Load("2333E 1 9600 ascii slots=27,5\n"), std::runtime_error);
    EXPECT_THROW(other.Load("2333E 1 9600 ascii slots=27,27,27,27,27,27,27,27,27\n"),
                 std::runtime_error);
    EXPECT_THROW(other.Load("6384 1 9600 ascii slots=27\n"), std::runtime_error);
}

namespace {

// The analog input slots 1300, 1384, 1386 and the speed input slot 1384H in slots 0 to 3.
class SimRackAnalog : public SimRack {
protected:
    SimRackAnalog() { rack->SetOption("slots", "80,84,86,4H"); }
};

} // namespace

TEST_F(SimRackAnalog, InputSlotsConfigureByModel)
{
    Expect({
        {"$50T", "!508084864HFFFFFFFF"},
        {"$50S0B", "!502000"},
        {"$50S0A2383", "!50"},
        {"$50S0B", "!502383"},
        {"$50S0A0800", "?50"}, // a 1384 range on the 1300
        {"$50S1A0803", "?50"}, // only the 1300 has the Ohms format
        {"$50S1A0D80", "!50"},
        {"$50S1B", "!500D80"},
        {"$50S2B", "!500F00"},
        {"$50S2A1400", "!50"},
        {"$50S2A1500", "?50"},
        {"$50S2A14", "?50"},
    });
    rack->SlotAs<CSimAnalogInputSlot>(0).bLocked = true;
    Expect({{"$50S0A2000", "?50"}});
}

TEST_F(SimRackAnalog, MaskValuesAndChannelsByModel)
{
    auto& rtd = rack->SlotAs<CSimAnalogInputSlot>(0);
    rtd.Channel(2).dValue = 23.456;
    Expect({
        {"$50S06", "!50FF"},
        {"$50S0503", "!50"},
        {"$50S06", "!5003"},
        {"$50S05", "?50"},
        {"$50S050G", "?50"},
        {"#50S0C2", ">+023.46"},
        {"#50S0C3", "?50"}, // three channels
        {"#50S2C6", ">+000.00"},
        {"#50S2C7", "?50"}, // seven channels
        {"#50S1C7", ">+000.00"},
        {"#50S3C1", ">+000.000"},
    });
    EXPECT_EQ(rtd.EnableMask(), 0x03);
}

TEST_F(SimRackAnalog, AlarmsTypesLimitsStatusAndLatches)
{
    auto& slot = rack->SlotAs<CSimAnalogInputSlot>(1);
    slot.Channel(0).dValue = 90.0;
    Expect({
        {"$50S1C0AH", "!50M"},
        {"$50S1C0RHU", "!50+080.00"},
        {"$50S1C0RLU", "!50-020.00"},
        {"$50S1C0S", "!5010"},
        {"$50S1C0AHL", "!50"},
        {"$50S1C0AHU85.5", "!50"},
        {"$50S1C0RHU", "!50+085.50"},
        {"$50S1C0AHUabc", "?50"},
        {"$50S1C0S", "!5010"},
    });
    slot.Channel(0).dValue = 0.0;
    Expect({
        {"$50S1C0S", "!5010"}, // latched
        {"$50S1C0CH", "!50"},
        {"$50S1C0S", "!5000"},
        {"$50S1C0ALED", "!50"},
        {"$50S1C0AL", "!50D"},
        {"$50S1C0ALM", "?50"}, // enable a disabled alarm first
        {"$50S1C0ALEE", "!50"},
        {"$50S1C0ALM", "!50"},
        {"$50S1C0AL", "!50M"},
        {"$50S1C0AX", "?50"},
    });
    slot.refused.insert("C0CL");
    Expect({{"$50S1C0CL", "?50"}});
}

TEST_F(SimRackAnalog, SpeedSlotFormatAndRanges)
{
    Expect({
        {"$50S3B", "!50FF00"},
        {"$50S3AFF02", "!50"},
        {"$50S3B", "!50FF02"},
        {"$50S3AFF03", "?50"},
        {"$50S3C5B", "!5000"},
        {"$50S3C5A0BFF", "!50"},
        {"$50S3C5B", "!500B"},
        {"$50S3C5A0CFF", "?50"},
        {"$50S3C9B", "?50"},
        {"$50S3C7AH", "!50M"},
    });
}

// A rack that refuses settings refuses its configuration, its watchdog writes and its slots'
// configuration writes, and still answers reads and the other writes.
TEST_F(SimRack, ARackThatRefusesSettingsRefusesEverySettingWrite)
{
    rack->Faults().bRefuseSettings = true;
    Expect({
        {"%5000060000", "?50"},
        {"$50X25", "?50"},
        {"$50XEW81", "?50"},
        {"$50XS0D00FF", "?50"},
        {"$50S1C0A3100", "?50"},
        {"$50XR", "!50010"},
        {"$50S1C0B", "!503100"},
        {"$50S0M", "!501327"},
    });
}
