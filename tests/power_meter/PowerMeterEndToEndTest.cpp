// From a search over a pseudo-terminal to both power-meter dialogs: modsim serves a 6539 in ASCII
// and a 6530 in Modbus RTU, the program talks through the real link libraries in real time.
#include "PollTimer.h"
#include "SearchedBus.h"
#include "counter_power/CounterPowerIds.h"

using namespace search_test;

TEST(PowerMeterEndToEnd, SearchedMetersShowTheirReadingsInBothProtocols)
{
    CSearchedBus bus("6539 1 9600 ascii input0=230.06\n6530 2 9600 rtu input3=0.5\n");
    ASSERT_TRUE(bus.SearchBelow(3));
    ASSERT_EQ(bus.w.Rows().size(), 2u);
    EXPECT_EQ(bus.w.Row(0)[0], "4539");
    EXPECT_EQ(bus.w.Row(1)[0], "4530");

    struct Seen {
        UINT nTemplate = 0;
        std::string strV1, strI1, strF, strEpi;
    };
    auto readAfter = [](int ticks, Seen& seen) {
        return [ticks, &seen](CDialog& dlg) {
            seen.nTemplate = dlg.GetTemplateID();
            for (int i = 0; i < ticks; ++i) dlg.FireTimer(kPollTimer);
            seen.strV1 = dlg.GetDlgItemText(IDC_PM_V1);
            seen.strI1 = dlg.GetDlgItemText(IDC_PM_I1);
            seen.strF = dlg.GetDlgItemText(IDC_PM_F);
            seen.strEpi = dlg.GetDlgItemText(IDC_PM_EPI);
        };
    };
    Seen ascii, rtu;
    {
        ui::CModalDriver driver(readAfter(6, ascii));
        ASSERT_TRUE(ui::DoubleClickRow(bus.w.Dlg(), IDC_RESULT_LIST, 0));
    }
    {
        ui::CModalDriver driver(readAfter(6, rtu));
        ASSERT_TRUE(ui::DoubleClickRow(bus.w.Dlg(), IDC_RESULT_LIST, 1));
    }
    EXPECT_EQ(ascii.nTemplate, static_cast<UINT>(IDD_M63508));
    EXPECT_EQ(ascii.strV1, "230.060");
    EXPECT_EQ(ascii.strF, "50.000");
    EXPECT_EQ(ascii.strEpi, "1234.568");
    EXPECT_EQ(rtu.nTemplate, static_cast<UINT>(IDD_M6530RTU));
    EXPECT_EQ(rtu.strI1, "00.500");
    EXPECT_EQ(rtu.strF, "50.000");
    EXPECT_EQ(rtu.strEpi, "1234.568");
    EXPECT_NE(bus.sim.Log().find("req ascii \"#01F\\r\""), std::string::npos) << bus.sim.Log();
    EXPECT_NE(bus.sim.Log().find("req rtu"), std::string::npos) << bus.sim.Log();
}
