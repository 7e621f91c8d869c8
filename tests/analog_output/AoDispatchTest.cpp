// Each analog-output row of the result list opens its dialog through the dispatch, live against
// the simulated module, and takes the new address the dialog wrote back.
#include "PollTimer.h"
#include "SearchWindow.h"
#include "analog_output/AnalogOutputIds.h"

#include "Clock.h"
#include "SimLink.h"

using namespace search_test;

TEST(AoDispatch, EachKindsRowOpensItsDialogLiveAndTakesItsNewAddress)
{
    struct Case {
        const char* model;
        const char* script;
        const char* protocol;
        UINT nTemplate;
        const char* outcome;
    } cases[] = {
        {"6358", "30", "ASC", IDD_M6359, "Setting Configuration OK!"},
        {"6355", "3F", "ASC", IDD_M6359, "Setting Configuration OK!"},
        {"6359", "30", "ASC", IDD_M6359, "Setting Configuration OK!"},
        {"6358", "30", "RTU", IDD_M6359_MODBUS, "Setting Configuration OK!"},
        {"6355", "3F", "RTU", IDD_M6359_MODBUS, "Setting Configuration OK!"},
        {"6359", "30", "RTU", IDD_M6359_MODBUS, "Setting is OK!"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.model) + " " + c.protocol);
        CScopedVirtualClock clock;
        CSimBus bus;
        bool rtu = std::string(c.protocol) == "RTU";
        CSimModule& module =
            bus.Add(c.model, 1, 9600, rtu ? ESimProtocol::Rtu : ESimProtocol::Ascii);
        module.SetInput(0, 5.0);
        CScopedSimLink link{bus};
        CSearchWindow w(SettingsText('0', "00010000", '0', '0'));
        int item = w.AddRow({c.model, "1", "9600", "", "Disable", "", "0", "01", "06", "0",
                             c.script, "0", c.protocol});

        std::string readBack;
        ui::CModalDriver driver([&](CDialog& dlg) {
            ASSERT_EQ(dlg.GetTemplateID(), c.nTemplate);
            for (int i = 0; i < 4; ++i) dlg.FireTimer(kPollTimer);
            readBack = dlg.GetDlgItemText(kAoChannels[0].nReadBack);
            ui::Type(dlg, IDC_AO_ADDRESS, "2");
            ui::Click(dlg, IDC_AO_SETTING);
            for (int i = 0; i < 6 && dlg.IsRunning(); ++i) dlg.FireTimer(kPollTimer);
        });
        ASSERT_TRUE(ui::DoubleClickRow(w.Dlg(), IDC_RESULT_LIST, item));

        EXPECT_FALSE(readBack.empty());
        EXPECT_EQ(w.boxes.Texts(), std::vector<std::string>{c.outcome});
        EXPECT_EQ(module.Address(), 2);
        EXPECT_EQ(w.Row(item)[1], "02");
        EXPECT_EQ(w.Row(item)[kColAddress], "02");
    }
}
