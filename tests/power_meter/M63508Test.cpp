// The power-meter dialog over the meter's ASCII command set, against a simulated meter.
#include "counter_power/M63508.h"
#include "ModuleFixture.h"
#include "counter_power/CounterPowerIds.h"
#include "counter_power/PowerMeterReadings.h"

#include "AsciiCommand.h"
#include "LateLine.h"
#include "PowerMeterTestUtil.h"
#include "Resource.h"
#include "SimPowerMeter.h"
#include "Strings.h"

#include <map>

namespace {

using Requests = std::vector<std::string>;

// Cycle requests as the wire shows them: with the checksum digits when on.
std::string Wire(const std::string& text, bool checksum)
{
    return checksum ? text + AppendChecksum(text) : text;
}

// A meter whose group "0" reply is scripted.
class CScriptedMeter : public CSimPowerMeter {
public:
    CScriptedMeter() : CSimPowerMeter("6530") {}
    std::string m_strGroupA;

protected:
    std::optional<std::string> OnAscii(char lead, std::string_view body, DWORD now) override
    {
        if (lead == '#' && body == "A") return m_strGroupA;
        return CSimPowerMeter::OnAscii(lead, body, now);
    }
};

class M63508 : public CModuleFixture {
protected:
    CSimPowerMeter& AddMeter(const char* model, int address, bool checksum = false)
    {
        auto& meter = static_cast<CSimPowerMeter&>(m_bus.Add(model, address, 9600));
        meter.SetChecksum(checksum);
        return meter;
    }
    void Open(const ModuleParamBlock& block)
    {
        m_frame.m_strPowerMeterParams = block;
        m_dlg.Create(IDD_M63508);
    }
    std::string Text(int id) { return m_dlg.GetDlgItemText(id); }
    // Every reading box, group by group.
    std::vector<std::string> ReadingTexts()
    {
        std::vector<std::string> texts;
        for (const SPmGroup& group : kPmGroups) {
            for (const SPmField& field : group.fields) texts.push_back(Text(field.nBox));
        }
        return texts;
    }
    HICON Icon(int id) { return m_dlg.GetDlgItemAs<CStatic>(id)->GetIcon(); }
    void ClickLamp(int id, int modifiers = 0)
    {
        ui::ClickAt(m_dlg, ui::CentreOf(m_dlg, id), modifiers);
    }

    CM63508 m_dlg;
};

} // namespace

TEST_F(M63508, OpensFromTheBlockAndShowsTheFixedControls)
{
    AddMeter("6539", 0x0A);
    Open({"0A", "07", "4", "01", "0", "6539"});
    EXPECT_EQ(Text(IDC_PM_ADDRESS), "10");
    EXPECT_EQ(Text(IDC_PM_MODEL), "6539");
    EXPECT_EQ(Text(IDC_PM_BAUD), "19200");
    EXPECT_EQ(Text(IDC_PM_CHECKSUM), "Enable");
    EXPECT_EQ(m_link.Line(1).dwBaud, 19200u);
    EXPECT_EQ(m_dlg.GetCheckedRadioButton(IDC_PM_COMMAND_ASCII, IDC_PM_COMMAND_MODBUS),
              IDC_PM_COMMAND_ASCII);
    for (int id : {IDC_PM_COMMAND_ASCII, IDC_PM_COMMAND_MODBUS, IDC_PM_CLEAR, IDC_PM_STEP1,
                   IDC_PM_STEP2, IDC_PM_STEP3, IDC_PM_STEP4, IDC_PM_STEP5, IDC_PM_SAVE,
                   IDC_PM_RESET, IDC_PM_DEFAULT, IDC_PM_SAVE2})
        EXPECT_FALSE(m_dlg.GetDlgItem(id)->IsWindowEnabled()) << id;
    EXPECT_EQ(m_dlg.GetDlgItemText(IDC_PM_STEP4), "   Step4 (200V,0.5A,PF=0.5)");
    EXPECT_EQ(ui::Rows(m_dlg, IDC_PM_CHECKSUM), (std::vector<std::string>{"Enable", "Disable"}));
    for (int id : kPmLampIds) EXPECT_EQ(Icon(id), IDI_LAMP_UNUSED);
    EXPECT_EQ(TakeRequests(), Requests{Wire("#0AA", true)});
}

