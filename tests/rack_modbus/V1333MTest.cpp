// The Modbus rack window against a simulated rack: the table read (asked until answered), its parse
// into names, firmware and addresses, the tabs and their pages, closing, and replies that answer
// nothing.
#include "RackFixture.h"
#include "SpoiltLine.h"

#include <QWidget>

namespace {

class V1333M : public CRackFixture {};

} // namespace

TEST_F(V1333M, ReadsTheSlotTableOnceAndListsTheSlots)
{
    Populate({{0, kSimSlotEmpty, 0x0001, 0x0010}, {2, kSimSlot1371, 0x0021, 0x0030}});
    m_rack.SetFirmware(0x0105);
    m_rack.SetBaud(19200);
    m_rack.SetParity(1);
    m_frame.m_strRackParams[kBrate] = "07";
    m_frame.m_nParity = 1;
    m_dlg.Create(IDD_V1333M);
    EXPECT_EQ(TakeRequests(), std::vector<std::string>{RtuFrame("010327100026")});
    EXPECT_EQ(m_link.Line(1).dwBaud, 19200u);
    EXPECT_EQ(m_link.Line(1).nParity, 1);
    EXPECT_TRUE(m_link.IsRtuOpen());
    EXPECT_EQ(m_dlg.GetDlgItemText(IDC_RACK_MODULE), "Vekt-1333E");
    EXPECT_EQ(m_dlg.GetDlgItemText(IDC_RACK_FIRMWARE), "");

    Tick(m_dlg, 3);
    EXPECT_TRUE(TakeRequests().empty()); // the window's own ticks only redraw
    EXPECT_EQ(m_dlg.GetDlgItemText(IDC_RACK_FIRMWARE), "01.05");
    const CRackState& rack = RackState();
    EXPECT_EQ(rack.strSlotModule,
              (SlotTexts{"NONE", "NONE", "Vekt-1371", "NONE", "NONE", "NONE", "NONE", "NONE"}));
    EXPECT_EQ(rack.strSlotStart[0], "00001");
    EXPECT_EQ(rack.strSlotEnd[0], "00016");
    EXPECT_EQ(rack.strSlotStart[2], "00033");
    EXPECT_EQ(m_dlg.m_strSlotCode[2], "71");
    EXPECT_EQ(m_dlg.m_strSlotCode[3], "FF");
    // Only the digital page exists.
    EXPECT_EQ(Analog(), nullptr);
    ASSERT_NE(Digital(), nullptr);
    EXPECT_EQ(rack.bRtuIoPage, 1);
    EXPECT_EQ(rack.bAnalogPage, 0);

    Tick(*MainPage());
    EXPECT_EQ(MainPage()->GetDlgItemText(kRackMainModuleIds[2]), "Vekt-1371");
    EXPECT_EQ(MainPage()->GetDlgItemText(kRackMainModuleIds[7]), "NONE");
    EXPECT_EQ(MainPage()->GetDlgItemText(kRackMainStartIds[0]), "00001");
    EXPECT_EQ(MainPage()->GetDlgItemText(kRackMainEndIds[7]), "00000");
}

TEST_F(V1333M, TabsNameTheSlotsAsWritten)
{
    Open();
    auto* tabs = m_dlg.GetDlgItemAs<CTabCtrl>(IDC_RACK_TAB);
    std::vector<std::string> names;
    for (int i = 0; i < tabs->GetItemCount(); ++i) names.push_back(tabs->GetItemText(i));
    EXPECT_EQ(names, (std::vector<std::string>{"Main", "Slot0", "Slot1", "Slot2", "slot3", "Slot4",
                                               "Slot5", "Slot6", "Slot7"}));
}

