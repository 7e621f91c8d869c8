// What every dialog that reads its module's channel-enable mask does when the opening read brings
// no mask (silence, a bare CR, a cut reply, one from another address, a late one, line noise, a
// refusal): it asks again between the polls and shows the channels as soon as a reply fits; a
// channel click before that writes nothing and says so.
#include "EveryDialog.h"

#include "ModuleDialogs.h"
#include "ModuleDlg.h"
#include "PerChannelIds.h"
#include "SpoiltLine.h"
#include "analog_input/AnalogInputIds.h"
#include "thermocouple/ThermocoupleIds.h"

#include <array>
#include <map>
#include <optional>

namespace {

// A dialog that reads the mask: the request that reads it (its start), the channel boxes, and the
// field where a refused click says so.
struct SMaskDialog {
    const char* pszMaskRead;
    std::array<int, 8> checkIds;
    int nChannels;
    int nStatusField;
    const char* pszMaskWrite; // the start of the write a click makes
};

const SMaskDialog kPcAscii = {"$016", kPcCheckIds, 8, IDC_PC_RESPOND, "$015"};
const SMaskDialog kPcAscii6 = {"$016", kPcCheckIds, 6, IDC_PC_RESPOND, "$015"};
const SMaskDialog kPcModbus = {"01 03 00 DC", kPcCheckIds, 8, IDC_PC_RESPOND, "01 06 00 DC"};
const SMaskDialog kPcModbus6 = {"01 03 00 DC", kPcCheckIds, 6, IDC_PC_RESPOND, "01 06 00 DC"};

// Every registered dialog: how it reads the mask, or nothing where it reads none.
const std::map<std::string, std::optional<SMaskDialog>>& MaskDialogs()
{
    static const std::map<std::string, std::optional<SMaskDialog>> dialogs = {
        {"CM6384", SMaskDialog{"$016", std::to_array(kAiCheckIds), 8, IDC_AI_STATUS, "$015"}},
        {"CM6386", SMaskDialog{"$106", std::to_array(kTcCheckIds), 8, IDC_TC_CJC_STATUS, "$105"}},
        {"CM6384P", kPcAscii},
        {"CM6386P", kPcAscii},
        {"CM6381p", kPcAscii},
        {"CM6382p", kPcAscii6},
        {"CM63828p", kPcAscii6},
        {"CM6384pModbus", kPcModbus},
        {"CM6386PModbus",
         SMaskDialog{"01 03 00 DC", kTcpCheckIds, 8, IDC_PC_RESPOND, "01 06 00 DC"}},
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
    // The boxes once the opening read was answered well.
    std::string ModulesBoxes()
    {
        std::unique_ptr<CDialog> dlg = Open(GetParam());
        Tick(*dlg, 3);
        std::string marks = Boxes(*dlg);
        dlg->OnCancel();
        CloseLine();
        m_bus = CSimBus{};
        return marks;
    }
    bool MaskWritten()
    {
        for (const std::string& r : TakeRequests()) {
            if (r.starts_with(Mask().pszMaskWrite)) return true;
        }
        return false;
    }
};

TEST_P(EveryMaskRead, ALostOpeningReadIsAskedAgainAndAClickMeanwhileWritesNothing)
{
    const std::string marks = ModulesBoxes();
    ASSERT_NE(marks.find('1'), std::string::npos) << "the module enables no channel";
    for (ESpoil spoil : {ESpoil::Silent, ESpoil::Blank, ESpoil::Cut, ESpoil::OtherAddress,
                         ESpoil::Late, ESpoil::Garbled, ESpoil::Refused}) {
        SCOPED_TRACE(SpoilName(spoil));
        CSpoiltLine line(spoil, Mask().pszMaskRead);
        std::unique_ptr<CDialog> dlg = Open(GetParam());
        Tick(*dlg);
        ASSERT_EQ(line.Left(), 0) << "the opening read did not go out";
        const std::string none(static_cast<size_t>(Mask().nChannels), '0');
        EXPECT_EQ(Boxes(*dlg), none);

        // A click before the mask is known springs back, says why and writes nothing.
        int box = Mask().checkIds[static_cast<size_t>(marks.find('1'))];
        TakeRequests();
        ui::Click(*dlg, box);
        EXPECT_FALSE(dlg->IsDlgButtonChecked(box));
        EXPECT_EQ(dlg->GetDlgItemText(Mask().nStatusField), kMaskNotRead);

        // The mask is read again within a few ticks, the readings poll going on between.
        int ticks = 0;
        while (Boxes(*dlg) != marks && ticks++ < 8) Tick(*dlg);
        EXPECT_EQ(Boxes(*dlg), marks);
        EXPECT_FALSE(MaskWritten());

        // From then on a click writes the mask.
        int off = Mask().checkIds[static_cast<size_t>(
            marks.find('0') != std::string::npos ? marks.find('0') : marks.find('1'))];
        ui::Click(*dlg, off);
        Tick(*dlg, 2);
        EXPECT_TRUE(MaskWritten());
        dlg->OnCancel();
        CloseLine();
        m_bus = CSimBus{};
    }
}

INSTANTIATE_TEST_SUITE_P(, EveryMaskRead,
                         ::testing::ValuesIn(RowsWhere(MaskDialogs(),
                                                       [](const std::optional<SMaskDialog>& mask) {
                                                           return mask.has_value();
                                                       })),
                         DialogRowName);

} // namespace
