// What every dialog that reads its module's channel-enable mask does when the opening read brings
// no mask (silence, a bare CR, a cut reply, one from another address, a late one, line noise): it
// asks again between the polls and shows the channels as soon as a reply fits; a channel click
// before that writes nothing and says so, and the saying goes once the channels show. A refusal is
// the module's answer: no channel is marked, the mask is not asked again, and the boxes are the
// operator's. The other opening reads the channels need follow the same rule.
#include "EveryDialog.h"

#include "ModuleDialogs.h"
#include "ModuleDlg.h"
#include "PerChannelIds.h"
#include "SpoiltLine.h"
#include "analog_input/AnalogInputIds.h"
#include "thermocouple/ThermocoupleIds.h"

#include <array>
#include <climits>
#include <map>
#include <optional>
#include <vector>

namespace {

// A dialog that reads the mask: the request that reads it (its start), the channel boxes, and the
// field where a refused click says so.
struct SMaskDialog {
    const char* pszMaskRead;
    std::array<int, 8> checkIds;
    int nChannels;
    int nStatusField;
    const char* pszMaskWrite; // the start of the write a click makes
    // The dialog's other opening read that its channels need (null: none), and the controls its
    // reply fills.
    const char* pszChannelsRead = nullptr;
    std::vector<int> filledIds = {};
};

// The mask dialog that also reads its channels' types at the start ("01 03 00 C8").
SMaskDialog AlsoReadsTypes(SMaskDialog mask)
{
    mask.pszChannelsRead = "01 03 00 C8";
    for (int k = 0; k < mask.nChannels; ++k) mask.filledIds.push_back(IDC_PC_TYPE0 + k);
    return mask;
}

const SMaskDialog kPcAscii = {"$016", kPcCheckIds, 8, IDC_PC_RESPOND, "$015"};
const SMaskDialog kPcAscii6 = {"$016", kPcCheckIds, 6, IDC_PC_RESPOND, "$015"};
const SMaskDialog kPcModbus =
    AlsoReadsTypes({"01 03 00 DC", kPcCheckIds, 8, IDC_PC_RESPOND, "01 06 00 DC"});
const SMaskDialog kPcModbus6 =
    AlsoReadsTypes({"01 03 00 DC", kPcCheckIds, 6, IDC_PC_RESPOND, "01 06 00 DC"});
// The configuration read shows its outcome and the conversion mode.
const SMaskDialog kAi = {"$016", std::to_array(kAiCheckIds),  8, IDC_AI_STATUS, "$015",
                         "$012", {IDC_AI_STATUS, IDC_AI_MODE}};

// Every registered dialog: how it reads the mask, or nothing where it reads none.
const std::map<std::string, std::optional<SMaskDialog>>& MaskDialogs()
{
    static const std::map<std::string, std::optional<SMaskDialog>> dialogs = {
        {"CM6384", kAi},
        {"CM6386", SMaskDialog{"$106", std::to_array(kTcCheckIds), 8, IDC_TC_CJC_STATUS, "$105"}},
        {"CM6384P", kPcAscii},
        {"CM6386P", kPcAscii},
        {"CM6381p", kPcAscii},
        {"CM6382p", kPcAscii6},
        {"CM63828p", kPcAscii6},
        {"CM6384pModbus", kPcModbus},
        {"CM6386PModbus",
         AlsoReadsTypes({"01 03 00 DC", kTcpCheckIds, 8, IDC_PC_RESPOND, "01 06 00 DC"})},
        {"CM6382pModbus", kPcModbus6},
        {"CM6382TModbus", kPcModbus6},
        // The mask is not read: the boxes start as the module's type read or all ticked.
        {"CM6307p", std::nullopt},
        {"CM6386Modbus", std::nullopt},
        {"CM6384Modbus", std::nullopt},
        {"CM6530rtu", std::nullopt},
        {"CM63508", std::nullopt},
        {"CM6363", std::nullopt},
        {"CM6380", std::nullopt},
        {"CM6309x", std::nullopt},
        {"CM6307pModbus", std::nullopt},
        {"CM6300Modbus", std::nullopt},
        {"CM6387", std::nullopt},
        {"C6385pModbus", std::nullopt},
        {"CM6359", std::nullopt},
        {"CM6359Modbus", std::nullopt},
        {"CM6359p", std::nullopt},
        {"CM6359pModbus", std::nullopt},
        {"CM6373", std::nullopt},
        {"CM6373Modbus", std::nullopt},
        {"CV1333E", std::nullopt},
        {"CV1333M", std::nullopt},
        {"CV1327", std::nullopt},
        {"CV1359", std::nullopt},
        {"CV1300", std::nullopt},
        {"CV1384H", std::nullopt},
    };
    return dialogs;
}

TEST(EveryMaskReadDialog, EveryRegisteredDialogSaysWhetherItReadsTheMask)
{
    ExpectOneEntryPerRow(MaskDialogs());
}

class EveryMaskRead : public CEveryDialogTest {
protected:
    const SMaskDialog& Mask() const { return *MaskDialogs().at(GetParam().name); }