TEST_F(M63508, EachModelHasItsReadingCycleWithAndWithoutTheChecksum)
{
    struct Case {
        const char* model;
        Requests bodies; // after the first #AAA
    } cases[] = {
        {"6530", {"#0AB", "#0AC", "#0AD", "#0AE", "#0AF", "#0AA", "#0AB"}},
        {"9539", {"#0AB", "#0AC", "#0AD", "#0AE", "#0AF", "@0AS", "#0AA", "#0AB"}},
        {"6539", {"#0AB", "#0AC", "#0AD", "#0AE", "#0AF", "@0AS", "@0AS", "#0AA", "#0AB"}},
        {"4539", {"#0AB", "#0AC", "#0AD", "#0AE", "#0AF", "@0AS", "@0AS", "#0AA", "#0AB"}},
    };
    for (bool checksum : {false, true}) {
        for (const Case& c : cases) {
            SCOPED_TRACE(std::string(c.model) + (checksum ? " checksum" : ""));
            CSimBus bus;
            bus.Add("6539", 0x0A, 9600).SetChecksum(checksum);
            m_link.Attach(1, bus);
            CM63508 dlg;
            m_frame.m_strPowerMeterParams = {"0A", "06", checksum ? "4" : "0", "01", "0", c.model};
            dlg.Create(IDD_M63508);
            TakeRequests();
            Tick(dlg, static_cast<int>(c.bodies.size()));
            Requests expected;
            for (const std::string& body : c.bodies) expected.push_back(Wire(body, checksum));
            EXPECT_EQ(TakeRequests(), expected);
            EXPECT_EQ(dlg.GetDlgItemText(IDC_PM_EQCAP), "00.066"); // every group was answered
        }
    }
}

TEST_F(M63508, EveryGroupReachesItsBoxes)
{
    CSimPowerMeter& meter = AddMeter("6530", 1, true);
    const std::map<int, double> inputs = {
        {kSimV1, 230.06}, {kSimI2, 65.535}, {kSimIn, 0.5},   {kSimP1, -1.0}, {kSimP, -10.0},
        {kSimQ3, 0.1},    {kSimS, 6.0},     {kSimPF2, -0.5}, {kSimF, 49.99}, {kSimEpo, 0.065536},
    };
    HoldReadings(meter, inputs);
    Open({"01", "06", "4", "01", "0", "6530"});
    Tick(m_dlg, 6);
    const std::map<int, std::string> shown = {
        {IDC_PM_V1, "230.060"}, {IDC_PM_I2, "65.535"},  {IDC_PM_IN, "00.500"},
        {IDC_PM_P1, "-1.000"},  {IDC_PM_P, "-10.000"},  {IDC_PM_Q3, "00.100"},
        {IDC_PM_S, "06.000"},   {IDC_PM_PF2, "-0.500"}, {IDC_PM_F, "49.990"},
        {IDC_PM_EPO, "00.066"},
    };
    ExpectBoxes(m_dlg, shown);
}

TEST_F(M63508, AMissedReplyRestartsTheCycleAtGroupZero)
{
    CSimPowerMeter& meter = AddMeter("6530", 1);
    Open({"01", "06", "0", "01", "0", "6530"});
    Tick(m_dlg, 3);
    meter.Faults().nSilentAfter = 0;
    Tick(m_dlg); // the group 4 request goes out unanswered
    meter.Faults().nSilentAfter = -1;
    meter.SetInput(kSimV1, 100.0);
    Tick(m_dlg, 2);
    EXPECT_EQ(TakeRequests(), (Requests{"#01A", "#01B", "#01C", "#01D", "#01E", "#01A", "#01B"}));
    EXPECT_EQ(Text(IDC_PM_V1), "100.000");
}

