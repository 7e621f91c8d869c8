// From a search over a pseudo-terminal to the analog-input dialog and back: modsim serves the
// module, the program talks through the real libuart.so in real time.
#include "PollTimer.h"
#include "SearchedBus.h"
#include "analog_input/AnalogInputIds.h"

using namespace search_test;

TEST(M6384EndToEnd, ASearchedModuleOpensLiveAndIsReconfiguredFromItsRow)
{
    CSearchedBus bus("6384 1 9600 ascii type=08 format=00\n");
    ASSERT_TRUE(bus.SearchBelow(2));
    ASSERT_EQ(bus.w.Rows().size(), 1u);

    std::string reading;
    ui::CModalDriver driver([&](CDialog& dlg) {
        ASSERT_EQ(dlg.GetTemplateID(), static_cast<UINT>(IDD_M6384));
        for (int i = 0; i < 4; ++i) dlg.FireTimer(kPollTimer);
        reading = dlg.GetDlgItemText(kAiValueIds[0]);
        ui::Type(dlg, IDC_AI_ADDRESS, "5");
        ui::ChooseRow(dlg, IDC_AI_RANGE, 1); // -5 to +5V
        ui::Click(dlg, IDC_AI_SETTING);
        for (int i = 0; i < 2 && dlg.IsRunning(); ++i) dlg.FireTimer(kPollTimer);
    });
    ASSERT_TRUE(ui::DoubleClickRow(bus.w.Dlg(), IDC_RESULT_LIST, 0));

    ASSERT_FALSE(reading.empty());
    EXPECT_TRUE(reading[0] == '+' || reading[0] == '-') << reading;
    EXPECT_EQ(bus.w.boxes.Texts(), std::vector<std::string>{"Setting Configuration OK!"});
    ResultRow row = bus.w.Row(0);
    EXPECT_EQ(row[1], "05");
    EXPECT_EQ(row[5], "-5 to +5V");
    EXPECT_EQ(row[7], "05");
    EXPECT_EQ(row[10], "09");
    EXPECT_NE(bus.sim.Log().find("req ascii \"%0105090600\\r\""), std::string::npos)
        << bus.sim.Log();
    EXPECT_NE(bus.sim.Log().find("rep ascii \"!05\\r\""), std::string::npos) << bus.sim.Log();
}
