// The rack main unit's ASCII dialog against a simulated rack.
#include "rack/V1333E.h"
#include "RackFixture.h"
#include "rack/RackIds.h"

#include "LateLine.h"
#include "ModuleDialogs.h"
#include "ScreenTexts.h"
#include "ScriptedLine.h"
#include "SpoiltLine.h"
#include "UiDriver.h"

#include <optional>

namespace {

constexpr int kStandInTemplate = 9101;
const bool g_standInTemplate = RegisterDialogTemplate(
    {kStandInTemplate, "Stand-in", 100, 40, {{IDOK, CtlKind::Button, "OK", 5, 5, 40, 14}}});

// What a slot dialog found when it opened: its class and the three slot blocks.
struct SOpened {
    std::string strClass;
    ModuleParamBlock dio, ai, ao;
};

class CSlotStandIn : public CDialog {
public:
    CSlotStandIn(std::string className, std::vector<SOpened>& log)
        : CDialog(kStandInTemplate), m_strClass(std::move(className)), m_log(log)
    {
    }
    BOOL OnInitDialog() override
    {
        CDialog::OnInitDialog();
        CMainFrame* frame = GetMainFrame();
        m_log.push_back({m_strClass, frame->m_strSlotDioParams, frame->m_strSlotAiParams,
                         frame->m_strSlotAoParams});
        return TRUE;
    }

private:
    std::string m_strClass;
    std::vector<SOpened>& m_log;
};

class V1333E : public CRackFixture {
protected:
    explicit V1333E(const char* slotCodes = "27,59,80,4H,13,FF,00,71", const char* address = "50")
        : CRackFixture(slotCodes, address)
    {
    }
    void Open() { m_dlg.Create(IDD_RACK_MAIN); }
    // Opens the dialog and runs its six-tick opening sequence.
    void OpenAndRead()
    {
        Open();
        Tick(m_dlg, 6);
        TakeRequests();
    }
    CListCtrl& List() { return *m_dlg.GetDlgItemAs<CListCtrl>(rack_main::IDC_LIST); }
    std::vector<std::string> ListRows()
    {
        std::vector<std::string> rows;
        for (int i = 0; i < List().GetItemCount(); ++i)
            rows.push_back(List().GetItemText(i, 0) + "|" + List().GetItemText(i, 1) + "|" +
                           List().GetItemText(i, 2));
        return rows;
    }
    int Row(int id) { return m_dlg.GetDlgItemAs<CComboBox>(id)->GetCurSel(); }
    bool Enabled(int id) { return m_dlg.GetDlgItem(id)->IsWindowEnabled(); }
    // Stand-ins for every slot dialog, recording what they find.
    void StandInForSlotDialogs()
    {
        for (const char* cls : {"CV1327", "CV1359", "CV1300", "CV1384H"}) {
            std::string name = cls;
            m_standIns.push_back(std::make_unique<CScopedModuleDialog>(
                name, [this, name] { return std::make_unique<CSlotStandIn>(name, m_opened); }));
        }
    }

    // What the operator sees: the settings, the slot rows and which watchdog controls work.
    static std::vector<std::string> Screen(CV1333E& dlg)
    {
        std::vector<std::string> screen = ScreenTexts(dlg);
        auto* list = dlg.GetDlgItemAs<CListCtrl>(rack_main::IDC_LIST);
        for (int i = 0; i < list->GetItemCount(); ++i)
            screen.push_back(list->GetItemText(i, 0) + "|" + list->GetItemText(i, 1));
        for (int id : {static_cast<int>(rack_main::IDC_MODBUS_PARITY),
                       static_cast<int>(rack_main::IDC_WDT_TIMEOUT),
                       static_cast<int>(rack_main::IDC_REFRESH), rack_main::kWdtBoxIds[0]})
            screen.push_back(dlg.GetDlgItem(id)->IsWindowEnabled() ? "enabled" : "disabled");
        return screen;
    }
    // The screens after the opening sequence (six ticks) and four ticks later, with the first
    // request that begins with read spoilt so (none: as the unit gives it).
    std::pair<std::vector<std::string>, std::vector<std::string>>
    OpeningScreens(const std::string& read, std::optional<ESpoil> spoil)
    {
        std::optional<CSpoiltLine> line;
        if (spoil) line.emplace(*spoil, read);
        CV1333E dlg;
        dlg.Create(IDD_RACK_MAIN);
        Tick(dlg, 6);
        std::vector<std::string> opened = Screen(dlg);
        Tick(dlg, 4);
        std::vector<std::string> later = Screen(dlg);
        dlg.OnCancel();
        return {opened, later};
    }

