// The ASCII rack's analog input slots (1300, 1384, 1386) and speed input slot (1384H): known
// answers through the main unit.
#include "SimRackAnalog.h"
#include "SimTestUtil.h"

#include <gtest/gtest.h>

namespace {

struct Exchange {
    const char* request;
    const char* reply; // without CR
};

class SimRackAnalog : public ::testing::Test {
protected:
    SimRackAnalog()
    {
        bus.Load("2333E 0x50 9600 ascii slots=80,84,86,4H\n");
        rack = &bus.ModuleAs<CSimRack>(0);
    }
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
