// The power-meter dialog over Modbus RTU, against a simulated meter.
#include "counter_power/M6530rtu.h"
#include "ModuleFixture.h"
#include "RtuFrame.h"
#include "counter_power/CounterPowerIds.h"

#include "HexText.h"
#include "PowerMeterTestUtil.h"
#include "Resource.h"
#include "SimPowerMeter.h"
#include "Strings.h"

#include <map>

namespace {

using Requests = std::vector<std::string>;

class M6530rtu : public CModuleFixture {
protected:
    CSimPowerMeter& AddMeter(const char* model, int address, DWORD baud = 9600)
    {
        return static_cast<CSimPowerMeter&>(m_bus.Add(model, address, baud, ESimProtocol::Rtu));
    }
    // A Modbus RTU row fills Module, Address and the Baudrate text.
    void Open(const char* model, const char* address, const char* baud = "9600")
    {
        m_frame.m_strPowerMeterParams = {model, address, baud, "", "", ""};
        m_dlg.Create(IDD_M6530RTU);
    }
    std::string Text(int id) { return m_dlg.GetDlgItemText(id); }
    // A 6530 at 0x0A alone on a bus of its own, for a dialog of the test's own; no box shown yet.
    CSimPowerMeter& FreshMeter(CSimBus& bus)
    {
        auto& meter = static_cast<CSimPowerMeter&>(bus.Add("6530", 0x0A, 9600, ESimProtocol::Rtu));
        m_link.Attach(1, bus);
        m_boxes.m_boxes.clear();
        m_frame.m_strPowerMeterParams = {"6530", "0A", "9600", "", "", ""};
        return meter;
    }

    CM6530rtu m_dlg;
};

} // namespace

TEST_F(M6530rtu, OpensFromTheRowsTextsWithItsLampsDisabled)
{
    AddMeter("6539", 0x0A, 19200);
    Open("6539", "0A", "19200");
    EXPECT_EQ(Text(IDC_PM_ADDRESS), "10");
    EXPECT_EQ(Text(IDC_PM_MODEL), "6539");
    EXPECT_EQ(Text(IDC_PM_BAUD), "19200");
    EXPECT_EQ(Text(IDC_PM_CHECKSUM), "CRC");
    EXPECT_EQ(ui::Rows(m_dlg, IDC_PM_CHECKSUM),
              (std::vector<std::string>{"Enable", "Disable", "CRC"}));
    EXPECT_EQ(m_link.Line(1).dwBaud, 19200u);
    EXPECT_EQ(m_dlg.GetCheckedRadioButton(IDC_PM_COMMAND_ASCII, IDC_PM_COMMAND_MODBUS),
              IDC_PM_COMMAND_MODBUS);
    for (int id : {IDC_PM_BAUD, IDC_PM_CHECKSUM, IDC_PM_COMMAND_MODBUS, IDC_PM_CLEAR, IDC_PM_STEP1,
                   IDC_PM_STEP5, IDC_PM_SAVE, IDC_PM_RESET, IDC_PM_DEFAULT, IDC_PM_SAVE2,
                   IDC_PM_INPUT, IDC_PM_INPUT_LEFT, IDC_PM_OUTPUT0, IDC_PM_OUTPUT1})
        EXPECT_FALSE(m_dlg.GetDlgItem(id)->IsWindowEnabled()) << id;
    EXPECT_EQ(m_dlg.GetDlgItem(IDC_PM_READ_PT), nullptr);
    EXPECT_EQ(TakeRequests(), RtuFrames({"0A0303000007"}));
    EXPECT_TRUE(m_dlg.IsTimerActive(kPollTimer));
}

