// The alarm group both analog slot dialogs share, run once with each dialog's steps: the 1384 in
// the analog input dialog and the 1384H in the speed input dialog.
#include "AnalogSlotFixture.h"
#include "rack/SlotAi.h"
#include "rack/V1300.h"
#include "rack/V1384H.h"

#include "UiDriver.h"

#include <memory>
#include <ostream>

namespace {

struct SDialogKind {
    const char* pszName;
    const char* pszModel;
    int nSlot;
    UINT nTemplate;
    int nStartupTicks;           // ticks until the first value read has been sent
    const char* pszReadOrder[4]; // the alarm read's tails after "C<channel>"
    bool bClosesAfterAlarmOk;
    bool bPollsAfterLatchClear;
    bool bReadsMaskAfterEdit; // a channel box click in the idle dialog reads the mask back
};

const SDialogKind kKinds[] = {
    {"AnalogInput", "1384", 1, IDD_RACK_AI, 6, {"RHU", "RLU", "AH", "AL"}, false, true, true},
    {"SpeedInput", "1384H", 3, IDD_RACK_SPEED, 15, {"AH", "RHU", "AL", "RLU"}, true, false, false},
};

class AlarmGroup : public CAnalogSlotFixture, public ::testing::WithParamInterface<SDialogKind> {
protected:
    AlarmGroup()
    {
        m_pDlg = NewDialog();
        OpenSlot(GetParam().pszModel, GetParam().nSlot);
    }
    std::unique_ptr<CAnalogSlotDlg> NewDialog() const
    {
        if (GetParam().nTemplate == IDD_RACK_AI) return std::make_unique<CV1300>();
        return std::make_unique<CV1384H>();
    }
    // A fresh dialog, opened on a module whose channel 0 alarms have these types and that refuses
    // these request bodies.
    void OpenAfresh(char highType, char lowType, const std::vector<const char*>& refused)
    {
        m_pDlg = NewDialog();
        m_boxes.m_boxes.clear();
        Module().refused.clear();
        for (const char* body : refused)
            if (body) Module().refused.insert(body);
        Module().Channel(0).high = {highType, 80.0, false};
        Module().Channel(0).low = {lowType, -20.0, false};
        Open();
    }
    CSimAnalogSlotBase& Module() { return Slot(GetParam().nSlot); }
    CAnalogSlotDlg& Dlg() { return *m_pDlg; }
    void Open()
    {
        Dlg().Create(GetParam().nTemplate);
        Tick(Dlg(), GetParam().nStartupTicks);
        TakeRequests();
    }
    // "$50S<slot>" + body.
    std::string Req(const std::string& body, char lead = '$') const
    {
        return lead + std::string("50S") + std::to_string(GetParam().nSlot) + body;
    }
    std::vector<std::string> Reads(int channel) const
    {
        std::vector<std::string> reads;
        for (const char* tail : GetParam().pszReadOrder)
            reads.push_back(Req("C" + std::to_string(channel) + tail));
        return reads;
    }
    std::string FirstValueRead() const { return Req("C0", '#'); }
    void SetLimits(const char* high, const char* low)
    {
        ui::Type(Dlg(), rack_alarm::IDC_HIGH_LIMIT, high);
        ui::Type(Dlg(), rack_alarm::IDC_LOW_LIMIT, low);
    }

    std::unique_ptr<CAnalogSlotDlg> m_pDlg;
};

void PrintTo(const SDialogKind& kind, std::ostream* out)
{
    *out << kind.pszName;
}

std::string KindName(const ::testing::TestParamInfo<SDialogKind>& info)
{
    return info.param.pszName;
}

} // namespace

INSTANTIATE_TEST_SUITE_P(BothDialogs, AlarmGroup, ::testing::ValuesIn(kKinds), KindName);

TEST_P(AlarmGroup, StartUpReadsChannel0sAlarms)
{
    Module().Channel(0).high = {'L', 55.5, false};
    Open();
    EXPECT_EQ(Row(Dlg(), rack_alarm::IDC_CHANNEL), 0);
    EXPECT_EQ(Row(Dlg(), rack_alarm::IDC_HIGH_TYPE), 1);
    EXPECT_EQ(Row(Dlg(), rack_alarm::IDC_LOW_TYPE), 0);
    EXPECT_EQ(Text(Dlg(), rack_alarm::IDC_HIGH_LIMIT), "+055.50");
    EXPECT_EQ(Text(Dlg(), rack_alarm::IDC_LOW_LIMIT), "-020.00");
    EXPECT_EQ(TickRequests(Dlg(), 1), std::vector<std::string>{Req("C0S")});
}

