// The thermocouple dialog's cold-junction, calibration, channel-type and alarm functions against
// simulated thermocouple modules.
#include "M6386Fixture.h"

#include "ScriptedLine.h"

namespace {

// A 4386A that refuses its first n offset writes and, once, the type write of one channel.
class CSimRefusingTc : public CSimThermocouplePerChannel {
public:
    CSimRefusingTc(int offsetRefusals, int refusedChannel)
        : CSimThermocouplePerChannel("4386A"), m_nOffsetRefusals(offsetRefusals),
          m_nRefusedChannel(refusedChannel)
    {
    }

protected:
    std::optional<std::string> OnAscii(char lead, std::string_view body, DWORD now) override
    {
        if (lead == '$' && body.substr(0, 1) == "9" && m_nOffsetRefusals > 0) {
            --m_nOffsetRefusals;
            return Refuse();
        }
        if (lead == '$' && body.substr(0, 2) == "7C" && body.size() > 2 &&
            body[2] - '0' == m_nRefusedChannel) {
            m_nRefusedChannel = -1;
            return Refuse();
        }
        return CSimThermocouplePerChannel::OnAscii(lead, body, now);
    }

private:
    int m_nOffsetRefusals;
    int m_nRefusedChannel;
};

// A field typed (none where field is 0), a button pressed: its request and the status it leaves.
struct SPress {
    int field;
    const char* typed;
    int button;
    const char* request;
    const char* status;
};

class M6386Functions : public M6386 {
protected:
    // Each press sends its request, then the poll resumes.
    template <size_t n> void ExpectPresses(const SPress (&cases)[n], int status, const char* poll)
    {
        for (const SPress& c : cases) {
            SCOPED_TRACE(c.request);
            if (c.typed) ui::Type(m_dlg, c.field, c.typed);
            EXPECT_EQ(Press(c.button), (Requests{c.request, poll}));
            EXPECT_EQ(Text(status), c.status);
        }
    }
    // Presses a button (after typing into a field) and runs the tick that sends its request and
    // the tick that reads its reply.
    Requests Press(int button, int ticks = 2)
    {
        TakeRequests();
        ui::Click(m_dlg, button);
        Tick(m_dlg, ticks);
        return TakeRequests();
    }
    std::string Text(int id) { return m_dlg.GetDlgItemText(id); }
    // A 6386 at 0x10 past its mask read.
    void OpenEightChannels()
    {
        AddEightChannels();
        Open({"10", "06", "0", "0F", "0", "6386"});
        Tick(m_dlg);
    }
    // A 4386A (refusing as told) at 0x11 past its start-up reads.
    CSimRefusingTc& OpenPerChannel(int offsetRefusals = 0, int refusedChannel = -1)
    {
        auto& module = static_cast<CSimRefusingTc&>(
            m_bus.Add(std::make_unique<CSimRefusingTc>(offsetRefusals, refusedChannel)));
        module.SetAddress(0x11);
        Open({"11", "06", "0", "FF", "0", "4386A"});
        Tick(m_dlg, 3);
        return module;
    }
    // A 4388 at 0x12 in its idle cycle, limits read.
    void OpenSingleChannel()
    {
        m_bus.Add("4388", 0x12, 9600).SetInput(0, 500.0);
        Open({"12", "06", "0", "0E", "0", "4388"});
        Tick(m_dlg, 6);
        TakeRequests();
    }
    HICON Icon(int id) { return m_dlg.GetDlgItemAs<CStatic>(id)->GetIcon(); }
};

} // namespace

