// A Modbus setting that leaves the module where it was (same address, same protocol) must be
// answered: silence is no success there.
#include "EveryDialog.h"

#include "ModuleDialogs.h"
#include "UiDriver.h"

#include <algorithm>

namespace {

class SilentSetting : public CEveryDialogFixture {};

TEST_F(SilentSetting, AnUnansweredWriteThatMovesNothingIsNotOk)
{
    for (const char* name : {"CM6384Modbus", "CM6307pModbus"}) {
        SCOPED_TRACE(name);
        m_bus = CSimBus{};
        m_boxes.m_boxes.clear();
        const std::vector<SDialogRow>& rows = EveryDialogRows();
        const SDialogRow& row = *std::find_if(
            rows.begin(), rows.end(), [name](const SDialogRow& r) { return r.name == name; });
        std::unique_ptr<CDialog> dlg = Open(row);
        Tick(*dlg, 3);
        for (size_t i = 0; i < m_bus.Count(); ++i) m_bus.Module(i).Faults().nSilentAfter = 0;
        // The boxes as they stand: the same address, still Modbus RTU.
        ui::Click(*dlg, row.nSettingButton);
        Tick(*dlg, 3);
        ASSERT_FALSE(m_boxes.Texts().empty());
        for (const std::string& box : m_boxes.Texts())
            EXPECT_EQ(box.find("OK"), std::string::npos) << box;
        if (dlg->IsRunning()) dlg->OnCancel();
        CloseLine();
    }
}

} // namespace