// A meter whose replies come one request late: a group's reply then comes to the request of the
// next group. Only a reply of the length of the group asked for is read, so no box ever shows
// another group's values.
TEST_F(M63508, RepliesOneRequestLateLeaveEveryBoxAsItWas)
{
    AddMeter("6530", 1);
    Open({"01", "06", "0", "01", "0", "6530"});
    Tick(m_dlg, 6);
    std::vector<std::string> before = ReadingTexts();
    CLateLine line;
    line.SetLate(true);
    for (int i = 0; i < 14; ++i) {
        Tick(m_dlg);
        EXPECT_EQ(ReadingTexts(), before) << i;
    }
}

// A reply of the right lead but not of its group's length, or with a character that is no hex
// digit, shows nothing and starts the cycle again, as a missed one does.
TEST_F(M63508, AGroupReplyOfAnotherShapeIsAMissedExchange)
{
    for (const char* reply : {">59DE", ">59DE59DE59DE59DE59DE59DE59DE59DE",
                              ">59DE59DE59DE59DE59DE59DE59DG", "!0159DE59DE59DE59DE59DE59DE59DE"}) {
        SCOPED_TRACE(reply);
        CSimBus bus;
        auto scripted = std::make_unique<CScriptedMeter>();
        scripted->SetAddress(1);
        scripted->m_strGroupA = reply;
        bus.Add(std::move(scripted));
        m_link.Attach(1, bus);
        CM63508 dlg;
        m_frame.m_strPowerMeterParams = {"01", "06", "0", "01", "0", "6530"};
        dlg.Create(IDD_M63508);
        TakeRequests();
        Tick(dlg, 2);
        EXPECT_EQ(dlg.GetDlgItemText(IDC_PM_V1), "");
        EXPECT_EQ(TakeRequests(), (Requests{"#01A", "#01A"}));
        dlg.OnCancel();
    }
}

TEST_F(M63508, RatiosAreReadAndWrittenWithoutTheChecksum)
{
    CSimPowerMeter& meter = AddMeter("6530", 1);
    meter.SetPtRatio(100);
    meter.SetCtRatio(0xFFFF);
    Open({"01", "06", "0", "01", "0", "6530"});
    Tick(m_dlg, 3); // waiting for group 3
    TakeRequests();
    ui::Click(m_dlg, IDC_PM_READ_PT);
    Tick(m_dlg, 2);
    EXPECT_EQ(TakeRequests(), (Requests{"$013", "#01A"}));
    EXPECT_EQ(Text(IDC_PM_PT_READ), "100");
    ui::Click(m_dlg, IDC_PM_READ_CT);
    Tick(m_dlg, 2);
    EXPECT_EQ(Text(IDC_PM_CT_READ), "65535");
    ui::Type(m_dlg, IDC_PM_PT_SET, "250");
    ui::Click(m_dlg, IDC_PM_SET_PT);
    ui::Type(m_dlg, IDC_PM_CT_SET, "5");
    ui::Click(m_dlg, IDC_PM_SET_CT);
    TakeRequests();
    Tick(m_dlg, 3);
    // Both writes go out, each in its turn, and then the cycle starts again.
    EXPECT_EQ(TakeRequests(), (Requests{"$01500fa", "$0160005", "#01A"}));
    EXPECT_EQ(meter.PtRatio(), 250);
    EXPECT_EQ(meter.CtRatio(), 5);
    EXPECT_TRUE(m_boxes.Texts().empty());
}

TEST_F(M63508, RatioRequestsGoWithoutTheChecksumEvenWhenItIsOn)
{
    CSimPowerMeter& meter = AddMeter("6530", 1, true);
    Open({"01", "06", "4", "01", "0", "6530"});
    Tick(m_dlg);
    ui::Type(m_dlg, IDC_PM_PT_SET, "100");
    ui::Click(m_dlg, IDC_PM_SET_PT);
    TakeRequests();
    Tick(m_dlg, 2);
    // The meter ignores a request without its checksum; polling goes on.
    EXPECT_EQ(TakeRequests(), (Requests{"$0150064", Wire("#01A", true)}));
    EXPECT_EQ(meter.PtRatio(), 1);
}

