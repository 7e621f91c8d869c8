// The digital slot dialog against the digital slot modules of a simulated rack.
#include "rack/V1327.h"
#include "RackFixture.h"
#include "rack/RackIds.h"

#include "Resource.h"
#include "UiDriver.h"

namespace {

// Lamp row as the operator sees it, channel 15 first: r on, w off, g grey.
std::string Lamps(CDialog& dlg, const int (&ids)[16])
{
    std::string row;
    for (int ch = 15; ch >= 0; --ch) {
        HICON icon = dlg.GetDlgItemAs<CStatic>(ids[ch])->GetIcon();
        row += icon == IDI_LAMP_ON ? 'r' : icon == IDI_LAMP_OFF ? 'w' : 'g';
    }
    return row;
}

// The watchdog boxes, channel 15 first: shown (v) or hidden (-); ticked (x) or not (.).
std::string Boxes(CDialog& dlg, bool visibility)
{
    std::string row;
    for (int ch = 15; ch >= 0; --ch) {
        if (visibility)
            row += dlg.GetDlgItem(rack_dio::kWdtBoxIds[ch])->IsWindowVisible() ? 'v' : '-';
        else
            row += dlg.IsDlgButtonChecked(rack_dio::kWdtBoxIds[ch]) ? 'x' : '.';
    }
    return row;
}

// Slots: 0 1327, 1 1359, 2 1323, 3 1371, 4 1328, 5 1325.
class V1327 : public CRackFixture {
protected:
    V1327() { OpenLine(); }
    void Open(CV1327& dlg, const char* slot, const char* model)
    {
        m_frame.m_strSlotDioParams = {"50", "", slot, "", "", model};
        dlg.Create(IDD_RACK_DIO);
    }
    // Opens on the 1327 in slot 0 and runs the start-up reads and the first poll.
    void OpenPolling()
    {
        Open(m_dlg, "0", "1327");
        Tick(m_dlg, 4);
        TakeRequests();
    }
    CSimDigitalSlot& Module(int slot) { return m_pRack->SlotAs<CSimDigitalSlot>(slot); }
    void ClickLamp(CDialog& dlg, int channel, int modifiers = 0)
    {
        ui::ClickAt(dlg, ui::CentreOf(dlg, rack_dio::kOutputLampIds[channel]), modifiers);
    }

    CV1327 m_dlg;
};

} // namespace

TEST_F(V1327, EachModelShowsItsLampsAndWatchdogBoxes)
{
    Module(0).SetWatchdogPattern(0x8001);
    Module(0).SetInputs(0xFFFF); // a 1327 has no inputs: its input lamps stay grey
    Module(3).SetWatchdogPattern(0x0081);
    Module(4).SetInputs(0xC003);
    Module(5).SetInputs(0xFF81);
    struct Case {
        const char* slot;
        const char* model;
        const char* di;
        const char* out;
        const char* shown;
        const char* ticked;
    } cases[] = {
        {"0", "1327", "gggggggggggggggg", "wwwwwwwwwwwwwwww", "vvvvvvvvvvvvvvvv",
         "x..............x"},
        {"3", "1371", "gggggggggggggggg", "ggggggggwwwwwwww", "--------vvvvvvvv",
         "........x......x"},
        {"4", "1328", "rrwwwwwwwwwwwwrr", "gggggggggggggggg", "----------------",
         "................"},
        {"5", "1325", "ggggggggrwwwwwwr", "gggggggggggggggg", "----------------",
         "................"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.model);
        TakeRequests();
        CV1327 dlg;
        Open(dlg, c.slot, c.model);
        EXPECT_EQ(dlg.GetDlgItemText(rack_dio::IDC_MODEL), c.model);
        EXPECT_EQ(Lamps(dlg, rack_dio::kOutputLampIds), "wwwwwwwwwwwwwwww");
        Tick(dlg, 4);
        std::string s = c.slot;
        EXPECT_EQ(TakeRequests(),
                  (std::vector<std::string>{"$50S" + s + "M", "$50XS" + s, "$50S" + s + "6"}));
        EXPECT_EQ(Lamps(dlg, rack_dio::kInputLampIds), c.di);
        EXPECT_EQ(Lamps(dlg, rack_dio::kOutputLampIds), c.out);
        EXPECT_EQ(Boxes(dlg, true), c.shown);
        EXPECT_EQ(Boxes(dlg, false), c.ticked);
        dlg.OnCancel();
        EXPECT_TRUE(m_link.IsAsciiOpen()); // the main unit's line stays open
    }
}