TEST_F(M6386Functions, ColdJunctionButtonsSendTheirRequestsAndShowTheReplies)
{
    OpenEightChannels();
    const SPress cases[] = {
        {IDC_TC_CJC_ZERO_VALUE, "+006f", IDC_TC_CJC_ZERO, "$109+006f", "Ready."},
        {0, nullptr, IDC_TC_TEMPERATURE, "$103", ">+026.00"},
        {0, nullptr, IDC_TC_READ_CJC, "$10J", "!10+006F"},
        {IDC_TC_COEFFICIENT_VALUE, "50000", IDC_TC_COEFFICIENT_WRITE, "~10LC350", "Ready."},
        {0, nullptr, IDC_TC_COEFFICIENT_READ, "$10L", "!10C350"},
        {IDC_TC_COEFFICIENT_VALUE, "0", IDC_TC_COEFFICIENT_WRITE, "~10L0000", "Ready."},
    };
    ExpectPresses(cases, IDC_TC_CJC_STATUS, "#10");
    EXPECT_EQ(m_boxes.Texts(), Texts{});

    // No reply: every one of them shows "Error!".
    m_bus.Module(0).Faults().nSilentAfter = 0;
    for (int button : {IDC_TC_CJC_ZERO, IDC_TC_TEMPERATURE, IDC_TC_READ_CJC,
                       IDC_TC_COEFFICIENT_WRITE, IDC_TC_COEFFICIENT_READ}) {
        m_dlg.SetDlgItemText(IDC_TC_CJC_STATUS, "");
        Press(button);
        EXPECT_EQ(Text(IDC_TC_CJC_STATUS), "Error!") << button;
    }
}

// The cold-junction temperature as the module writes it, in any width of its form; a reply cut
// short, padded, of another lead or form shows nothing, as silence does.
TEST_F(M6386Functions, TheColdJunctionTemperatureIsTakenByItsForm)
{
    const struct {
        const char* reply;
        const char* shown;
    } cases[] = {
        {">+025.00", "+025.00"},
        {">+0025.00", "+0025.00"},
        {">+25.00", "+25.00"},
        {">+02", ""},
        {">+025.00567890123456789", ""},
        {"!11+025.00", ""},
        {">0A1B", ""},
    };
    m_bus.Add("4386A", 0x11, 9600);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.reply);
        CScriptedLine line(CScriptedLine::Answering("$113", std::string(c.reply)));
        CM6386& dlg = OpenAnother({"11", "06", "0", "FF", "0", "4386A"});
        Tick(dlg, 5);
        EXPECT_EQ(dlg.GetDlgItemText(IDC_TC_CJC_TEMP), c.shown);
        dlg.OnCancel();
    }
}

TEST_F(M6386Functions, TheInitialFieldsSendTheFactoryValues)
{
    OpenEightChannels();
    EXPECT_EQ(Text(IDC_TC_CJC_ZERO_VALUE), "+0000");
    EXPECT_EQ(Text(IDC_TC_COEFFICIENT_VALUE), "10000");
    EXPECT_EQ(Press(IDC_TC_CJC_ZERO, 1), Requests{"$109+0000"});
    Tick(m_dlg);
    EXPECT_EQ(Press(IDC_TC_COEFFICIENT_WRITE, 1), Requests{"~10L2710"});
}

// Fields that cannot be part of a request get a message and send nothing.
TEST_F(M6386Functions, RefusedFieldsSendNothing)
{
    OpenPerChannel();
    struct Case {
        int field;
        const char* typed;
        int button;
        const char* message;
    } cases[] = {
        {IDC_TC_COEFFICIENT_VALUE, "50001", IDC_TC_COEFFICIENT_WRITE, "The number is 0 ~ 50000!"},
        {IDC_TC_COEFFICIENT_VALUE, "-1", IDC_TC_COEFFICIENT_WRITE, "The number is 0 ~ 50000!"},
        {IDC_TC_COEFFICIENT_VALUE, "1x", IDC_TC_COEFFICIENT_WRITE, "The number is 0 ~ 50000!"},
        {IDC_TC_CJC_OFFSET, "-01.00-", IDC_TC_CALIBRATE, nullptr},
        {IDC_TC_CJC_OFFSET, "+-1", IDC_TC_CALIBRATE, nullptr},
        {IDC_TC_CJC_OFFSET, "abc", IDC_TC_CALIBRATE, nullptr},
        {IDC_TC_CJC_OFFSET, "+600", IDC_TC_CALIBRATE, nullptr},
        {IDC_TC_CJC_ZERO_VALUE, "+00\r0", IDC_TC_CJC_ZERO, nullptr},
    };
    // The cold-junction group is disabled on the 4386A; its handlers are reached directly.
    for (const Case& c : cases) {
        SCOPED_TRACE(c.typed);
        m_boxes.m_boxes.clear();
        m_dlg.SetDlgItemText(c.field, c.typed);
        TakeRequests();
        if (c.button == IDC_TC_CALIBRATE) m_dlg.OnCalibrate();
        if (c.button == IDC_TC_COEFFICIENT_WRITE) m_dlg.OnCoefficientWrite();
        if (c.button == IDC_TC_CJC_ZERO) m_dlg.OnCjcZero();
        ASSERT_EQ(m_boxes.m_boxes.size(), 1u);
        EXPECT_EQ(m_boxes.m_boxes[0].caption, "Note");
        if (c.message) {
            EXPECT_EQ(m_boxes.m_boxes[0].text, c.message);
        }
        Tick(m_dlg, 2);
        for (const std::string& r : TakeRequests()) {
            EXPECT_NE(r.substr(0, 4), "$119");
            EXPECT_NE(r.substr(0, 4), "~11L");
        }
    }
}