    CV1333E m_dlg;
    std::vector<SOpened> m_opened;
    std::vector<std::unique_ptr<CScopedModuleDialog>> m_standIns;
    ui::CModalDriver m_modal{[](CDialog&) {}};
};

} // namespace

TEST_F(V1333E, OpeningSequenceReadsTheTableAndSettingsTickByTick)
{
    for (bool checksum : {false, true}) {
        SCOPED_TRACE(checksum);
        if (checksum) ChecksumOn();
        m_pRack->SetFormat(0x04); // protocol digit: Modbus
        m_pRack->SetWatchdogEnables(0x81);
        Link().Close_ComAscii(1);
        CV1333E dlg;
        dlg.Create(IDD_RACK_MAIN);
        EXPECT_EQ(TakeRequests(), Wire({"$50T"}));
        EXPECT_TRUE(dlg.IsTimerActive(kPollTimer));
        const std::vector<std::vector<std::string>> ticks = {
            Wire({"$502"}), Wire({"$50OU"}), Wire({"$50XR"}), {}, Wire({"$50XER"}), {}, {}, {}};
        for (size_t t = 0; t < ticks.size(); ++t) {
            Tick(dlg);
            EXPECT_EQ(TakeRequests(), ticks[t]) << "tick " << t + 1;
        }
        EXPECT_EQ(dlg.GetDlgItemAs<CListCtrl>(rack_main::IDC_LIST)->GetItemCount(), 7);
        EXPECT_EQ(dlg.GetDlgItemAs<CComboBox>(rack_main::IDC_PROTOCOL)->GetCurSel(), 1);
        EXPECT_TRUE(dlg.GetDlgItem(rack_main::IDC_MODBUS_PARITY)->IsWindowEnabled()); // Modbus
        EXPECT_EQ(dlg.GetDlgItemAs<CComboBox>(rack_main::IDC_MODBUS_PARITY)->GetCurSel(), 0);
        EXPECT_EQ(dlg.GetDlgItemAs<CComboBox>(rack_main::IDC_CHECKSUM)->GetCurSel(),
                  checksum ? 0 : 1);
        EXPECT_EQ(dlg.GetDlgItemText(rack_main::IDC_WDT_TIMEOUT), "010");
        EXPECT_EQ(dlg.m_bSlotWdt, (std::vector<int>{1, 0, 0, 0, 0, 0, 0, 1}));
        EXPECT_EQ(dlg.IsDlgButtonChecked(rack_main::kWdtBoxIds[7]), 1u);
        EXPECT_EQ(dlg.IsDlgButtonChecked(rack_main::kWdtBoxIds[6]), 0u);
        dlg.OnCancel();
        EXPECT_FALSE(m_link.IsAsciiOpen());
    }
}

TEST_F(V1333E, SlotListShowsEachOccupiedSlotWithItsModelAndDescription)
{
    OpenAndRead();
    EXPECT_EQ(ListRows(), (std::vector<std::string>{
                              "1327|0|Vekt-1327 16-channel digital output module",
                              "1359|1|Vekt-1359 4-channel analog output module",
                              "1300|2|Vekt-1300 3-channel RTD input module",
                              "1384H|3|Vekt-1384H 8-channel speed input module",
                              "1313|4|Vekt-1313 4 port RS-232 Communication module",
                              "1300|6|",
                              "1371|7|Vekt-1371 8-channel relay output module",
                          }));
    EXPECT_EQ(List().GetColumnHeading(2), "Description");
    EXPECT_EQ(List().GetColumnWidth(2), 350);
}

