// Slot dialogs given replies that stop right after their head ("!AA" alone, ">" alone to a data
// request): no read finds what it reads in them, so each dialog shows, and asks, exactly what it
// shows and asks while the unit is silent.
#include "RackFixture.h"
#include "ScreenTexts.h"
#include "rack/RackIds.h"

#include "ModuleDialogs.h"

#include <ostream>
#include <string_view>

namespace {

// A slot module that acknowledges every request with its head character alone.
class CTerseSlot : public CSimSlot {
public:
    CTerseSlot() : CSimSlot("27") {}
    std::string Command(char lead, std::string_view, DWORD) override
    {
        return lead == '#' ? ">" : "!";
    }
};

struct SSlotDialog {
    const char* name;
    const char* model;
    UINT nTemplate;
    ModuleParamBlock CMainFrame::*pBlock;
    // The dialog's lamps: what it shows besides its texts.
    std::vector<int> lampIds;
};

void PrintTo(const SSlotDialog& dialog, std::ostream* os)
{
    *os << dialog.name << " " << dialog.model;
}

std::vector<int> DioLamps()
{
    std::vector<int> ids(std::begin(rack_dio::kInputLampIds), std::end(rack_dio::kInputLampIds));
    ids.insert(ids.end(), std::begin(rack_dio::kOutputLampIds), std::end(rack_dio::kOutputLampIds));
    return ids;
}

std::vector<int> AlarmLamps()
{
    std::vector<int> ids;
    for (const rack_analog::SChannelIds& ch : rack_analog::kChannelIds) {
        ids.push_back(ch.nHighLamp);
        ids.push_back(ch.nLowLamp);
    }
    return ids;
}

class ShortReplies : public CRackFixture, public ::testing::WithParamInterface<SSlotDialog> {
protected:
    ShortReplies() { OpenLine(); }
    // The screen (texts, lamps) and the requests of a slot dialog in slot 0 over some ticks.
    std::pair<std::vector<std::string>, std::vector<std::string>> Run(bool terse)
    {
        const SSlotDialog& row = GetParam();
        if (terse) m_pRack->SetSlot(0, std::make_unique<CTerseSlot>());
        m_pRack->Faults().nSilentAfter = terse ? -1 : 0;
        m_frame.*row.pBlock = {"50", row.model, "0", "", "", row.model};
        TakeRequests();
        std::unique_ptr<CDialog> dlg = CreateModuleDialog(row.name);
        dlg->Create(row.nTemplate);
        Tick(*dlg, 40);
        std::vector<std::string> screen = ScreenTexts(*dlg);
        for (int id : row.lampIds) {
            CWnd* lamp = dlg->GetDlgItem(id);
            screen.push_back(lamp->IsWindowVisible()
                                 ? std::to_string(dlg->GetDlgItemAs<CStatic>(id)->GetIcon())
                                 : "hidden");
        }
        dlg->OnCancel();
        return {screen, TakeRequests()};
    }
};

TEST_P(ShortReplies, AReplyOfItsHeadAloneIsSilence)
{
    auto silent = Run(false);
    auto terse = Run(true);
    EXPECT_EQ(terse.first, silent.first);
    EXPECT_EQ(terse.second, silent.second);
}

INSTANTIATE_TEST_SUITE_P(
    , ShortReplies,
    ::testing::Values(
        SSlotDialog{"CV1327", "1327", IDD_RACK_DIO, &CMainFrame::m_strSlotDioParams, DioLamps()},
        SSlotDialog{"CV1327", "1323", IDD_RACK_DIO, &CMainFrame::m_strSlotDioParams, DioLamps()},
        SSlotDialog{"CV1359", "1359", IDD_RACK_AO, &CMainFrame::m_strSlotAoParams, {}},
        SSlotDialog{"CV1300", "1386", IDD_RACK_AI, &CMainFrame::m_strSlotAiParams, AlarmLamps()},
        SSlotDialog{"CV1384H", "1384H", IDD_RACK_SPEED, &CMainFrame::m_strSlotAiParams,
                    AlarmLamps()}),
    [](const ::testing::TestParamInfo<SSlotDialog>& info) {
        return std::string(info.param.name) + "_" + info.param.model;
    });

} // namespace
