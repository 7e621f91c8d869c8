// From a search over a pseudo-terminal to an analog input slot's dialog: modsim serves a rack
// with a 1384 in slot 1, the program talks through the real libuart.so in real time.
#include "PollTimer.h"
#include "SearchedBus.h"
#include "rack/RackIds.h"

using namespace search_test;

TEST(AnalogSlotEndToEnd, ARacksAnalogSlotReadsItsConfigurationAlarmsAndValues)
{
    CSearchedBus bus("2333E 1 9600 ascii slots=FF,84\n");
    ASSERT_TRUE(bus.SearchBelow(2));
    ASSERT_EQ(bus.w.Rows().size(), 1u);

    std::string range, unit, highLimit, value;
    ui::CModalDriver driver([&](CDialog& dlg) {
        if (dlg.GetTemplateID() == static_cast<UINT>(IDD_RACK_MAIN)) {
            for (int i = 0; i < 6; ++i) dlg.FireTimer(kPollTimer);
            ASSERT_TRUE(ui::DoubleClickRow(dlg, rack_main::IDC_LIST, 0));
            return;
        }
        ASSERT_EQ(dlg.GetTemplateID(), static_cast<UINT>(IDD_RACK_AI));
        // Configuration, mask, the four alarm reads, then channel 0's value.
        for (int i = 0; i < 8; ++i) dlg.FireTimer(kPollTimer);
        range = dlg.GetDlgItemText(rack_ai::IDC_VOLTAGE_RANGE);
        unit = dlg.GetDlgItemText(rack_analog::kChannelIds[0].nUnit);
        highLimit = dlg.GetDlgItemText(rack_alarm::IDC_HIGH_LIMIT);
        value = dlg.GetDlgItemText(rack_analog::kChannelIds[0].nValue);
        ui::Click(dlg, rack_analog::IDC_CANCEL);
    });
    ASSERT_TRUE(ui::DoubleClickRow(bus.w.Dlg(), IDC_RESULT_LIST, 0));

    EXPECT_EQ(range, "+/- 10V");
    EXPECT_EQ(unit, "V");
    EXPECT_EQ(highLimit, "+080.00");
    EXPECT_EQ(value, "+000.00");
    EXPECT_NE(bus.sim.Log().find("req ascii \"$01S1C0RHU\\r\""), std::string::npos)
        << bus.sim.Log();
    EXPECT_NE(bus.sim.Log().find("rep ascii \">+000.00\\r\""), std::string::npos) << bus.sim.Log();
    EXPECT_TRUE(bus.w.boxes.Texts().empty());
}
