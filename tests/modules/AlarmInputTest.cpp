// The part the ASCII analog-input and thermocouple dialogs share, and the rules in which they
// differ: one row a dialog, one test a rule.
#include "ModuleFixture.h"

#include "AlarmInput.h"
#include "ModuleDialogs.h"
#include "Resource.h"
#include "ScreenTexts.h"
#include "ScriptedLine.h"
#include "SimAnalogInput.h"
#include "SimCodec.h"
#include "SimThermocouple.h"
#include "SpoiltLine.h"
#include "WriteFaults.h"
#include "analog_input/AnalogInputIds.h"
#include "thermocouple/ThermocoupleIds.h"

#include <algorithm>
#include <climits>
#include <memory>

namespace {

// A single-channel module whose output read reports a pair that is none of "00" to "03" while odd
// is set.
template <class Base> class COddOutputs : public Base {
public:
    COddOutputs(std::string model, const bool& odd) : Base(std::move(model)), m_bOdd(odd) {}

protected:
    std::optional<std::string> OnAscii(char lead, std::string_view body, DWORD now) override
    {
        if (m_bOdd && lead == '@' && body == "DI") return this->Ack() + "00700";
        return Base::OnAscii(lead, body, now);
    }

private:
    const bool& m_bOdd;
};

struct SDialogCase {
    const char* cls;
    UINT idd;
    ModuleParamBlock CMainFrame::*pBlock;
    // The single-channel module.
    const char* single;
    std::unique_ptr<CSimModule> (*makeSingle)(const bool& odd);
    int nClear, nStatus, nLamp0, nHighLimit, nValue0;
    // The per-channel-type module: its channel-type controls and two rows of its CH Type list.
    const char* perChannelSim;
    const char* perChannel;
    int nNumber, nType, nConf, nFollow;
    int nFollowRow;
    const char* pszFollowCode;
    int nConfRow;
    BYTE byRow0Code; // the code of the CH Type list's first row
};

const SDialogCase kDialogs[] = {
    {"CM6384",
     IDD_M6384,
     &CMainFrame::m_strAnalogInputParams,
     "4385",
     [](const bool& odd) -> std::unique_ptr<CSimModule> {
         return std::make_unique<COddOutputs<CSimAnalogInputAlarm>>("6385", odd);
     },
     IDC_AI_ALARM_CLEAR,
     IDC_AI_STATUS,
     IDC_AI_LAMP0,
     IDC_AI_HIGH_LIMIT,
     kAiValueIds[0],
     "9384P",
     "4384A",
     IDC_AI_CH_NUMBER,
     IDC_AI_CH_TYPE,
     IDC_AI_CH_CONF,
     IDC_AI_FOLLOW_CH0,
     2,
     "09",
     0,
     0x07},
    {"CM6386",
     IDD_M6386,
     &CMainFrame::m_strThermocoupleInputParams,
     "4388",
     [](const bool& odd) -> std::unique_ptr<CSimModule> {
         return std::make_unique<COddOutputs<CSimThermocoupleAlarm>>("4388", odd);
     },
     IDC_TC_CLEAR_ALARM,
     IDC_TC_STATUS,
     IDC_TC_LOW_LAMP,
     IDC_TC_HIGH_LIMIT,
     kTcValueIds[0],
     "4386A",
     "4386A",
     IDC_TC_CH_NUMBER,
     IDC_TC_CH_TYPE,
     IDC_TC_CH_CONF,
     IDC_TC_FOLLOW_CH0,
     4,
     "10",
     3,
     0x06},
};

class AlarmInput : public CModuleFixture {
protected:
    std::unique_ptr<CDialog> Open(const SDialogCase& c, const char* model, const char* format = "0")
    {
        m_frame.*c.pBlock = {"01", "06", "0", "0F", format, model};
        std::unique_ptr<CDialog> dlg = CreateModuleDialog(c.cls);
        dlg->Create(c.idd);
        return dlg;
    }
    // The single-channel module at 01 on a bus of its own; its output pair is odd while m_bOdd is.
    CSimModule& AddSingle(CSimBus& bus, const SDialogCase& c)
    {
        m_bOdd = false;
        CSimModule& module = bus.Add(c.makeSingle(m_bOdd));
        module.SetAddress(1);
        module.SetBaud(9600);
        m_link.Attach(1, bus);
        return module;
    }
    static HICON Icon(CDialog& dlg, int id) { return dlg.GetDlgItemAs<CStatic>(id)->GetIcon(); }
    // The screen once the single-channel module's replies to the request were spoilt so for ten
    // ticks, after eight good ones.
    std::vector<std::string> ScreenWithPollsSpoilt(const SDialogCase& c, ESpoil spoil,
                                                   const char* request = "#01")
    {
        CSimBus bus;
        AddSingle(bus, c).SetInput(0, 5.0);
        std::unique_ptr<CDialog> dlg = Open(c, c.single);
        Tick(*dlg, 8);
        CSpoiltLine line(spoil, request, INT_MAX);
        Tick(*dlg, 10);
        std::vector<std::string> screen = ScreenTexts(*dlg);
        dlg->OnCancel();
        return screen;
    }

