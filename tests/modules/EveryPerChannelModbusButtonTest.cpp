// What the per-channel Modbus dialogs bind of their engine's buttons: Refresh, FOLLOW CH0 and
// Cancel take clicks where the dialog's template has them, and their ids take none where the
// template has another control of that id.
#include "EveryDialog.h"

#include "PerChannelIds.h"
#include "PerChannelModbus.h"

#include <cctype>

namespace {

class EveryPerChannelModbusDialog : public CEveryDialogTest {};

// A button's caption as it reads: no "&", no blanks, upper case.
std::string Caption(const CWnd& button)
{
    std::string caption;
    for (char c : button.GetWindowText()) {
        if (c != '&' && c != ' ')
            caption += static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    }
    return caption;
}

TEST_P(EveryPerChannelModbusDialog, BindsTheEngineButtonsOnlyWhereTheTemplateHasThem)
{
    std::unique_ptr<CDialog> dlg = Open(GetParam());
    ASSERT_NE(dlg, nullptr);
    if (!dynamic_cast<CPerChannelModbusDlg*>(dlg.get())) GTEST_SKIP() << "not the engine's";
    const struct {
        int nId;
        const char* pszCaption;
    } buttons[] = {
        {IDC_PC_REFRESH, "REFRESH"}, {IDC_PC_FOLLOW_CH0, "FOLLOWCH0"}, {IDC_PC_CANCEL, "CANCEL"}};
    for (const auto& button : buttons) {
        const CWnd* control = dlg->GetDlgItem(button.nId);
        bool hasButton = control && Caption(*control) == button.pszCaption;
        EXPECT_EQ(dlg->HasHandler(BN_CLICKED, static_cast<UINT>(button.nId)), hasButton)
            << button.pszCaption;
    }
}

INSTANTIATE_TEST_SUITE_P(, EveryPerChannelModbusDialog, ::testing::ValuesIn(EveryDialogRows()),
                         DialogRowName);

} // namespace