TEST_F(V1333M, EachTabShowsItsSlotsPageAndTheViewAboveTheTabs)
{
    Populate({{1, kSimSlot1384H, 40009, 40016},
              {2, kSimSlot1371, 0x0021, 0x0030},
              {5, kSimSlot1380, 40041, 40043}});
    Open();
    ASSERT_NE(Analog(), nullptr);
    ASSERT_NE(Digital(), nullptr);
    EXPECT_TRUE(MainPage()->IsWindowVisible());
    EXPECT_FALSE(Analog()->IsWindowVisible());
    EXPECT_FALSE(Digital()->IsWindowVisible());

    struct Row {
        int tab;
        bool main, analog, digital;
        const char* module;
    } rows[] = {
        {3, false, false, true, "Vekt-1371"},  {2, false, true, false, "Vekt-1384H"},
        {6, false, true, false, "Vekt-1380"},  {4, false, false, false, "NONE"},
        {0, true, false, false, "Vekt-1333E"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.tab);
        ASSERT_TRUE(SelectTab(row.tab));
        EXPECT_EQ(RackState().nCurrentSlot, row.tab - 1);
        EXPECT_EQ(MainPage()->IsWindowVisible(), row.main);
        EXPECT_EQ(Analog()->IsWindowVisible(), row.analog);
        EXPECT_EQ(Digital()->IsWindowVisible(), row.digital);
        Tick(m_dlg);
        EXPECT_EQ(m_dlg.GetDlgItemText(IDC_RACK_MODULE), row.module);
        bool slotView = row.tab > 0;
        // One label in the place the two share.
        EXPECT_EQ(m_dlg.GetDlgItem(IDC_RACK_SLOT_LABEL)->IsWindowVisible(), slotView);
        EXPECT_EQ(m_dlg.GetDlgItem(IDC_RACK_FIRMWARE_LABEL)->IsWindowVisible(), !slotView);
        EXPECT_EQ(m_dlg.GetDlgItem(IDC_RACK_START)->IsWindowVisible(), slotView);
    }
    SelectTab(6);
    Tick(m_dlg);
    EXPECT_EQ(m_dlg.GetDlgItemText(IDC_RACK_SLOT), "5");
    EXPECT_EQ(m_dlg.GetDlgItemText(IDC_RACK_START), "40041");
    EXPECT_EQ(m_dlg.GetDlgItemText(IDC_RACK_END), "40043");
}

TEST_F(V1333M, PagesSitInTheSelectionRectangleTheMainPageFirstInItsOwn)
{
    Populate({{0, kSimSlot1327, 1, 16}});
    m_dlg.Create(IDD_V1333M);
    CRect tab;
    m_dlg.m_tab.GetClientRect(&tab);
    QRect first = MainPage()->GetWidget()->geometry();
    EXPECT_EQ(first, QRect(1, 30, tab.Width() - 3, tab.Height() - 32));
    Tick(m_dlg);
    SelectTab(1);
    EXPECT_EQ(Digital()->GetWidget()->geometry(),
              QRect(10, 25, tab.Width() - 30, tab.Height() - 45));
    SelectTab(0);
    EXPECT_EQ(MainPage()->GetWidget()->geometry(),
              QRect(10, 25, tab.Width() - 30, tab.Height() - 45));
}

TEST_F(V1333M, TwoAnalogSlotsShareOnePage)
{
    Populate({{0, kSimSlot1384H, 40001, 40008}, {3, kSimSlot1386, 40025, 40031}});
    Open();
    CV1384HM* page = Analog();
    SelectTab(1);
    SelectTab(4);
    EXPECT_EQ(Analog(), page);
    EXPECT_EQ(RackState().nCurrentSlot, 3);
    EXPECT_TRUE(page->IsWindowVisible());
}

TEST_F(V1333M, ATabChosenBeforeTheTableIsHandledShowsItsPageOnlyWhenChosenAgain)
{
    Populate({{0, kSimSlot1327, 1, 16}});
    m_dlg.Create(IDD_V1333M);
    SelectTab(1);
    EXPECT_EQ(Digital(), nullptr);
    Tick(m_dlg);
    ASSERT_NE(Digital(), nullptr);
    EXPECT_FALSE(Digital()->IsWindowVisible());
    SelectTab(0);
    SelectTab(1);
    EXPECT_TRUE(Digital()->IsWindowVisible());
}