// An address typed but not set stays out of the requests of "CJC Zero" and "Cofficient".
TEST_F(M6386Functions, ColdJunctionWritesLeaveATypedAddressAlone)
{
    OpenEightChannels();
    ui::Type(m_dlg, IDC_TC_ADDRESS, "7");
    EXPECT_EQ(Press(IDC_TC_CJC_ZERO), (Requests{"$109+0000", "#10"}));
    EXPECT_EQ(Press(IDC_TC_COEFFICIENT_WRITE), (Requests{"~10L2710", "#10"}));
    EXPECT_EQ(Text(IDC_TC_CJC_STATUS), "Ready.");
    Tick(m_dlg);
    EXPECT_EQ(TakeRequests(), Requests{"#10"});
    EXPECT_EQ(Value(0), "+0100.0");
}

TEST_F(M6386Functions, CalibrateRepeatsUntilAcknowledgedThenZeroAndSpanAreUsable)
{
    CSimRefusingTc& module = OpenPerChannel(2);
    EXPECT_EQ(TakeRequests(), (Requests{"$116", "$118C0", "#11", "$113"}));
    ui::Type(m_dlg, IDC_TC_CJC_OFFSET, "+01.00");
    EXPECT_EQ(Press(IDC_TC_CALIBRATE), (Requests{"$119+006f", "$119+006f"}));
    EXPECT_EQ(Text(IDC_TC_STATUS), "Error!");
    EXPECT_FALSE(Enabled(IDC_TC_ZERO));
    EXPECT_FALSE(Enabled(IDC_TC_SPAN));
    Tick(m_dlg, 2);
    EXPECT_EQ(TakeRequests(), (Requests{"$119+006f", "#11"}));
    EXPECT_EQ(Text(IDC_TC_STATUS), "Ready.");
    EXPECT_TRUE(Enabled(IDC_TC_ZERO));
    EXPECT_TRUE(Enabled(IDC_TC_SPAN));
    EXPECT_EQ(module.Calibration().CjcOffset(), 111);

    // "-00.45" is 50 steps below.
    ui::Type(m_dlg, IDC_TC_CJC_OFFSET, "-00.45");
    EXPECT_EQ(Press(IDC_TC_CALIBRATE), (Requests{"$119-0032", "#11"}));
    Tick(m_dlg);
    ui::Click(m_dlg, IDC_TC_READ);
    Tick(m_dlg, 2);
    EXPECT_EQ(Text(IDC_TC_CJC_TEMP), "+024.55");
}

TEST_F(M6386Functions, AnEightChannelModelCalibratesWithoutAnOffsetText)
{
    OpenEightChannels();
    EXPECT_FALSE(Enabled(IDC_TC_ZERO));
    EXPECT_EQ(Press(IDC_TC_CALIBRATE), (Requests{"$1090000", "#10"}));
    EXPECT_TRUE(Enabled(IDC_TC_ZERO));
    EXPECT_TRUE(Enabled(IDC_TC_SPAN));
}

