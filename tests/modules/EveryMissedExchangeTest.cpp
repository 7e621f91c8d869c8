// What every dialog shows when its module falls silent: its own failure texts, never pieces of the
// text a missed exchange leaves in the reply ("ERROR") as if they were data.
#include "EveryDialog.h"

#include "ModuleDialogs.h"
#include "ScreenTexts.h"

#include <algorithm>

namespace {

class EveryMissedExchange : public CEveryDialogFixture,
                            public ::testing::WithParamInterface<SDialogRow> {};

TEST_P(EveryMissedExchange, ShowsNoPieceOfTheFailureTextAsData)
{
    std::unique_ptr<CDialog> dlg = Open(GetParam());
    ASSERT_NE(dlg, nullptr);
    Tick(*dlg, 4);
    for (size_t i = 0; i < m_bus.Count(); ++i) m_bus.Module(i).Faults().nSilentAfter = 0;
    for (int i = 0; i < 12 && dlg->IsRunning(); ++i) {
        Tick(*dlg);
        for (const std::string& text : ScreenTexts(*dlg)) {
            for (const char* piece : {"RROR", "ROR", "OR"}) EXPECT_NE(text, piece);
        }
    }
    if (dlg->IsRunning()) dlg->OnCancel();
}

INSTANTIATE_TEST_SUITE_P(, EveryMissedExchange, ::testing::ValuesIn(EveryDialogRows()),
                         DialogRowName);

} // namespace
