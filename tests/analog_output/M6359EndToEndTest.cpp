// From a search over a pseudo-terminal to the analog-output dialog: modsim serves a four-channel
// output module, the program talks through the real libuart.so in real time.
#include "PollTimer.h"
#include "SearchedBus.h"
#include "UiDriver.h"
#include "analog_output/AnalogOutputIds.h"

using namespace search_test;

TEST(M6359EndToEnd, ASliderReleaseReachesTheModulesOutput)
{
    CSearchedBus bus("6359 1 9600 ascii type=32 input0=2.5\n");
    ASSERT_TRUE(bus.SearchBelow(2));
    ASSERT_EQ(bus.w.Rows().size(), 1u);

    std::string readBack;
    ui::CModalDriver driver([&](CDialog& dlg) {
        ASSERT_EQ(dlg.GetTemplateID(), static_cast<UINT>(IDD_M6359));
        for (int i = 0; i < 4; ++i) dlg.FireTimer(kPollTimer);
        readBack = dlg.GetDlgItemText(kAoChannels[0].nReadBack);
        ASSERT_TRUE(ui::DragSlider(dlg, kAoChannels[0].nSlider, 7250));
        for (int i = 0; i < 3; ++i) dlg.FireTimer(kPollTimer);
    });
    ASSERT_TRUE(ui::DoubleClickRow(bus.w.Dlg(), IDC_RESULT_LIST, 0));

    EXPECT_EQ(readBack, "+02.500");
    EXPECT_NE(bus.sim.Log().find("req ascii \"#010+07.250\\r\""), std::string::npos)
        << bus.sim.Log();
    EXPECT_NE(bus.sim.Log().find("rep ascii \">\\r\""), std::string::npos) << bus.sim.Log();
    // The module now reports the output it was given.
    EXPECT_NE(bus.sim.Log().find("rep ascii \"!01+07.250\\r\""), std::string::npos)
        << bus.sim.Log();
}
