// The eight-channel analog-input dialog over ASCII against a simulated module.
#include "analog_input/M6384.h"
#include "ModuleFixture.h"
#include "analog_input/AnalogInputIds.h"

#include "AsciiCommand.h"
#include "Resource.h"
#include "SimAnalogInput.h"
#include "SpoiltLine.h"
#include "Strings.h"

#include <QPushButton>

#include <algorithm>
#include <memory>
#include <optional>
#include <utility>

namespace {

class M6384 : public CModuleFixture {
protected:
    // Opens the dialog on a block: address, baud code, check, range, format, model.
    void Open(ModuleParamBlock block) { Open(m_dlg, std::move(block)); }
    void Open(CM6384& dlg, ModuleParamBlock block)
    {
        m_frame.m_strAnalogInputParams = std::move(block);
        dlg.Create(IDD_M6384);
    }
    std::string Value(int ch) { return m_dlg.GetDlgItemText(kAiValueIds[ch]); }
    bool Enabled(int id) { return m_dlg.GetDlgItem(id)->IsWindowEnabled(); }
    CComboBox* Combo(int id) { return m_dlg.GetDlgItemAs<CComboBox>(id); }
    // The requests of the next nine ticks: the eight writes of "FOIIOW CHO" and the poll.
    void ExpectFollowWrites(const char* typeCode)
    {
        TakeRequests();
        Tick(m_dlg, 9);
        std::vector<std::string> requests = TakeRequests();
        ASSERT_EQ(requests.size(), 9u);
        for (int ch = 0; ch < 8; ++ch)
            EXPECT_EQ(requests[static_cast<size_t>(ch)], Format("$017C%dR%s", ch, typeCode));
        EXPECT_EQ(requests[8], "#01");
    }

    CM6384 m_dlg;
};

} // namespace

TEST_F(M6384, OpensReadsTheMaskThenPollsAndReadsOneChannelType)
{
    CSimModule& module = m_bus.Add("6384", 0x12, 9600);
    static_cast<CSimAnalogInput8&>(module).SetEnableMask(0x81);
    module.SetInput(0, 1.5);
    module.SetInput(7, -2.25);
    Open({"12", "06", "0", "08", "0", "4384"});

    EXPECT_EQ(m_dlg.GetDlgItemText(IDC_AI_ADDRESS), "18"); // decimal in the box
    EXPECT_EQ(m_dlg.GetDlgItemText(IDC_AI_MODEL), "4384");
    EXPECT_EQ(Combo(IDC_AI_BAUD)->GetCurSel(), 3);
    EXPECT_EQ(Combo(IDC_AI_RANGE)->GetCurSel(), 0);
    EXPECT_EQ(Combo(IDC_AI_CHECKSUM)->GetCurSel(), 1);
    EXPECT_FALSE(Enabled(IDC_AI_HIGH_LIMIT));
    EXPECT_FALSE(Enabled(IDC_AI_CH_READ));
    EXPECT_TRUE(m_dlg.IsTimerActive(kPollTimer));

    Tick(m_dlg, 6);
    EXPECT_EQ(TakeRequests(),
              (std::vector<std::string>{"$126", "$122", "#12", "$128C-1", "#12", "#12", "#12"}));
    EXPECT_EQ(Value(0), "+01.500");
    EXPECT_EQ(Value(7), "-02.250");
    EXPECT_EQ(Value(3), ""); // disabled in the module
    EXPECT_EQ(m_dlg.IsDlgButtonChecked(kAiCheckIds[0]), 1u);
    EXPECT_EQ(m_dlg.IsDlgButtonChecked(kAiCheckIds[1]), 0u);
    EXPECT_EQ(m_dlg.GetDlgItemText(IDC_AI_STATUS), "Ready!"); // the $AA2 reply
}

TEST_F(M6384, EachModelGroupGetsItsOwnControls)
{
    struct Case {
        const char* model;
        bool range;    // Input Range list
        bool mode;     // conversion Mode list
        bool types;    // CH READ and the other channel-type controls
        bool alarms;   // the limits and alarm controls
        bool channel1; // the CH1 enable box
    } cases[] = {
        {"4384", true, false, false, false, true},   {"4384C", false, false, false, false, true},
        {"6384CF", false, true, false, false, true}, {"4384A", false, false, true, false, true},
        {"4385", true, false, true, true, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.model);
        CM6384 dlg;
        Open(dlg, {"01", "06", "0", "08", "0", c.model});
        auto enabled = [&](int id) { return dlg.GetDlgItem(id)->IsWindowEnabled(); };
        EXPECT_EQ(enabled(IDC_AI_RANGE), c.range);
        EXPECT_EQ(enabled(IDC_AI_MODE), c.mode);
        EXPECT_EQ(enabled(IDC_AI_CH_READ), c.types);
        EXPECT_EQ(enabled(IDC_AI_HIGH_LIMIT), c.alarms);
        EXPECT_EQ(enabled(kAiCheckIds[1]), c.channel1);
        dlg.OnCancel();
    }
}