TEST_P(AlarmGroup, ChoosingAChannelReadsItsAlarmsThenPollsFromTheFirstValue)
{
    Module().Channel(2).high = {'D', 50.0, false};
    Module().Channel(2).low = {'L', -5.0, false};
    Open();
    ASSERT_TRUE(ui::ChooseRow(Dlg(), rack_alarm::IDC_CHANNEL, 2));
    EXPECT_EQ(TickRequests(Dlg(), 5), Join(Reads(2), {FirstValueRead()}));
    EXPECT_EQ(Row(Dlg(), rack_alarm::IDC_HIGH_TYPE), kAlarmDisableRow);
    EXPECT_FALSE(Enabled(Dlg(), rack_alarm::IDC_HIGH_LIMIT));
    EXPECT_EQ(Row(Dlg(), rack_alarm::IDC_LOW_TYPE), 1);
    EXPECT_TRUE(Enabled(Dlg(), rack_alarm::IDC_LOW_LIMIT));
    EXPECT_EQ(Text(Dlg(), rack_alarm::IDC_LOW_LIMIT), "-005.00");
    EXPECT_EQ(Dlg().m_strHighAlarmMark, "EE");
    EXPECT_EQ(Dlg().m_strLowAlarmMark, "");
    EXPECT_FALSE(Dlg().m_bHighTypeChanged);

    // A channel that is off: its controls are disabled, its alarms read all the same.
    Module().SetEnableMask(0xFD);
    Dlg().m_bChannel[1] = 0;
    ASSERT_TRUE(ui::ChooseRow(Dlg(), rack_alarm::IDC_CHANNEL, 1));
    for (int id : {rack_alarm::IDC_HIGH_TYPE, rack_alarm::IDC_LOW_TYPE, rack_alarm::IDC_HIGH_LIMIT,
                   rack_alarm::IDC_LOW_LIMIT})
        EXPECT_FALSE(Enabled(Dlg(), id)) << id;
    EXPECT_EQ(TickRequests(Dlg(), 4), Reads(1));
    EXPECT_EQ(Row(Dlg(), rack_alarm::IDC_HIGH_TYPE), 0);
    EXPECT_FALSE(Enabled(Dlg(), rack_alarm::IDC_HIGH_LIMIT));
}

TEST_P(AlarmGroup, ATypeChangeWaitsForUpdateWithoutAnyExchange)
{
    Open();
    ASSERT_TRUE(ui::ChooseRow(Dlg(), rack_alarm::IDC_LOW_TYPE, 1));
    EXPECT_TRUE(Dlg().m_bLowTypeChanged);
    EXPECT_EQ(TickRequests(Dlg(), 4), (std::vector<std::string>{"", "", "", ""}));
}

TEST_P(AlarmGroup, AChannelBoxClickInTheIdleDialogReadsTheMaskOrWaitsForUpdate)
{
    Open();
    ASSERT_TRUE(ui::ChooseRow(Dlg(), rack_alarm::IDC_LOW_TYPE, 1));
    Tick(Dlg());
    TakeRequests();
    ASSERT_TRUE(ui::Click(Dlg(), rack_analog::kChannelIds[1].nEnable));
    std::string expected = GetParam().bReadsMaskAfterEdit ? Req("6") : "";
    EXPECT_EQ(TickRequests(Dlg(), 1), std::vector<std::string>{expected});
}