TEST_F(V1333E, UnansweredOrGarbledRepliesLeaveTheListEmptyAndDisableTheWatchdog)
{
    for (bool garbled : {false, true}) {
        SCOPED_TRACE(garbled);
        m_pRack->Faults().nGarbage = garbled ? 40 : 0;
        m_pRack->Faults().nSilentAfter = garbled ? -1 : 0;
        CV1333E dlg;
        dlg.Create(IDD_RACK_MAIN);
        Tick(dlg, 6);
        EXPECT_EQ(TakeRequests().size(), 5u); // the sequence goes on all the same
        EXPECT_EQ(dlg.GetDlgItemAs<CListCtrl>(rack_main::IDC_LIST)->GetItemCount(), 0);
        EXPECT_EQ(dlg.GetDlgItemAs<CComboBox>(rack_main::IDC_PROTOCOL)->GetCurSel(), -1);
        EXPECT_EQ(dlg.GetDlgItemAs<CComboBox>(rack_main::IDC_MODBUS_PARITY)->GetCurSel(), -1);
        EXPECT_FALSE(dlg.GetDlgItem(rack_main::IDC_WDT_TIMEOUT)->IsWindowEnabled());
        EXPECT_FALSE(dlg.GetDlgItem(rack_main::IDC_REFRESH)->IsWindowEnabled());
        EXPECT_FALSE(dlg.GetDlgItem(rack_main::kWdtBoxIds[0])->IsWindowEnabled());
        dlg.OnCancel();
    }
}

// An opening read takes only a reply that answers it: one cut short, of another lead, from another
// address, "!" and the address alone, or the reply of the read before, shows as silence does, and
// the read is asked again once the sequence has run, so the dialog ends as with good replies. The
// slot table and the slot enables are the unit's fixed forms, so padding spoils them too; the
// others are read at their places whatever follows, and the slot table's reply holds a
// configuration digit at place 6 (the reply forms' table shows those read).
TEST_F(V1333E, AnOpeningReadTakesOnlyItsOwnReplyAndIsAskedAgain)
{
    m_pRack->SetFormat(0x04); // Modbus: the parity list is enabled
    m_pRack->SetWatchdogEnables(0x81);
    auto good = OpeningScreens("", std::nullopt);
    const std::vector<ESpoil> spoils = {ESpoil::Cut, ESpoil::OtherLead, ESpoil::OtherAddress,
                                        ESpoil::Bare};
    struct Read {
        const char* request;
        std::vector<ESpoil> more;
    } reads[] = {{"$50T", {ESpoil::Padded, ESpoil::Stale}},
                 {"$502", {}},
                 {"$50OU", {ESpoil::Stale}},
                 {"$50XR", {ESpoil::Stale}},
                 {"$50XER", {ESpoil::Padded, ESpoil::Stale}}};
    for (const Read& read : reads) {
        SCOPED_TRACE(read.request);
        auto silent = OpeningScreens(read.request, ESpoil::Silent);
        EXPECT_NE(silent.first, good.first);
        EXPECT_EQ(silent.second, good.second);
        std::vector<ESpoil> answerNothing = spoils;
        answerNothing.insert(answerNothing.end(), read.more.begin(), read.more.end());
        for (ESpoil spoil : answerNothing) {
            SCOPED_TRACE(SpoilName(spoil));
            auto spoilt = OpeningScreens(read.request, spoil);
            EXPECT_EQ(spoilt.first, silent.first);
            EXPECT_EQ(spoilt.second, good.second);
        }
    }
}

// With every reply coming one request late, no opening read believes the reply of the read before:
// the time-out does not show "!50", no slot is listed, and no watchdog box is ticked.
TEST_F(V1333E, LateRepliesFillNothing)
{
    m_pRack->SetWatchdogEnables(0x01);
    CLateLine line;
    line.SetLate(true);
    Open();
    Tick(m_dlg, 20);
    EXPECT_EQ(List().GetItemCount(), 0);
    EXPECT_EQ(m_dlg.GetDlgItemText(rack_main::IDC_WDT_TIMEOUT), "");
    EXPECT_EQ(m_dlg.m_bSlotWdt, std::vector<int>(8, 0));
    EXPECT_EQ(Row(rack_main::IDC_PROTOCOL), -1);
    EXPECT_EQ(Row(rack_main::IDC_MODBUS_PARITY), -1);
    line.SetLate(false);
    Tick(m_dlg, 10);
    EXPECT_EQ(List().GetItemCount(), 7);
    EXPECT_EQ(m_dlg.GetDlgItemText(rack_main::IDC_WDT_TIMEOUT), "010");
    EXPECT_EQ(m_dlg.m_bSlotWdt, (std::vector<int>{1, 0, 0, 0, 0, 0, 0, 0}));
}

