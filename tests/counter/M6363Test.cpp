// The counter/frequency dialog against a simulated counter module.
#include "counter_power/M6363.h"
#include "ModuleFixture.h"
#include "counter_power/CounterPowerIds.h"

#include "AsciiCommand.h"
#include "Resource.h"
#include "SimCounter.h"
#include "Strings.h"

#include <algorithm>
#include <map>
#include <memory>

namespace {

using Requests = std::vector<std::string>;

// Address 0A at 9600 baud, checksum off, counter type, 0.1 s gate.
const ModuleParamBlock kBlock = {"0A", "06", "0", "50", "0", "4363"};

// What one poll cycle sends, from step 1 (which reads the reply to #AA0) on.
Requests CycleRequests(const char* aa)
{
    Requests r;
    for (const char* body :
         {"#1", "$B", "$A", "@G0", "@DI", "$30", "$31", "~B", "@G1", "@DI", "@RP", "@RA", "#0"})
        r.push_back(std::string(1, body[0]) + aa + (body + 1));
    return r;
}

// A counter whose replies to some requests (lead and body) are scripted.
class CScriptedCounter : public CSimCounter {
public:
    CScriptedCounter() : CSimCounter("6363") {}
    std::map<std::string, std::string> m_replies;

protected:
    std::optional<std::string> OnAscii(char lead, std::string_view body, DWORD now) override
    {
        auto found = m_replies.find(lead + std::string(body));
        if (found != m_replies.end()) return found->second;
        return CSimCounter::OnAscii(lead, body, now);
    }
};

class M6363 : public CModuleFixture {
protected:
    CSimCounter& AddCounter(BYTE address = 0x0A, bool checksum = false)
    {
        auto& module = static_cast<CSimCounter&>(m_bus.Add("6363", address, 9600));
        module.SetChecksum(checksum);
        return module;
    }
    void Open(const ModuleParamBlock& block = kBlock)
    {
        m_frame.m_strCounterParams = block;
        m_dlg.Create(IDD_M6363);
    }
    // Opens and runs the first cycle, which loads the settings.
    void OpenLoaded(const ModuleParamBlock& block = kBlock)
    {
        Open(block);
        Tick(m_dlg, 13);
        TakeRequests();
    }
    std::string Text(int id) { return m_dlg.GetDlgItemText(id); }
    int Row(int id) { return m_dlg.GetDlgItemAs<CComboBox>(id)->GetCurSel(); }
    bool Enabled(int id) { return m_dlg.GetDlgItem(id)->IsWindowEnabled(); }
    HICON Lamp(int id) { return m_dlg.GetDlgItemAs<CStatic>(id)->GetIcon(); }
    // Puts a request on the bus as another master would.
    void Ask(const std::string& request)
    {
        ASSERT_TRUE(m_bus.Exchange(ESimProtocol::Ascii, SSimLine{}, request, 0)) << request;
    }

    // One more dialog on kBlock, on a bus of its own with a counter at 0A whose replies to some
    // requests are scripted.
    std::unique_ptr<CM6363> OpenScripted(CSimBus& bus,
                                         const std::map<std::string, std::string>& replies)
    {
        auto scripted = std::make_unique<CScriptedCounter>();
        scripted->SetAddress(0x0A);
        scripted->m_replies = replies;
        bus.Add(std::move(scripted));
        m_link.Attach(1, bus);
        m_link.ClearTraffic();
        m_frame.m_strCounterParams = kBlock;
        auto dlg = std::make_unique<CM6363>();
        dlg->Create(IDD_M6363);
        return dlg;
    }

    CM6363 m_dlg;
};

} // namespace

