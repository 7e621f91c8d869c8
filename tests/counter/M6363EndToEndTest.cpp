// From a search over a pseudo-terminal to the counter dialog: modsim serves a counter, the
// program talks through the real libuart.so in real time.
#include "PollTimer.h"
#include "SearchedBus.h"
#include "counter_power/CounterPowerIds.h"

using namespace search_test;

TEST(M6363EndToEnd, ASearchedCounterOpensReadsItsSettingsAndSwitchesAnOutput)
{
    CSearchedBus bus("6363 3 9600 ascii\n");
    ASSERT_TRUE(bus.SearchBelow(4));
    ASSERT_EQ(bus.w.Rows().size(), 1u);
    EXPECT_EQ(bus.w.Row(0)[0], "4363");

    std::string gate;
    ui::CModalDriver driver([&](CDialog& dlg) {
        ASSERT_EQ(dlg.GetTemplateID(), static_cast<UINT>(IDD_M6363));
        for (int i = 0; i < 14; ++i) dlg.FireTimer(kPollTimer);
        gate = dlg.GetDlgItemText(IDC_CNT_GATE);
        ui::ClickAt(dlg, ui::CentreOf(dlg, IDC_CNT_LAMP1));
        for (int i = 0; i < 2; ++i) dlg.FireTimer(kPollTimer);
        ui::Click(dlg, IDCANCEL);
    });
    ASSERT_TRUE(ui::DoubleClickRow(bus.w.Dlg(), IDC_RESULT_LIST, 0));
    EXPECT_EQ(gate, "None");
    EXPECT_NE(bus.sim.Log().find("req ascii \"@03DO02\\r\""), std::string::npos) << bus.sim.Log();
    EXPECT_NE(bus.sim.Log().find("rep ascii \"!03\\r\""), std::string::npos) << bus.sim.Log();
}