TEST_F(M6384, ReadingsAreSplitAtTheirSignsOrIntoEqualHexGroups)
{
    struct Case {
        BYTE format;
        double ch1;
        const char* want;
    } cases[] = {{0x00, 2.5, "+02.500"}, {0x01, 2.5, "+025.00"}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.format);
        CSimBus bus;
        CSimModule& module = bus.Add("6384", 1, 9600);
        module.SetFormat(c.format);
        static_cast<CSimAnalogInput8&>(module).SetEnableMask(0xFF);
        module.SetInput(1, c.ch1);
        m_link.Attach(1, bus);
        CM6384 dlg;
        Open(dlg, {"01", "06", "0", "08", Format("%d", c.format), "4384"});
        Tick(dlg, 3);
        EXPECT_EQ(dlg.GetDlgItemText(kAiValueIds[1]), c.want);
        dlg.OnCancel();
    }
}

TEST_F(M6384, HexReadingsTakeEightEqualGroups)
{
    CSimModule& module = m_bus.Add("6384", 1, 9600);
    module.SetFormat(0x02);
    static_cast<CSimAnalogInput8&>(module).SetEnableMask(0xFF);
    Open({"01", "06", "0", "08", "2", "4384"});
    Tick(m_dlg, 3);
    for (int ch = 0; ch < 8; ++ch) EXPECT_EQ(Value(ch).size(), 4u) << ch;
}

namespace {

// An eight-channel module whose readings reply carries one value too many.
class CNineReadings : public CSimAnalogInput8 {
public:
    CNineReadings() : CSimAnalogInput8("6384") {}

protected:
    std::optional<std::string> OnAscii(char lead, std::string_view body, DWORD now) override
    {
        std::optional<std::string> reply = CSimAnalogInput8::OnAscii(lead, body, now);
        if (reply && lead == '#' && body.empty()) *reply += "+09.999";
        return reply;
    }
};

} // namespace

// Eight channels, eight readings: a reply with a ninth is of another shape, a missed exchange.
TEST_F(M6384, AReplyWithANinthValueShowsAsSilence)
{
    auto module = std::make_unique<CNineReadings>();
    module->SetAddress(1);
    module->SetBaud(9600);
    module->SetEnableMask(0xFF);
    module->SetInput(7, -2.25);
    m_bus.Add(std::move(module));
    Open({"01", "06", "0", "08", "0", "4384"});
    Tick(m_dlg, 3);
    for (int ch = 0; ch < 8; ++ch) EXPECT_EQ(Value(ch), "ERROR!!") << ch;
}

TEST_F(M6384, TickingChannelsWritesTheEnableMask)
{
    CSimModule& module = m_bus.Add("6384", 1, 9600);
    static_cast<CSimAnalogInput8&>(module).SetEnableMask(0x00);
    Open({"01", "06", "0", "08", "0", "4384"});
    Tick(m_dlg, 2);
    TakeRequests();
    ASSERT_TRUE(ui::Click(m_dlg, kAiCheckIds[0]));
    ASSERT_TRUE(ui::Click(m_dlg, kAiCheckIds[7]));
    Tick(m_dlg, 2);
    EXPECT_EQ(TakeRequests(), (std::vector<std::string>{"$01581", "#01"}));
    EXPECT_EQ(static_cast<CSimAnalogInput8&>(module).EnableMask(), 0x81);
    EXPECT_EQ(m_dlg.GetDlgItemText(IDC_AI_STATUS), "Ready!");
}

TEST_F(M6384, NoReplyShowsErrorInEnabledChannelsOnly)
{
    CSimModule& module = m_bus.Add("6384", 1, 9600);
    static_cast<CSimAnalogInput8&>(module).SetEnableMask(0x01);
    Open({"01", "06", "0", "08", "0", "4384"});
    Tick(m_dlg, 3);
    module.Faults().nSilentAfter = 0;
    Tick(m_dlg);
    // A tick is its exchange and the pause after it: a missed reply still fits the 500 ms period.
    DWORD before = GetTickCount();
    Tick(m_dlg);
    EXPECT_EQ(GetTickCount() - before, 300u + 150u);
    EXPECT_EQ(Value(0), "ERROR!!");
    EXPECT_EQ(Value(1), "");
}