TEST_F(M6530rtu, EachModelHasItsReadingCycle)
{
    struct Case {
        const char* model;
        std::initializer_list<const char*> requests; // after the first group 0 request
    } cases[] = {
        {"6530",
         {"010303070005", "0103030C0005", "010303110005", "010303160004", "0103031A0008",
          "010303000007", "010303070005"}},
        {"9539",
         {"010303070005", "0103030C0005", "010303110005", "010303160004", "0103031A0008",
          "010300000003", "010303000007", "010303070005"}},
        {"6539",
         {"010303070005", "0103030C0005", "010303110005", "010303160004", "0103031A0008",
          "010300000003", "010303000003", "010303000007", "010303070005"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.model);
        CSimBus bus;
        bus.Add("6539", 1, 9600, ESimProtocol::Rtu);
        m_link.Attach(1, bus);
        CM6530rtu dlg;
        m_frame.m_strPowerMeterParams = {c.model, "01", "9600", "", "", ""};
        dlg.Create(IDD_M6530RTU);
        TakeRequests();
        Tick(dlg, static_cast<int>(c.requests.size()));
        EXPECT_EQ(TakeRequests(), RtuFrames(c.requests));
        EXPECT_EQ(dlg.GetDlgItemText(IDC_PM_EQCAP), "00.066"); // every group was answered
    }
}

TEST_F(M6530rtu, EveryGroupReachesItsBoxes)
{
    CSimPowerMeter& meter = AddMeter("6539", 1);
    const std::map<int, double> inputs = {
        {kSimV1, 230.06},       {kSimV3, 655.35},      {kSimI1, 0.5},  {kSimP2, -1.0},
        {kSimQ, -10.0},         {kSimS1, 3276.7},      {kSimPF1, 1.0}, {kSimF, 50.0},
        {kSimEpi, 4294.967196}, {kSimEQind, 0.065536},
    };
    HoldReadings(meter, inputs);
    Open("6539", "01");
    Tick(m_dlg, 8);
    const std::map<int, std::string> shown = {
        {IDC_PM_V1, "230.060"},   {IDC_PM_V3, "655.350"}, {IDC_PM_I1, "00.500"},
        {IDC_PM_P2, "-1.000"},    {IDC_PM_Q, "-10.000"},  {IDC_PM_S1, "3276.700"},
        {IDC_PM_PF1, "01.000"},   {IDC_PM_F, "50.000"},   {IDC_PM_EPI, "4294.967"},
        {IDC_PM_EQIND, "00.066"},
    };
    ExpectBoxes(m_dlg, shown);
    // Neither the register reads of the digital I/O nor clicks change a lamp or send anything.
    ui::ClickAt(m_dlg, ui::CentreOf(m_dlg, IDC_PM_OUTPUT0));
    ui::ClickAt(m_dlg, ui::CentreOf(m_dlg, IDC_PM_OUTPUT1));
    TakeRequests();
    Tick(m_dlg);
    EXPECT_EQ(TakeRequests(), RtuFrames({"010303070005"}));
    for (int id : kPmLampIds)
        EXPECT_EQ(m_dlg.GetDlgItemAs<CStatic>(id)->GetIcon(), IDI_LAMP_OFF) << id;
}

TEST_F(M6530rtu, AShortReplyIsAMissedExchangeAndShowsNothing)
{
    CSimPowerMeter& meter = AddMeter("6530", 1);
    meter.SetInput(kSimV3, 100.0);
    meter.Faults().nCutTo = 3 + 6; // address, function, count and V1 to V3, without the CRC
    Open("6530", "01");
    Tick(m_dlg);
    // A frame cut short carries none of the group: no value, and no zero for the values it lacks.
    for (int id : {IDC_PM_V1, IDC_PM_V2, IDC_PM_V3, IDC_PM_I1}) EXPECT_EQ(Text(id), "") << id;
}

TEST_F(M6530rtu, AMissedReplyRestartsTheCycleAtGroupZero)
{
    CSimPowerMeter& meter = AddMeter("6530", 1);
    Open("6530", "01");
    Tick(m_dlg, 2);
    meter.Faults().nSilentAfter = 0;
    Tick(m_dlg);
    meter.Faults().nSilentAfter = -1;
    Tick(m_dlg, 2);
    EXPECT_EQ(TakeRequests(), RtuFrames({"010303000007", "010303070005", "0103030C0005",
                                         "010303110005", "010303000007", "010303070005"}));
}

TEST_F(M6530rtu, TheAddressWriteIsJudgedByItsOwnReply)
{
    struct Case {
        const char* typed;
        const char* request;
        int fault; // 0 none, 1 silence, 2 line noise
        const char* message;
        int address;
    } cases[] = {
        {"10", "0A060812000A", 0, "Setting Configuration OK!", 0x0A},
        {"17", "0A0608120011", 0, "Setting Configuration OK!", 0x11},
        // Address 0 is the broadcast: the meter refuses it with an exception reply.
        {"0", "0A0608120000", 0, kConfigurationError, 0x0A},
        {"17", "0A0608120011", 1, kConfigurationError, 0x0A},
        {"17", "0A0608120011", 2, kConfigurationError, 0x0A},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.request) + " fault " + std::to_string(c.fault));
        CSimBus bus;
        CSimPowerMeter& meter = FreshMeter(bus);
        CM6530rtu dlg;
        dlg.Create(IDD_M6530RTU);
        WatchTimerAtBoxes(dlg);
        ui::Type(dlg, IDC_PM_ADDRESS, c.typed);
        ui::Click(dlg, IDC_PM_SETTING);
        TakeRequests();
        if (c.fault == 1) meter.Faults().nSilentAfter = 0;
        if (c.fault == 2) meter.Faults().nGarbage = 8;
        Tick(dlg);
        EXPECT_EQ(TakeRequests(), RtuFrames({c.request}));
        EXPECT_TRUE(m_boxes.Texts().empty());
        Tick(dlg);
        EXPECT_EQ(m_boxes.Texts(), std::vector<std::string>{c.message});
        EXPECT_EQ(m_boxes.m_boxes.at(0).caption, "Setting");
        EXPECT_FALSE(dlg.IsRunning());
        EXPECT_FALSE(m_link.IsRtuOpen());
        EXPECT_FALSE(m_bTimerRanUnderBox);
        if (c.fault != 2) {
            EXPECT_EQ(meter.Address(), c.address);
        }
    }
}