// A unit that answers in the usual forms: "$AA2" with six characters after the address (the
// protocol digit at place 6, whatever it is) and the time-out with four digits, of which the last
// three show. Each read goes out once and the window goes idle.
TEST_F(V1333E, AWiderConfigurationAndAFourDigitTimeOutAreReadOnceAndTheWindowGoesIdle)
{
    struct Case {
        const char* configuration;
        const char* timeout;
        const char* protocolShown;
        const char* timeoutShown;
    } cases[] = {{"!50000400", "!500030", "MODBUS", "030"},
                 {"!50060600", "!500010", "", "010"},
                 {"!50000000", "!501234", "Vekt ASCII", "234"}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.configuration);
        CScriptedLine line([&c](const std::string& r) -> std::optional<CScriptedLine::SAnswer> {
            if (r.starts_with("$502")) return CScriptedLine::SAnswer{c.configuration};
            if (r.starts_with("$50XR")) return CScriptedLine::SAnswer{c.timeout};
            return std::nullopt;
        });
        CV1333E dlg;
        dlg.Create(IDD_RACK_MAIN);
        Tick(dlg, 20);
        EXPECT_EQ(TakeRequests(),
                  (std::vector<std::string>{"$50T", "$502", "$50OU", "$50XR", "$50XER"}));
        auto* protocol = dlg.GetDlgItemAs<CComboBox>(rack_main::IDC_PROTOCOL);
        EXPECT_EQ(protocol->GetCurSel() < 0 ? "" : protocol->GetLBText(protocol->GetCurSel()),
                  c.protocolShown);
        EXPECT_EQ(dlg.GetDlgItemText(rack_main::IDC_WDT_TIMEOUT), c.timeoutShown);
        EXPECT_TRUE(dlg.GetDlgItem(rack_main::IDC_REFRESH)->IsWindowEnabled());
        dlg.OnCancel();
    }
}

// A refused read is the unit's answer: it is not asked again.
TEST_F(V1333E, ARefusedWatchdogReadIsNotAskedAgain)
{
    CSpoiltLine line(ESpoil::Refused, "$50XR");
    OpenAndRead();
    EXPECT_FALSE(Enabled(rack_main::IDC_WDT_TIMEOUT));
    EXPECT_FALSE(Enabled(rack_main::IDC_REFRESH));
    EXPECT_TRUE(Enabled(rack_main::kWdtBoxIds[0]));
    Tick(m_dlg, 6);
    EXPECT_EQ(TakeRequests(), std::vector<std::string>{});
}

// The unit's writes take only "!" and its address: a bare "!", another address or the unit's
// refusal confirms none of them.
TEST_F(V1333E, OnlyTheUnitsOwnAcknowledgementConfirmsTheWatchdog)
{
    for (const char* write : {"$50X0", "$50XEW"}) {
        for (ESpoil spoil : {ESpoil::Bare, ESpoil::OtherAddress, ESpoil::Refused}) {
            SCOPED_TRACE(std::string(write) + " " + SpoilName(spoil));
            m_boxes.m_boxes.clear();
            CV1333E dlg;
            dlg.Create(IDD_RACK_MAIN);
            Tick(dlg, 6);
            CSpoiltLine line(spoil, write, INT_MAX);
            ui::Click(dlg, rack_main::IDC_REFRESH);
            Tick(dlg, 6);
            EXPECT_GT(line.Spoilt(), 0);
            for (const std::string& box : m_boxes.Texts()) EXPECT_NE(box, "Update WDT Setting OK!");
            if (dlg.IsRunning()) dlg.OnCancel();
        }
    }
}

TEST_F(V1333E, AFailedOpenSendsNothingAndStartsNoTimer)
{
    m_link.Detach(1);
    Open();
    EXPECT_EQ(m_boxes.Texts(), std::vector<std::string>{"Open Com Error!"});
    EXPECT_TRUE(TakeRequests().empty());
    EXPECT_FALSE(m_dlg.IsTimerActive(kPollTimer));
    EXPECT_EQ(List().GetItemCount(), 0);
    ui::Click(m_dlg, rack_main::IDC_CANCEL);
    EXPECT_FALSE(m_dlg.IsRunning());
}

class V1333EAtAddress0 : public V1333E {
protected:
    V1333EAtAddress0() : V1333E("27,FF,FF,FF,FF,FF,FF,FF", "00") { m_pRack->SetInit(true); }
};

