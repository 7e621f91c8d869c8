// From a search over a pseudo-terminal to the digital I/O dialog: modsim serves the module, the
// program talks through the real libuart.so in real time. A click on an output lamp switches the
// module's output, and the lamp follows once the module reports it.
#include "PollTimer.h"
#include "Resource.h"
#include "SearchedBus.h"
#include "digital_io/DigitalIoIds.h"
#include "digital_io/DioModel.h"

using namespace search_test;

TEST(M6373EndToEnd, ALampClickSwitchesTheModulesOutputAndTheLampFollows)
{
    CSearchedBus bus("6373 1 9600 ascii input1=1\n");
    ASSERT_TRUE(bus.SearchBelow(2));
    ASSERT_EQ(bus.w.Rows().size(), 1u);

    auto icon = [](CDialog& dlg, int id) { return dlg.GetDlgItemAs<CStatic>(id)->GetIcon(); };
    HICON before = 0;
    HICON after = 0;
    HICON input = 0;
    ui::CModalDriver driver([&](CDialog& dlg) {
        ASSERT_EQ(dlg.GetTemplateID(), static_cast<UINT>(IDD_M6373));
        dlg.FireTimer(kPollTimer); // the status read at opening
        before = icon(dlg, DioChannelControls[2].nDoLamp);
        input = icon(dlg, DioChannelControls[1].nDiLamp);
        ui::ClickAt(dlg, ui::CentreOf(dlg, DioChannelControls[2].nDoLamp));
        for (int i = 0; i < 8 && icon(dlg, DioChannelControls[2].nDoLamp) != IDI_LAMP_ON; ++i)
            dlg.FireTimer(kPollTimer);
        after = icon(dlg, DioChannelControls[2].nDoLamp);
    });
    ASSERT_TRUE(ui::DoubleClickRow(bus.w.Dlg(), IDC_RESULT_LIST, 0));

    EXPECT_EQ(before, IDI_LAMP_OFF);
    EXPECT_EQ(input, IDI_LAMP_ON);
    EXPECT_EQ(after, IDI_LAMP_ON);
    EXPECT_NE(bus.sim.Log().find("req ascii \"@014\\r\""), std::string::npos) << bus.sim.Log();
    EXPECT_NE(bus.sim.Log().find("rep ascii \"!040200\\r\""), std::string::npos) << bus.sim.Log();
}
