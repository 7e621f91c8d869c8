// The configuration request, its outcome and what it writes back.
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

TEST(ConfigurationRequest, ListWithoutARowKeepsTheModulesCodeOrRefuses)
{
    const CodeTable table = {"20", "21", "2B"};
    struct Case {
        int row;
        const char* current;
        size_t digits;
        std::optional<std::string> want;
    } cases[] = {
        {2, "21", 2, "2B"}, {-1, "21", 2, "21"}, {-1, "26", 2, "26"},
        {3, "21", 2, "21"}, {-1, "", 2, {}},     {-1, "2", 2, {}},
        {-1, "0f", 2, {}},  {-1, "2G", 2, {}},   {-1, "215", 2, {}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ChosenCode(table, c.row, c.current, c.digits), c.want)
            << "row " << c.row << " current " << c.current;
    const CodeTable formats = {"0", "1", "2"};
    EXPECT_EQ(ChosenCode(formats, -1, "3", 1), "3");
    EXPECT_EQ(ChosenCode(formats, -1, "", 1), std::nullopt);
    EXPECT_EQ(SelectListText("Range"), "Select the Range!");
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

TEST(ConfigurationRequest, WriteBackCarriesWhatTheRequestSaid)
{
    SSettingWriteBack back =
        ConfigurationWriteBack(kFields, "6386", "9600", "Enable", std::nullopt);
    EXPECT_EQ(back.row, (WriteBackTexts{"6386", "20", "9600", "Enable", std::nullopt}));
    EXPECT_EQ(back.params, (WriteBackTexts{"20", "06", "4", "0F", "2"}));
}