TEST_F(M6363, OpensFromTheBlockAndTheFirstCycleLoadsTheSettings)
{
    CSimCounter& module = AddCounter();
    Ask("$0AB2");
    Ask("$0AA0");
    Ask("@0AP00000012C");
    Ask("$0A3100FFFFFF");
    Ask("@0AEA1");
    Ask("@0ADO02");
    Ask("@0APA00000100");
    module.SetInput(0, 10.0);
    Open();
    EXPECT_EQ(Text(IDC_CNT_ADDRESS), "10");
    EXPECT_EQ(Text(IDC_CNT_MODEL), "4363");
    EXPECT_EQ(Row(IDC_CNT_BAUD), 3);
    EXPECT_EQ(Row(IDC_CNT_CHECKSUM), 1);
    EXPECT_EQ(Row(IDC_CNT_TYPE), 0);
    EXPECT_EQ(Row(IDC_CNT_GATE_TIME), 0);
    EXPECT_FALSE(Enabled(IDC_CNT_GATE_TIME)); // a counter has no gate time
    EXPECT_EQ(Row(IDC_CNT_PROTOCOL), 0);
    EXPECT_EQ(TakeRequests(), Requests{"#0A0"});

    Tick(m_dlg, 13);
    EXPECT_EQ(TakeRequests(), CycleRequests("0A"));
    EXPECT_TRUE(m_dlg.m_bSettingsLoaded);
    EXPECT_EQ(Row(IDC_CNT_MODE0), 0); // "2": CH0 TTL, CH1 isolated
    EXPECT_EQ(Row(IDC_CNT_MODE1), 1);
    EXPECT_EQ(Row(IDC_CNT_GATE), 1); // "0": Low
    EXPECT_EQ(Text(IDC_CNT_PRESET0), "0000012C");
    EXPECT_EQ(Text(IDC_CNT_MAX1), "00FFFFFF");
    EXPECT_EQ(Row(IDC_CNT_ALARM_MODE), 0);
    EXPECT_EQ(Row(IDC_CNT_A_ENABLE0), 0);
    EXPECT_EQ(Row(IDC_CNT_A_ENABLE1), 1);
    EXPECT_EQ(Text(IDC_CNT_A_VALUE0), "00000100");
    EXPECT_FALSE(Enabled(IDC_CNT_B_ALARM)); // ModeA: the ModeB controls stay off
    EXPECT_TRUE(Enabled(IDC_CNT_A_ENABLE0));
    EXPECT_EQ(Lamp(IDC_CNT_LAMP0), IDI_LAMP_OFF);
    EXPECT_EQ(Lamp(IDC_CNT_LAMP1), IDI_LAMP_ON);
    EXPECT_EQ(Text(IDC_CNT_VALUE1), "00000000");
    EXPECT_NE(Text(IDC_CNT_VALUE0), "");

    // Later cycles refresh the counts and lamps, never what the operator typed.
    ui::Type(m_dlg, IDC_CNT_PRESET0, "typed");
    Ask("@0ADO01");
    Tick(m_dlg, 13);
    EXPECT_EQ(Text(IDC_CNT_PRESET0), "typed");
    EXPECT_EQ(Lamp(IDC_CNT_LAMP0), IDI_LAMP_ON);
}