    // The single-channel dialog after ticks ticks from its open, its module's every reply to the
    // request being reply (none: silence).
    std::unique_ptr<CDialog> RunWithReplies(CSimBus& bus, const SDialogCase& c,
                                            const std::string& request,
                                            const std::optional<std::string>& reply, int ticks)
    {
        AddSingle(bus, c).SetInput(0, 5.0);
        CScriptedLine line(CScriptedLine::Answering(request, reply));
        std::unique_ptr<CDialog> dlg = Open(c, c.single);
        Tick(*dlg, ticks);
        return dlg;
    }

    bool m_bOdd = false;
};

} // namespace

// An unanswered start-up mode read: the analog-input dialog goes on to its poll cycle, the
// thermocouple dialog asks again.
TEST_F(AlarmInput, AnUnansweredModeRead)
{
    const std::vector<std::string> expected[] = {{"@01DI", "#01", "@01RH"},
                                                 {"@01DI", "@01DI", "@01DI"}};
    for (size_t i = 0; i < std::size(kDialogs); ++i) {
        const SDialogCase& c = kDialogs[i];
        SCOPED_TRACE(c.cls);
        CSimBus bus;
        AddSingle(bus, c).Faults().nSilentAfter = 0;
        std::unique_ptr<CDialog> dlg = Open(c, c.single);
        TakeRequests();
        Tick(*dlg, 3);
        EXPECT_EQ(TakeRequests(), expected[i]);
    }
}

// An unanswered clear: the analog-input dialog shows nothing and reads the low limit again, the
// thermocouple dialog shows its failure text and polls.
TEST_F(AlarmInput, AnUnansweredClear)
{
    const struct {
        std::vector<std::string> requests;
        const char* status; // null: as it was
    } expected[] = {{{"@01CA", "@01RL"}, nullptr}, {{"@01CA", "#01"}, "报警清除失败!"}};
    for (size_t i = 0; i < std::size(kDialogs); ++i) {
        const SDialogCase& c = kDialogs[i];
        SCOPED_TRACE(c.cls);
        CSimBus bus;
        CSimModule& module = AddSingle(bus, c);
        std::unique_ptr<CDialog> dlg = Open(c, c.single);
        Tick(*dlg, 8);
        std::string before = dlg->GetDlgItemText(c.nStatus);
        module.Faults().nSilentAfter = 0;
        TakeRequests();
        ui::Click(*dlg, c.nClear);
        Tick(*dlg, 2);
        EXPECT_EQ(TakeRequests(), expected[i].requests);
        EXPECT_EQ(dlg->GetDlgItemText(c.nStatus), expected[i].status ? expected[i].status : before);
    }
}