TEST_F(V1333E, ConfigurationControlsAreEnabledOnlyAtAddress00)
{
    struct Case {
        const char* address;
        const char* shown;
        bool enabled;
    } cases[] = {{"00", "0", true}, {"0A", "10", false}, {"50", "80", false}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.address);
        m_frame.m_strRackParams[kAddress] = c.address;
        CV1333E dlg;
        dlg.Create(IDD_RACK_MAIN);
        EXPECT_EQ(dlg.GetDlgItemText(rack_main::IDC_ADDRESS), c.shown);
        EXPECT_FALSE(dlg.GetDlgItem(rack_main::IDC_ADDRESS)->IsWindowEnabled());
        for (int id : {rack_main::IDC_BAUD, rack_main::IDC_CHECKSUM, rack_main::IDC_UPDATE,
                       rack_main::IDC_PROTOCOL, rack_main::IDC_MODBUS_PARITY})
            EXPECT_EQ(dlg.GetDlgItem(id)->IsWindowEnabled() != FALSE, c.enabled) << id;
        EXPECT_EQ(dlg.GetDlgItemAs<CComboBox>(rack_main::IDC_BAUD)->GetCurSel(), 3);
        dlg.OnCancel();
    }
}

TEST_F(V1333EAtAddress0, UpdateWritesParityThenConfigurationAndEnds)
{
    m_pRack->SetFormat(0x04); // Modbus: the parity list is enabled
    OpenAndRead();
    ui::ChooseRow(m_dlg, rack_main::IDC_BAUD, 4);
    ui::ChooseRow(m_dlg, rack_main::IDC_CHECKSUM, 0);
    ui::ChooseRow(m_dlg, rack_main::IDC_PROTOCOL, 1);
    ui::ChooseRow(m_dlg, rack_main::IDC_MODBUS_PARITY, 2);
    ASSERT_TRUE(ui::Click(m_dlg, rack_main::IDC_UPDATE));
    Tick(m_dlg);
    EXPECT_EQ(TakeRequests(), std::vector<std::string>{"#00OU04C"});
    Tick(m_dlg);
    EXPECT_EQ(TakeRequests(), std::vector<std::string>{"%00000744"});
    Tick(m_dlg);
    EXPECT_EQ(m_boxes.Texts(), std::vector<std::string>{"Setting Configuration OK!"});
    EXPECT_EQ(m_boxes.m_boxes[0].caption, "Setting");
    EXPECT_FALSE(m_dlg.IsRunning());
    EXPECT_FALSE(m_link.IsAsciiOpen());
    EXPECT_EQ(m_pRack->ModbusParity(), "04C");
    EXPECT_EQ(m_pRack->Baud(), 19200u);
}

// A unit that never told its protocol leaves that list without a row: the Update names it and
// nothing of it goes out until a row is chosen; the unit is only asked again for what it never
// answered.
TEST_F(V1333EAtAddress0, UpdateWithoutAProtocolRowNamesItAndSendsNothing)
{
    m_pRack->Faults().nSilentAfter = 0;
    OpenAndRead();
    ASSERT_EQ(Row(rack_main::IDC_PROTOCOL), -1);
    ui::Click(m_dlg, rack_main::IDC_UPDATE);
    EXPECT_EQ(m_boxes.Texts(), std::vector<std::string>{"Choose the Protocol!"});
    Tick(m_dlg, 3);
    EXPECT_EQ(TakeRequests(), (std::vector<std::string>{"$00T", "$002", "$00OU"}));
    EXPECT_TRUE(m_dlg.IsRunning());
    ui::ChooseRow(m_dlg, rack_main::IDC_PROTOCOL, 0);
    ui::ChooseRow(m_dlg, rack_main::IDC_MODBUS_PARITY, 0);
    ui::Click(m_dlg, rack_main::IDC_UPDATE);
    Tick(m_dlg, 2);
    EXPECT_EQ(TakeRequests(), (std::vector<std::string>{"#00OU00C", "%00000600"}));
}

TEST_F(V1333EAtAddress0, OnlyTheUnitsOwnAcknowledgementConfirmsTheConfiguration)
{
    for (ESpoil spoil : {ESpoil::Bare, ESpoil::OtherAddress, ESpoil::Refused}) {
        SCOPED_TRACE(SpoilName(spoil));
        m_boxes.m_boxes.clear();
        CV1333E dlg;
        dlg.Create(IDD_RACK_MAIN);
        Tick(dlg, 6);
        CSpoiltLine line(spoil, "%00");
        ui::Click(dlg, rack_main::IDC_UPDATE);
        Tick(dlg, 3);
        EXPECT_EQ(line.Spoilt(), 1);
        EXPECT_EQ(m_boxes.Texts(), std::vector<std::string>{kConfigurationError});
    }
}