TEST_F(V1333M, OnlyThePageOfTheSelectedSlotsKindUsesTheLine)
{
    Populate({{0, kSimSlot1384H, 40001, 40008}, {1, kSimSlot1327, 17, 32}});
    Open();
    auto pages = [this] {
        TakeRequests();
        Tick(*Analog());
        Tick(*Digital());
        Tick(*MainPage());
        return TakeRequests();
    };
    EXPECT_TRUE(pages().empty()); // the main tab
    SelectTab(1);
    EXPECT_EQ(pages(), std::vector<std::string>{RtuFrame("010327D80040")});
    SelectTab(2);
    EXPECT_EQ(pages(), std::vector<std::string>{RtuFrame("010100100010")});
    SelectTab(1);
    EXPECT_EQ(pages(), std::vector<std::string>{RtuFrame("010300000008")});
}

TEST_F(V1333M, ALineThatDoesNotOpenLeavesAnEmptyWindowThatStillCloses)
{
    m_frame.m_nComPort = 2; // no device there
    m_dlg.Create(IDD_V1333M);
    EXPECT_EQ(m_boxes.Texts(), std::vector<std::string>{"Open Com Error!"});
    EXPECT_TRUE(m_link.Requests().empty());
    EXPECT_FALSE(m_dlg.IsTimerActive(kPollTimer));
    EXPECT_EQ(m_dlg.m_nPort, 0); // Cancel closes no port it never opened
    EXPECT_TRUE(MainPage()->IsWindowVisible());
    EXPECT_EQ(Analog(), nullptr);
    ASSERT_TRUE(ui::Click(m_dlg, IDCANCEL));
    EXPECT_FALSE(m_dlg.IsRunning());
}

TEST_F(V1333M, AnUnansweredTableReadLeavesEverySlotEmpty)
{
    m_rack.Faults().nSilentAfter = 0;
    m_dlg.Create(IDD_V1333M);
    EXPECT_EQ(m_boxes.Texts(), std::vector<std::string>{"Initialize Error!"});
    EXPECT_TRUE(m_dlg.IsTimerActive(kPollTimer));
    Tick(m_dlg, 2);
    EXPECT_EQ(m_dlg.m_strData, "ERROR");
    EXPECT_EQ(m_dlg.GetDlgItemText(IDC_RACK_FIRMWARE), "");
    EXPECT_EQ(RackState().strSlotModule, SlotTexts{});
    EXPECT_EQ(Analog(), nullptr);
    EXPECT_EQ(Digital(), nullptr);
}

// A table read that got no answer (silence, a reply cut short or padded, line noise) is asked again
// on the next tick until the unit answers it, and the table then shows; "Initialize Error!" tells
// of the first miss only. Nothing else goes out meanwhile, and nothing once the table came.
TEST_F(V1333M, ATableReadWithoutAnAnswerIsAskedAgainUntilTheTableShows)
{
    Populate({{2, kSimSlot1371, 0x0021, 0x0030}});
    const std::string read = RtuFrame("010327100026");
    for (ESpoil spoil : {ESpoil::Silent, ESpoil::Cut, ESpoil::Padded, ESpoil::Garbled}) {
        SCOPED_TRACE(SpoilName(spoil));
        m_boxes.m_boxes.clear();
        CSpoiltLine line(spoil, "01 03 27 10", 2);
        CV1333M dlg;
        dlg.Create(IDD_V1333M);
        EXPECT_EQ(m_boxes.Texts(), std::vector<std::string>{kInitializeError});
        Tick(dlg, 2); // asked again and lost again, then asked again and answered
        EXPECT_EQ(RackState().strSlotModule, SlotTexts{});
        EXPECT_EQ(TakeRequests(), (std::vector<std::string>{read, read, read}));
        Tick(dlg, 3);
        EXPECT_TRUE(TakeRequests().empty());
        EXPECT_EQ(RackState().strSlotModule[2], "Vekt-1371");
        EXPECT_EQ(dlg.m_strSlotCode[2], "71");
        EXPECT_NE(dlg.m_tab.m_pDigitalPage, nullptr);
        EXPECT_EQ(m_boxes.Texts(), std::vector<std::string>{kInitializeError});
        dlg.OnCancel();
    }
}