// A step takes its reply by its form: a count of 32 bits (eight hex digits, up to ten decimal
// ones), a value of the eight characters from position 3, a setting's digit, the @AADI state as
// far as the step reads it. A reply cut short, padded, of another lead or from another address
// fills no field: the exchange counts as missed, and the cycle starts again with #AA0 as after
// silence. The module's refusal fills nothing either, but the cycle goes on.
TEST_F(M6363, APollReplyIsTakenByItsForm)
{
    struct Case {
        const char* request; // lead and body
        const char* reply;
        int field;
        const char* shown; // nullptr: a missed exchange
        const char* next;  // the request the step sends
    } cases[] = {
        {"#0", ">0000012C", IDC_CNT_VALUE0, "0000012C", "#0A1"},
        {"#0", ">00000012C", IDC_CNT_VALUE0, "00000012C", "#0A1"},
        {"#0", ">4294967295", IDC_CNT_VALUE0, "4294967295", "#0A1"},
        {"@G0", "!0A0000012C", IDC_CNT_PRESET0, "0000012C", "@0ADI"},
        {"#0", ">000", IDC_CNT_VALUE0, nullptr, "#0A1"},
        {"#0", ">0000012", IDC_CNT_VALUE0, nullptr, "#0A1"},
        {"#0", ">0000012C567890123456789", IDC_CNT_VALUE0, nullptr, "#0A1"},
        {"#1", "!0A0000000C", IDC_CNT_VALUE1, nullptr, "$0AB"},
        {"@G0", "!0B0000012C", IDC_CNT_PRESET0, nullptr, "@0ADI"},
        {"@G0", "!0A0000012", IDC_CNT_PRESET0, nullptr, "@0ADI"},
        {"@G0", "!0A0000012C5", IDC_CNT_PRESET0, nullptr, "@0ADI"},
        {"$B", "!0A12", IDC_CNT_PRESET0, nullptr, "$0AA"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.request) + " " + c.reply);
        CSimBus bus;
        std::unique_ptr<CM6363> dlg = OpenScripted(bus, {{c.request, c.reply}});
        Tick(*dlg, 16);
        EXPECT_EQ(dlg->GetDlgItemText(c.field), c.shown ? c.shown : "");
        Requests requests = TakeRequests();
        if (c.shown) {
            EXPECT_GE(std::ranges::count(requests, std::string(c.next)), 1);
        } else {
            EXPECT_EQ(std::ranges::count(requests, std::string(c.next)), 0);
            EXPECT_GE(std::ranges::count(requests, std::string("#0A0")), 2);
        }
        dlg->OnCancel();
    }
}

// A module that refuses a step's read answers it: the step shows nothing, and the cycle goes on to
// the lamps and the other settings, every cycle.
TEST_F(M6363, ARefusedStepLetsTheCycleGoOn)
{
    CSimBus bus;
    std::unique_ptr<CM6363> dlg = OpenScripted(bus, {{"$A", "?0A"}, {"@DI", "!0A00300"}});
    Tick(*dlg, 27);
    Requests requests = TakeRequests();
    EXPECT_EQ(std::ranges::count(requests, std::string("$0AA")), 2);
    EXPECT_EQ(std::ranges::count(requests, std::string("@0AG0")), 2);
    EXPECT_EQ(dlg->GetDlgItemAs<CComboBox>(IDC_CNT_GATE)->GetCurSel(), -1);
    EXPECT_EQ(dlg->GetDlgItemAs<CStatic>(IDC_CNT_LAMP0)->GetIcon(), IDI_LAMP_ON);
    EXPECT_EQ(dlg->GetDlgItemAs<CStatic>(IDC_CNT_LAMP1)->GetIcon(), IDI_LAMP_ON);
    dlg->OnCancel();
}

TEST_F(M6363, WithTheChecksumOnEveryRequestCarriesItAndRepliesLoseIt)
{
    AddCounter(0x0A, true);
    Ask("$0AB1" + AppendChecksum("$0AB1"));
    Open({"0A", "06", "4", "51", "4", "4363"});
    TakeRequests();
    EXPECT_EQ(Row(IDC_CNT_CHECKSUM), 0);
    EXPECT_EQ(Row(IDC_CNT_TYPE), 1);
    EXPECT_EQ(Row(IDC_CNT_GATE_TIME), 1);
    EXPECT_TRUE(Enabled(IDC_CNT_GATE_TIME));
    Tick(m_dlg, 13);
    Requests expected;
    for (const std::string& r : CycleRequests("0A")) expected.push_back(r + AppendChecksum(r));
    EXPECT_EQ(TakeRequests(), expected);
    EXPECT_EQ(Row(IDC_CNT_MODE0), 1); // "1": both isolated, read after the checksum cut
    EXPECT_EQ(Row(IDC_CNT_MODE1), 1);
    EXPECT_EQ(Text(IDC_CNT_VALUE0), "00000000");
}

