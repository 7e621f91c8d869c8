// The 4 mA and 20 mA trim dialogs, alone and opened from the analog output slot dialog.
#include "rack/Trim.h"
#include "RackFixture.h"
#include "rack/RackIds.h"
#include "rack/V1359.h"

#include "SpoiltLine.h"
#include "UiDriver.h"

namespace {

class CTrim4mAForTest : public CTrim {
public:
    CTrim4mAForTest() : CTrim(kTrim4mA) {}
};

class Trim : public CRackFixture {
protected:
    Trim() : CRackFixture("27,59,FF,FF,FF,FF,FF,FF")
    {
        OpenLine();
        m_frame.m_strSlotAoParams = {"50", "", "1", "", "", "2"}; // channel 2 in entry 5
    }
    CSimAnalogOutputSlot& Module() { return m_pRack->SlotAs<CSimAnalogOutputSlot>(1); }
};

} // namespace

TEST_F(Trim, NothingGoesOutUntilAButtonIsPressedThenTheStepRepeatsEveryTick)
{
    CTrim dlg(kTrim4mA);
    dlg.Create(IDD_RACK_TRIM4);
    EXPECT_EQ(dlg.GetWindowText(), "Vektral-1359 4mA Calibration");
    Tick(dlg, 3);
    EXPECT_TRUE(TakeRequests().empty());
    ui::Click(dlg, rack_trim::IDC_DOWN1);
    Tick(dlg, 2);
    ui::Click(dlg, rack_trim::IDC_UP1);
    Tick(dlg);
    ui::Click(dlg, rack_trim::IDC_DOWN10);
    Tick(dlg);
    ui::Click(dlg, rack_trim::IDC_UP10);
    Tick(dlg);
    EXPECT_EQ(TakeRequests(), (std::vector<std::string>{"$50S1C2301", "$50S1C2301", "$50S1C23FF",
                                                        "$50S1C230A", "$50S1C23F6"}));
    EXPECT_EQ(Module().Channel(2).nTrimSteps, 1 + 1 - 1 + 10 - 10);
}