TEST_F(M6384, SettingSendsTheConfigurationAndWritesTheRowBack)
{
    struct Case {
        const char* check;
        int checksumRow;
        const char* wire; // as sent, without CR
        const char* checkDigit;
    } cases[] = {
        {"0", 1, "%0112080600", "0"},
        {"4", 0, nullptr, "4"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.check);
        CSimBus bus;
        CSimModule& module = bus.Add("6384", 1, 9600);
        module.SetChecksum(std::string(c.check) == "4");
        m_link.Attach(1, bus);
        CM6384 dlg;
        m_frame.m_bAnalogInputChanged = false;
        Open(dlg, {"01", "06", c.check, "08", "0", "4384"});
        Tick(dlg, 3);
        TakeRequests();
        ASSERT_TRUE(ui::Type(dlg, IDC_AI_ADDRESS, "18"));
        ASSERT_TRUE(ui::Click(dlg, IDC_AI_SETTING));
        EXPECT_FALSE(m_frame.m_bAnalogInputChanged); // written only as it goes out
        Tick(dlg);
        EXPECT_TRUE(m_frame.m_bAnalogInputChanged);
        std::string expected = c.wire ? c.wire : "%0112080640" + AppendChecksum("%0112080640");
        EXPECT_EQ(TakeRequests(), std::vector<std::string>{expected});
        EXPECT_EQ(
            m_frame.m_strNewRowText,
            (RowTexts{"4384", "12", "9600", c.checksumRow ? "Disable" : "Enable", "-10 to +10V"}));
        EXPECT_EQ(m_frame.m_strNewParams[0], "12");
        EXPECT_EQ(m_frame.m_strNewParams[2], c.checkDigit);
        Tick(dlg);
        ASSERT_FALSE(m_boxes.m_boxes.empty());
        EXPECT_EQ(m_boxes.m_boxes.back().text, "Setting Configuration OK!");
        EXPECT_EQ(m_boxes.m_boxes.back().caption, "Setting");
        EXPECT_FALSE(dlg.IsRunning()); // closed after the reply
        EXPECT_EQ(module.Address(), 0x12);
    }
}

TEST_F(M6384, AConversionModeModelSendsItsModeInPlaceOfTheChecksumDigit)
{
    // The module's high format digit is 8 (bit 3 kept); Normal clears bit 1, Fast sets it.
    struct Case {
        int modeRow;
        const char* wire;
    } cases[] = {{0, "%0102080680"}, {1, "%01020806A0"}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.modeRow);
        CSimBus bus;
        bus.Add("6384CF", 1, 9600).SetFormat(0x80);
        m_link.Attach(1, bus);
        CM6384 dlg;
        Open(dlg, {"01", "06", "0", "08", "0", "6384CF"});
        Tick(dlg, 3);
        EXPECT_EQ(dlg.GetDlgItemAs<CComboBox>(IDC_AI_MODE)->GetCurSel(), 0); // bit 1 clear
        TakeRequests();
        ui::Type(dlg, IDC_AI_ADDRESS, "2");
        ui::ChooseRow(dlg, IDC_AI_CHECKSUM, 0); // Enable: not in the command, but written back
        ui::ChooseRow(dlg, IDC_AI_MODE, c.modeRow);
        ui::Click(dlg, IDC_AI_SETTING);
        Tick(dlg);
        EXPECT_EQ(TakeRequests(), std::vector<std::string>{c.wire});
        EXPECT_EQ(m_frame.m_strNewParams[2], "4");
        dlg.OnCancel();
    }
}

TEST_F(M6384, AddressZeroOpensAt9600WithoutChecksumAndIsNotAcceptedAsNewAddress)
{
    CSimModule& module = m_bus.Add("6384", 5, 19200);
    module.SetInit(true);
    Open({"00", "07", "4", "08", "0", "4384"});
    EXPECT_EQ(m_dlg.GetDlgItemText(IDC_AI_ADDRESS), "0");
    ASSERT_FALSE(m_link.Traffic().empty());
    EXPECT_EQ(m_link.Traffic().back().line.dwBaud, 9600u);
    EXPECT_EQ(m_link.Traffic().back().strRequest, "$006");
    ui::Click(m_dlg, IDC_AI_SETTING);
    EXPECT_EQ(m_boxes.Texts(), std::vector<std::string>{"重新设置时地址不能为0!"});
    EXPECT_EQ(m_boxes.m_boxes[0].caption, "");
}

TEST_F(M6384, ANonHexCheckCharacterReadsAsZero)
{
    m_bus.Add("6384", 1, 9600);
    Open({"01", "06", "x", "08", "0", "4384"});
    ui::Type(m_dlg, IDC_AI_ADDRESS, "2");
    ui::ChooseRow(m_dlg, IDC_AI_CHECKSUM, 0);
    ui::Click(m_dlg, IDC_AI_SETTING);
    Tick(m_dlg, 2); // after the start-up reads
    EXPECT_EQ(m_link.Requests().back(), "%0102080640");
    EXPECT_EQ(m_frame.m_strNewParams[2], "4");
}

TEST_F(M6384, AnOperatorsRequestIsNotDroppedByAReplyReader)
{
    CSimModule& module = m_bus.Add("6384", 1, 9600);
    static_cast<CSimAnalogInput8&>(module).SetEnableMask(0x00);
    Open({"01", "06", "0", "08", "0", "4384"});
    Tick(m_dlg); // $012 goes out; its reader will choose the poll
    ASSERT_TRUE(ui::Click(m_dlg, kAiCheckIds[2]));
    TakeRequests();
    Tick(m_dlg);
    EXPECT_EQ(TakeRequests(), std::vector<std::string>{"$01504"});
}