TEST_F(M6363, AlarmModeBDisablesTheModeAControlsAndFillsItsOwn)
{
    AddCounter();
    Ask("~0AA1");
    Ask("@0AEAL");
    Ask("@0APA00000200");
    Ask("@0ASA00000300");
    OpenLoaded();
    EXPECT_EQ(Row(IDC_CNT_ALARM_MODE), 1);
    EXPECT_EQ(Row(IDC_CNT_B_ALARM), 2);
    EXPECT_EQ(Text(IDC_CNT_B_HIGH), "00000200");
    EXPECT_EQ(Text(IDC_CNT_B_HIGHHIGH), "00000300");
    for (int id :
         {IDC_CNT_A_ENABLE0, IDC_CNT_A_VALUE1, IDC_CNT_A_SET_ENABLE1, IDC_CNT_A_SET_VALUE0})
        EXPECT_FALSE(Enabled(id)) << id;
    EXPECT_TRUE(Enabled(IDC_CNT_B_SET_HIGH));
}

// Each operation button: its request byte for byte, "Ready." or "Error!", and the resync that
// starts the cycle again at step 1, so every step reads the reply it asked for.
TEST_F(M6363, OperationsSendTheirRequestAndTheCycleStartsAgain)
{
    CSimCounter& module = AddCounter();
    OpenLoaded();
    struct Case {
        std::function<void()> choose;
        int button;
        const char* request;
    } cases[] = {
        {[&] { ui::ChooseRow(m_dlg, IDC_CNT_A_ENABLE0, 1); }, IDC_CNT_A_SET_ENABLE0, "@0AEA0"},
        {[&] { ui::ChooseRow(m_dlg, IDC_CNT_A_ENABLE1, 0); }, IDC_CNT_A_SET_ENABLE1, "@0ADA1"},
        {[&] { ui::Type(m_dlg, IDC_CNT_A_VALUE0, "0000abcd"); }, IDC_CNT_A_SET_VALUE0,
         "@0APA0000ABCD"},
        {[&] { ui::Type(m_dlg, IDC_CNT_A_VALUE1, "00000010"); }, IDC_CNT_A_SET_VALUE1,
         "@0ASA00000010"},
        {[&] {
             ui::ChooseRow(m_dlg, IDC_CNT_MODE0, 1);
             ui::ChooseRow(m_dlg, IDC_CNT_MODE1, 0);
         },
         IDC_CNT_SET_MODE0, "$0AB3"},
        {[&] { ui::ChooseRow(m_dlg, IDC_CNT_MODE1, 1); }, IDC_CNT_SET_MODE1, "$0AB1"},
        {[] {}, IDC_CNT_CLEAR0, "$0A60"},
        {[] {}, IDC_CNT_CLEAR1, "$0A61"},
        {[&] { ui::ChooseRow(m_dlg, IDC_CNT_GATE, 0); }, IDC_CNT_SET_GATE, "$0AA2"},
        {[&] { ui::ChooseRow(m_dlg, IDC_CNT_GATE, 2); }, IDC_CNT_SET_GATE, "$0AA1"},
        {[&] { ui::Type(m_dlg, IDC_CNT_PRESET0, "00000005"); }, IDC_CNT_SET_PRESET0,
         "@0AP000000005"},
        {[&] { ui::Type(m_dlg, IDC_CNT_MAX0, "FFFFFFFF"); }, IDC_CNT_SET_MAX0, "$0A30FFFFFFFF"},
        {[&] { ui::Type(m_dlg, IDC_CNT_PRESET1, "00000006"); }, IDC_CNT_SET_PRESET1,
         "@0AP100000006"},
        {[&] { ui::Type(m_dlg, IDC_CNT_MAX1, "00001000"); }, IDC_CNT_SET_MAX1, "$0A3100001000"},
        {[&] { ui::ChooseRow(m_dlg, IDC_CNT_ALARM_MODE, 1); }, IDC_CNT_SET_ALARM_MODE, "~0AA1"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.request);
        c.choose();
        ASSERT_TRUE(ui::Click(m_dlg, c.button));
        Tick(m_dlg, 4);
        EXPECT_EQ(TakeRequests(), (Requests{c.request, "#0A0", "#0A1", "$0AB"}));
        EXPECT_EQ(Text(IDC_CNT_STATUS), "Ready.");
    }
    EXPECT_EQ(module.Preset(1), 6u);
    EXPECT_EQ(module.MaxCount(0), 0xFFFFFFFFu);
    EXPECT_EQ(module.AlarmMode(), 1);
    module.Faults().nGarbage = 0;
    ui::Type(m_dlg, IDC_CNT_PRESET0, "FFFFFFFF");
    Ask("$0A30"
        "00000010"); // a preset above the maximum count
    ui::Click(m_dlg, IDC_CNT_CLEAR0);
    Tick(m_dlg, 2);
    EXPECT_EQ(Text(IDC_CNT_STATUS), "Ready.");
}