TEST_F(Trim, SaveGoesOutOnceThenReportsAndEndsForEitherVariant)
{
    struct Case {
        const STrimVariant* variant;
        bool answered;
        const char* request;
        const char* text;
    } cases[] = {
        {&kTrim4mA, true, "$50S1C20", "4mA Calibration Succeeded!"},
        {&kTrim20mA, true, "$50S1C21", "20mA Calibration Succeeded!"},
        {&kTrim4mA, false, "$50S1C20", "4mA Calibration Error!"},
        {&kTrim20mA, false, "$50S1C21", "20mA Calibration Error!"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        m_boxes.m_boxes.clear();
        TakeRequests();
        CTrim dlg(*c.variant);
        dlg.Create(c.variant->nTemplate);
        ui::Click(dlg, rack_trim::IDC_DOWN10); // "<<" steps up by 10
        Tick(dlg);
        m_pRack->Faults().nSilentAfter = c.answered ? -1 : 0;
        ui::Click(dlg, rack_trim::IDC_SAVE);
        Tick(dlg, 3);
        EXPECT_EQ(TakeRequests(), (std::vector<std::string>{"$50S1C230A", c.request}));
        EXPECT_EQ(m_boxes.Texts(), std::vector<std::string>{c.text});
        EXPECT_EQ(m_boxes.m_boxes[0].caption, "Setting");
        EXPECT_FALSE(dlg.IsRunning());
        EXPECT_TRUE(m_link.IsAsciiOpen());
        m_pRack->Faults().nSilentAfter = -1;
    }
    EXPECT_EQ(Module().Channel(2).nTrim4mA, 10);
    EXPECT_EQ(Module().Channel(2).nTrim20mA, 10);
}

// The save takes only "!" and the unit's address: a bare "!", another address or the unit's
// refusal confirms nothing.
TEST_F(Trim, OnlyTheUnitsOwnAcknowledgementConfirmsTheSave)
{
    for (ESpoil spoil : {ESpoil::Bare, ESpoil::OtherAddress, ESpoil::Refused}) {
        SCOPED_TRACE(SpoilName(spoil));
        m_boxes.m_boxes.clear();
        CTrim dlg(kTrim4mA);
        dlg.Create(IDD_RACK_TRIM4);
        CSpoiltLine line(spoil, "$50S1C20");
        ui::Click(dlg, rack_trim::IDC_SAVE);
        Tick(dlg, 3);
        EXPECT_EQ(line.Spoilt(), 1);
        EXPECT_EQ(m_boxes.Texts(), std::vector<std::string>{"4mA Calibration Error!"});
    }
}

TEST_F(Trim, ExitEndsAtOnceWithoutTrafficAndChecksumDigitsFollowEveryBody)
{
    CTrim dlg(kTrim20mA);
    dlg.Create(IDD_RACK_TRIM20);
    ui::Click(dlg, IDCANCEL);
    EXPECT_FALSE(dlg.IsRunning());
    EXPECT_TRUE(TakeRequests().empty());
    EXPECT_TRUE(m_link.IsAsciiOpen());

    ChecksumOn();
    CTrim sums(kTrim4mA);
    sums.Create(IDD_RACK_TRIM4);
    ui::Click(sums, rack_trim::IDC_DOWN10);
    Tick(sums);
    EXPECT_EQ(TakeRequests(), Wire({"$50S1C230A"}));
}

class TrimFromV1359 : public CRackFixture {
protected:
    TrimFromV1359() : CRackFixture("27,59,FF,FF,FF,FF,FF,FF", "00")
    {
        OpenLine();
        m_frame.m_strSlotAoParams = {"00", "", "1", "", "", "1359"};
    }
};

TEST_F(TrimFromV1359, DrivingTheChannelOpensTheTrimWhileReadBacksTakeTurnsOnTheLine)
{
    CV1359 dlg;
    dlg.Create(IDD_RACK_AO);
    Tick(dlg, 8);
    ui::ChooseRow(dlg, rack_ao::IDC_CHANNEL, 0);
    Tick(dlg, 4);
    TakeRequests();
    std::vector<std::string> underTrim;
    std::string channelEntry;
    ui::CModalDriver driver([&](CDialog& trim) {
        EXPECT_EQ(trim.GetTemplateID(), static_cast<UINT>(IDD_RACK_TRIM20));
        channelEntry = m_frame.m_strSlotAoParams[kSlotModule];
        ui::Click(trim, rack_trim::IDC_DOWN1);
        for (int i = 0; i < 2; ++i) {
            trim.FireTimer(kPollTimer);
            dlg.FireTimer(kPollTimer);
        }
        ui::Click(trim, rack_trim::IDC_SAVE);
        trim.FireTimer(kPollTimer);
        dlg.FireTimer(kPollTimer);
        trim.FireTimer(kPollTimer);
        underTrim = TakeRequests();
    });
    ASSERT_TRUE(ui::Click(dlg, rack_ao::IDC_TRIM20));
    Tick(dlg, 2);
    EXPECT_EQ(channelEntry, "0");
    EXPECT_EQ(underTrim,
              (std::vector<std::string>{"#00S1C020.000", "$00S1C06", "$00S1C0301", "$00S1C16",
                                        "$00S1C0301", "$00S1C26", "$00S1C01", "$00S1C36"}));
    EXPECT_EQ(m_boxes.Texts(), std::vector<std::string>{"20mA Calibration Succeeded!"});
    EXPECT_TRUE(dlg.IsRunning());
    EXPECT_TRUE(dlg.IsTimerActive(kPollTimer));
    Tick(dlg);
    EXPECT_EQ(TakeRequests(), std::vector<std::string>{"$00S1C06"});
}

TEST_F(TrimFromV1359, ARefusedDriveOpensNoTrim)
{
    CV1359 dlg;
    dlg.Create(IDD_RACK_AO);
    Tick(dlg, 8);
    bool opened = false;
    ui::CModalDriver driver([&](CDialog&) { opened = true; });
    m_pRack->SlotAs<CSimAnalogOutputSlot>(1).Channel(0).cRange = '2'; // 20 is out of 0 ~ 10 V
    ui::Click(dlg, rack_ao::IDC_TRIM20);
    Tick(dlg, 2);
    EXPECT_FALSE(opened);
    EXPECT_EQ(m_frame.m_strSlotAoParams[kSlotModule], "1359");
    EXPECT_TRUE(m_boxes.Texts().empty());
}

// Esc, the close box and Cancel each stop the timer and end the dialog; the rack's line stays open.
TEST_F(Trim, EveryWayToCloseEndsItAndLeavesTheLineOpen)
{
    enum Way { Escape, CloseBox, CancelButton };
    for (Way way : {Escape, CloseBox, CancelButton}) {
        SCOPED_TRACE(way);
        CTrim4mAForTest dlg;
        dlg.Create(IDD_RACK_TRIM4);
        ASSERT_TRUE(m_link.IsAsciiOpen());
        switch (way) {
        case Escape:
            ui::PressKey(dlg, Qt::Key_Escape);
            break;
        case CloseBox:
            ui::CloseBox(dlg);
            break;
        case CancelButton:
            ui::Click(dlg, IDCANCEL);
            break;
        }
        EXPECT_FALSE(dlg.IsRunning());
        EXPECT_FALSE(dlg.IsTimerActive(kPollTimer));
        EXPECT_TRUE(m_link.IsAsciiOpen());
    }
}