// A zero or span reply counts only when it comes 100 ms or more after the click.
TEST_F(M6386Functions, ZeroAndSpanNeedAHundredMillisecondsSinceTheClick)
{
    OpenPerChannel();
    struct Case {
        int button;
        const char* request;
        DWORD wait;
        const char* status;
    } cases[] = {
        {IDC_TC_ZERO, "$111", 0, "Error!"},
        {IDC_TC_ZERO, "$111", 100, "Ready."},
        {IDC_TC_SPAN, "$110", 99, "Error!"},
        {IDC_TC_SPAN, "$110", 500, "Ready."},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.wait);
        TakeRequests();
        ui::Click(m_dlg, c.button);
        Tick(m_dlg);
        m_clock.Advance(c.wait);
        Tick(m_dlg);
        EXPECT_EQ(TakeRequests()[0], c.request);
        EXPECT_EQ(Text(IDC_TC_STATUS), c.status);
        Tick(m_dlg, 2);
    }
}

TEST_F(M6386Functions, ChannelTypesAreReadAndWritten)
{
    CSimRefusingTc& module = OpenPerChannel();
    module.SetChannelType(3, 0x0F);
    ui::ChooseRow(m_dlg, IDC_TC_CH_NUMBER, 3);
    EXPECT_EQ(Press(IDC_TC_CH_READ), (Requests{"$118C3", "#11"}));
    EXPECT_EQ(Text(IDC_TC_CH_TYPE), "T/C K-Type");

    ui::ChooseRow(m_dlg, IDC_TC_CH_NUMBER, 2);
    ui::ChooseRow(m_dlg, IDC_TC_CH_TYPE, 8);
    EXPECT_EQ(Press(IDC_TC_CH_CONF), (Requests{"$117C2R14", "#11"}));
    EXPECT_EQ(module.ChannelType(2), 0x14);

    // FOLLOW CH0 from another channel only asks for CH0.
    m_boxes.m_boxes.clear();
    EXPECT_EQ(Press(IDC_TC_FOLLOW_CH0, 1), Requests{"$113"});
    EXPECT_EQ(m_boxes.Texts(), Texts{"Select the CH0!"});
    EXPECT_EQ(m_boxes.m_boxes[0].caption, AfxGetAppName());
}

TEST_F(M6386Functions, FollowCh0CopiesTheTypeToEveryChannelOnePerAcknowledgement)
{
    CSimRefusingTc& module = OpenPerChannel();
    ui::ChooseRow(m_dlg, IDC_TC_CH_TYPE, 2); // T/C J-Type
    EXPECT_EQ(Press(IDC_TC_FOLLOW_CH0, 9),
              (Requests{"$117C0R0E", "$117C1R0E", "$117C2R0E", "$117C3R0E", "$117C4R0E",
                        "$117C5R0E", "$117C6R0E", "$117C7R0E", "#11"}));
    for (int ch = 0; ch < 8; ++ch) EXPECT_EQ(module.ChannelType(ch), 0x0E) << ch;
}

// A refusal stops the chain where it stands; the next acknowledged channel-type write resumes it
// at the channel that was refused, so none is skipped.
TEST_F(M6386Functions, ARefusalInTheFollowChainWaitsForTheNextAcknowledgedWrite)
{
    CSimRefusingTc& module = OpenPerChannel(0, 3);
    ui::ChooseRow(m_dlg, IDC_TC_CH_TYPE, 4); // T/C T-Type, "10"
    EXPECT_EQ(Press(IDC_TC_FOLLOW_CH0, 6),
              (Requests{"$117C0R10", "$117C1R10", "$117C2R10", "$117C3R10", "#11", "$113"}));
    EXPECT_NE(module.ChannelType(3), 0x10);

    ui::ChooseRow(m_dlg, IDC_TC_CH_NUMBER, 6);
    ui::ChooseRow(m_dlg, IDC_TC_CH_TYPE, 3); // K
    EXPECT_EQ(Press(IDC_TC_CH_CONF, 6), (Requests{"$117C6R0F", "$117C3R10", "$117C4R10",
                                                  "$117C5R10", "$117C6R10", "$117C7R10"}));
    Tick(m_dlg);
    EXPECT_EQ(TakeRequests(), Requests{"#11"});
    for (int ch = 0; ch < 8; ++ch) EXPECT_EQ(module.ChannelType(ch), 0x10) << ch;
}