TEST_F(M6363, AnUnansweredOperationShowsErrorAndGoesOutAgainOnceTheModuleAnswers)
{
    CSimCounter& module = AddCounter();
    OpenLoaded();
    ui::Type(m_dlg, IDC_CNT_MAX0, "00000010");
    module.Faults().nSilentAfter = 0;
    ui::Click(m_dlg, IDC_CNT_SET_MAX0);
    Tick(m_dlg); // sent, no reply
    module.Faults().nSilentAfter = -1;
    Tick(m_dlg); // the resync after the miss
    EXPECT_EQ(TakeRequests(), (Requests{"$0A3000000010", "#0A0"}));
    EXPECT_EQ(Text(IDC_CNT_STATUS), "Error!");
    Tick(m_dlg, 2); // the module answered the resync: the operation again
    EXPECT_EQ(TakeRequests(), (Requests{"$0A3000000010", "#0A0"}));
    EXPECT_EQ(Text(IDC_CNT_STATUS), "Ready.");
    EXPECT_EQ(module.MaxCount(0), 0x10u);
}

// Operations asked for before one tick all reach the module, each in its turn.
TEST_F(M6363, OperationsAskedInOneTickAllReachTheModule)
{
    CSimCounter& module = AddCounter();
    OpenLoaded();
    ui::ClickAt(m_dlg, ui::CentreOf(m_dlg, IDC_CNT_LAMP0));
    ui::Type(m_dlg, IDC_CNT_PRESET1, "00000006");
    ui::Click(m_dlg, IDC_CNT_SET_PRESET1);
    ui::ChooseRow(m_dlg, IDC_CNT_ALARM_MODE, 1);
    ui::Click(m_dlg, IDC_CNT_SET_ALARM_MODE);
    Tick(m_dlg, 8);
    EXPECT_EQ(module.Outputs(), 1);
    EXPECT_EQ(module.Preset(1), 6u);
    EXPECT_EQ(module.AlarmMode(), 1);
}

// Values go to the module only as it takes them: eight hex digits. Anything else is refused with
// a message and nothing is sent.
TEST_F(M6363, ValuesTheModuleCannotTakeAreRefused)
{
    AddCounter();
    OpenLoaded();
    for (const char* typed : {"-1", "123", "0000000G", "000000001", "12 34567", "", "1\r2"}) {
        SCOPED_TRACE(typed);
        m_boxes.m_boxes.clear();
        ui::Type(m_dlg, IDC_CNT_PRESET0, typed);
        ui::Click(m_dlg, IDC_CNT_SET_PRESET0);
        EXPECT_EQ(m_boxes.Texts(),
                  std::vector<std::string>{"Value must be 8 hex digits (00000000 to FFFFFFFF)!"});
        Tick(m_dlg);
        for (const std::string& r : TakeRequests()) EXPECT_NE(r.substr(0, 5), "@0AP0") << r;
    }
}

