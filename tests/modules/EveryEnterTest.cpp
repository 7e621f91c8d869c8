// Enter, pressed in the Address box of every registered dialog: the default button where the
// template has one, else the OK command, which closes the dialog as Cancel does (timer stopped,
// its own line closed, a borrowed line left open) unless the dialog gives Enter a meaning of its
// own.
#include "EveryDialog.h"

#include "UiDriver.h"

#include <QAbstractButton>

namespace {

// Presses Enter with the focus in the row's Address box (in the dialog where it has none).
void PressEnter(CDialog& dlg, const SDialogRow& row)
{
    if (row.nAddressBox)
        ui::PressKeyIn(dlg, row.nAddressBox, Qt::Key_Return);
    else
        ui::PressKey(dlg, Qt::Key_Return);
}

class EveryEnter : public CEveryDialogTest {};

TEST_P(EveryEnter, PressedInTheAddressBox)
{
    const SDialogRow& row = GetParam();
    std::unique_ptr<CDialog> dlg = Open(row);
    ASSERT_NE(dlg, nullptr);
    ASSERT_TRUE(LineOpen());
    int defaultPresses = 0;
    if (row.nDefaultButton) {
        auto* button =
            qobject_cast<QAbstractButton*>(dlg->GetDlgItem(row.nDefaultButton)->GetWidget());
        ASSERT_NE(button, nullptr);
        QObject::connect(button, &QAbstractButton::clicked, [&] { ++defaultPresses; });
    }
    PressEnter(*dlg, row);
    switch (row.eEnter) {
    case EEnter::Closes:
        EXPECT_FALSE(dlg->IsRunning());
        EXPECT_FALSE(dlg->IsTimerActive(kPollTimer));
        EXPECT_EQ(LineOpen(), row.eLine == ELineOwnership::Borrowed);
        break;
    case EEnter::PressesDefault:
        EXPECT_EQ(defaultPresses, 1);
        break;
    case EEnter::FocusesCancel:
        EXPECT_TRUE(dlg->IsRunning());
        EXPECT_TRUE(LineOpen());
        EXPECT_EQ(dlg->GetWidget()->focusWidget(), dlg->GetDlgItem(row.nCancelButton)->GetWidget());
        break;
    }
}

INSTANTIATE_TEST_SUITE_P(, EveryEnter, ::testing::ValuesIn(EveryDialogRows()), DialogRowName);

} // namespace