TEST_F(M6384, SwitchToModbusGoesToTheOldAddressAndIsReportedOnlyWhenSent)
{
    CSimModule& module = m_bus.Add("6384", 1, 9600);
    Open({"01", "06", "0", "08", "0", "4384"});
    Tick(m_dlg, 3);
    ui::Type(m_dlg, IDC_AI_ADDRESS, "9");
    ui::ChooseRow(m_dlg, IDC_AI_PROTOCOL, 1);
    ui::Click(m_dlg, IDC_AI_SETTING);
    TakeRequests();
    Tick(m_dlg, 2);
    EXPECT_EQ(TakeRequests(), std::vector<std::string>{"$01R1"});
    EXPECT_EQ(m_boxes.Texts().back(), "Setting MODBUS/RTU OK!");
    EXPECT_EQ(module.Protocol(), ESimProtocol::Rtu);
}

TEST_F(M6384, ARefusedConfigurationShowsTheInitText)
{
    m_bus.Add("6384", 1, 9600);
    Open({"01", "06", "0", "08", "0", "4384"});
    Tick(m_dlg, 3);
    ui::ChooseRow(m_dlg, IDC_AI_BAUD, 4); // a new rate outside INIT is refused
    ui::Click(m_dlg, IDC_AI_SETTING);
    Tick(m_dlg, 2);
    EXPECT_EQ(m_boxes.Texts().back(),
              "Setting Configuration Error! \r\n Please Connect Init* to GND!");
    EXPECT_FALSE(m_dlg.IsRunning());
    EXPECT_FALSE(m_link.IsAsciiOpen());
}

TEST_F(M6384, TheConfigurationBoxStopsTheTimerFirst)
{
    m_bus.Add("6384", 1, 9600);
    Open({"01", "06", "0", "08", "0", "4384"});
    ui::Click(m_dlg, IDC_AI_SETTING);
    Tick(m_dlg, 2);
    WatchTimerAtBoxes(m_dlg);
    Tick(m_dlg);
    EXPECT_FALSE(m_bTimerRanUnderBox);
    EXPECT_EQ(m_boxes.m_boxes.size(), 1u);
}

TEST_F(M6384, EnterClosesTheLineAsEscapeDoes)
{
    m_bus.Add("6384", 1, 9600);
    Open({"01", "06", "0", "08", "0", "4384"});
    for (auto* b : m_dlg.GetWidget()->findChildren<QPushButton*>()) EXPECT_FALSE(b->isDefault());
    ui::PressKeyIn(m_dlg, IDC_AI_ADDRESS, Qt::Key_Return);
    EXPECT_FALSE(m_dlg.IsRunning());
    EXPECT_FALSE(m_link.IsAsciiOpen());
    EXPECT_EQ(g_bDialogClosed, 1);
}

TEST_F(M6384, OpenComErrorKeepsPollingAnUnopenedLine)
{
    m_link.Detach(1);
    Open({"01", "06", "0", "08", "0", "4384"});
    EXPECT_EQ(m_boxes.Texts(), std::vector<std::string>{"Open Com Error!"});
    EXPECT_EQ(m_boxes.m_boxes[0].caption, "talvik4333");
    EXPECT_TRUE(m_dlg.IsTimerActive(kPollTimer));
    m_dlg.m_bChannelEnabled[0] = 1;
    Tick(m_dlg, 2);
    EXPECT_EQ(Value(0), "ERROR!!");
}

TEST_F(M6384, PerChannelModelSendsFFAndTheProtocolBit)
{
    m_bus.Add("9384P", 1, 9600);
    Open({"01", "06", "0", "FF", "5", "4384A"});
    EXPECT_EQ(Combo(IDC_AI_FORMAT)->GetCurSel(), 1);
    EXPECT_EQ(Combo(IDC_AI_PROTOCOL)->GetCurSel(), 1);
    EXPECT_EQ(m_dlg.GetDlgItemText(IDC_AI_CH_NUMBER), "CH0");
    EXPECT_FALSE(Enabled(IDC_AI_RANGE));
    EXPECT_TRUE(Enabled(IDC_AI_FOLLOW_CH0));
    ui::Type(m_dlg, IDC_AI_ADDRESS, "2");
    ui::Click(m_dlg, IDC_AI_SETTING);
    Tick(m_dlg, 2);
    EXPECT_EQ(m_link.Requests().back(), "%0102FF0605");
}

TEST_F(M6384, FollowChannelZeroNeedsCh0AndWritesItsTypeToEveryChannel)
{
    CSimModule& module = m_bus.Add("9384P", 1, 9600);
    Open({"01", "06", "0", "FF", "1", "4384A"});
    Tick(m_dlg, 4);
    auto* number = Combo(IDC_AI_CH_NUMBER);
    number->SetCurSel(3);
    ui::Click(m_dlg, IDC_AI_FOLLOW_CH0);
    EXPECT_EQ(m_boxes.Texts(), std::vector<std::string>{"Select the CH0!"});
    number->SetCurSel(0);
    ui::ChooseRow(m_dlg, IDC_AI_CH_TYPE, 2); // "+/-5V"
    ui::Click(m_dlg, IDC_AI_FOLLOW_CH0);
    ExpectFollowWrites("09");
    for (int ch = 0; ch < 8; ++ch) EXPECT_EQ(module.ChannelType(ch), 0x09);
}