// An output pair that is none of "00" to "03": the analog-input dialog darkens its lamps, the
// thermocouple dialog leaves them as they are.
TEST_F(AlarmInput, AnOutputPairOfNoRow)
{
    const HICON expected[] = {IDI_LAMP_OFF, IDI_LAMP_ON};
    for (size_t i = 0; i < std::size(kDialogs); ++i) {
        const SDialogCase& c = kDialogs[i];
        SCOPED_TRACE(c.cls);
        CSimBus bus;
        AddSingle(bus, c);
        ASSERT_TRUE(bus.Exchange(ESimProtocol::Ascii, SSimLine{}, "@01DO01", 0));
        std::unique_ptr<CDialog> dlg = Open(c, c.single);
        Tick(*dlg, 8);
        ASSERT_EQ(Icon(*dlg, c.nLamp0), IDI_LAMP_ON);
        m_bOdd = true;
        Tick(*dlg, 4);
        EXPECT_EQ(Icon(*dlg, c.nLamp0), expected[i]);
    }
}

// An unanswered write of "FOLLOW CH0" goes out again once the module has answered a poll, and the
// chain goes on from there in both dialogs: an acknowledged "CH CONF" meanwhile writes it no more.
TEST_F(AlarmInput, AnUnansweredFollowWrite)
{
    for (const SDialogCase& c : kDialogs) {
        SCOPED_TRACE(c.cls);
        CSimBus bus;
        CSimModule& module = bus.Add(c.perChannelSim, 1, 9600);
        m_link.Attach(1, bus);
        std::unique_ptr<CDialog> dlg = Open(c, c.perChannel);
        Tick(*dlg, 4);
        ui::ChooseRow(*dlg, c.nNumber, 0);
        ui::ChooseRow(*dlg, c.nType, c.nFollowRow);
        ui::Click(*dlg, c.nFollow);
        module.Faults().nSilentAfter = 2; // the writes to CH0 and CH1 are answered, CH2's is not
        TakeRequests();
        Tick(*dlg, 3);
        module.Faults().nSilentAfter = -1;
        Tick(*dlg, 2);
        ui::ChooseRow(*dlg, c.nNumber, 6);
        ui::ChooseRow(*dlg, c.nType, c.nConfRow);
        ui::Click(*dlg, c.nConf);
        Tick(*dlg, 8);
        std::vector<std::string> requests = TakeRequests();
        EXPECT_EQ(
            std::count(requests.begin(), requests.end(), std::string("$017C2R") + c.pszFollowCode),
            2);
        for (int k = 0; k < 8; ++k) {
            if (k != 6) {
                EXPECT_EQ(SimHexPair(module.ChannelType(k)), c.pszFollowCode) << k;
            }
        }
    }
}

// The single-channel models answer their poll with ">" and one reading. A reply cut short, padded,
// of another lead, from another address or of another request is a missed exchange: the screen is
// the one silence leaves ("ERROR!!" in the thermocouple dialog's CH0, an empty analog-input CH0).
TEST_F(AlarmInput, ASingleChannelPollReplyOfAnotherShapeShowsAsSilence)
{
    for (const SDialogCase& c : kDialogs) {
        SCOPED_TRACE(c.cls);
        std::vector<std::string> silent = ScreenWithPollsSpoilt(c, ESpoil::Silent);
        for (ESpoil spoil : {ESpoil::Cut, ESpoil::Padded, ESpoil::OtherLead, ESpoil::OtherAddress,
                             ESpoil::Stale}) {
            SCOPED_TRACE(SpoilName(spoil));
            EXPECT_EQ(ScreenWithPollsSpoilt(c, spoil), silent);
        }
    }
}