TEST_F(V1327, The1323ReadsItsDirectionsFirstAndRepeatsUntilAcknowledged)
{
    Module(2).SetDirections(0x0005); // channels 0 and 2 are inputs
    Module(2).SetInputs(0x0001);
    m_pRack->Faults().nSilentAfter = 0;
    Open(m_dlg, "2", "1323");
    Tick(m_dlg, 4);
    EXPECT_EQ(TakeRequests(), (std::vector<std::string>{"$50S27", "$50S27", "$50S27"}));
    m_pRack->Faults().nSilentAfter = -1;
    ui::Click(m_dlg, rack_dio::kWdtBoxIds[0]);
    Tick(m_dlg, 7);
    EXPECT_EQ(TakeRequests(), (std::vector<std::string>{"$50S27", "$50XS2", "$50S26"}));
    EXPECT_EQ(Lamps(m_dlg, rack_dio::kInputLampIds), "gggggggggggggwgr");
    EXPECT_EQ(Lamps(m_dlg, rack_dio::kOutputLampIds), "wwwwwwwwwwwwwgwg");
    EXPECT_EQ(Boxes(m_dlg, true), "--------vvvvvvvv");
    // A click on a channel that is an input switches nothing.
    ClickLamp(m_dlg, 2);
    Tick(m_dlg);
    EXPECT_EQ(TakeRequests(), std::vector<std::string>{"$50S26"});
    ClickLamp(m_dlg, 1);
    Tick(m_dlg, 2); // the acknowledged switch is followed by the poll in the same tick
    EXPECT_EQ(TakeRequests(), (std::vector<std::string>{"#50S21101", "$50S26"}));
    EXPECT_EQ(Module(2).Outputs(), 0x0002);
}

TEST_F(V1327, StatusDigitsLightOutputsAndHiddenEditsShowTheBytes)
{
    OpenPolling();
    Module(0).SetInputs(0);
    ASSERT_NO_FATAL_FAILURE({
        for (int ch : {0, 15}) {
            ClickLamp(m_dlg, ch);
            Tick(m_dlg, 2);
        }
    });
    TakeRequests();
    Tick(m_dlg, 2);
    EXPECT_EQ(Module(0).Outputs(), 0x8001);
    EXPECT_EQ(Lamps(m_dlg, rack_dio::kOutputLampIds), "rwwwwwwwwwwwwwwr");
    EXPECT_EQ(m_dlg.GetDlgItemText(rack_dio::IDC_HIGH_BYTE), "0x80");
    EXPECT_EQ(m_dlg.GetDlgItemText(rack_dio::IDC_LOW_BYTE), "0x01");
    // A click on a lit output switches it off.
    ClickLamp(m_dlg, 15);
    Tick(m_dlg, 2);
    EXPECT_EQ(TakeRequests(), (std::vector<std::string>{"$50S06", "#50S01F00", "$50S06"}));
}

TEST_F(V1327, ARefusedSwitchIsSentAgainEverySecondTickWithoutPolling)
{
    OpenPolling();
    m_pRack->Faults().nSilentAfter = 0;
    ClickLamp(m_dlg, 3);
    Tick(m_dlg, 4);
    EXPECT_EQ(TakeRequests(), (std::vector<std::string>{"#50S01301", "#50S01301"}));
    m_pRack->Faults().nSilentAfter = -1;
    Tick(m_dlg, 2);
    EXPECT_EQ(TakeRequests(), (std::vector<std::string>{"#50S01301", "$50S06"}));
    EXPECT_EQ(Module(0).Outputs(), 0x0008);
}