TEST_F(M6384, SingleChannelModelCyclesThroughAlarmsAndOutputs)
{
    CSimModule& module = m_bus.Add("6385", 1, 9600);
    module.SetInput(0, 3.0);
    Open({"01", "06", "0", "08", "0", "4385"});
    EXPECT_TRUE(Enabled(IDC_AI_HIGH_LIMIT));
    EXPECT_FALSE(Enabled(kAiValueIds[1]));
    EXPECT_FALSE(Enabled(kAiCheckIds[0]));
    Tick(m_dlg, 8);
    EXPECT_EQ(TakeRequests(), (std::vector<std::string>{"#01", "@01DI", "#01", "@01RH", "@01RL",
                                                        "#01", "@01DI", "#01", "@01DI"}));
    EXPECT_EQ(Value(0), "+03.000");
    EXPECT_FALSE(m_dlg.GetDlgItemText(IDC_AI_HIGH_LIMIT).empty());
    EXPECT_FALSE(m_dlg.GetDlgItemText(IDC_AI_LOW_LIMIT).empty());
}

TEST_F(M6384, LampClicksSwitchOutputsAndShiftClicksResendThem)
{
    m_bus.Add("6385", 1, 9600);
    Open({"01", "06", "0", "08", "0", "4385"});
    Tick(m_dlg, 3);
    TakeRequests();
    m_dlg.OnLButtonDown(1, ui::CentreOf(m_dlg, IDC_AI_LAMP0));
    Tick(m_dlg);
    m_dlg.OnLButtonDown(1, ui::CentreOf(m_dlg, IDC_AI_LAMP1));
    Tick(m_dlg);
    m_dlg.OnLButtonDown(1 | 4, ui::CentreOf(m_dlg, IDC_AI_LAMP1)); // Shift held
    Tick(m_dlg);
    EXPECT_EQ(TakeRequests(), (std::vector<std::string>{"@01DO01", "@01DO03", "@01DO03"}));
    m_dlg.OnLButtonDown(1, CPoint{1, 1}); // not on a lamp
    Tick(m_dlg);
    EXPECT_NE(TakeRequests()[0].substr(0, 5), "@01DO");
}

TEST_F(M6384, TheFirstOutputReadShowsTheAlarmModeAndTheLamps)
{
    m_bus.Add("6385", 1, 9600);
    ASSERT_TRUE(m_bus.Exchange(ESimProtocol::Ascii, SSimLine{}, "@01EAL", 0)); // latch, outputs off
    Open({"01", "06", "0", "08", "0", "4385"});
    Tick(m_dlg);
    EXPECT_EQ(m_link.Requests().back(), "@01DI");
    Tick(m_dlg);
    EXPECT_EQ(Combo(IDC_AI_ALARM_MODE)->GetCurSel(), 2);
    EXPECT_EQ(m_dlg.GetDlgItemAs<CStatic>(IDC_AI_LAMP0)->GetIcon(), IDI_LAMP_OFF);
    EXPECT_EQ(m_dlg.GetDlgItemAs<CStatic>(IDC_AI_LAMP1)->GetIcon(), IDI_LAMP_OFF);
    EXPECT_EQ(m_dlg.GetDlgItemText(IDC_AI_STATUS), "Ready!");
}

TEST_F(M6384, TheOutputReadLightsEachLampByItsBit)
{
    for (int outputs = 0; outputs < 4; ++outputs) {
        SCOPED_TRACE(outputs);
        CSimBus bus;
        bus.Add("6385", 1, 9600);
        ASSERT_TRUE(bus.Exchange(ESimProtocol::Ascii, SSimLine{}, Format("@01DO0%d", outputs), 0));
        m_link.Attach(1, bus);
        CM6384 dlg;
        Open(dlg, {"01", "06", "0", "08", "0", "4385"});
        Tick(dlg, 2);
        EXPECT_EQ(dlg.GetDlgItemAs<CStatic>(IDC_AI_LAMP0)->GetIcon(),
                  outputs & 1 ? IDI_LAMP_ON : IDI_LAMP_OFF);
        EXPECT_EQ(dlg.GetDlgItemAs<CStatic>(IDC_AI_LAMP1)->GetIcon(),
                  outputs & 2 ? IDI_LAMP_ON : IDI_LAMP_OFF);
        dlg.OnCancel();
    }
}

