// The counter/frequency module as the counter dialog sees it.
#include "SimCounter.h"
#include "SimTestUtil.h"

#include <gtest/gtest.h>

class SimCounterTest : public ::testing::Test {
protected:
    SimCounterTest() : m_module(static_cast<CSimCounter&>(m_bus.Add("6363", 2, 9600))) {}
    std::string Ask(const char* text, DWORD now = 0)
    {
        return AskAscii(m_bus, text, {}, now).value_or("(silent)");
    }
    CSimBus m_bus;
    CSimCounter& m_module;
};

TEST_F(SimCounterTest, SettingsReadBackAsTheyWereWritten)
{
    struct Case {
        const char* write;
        const char* read;
        const char* reply;
    } cases[] = {
        {"$02B2", "$02B", "!022\r"},
        {"$02A1", "$02A", "!021\r"},
        {"@02P00000ABCD", "@02G0", "!020000ABCD\r"},
        {"@02P100000010", "@02G1", "!0200000010\r"},
        {"$02300000FFFF", "$0230", "!020000FFFF\r"},
        {"$023100001000", "$0231", "!0200001000\r"},
        {"~02A1", "~02B", "!021\r"},
        {"@02PA00000100", "@02RP", "!0200000100\r"},
        {"@02SA00000200", "@02RA", "!0200000200\r"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.write);
        EXPECT_EQ(Ask(c.write), "!02\r");
        EXPECT_EQ(Ask(c.read), c.reply);
    }
}

TEST_F(SimCounterTest, BadValuesAndDigitsAreRefused)
{
    for (const char* text : {"$02B4", "$02A3", "@02P0123", "@02P0-0000001", "@02P0fffffff0",
                             "~02A2", "@02DO04", "$02309"}) {
        SCOPED_TRACE(text);
        EXPECT_EQ(Ask(text), "?02\r");
    }
}

TEST_F(SimCounterTest, CountsAdvanceWithTimeClearAndStopAtTheMaximum)
{
    m_module.SetInput(0, 100.0);
    EXPECT_EQ(Ask("#020", 0), ">00000000\r");
    EXPECT_EQ(Ask("#020", 2000), ">000000C8\r");
    EXPECT_EQ(Ask("$0260", 2000), "!02\r");
    EXPECT_EQ(Ask("#020", 2500), ">00000032\r");
    EXPECT_EQ(Ask("$02300000003C", 2500), "!02\r");
    EXPECT_EQ(Ask("#020", 9000), ">0000003C\r");
    EXPECT_EQ(Ask("#021", 9000), ">00000000\r");
}

TEST_F(SimCounterTest, OutputsAlarmsAndTheConfiguration)
{
    EXPECT_EQ(Ask("@02DO03"), "!02\r");
    EXPECT_EQ(m_module.Outputs(), 3);
    EXPECT_EQ(Ask("@02EA1"), "!02\r");
    EXPECT_EQ(Ask("@02DI"), "!0220300\r"); // ModeA: the enables, then the outputs at position 5
    EXPECT_EQ(Ask("~02A1"), "!02\r");
    EXPECT_EQ(Ask("@02EAL"), "!02\r");
    EXPECT_EQ(Ask("@02DI"), "!0220300\r"); // ModeB: latch
    // Frequency type, 1.0 s gate: the count reads the rate.
    EXPECT_EQ(Ask("%0203510604"), "!03\r");
    m_module.SetInput(1, 250.0);
    EXPECT_EQ(Ask("#031"), ">000000FA\r");
    EXPECT_EQ(Ask("%0303500608"), "?03\r"); // no such data format
}