// A single channel's reading as its module writes it, and at its edges: a reading of its form in
// any width shows whole; one cut short, padded, of another lead or of another data format shows as
// silence does.
TEST_F(AlarmInput, ASingleChannelReadingIsTakenByItsForm)
{
    const struct {
        const char* reply;
        bool shown;
    } cases[] = {
        {">+05.000", true},
        {">+005.000", true},
        {">+5.000", true},
        {">+0005.0", true},
        {">+05", false},
        {">+05.", false},
        {">+05.000567890123456789", false},
        {"!01+05.000", false},
        {">4000", false},
    };
    for (const SDialogCase& c : kDialogs) {
        SCOPED_TRACE(c.cls);
        auto reading = [&](const std::optional<std::string>& reply) {
            CSimBus bus;
            std::unique_ptr<CDialog> dlg = RunWithReplies(bus, c, "#01", reply, 3);
            std::string text = dlg->GetDlgItemText(c.nValue0);
            dlg->OnCancel();
            return text;
        };
        std::string silent = reading(std::nullopt);
        for (const auto& k : cases) {
            SCOPED_TRACE(k.reply);
            EXPECT_EQ(reading(k.reply), k.shown ? std::string(k.reply + 1) : silent);
        }
    }
}

// An output read answered by a reply cut short, padded or from another address is a missed
// exchange: each dialog shows what silence shows (the analog-input dialog empties its reading).
TEST_F(AlarmInput, AnOutputReadOfAnotherShapeShowsAsSilence)
{
    for (const SDialogCase& c : kDialogs) {
        SCOPED_TRACE(c.cls);
        std::vector<std::string> silent = ScreenWithPollsSpoilt(c, ESpoil::Silent, "@01DI");
        for (ESpoil spoil : {ESpoil::Cut, ESpoil::Padded, ESpoil::OtherAddress}) {
            SCOPED_TRACE(SpoilName(spoil));
            EXPECT_EQ(ScreenWithPollsSpoilt(c, spoil, "@01DI"), silent);
        }
    }
}

// "@AADI" is read as far as each read reads it: the mode from the status digit alone, the lamps
// from the outputs' digits without the inputs' after them. A state past its five digits answers
// no read, and the dialog shows what silence shows.
TEST_F(AlarmInput, TheDigitalStateIsReadAsFarAsItIsRead)
{
    const int kLatch = 2;
    const int modeBoxes[] = {IDC_AI_ALARM_MODE, IDC_TC_ALARM_MODE};
    for (size_t i = 0; i < std::size(kDialogs); ++i) {
        const SDialogCase& c = kDialogs[i];
        SCOPED_TRACE(c.cls);
        {
            CSimBus bus;
            std::unique_ptr<CDialog> dlg = RunWithReplies(bus, c, "@01DI", "!012", 2);
            EXPECT_EQ(dlg->GetDlgItemAs<CComboBox>(modeBoxes[i])->GetCurSel(), kLatch);
            dlg->OnCancel();
        }
        {
            CSimBus bus;
            std::unique_ptr<CDialog> dlg = RunWithReplies(bus, c, "@01DI", "!01003", 8);
            EXPECT_EQ(static_cast<CAlarmInputDlg&>(*dlg).m_bDoState, (std::array<int, 2>{1, 1}));
            dlg->OnCancel();
        }
        auto screen = [&](const std::optional<std::string>& reply) {
            CSimBus bus;
            std::unique_ptr<CDialog> dlg = RunWithReplies(bus, c, "@01DI", reply, 8);
            std::vector<std::string> texts = ScreenTexts(*dlg);
            dlg->OnCancel();
            return texts;
        };
        EXPECT_EQ(screen("!01200300"), screen(std::nullopt));
    }
}

// The reading of a single channel as each data format writes it.
TEST_F(AlarmInput, ASingleChannelReadingShowsInEachDataFormat)
{
    const struct {
        const char* format;
        const char* shown[2]; // by dialog: a +/-10 V input and a K thermocouple, both at 5
    } cases[] = {
        {"0", {"+05.000", "+0005.0"}},
        {"1", {"+050.00", "+000.36"}},
        {"2", {"4000", "00EF"}},
    };
    for (const auto& f : cases) {
        for (size_t i = 0; i < std::size(kDialogs); ++i) {
            const SDialogCase& c = kDialogs[i];
            SCOPED_TRACE(std::string(c.cls) + " format " + f.format);
            CSimBus bus;
            CSimModule& module = AddSingle(bus, c);
            module.SetInput(0, 5.0);
            module.SetFormat(static_cast<BYTE>(f.format[0] - '0'));
            std::unique_ptr<CDialog> dlg = Open(c, c.single, f.format);
            Tick(*dlg, 3);
            EXPECT_EQ(dlg->GetDlgItemText(c.nValue0), f.shown[i]);
        }
    }
}