TEST_P(AlarmGroup, UpdateChainSendsEachLinkAndReportsEveryOutcome)
{
    // One entry a tick after the press: the body sent, "" for a tick that sends nothing (the box
    // before the next link is open), "restart" for the dialog's restart of its poll, "ok" for what
    // follows "Setting Alarm OK!" (the analog input dialog restarts, the speed input one closes).
    struct Case {
        const char* name;
        const char* refused; // the body (after the slot) the module refuses
        // Channel 0's alarms as the module holds them: "D" ones are enabled before their type
        // is set (the operator changes both types); a disabled limit edit is sent as it stands.
        char highType, lowType;
        std::vector<std::string> ticks;
        std::vector<std::string> boxes;
    } cases[] = {
        // clang-format off
        {"all accepted", nullptr, 'M', 'M',
         {"C0AHL", "C0ALM", "C0AHU90", "C0ALU-10.5", "ok"}, {"Setting Alarm OK!"}},
        {"enable first", nullptr, 'D', 'M',
         {"C0AHEE", "C0AHL", "C0ALM", "C0AHU+080.00", "C0ALU-10.5", "ok"}, {"Setting Alarm OK!"}},
        {"low enable first", nullptr, 'M', 'D',
         {"C0AHL", "C0ALEE", "C0ALM", "C0AHU90", "C0ALU-020.00", "ok"}, {"Setting Alarm OK!"}},
        {"enable refused", "C0AHEE", 'D', 'M',
         {"C0AHEE", "restart"}, {"Setting High AlarmType Fail!"}},
        {"enable low refused", "C0ALEE", 'M', 'D',
         {"C0AHL", "C0ALEE", "restart"}, {"Setting Low AlarmType Fail!"}},
        {"high type refused", "C0AHL", 'M', 'M',
         {"C0AHL", "", "C0ALM", "C0AHU90", "C0ALU-10.5", "ok"},
         {"Setting AlarmHType Fail!", "Setting Alarm OK!"}},
        {"low type refused", "C0ALM", 'M', 'M',
         {"C0AHL", "C0ALM", "", "C0AHU90", "C0ALU-10.5", "ok"},
         {"Setting AlarmLType Fail!", "Setting Alarm OK!"}},
        {"high limit refused", "C0AHU90", 'M', 'M',
         {"C0AHL", "C0ALM", "C0AHU90", "", "C0ALU-10.5", "ok"},
         {"Setting AlarmLValue Fail!", "Setting Alarm OK!"}},
        {"low limit refused", "C0ALU-10.5", 'M', 'M',
         {"C0AHL", "C0ALM", "C0AHU90", "C0ALU-10.5", "restart"}, {"Setting Alarm Fail!"}},
        // clang-format on
    };
    const bool analogInput = GetParam().nTemplate == IDD_RACK_AI;
    const std::string restart = analogInput ? FirstValueRead() : Req("B");
    const std::vector<std::string> heldBoxes = {
        "Setting AlarmHType Fail!", "Setting AlarmLType Fail!", "Setting AlarmLValue Fail!"};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        OpenAfresh(c.highType, c.lowType, {c.refused});
        ui::ChooseRow(Dlg(), rack_alarm::IDC_HIGH_TYPE, 1);
        ui::ChooseRow(Dlg(), rack_alarm::IDC_LOW_TYPE, 0);
        SetLimits("90", "-10.5");
        // No tick runs under a box that the chain goes on after.
        std::vector<std::string> underHeldBoxes;
        m_boxes.m_onBox = [&](const MessageBoxRequest& box) {
            if (std::find(heldBoxes.begin(), heldBoxes.end(), box.text) != heldBoxes.end()) {
                Tick(Dlg());
                for (const std::string& r : TakeRequests()) underHeldBoxes.push_back(r);
            }
            return IDOK;
        };
        ASSERT_TRUE(ui::Click(Dlg(), rack_alarm::IDC_UPDATE));
        std::vector<std::string> expected;
        for (const std::string& t : c.ticks) {
            if (t == "ok")
                expected.push_back(analogInput ? restart : "");
            else if (t == "restart")
                expected.push_back(restart);
            else
                expected.push_back(t.empty() ? "" : Req(t));
        }
        EXPECT_EQ(TickRequests(Dlg(), static_cast<int>(expected.size())), expected);
        EXPECT_EQ(m_boxes.Texts(), c.boxes);
        EXPECT_TRUE(underHeldBoxes.empty());
        bool closed = c.ticks.back() == "ok" && !analogInput;
        EXPECT_EQ(Dlg().IsRunning(), !closed);
        if (!c.refused) {
            EXPECT_EQ(Module().Channel(0).high.cType, 'L');
            EXPECT_EQ(Module().Channel(0).low.cType, 'M');
            EXPECT_EQ(Module().Channel(0).high.dLimit, c.highType == 'D' ? 80.0 : 90.0);
        }
        m_boxes.m_onBox = nullptr;
        if (Dlg().IsRunning()) Dlg().OnCancel();
    }
}