TEST_F(M6530rtu, SettingWritesTheRowAsItGoesOut)
{
    AddMeter("6539", 0x0A, 19200);
    Open("6539", "0A", "19200");
    // No request carries a baud rate or checksum: the boxes cannot promise one.
    EXPECT_FALSE(ui::ChooseRow(m_dlg, IDC_PM_BAUD, 3));
    EXPECT_FALSE(ui::ChooseRow(m_dlg, IDC_PM_CHECKSUM, 0));
    ui::Type(m_dlg, IDC_PM_ADDRESS, "17");
    ui::Click(m_dlg, IDC_PM_SETTING);
    EXPECT_FALSE(m_frame.m_bPowerMeterChanged) << "nothing has gone out yet";
    TakeRequests();
    Tick(m_dlg);
    EXPECT_EQ(TakeRequests(), RtuFrames({"0A0608120011"}));
    EXPECT_TRUE(m_frame.m_bPowerMeterChanged);
    EXPECT_EQ(m_frame.m_strNewRowText, (RowTexts{"6539", "11", "19200", "CRC", ""}));
    EXPECT_EQ(m_frame.m_strNewParams[0], "11");
    for (size_t i = 1; i < 5; ++i) EXPECT_EQ(m_frame.m_strNewParams[i], "") << i;
}

