// From a search over a pseudo-terminal to the six-channel RTD dialog and back: modsim serves the
// module, the program talks through the real libuart.so in real time.
#include "PollTimer.h"
#include "SearchedBus.h"
#include "rtd/RtdIds.h"

using namespace search_test;

TEST(M6382pEndToEnd, AListedRowOpensWithTheSearchedTypesPollsAndIsReconfigured)
{
    CSearchedBus bus("6382 1 9600 ascii types=20,21,22,2A,2B,2D\n");
    ASSERT_TRUE(bus.SearchBelow(2));
    ASSERT_EQ(bus.w.Rows().size(), 1u);
    ASSERT_EQ(bus.w.Row(0)[0], "4382");

    std::vector<int> typeRows;
    std::string reading;
    std::string respond;
    ui::CModalDriver driver([&](CDialog& dlg) {
        ASSERT_EQ(dlg.GetTemplateID(), static_cast<UINT>(IDD_M6382P));
        for (int ch = 0; ch < 6; ++ch)
            typeRows.push_back(dlg.GetDlgItemAs<CComboBox>(IDC_PC_TYPE0 + ch)->GetCurSel());
        for (int i = 0; i < 3; ++i) dlg.FireTimer(kPollTimer);
        reading = dlg.GetDlgItemText(IDC_PC_VALUE0 + 5);
        ui::ChooseRow(dlg, IDC_PC_TYPE0 + 1, 12); // "Ni 604 -80 to 100"
        dlg.FireTimer(kPollTimer);
        dlg.FireTimer(kPollTimer);
        respond = dlg.GetDlgItemText(IDC_PC_RESPOND);
        ui::Type(dlg, IDC_PC_ADDRESS, "5");
        ui::Click(dlg, IDC_PC_UPDATE);
        for (int i = 0; i < 3 && dlg.IsRunning(); ++i) dlg.FireTimer(kPollTimer);
    });
    ASSERT_TRUE(ui::DoubleClickRow(bus.w.Dlg(), IDC_RESULT_LIST, 0));

    EXPECT_EQ(typeRows, (std::vector<int>{0, 1, 2, 10, 11, 13}));
    ASSERT_FALSE(reading.empty());
    EXPECT_TRUE(reading[0] == '+' || reading[0] == '-') << reading;
    EXPECT_EQ(respond, "Change Successful");
    EXPECT_EQ(bus.w.boxes.Texts(), std::vector<std::string>{"Setting Configuration OK!"});
    ResultRow row = bus.w.Row(0);
    EXPECT_EQ(row[1], "05");
    EXPECT_EQ(row[7], "05");
    EXPECT_NE(bus.sim.Log().find("req ascii \"$017C1R2C\\r\""), std::string::npos) << bus.sim.Log();
    EXPECT_NE(bus.sim.Log().find("req ascii \"%0105FF0600\\r\""), std::string::npos)
        << bus.sim.Log();
    EXPECT_NE(bus.sim.Log().find("rep ascii \"!05\\r\""), std::string::npos) << bus.sim.Log();
}