// A press while the start-up alarm-mode read is awaited waits for its reply, then goes out as it
// was pressed: the lamp's output, the alarm mode chosen, the setting.
TEST_F(M6384, APressWhileTheModeReadIsAwaitedGoesOutOnceItIsRead)
{
    const struct {
        const char* request;
        void (*press)(CM6384&);
    } cases[] = {
        {"@01DO01",
         [](CM6384& dlg) { dlg.OnLButtonDown(MK_LBUTTON, ui::CentreOf(dlg, IDC_AI_LAMP0)); }},
        {"@01EAM",
         [](CM6384& dlg) {
             ui::ChooseRow(dlg, IDC_AI_ALARM_MODE, 1);
             ui::Click(dlg, IDC_AI_ALARM_TYPE);
         }},
        {"%0102080600",
         [](CM6384& dlg) {
             ui::Type(dlg, IDC_AI_ADDRESS, "2");
             ui::Click(dlg, IDC_AI_SETTING);
         }},
    };
    m_bus.Add("6385", 1, 9600);
    for (const auto& c : cases) { // the setting comes last: it moves the module to 02
        SCOPED_TRACE(c.request);
        CM6384 dlg;
        Open(dlg, {"01", "06", "0", "08", "0", "4385"});
        Tick(dlg); // the mode read goes out
        TakeRequests();
        c.press(dlg);
        Tick(dlg);
        EXPECT_EQ(TakeRequests(), std::vector<std::string>{c.request});
        dlg.OnCancel();
    }
}

TEST_F(M6384, AlarmValueSettingNeedsBothLimits)
{
    m_bus.Add("6385", 1, 9600);
    Open({"01", "06", "0", "08", "0", "4385"});
    Tick(m_dlg, 6);
    TakeRequests();
    ui::Type(m_dlg, IDC_AI_HIGH_LIMIT, "+05.000");
    ui::Type(m_dlg, IDC_AI_LOW_LIMIT, "");
    ui::Click(m_dlg, IDC_AI_ALARM_VALUE);
    Tick(m_dlg);
    EXPECT_NE(TakeRequests()[0].substr(0, 5), "@01HI");
    ui::Type(m_dlg, IDC_AI_LOW_LIMIT, "+01.000");
    ui::Click(m_dlg, IDC_AI_ALARM_VALUE);
    Tick(m_dlg, 3);
    EXPECT_EQ(TakeRequests(), (std::vector<std::string>{"@01HI+05.000", "@01LO+01.000", "#01"}));
}

// Limits go out only as the module shows them: a sign and six digits or point. Anything else gets
// the thermocouple dialog's "Note" box, and neither limit is sent.
TEST_F(M6384, AlarmLimitsAreCheckedBeforeTheyGoOut)
{
    CSimModule& module = m_bus.Add("6385", 1, 9600);
    Open({"01", "06", "0", "08", "0", "4385"});
    Tick(m_dlg, 8);
    struct Case {
        const char* high;
        const char* low;
    } refused[] = {
        {"abc", "+01.000"},     {"99999999", "+01.000"},  {"+05.000", "-1"},
        {"+05.000", "+1.0.00"}, {"+05.000\r", "+01.000"}, {"+05.000", "+01.0000"},
    };
    for (const Case& c : refused) {
        SCOPED_TRACE(std::string(c.high) + " " + c.low);
        m_boxes.m_boxes.clear();
        TakeRequests();
        ui::Type(m_dlg, IDC_AI_HIGH_LIMIT, c.high);
        ui::Type(m_dlg, IDC_AI_LOW_LIMIT, c.low);
        ui::Click(m_dlg, IDC_AI_ALARM_VALUE);
        ASSERT_EQ(m_boxes.Texts(),
                  std::vector<std::string>{"The limit must be a sign and 6 digits or point, "
                                           "eg.(+0500.0)!"});
        EXPECT_EQ(m_boxes.m_boxes[0].caption, "Note");
        Tick(m_dlg, 3);
        for (const std::string& r : TakeRequests()) {
            EXPECT_NE(r.substr(0, 5), "@01HI") << r;
            EXPECT_NE(r.substr(0, 5), "@01LO") << r;
        }
    }
    ui::Type(m_dlg, IDC_AI_HIGH_LIMIT, "+05.000");
    ui::Type(m_dlg, IDC_AI_LOW_LIMIT, "-01.000");
    ui::Click(m_dlg, IDC_AI_ALARM_VALUE);
    Tick(m_dlg, 3);
    EXPECT_EQ(TakeRequests(), (std::vector<std::string>{"@01HI+05.000", "@01LO-01.000", "#01"}));
    EXPECT_DOUBLE_EQ(static_cast<CSimAnalogInputAlarm&>(module).HighLimit(), 5.0);
}

// The single-channel module of the default bus (4385 at 04 over ASCII, range code 09): a press of
// "AlarmValue Setting" with the limits as read writes them back, and the readings go on.
TEST_F(M6384, WritingTheLimitsAsReadKeepsTheReadingsLive)
{
    CSimModule& module = m_bus.Add("6385", 4, 19200);
    module.SetType(0x09);
    module.SetInput(0, 3.0);
    Open({"04", "07", "0", "09", "0", "4385"});
    Tick(m_dlg, 8);
    TakeRequests();
    ui::Click(m_dlg, IDC_AI_ALARM_VALUE);
    Tick(m_dlg, 3);
    std::vector<std::string> writes = TakeRequests();
    ASSERT_EQ(writes.size(), 3u);
    EXPECT_EQ(writes[0].substr(0, 5), "@04HI");
    EXPECT_EQ(writes[1].substr(0, 5), "@04LO");
    EXPECT_EQ(writes[2], "#04");
    std::string before = Value(0);
    module.SetInput(0, 1.25);
    Tick(m_dlg, 4);
    EXPECT_NE(Value(0), before);
}