TEST_P(AlarmGroup, ALimitTheModuleCannotTakeIsRefusedBeforeAnythingIsSent)
{
    Open();
    for (const char* typed : {"", "abc", "1e3", "--1", "1.2.3", "+", "80 "}) {
        SCOPED_TRACE(typed);
        m_boxes.m_boxes.clear();
        SetLimits("80", typed);
        ui::Click(Dlg(), rack_alarm::IDC_UPDATE);
        EXPECT_EQ(m_boxes.Texts(), std::vector<std::string>{"Please Input Valid Value!"});
        for (const std::string& r : TickRequests(Dlg(), 2))
            EXPECT_EQ(r.find("AHU"), std::string::npos);
    }
}

// The module reports an alarm disabled and its limit read fails: the disabled edit, which the
// operator cannot fill, holds no limit. Its link is left out; the rest of the chain goes out.
TEST_P(AlarmGroup, UpdateLeavesOutOnlyALimitTheOperatorCannotChangeAndThatHoldsNone)
{
    struct Case {
        const char* name;
        std::vector<const char*> refused;
        char highType, lowType;
        int highRow, lowRow; // the rows the operator chooses; -1: the row read stays
        std::vector<std::string> ticks;
        std::vector<std::string> boxes;
    } cases[] = {
        // clang-format off
        {"high left out", {"C0RHU"}, 'D', 'M', -1, 1,
         {"C0AHED", "C0ALL", "C0ALU-020.00", "ok"}, {"Setting Alarm OK!"}},
        {"low left out", {"C0RLU"}, 'M', 'D', 1, -1,
         {"C0AHL", "C0ALED", "C0AHU+080.00", "ok"}, {"Setting Alarm OK!"}},
        {"both left out", {"C0RHU", "C0RLU"}, 'D', 'D', -1, -1,
         {"C0AHED", "C0ALED", "ok"}, {"Setting Alarm OK!"}},
        {"high refused, low left out", {"C0RLU", "C0AHU+080.00"}, 'M', 'D', 1, -1,
         {"C0AHL", "C0ALED", "C0AHU+080.00", "restart"}, {"Setting AlarmLValue Fail!"}},
        // clang-format on
    };
    const bool analogInput = GetParam().nTemplate == IDD_RACK_AI;
    const std::string restart = analogInput ? FirstValueRead() : Req("B");
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        OpenAfresh(c.highType, c.lowType, c.refused);
        if (c.highRow >= 0) ui::ChooseRow(Dlg(), rack_alarm::IDC_HIGH_TYPE, c.highRow);
        if (c.lowRow >= 0) ui::ChooseRow(Dlg(), rack_alarm::IDC_LOW_TYPE, c.lowRow);
        ASSERT_TRUE(ui::Click(Dlg(), rack_alarm::IDC_UPDATE));
        EXPECT_TRUE(m_boxes.Texts().empty());
        std::vector<std::string> expected;
        for (const std::string& t : c.ticks)
            expected.push_back(t == "restart" ? restart
                               : t == "ok"    ? (analogInput ? restart : "")
                                              : Req(t));
        EXPECT_EQ(TickRequests(Dlg(), static_cast<int>(expected.size())), expected);
        EXPECT_EQ(m_boxes.Texts(), c.boxes);
        if (Dlg().IsRunning()) Dlg().OnCancel();
    }
}

TEST_P(AlarmGroup, LatchClearsReportTheirOutcome)
{
    Module().Channel(0).high = {'L', 10.0, false};
    Module().Channel(0).dValue = 20.0;
    Open();
    Tick(Dlg(), 2);
    EXPECT_EQ(Lamp(Dlg(), rack_analog::kChannelIds[0].nHighLamp), "red");
    Module().Channel(0).dValue = 0.0;
    EXPECT_TRUE(Module().HighActive(0)); // latched
    TakeRequests();
    ui::Click(Dlg(), rack_alarm::IDC_CLEAR_HIGH);
    std::vector<std::string> after = {GetParam().bPollsAfterLatchClear ? FirstValueRead() : ""};
    EXPECT_EQ(TickRequests(Dlg(), 2), Join({Req("C0CH")}, after));
    EXPECT_EQ(m_boxes.Texts(), std::vector<std::string>{"Clear High Latch Succeeded!"});
    EXPECT_FALSE(Module().HighActive(0));
    EXPECT_TRUE(Dlg().IsRunning());

    Module().refused.insert("C0CL");
    ui::Click(Dlg(), rack_alarm::IDC_CLEAR_LOW);
    EXPECT_EQ(TickRequests(Dlg(), 2), Join({Req("C0CL")}, after));
    EXPECT_EQ(m_boxes.Texts().back(), "Clear Low Latch Error!");
}