TEST_F(M63508, ATypedRatioOutside16BitsOrNotANumberIsRefusedAndNothingIsSent)
{
    AddMeter("6530", 1);
    Open({"01", "06", "0", "01", "0", "6530"});
    for (const char* typed : {"65536", "-1", "abc", "", "4294967396", "1e3"}) {
        SCOPED_TRACE(typed);
        m_boxes.m_boxes.clear();
        ui::Type(m_dlg, IDC_PM_PT_SET, typed);
        ui::Click(m_dlg, IDC_PM_SET_PT);
        ui::Type(m_dlg, IDC_PM_CT_SET, typed);
        ui::Click(m_dlg, IDC_PM_SET_CT);
        EXPECT_EQ(m_boxes.Texts().size(), 2u);
        TakeRequests();
        Tick(m_dlg);
        EXPECT_EQ(CharAt(TakeRequests().at(0), 0), '#');
    }
    EXPECT_EQ(m_boxes.Texts().at(0), "The ratio must be a number from 0 to 65535!");
}

TEST_F(M63508, ARatioReplyWithoutItsDigitsIsAReadError)
{
    CSimPowerMeter& meter = AddMeter("6530", 1);
    Open({"01", "06", "0", "01", "0", "6530"});
    struct SSpoilt {
        const char* what;
        SSimFaults faults;
    } spoilt[] = {
        {"noise 3", {.nGarbage = 3}},
        {"noise 6", {.nGarbage = 6}},
        {"noise 9", {.nGarbage = 9}},
        {"padded", {.nLongTo = 9}}, // "!01" and six digits: no ratio of four
    };
    for (const SSpoilt& s : spoilt) {
        SCOPED_TRACE(s.what);
        m_dlg.SetDlgItemText(IDC_PM_STATUS, "");
        ui::Click(m_dlg, IDC_PM_READ_PT);
        meter.Faults() = s.faults;
        Tick(m_dlg); // $013 goes out and the spoilt reply comes back
        meter.Faults() = {};
        Tick(m_dlg);
        EXPECT_EQ(Text(IDC_PM_STATUS), "Read Error!");
        EXPECT_EQ(Text(IDC_PM_PT_READ), "");
    }
}

TEST_F(M63508, LampClicksSwitchTheOutputsOfA6539)
{
    CSimPowerMeter& meter = AddMeter("6539", 1);
    Open({"01", "06", "0", "01", "0", "6539"});
    Tick(m_dlg, 2);
    TakeRequests();
    ClickLamp(IDC_PM_OUTPUT0, Qt::ShiftModifier); // nothing
    ClickLamp(IDC_PM_OUTPUT0);
    Tick(m_dlg);
    EXPECT_EQ(Icon(IDC_PM_OUTPUT0), IDI_LAMP_ON);
    EXPECT_EQ(Icon(IDC_PM_OUTPUT1), IDI_LAMP_OFF);
    ClickLamp(IDC_PM_OUTPUT1);
    Tick(m_dlg, 2);
    EXPECT_EQ(TakeRequests(), (Requests{"@01O1", "@01O3", "#01A"}));
    EXPECT_EQ(meter.Outputs(), 3);
    EXPECT_EQ(Icon(IDC_PM_OUTPUT1), IDI_LAMP_ON);
    EXPECT_EQ(Text(IDC_PM_STATUS), "");
    // A click beside the lamps sends nothing.
    CPoint beside = ui::CentreOf(m_dlg, IDC_PM_OUTPUT0);
    beside.x += 40;
    ui::ClickAt(m_dlg, beside);
    Tick(m_dlg);
    EXPECT_EQ(TakeRequests(), (Requests{"#01B"}));
}

TEST_F(M63508, TheSecondStateReadOfA6539SetsTheLamps)
{
    CSimPowerMeter& meter = AddMeter("6539", 1);
    meter.SetDigitalInput(0, true);
    Open({"01", "06", "0", "01", "0", "6539"});
    Tick(m_dlg, 6); // through group 5 and the first @01S
    EXPECT_EQ(Icon(IDC_PM_INPUT), IDI_LAMP_UNUSED);
    ClickLamp(IDC_PM_OUTPUT1); // bit 1 on: 2
    Tick(m_dlg, 2);            // @01O2, then #01A
    meter.SetDigitalInput(0, false);
    Tick(m_dlg, 7);
    EXPECT_EQ(Icon(IDC_PM_INPUT), IDI_LAMP_UNUSED); // the reply of the first @01S is not shown
    Tick(m_dlg);
    EXPECT_EQ(Icon(IDC_PM_INPUT), IDI_LAMP_OFF);
    EXPECT_EQ(Icon(IDC_PM_INPUT_LEFT), IDI_LAMP_UNUSED);
    EXPECT_EQ(Icon(IDC_PM_OUTPUT1), IDI_LAMP_ON);
    EXPECT_EQ(Icon(IDC_PM_OUTPUT0), IDI_LAMP_OFF);
    EXPECT_EQ(m_dlg.m_bDoState, (std::array<int, 2>{0, 1}));
}

