// The rack's analog-output slot reads each channel's configuration and output in turn; with a
// module that answers just after the time-out, a late configuration reply ("!AA3RSS") is never
// shown as an output value.
#include "EveryDialog.h"

#include "LateLine.h"
#include "ModuleDialogs.h"
#include "rack/RackIds.h"

#include <algorithm>

namespace {

class LateRackReply : public CEveryDialogFixture {};

TEST_F(LateRackReply, AReadBackFieldShowsOnlyAnOutputValue)
{
    const std::vector<SDialogRow>& rows = EveryDialogRows();
    const SDialogRow& row = *std::find_if(rows.begin(), rows.end(),
                                          [](const SDialogRow& r) { return r.name == "CV1359"; });
    CLateLine line;
    std::unique_ptr<CDialog> dlg = Open(row);
    Tick(*dlg, 10);
    line.SetLate(true);
    for (int i = 0; i < 16; ++i) {
        Tick(*dlg);
        for (const rack_ao::SChannelIds& ids : rack_ao::kChannelIds) {
            std::string value = dlg->GetDlgItemText(ids.nReadBack);
            EXPECT_NE(value.find('.'), std::string::npos) << value;
        }
    }
    dlg->OnCancel();
}

} // namespace