// A limit the module refuses is not sent again and again with the readings stopped.
TEST_F(M6384, ARefusedLimitEndsTheWriteAndPollingGoesOn)
{
    CSimModule& module = m_bus.Add("6385", 1, 9600);
    Open({"01", "06", "0", "08", "0", "4385"});
    Tick(m_dlg, 8);
    TakeRequests();
    ui::Type(m_dlg, IDC_AI_HIGH_LIMIT, "+99.000"); // outside the module's range
    ui::Click(m_dlg, IDC_AI_ALARM_VALUE);
    Tick(m_dlg, 2);
    EXPECT_EQ(m_dlg.GetDlgItemText(IDC_AI_STATUS), "Error!");
    std::string before = Value(0);
    module.SetInput(0, 2.0);
    Tick(m_dlg, 2);
    std::vector<std::string> requests = TakeRequests();
    EXPECT_EQ(std::count(requests.begin(), requests.end(), "@01HI+99.000"), 1);
    EXPECT_NE(Value(0), before);
}

// A channel box ticked before the first tick waits for the start-up reads: the opening "$AA6"
// reply still marks the module's channels, and the mask written adds the one ticked.
TEST_F(M6384, ABoxTickedBeforeTheFirstTickKeepsTheStartUpReads)
{
    CSimModule& module = m_bus.Add("6384", 1, 9600);
    static_cast<CSimAnalogInput8&>(module).SetEnableMask(0x0F);
    Open({"01", "06", "0", "08", "0", "4384"});
    ASSERT_TRUE(ui::Click(m_dlg, kAiCheckIds[7]));
    Tick(m_dlg, 3);
    EXPECT_EQ(TakeRequests(), (std::vector<std::string>{"$016", "$012", "$0158F", "#01"}));
    EXPECT_EQ(static_cast<CSimAnalogInput8&>(module).EnableMask(), 0x8F);
}

// "FOIIOW CHO" interrupted by the operator's "CH READ": the read goes out between two writes and
// the chain goes on where it stood, each channel written once.
TEST_F(M6384, AnInterruptedFollowChainWritesEveryChannelOnce)
{
    CSimModule& module = m_bus.Add("9384P", 1, 9600);
    Open({"01", "06", "0", "FF", "1", "4384A"});
    Tick(m_dlg, 4);
    Combo(IDC_AI_CH_NUMBER)->SetCurSel(0);
    ui::ChooseRow(m_dlg, IDC_AI_CH_TYPE, 2);
    ui::Click(m_dlg, IDC_AI_FOLLOW_CH0);
    TakeRequests();
    Tick(m_dlg, 3);
    ui::Click(m_dlg, IDC_AI_CH_READ);
    Tick(m_dlg, 8);
    std::vector<std::string> requests = TakeRequests();
    std::vector<std::string> writes;
    for (const std::string& r : requests)
        if (r.substr(0, 5) == "$017C") writes.push_back(r);
    ASSERT_EQ(writes.size(), 8u);
    for (int ch = 0; ch < 8; ++ch)
        EXPECT_EQ(writes[static_cast<size_t>(ch)], Format("$017C%dR09", ch));
    EXPECT_EQ(requests[3], "$018C0"); // the operator's read, between the third and fourth write
    for (int ch = 0; ch < 8; ++ch) EXPECT_EQ(module.ChannelType(ch), 0x09);
}

// A new press of "FOIIOW CHO" starts the chain again from CH0 with the new type.
TEST_F(M6384, AFollowPressMidChainStartsAgainFromChannelZero)
{
    m_bus.Add("9384P", 1, 9600);
    Open({"01", "06", "0", "FF", "1", "4384A"});
    Tick(m_dlg, 4);
    Combo(IDC_AI_CH_NUMBER)->SetCurSel(0);
    ui::ChooseRow(m_dlg, IDC_AI_CH_TYPE, 2);
    ui::Click(m_dlg, IDC_AI_FOLLOW_CH0);
    Tick(m_dlg, 3);
    ui::ChooseRow(m_dlg, IDC_AI_CH_TYPE, 0);
    ui::Click(m_dlg, IDC_AI_FOLLOW_CH0);
    ExpectFollowWrites("07");
}

TEST_F(M6384, SettingsBoxesRoundTrip)
{
    m_bus.Add("6384", 0x12, 9600);
    m_frame.m_strAnalogInputParams = {"12", "07", "4", "0B", "2", "4384"};
    ExpectSettingsRoundTrip<CM6384>(
        IDD_M6384, IDC_AI_SETTING,
        {{IDC_AI_BAUD, 4}, {IDC_AI_CHECKSUM, 0}, {IDC_AI_RANGE, 3}, {IDC_AI_FORMAT, 2}},
        {"12", "07", "4", "0B", "2"}, 2);
}

