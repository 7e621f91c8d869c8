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
        const char* reply;
        bool refused;
        bool modbus;
        O want;
    } cases[] = {
        {"!20", false, false, O::Accepted},
        {"!20", false, true, O::Accepted},
        {"?1F", true, false, O::Refused},
        {"?1F", true, true, O::Refused},
        {"ERROR", false, false, O::Refused},
        {"ERROR", false, true, O::SwitchedToModbus},
        {"", false, true, O::SwitchedToModbus},
        // A refused "%" stays refused whatever the repeated switch brought.
        {"!20", true, true, O::Refused},
        {"", true, true, O::Refused},
    };
    for (const Case& c : cases)
        EXPECT_EQ(SettingOutcome(c.reply, c.refused, c.modbus), c.want)
            << c.reply << " refused " << c.refused << " modbus " << c.modbus;
}
