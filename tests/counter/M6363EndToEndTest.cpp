// From a search over a pseudo-terminal to the counter dialog: modsim serves a counter, the
// program talks through the real libuart.so in real time.
#include "Modsim.h"
#include "PtyPair.h"
#include "SearchWindow.h"
#include "counter_power/CounterPowerIds.h"

using namespace search_test;

TEST(M6363EndToEnd, ASearchedCounterOpensReadsItsSettingsAndSwitchesAnOutput)
{
    CModsim sim("6363 3 9600 ascii\n", OSTRA_BIN_DIR);
    ASSERT_FALSE(sim.Slave().empty());
    CScopedComPort com(1, sim.Slave());
    CSearchWindow w(SettingsText('0', "00010000", '0', '0')); // COM1, 9600, 50 ms
    ASSERT_TRUE(w.SearchBelow(4));
    ASSERT_EQ(w.Rows().size(), 1u);
    EXPECT_EQ(w.Row(0)[0], "4363");

    std::string gate;
    ui::CModalDriver driver([&](CDialog& dlg) {
        ASSERT_EQ(dlg.GetTemplateID(), static_cast<UINT>(IDD_M6363));
        for (int i = 0; i < 14; ++i) dlg.FireTimer(1000);
        gate = dlg.GetDlgItemText(IDC_CNT_GATE);
        ui::ClickAt(dlg, ui::CentreOf(dlg, IDC_CNT_LAMP1));
        for (int i = 0; i < 2; ++i) dlg.FireTimer(1000);
        ui::Click(dlg, IDCANCEL);
    });
    ASSERT_TRUE(ui::DoubleClickRow(w.Dlg(), IDC_RESULT_LIST, 0));
    EXPECT_EQ(gate, "None");
    EXPECT_NE(sim.Log().find("req ascii \"@03DO02\\r\""), std::string::npos) << sim.Log();
    EXPECT_NE(sim.Log().find("rep ascii \"!03\\r\""), std::string::npos) << sim.Log();
}