// The ASCII template's header and lamps differ from the Modbus one's.
TEST_F(M6384, TheHeaderReadsAIModuleAndTheLampsAreEnabled)
{
    m_bus.Add("6384", 1, 9600);
    Open({"01", "06", "0", "08", "0", "4384"});
    EXPECT_TRUE(ui::HasStaticText(m_dlg, "AI _Module ("));
    EXPECT_TRUE(Enabled(IDC_AI_LAMP0));
    EXPECT_TRUE(Enabled(IDC_AI_LAMP1));
}

// The start-up reads take only the module's own reply of their shape: a bare "!", another address
// or the reply of another request shows "Error!", and the list the read sets is not set from it.
TEST_F(M6384, AStartUpReadAnsweredByAnotherReplyShowsError)
{
    const struct {
        const char* sim;
        const char* model;
        const char* request; // the read, sent at the first tick
        int box;             // the list it sets
        int moduleRow;       // the row the module's own reply selects there
    } reads[] = {
        {"6384CF", "6384CF", "$012", IDC_AI_MODE, 1},    // conversion mode Fast
        {"6385", "4385", "@01DI", IDC_AI_ALARM_MODE, 2}, // alarm mode Latch
    };
    for (const auto& read : reads) {
        auto run = [&](std::optional<ESpoil> spoil) {
            CSimBus bus;
            bus.Add(read.sim, 1, 9600).SetFormat(0xA0);
            bus.Exchange(ESimProtocol::Ascii, SSimLine{}, "@01EAL", 0);
            m_link.Attach(1, bus);
            std::optional<CSpoiltLine> line;
            if (spoil) line.emplace(*spoil, read.request);
            CM6384 dlg;
            Open(dlg, {"01", "06", "0", "08", "0", read.model});
            Tick(dlg);
            EXPECT_EQ(m_link.Requests().back(), read.request);
            Tick(dlg);
            std::pair result(dlg.GetDlgItemText(IDC_AI_STATUS),
                             dlg.GetDlgItemAs<CComboBox>(read.box)->GetCurSel());
            dlg.OnCancel();
            return result;
        };
        SCOPED_TRACE(read.request);
        EXPECT_EQ(run(std::nullopt), std::pair(std::string("Ready!"), read.moduleRow));
        for (ESpoil spoil : {ESpoil::Bare, ESpoil::OtherAddress, ESpoil::Stale}) {
            SCOPED_TRACE(SpoilName(spoil));
            auto [status, row] = run(spoil);
            EXPECT_EQ(status, "Error!");
            EXPECT_NE(row, read.moduleRow);
        }
    }
}

// A lost "$AA2" shows "Error!" and is asked again between the polls until the module's reply shows
// "Ready!" and its conversion mode; the module's refusal shows "Error!" and ends it.
TEST_F(M6384, ALostConfigurationReadIsAskedAgainAndARefusedOneIsNot)
{
    for (ESpoil spoil : {ESpoil::Silent, ESpoil::Late, ESpoil::Cut, ESpoil::Refused}) {
        SCOPED_TRACE(SpoilName(spoil));
        CSimBus bus;
        bus.Add("6384CF", 1, 9600).SetFormat(0xA0); // conversion mode Fast
        m_link.Attach(1, bus);
        CSpoiltLine line(spoil, "$012");
        CM6384 dlg;
        Open(dlg, {"01", "06", "0", "08", "0", "6384CF"});
        Tick(dlg, 2);
        EXPECT_EQ(dlg.GetDlgItemText(IDC_AI_STATUS), "Error!");
        Tick(dlg, 8);
        std::vector<std::string> requests = TakeRequests();
        bool refused = spoil == ESpoil::Refused;
        EXPECT_EQ(std::count(requests.begin(), requests.end(), "$012"), refused ? 1 : 2);
        EXPECT_EQ(dlg.GetDlgItemText(IDC_AI_STATUS), refused ? "Error!" : "Ready!");
        EXPECT_EQ(dlg.GetDlgItemAs<CComboBox>(IDC_AI_MODE)->GetCurSel(), refused ? 0 : 1);
        dlg.OnCancel();
    }
}

// An alarm clear answered by anything but the module's acknowledgement counts as refused: the low
// limit is read next, as after a refusal.
TEST_F(M6384, AnAlarmClearAnsweredByAnotherReplyReadsTheLowLimit)
{
    for (ESpoil spoil : {ESpoil::Bare, ESpoil::OtherAddress, ESpoil::Stale}) {
        SCOPED_TRACE(SpoilName(spoil));
        CSimBus bus;
        bus.Add("6385", 1, 9600);
        m_link.Attach(1, bus);
        CM6384 dlg;
        Open(dlg, {"01", "06", "0", "08", "0", "4385"});
        Tick(dlg, 8);
        CSpoiltLine line(spoil, "@01CA");
        ui::Click(dlg, IDC_AI_ALARM_CLEAR);
        TakeRequests();
        Tick(dlg, 2);
        EXPECT_EQ(TakeRequests(), (std::vector<std::string>{"@01CA", "@01RL"}));
        dlg.OnCancel();
    }
}