// The automatic reads alternate with the poll. No button pressed before the setting's tick (the
// reads, a calibration, a lamp) takes the setting's place, and the row is rewritten as it goes out.
TEST_F(M6386Functions, NothingDisplacesAWaitingSetting)
{
    OpenPerChannel();
    Tick(m_dlg, 4);
    EXPECT_EQ(TakeRequests(),
              (Requests{"$116", "$118C0", "#11", "$113", "#11", "$113", "#11", "$113"}));
    ui::Type(m_dlg, IDC_TC_ADDRESS, "18");
    ui::Click(m_dlg, IDC_TC_SETTING);
    for (int button : {IDC_TC_CH_READ, IDC_TC_READ, IDC_TC_ZERO, IDC_TC_CALIBRATE,
                       IDC_TC_FOLLOW_CH0, IDC_TC_CH_CONF})
        ui::Click(m_dlg, button);
    m_dlg.OnLButtonDown(MK_LBUTTON, ui::CentreOf(m_dlg, IDC_TC_LOW_LAMP));
    Tick(m_dlg);
    EXPECT_EQ(TakeRequests(), Requests{"%1112FF0600"});
    EXPECT_EQ(m_frame.m_strNewParams[0], "12");
    Tick(m_dlg);
    EXPECT_EQ(m_boxes.Texts(), Texts{"Setting Configuration OK!"});
    EXPECT_EQ(m_bus.Module(0).Address(), 0x12);
}

TEST_F(M6386Functions, AlarmLimitModeAndClearWrites)
{
    OpenSingleChannel();
    const SPress cases[] = {
        {IDC_TC_HIGH_LIMIT, "+0600.0", IDC_TC_ALARMH_SETTING, "@12HI+0600.0", "Ready!"},
        {IDC_TC_LOW_LIMIT, "+0100.0", IDC_TC_ALARML_SETTING, "@12LO+0100.0", "Ready!"},
        {IDC_TC_LOW_LIMIT, "-0100.0", IDC_TC_ALARML_SETTING, "@12LO-0100.0", "Error!"},
        {0, nullptr, IDC_TC_CLEAR_ALARM, "@12CA", "报警清除成功!"},
    };
    ExpectPresses(cases, IDC_TC_STATUS, "#12");
    const char* modes[] = {"@12DA", "@12EAM", "@12EAL"};
    for (int row = 0; row < 3; ++row) {
        ui::ChooseRow(m_dlg, IDC_TC_ALARM_MODE, row);
        EXPECT_EQ(Press(IDC_TC_ALARM_TYPE), (Requests{modes[row], "#12"}));
        EXPECT_EQ(Text(IDC_TC_STATUS), "Ready!");
    }
    m_bus.Module(0).Faults().nSilentAfter = 0;
    Press(IDC_TC_CLEAR_ALARM);
    EXPECT_EQ(Text(IDC_TC_STATUS), "报警清除失败!");
}

// A limit goes out only as the module shows one: a CR typed into it would end the request early.
TEST_F(M6386Functions, ALimitThatIsNoNumberOfTheModulesWidthIsRefused)
{
    OpenSingleChannel();
    for (const char* typed : {"+06\r00.0", "600", "+600.0", "+0600.00", "+06a0.0", ""}) {
        SCOPED_TRACE(typed);
        m_boxes.m_boxes.clear();
        m_dlg.SetDlgItemText(IDC_TC_HIGH_LIMIT, typed);
        Requests sent = Press(IDC_TC_ALARMH_SETTING);
        ASSERT_EQ(m_boxes.m_boxes.size(), 1u);
        EXPECT_EQ(m_boxes.m_boxes[0].caption, "Note");
        for (const std::string& r : sent) EXPECT_NE(r.substr(0, 5), "@12HI");
    }
}

