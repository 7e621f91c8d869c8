// What every registered module dialog does alike: it opens its line (or borrows the rack's) and
// talks to its module, and Esc, the close box and its Cancel button each run its close path once,
// which sets g_bDialogClosed only in the dialogs that report their closing there.
#include "EveryDialog.h"

#include "LinkTable.h"
#include "ModuleDialogs.h"
#include "UiDriver.h"

#include <map>

namespace {

class EveryDialog : public CEveryDialogTest {};

TEST(EveryDialogTable, HasOneRowPerRegisteredDialog)
{
    std::map<std::string, int> rows;
    for (const SDialogRow& row : EveryDialogRows()) ++rows[row.name];
    for (const auto& [name, count] : rows) EXPECT_EQ(count, 1) << name;
    std::map<std::string, int> registered;
    for (const std::string& name : RegisteredModuleDialogNames()) registered[name] = 1;
    ExpectOneEntryPerRow(registered);
}

TEST_P(EveryDialog, OpensItsLineAndTalksToItsModule)
{
    const SDialogRow& row = GetParam();
    Prepare(row);
    EXPECT_EQ(LineOpen(), row.eLine == ELineOwnership::Borrowed);
    std::unique_ptr<CDialog> dlg = CreateModuleDialog(row.name);
    ASSERT_NE(dlg, nullptr);
    EXPECT_EQ(dlg->GetTemplateID(), row.nTemplate);
    dlg->Create(row.nTemplate);
    EXPECT_EQ(m_link.IsRtuOpen(), row.eLink == ELinkKind::Rtu);
    EXPECT_EQ(m_link.IsAsciiOpen(), row.eLink == ELinkKind::Ascii);
    EXPECT_EQ(m_boxes.Texts(), std::vector<std::string>{});
    for (int id : {row.nAddressBox, row.nSettingButton, row.nCancelButton}) {
        if (id) {
            EXPECT_NE(dlg->GetDlgItem(id), nullptr) << id;
        }
    }
    // Requests go out on opening (the Modbus rack window reads its slot table there) or at the
    // first tick, and the modules the row puts on the bus answer them.
    EXPECT_TRUE(dlg->IsTimerActive(kPollTimer));
    Tick(*dlg);
    EXPECT_FALSE(m_link.Requests().empty());
    Tick(*dlg, 3);
    bool answered = false;
    for (const SSimExchange& exchange : m_link.Traffic()) answered = answered || exchange.bAnswered;
    EXPECT_TRUE(answered);
}

TEST_P(EveryDialog, EveryWayToCloseRunsTheClosePathOnce)
{
    const SDialogRow& row = GetParam();
    const bool borrowed = row.eLine == ELineOwnership::Borrowed;
    enum Way { Escape, CloseBox, CancelButton };
    for (Way way : {Escape, CloseBox, CancelButton}) {
        SCOPED_TRACE(way);
        m_bus = CSimBus{};
        std::unique_ptr<CDialog> dlg = Open(row);
        ASSERT_NE(dlg, nullptr);
        ASSERT_TRUE(LineOpen());
        g_bDialogClosed = 0;
        switch (way) {
        case Escape:
            ui::PressKey(*dlg, Qt::Key_Escape);
            break;
        case CloseBox:
            ui::CloseBox(*dlg);
            break;
        case CancelButton:
            ui::Click(*dlg, row.nCancelButton);
            break;
        }
        EXPECT_FALSE(dlg->IsRunning());
        EXPECT_FALSE(dlg->IsTimerActive(kPollTimer));
        EXPECT_EQ(LineOpen(), borrowed);
        EXPECT_EQ(g_bDialogClosed, row.bSetsDialogClosed ? 1 : 0);
        // Once: a second close leaves alone the line the next dialog (or the rack) holds open.
        if (!borrowed) {
            ASSERT_TRUE(OpenLineAs(row.eLink));
        }
        dlg->OnCancel();
        EXPECT_TRUE(LineOpen());
        CloseLine();
    }
}

INSTANTIATE_TEST_SUITE_P(, EveryDialog, ::testing::ValuesIn(EveryDialogRows()), DialogRowName);

} // namespace