TEST_F(M63508, AnOutputWriteThatIsNotAcknowledgedShowsDioError)
{
    CSimPowerMeter& meter = AddMeter("6539", 1);
    Open({"01", "06", "0", "01", "0", "6539"});
    ClickLamp(IDC_PM_OUTPUT0);
    meter.Faults().nGarbage = 3;
    Tick(m_dlg);
    meter.Faults() = {};
    Tick(m_dlg);
    EXPECT_EQ(Text(IDC_PM_STATUS), "DIO Error!");
    EXPECT_EQ(TakeRequests().back(), "#01A");
}

// The lamps and both ratios asked for before one tick all reach the meter.
TEST_F(M63508, WritesToSeveralControlsInOneTickAllReachTheMeter)
{
    CSimPowerMeter& meter = AddMeter("6539", 1);
    Open({"01", "06", "0", "01", "0", "6539"});
    Tick(m_dlg, 2);
    ClickLamp(IDC_PM_OUTPUT1);
    ui::Type(m_dlg, IDC_PM_PT_SET, "7");
    ui::Click(m_dlg, IDC_PM_SET_PT);
    ui::Type(m_dlg, IDC_PM_CT_SET, "9");
    ui::Click(m_dlg, IDC_PM_SET_CT);
    Tick(m_dlg, 4);
    EXPECT_EQ(meter.Outputs(), 2);
    EXPECT_EQ(meter.PtRatio(), 7);
    EXPECT_EQ(meter.CtRatio(), 9);
}

TEST_F(M63508, AMeterWithoutDigitalIoHasDisabledLampsThatTakeNoClicks)
{
    AddMeter("6530", 1);
    Open({"01", "06", "0", "01", "0", "6530"});
    for (int id : kPmLampIds) EXPECT_FALSE(m_dlg.GetDlgItem(id)->IsWindowEnabled());
    ClickLamp(IDC_PM_OUTPUT0);
    TakeRequests();
    Tick(m_dlg);
    EXPECT_EQ(TakeRequests(), (Requests{"#01B"}));
}

TEST_F(M63508, SettingWritesTheConfigurationAndTheRowAsItGoesOut)
{
    struct Case {
        const char* check;
        const char* address;
        int checksumRow;
        bool modbus;
        std::string request;
        const char* checkDigit;
        const char* checksumText;
    } cases[] = {
        {"0", "2", 0, false, "%0102010640", "4", "Enable"},
        {"0", "2", 0, true, "%0102020640", "4", "Enable"},
        {"4", "17", 1, false, Wire("%0111010600", true), "0", "Disable"},
        // Bit 2 of the character code of "C" is clear: the checksum counts as off.
        {"C", "1", 0, false, "%01010106C0", "C", "Enable"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.request);
        CSimBus bus;
        bus.Add("6530", 1, 9600).SetChecksum(ChecksumOn(c.check));
        m_link.Attach(1, bus);
        CM63508 dlg;
        m_frame.m_strPowerMeterParams = {"01", "06", c.check, "01", "0", "6530"};
        m_frame.m_bPowerMeterChanged = false;
        dlg.Create(IDD_M63508);
        ui::Type(dlg, IDC_PM_ADDRESS, c.address);
        ui::ChooseRow(dlg, IDC_PM_BAUD, 3);
        ui::ChooseRow(dlg, IDC_PM_CHECKSUM, c.checksumRow);
        if (c.modbus) ui::Click(dlg, IDC_PM_PROTOCOL_SWITCH);
        ui::Click(dlg, IDC_PM_SETTING);
        EXPECT_FALSE(m_frame.m_bPowerMeterChanged) << "nothing has gone out yet";
        TakeRequests();
        Tick(dlg);
        EXPECT_EQ(TakeRequests(), Requests{c.request});
        std::string address = Format("%02X", std::stoi(c.address));
        EXPECT_TRUE(m_frame.m_bPowerMeterChanged);
        EXPECT_EQ(m_frame.m_strNewRowText,
                  (RowTexts{"6530", address, "9600", c.checksumText, "智能电量模块"}));
        EXPECT_EQ(m_frame.m_strNewParams[0], address);
        EXPECT_EQ(m_frame.m_strNewParams[1], "06");
        EXPECT_EQ(m_frame.m_strNewParams[2], c.checkDigit);
        EXPECT_EQ(m_frame.m_strNewParams[3], "01");
        EXPECT_EQ(m_frame.m_strNewParams[4], "0");
    }
}

