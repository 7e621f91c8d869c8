// From a search over a pseudo-terminal to the rack main unit's dialog and one of its listed: modsim
// serves the rack, the program talks through the real libuart.so in real time.
#include "PollTimer.h"
#include "SearchedBus.h"
#include "rack/RackIds.h"

using namespace search_test;

TEST(RackEndToEnd, ASearchedRackListsItsSlotsAndADigitalSlotSwitchesAnOutput)
{
    CSearchedBus bus("2333E 1 9600 ascii slots=27,59\n");
    ASSERT_TRUE(bus.SearchBelow(2));
    ASSERT_EQ(bus.w.Rows().size(), 1u);
    EXPECT_EQ(bus.w.Row(0)[0], "1333E");

    std::vector<std::string> listed;
    auto lamp = [](CDialog& dlg, int channel) {
        return dlg.GetDlgItemAs<CStatic>(rack_dio::kOutputLampIds[channel])->GetIcon();
    };
    ui::CModalDriver driver([&](CDialog& dlg) {
        if (dlg.GetTemplateID() == static_cast<UINT>(IDD_RACK_MAIN)) {
            for (int i = 0; i < 6; ++i) dlg.FireTimer(kPollTimer);
            auto* list = dlg.GetDlgItemAs<CListCtrl>(rack_main::IDC_LIST);
            for (int i = 0; i < list->GetItemCount(); ++i)
                listed.push_back(list->GetItemText(i, 0) + "/" + list->GetItemText(i, 1));
            ASSERT_TRUE(ui::DoubleClickRow(dlg, rack_main::IDC_LIST, 0));
            return;
        }
        ASSERT_EQ(dlg.GetTemplateID(), static_cast<UINT>(IDD_RACK_DIO));
        for (int i = 0; i < 4; ++i) dlg.FireTimer(kPollTimer);
        EXPECT_EQ(lamp(dlg, 5), IDI_LAMP_OFF);
        ui::ClickAt(dlg, ui::CentreOf(dlg, rack_dio::kOutputLampIds[5]));
        for (int i = 0; i < 3; ++i) dlg.FireTimer(kPollTimer);
        EXPECT_EQ(lamp(dlg, 5), IDI_LAMP_ON);
    });
    ASSERT_TRUE(ui::DoubleClickRow(bus.w.Dlg(), IDC_RESULT_LIST, 0));

    EXPECT_EQ(listed, (std::vector<std::string>{"1327/0", "1359/1"}));
    EXPECT_NE(bus.sim.Log().find("req ascii \"#01S01501\\r\""), std::string::npos) << bus.sim.Log();
    // The module acknowledges the switch with ">" alone.
    EXPECT_NE(bus.sim.Log().find("rep ascii \">\\r\""), std::string::npos) << bus.sim.Log();
    EXPECT_TRUE(bus.w.boxes.Texts().empty());
}
