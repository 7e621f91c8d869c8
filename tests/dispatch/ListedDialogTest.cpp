// Real module dialogs opened through the dispatch from rows the search built from real finds: a
// dialog's own name tests read the listed name as the module's own.
#include "SearchWindow.h"

#include "Clock.h"
#include "ModelProbe.h"
#include "SimLink.h"
#include "analog_input/AnalogInputIds.h"

using namespace search_test;

namespace {

// What the dialog showed and sent while it was open.
struct SSeen {
    std::string strCaption;
    std::vector<std::string> requests;
    bool bModeEnabled = false;
};

class ListedDialogTest : public ::testing::Test {
protected:
    // Lists the find as the search does and double-clicks its row.
    SSeen OpenFound(const SFoundModule& found)
    {
        SSeen seen;
        ui::CModalDriver driver([&](CDialog& dlg) {
            seen.strCaption = dlg.GetWindowText();
            seen.requests = link.Requests();
            if (CWnd* mode = dlg.GetDlgItem(IDC_AI_MODE))
                seen.bModeEnabled = mode->IsWindowEnabled();
        });
        int item = window.AddRow(BuildResultRow(found));
        EXPECT_TRUE(ui::DoubleClickRow(window.Dlg(), IDC_RESULT_LIST, item));
        return seen;
    }

    CScopedVirtualClock clock;
    CSimBus bus;
    CScopedSimLink link{bus};
    CSearchWindow window{SettingsText('0', "00010000", '0', '0')};
};

} // namespace

TEST_F(ListedDialogTest, APerChannelModuleListedAs4384PGetsItsOwnDialogAndFirstRequest)
{
    bus.Add("6384P", 0x11, 9600);
    SSeen seen = OpenFound({"!116384P", "!11FF0600", "9600"});
    EXPECT_EQ(seen.strCaption, "Vekt-6384P");
    ASSERT_FALSE(seen.requests.empty());
    EXPECT_EQ(seen.requests[0], "$116");
}

TEST_F(ListedDialogTest, AConversionModeModuleListedAs4384CFOffersItsMode)
{
    bus.Add("6384CF", 0x12, 9600);
    SSeen seen = OpenFound({"!126384CF", "!12080600", "9600"});
    EXPECT_EQ(seen.strCaption, "AI  Module");
    EXPECT_TRUE(seen.bModeEnabled);
    ASSERT_FALSE(seen.requests.empty());
    EXPECT_EQ(seen.requests[0], "$126");
}

TEST_F(ListedDialogTest, ASingleChannelModbusModuleListedAs4385GetsItsOwnDialog)
{
    bus.Add("6385P", 0x12, 9600, ESimProtocol::Rtu);
    SSeen seen = OpenFound({ModelProbeName(0x6385), "18", "9600", true});
    EXPECT_EQ(seen.strCaption, "Vekt 6385P Modbus");
    ASSERT_FALSE(seen.requests.empty());
    EXPECT_EQ(seen.requests[0].substr(0, 17), "12 03 00 C8 00 01");
}