TEST_F(M6363, LampClicksWriteTheOutputsAndTheLampsFollowTheNextRead)
{
    CSimCounter& module = AddCounter();
    Ask("@0ADO03");
    OpenLoaded();
    ui::ClickAt(m_dlg, ui::CentreOf(m_dlg, IDC_CNT_LAMP1));
    Tick(m_dlg);
    EXPECT_EQ(TakeRequests(), Requests{"@0ADO01"});
    EXPECT_EQ(module.Outputs(), 1);
    EXPECT_EQ(Lamp(IDC_CNT_LAMP1), IDI_LAMP_ON); // until the next @AADI reply
    Tick(m_dlg, 7);
    EXPECT_EQ(Lamp(IDC_CNT_LAMP1), IDI_LAMP_OFF);
    TakeRequests();
    ui::ClickAt(m_dlg, ui::CentreOf(m_dlg, IDC_CNT_LAMP0), Qt::ShiftModifier); // sent again
    Tick(m_dlg);
    EXPECT_EQ(TakeRequests(), Requests{"@0ADO01"});
    ui::ClickAt(m_dlg, CPoint{2, 2}); // on no lamp
    Tick(m_dlg, 3);
    for (const std::string& r : TakeRequests()) EXPECT_NE(r.substr(0, 5), "@0ADO") << r;
}

