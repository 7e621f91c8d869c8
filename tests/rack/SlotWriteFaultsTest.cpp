// The output writes of the ASCII slot dialogs under every fault of the line or the module. The
// 1359's Send goes out once, and again once per read-back the rack answered, until the rack hears
// or refuses it. A digital output's switch is sent again on every second tick until the rack
// acknowledges it, as the dialog always did, and no more once it is refused. Meanwhile the lamp
// or the output edit keeps the operator's value; the module ends with it, or keeps its own after a
// refusal, which the control then shows again.
#include "RackFixture.h"
#include "WriteFaults.h"
#include "rack/RackIds.h"
#include "rack/V1327.h"
#include "rack/V1359.h"

#include "Presses.h"
#include "UiDriver.h"

namespace {

// A rack at address 50: a 1327 in slot 0, all outputs off, and a 1359 in slot 1 whose channel 0
// is 4 ~ 20 mA at 4 mA.
class SlotWriteFaults : public CRackFixture {
protected:
    SlotWriteFaults() : CRackFixture("27,59,FF,FF,FF,FF,FF,FF", "50")
    {
        OpenLine();
        m_frame.m_strSlotDioParams = {"50", "", "0", "", "", "1327"};
        m_frame.m_strSlotAoParams = {"50", "", "1", "", "", "1359"};
    }
    CSimDigitalSlot& Digital() { return m_pRack->SlotAs<CSimDigitalSlot>(0); }
    CSimAnalogOutputSlot& Output() { return m_pRack->SlotAs<CSimAnalogOutputSlot>(1); }
    // The module as the fault finds it, with the checksum the fault wants.
    void Prepare(const SWriteFault& fault)
    {
        m_pRack->Faults() = {};
        m_pRack->SetSlot(0, "27");
        m_pRack->SetSlot(1, "59");
        Output().Channel(0).cRange = '1';
        Output().Channel(0).dOutput = 4.0;
        m_pRack->SetChecksum(fault.bChecksum);
        m_frame.m_strRackParams[kCheck] = fault.bChecksum ? "4" : "0";
    }
    // Types a value into channel 0's output edit and presses its Send.
    static void Send(CDialog& dlg, const char* text)
    {
        ASSERT_TRUE(ui::Type(dlg, rack_ao::kChannelIds[0].nOutput, text));
        ASSERT_TRUE(ui::Click(dlg, rack_ao::kChannelIds[0].nSend));
    }
};

} // namespace

TEST_F(SlotWriteFaults, ASendUnderEveryFault)
{
    const SWriteCase<CSimRack> kSend = {
        "Send",
        [](CDialog& dlg) { Send(dlg, "06.000"); },
        "#50S1C006.000",
        [this](const CSimRack&) { return Output().Channel(0).dOutput == 6.0; },
        [](CDialog& dlg) -> std::function<std::string()> {
            return [&dlg] { return dlg.GetDlgItemText(rack_ao::kChannelIds[0].nOutput); };
        },
        "06.000",
        "04.000"};
    for (const SWriteFault& f : WriteFaults(ELinkKind::Ascii)) {
        SCOPED_TRACE(f.pszName);
        Prepare(f);
        CV1359 dlg;
        dlg.Create(IDD_RACK_AO);
        Tick(dlg, 8); // the configurations and one cycle of read-backs
        m_boxes.m_boxes.clear();
        ExpectWriteCase(dlg, *m_pRack, m_link, f, kSend, ELinkKind::Ascii);
        // Heard, the dialog says so; refused, it says that; while it waits it says nothing.
        std::vector<std::string> boxes = m_boxes.Texts();
        EXPECT_EQ(boxes, std::vector<std::string>{f.eKind == EWriteFault::Refused
                                                      ? "Update Output Value Error!"
                                                      : "Update Output Value Succeeded!"});
        dlg.OnCancel();
    }
}

TEST_F(SlotWriteFaults, ASwitchUnderEveryFault)
{
    for (const SWriteFault& f : WriteFaults(ELinkKind::Ascii)) {
        SCOPED_TRACE(f.pszName);
        Prepare(f);
        CV1327 dlg;
        dlg.Create(IDD_RACK_DIO);
        Tick(dlg, 4); // the pattern read and a poll: the lamps show the outputs
        SWriteRun run = RunWrite(
            dlg, *m_pRack, m_link, f, "#50S01001", ELinkKind::Ascii,
            [&dlg] { ClickLamp(rack_dio::kOutputLampIds[0])(dlg); },
            LampShown(dlg, rack_dio::kOutputLampIds[0]));
        ExpectRepeatedWriteRun(run, f, "R", "W");
        EXPECT_EQ(Digital().Outputs(), f.eKind == EWriteFault::Refused ? 0x0 : 0x1);
        ASSERT_FALSE(run.controls.empty());
        dlg.OnCancel();
    }
}

// Switches of two outputs clicked before one tick both reach the module.
TEST_F(SlotWriteFaults, TwoOutputsSwitchedInOneTickBothReachTheModule)
{
    Prepare({});
    CV1327 dlg;
    dlg.Create(IDD_RACK_DIO);
    Tick(dlg, 4);
    ClickLamp(rack_dio::kOutputLampIds[1])(dlg);
    ClickLamp(rack_dio::kOutputLampIds[5])(dlg);
    Tick(dlg, 6);
    EXPECT_EQ(Digital().Outputs(), 0x22);
    dlg.OnCancel();
}

// Sends of two channels pressed before one tick both reach the module.
TEST_F(SlotWriteFaults, TwoChannelsSentInOneTickBothReachTheModule)
{
    Prepare({});
    CV1359 dlg;
    dlg.Create(IDD_RACK_AO);
    Tick(dlg, 8);
    Send(dlg, "7");
    ASSERT_TRUE(ui::Type(dlg, rack_ao::kChannelIds[1].nOutput, "9"));
    ASSERT_TRUE(ui::Click(dlg, rack_ao::kChannelIds[1].nSend));
    Tick(dlg, 6);
    EXPECT_EQ(Output().Channel(0).dOutput, 7.0);
    EXPECT_EQ(Output().Channel(1).dOutput, 9.0);
    dlg.OnCancel();
}

// A value outside the channel's range is refused before anything goes out: the slider and the
// value the next Send would take stay as the module reported them.
TEST_F(SlotWriteFaults, AValueRefusedAsOutOfRangeMovesNothing)
{
    Prepare({});
    CV1359 dlg;
    dlg.Create(IDD_RACK_AO);
    Tick(dlg, 8);
    auto* slider = dlg.GetDlgItemAs<CSliderCtrl>(rack_ao::kChannelIds[0].nSlider);
    ASSERT_EQ(slider->GetPos(), 4);
    for (const char* typed : {"25", "3", "-1"}) {
        SCOPED_TRACE(typed);
        TakeRequests();
        m_boxes.m_boxes.clear();
        Send(dlg, typed);
        Tick(dlg, 2);
        EXPECT_EQ(m_boxes.Texts(), std::vector<std::string>{"Please Input Valid Value!"});
        EXPECT_EQ(slider->GetPos(), 4);
        EXPECT_EQ(dlg.m_strOutValue[0], "04.000");
        EXPECT_EQ(dlg.m_fOutValue[0], 4.0f);
        for (const std::string& r : TakeRequests()) EXPECT_NE(r[0], '#');
    }
    EXPECT_EQ(Output().Channel(0).dOutput, 4.0);
    dlg.OnCancel();
}