TEST_F(M63508, TheOutcomeOfTheConfigurationClosesTheDialog)
{
    struct Case {
        const char* address;
        bool modbus;
        bool silent;
        const char* message;
        int answeredAt;
        ESimProtocol protocol;
    } cases[] = {
        {"17", false, false, "Setting Configuration OK!", 0x11, ESimProtocol::Ascii},
        {"1", true, false, "Setting Modbus/RTU OK!", 0x01, ESimProtocol::Rtu},
        // Silence is success only for the switch, after which the meter no longer speaks ASCII.
        {"17", false, true, "Setting Configuration Error! \r\n Please Connect Init* to GND!", 0x01,
         ESimProtocol::Ascii},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.message);
        CSimBus bus;
        auto& meter = static_cast<CSimPowerMeter&>(bus.Add("6530", 1, 9600));
        m_link.Attach(1, bus);
        m_boxes.m_boxes.clear();
        CM63508 dlg;
        m_frame.m_strPowerMeterParams = {"01", "06", "0", "01", "0", "6530"};
        dlg.Create(IDD_M63508);
        WatchTimerAtBoxes(dlg);
        Tick(dlg);
        ui::Type(dlg, IDC_PM_ADDRESS, c.address);
        if (c.modbus) ui::Click(dlg, IDC_PM_PROTOCOL_SWITCH);
        ui::Click(dlg, IDC_PM_SETTING);
        if (c.silent) meter.Faults().nSilentAfter = 0;
        Tick(dlg, 2);
        EXPECT_EQ(m_boxes.Texts(), std::vector<std::string>{c.message});
        EXPECT_EQ(m_boxes.m_boxes.at(0).caption, "Setting");
        EXPECT_FALSE(dlg.IsRunning());
        EXPECT_FALSE(m_link.IsAsciiOpen());
        EXPECT_FALSE(m_bTimerRanUnderBox);
        EXPECT_EQ(meter.Address(), c.answeredAt);
        EXPECT_EQ(meter.Protocol(), c.protocol);
    }
}

TEST_F(M63508, ARefusedConfigurationShowsTheInitText)
{
    AddMeter("6530", 1);
    Open({"01", "06", "0", "01", "0", "6530"});
    ui::ChooseRow(m_dlg, IDC_PM_BAUD, 4); // a new baud rate needs INIT*
    ui::Click(m_dlg, IDC_PM_SETTING);
    Tick(m_dlg, 2);
    EXPECT_EQ(
        m_boxes.Texts(),
        std::vector<std::string>{"Setting Configuration Error! \r\n Please Connect Init* to GND!"});
    EXPECT_FALSE(m_dlg.IsRunning());
}

TEST_F(M63508, ATypedChecksumTextKeepsTheModulesSetting)
{
    AddMeter("6530", 1, true);
    Open({"01", "06", "4", "01", "0", "6530"});
    ui::Type(m_dlg, IDC_PM_CHECKSUM, "maybe");
    ui::Click(m_dlg, IDC_PM_SETTING);
    TakeRequests();
    Tick(m_dlg);
    EXPECT_EQ(TakeRequests(), Requests{Wire("%0101010640", true)});
    EXPECT_EQ(m_frame.m_strNewParams[2], "4");
    EXPECT_EQ(m_frame.m_strNewRowText[3], "Enable");
}