// The unit's refusal of the table read is its answer: the read is not asked again.
TEST_F(V1333M, ARefusedTableReadIsNotAskedAgain)
{
    CSpoiltLine line(ESpoil::Refused, "01 03 27 10", 1);
    m_dlg.Create(IDD_V1333M);
    EXPECT_EQ(m_boxes.Texts(), std::vector<std::string>{kInitializeError});
    TakeRequests();
    Tick(m_dlg, 4);
    EXPECT_TRUE(TakeRequests().empty());
    EXPECT_EQ(RackState().strSlotModule, SlotTexts{});
    EXPECT_EQ(Digital(), nullptr);
}

// An exception reply or a reply of the wrong size is no table: its CRC digits would otherwise
// become slot codes.
class V1333MNoTable : public CRackFixture {
protected:
    void ExpectNoTable()
    {
        m_dlg.Create(IDD_V1333M);
        Tick(m_dlg);
        EXPECT_EQ(m_boxes.Texts(), std::vector<std::string>{"Initialize Error!"});
        EXPECT_EQ(m_dlg.m_strData, "ERROR");
        EXPECT_EQ(m_dlg.GetDlgItemText(IDC_RACK_FIRMWARE), "");
        EXPECT_EQ(RackState().strSlotModule, SlotTexts{});
        EXPECT_EQ(Digital(), nullptr);
        EXPECT_EQ(Analog(), nullptr);
    }
};

TEST_F(V1333MNoTable, AShortReply)
{
    m_rack.Faults().nCutTo = 40;
    ExpectNoTable();
}

// The link copies a reply of up to its full size and a byte more: a reply far longer than the
// table's must neither overrun a buffer nor pass for the table.
TEST_F(V1333MNoTable, AReplyLongerThanTheTable)
{
    m_rack.Faults().nLongTo = 2999;
    ExpectNoTable();
}

TEST_F(V1333MNoTable, AnExceptionReply)
{
    m_rack.SetAddress(7);
    m_bus.Add("6384", 1, 9600, ESimProtocol::Rtu); // a module without the rack's registers
    ExpectNoTable();
}

TEST_F(V1333M, ClosingStopsTheTimerClosesTheLineAndClearsTheSlotTable)
{
    Populate({{0, kSimSlot1384H, 40001, 40008}, {1, kSimSlot1327, 17, 32}});
    {
        ui::CModalDriver driver([this](CDialog& dlg) {
            dlg.FireTimer(kPollTimer);
            EXPECT_EQ(RackState().strSlotModule[0], "Vekt-1384H");
            EXPECT_EQ(RackState().bAnalogPage, 1);
            ui::CloseBox(dlg);
            EXPECT_FALSE(dlg.IsTimerActive(kPollTimer));
            EXPECT_FALSE(m_link.IsRtuOpen());
        });
        CV1333M dlg;
        dlg.DoModal();
        EXPECT_EQ(RackState().strSlotModule, SlotTexts{});
        EXPECT_EQ(RackState().strSlotStart, SlotTexts{});
        // The pages' windows went with the window's.
        ASSERT_NE(dlg.m_tab.m_pAnalogPage, nullptr);
        EXPECT_EQ(dlg.m_tab.m_pAnalogPage->GetWidget(), nullptr);
        EXPECT_FALSE(dlg.m_tab.m_pAnalogPage->IsTimerActive(kPollTimer));
    }
    // Reopened: no pages yet, main tab.
    m_rack.Faults().nSilentAfter = 0;
    ui::CModalDriver driver([](CDialog&) {
        EXPECT_EQ(RackState().bAnalogPage, 0);
        EXPECT_EQ(RackState().bRtuIoPage, 0);
        EXPECT_EQ(RackState().nCurrentSlot, -1);
    });
    CV1333M again;
    again.DoModal();
}
