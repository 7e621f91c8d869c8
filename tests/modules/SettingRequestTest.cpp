// The configuration request and its outcome.
#include "SettingRequest.h"

#include <gtest/gtest.h>

namespace {

const SConfigurationFields kFields = {"1F", "20", "0F", "06", "4", "2"};

} // namespace

TEST(ConfigurationRequest, PercentTextAndTheTwoFormsOfTheModbusSwitch)
{
    EXPECT_EQ(ConfigurationText(kFields), "%1F200F0642");
    // The "$" form goes to the address the module answers to now, not the new one.
    EXPECT_EQ(ModbusSwitchText(kSwitchDollarR1, kFields), "$1FR1");
    EXPECT_EQ(ModbusSwitchText({false, "FF", "04"}, kFields), "%0020FF0604");
    EXPECT_EQ(ModbusSwitchText({false, "00", "80"}, kFields), "%00200006"
                                                              "80");
}

TEST(ConfigurationRequest, OutcomeNeverCallsARefusalASuccess)
{
    using O = ESettingOutcome;
    struct Case {
        bool acknowledged; // the last reply was the module's "!" to the setting
        bool refused;
        bool modbus;
        O want;
    } cases[] = {
        {true, false, false, O::Accepted},
        {true, false, true, O::Accepted},
        {false, true, false, O::Refused},
        {false, true, true, O::Refused},
        {false, false, false, O::Refused},
        {false, false, true, O::SwitchedToModbus},
        // A refused "%" stays refused whatever the repeated switch brought.
        {true, true, true, O::Refused},
        {false, true, true, O::Refused},
    };
    for (const Case& c : cases)
        EXPECT_EQ(SettingOutcome(c.acknowledged, c.refused, c.modbus), c.want)
            << c.acknowledged << " refused " << c.refused << " modbus " << c.modbus;
}

TEST(RtuSettingWrite, TheTwoWritesAndWhetherTheyMoveTheModule)
{
    EXPECT_EQ(RtuAddressWriteText("01", "32"), "010608120032");
    EXPECT_EQ(RtuAsciiSwitchText("0A", 0), "0A06080D0000");
    EXPECT_EQ(RtuAsciiSwitchText("01", 1), "0106080D0001");
    struct Case {
        const char* request;
        bool asciiSwitch;
        bool moves;
    } cases[] = {
        {"0106080D0001", true, true},   {"0A06080D0000", true, true},
        {"010608120032", false, true},  // to another address
        {"320608120032", false, false}, // to the address it has
        {"0106080E0001", false, false}, // another register
        {"0103080D0001", false, false}, // a read
        {"0106080D", false, false},     // cut short
    };
    for (const Case& c : cases) {
        EXPECT_EQ(IsRtuAsciiSwitch(c.request), c.asciiSwitch) << c.request;
        EXPECT_EQ(RtuSettingMovesModule(c.request), c.moves) << c.request;
    }
}