TEST_F(M6530rtu, TheSwitchToAsciiStopsPollingOnceItsOwnExchangeIsDone)
{
    for (bool silent : {false, true}) {
        SCOPED_TRACE(silent ? "silent" : "echo");
        CSimBus bus;
        CSimPowerMeter& meter = FreshMeter(bus);
        CM6530rtu dlg;
        dlg.Create(IDD_M6530RTU);
        ui::Type(dlg, IDC_PM_ADDRESS, "17"); // the switch carries no address
        ui::Click(dlg, IDC_PM_PROTOCOL_SWITCH);
        ui::Click(dlg, IDC_PM_SETTING);
        TakeRequests();
        if (silent) meter.Faults().nSilentAfter = 0;
        Tick(dlg);
        EXPECT_EQ(TakeRequests(), RtuFrames({"0A06080D0001"}));
        DWORD before = GetTickCount();
        Tick(dlg);
        EXPECT_EQ(m_boxes.Texts(), std::vector<std::string>{"Setting ASCII OK!"});
        EXPECT_GE(GetTickCount() - before, 100u);
        EXPECT_TRUE(dlg.IsRunning());
        EXPECT_FALSE(dlg.IsTimerActive(kPollTimer));
        EXPECT_TRUE(TakeRequests().empty());
        EXPECT_EQ(meter.Protocol(), silent ? ESimProtocol::Rtu : ESimProtocol::Ascii);
        EXPECT_EQ(m_frame.m_strNewRowText[1], "") << "the row keeps its address";
        EXPECT_EQ(m_frame.m_strNewParams[0], "");
    }
}

TEST_F(M6530rtu, ARefusedSwitchIsReportedOnceAndPollingGoesOn)
{
    CSimPowerMeter& meter = AddMeter("6530", 1);
    Open("6530", "01");
    ui::Click(m_dlg, IDC_PM_PROTOCOL_SWITCH);
    ui::Click(m_dlg, IDC_PM_SETTING);
    meter.Faults().nGarbage = 6; // line noise in place of the echo
    Tick(m_dlg);
    meter.Faults() = {};
    meter.SetProtocol(ESimProtocol::Rtu); // and the meter did not take the switch
    Tick(m_dlg);
    EXPECT_EQ(m_boxes.Texts(), std::vector<std::string>{kConfigurationError});
    EXPECT_TRUE(m_dlg.IsTimerActive(kPollTimer));
    // Later missed replies are only missed replies.
    meter.Faults().nSilentAfter = 0;
    Tick(m_dlg, 3);
    meter.Faults().nSilentAfter = -1;
    Tick(m_dlg, 2);
    EXPECT_EQ(m_boxes.Texts().size(), 1u);
    EXPECT_TRUE(m_dlg.IsTimerActive(kPollTimer));
    EXPECT_EQ(TakeRequests().back(), RtuFrame("010303070005"));
}

TEST_F(M6530rtu, EnterClosesTheDialogLikeCancel)
{
    AddMeter("6530", 1);
    Open("6530", "01");
    ui::PressKey(m_dlg, Qt::Key_Return);
    EXPECT_FALSE(m_dlg.IsRunning());
    EXPECT_FALSE(m_dlg.IsTimerActive(kPollTimer));
    EXPECT_FALSE(m_link.IsRtuOpen());
}

TEST_F(M6530rtu, OpenComErrorLeavesTheDialogWithoutPolling)
{
    m_link.Detach(1);
    Open("6530", "01");
    EXPECT_EQ(m_boxes.Texts(), std::vector<std::string>{"Open Com Error!"});
    EXPECT_FALSE(m_dlg.IsTimerActive(kPollTimer));
    EXPECT_TRUE(m_dlg.IsRunning());
    // A Setting then sends nothing, so the row stays as it is.
    ui::Type(m_dlg, IDC_PM_ADDRESS, "5");
    ui::Click(m_dlg, IDC_PM_SETTING);
    EXPECT_FALSE(m_frame.m_bPowerMeterChanged);
    EXPECT_EQ(m_frame.m_strNewParams, ModuleParamBlock{});
}
