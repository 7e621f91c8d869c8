// What the per-channel Modbus dialogs bind of their engine's buttons: Refresh, FOLLOW CH0 and
// Cancel take clicks where the dialog's template has them, and their ids take none where the
// template has another control of that id.
#include "EveryDialog.h"

#include "PerChannelIds.h"
#include "PerChannelModbus.h"

#include <cctype>
#include <map>

namespace {

// Whether each registered dialog is built on the per-channel Modbus engine.
const std::map<std::string, bool>& OnTheEngine()
{
    static const std::map<std::string, bool> engine = {
        {"CM6530rtu", false},    {"CM63508", false},      {"CM6363", false},
        {"CM6380", false},       {"CM6309x", false},      {"CM6307p", false},
        {"CM6382p", false},      {"CM63828p", false},     {"CM6307pModbus", true},
        {"CM6300Modbus", true},  {"CM6382pModbus", true}, {"CM6382TModbus", true},
        {"CM6384", false},       {"CM6384Modbus", false}, {"CM6387", false},
        {"CM6384P", false},      {"CM6384pModbus", true}, {"C6385pModbus", false},
        {"CM6386", false},       {"CM6386Modbus", true},  {"CM6386P", false},
        {"CM6386PModbus", true}, {"CM6381p", false},      {"CM6359", false},
        {"CM6359Modbus", false}, {"CM6359p", false},      {"CM6359pModbus", false},
        {"CM6373", false},       {"CM6373Modbus", false}, {"CV1333E", false},
        {"CV1333M", false},      {"CV1327", false},       {"CV1359", false},
        {"CV1300", false},       {"CV1384H", false},
    };
    return engine;
}

class EveryDialogOnTheEngine : public CEveryDialogTest {};

// The declaration holds: a dialog that left the engine, or joined it, fails here.
TEST_P(EveryDialogOnTheEngine, IsDeclaredAsItIsBuilt)
{
    std::unique_ptr<CDialog> dlg = Open(GetParam());
    ASSERT_NE(dlg, nullptr);
    EXPECT_EQ(dynamic_cast<CPerChannelModbusDlg*>(dlg.get()) != nullptr,
              OnTheEngine().at(GetParam().name));
}

TEST(EveryDialogOnTheEngineTable, HasOneEntryPerDialog)
{
    ExpectOneEntryPerRow(OnTheEngine());
}

INSTANTIATE_TEST_SUITE_P(, EveryDialogOnTheEngine, ::testing::ValuesIn(EveryDialogRows()),
                         DialogRowName);

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

INSTANTIATE_TEST_SUITE_P(, EveryPerChannelModbusDialog,
                         ::testing::ValuesIn(RowsWhere(OnTheEngine(), [](bool on) { return on; })),
                         DialogRowName);

} // namespace
