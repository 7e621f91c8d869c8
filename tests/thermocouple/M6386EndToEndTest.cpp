// From a search over a pseudo-terminal to the thermocouple dialog and back: modsim serves the
// module, the program talks through the real libuart.so in real time.
#include "PollTimer.h"
#include "Resource.h"
#include "SearchedBus.h"
#include "thermocouple/ThermocoupleIds.h"

using namespace search_test;

TEST(M6386EndToEnd, ASearchedModuleShowsLiveReadingsAndIsReconfiguredFromItsRow)
{
    CSearchedBus bus("6386 1 9600 ascii type=0E format=00 input0=250\n");
    ASSERT_TRUE(bus.SearchBelow(2));
    ASSERT_EQ(bus.w.Rows().size(), 1u);

    std::string reading;
    std::string other;
    ui::CModalDriver driver([&](CDialog& dlg) {
        ASSERT_EQ(dlg.GetTemplateID(), static_cast<UINT>(IDD_M6386));
        for (int i = 0; i < 3; ++i) dlg.FireTimer(kPollTimer);
        reading = dlg.GetDlgItemText(kTcValueIds[0]);
        other = dlg.GetDlgItemText(kTcValueIds[5]);
        ui::Type(dlg, IDC_TC_ADDRESS, "7");
        ui::ChooseRow(dlg, IDC_TC_RANGE, 8); // T/C K-Type
        ui::Click(dlg, IDC_TC_SETTING);
        for (int i = 0; i < 2 && dlg.IsRunning(); ++i) dlg.FireTimer(kPollTimer);
    });
    ASSERT_TRUE(ui::DoubleClickRow(bus.w.Dlg(), IDC_RESULT_LIST, 0));

    EXPECT_EQ(reading, "+0250.0");
    ASSERT_FALSE(other.empty());
    EXPECT_TRUE(other[0] == '+' || other[0] == '-') << other;
    EXPECT_EQ(bus.w.boxes.Texts(), std::vector<std::string>{"Setting Configuration OK!"});
    ResultRow row = bus.w.Row(0);
    EXPECT_EQ(row[1], "07");
    EXPECT_EQ(row[5], "T/C K-Type");
    EXPECT_EQ(row[7], "07");
    EXPECT_NE(bus.sim.Log().find("req ascii \"%01070F0600\\r\""), std::string::npos)
        << bus.sim.Log();
    EXPECT_NE(bus.sim.Log().find("rep ascii \"!07\\r\""), std::string::npos) << bus.sim.Log();
}

// A single-channel row: the dialog reads the alarm mode and limits, polls, and a click on a lamp
// switches the module's output, which the lamp shows once it is read back.
TEST(M6386EndToEnd, ASingleChannelRowReadsItsLimitsAndSwitchesAnOutputFromItsLamp)
{
    CSearchedBus bus("4388 1 9600 ascii type=0E input0=300\n");
    ASSERT_TRUE(bus.SearchBelow(2));
    ASSERT_EQ(bus.w.Rows().size(), 1u);

    std::string reading, high, low;
    HICON lampBefore = 0, lampAfter = 0;
    ui::CModalDriver driver([&](CDialog& dlg) {
        ASSERT_EQ(dlg.GetTemplateID(), static_cast<UINT>(IDD_M6386));
        for (int i = 0; i < 6; ++i) dlg.FireTimer(kPollTimer);
        reading = dlg.GetDlgItemText(kTcValueIds[0]);
        high = dlg.GetDlgItemText(IDC_TC_HIGH_LIMIT);
        low = dlg.GetDlgItemText(IDC_TC_LOW_LIMIT);
        lampBefore = dlg.GetDlgItemAs<CStatic>(IDC_TC_LOW_LAMP)->GetIcon();
        ui::ClickAt(dlg, ui::CentreOf(dlg, IDC_TC_LOW_LAMP));
        for (int i = 0; i < 4; ++i) dlg.FireTimer(kPollTimer);
        lampAfter = dlg.GetDlgItemAs<CStatic>(IDC_TC_LOW_LAMP)->GetIcon();
        ui::Click(dlg, IDCANCEL);
    });
    ASSERT_TRUE(ui::DoubleClickRow(bus.w.Dlg(), IDC_RESULT_LIST, 0));

    EXPECT_EQ(reading, "+0300.0");
    EXPECT_EQ(high, "+0760.0");
    EXPECT_EQ(low, "+0000.0");
    EXPECT_EQ(lampBefore, IDI_LAMP_OFF);
    EXPECT_EQ(lampAfter, IDI_LAMP_ON);
    const std::string log = bus.sim.Log();
    EXPECT_NE(log.find("req ascii \"@01DO01\\r\""), std::string::npos) << log;
    EXPECT_NE(log.find("rep ascii \"!0100100\\r\""), std::string::npos) << log;
}