// When the parity write before it went unanswered, or noise or another unit's reply came back,
// the configuration's "!00" may be that write's reply coming late: it confirms nothing.
TEST_F(V1333EAtAddress0, AConfigurationAfterAnUnansweredParityWriteIsNotConfirmed)
{
    for (ESpoil spoil : {ESpoil::Silent, ESpoil::Garbled, ESpoil::OtherAddress}) {
        SCOPED_TRACE(SpoilName(spoil));
        m_boxes.m_boxes.clear();
        CV1333E dlg;
        dlg.Create(IDD_RACK_MAIN);
        Tick(dlg, 6);
        TakeRequests();
        CSpoiltLine line(spoil, "#00OU");
        ui::Click(dlg, rack_main::IDC_UPDATE);
        Tick(dlg, 3);
        EXPECT_EQ(TakeRequests(), (std::vector<std::string>{"#00OU00C", "%00000600"}));
        EXPECT_EQ(m_boxes.Texts(), std::vector<std::string>{kConfigurationError});
    }
}

TEST_F(V1333EAtAddress0, RefusedConfigurationShowsTheInitTextAndEnds)
{
    m_pRack->SetInit(false); // the unit refuses a new baud rate
    m_pRack->SetAddress(0);
    OpenAndRead();
    ui::ChooseRow(m_dlg, rack_main::IDC_BAUD, 5);
    ui::Click(m_dlg, rack_main::IDC_UPDATE);
    Tick(m_dlg, 3);
    EXPECT_EQ(TakeRequests(), (std::vector<std::string>{"#00OU00C", "%00000800"}));
    EXPECT_EQ(
        m_boxes.Texts(),
        std::vector<std::string>{"Setting Configuration Error! \r\n Please Connect Init* to GND!"});
    EXPECT_FALSE(m_dlg.IsRunning());
}

TEST_F(V1333E, RefreshWritesTimeoutThenEnablesAndEnds)
{
    OpenAndRead();
    ui::Click(m_dlg, rack_main::kWdtBoxIds[1]);
    ui::Click(m_dlg, rack_main::kWdtBoxIds[6]);
    ui::Type(m_dlg, rack_main::IDC_WDT_TIMEOUT, "25");
    ui::Click(m_dlg, rack_main::IDC_REFRESH);
    Tick(m_dlg);
    EXPECT_EQ(TakeRequests(), std::vector<std::string>{"$50X25"});
    Tick(m_dlg);
    EXPECT_EQ(TakeRequests(), std::vector<std::string>{"$50XEW42"});
    Tick(m_dlg);
    EXPECT_EQ(m_boxes.Texts(), std::vector<std::string>{"Update WDT Setting OK!"});
    EXPECT_FALSE(m_dlg.IsRunning());
    EXPECT_FALSE(m_link.IsAsciiOpen());
    EXPECT_EQ(m_pRack->WatchdogEnables(), 0x42);
    EXPECT_EQ(m_pRack->WatchdogTimeout(), "025");
}

TEST_F(V1333E, RefusedTimeoutIsSentAgainEverySecondTickFromTheEditsText)
{
    OpenAndRead();
    ui::Type(m_dlg, rack_main::IDC_WDT_TIMEOUT, "");
    ui::Click(m_dlg, rack_main::IDC_REFRESH);
    Tick(m_dlg, 4);
    EXPECT_EQ(TakeRequests(), (std::vector<std::string>{"$50X", "$50X"}));
    ui::Type(m_dlg, rack_main::IDC_WDT_TIMEOUT, "7");
    Tick(m_dlg, 3);
    EXPECT_EQ(TakeRequests(), (std::vector<std::string>{"$50X7", "$50XEW00"}));
    EXPECT_EQ(m_boxes.Texts(), std::vector<std::string>{"Update WDT Setting OK!"});
}

TEST_F(V1333E, RefusedEnablesShowTheFailureAndEnd)
{
    OpenAndRead();
    m_pRack->Faults().nSilentAfter = 1; // answers the time-out, not the enables
    ui::Click(m_dlg, rack_main::IDC_REFRESH);
    Tick(m_dlg, 3);
    EXPECT_EQ(m_boxes.Texts(), std::vector<std::string>{"Update WDT Setting Fail!"});
    EXPECT_FALSE(m_dlg.IsRunning());
}