// A limit or output read answered by anything but the module's own reply of its shape (a bare
// "!", another address, the reply of another request) is asked again, and shows nothing of it.
// The low limit's read follows the high limit's, whose reply has its shape: only a reply of
// another shape can be told from its own.
TEST_F(AlarmInput, AnAlarmReadAnsweredByAnotherReplyIsAskedAgain)
{
    const std::vector<ESpoil> all = {ESpoil::Bare, ESpoil::OtherAddress, ESpoil::Stale};
    const struct {
        const char* request;
        int nth; // which of the requests of that start
        std::vector<ESpoil> spoils;
    } reads[] = {
        {"@01RH", 1, all}, {"@01RL", 1, {ESpoil::Bare, ESpoil::OtherAddress}}, {"@01DI", 2, all}};
    for (const SDialogCase& c : kDialogs) {
        for (const auto& read : reads) {
            for (ESpoil spoil : read.spoils) {
                SCOPED_TRACE(std::string(c.cls) + " " + read.request + " " + SpoilName(spoil));
                CSimBus bus;
                AddSingle(bus, c);
                std::string request = read.request;
                CSpoiltLine line(spoil,
                                 [request, n = 0, nth = read.nth](const std::string& r) mutable {
                                     return r.starts_with(request) && ++n == nth;
                                 });
                std::unique_ptr<CDialog> dlg = Open(c, c.single);
                std::vector<std::string> statuses;
                for (int i = 0; i < 8; ++i) {
                    Tick(*dlg);
                    statuses.push_back(dlg->GetDlgItemText(c.nStatus));
                }
                std::vector<std::string> sent = TakeRequests();
                auto spoilt = std::ranges::find_if(
                    sent, [&request](const std::string& r) { return r == request; });
                if (read.nth == 2) spoilt = std::find(spoilt + 1, sent.end(), request);
                ASSERT_LT(spoilt + 1, sent.end());
                EXPECT_EQ(*(spoilt + 1), request) << "not asked again";
                // The spoilt reply: "!", "!02...", or the poll's ">...".
                for (const std::string& status : statuses) {
                    EXPECT_FALSE(status == "!" || status.starts_with("!02") ||
                                 status.starts_with(">"))
                        << status;
                }
                EXPECT_EQ(dlg->GetDlgItemText(c.nHighLimit).size(), 7u);
            }
        }
    }
}

// "FOLLOW CH0" goes on only on the module's own acknowledgement of its write: a bare "!", another
// address or the reply of another request writes no next channel.
TEST_F(AlarmInput, AFollowWriteAnsweredByAnotherReplyWritesNoNextChannel)
{
    for (const SDialogCase& c : kDialogs) {
        for (ESpoil spoil : {ESpoil::Bare, ESpoil::OtherAddress, ESpoil::Stale}) {
            SCOPED_TRACE(std::string(c.cls) + " " + SpoilName(spoil));
            CSimBus bus;
            CSimModule& module = bus.Add(c.perChannelSim, 1, 9600);
            m_link.Attach(1, bus);
            std::unique_ptr<CDialog> dlg = Open(c, c.perChannel);
            Tick(*dlg, 4);
            BYTE before = module.ChannelType(1);
            ui::ChooseRow(*dlg, c.nNumber, 0);
            ui::ChooseRow(*dlg, c.nType, c.nFollowRow);
            ui::Click(*dlg, c.nFollow);
            CSpoiltLine line(spoil, "$017C0", INT_MAX);
            TakeRequests();
            Tick(*dlg, 6);
            std::vector<std::string> sent = TakeRequests();
            EXPECT_NE(std::ranges::find(sent, std::string("$017C0R") + c.pszFollowCode),
                      sent.end());
            for (const std::string& r : sent) EXPECT_FALSE(r.starts_with("$017C1")) << r;
            EXPECT_EQ(module.ChannelType(1), before);
        }
    }
}