TEST_F(M6363, SettingSendsTheConfigurationRaisesTheFlagAsItGoesOutAndCloses)
{
    struct Case {
        int typeRow, gateRow, baudRow, checksumRow;
        const char* request;
        ModuleParamBlock params;
        RowTexts rows;
    } cases[] = {
        // The gate time stays off for a module opened as a counter.
        {1,
         1,
         3,
         1,
         "%0A0C510600",
         {"0C", "06", "0", "51", "0", ""},
         {"4363", "0C", "9600", "Disable", "Frequency"}},
        {0,
         0,
         4,
         0,
         "%0A0C500740",
         {"0C", "07", "4", "50", "0", ""},
         {"4363", "0C", "19200", "Enable", "Counter"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.request);
        CSimBus bus;
        bus.Add("6363", 0x0A, 9600);
        m_link.Attach(1, bus);
        m_frame.m_bCounterChanged = false;
        m_boxes.m_boxes.clear();
        CM6363 dlg;
        m_frame.m_strCounterParams = kBlock;
        dlg.Create(IDD_M6363);
        Tick(dlg, 13);
        m_link.ClearTraffic();
        ui::Type(dlg, IDC_CNT_ADDRESS, "12");
        ui::ChooseRow(dlg, IDC_CNT_TYPE, c.typeRow);
        ui::ChooseRow(dlg, IDC_CNT_GATE_TIME, c.gateRow);
        ui::ChooseRow(dlg, IDC_CNT_CHECKSUM, c.checksumRow);
        ui::ChooseRow(dlg, IDC_CNT_BAUD, c.baudRow);
        ASSERT_TRUE(ui::Click(dlg, IDC_CNT_SETTING));
        EXPECT_FALSE(m_frame.m_bCounterChanged); // nothing has gone out yet
        WatchTimerAtBoxes(dlg);
        dlg.FireTimer(kPollTimer);
        EXPECT_EQ(m_link.Requests(), Requests{c.request});
        EXPECT_TRUE(m_frame.m_bCounterChanged);
        EXPECT_EQ(m_frame.m_strNewParams, c.params);
        EXPECT_EQ(m_frame.m_strNewRowText, c.rows);
        dlg.FireTimer(kPollTimer);
        EXPECT_FALSE(m_bTimerRanUnderBox);
        EXPECT_FALSE(dlg.IsRunning());
        EXPECT_FALSE(m_link.IsAsciiOpen());
    }
}

// A refusal names the list that has no row; the switch to Modbus RTU carries neither code and goes
// out all the same.
// The refusal names the list that has no row; the switch to Modbus RTU carries no list's code and
// goes out all the same.
TEST_F(M6363, AGateModeWithoutARowIsNamedExceptForTheSwitchToModbus)
{
    CSimCounter& module = AddCounter();
    Open({"0A", "06", "0", "57", "0", "4363"});
    ui::Click(m_dlg, IDC_CNT_SETTING);
    Tick(m_dlg, 2);
    EXPECT_EQ(m_boxes.Texts(), Requests{"Choose the Gate Mode!"});
    for (const std::string& r : TakeRequests()) EXPECT_NE(r[0], '%') << r;
    EXPECT_EQ(m_frame.m_strNewParams, ModuleParamBlock{});
    ui::ChooseRow(m_dlg, IDC_CNT_PROTOCOL, 1);
    m_boxes.m_boxes.clear();
    ui::Click(m_dlg, IDC_CNT_SETTING);
    EXPECT_EQ(m_boxes.Texts(), Requests{});
    Tick(m_dlg);
    EXPECT_EQ(TakeRequests(), Requests{"$0AR1"});
    EXPECT_EQ(module.Protocol(), ESimProtocol::Rtu);
}

TEST_F(M6363, ConfigurationOutcomes)
{
    struct Case {
        bool modbus;
        bool silent;
        const char* text;
    } cases[] = {
        {false, false, "Setting Configuration OK!"},
        {false, true, "Setting Configuration Error! \r\n Please Connect Init* to GND!"},
        {true, true, "Setting MODBUS/RTU OK!"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        CSimBus bus;
        CSimModule& module = bus.Add("6363", 0x0A, 9600);
        m_link.Attach(1, bus);
        m_boxes.m_boxes.clear();
        CM6363 dlg;
        m_frame.m_strCounterParams = kBlock;
        dlg.Create(IDD_M6363);
        Tick(dlg, 2);
        m_link.ClearTraffic();
        ui::Type(dlg, IDC_CNT_ADDRESS, "11");
        if (c.modbus) ui::ChooseRow(dlg, IDC_CNT_PROTOCOL, 1);
        ui::Click(dlg, IDC_CNT_SETTING);
        if (c.silent) module.Faults().nSilentAfter = 0;
        Tick(dlg, 2);
        EXPECT_EQ(m_boxes.Texts(), std::vector<std::string>{c.text});
        EXPECT_EQ(m_boxes.m_boxes[0].caption, "Setting");
        // The switch goes to the address the module answers to now, not the typed one.
        if (c.modbus) {
            EXPECT_EQ(m_link.Requests().front(), "$0AR1");
        }
        EXPECT_FALSE(dlg.IsRunning());
    }
}

// An operation pressed after Setting waits behind it: the configuration goes out first. The
// module, outside INIT, refuses the new rate, so the row keeps the module's values.
TEST_F(M6363, AnOperationPressedAfterSettingWaitsBehindTheConfiguration)
{
    AddCounter();
    OpenLoaded();
    ui::ChooseRow(m_dlg, IDC_CNT_BAUD, 4);
    ui::Click(m_dlg, IDC_CNT_SETTING);
    ui::Click(m_dlg, IDC_CNT_CLEAR0);
    Tick(m_dlg);
    EXPECT_EQ(TakeRequests(), Requests{"%0A0A500700"});
    EXPECT_TRUE(m_frame.m_bCounterChanged);
    Tick(m_dlg);
    EXPECT_EQ(
        m_boxes.Texts(),
        std::vector<std::string>{"Setting Configuration Error! \r\n Please Connect Init* to GND!"});
    EXPECT_FALSE(m_frame.m_bCounterChanged) << "the refusal takes the write-back back";
    EXPECT_FALSE(m_dlg.IsRunning());
    EXPECT_FALSE(m_link.IsAsciiOpen());
}

// A counter that refuses the switch to Modbus RTU.
class CSimRefusingSwitch : public CSimCounter {
public:
    CSimRefusingSwitch() : CSimCounter("6363") {}

protected:
    std::optional<std::string> OnAscii(char lead, std::string_view body, DWORD now) override
    {
        if (lead == '$' && body == "R1") return Refuse();
        return CSimCounter::OnAscii(lead, body, now);
    }
};

// The switch to Modbus RTU goes to the address the module answers to; a "?" is no success, and
// the row keeps its address either way.
TEST_F(M6363, TheSwitchIsJudgedByItsAnswerAndKeepsTheRowsAddress)
{
    struct Case {
        bool refuse;
        const char* text;
    } cases[] = {
        {false, "Setting MODBUS/RTU OK!"},
        {true, "Setting Configuration Error! \r\n Please Connect Init* to GND!"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        CSimBus bus;
        if (c.refuse)
            bus.Add(std::make_unique<CSimRefusingSwitch>()).SetAddress(0x0A);
        else
            bus.Add("6363", 0x0A, 9600);
        m_link.Attach(1, bus);
        m_boxes.m_boxes.clear();
        m_frame.m_bCounterChanged = false;
        m_frame.m_strNewRowText[1] = "0A";
        m_frame.m_strNewParams[0] = "0A";
        CM6363 dlg;
        m_frame.m_strCounterParams = kBlock;
        dlg.Create(IDD_M6363);
        Tick(dlg, 2);
        ui::Type(dlg, IDC_CNT_ADDRESS, "12");
        ui::ChooseRow(dlg, IDC_CNT_PROTOCOL, 1);
        ui::Click(dlg, IDC_CNT_SETTING);
        m_link.ClearTraffic();
        Tick(dlg, 2);
        EXPECT_EQ(m_link.Requests().front(), "$0AR1");
        EXPECT_EQ(m_boxes.Texts(), std::vector<std::string>{c.text});
        EXPECT_EQ(m_frame.m_bCounterChanged, c.refuse ? 0 : 1);
        EXPECT_EQ(m_frame.m_strNewRowText[1], "0A");
        EXPECT_EQ(m_frame.m_strNewParams[0], "0A");
    }
}

TEST_F(M6363, EnterEscapeCancelAndTheCloseBoxEachCloseTheLine)
{
    AddCounter();
    m_frame.m_strCounterParams = kBlock;
    for (int way : {0, 1, 2, 3}) {
        SCOPED_TRACE(way);
        CM6363 dlg;
        dlg.Create(IDD_M6363);
        switch (way) {
        case 0:
            ui::PressKey(dlg, Qt::Key_Return); // the hidden OK takes Enter
            break;
        case 1:
            ui::PressKey(dlg, Qt::Key_Escape);
            break;
        case 2:
            ui::CloseBox(dlg);
            break;
        default:
            ui::Click(dlg, IDCANCEL);
            break;
        }
        EXPECT_FALSE(dlg.IsRunning());
        EXPECT_FALSE(dlg.IsTimerActive(kPollTimer));
        EXPECT_FALSE(m_link.IsAsciiOpen());
        EXPECT_EQ(g_bDialogClosed, 1);
    }
}

TEST_F(M6363, SettingsRoundTrip)
{
    // The module as the block has it, so the configuration goes out and is written back.
    m_bus.Add("6363", 0x0A, 19200).SetChecksum(true);
    m_frame.m_strCounterParams = {"0A", "07", "4", "51", "4", "4363"};
    ExpectSettingsRoundTrip<CM6363>(
        IDD_M6363, IDC_CNT_SETTING,
        {{IDC_CNT_BAUD, 4}, {IDC_CNT_CHECKSUM, 0}, {IDC_CNT_TYPE, 1}, {IDC_CNT_GATE_TIME, 1}},
        {"0A", "07", "4", "51", "4"}, 1);
}

TEST_F(M6363, OpenComErrorLeavesTheDialogWithoutTimerOrRequests)
{
    m_link.Detach(1);
    Open();
    EXPECT_EQ(m_boxes.Texts(), std::vector<std::string>{"Open Com Error!"});
    EXPECT_FALSE(m_dlg.IsTimerActive(kPollTimer));
    EXPECT_TRUE(m_link.Requests().empty());
}
