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