TEST_F(V1333E, DoubleClickOpensTheSlotsDialogWithItsBlockAndStopsPollingForGood)
{
    StandInForSlotDialogs();
    struct Case {
        int row;
        const char* cls;
        ModuleParamBlock dio, ai, ao;
    } cases[] = {
        {0, "CV1327", {"50", "", "0", "", "", "1327"}, {}, {}},
        {1, "CV1359", {}, {}, {"50", "", "1", "", "", "1359"}},
        {2, "CV1300", {}, {"", "1300", "2", "", "", ""}, {}},
        {3, "CV1384H", {}, {"", "1384H", "3", "", "", ""}, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.cls);
        m_frame.m_strSlotDioParams = m_frame.m_strSlotAiParams = m_frame.m_strSlotAoParams = {};
        m_opened.clear();
        CV1333E dlg;
        dlg.Create(IDD_RACK_MAIN);
        Tick(dlg, 6);
        TakeRequests();
        ASSERT_TRUE(ui::DoubleClickRow(dlg, rack_main::IDC_LIST, c.row));
        ASSERT_EQ(m_opened.size(), 1u);
        EXPECT_EQ(m_opened[0].strClass, c.cls);
        EXPECT_EQ(m_opened[0].dio, c.dio);
        EXPECT_EQ(m_opened[0].ai, c.ai);
        EXPECT_EQ(m_opened[0].ao, c.ao);
        EXPECT_FALSE(dlg.IsTimerActive(kPollTimer));
        EXPECT_TRUE(m_link.IsAsciiOpen()); // the slot dialog leaves the line to this one
        ui::Click(dlg, rack_main::IDC_REFRESH);
        ui::Click(dlg, rack_main::IDC_UPDATE);
        Tick(dlg, 2);
        EXPECT_TRUE(TakeRequests().empty());
        dlg.OnCancel();
        EXPECT_FALSE(m_link.IsAsciiOpen());
    }
}

TEST_F(V1333E, DoubleClickWithoutASelectedRowOrOnACommunicationRowOpensNothing)
{
    StandInForSlotDialogs();
    OpenAndRead();
    m_dlg.OnDblclkSlotList(); // nothing selected
    EXPECT_TRUE(m_opened.empty());
    EXPECT_FALSE(m_dlg.IsTimerActive(kPollTimer));
    EXPECT_EQ(m_frame.m_strSlotDioParams, ModuleParamBlock{});
    EXPECT_EQ(m_frame.m_strSlotAiParams, ModuleParamBlock{});
    m_dlg.OnCancel();

    CV1333E other;
    other.Create(IDD_RACK_MAIN);
    Tick(other, 6);
    ASSERT_TRUE(ui::DoubleClickRow(other, rack_main::IDC_LIST, 4)); // 1313
    EXPECT_TRUE(m_opened.empty());
    EXPECT_FALSE(other.IsTimerActive(kPollTimer));
}

TEST_F(V1333EAtAddress0, AConfigurationTurningTheChecksumOffIsStillFramedWithIt)
{
    m_pRack->SetInit(false);
    m_pRack->SetAddress(0);
    ChecksumOn();
    OpenAndRead();
    ui::ChooseRow(m_dlg, rack_main::IDC_CHECKSUM, 1);
    ui::Click(m_dlg, rack_main::IDC_UPDATE);
    Tick(m_dlg, 2);
    EXPECT_EQ(TakeRequests(), Wire({"#00OU00C", "%00000600"}));
}

TEST_F(V1333E, SlotDialogsOpenedFromTheListTalkToTheirSlotOverTheMainUnitsLine)
{
    OpenAndRead();
    std::vector<std::string> seen;
    ui::CModalDriver driver([&](CDialog& slot) {
        for (int i = 0; i < 2; ++i) slot.FireTimer(kPollTimer);
        seen = TakeRequests();
    });
    ASSERT_TRUE(ui::DoubleClickRow(m_dlg, rack_main::IDC_LIST, 1)); // the 1359 in slot 1
    EXPECT_EQ(seen, (std::vector<std::string>{"$50S1C0B", "$50S1C1B", "$50S1C2B"}));
    ASSERT_TRUE(ui::DoubleClickRow(m_dlg, rack_main::IDC_LIST, 6)); // the 1371 in slot 7
    EXPECT_EQ(seen, (std::vector<std::string>{"$50S7M", "$50XS7"}));
    EXPECT_TRUE(m_link.IsAsciiOpen());
}