namespace {

std::function<std::string()> RowShown(CDialog& dlg, int id)
{
    return [&dlg, id] { return std::to_string(dlg.GetDlgItemAs<CComboBox>(id)->GetCurSel()); };
}

std::function<std::string()> BoxShown(CDialog& dlg, int id)
{
    return [&dlg, id] { return std::string(dlg.IsDlgButtonChecked(id) ? "1" : "0"); };
}

// The outputs of a single-channel module now.
BYTE OutputsOf(const CSimModule& module)
{
    auto& alarm =
        const_cast<CSimAnalogInputAlarm&>(dynamic_cast<const CSimAnalogInputAlarm&>(module));
    return alarm.Outputs(GetTickCount());
}

// One write of the shared part, on the single-channel model or the per-channel-type one.
struct SAlarmWrite {
    bool bSingle;
    const char* pszOnly; // the one dialog that makes the write; none: both
    // The module before the dialog opens: the bus it is on too, for requests made to it directly.
    std::function<void(CSimBus&, CSimModule&, const SDialogCase&)> prepare;
    std::function<SWriteCase<CSimModule>(const SDialogCase&)> write;
};

constexpr int kMomentary = 1;
constexpr int kConfChannel = 6;

const std::vector<SAlarmWrite>& AlarmWrites()
{
    static const std::vector<SAlarmWrite> writes = {
        {true,
         nullptr,
         {},
         [](const SDialogCase& c) -> SWriteCase<CSimModule> {
             return {"output lamp",
                     [id = c.nLamp0](CDialog& dlg) { ui::ClickAt(dlg, ui::CentreOf(dlg, id)); },
                     "@01DO01",
                     [](const CSimModule& m) { return OutputsOf(m) == 0x1; },
                     ShownByLamp(c.nLamp0),
                     "R",
                     "W"};
         }},
        {true,
         nullptr,
         {},
         [](const SDialogCase&) -> SWriteCase<CSimModule> {
             return {"alarm mode",
                     [](CDialog& dlg) {
                         ASSERT_TRUE(ui::ChooseRow(dlg, IDC_AI_ALARM_MODE, kMomentary));
                         ASSERT_TRUE(ui::Click(dlg, IDC_AI_ALARM_TYPE));
                     },
                     "@01EAM",
                     [](const CSimModule& m) {
                         return dynamic_cast<const CSimAnalogInputAlarm&>(m).AlarmMode() ==
                                CSimAnalogInputAlarm::Momentary;
                     },
                     [](CDialog& dlg) { return RowShown(dlg, IDC_AI_ALARM_MODE); },
                     "1",
                     "0"};
         }},
        // A latched high alarm whose input is back below the limit: the clear darkens output 1.
        {true, nullptr,
         [](CSimBus& bus, CSimModule& m, const SDialogCase&) {
             for (const char* request : {"@01EAL", "@01HI+0002.0"})
                 ASSERT_TRUE(bus.Exchange(ESimProtocol::Ascii, SSimLine{}, request, 0));
             m.SetInput(0, 5.0);
             ASSERT_EQ(OutputsOf(m), 0x2);
             m.SetInput(0, 0.0);
         },
         [](const SDialogCase& c) -> SWriteCase<CSimModule> {
             return {"alarm clear",
                     [id = c.nClear](CDialog& dlg) { ASSERT_TRUE(ui::Click(dlg, id)); }, "@01CA",
                     [](const CSimModule& m) { return OutputsOf(m) == 0; }};
         }},
        {false, nullptr,
         [](CSimBus&, CSimModule& m, const SDialogCase&) {
             dynamic_cast<CSimAnalogInput8&>(m).SetEnableMask(0x01);
         },
         [](const SDialogCase&) -> SWriteCase<CSimModule> {
             return {"enable box",
                     [](CDialog& dlg) { ASSERT_TRUE(ui::Click(dlg, kAiCheckIds[1])); },
                     "$01503",
                     [](const CSimModule& m) {
                         return dynamic_cast<const CSimAnalogInput8&>(m).EnableMask() == 0x03;
                     },
                     [](CDialog& dlg) { return BoxShown(dlg, kAiCheckIds[1]); },
                     "1",
                     "0"};
         }},
        // CH6 measures in the follow row's type; "CH CONF" writes the other row.
        {false, nullptr,
         [](CSimBus&, CSimModule& m, const SDialogCase& c) {
             m.SetChannelType(kConfChannel,
                              static_cast<BYTE>(std::stoi(c.pszFollowCode, nullptr, 16)));
         },
         [](const SDialogCase& c) -> SWriteCase<CSimModule> {
             return {"CH CONF",
                     [c](CDialog& dlg) {
                         ASSERT_TRUE(ui::ChooseRow(dlg, c.nNumber, kConfChannel));
                         ASSERT_TRUE(ui::ChooseRow(dlg, c.nType, c.nConfRow));
                         ASSERT_TRUE(ui::Click(dlg, c.nConf));
                     },
                     "$017C6R",
                     [code = c.pszFollowCode](const CSimModule& m) {
                         return SimHexPair(m.ChannelType(kConfChannel)) != code;
                     },
                     [id = c.nType](CDialog& dlg) { return RowShown(dlg, id); },
                     std::to_string(c.nConfRow),
                     std::to_string(c.nFollowRow)};
         }},
        // CH0 measures in the first row's type; the chain gives every channel the follow row's.
        {false, nullptr,
         [](CSimBus&, CSimModule& m, const SDialogCase& c) { m.SetChannelType(0, c.byRow0Code); },
         [](const SDialogCase& c) -> SWriteCase<CSimModule> {
             return {"FOLLOW CH0",
                     [c](CDialog& dlg) {
                         ASSERT_TRUE(ui::ChooseRow(dlg, c.nType, c.nFollowRow));
                         ASSERT_TRUE(ui::Click(dlg, c.nFollow));
                     },
                     "$017C0R",
                     [code = std::string(c.pszFollowCode)](const CSimModule& m) {
                         for (int k = 0; k < 8; ++k)
                             if (SimHexPair(m.ChannelType(k)) != code) return false;
                         return true;
                     },
                     [id = c.nType](CDialog& dlg) { return RowShown(dlg, id); },
                     std::to_string(c.nFollowRow),
                     "0"};
         }},
        // Each limit has its button in the thermocouple dialog; the module's high limit is 500.
        {true, "CM6386",
         [](CSimBus& bus, CSimModule&, const SDialogCase&) {
             ASSERT_TRUE(bus.Exchange(ESimProtocol::Ascii, SSimLine{}, "@01HI+0500.0", 0));
         },
         [](const SDialogCase&) -> SWriteCase<CSimModule> {
             return {"high limit",
                     [](CDialog& dlg) {
                         ASSERT_TRUE(ui::Type(dlg, IDC_TC_HIGH_LIMIT, "+0300.0"));
                         ASSERT_TRUE(ui::Click(dlg, IDC_TC_ALARMH_SETTING));
                     },
                     "@01HI+0300.0",
                     [](const CSimModule& m) {
                         return dynamic_cast<const CSimAnalogInputAlarm&>(m).HighLimit() == 300.0;
                     },
                     [](CDialog& dlg) -> std::function<std::string()> {
                         return [&dlg] { return dlg.GetDlgItemText(IDC_TC_HIGH_LIMIT); };
                     },
                     "+0300.0",
                     "+0500.0"};
         }},
    };
    return writes;
}

} // namespace

