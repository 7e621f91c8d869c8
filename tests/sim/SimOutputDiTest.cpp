// The four-channel output module with digital inputs, in both protocols.
#include "SimOutputDi.h"
#include "SimTestUtil.h"

#include <gtest/gtest.h>

class SimOutputDiTest : public ::testing::Test {
protected:
    SimOutputDiTest() : m_module(static_cast<CSimOutputDi&>(m_bus.Add("9359", 7, 9600))) {}
    std::string Ask(const char* text) { return AskAscii(m_bus, text).value_or("(silent)"); }
    CSimBus m_bus;
    CSimOutputDi& m_module;
};

TEST_F(SimOutputDiTest, RangesOutputsStartupValuesAndInputsOverAscii)
{
    struct Case {
        const char* request;
        const char* reply;
    } cases[] = {
        {"$078C2", "!07C2R30\r"},   {"$077C2R32", "!07\r"},     {"$078C2", "!07C2R32\r"},
        {"$077C2R33", "?07\r"},     {"#07C2-05.000", ">\r"},    {"$076C2", "!07-05.000\r"},
        {"#07C1+25.000", "?07\r"},  {"#07C1+12.500", ">\r"},    {"$076C1", "!07+12.500\r"},
        {"#07SC0+04.000", "!07\r"}, {"$07DC0", "!07+04.000\r"}, {"$07DC4", "?07\r"},
        {"$07I", "!070\r"},
    };
    for (const Case& c : cases) EXPECT_EQ(Ask(c.request), c.reply) << c.request;
    m_module.SetDigitalInput(0, true);
    m_module.SetDigitalInput(3, true);
    EXPECT_EQ(Ask("$07I"), "!079\r");
}

TEST_F(SimOutputDiTest, RegistersCodesAndCoilsOverModbusAndTheSwitchToIt)
{
    EXPECT_EQ(Ask("%0707000680"), "!07\r"); // bit 7 of the format: Modbus RTU from now on
    EXPECT_EQ(Ask("$07I"), "(silent)");
    EXPECT_EQ(WithoutCrc(*AskRtu(m_bus, "070600000FFF")), "07 06 00 00 0F FF");
    EXPECT_DOUBLE_EQ(m_module.Output(0), 20.0);
    EXPECT_EQ(WithoutCrc(*AskRtu(m_bus, "070600C90031")), "07 06 00 C9 00 31");
    EXPECT_EQ(WithoutCrc(*AskRtu(m_bus, "070300C80004")), "07 03 08 00 30 00 31 00 30 00 30");
    EXPECT_EQ(WithoutCrc(*AskRtu(m_bus, "070300000002")), "07 03 04 0F FF 00 00");
    m_module.SetDigitalInput(1, true);
    EXPECT_EQ(WithoutCrc(*AskRtu(m_bus, "070100000004")), "07 01 01 02");
    EXPECT_EQ(WithoutCrc(*AskRtu(m_bus, "070600001000")), "07 86 03"); // above 4095
}