TEST_F(M63508, TheSettingsBoxesShowTheBlockAndWriteItBackUntouched)
{
    AddMeter("6530", 0x22);
    m_frame.m_strPowerMeterParams = {"22", "07", "4", "01", "0", "6530"};
    ExpectSettingsRoundTrip<CM63508>(IDD_M63508, IDC_PM_SETTING,
                                     {{IDC_PM_BAUD, 4}, {IDC_PM_CHECKSUM, 0}},
                                     {"22", "07", "4", "01", "0"}, 1);
}

TEST_F(M63508, EnterClosesTheDialogLikeCancel)
{
    AddMeter("6530", 1);
    Open({"01", "06", "0", "01", "0", "6530"});
    ui::PressKey(m_dlg, Qt::Key_Return);
    EXPECT_FALSE(m_dlg.IsRunning());
    EXPECT_FALSE(m_dlg.IsTimerActive(kPollTimer));
    EXPECT_FALSE(m_link.IsAsciiOpen());
    EXPECT_FALSE(m_frame.m_bPowerMeterChanged);
}

TEST_F(M63508, ASettingAfterAMissedReplyGoesOutOnTheNextTick)
{
    CSimPowerMeter& meter = AddMeter("6530", 1);
    Open({"01", "06", "0", "01", "0", "6530"});
    meter.Faults().nSilentAfter = 0;
    Tick(m_dlg); // this request gets no reply
    ui::Click(m_dlg, IDC_PM_READ_PT);
    ui::Type(m_dlg, IDC_PM_ADDRESS, "5");
    ui::Click(m_dlg, IDC_PM_SETTING);
    meter.Faults().nSilentAfter = -1;
    TakeRequests();
    Tick(m_dlg, 2);
    EXPECT_EQ(TakeRequests(), Requests{"%0105010600"});
    EXPECT_EQ(m_boxes.Texts(), std::vector<std::string>{"Setting Configuration OK!"});
    EXPECT_EQ(meter.Address(), 5);
}

TEST_F(M63508, OpenComErrorLeavesTheDialogPollingIntoSilence)
{
    m_link.Detach(1);
    Open({"01", "06", "0", "01", "0", "6530"});
    EXPECT_EQ(m_boxes.Texts(), std::vector<std::string>{"Open Com Error!"});
    EXPECT_TRUE(m_dlg.IsTimerActive(kPollTimer));
    Tick(m_dlg, 2);
    EXPECT_EQ(Text(IDC_PM_V1), "");
    // A Setting on the line that never opened sends nothing, so the row stays as it is.
    ui::Type(m_dlg, IDC_PM_ADDRESS, "5");
    ui::Click(m_dlg, IDC_PM_SETTING);
    Tick(m_dlg, 2);
    EXPECT_FALSE(m_dlg.IsRunning());
    EXPECT_FALSE(m_frame.m_bPowerMeterChanged);
    EXPECT_EQ(m_frame.m_strNewParams, ModuleParamBlock{});
}

// "Read PT" pressed after a Setting with a new address waits: the "%" goes out first, to the
// address the meter answers to, and only then is the new address the one polled.
TEST_F(M63508, ARequestPressedAfterTheSettingDoesNotDisplaceIt)
{
    CSimPowerMeter& meter = AddMeter("6530", 1);
    Open({"01", "06", "0", "01", "0", "6530"});
    Tick(m_dlg);
    ui::Type(m_dlg, IDC_PM_ADDRESS, "5");
    ui::Click(m_dlg, IDC_PM_SETTING);
    ui::Click(m_dlg, IDC_PM_READ_PT);
    TakeRequests();
    Tick(m_dlg);
    EXPECT_EQ(TakeRequests(), Requests{"%0105010600"});
    Tick(m_dlg);
    EXPECT_EQ(m_boxes.Texts(), std::vector<std::string>{"Setting Configuration OK!"});
    EXPECT_EQ(meter.Address(), 5);
    EXPECT_EQ(m_frame.m_strNewParams[0], "05");
}