    std::string Boxes(CDialog& dlg) const
    {
        std::string marks;
        for (int k = 0; k < Mask().nChannels; ++k)
            marks += dlg.IsDlgButtonChecked(Mask().checkIds[static_cast<size_t>(k)]) ? '1' : '0';
        return marks;
    }
    std::string NoBoxes() const { return std::string(static_cast<size_t>(Mask().nChannels), '0'); }
    std::string Status(CDialog& dlg) const { return dlg.GetDlgItemText(Mask().nStatusField); }
    // What the controls that the other opening read fills show.
    std::vector<std::string> Filled(CDialog& dlg) const
    {
        std::vector<std::string> texts;
        for (int id : Mask().filledIds) texts.push_back(dlg.GetDlgItemText(id));
        return texts;
    }
    // The screen once the opening reads were answered well.
    struct SScreen {
        std::string boxes;
        std::vector<std::string> filled;
    };
    SScreen ModulesScreen()
    {
        std::unique_ptr<CDialog> dlg = Open(GetParam());
        Tick(*dlg, kStartupTicks);
        SScreen screen = {Boxes(*dlg), Filled(*dlg)};
        Close(*dlg);
        return screen;
    }
    void Close(CDialog& dlg)
    {
        dlg.OnCancel();
        CloseLine();
        m_bus = CSimBus{};
    }
    // The mask writes on the wire since the requests were last taken.
    std::vector<std::string> MaskWrites()
    {
        std::vector<std::string> writes;
        for (const std::string& r : TakeRequests()) {
            if (r.starts_with(Mask().pszMaskWrite)) writes.push_back(r);
        }
        return writes;
    }
};

TEST_P(EveryMaskRead, ALostOpeningReadIsAskedAgainAndAClickMeanwhileWritesNothing)
{
    const std::string marks = ModulesScreen().boxes;
    ASSERT_NE(marks.find('1'), std::string::npos) << "the module enables no channel";
    const int box = Mask().checkIds[marks.find('1')];
    for (ESpoil spoil : {ESpoil::Silent, ESpoil::Blank, ESpoil::Cut, ESpoil::OtherAddress,
                         ESpoil::Late, ESpoil::Garbled}) {
        SCOPED_TRACE(SpoilName(spoil));
        CSpoiltLine line(spoil, Mask().pszMaskRead);
        std::unique_ptr<CDialog> dlg = Open(GetParam());
        Tick(*dlg);
        ASSERT_EQ(line.Left(), 0) << "the opening read did not go out";
        EXPECT_EQ(Boxes(*dlg), NoBoxes());

        // The mask is read again within a few ticks, the readings poll going on between. Until
        // then a click springs back, says why and writes nothing.
        TakeRequests();
        for (int ticks = 0; Boxes(*dlg) != marks && ticks < 8; ++ticks) {
            ui::Click(*dlg, box);
            EXPECT_FALSE(dlg->IsDlgButtonChecked(box));
            EXPECT_EQ(Status(*dlg), kMaskNotRead);
            Tick(*dlg);
        }
        EXPECT_EQ(Boxes(*dlg), marks);
        EXPECT_EQ(MaskWrites(), std::vector<std::string>{});
        // The channels show: the excuse goes, and from then on a click writes the mask.
        EXPECT_NE(Status(*dlg), kMaskNotRead);
        int off = Mask().checkIds[static_cast<size_t>(
            marks.find('0') != std::string::npos ? marks.find('0') : marks.find('1'))];
        ui::Click(*dlg, off);
        Tick(*dlg, 2);
        EXPECT_EQ(MaskWrites().size(), 1u);
        Close(*dlg);
    }
}

// The module's refusal of the mask read is its answer: no channel is marked, the mask is not asked
// again, and a box the operator ticks stays ticked and writes the mask, once.
TEST_P(EveryMaskRead, ARefusedReadMarksNoChannelAndTheOperatorsTickWritesTheMask)
{
    CSpoiltLine line(ESpoil::Refused, Mask().pszMaskRead, INT_MAX);
    std::unique_ptr<CDialog> dlg = Open(GetParam());
    Tick(*dlg, kStartupTicks);
    EXPECT_EQ(line.Spoilt(), 1) << "the refused read was asked again";
    EXPECT_EQ(Boxes(*dlg), NoBoxes());

    TakeRequests();
    ui::Click(*dlg, Mask().checkIds[0]);
    EXPECT_TRUE(dlg->IsDlgButtonChecked(Mask().checkIds[0]));
    EXPECT_NE(Status(*dlg), kMaskNotRead);
    Tick(*dlg, 4);
    std::vector<std::string> writes = MaskWrites();
    ASSERT_EQ(writes.size(), 1u);
    // CH0 alone: "01" after an ASCII write's command, register value 0x0001 in a Modbus one.
    bool rtu = GetParam().eLink == ELinkKind::Rtu;
    EXPECT_TRUE(writes[0].starts_with(std::string(Mask().pszMaskWrite) + (rtu ? " 00 01" : "01")))
        << writes[0];
    EXPECT_EQ(line.Spoilt(), 1);
    Close(*dlg);
}

INSTANTIATE_TEST_SUITE_P(, EveryMaskRead,
                         ::testing::ValuesIn(RowsWhere(MaskDialogs(),
                                                       [](const std::optional<SMaskDialog>& mask) {
                                                           return mask.has_value();
                                                       })),
                         DialogRowName);

// The other opening reads the channels need: lost, they are asked again until the module's reply
// shows; refused, they end.
class EveryChannelsRead : public EveryMaskRead {};

TEST_P(EveryChannelsRead, ALostReadIsAskedAgainUntilItsReplyShows)
{
    const std::vector<std::string> shown = ModulesScreen().filled;
    for (ESpoil spoil :
         {ESpoil::Silent, ESpoil::Cut, ESpoil::OtherAddress, ESpoil::Late, ESpoil::Garbled}) {
        SCOPED_TRACE(SpoilName(spoil));
        CSpoiltLine line(spoil, Mask().pszChannelsRead);
        std::unique_ptr<CDialog> dlg = Open(GetParam());
        int ticks = 0;
        while (line.Left() > 0 && ticks++ < kStartupTicks) Tick(*dlg);
        ASSERT_EQ(line.Left(), 0) << "the read did not go out";
        Tick(*dlg);
        EXPECT_NE(Filled(*dlg), shown) << "the lost reply filled the controls";
        while (Filled(*dlg) != shown && ticks++ < kStartupTicks) Tick(*dlg);
        EXPECT_EQ(Filled(*dlg), shown);
        Close(*dlg);
    }
}

TEST_P(EveryChannelsRead, ARefusedReadIsNotAskedAgain)
{
    CSpoiltLine line(ESpoil::Refused, Mask().pszChannelsRead, INT_MAX);
    std::unique_ptr<CDialog> dlg = Open(GetParam());
    Tick(*dlg, kStartupTicks);
    EXPECT_EQ(line.Spoilt(), 1);
    Close(*dlg);
}

INSTANTIATE_TEST_SUITE_P(, EveryChannelsRead,
                         ::testing::ValuesIn(RowsWhere(MaskDialogs(),
                                                       [](const std::optional<SMaskDialog>& mask) {
                                                           return mask && mask->pszChannelsRead;
                                                       })),
                         DialogRowName);

} // namespace
