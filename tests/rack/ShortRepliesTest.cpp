// Slot dialogs given replies that stop right after their head: every positional read finds
// nothing there, as a reply cut short must.
#include "RackFixture.h"
#include "rack/RackIds.h"
#include "rack/V1300.h"
#include "rack/V1327.h"
#include "rack/V1359.h"
#include "rack/V1384H.h"

#include "Resource.h"

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

class ShortReplies : public CRackFixture {
protected:
    ShortReplies()
    {
        m_pRack->SetSlot(0, std::make_unique<CTerseSlot>());
        OpenLine();
    }
};

} // namespace

TEST_F(ShortReplies, DigitalSlotKeepsItsLampsAndRereadsDirections)
{
    m_frame.m_strSlotDioParams = {"50", "", "0", "", "", "1327"};
    CV1327 dlg;
    dlg.Create(IDD_RACK_DIO);
    Tick(dlg, 6);
    for (int ch = 0; ch < 16; ++ch) {
        EXPECT_EQ(dlg.GetDlgItemAs<CStatic>(rack_dio::kOutputLampIds[ch])->GetIcon(), IDI_LAMP_OFF);
        EXPECT_EQ(dlg.GetDlgItemAs<CStatic>(rack_dio::kInputLampIds[ch])->GetIcon(),
                  IDI_LAMP_UNUSED);
    }
    EXPECT_EQ(dlg.GetDlgItemText(rack_dio::IDC_HIGH_BYTE), "0x");
    dlg.OnCancel();

    m_frame.m_strSlotDioParams = {"50", "", "0", "", "", "1323"};
    CV1327 mixed;
    TakeRequests();
    mixed.Create(IDD_RACK_DIO);
    Tick(mixed, 4);
    EXPECT_EQ(TakeRequests(), (std::vector<std::string>{"$50S07", "$50S07", "$50S07"}));
}

TEST_F(ShortReplies, AnalogOutputSlotLeavesRangesAndSlewUnchosen)
{
    m_frame.m_strSlotAoParams = {"50", "", "0", "", "", "1359"};
    CV1359 dlg;
    dlg.Create(IDD_RACK_AO);
    Tick(dlg, 8);
    for (const rack_ao::SChannelIds& ids : rack_ao::kChannelIds) {
        EXPECT_EQ(dlg.GetDlgItemAs<CComboBox>(ids.nRange)->GetCurSel(), -1);
        EXPECT_EQ(dlg.GetDlgItemText(ids.nOutputUnit), "mA");
        EXPECT_EQ(dlg.GetDlgItemText(ids.nReadBack), "");
    }
    EXPECT_EQ(dlg.GetDlgItemAs<CComboBox>(rack_ao::IDC_SLEW)->GetCurSel(), -1);
    EXPECT_EQ(dlg.m_strChRange[0], "");
    EXPECT_EQ(dlg.m_strChSlew[0], "");
}

TEST_F(ShortReplies, AnalogSlotsReadNothingPastTheHead)
{
    m_frame.m_strSlotAiParams = {"", "1386", "0", "", "", ""};
    CV1300 input;
    input.Create(IDD_RACK_AI);
    Tick(input, 30);
    EXPECT_EQ(input.GetDlgItemAs<CComboBox>(rack_ai::IDC_THERMOCOUPLE_RANGE)->GetCurSel(), -1);
    EXPECT_EQ(input.GetDlgItemAs<CComboBox>(rack_ai::IDC_INTEGRATION)->GetCurSel(), -1);
    EXPECT_EQ(input.GetDlgItemText(rack_analog::kChannelIds[0].nUnit), "mV");
    EXPECT_EQ(input.m_strEnableMask, "");
    EXPECT_EQ(input.GetDlgItemText(rack_alarm::IDC_HIGH_LIMIT), "");
    EXPECT_EQ(input.GetDlgItemAs<CComboBox>(rack_alarm::IDC_HIGH_TYPE)->GetCurSel(), -1);
    input.OnCancel();

    m_frame.m_strSlotAiParams = {"", "1384H", "0", "", "", ""};
    CV1384H speed;
    speed.Create(IDD_RACK_SPEED);
    Tick(speed, 40);
    EXPECT_EQ(speed.GetDlgItemAs<CComboBox>(rack_analog::kChannelIds[0].nSpeedRange)->GetCurSel(),
              -1);
    EXPECT_EQ(speed.GetDlgItemText(rack_analog::kChannelIds[0].nUnit), "mV");
    EXPECT_EQ(speed.GetDlgItemText(rack_analog::kChannelIds[1].nValue), "");
}