TEST_F(V1327, ShiftClicksAndClicksBesideLampsSwitchNothingButDropThePendingReply)
{
    OpenPolling();
    Tick(m_dlg); // a poll awaits its evaluation
    TakeRequests();
    ClickLamp(m_dlg, 3, Qt::ShiftModifier);
    Tick(m_dlg); // the dropped evaluation leaves the poll to go out at once
    EXPECT_EQ(TakeRequests(), std::vector<std::string>{"$50S06"});
    ui::ClickAt(m_dlg, {2, 2});
    Tick(m_dlg);
    EXPECT_EQ(TakeRequests(), std::vector<std::string>{"$50S06"});
    EXPECT_EQ(Module(0).Outputs(), 0);
}

TEST_F(V1327, InputOnlyModelsTakeNoClickOnTheirGreyLamps)
{
    for (const char* slot : {"4", "5"}) {
        SCOPED_TRACE(slot);
        CV1327 dlg;
        Open(dlg, slot, slot[0] == '4' ? "1328" : "1325");
        Tick(dlg, 4);
        TakeRequests();
        for (int ch : {0, 7, 15}) ClickLamp(dlg, ch);
        Tick(dlg, 4);
        for (const std::string& request : TakeRequests()) EXPECT_NE(request[0], '#') << request;
        dlg.OnCancel();
    }
}

TEST_F(V1327, UpdataWritesThePatternEvenWithAPollInFlightAndEnds)
{
    Module(0).SetWatchdogPattern(0x0100);
    OpenPolling();
    ui::Click(m_dlg, rack_dio::kWdtBoxIds[0]);
    ui::Click(m_dlg, rack_dio::kWdtBoxIds[15]);
    Tick(m_dlg); // the poll goes out
    TakeRequests();
    ui::Click(m_dlg, rack_dio::IDC_UPDATA);
    Tick(m_dlg);
    EXPECT_EQ(TakeRequests(), std::vector<std::string>{"$50XS0D8101"});
    Tick(m_dlg);
    EXPECT_EQ(m_boxes.Texts(), std::vector<std::string>{"Update WDT Setting OK!"});
    EXPECT_EQ(m_boxes.m_boxes[0].caption, "Setting");
    EXPECT_FALSE(m_dlg.IsRunning());
    EXPECT_TRUE(TakeRequests().empty());
    EXPECT_TRUE(m_link.IsAsciiOpen());
    EXPECT_EQ(Module(0).WatchdogPattern(), 0x8101);
}

TEST_F(V1327, RefusedPatternWriteShowsTheFailureAndEnds)
{
    OpenPolling();
    m_pRack->Faults().nGarbage = 5;
    ui::Click(m_dlg, rack_dio::IDC_UPDATA);
    Tick(m_dlg, 2);
    EXPECT_EQ(m_boxes.Texts(), std::vector<std::string>{"Update WDT Setting Fail!"});
    EXPECT_FALSE(m_dlg.IsRunning());
}

TEST_F(V1327, WithTheChecksumOnRequestsCarryItAndBoxesAreNotLoaded)
{
    ChecksumOn();
    Module(0).SetWatchdogPattern(0xFFFF);
    Open(m_dlg, "0", "1327");
    Tick(m_dlg, 4);
    EXPECT_EQ(TakeRequests(), Wire({"$50S0M", "$50XS0", "$50S06"}));
    EXPECT_EQ(Boxes(m_dlg, false), "................");
    ClickLamp(m_dlg, 10);
    Tick(m_dlg, 2);
    EXPECT_EQ(TakeRequests(), Wire({"#50S01A01", "$50S06"}));
}

TEST_F(V1327, AnUnansweredFirstRequestIsReportedAndPollingGoesOn)
{
    m_pRack->Faults().nSilentAfter = 0;
    Open(m_dlg, "0", "1327");
    EXPECT_EQ(m_boxes.Texts(), std::vector<std::string>{"Reading Alarm Mask Setting Error!"});
    m_pRack->Faults().nSilentAfter = -1;
    Tick(m_dlg, 4);
    EXPECT_EQ(TakeRequests(), (std::vector<std::string>{"$50S0M", "$50XS0", "$50S06"}));
    EXPECT_TRUE(m_dlg.IsTimerActive(kPollTimer));
}