// Every write of the alarm group, the enable boxes and the channel types under every fault: it
// goes out once, and again once per poll the module answered, until the module hears or refuses
// it; its control keeps the operator's value meanwhile and shows the module's after a refusal.
TEST_F(AlarmInput, EveryWriteUnderEveryFault)
{
    for (const SDialogCase& c : kDialogs) {
        for (const SAlarmWrite& w : AlarmWrites()) {
            if (w.pszOnly && std::string(w.pszOnly) != c.cls) continue;
            SWriteCase<CSimModule> write = w.write(c);
            for (const SWriteFault& f : WriteFaults(ELinkKind::Ascii)) {
                SCOPED_TRACE(std::string(c.cls) + " " + write.pszName + ", " + f.pszName);
                CSimBus bus;
                CSimModule* module = nullptr;
                if (w.bSingle) {
                    module = &AddSingle(bus, c);
                } else {
                    module = &bus.Add(c.perChannelSim, 1, 9600);
                    m_link.Attach(1, bus);
                }
                if (w.prepare) w.prepare(bus, *module, c);
                module->SetChecksum(f.bChecksum);
                m_frame.*c.pBlock = {"01", "06", f.bChecksum ? "4" : "0",
                                     "0F", "0",  w.bSingle ? c.single : c.perChannel};
                std::unique_ptr<CDialog> dlg = CreateModuleDialog(c.cls);
                dlg->Create(c.idd);
                Tick(*dlg, 8); // the start-up reads are done, the polls go on
                ExpectWriteCase(*dlg, *module, m_link, f, write, ELinkKind::Ascii);
                dlg->OnCancel();
                m_link.Attach(1, m_bus);
            }
        }
    }
}

