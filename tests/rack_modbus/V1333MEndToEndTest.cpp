// From a search over a pseudo-terminal to the Modbus rack window: modsim serves the rack, the
// program talks through the real libPortix_rtu.so in real time.
#include "Resource.h"
#include "SearchedBus.h"
#include "rack/RackModbusIds.h"
#include "rack/V1333M.h"
#include "rack/V1333RTUIO.h"
#include "rack/V1384HM.h"

using namespace search_test;

TEST(V1333MEndToEnd, TheSearchFindsTheModbusRackAndItsTabsShowLiveSlotPages)
{
    // The rack's own population: 1384H in slot 0, 1371 in slot 1.
    CSearchedBus bus("233E 1 9600 rtu\n");
    ASSERT_TRUE(bus.SearchBelow(2));
    ASSERT_EQ(bus.w.Rows().size(), 1u);
    EXPECT_EQ(bus.w.Row(0)[0], "1333E");
    EXPECT_EQ(bus.w.Row(0)[12], "RTU");

    std::string module, value, range;
    int lit = -1;
    ui::CModalDriver driver([&](CDialog& dlg) {
        ASSERT_EQ(dlg.GetTemplateID(), static_cast<UINT>(IDD_V1333M));
        auto& rack = static_cast<CV1333M&>(dlg);
        dlg.FireTimer(kPollTimer);
        ASSERT_TRUE(ui::SelectTab(dlg, IDC_RACK_TAB, 1));
        dlg.FireTimer(kPollTimer);
        module = dlg.GetDlgItemText(IDC_RACK_MODULE);
        CV1384HM* analog = rack.m_tab.m_pAnalogPage.get();
        ASSERT_NE(analog, nullptr);
        for (int i = 0; i < 4; ++i) analog->FireTimer(kPollTimer);
        value = analog->GetDlgItemText(kRackAiValueIds[1]);
        range = analog->GetDlgItemText(kRackAiRangeIds[1]);

        ASSERT_TRUE(ui::SelectTab(dlg, IDC_RACK_TAB, 2));
        CV1333RTUIO* digital = rack.m_tab.m_pDigitalPage.get();
        ASSERT_NE(digital, nullptr);
        for (int i = 0; i < 2; ++i) digital->FireTimer(kPollTimer);
        lit = 0;
        for (CButton& lamp : digital->m_btnChannel) lit += lamp.GetIcon() == IDI_DOT_SET;
    });
    ASSERT_TRUE(ui::DoubleClickRow(bus.w.Dlg(), IDC_RESULT_LIST, 0));

    EXPECT_TRUE(bus.w.boxes.m_boxes.empty()) << bus.w.boxes.m_boxes[0].text;
    EXPECT_EQ(module, "Vekt-1384H");
    EXPECT_EQ(range, "4~20mA");
    EXPECT_EQ(value, "12.000"); // raw 2048 of a 12-bit 4-20 mA channel
    EXPECT_EQ(lit, 3);          // coils 0, 8 and 10 of the relay module
}