TEST_F(M6386Functions, LampClicksSwitchTheOutputsAndTheLampsFollowTheModule)
{
    OpenSingleChannel();
    auto lamp = [this](int id) { return ui::CentreOf(m_dlg, id); };
    EXPECT_EQ(Icon(IDC_TC_LOW_LAMP), IDI_LAMP_OFF);
    ui::ClickAt(m_dlg, lamp(IDC_TC_LOW_LAMP));
    EXPECT_EQ(Icon(IDC_TC_LOW_LAMP), IDI_LAMP_OFF) << "not at the click";
    Tick(m_dlg);
    EXPECT_EQ(TakeRequests(), Requests{"@12DO01"});
    Tick(m_dlg, 3);
    EXPECT_EQ(TakeRequests(), (Requests{"#12", "@12DI", "#12"}));
    EXPECT_EQ(Icon(IDC_TC_LOW_LAMP), IDI_LAMP_ON);
    EXPECT_EQ(Icon(IDC_TC_HIGH_LAMP), IDI_LAMP_OFF);

    struct Case {
        int lamp;
        int modifiers;
        const char* request;
    } cases[] = {
        {IDC_TC_HIGH_LAMP, 0, "@12DO03"},
        {IDC_TC_HIGH_LAMP, Qt::ShiftModifier, "@12DO03"},
        {IDC_TC_LOW_LAMP, Qt::ControlModifier, "@12DO03"},
        {IDC_TC_LOW_LAMP, 0, "@12DO02"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.request);
        ui::ClickAt(m_dlg, lamp(c.lamp), c.modifiers);
        Tick(m_dlg);
        EXPECT_EQ(TakeRequests(), Requests{c.request});
        Tick(m_dlg, 3);
        TakeRequests();
    }
    EXPECT_EQ(Icon(IDC_TC_LOW_LAMP), IDI_LAMP_OFF);
    EXPECT_EQ(Icon(IDC_TC_HIGH_LAMP), IDI_LAMP_ON);

    // Beside a lamp nothing is switched.
    CRect rect;
    m_dlg.GetDlgItem(IDC_TC_HIGH_LAMP)->GetWindowRect(&rect);
    m_dlg.ScreenToClient(&rect);
    TakeRequests();
    ui::ClickAt(m_dlg, CPoint{rect.left, rect.top});
    ui::ClickAt(m_dlg, CPoint{rect.right + 2, (rect.top + rect.bottom) / 2});
    Tick(m_dlg);
    EXPECT_NE(TakeRequests()[0].substr(0, 5), "@12DO");
}

// On an eight-channel model a click where a lamp sits sends the output write all the same.
TEST_F(M6386Functions, AClickWhereALampSitsOnAnEightChannelModelSendsTheOutputs)
{
    OpenEightChannels();
    TakeRequests();
    m_dlg.OnLButtonDown(MK_LBUTTON, ui::CentreOf(m_dlg, IDC_TC_HIGH_LAMP));
    Tick(m_dlg);
    EXPECT_EQ(TakeRequests(), Requests{"@10DO02"});
}

// A button pressed before the alarm mode has been read waits for it: the mode list is never left
// empty by an early press.
TEST_F(M6386Functions, AnEarlyPressWaitsForTheAlarmModeRead)
{
    m_bus.Add("4388", 0x12, 9600);
    ASSERT_TRUE(m_bus.Exchange(ESimProtocol::Ascii, {}, "@12EAM", 0));
    Open({"12", "06", "0", "0E", "0", "4388"});
    ui::Click(m_dlg, IDC_TC_CLEAR_ALARM);
    Tick(m_dlg, 3);
    EXPECT_EQ(TakeRequests(), (Requests{"#12", "@12DI", "@12CA", "#12"}));
    EXPECT_EQ(Row(IDC_TC_ALARM_MODE), 1);
    EXPECT_EQ(Text(IDC_TC_STATUS), "报警清除成功!");
}

// With the checksum on, the functions' requests carry their digits and the replies shown lose
// theirs.
TEST_F(M6386Functions, TheFunctionsRequestsCarryTheChecksum)
{
    AddEightChannels().SetChecksum(true);
    Open({"10", "06", "4", "0F", "0", "6386"});
    Tick(m_dlg);
    const std::string poll = WithChecksum("#10");
    struct Case {
        int button;
        const char* request;
        const char* status;
    } cases[] = {
        {IDC_TC_CALIBRATE, "$1090000", "Ready."},
        {IDC_TC_READ_CJC, "$10J", "!10+0000"},
        {IDC_TC_COEFFICIENT_WRITE, "~10L2710", "Ready."},
        {IDC_TC_COEFFICIENT_READ, "$10L", "!102710"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.request);
        EXPECT_EQ(Press(c.button), (Requests{WithChecksum(c.request), poll}));
        int status = c.button == IDC_TC_CALIBRATE ? IDC_TC_STATUS : IDC_TC_CJC_STATUS;
        EXPECT_EQ(Text(status), c.status);
    }
}