// An enable box and "CH CONF" asked for before one tick both reach the module, as do a lamp and
// the alarm mode.
TEST_F(AlarmInput, WritesToTwoControlsInOneTickBothReachTheModule)
{
    for (const SDialogCase& c : kDialogs) {
        SCOPED_TRACE(c.cls);
        {
            CSimBus bus;
            CSimModule& module = bus.Add(c.perChannelSim, 1, 9600);
            dynamic_cast<CSimAnalogInput8&>(module).SetEnableMask(0x01);
            m_link.Attach(1, bus);
            std::unique_ptr<CDialog> dlg = Open(c, c.perChannel);
            Tick(*dlg, 8);
            ASSERT_TRUE(ui::Click(*dlg, kAiCheckIds[1]));
            ASSERT_TRUE(ui::ChooseRow(*dlg, c.nNumber, kConfChannel));
            ASSERT_TRUE(ui::ChooseRow(*dlg, c.nType, c.nFollowRow));
            ASSERT_TRUE(ui::Click(*dlg, c.nConf));
            Tick(*dlg, 6);
            EXPECT_EQ(dynamic_cast<CSimAnalogInput8&>(module).EnableMask(), 0x03);
            EXPECT_EQ(SimHexPair(module.ChannelType(kConfChannel)), c.pszFollowCode);
            dlg->OnCancel();
            m_link.Attach(1, m_bus);
        }
        CSimBus bus;
        CSimModule& module = AddSingle(bus, c);
        std::unique_ptr<CDialog> dlg = Open(c, c.single);
        Tick(*dlg, 8);
        ui::ClickAt(*dlg, ui::CentreOf(*dlg, c.nLamp0));
        ASSERT_TRUE(ui::ChooseRow(*dlg, IDC_AI_ALARM_MODE, kMomentary));
        ASSERT_TRUE(ui::Click(*dlg, IDC_AI_ALARM_TYPE));
        TakeRequests();
        Tick(*dlg, 6);
        // The mode's write goes out after the lamp's and takes the outputs over.
        std::vector<std::string> sent = TakeRequests();
        EXPECT_EQ(std::ranges::count(sent, "@01DO01"), 1);
        EXPECT_EQ(std::ranges::count(sent, "@01EAM"), 1);
        EXPECT_EQ(dynamic_cast<CSimAnalogInputAlarm&>(module).AlarmMode(),
                  CSimAnalogInputAlarm::Momentary);
        dlg->OnCancel();
        m_link.Attach(1, m_bus);
    }
}
