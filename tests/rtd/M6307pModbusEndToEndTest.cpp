// From a search over a pseudo-terminal to the RTD dialog over Modbus RTU and back: modsim serves
// the module, the program talks through the real link libraries in real time. The re-addressed
// row opens the dialog at the new address.
#include "PerChannelIds.h"
#include "PollTimer.h"
#include "SearchedBus.h"
#include "rtd/RtdIds.h"

using namespace search_test;

TEST(M6307pModbusEndToEnd, ASearchedModuleIsReadReaddressedAndReopenedFromItsRow)
{
    CSearchedBus bus("6307 1 9600 rtu type=2D input0=-200\n");
    ASSERT_TRUE(bus.SearchBelow(2));
    CSearchWindow& w = bus.w;
    CQueryDlg& search = w.Dlg();
    ASSERT_EQ(w.Rows().size(), 1u);
    ASSERT_EQ(w.Row(0)[0], "4307"); // the name the search lists the model by over Modbus RTU

    std::string range;
    std::string reading;
    {
        ui::CModalDriver driver([&](CDialog& dlg) {
            ASSERT_EQ(dlg.GetTemplateID(), static_cast<UINT>(IDD_M6307P_MODBUS));
            for (int i = 0; i < 2; ++i) dlg.FireTimer(kPollTimer);
            range = dlg.GetDlgItemText(IDC_RTDM_RANGE);
            reading = dlg.GetDlgItemText(kRtdmValueIds[0]);
            ui::Type(dlg, IDC_PC_ADDRESS, "5");
            ui::Click(dlg, IDC_PC_UPDATE);
            for (int i = 0; i < 3 && dlg.IsRunning(); ++i) dlg.FireTimer(kPollTimer);
        });
        ASSERT_TRUE(ui::DoubleClickRow(search, IDC_RESULT_LIST, 0));
    }
    EXPECT_EQ(range, "BA1 -200-650C");
    EXPECT_EQ(reading, "-200.000000");
    EXPECT_EQ(w.boxes.Texts(), std::vector<std::string>{"Setting Configuration OK!"});
    ResultRow row = w.Row(0);
    EXPECT_EQ(row[1], "05");
    EXPECT_EQ(row[7], "05");

    std::string again;
    {
        ui::CModalDriver driver([&](CDialog& dlg) {
            EXPECT_EQ(dlg.GetDlgItemText(IDC_PC_ADDRESS), "5");
            for (int i = 0; i < 2; ++i) dlg.FireTimer(kPollTimer);
            again = dlg.GetDlgItemText(kRtdmValueIds[0]);
            dlg.EndDialog(IDCANCEL);
        });
        ASSERT_TRUE(ui::DoubleClickRow(search, IDC_RESULT_LIST, 0));
    }
    EXPECT_EQ(again, "-200.000000");
    EXPECT_NE(bus.sim.Log().find("req rtu"), std::string::npos) << bus.sim.Log();
}
