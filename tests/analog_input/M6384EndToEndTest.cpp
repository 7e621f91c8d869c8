// From a search over a pseudo-terminal to the analog-input dialog and back: modsim serves the
// module, the program talks through the real libuart.so in real time.
#include "Modsim.h"
#include "PtyPair.h"
#include "SearchWindow.h"
#include "analog_input/AnalogInputIds.h"

using namespace search_test;

TEST(M6384EndToEnd, ASearchedModuleOpensLiveAndIsReconfiguredFromItsRow)
{
    CModsim sim("6384 1 9600 ascii type=08 format=00\n", OSTRA_BIN_DIR);
    ASSERT_FALSE(sim.Slave().empty());
    CScopedComPort com(1, sim.Slave());
    CSearchWindow w(SettingsText('0', "00010000", '0', '0')); // COM1, 9600, 50 ms
    CQueryDlg& search = w.Dlg();

    ASSERT_TRUE(w.SearchBelow(2));
    ASSERT_EQ(w.Rows().size(), 1u);

    std::string reading;
    ui::CModalDriver driver([&](CDialog& dlg) {
        ASSERT_EQ(dlg.GetTemplateID(), static_cast<UINT>(IDD_M6384));
        for (int i = 0; i < 4; ++i) dlg.FireTimer(1000);
        reading = dlg.GetDlgItemText(kAiValueIds[0]);
        ui::Type(dlg, IDC_AI_ADDRESS, "5");
        ui::ChooseRow(dlg, IDC_AI_RANGE, 1); // -5 to +5V
        ui::Click(dlg, IDC_AI_SETTING);
        for (int i = 0; i < 2 && dlg.IsRunning(); ++i) dlg.FireTimer(1000);
    });
    ASSERT_TRUE(ui::DoubleClickRow(search, IDC_RESULT_LIST, 0));

    ASSERT_FALSE(reading.empty());
    EXPECT_TRUE(reading[0] == '+' || reading[0] == '-') << reading;
    EXPECT_EQ(w.boxes.Texts(), std::vector<std::string>{"Setting Configuration OK!"});
    ResultRow row = w.Row(0);
    EXPECT_EQ(row[1], "05");
    EXPECT_EQ(row[5], "-5 to +5V");
    EXPECT_EQ(row[7], "05");
    EXPECT_EQ(row[10], "09");
    EXPECT_NE(sim.Log().find("req ascii \"%0105090600\\r\""), std::string::npos) << sim.Log();
    EXPECT_NE(sim.Log().find("rep ascii \"!05\\r\""), std::string::npos) << sim.Log();
}
