// The thermocouple dialog over ASCII against simulated thermocouple modules.
#include "M6386Fixture.h"

TEST_F(M6386, EightChannelModelReadsTheMaskThenPolls)
{
    AddEightChannels(0x81);
    Open({"10", "06", "0", "0F", "0", "6386"});
    EXPECT_EQ(m_dlg.GetDlgItemText(IDC_TC_ADDRESS), "16");
    EXPECT_EQ(m_dlg.GetDlgItemText(IDC_TC_MODEL), "6386");
    EXPECT_EQ(Row(IDC_TC_RANGE), 8);
    EXPECT_EQ(Row(IDC_TC_BAUD), 3);
    EXPECT_EQ(Row(IDC_TC_CHECKSUM), 1);
    EXPECT_EQ(Row(IDC_TC_PROTOCOL), 0);
    for (int id : {IDC_TC_RANGE, IDC_TC_PROTOCOL, IDC_TC_CALIBRATE, IDC_TC_CJC_ZERO})
        EXPECT_TRUE(Enabled(id)) << id;
    for (int id : {IDC_TC_CH_NUMBER, IDC_TC_FOLLOW_CH0, IDC_TC_ZERO, IDC_TC_SPAN, IDC_TC_HIGH_LIMIT,
                   IDC_TC_ALARM_MODE, IDC_TC_ALARMH_LABEL, IDC_TC_CJC_OFFSET, IDC_TC_CHANNEL})
        EXPECT_FALSE(Enabled(id)) << id;
    EXPECT_TRUE(m_dlg.IsTimerActive(kPollTimer));

    Tick(m_dlg, 4);
    EXPECT_EQ(TakeRequests(), (Requests{"$106", "#10", "#10", "#10", "#10"}));
    EXPECT_EQ(Value(0), "+0100.0");
    EXPECT_EQ(Value(7), "+0800.0");
    EXPECT_EQ(Value(1), "") << "disabled in the module";
    EXPECT_EQ(m_dlg.IsDlgButtonChecked(kTcCheckIds[0]), 1u);
    EXPECT_EQ(m_dlg.IsDlgButtonChecked(kTcCheckIds[1]), 0u);
    EXPECT_EQ(m_dlg.IsDlgButtonChecked(kTcCheckIds[7]), 1u);
}

TEST_F(M6386, RequestsCarryTheChecksumExceptAtAddressZero)
{
    AddEightChannels().SetChecksum(true);
    Open({"10", "06", "4", "0F", "0", "4386"});
    Tick(m_dlg, 2);
    EXPECT_EQ(TakeRequests(),
              (Requests{WithChecksum("$106"), WithChecksum("#10"), WithChecksum("#10")}));
    EXPECT_EQ(Value(3), "+0400.0");

    CSimBus bus;
    bus.Add("6386", 5, 9600).SetInit(true);
    m_link.Attach(1, bus);
    auto& dlg = OpenAnother({"00", "06", "4", "0F", "0", "6386"});
    EXPECT_FALSE(dlg.GetDlgItem(IDC_TC_PROTOCOL)->IsWindowEnabled());
    EXPECT_EQ(dlg.GetDlgItemAs<CComboBox>(IDC_TC_CHECKSUM)->GetCurSel(), 0);
    Tick(dlg);
    EXPECT_EQ(TakeRequests(), (Requests{"$006", "#00"}));
    dlg.OnCancel();
}

TEST_F(M6386, PerChannelModelReadsItsChannelTypeOnceThenTheColdJunction)
{
    CSimModule& module = m_bus.Add("4386A", 0x11, 19200);
    module.SetChannelType(0, 0x07);
    module.SetInput(0, 12.0);
    Open({"11", "07", "0", "FF", "5", "4386A"});
    EXPECT_EQ(Row(IDC_TC_RANGE), 18);
    EXPECT_EQ(Row(IDC_TC_FORMAT), 1);
    EXPECT_EQ(Row(IDC_TC_PROTOCOL), 1);
    EXPECT_EQ(m_dlg.GetDlgItemText(IDC_TC_CH_NUMBER), "CH0");
    EXPECT_EQ(m_dlg.GetDlgItemText(IDC_TC_CJC_OFFSET), "+00.00");
    for (int id : {IDC_TC_CH_TYPE, IDC_TC_FOLLOW_CH0, IDC_TC_ZERO, IDC_TC_SPAN, IDC_TC_CJC_TEMP,
                   IDC_TC_CJC_OFFSET, IDC_TC_READ, IDC_TC_PROTOCOL})
        EXPECT_TRUE(Enabled(id)) << id;
    for (int id :
         {IDC_TC_RANGE, IDC_TC_CJC_ZERO, IDC_TC_READ_CJC, IDC_TC_HIGH_LIMIT, IDC_TC_ALARM_MODE})
        EXPECT_FALSE(Enabled(id)) << id;

    Tick(m_dlg, 5);
    EXPECT_EQ(TakeRequests(), (Requests{"$116", "$118C0", "#11", "$113", "#11", "$113"}));
    EXPECT_EQ(m_dlg.GetDlgItemText(IDC_TC_CH_TYPE), "4-20mA");
    EXPECT_EQ(m_dlg.GetDlgItemText(IDC_TC_CJC_TEMP), "+025.00");
    EXPECT_EQ(Value(0), "+12.000");
}

TEST_F(M6386, PerChannelModelCodesSelectTheirOwnRows)
{
    struct Case {
        const char* script;
        int row;
    } cases[] = {{"00", 7}, {"0E", 7}, {"07", 17}, {"0f", 8}, {"FF", 18}, {"12", 11}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.script);
        auto& dlg = OpenAnother({"11", "06", "0", c.script, "0", "4386A"});
        EXPECT_EQ(dlg.GetDlgItemAs<CComboBox>(IDC_TC_RANGE)->GetCurSel(), c.row);
        dlg.OnCancel();
    }
}

TEST_F(M6386, SingleChannelModelReadsItsAlarmsAndOutputs)
{
    CSimModule& module = m_bus.Add("4388", 0x12, 9600);
    module.SetInput(0, 500.0);
    Open({"12", "06", "0", "0F", "0", "4388"});
    for (int id : {IDC_TC_HIGH_LIMIT, IDC_TC_ALARMH_SETTING, IDC_TC_CLEAR_ALARM, IDC_TC_ALARM_MODE})
        EXPECT_TRUE(Enabled(id)) << id;
    EXPECT_FALSE(Enabled(kTcCheckIds[0]));
    EXPECT_FALSE(Enabled(kTcValueIds[1]));
    EXPECT_FALSE(Enabled(IDC_TC_ZERO));
    for (const char* request : {"@12HI+0400.0", "@12EAL"})
        ASSERT_EQ(m_bus.Exchange(ESimProtocol::Ascii, {}, request, 0)->strBytes, "!12\r");
    TakeRequests();

    Tick(m_dlg, 8);
    EXPECT_EQ(TakeRequests(),
              (Requests{"@12DI", "#12", "@12RH", "@12RL", "#12", "@12DI", "#12", "@12DI"}));
    EXPECT_EQ(Row(IDC_TC_ALARM_MODE), 2);
    EXPECT_EQ(m_dlg.GetDlgItemText(IDC_TC_HIGH_LIMIT), "+0400.0");
    EXPECT_EQ(m_dlg.GetDlgItemText(IDC_TC_LOW_LIMIT), "+0000.0");
    EXPECT_EQ(Value(0), "+0500.0");
    EXPECT_EQ(m_dlg.m_bDoState[1], 1); // the high-limit lamp
    EXPECT_EQ(m_dlg.m_bDoState[0], 0); // the low-limit lamp
    EXPECT_EQ(m_dlg.GetDlgItemText(IDC_TC_STATUS), "!1220200");
}

TEST_F(M6386, AnUnacknowledgedAlarmReadIsAskedAgain)
{
    CSimModule& module = m_bus.Add("4388", 0x12, 9600);
    Open({"12", "06", "0", "0F", "0", "4388"});
    module.Faults().nSilentAfter = 0;
    Tick(m_dlg, 3);
    EXPECT_EQ(TakeRequests(), (Requests{"#12", "@12DI", "@12DI", "@12DI"}));
    EXPECT_EQ(Value(0), "") << "the reading is never polled";
}

TEST_F(M6386, HexReadingsTakeEightEqualGroupsAndAShortReplyShowsAsSilence)
{
    CSimModule& module = AddEightChannels();
    module.SetFormat(0x02);
    Open({"10", "06", "0", "0F", "2", "6386"});
    Tick(m_dlg, 2);
    for (int ch = 0; ch < 8; ++ch) EXPECT_EQ(Value(ch).size(), 4u) << ch;
    EXPECT_EQ(Value(0), "12B0");

    // The row says eight channels; the module on the line has one. Its one reading is no reply
    // of eight: every field shows what silence shows.
    CSimBus bus;
    bus.Add("4388", 0x10, 9600).SetInput(0, 300.0);
    m_link.Attach(1, bus);
    for (int ch = 0; ch < 8; ++ch) m_dlg.SetDlgItemText(kTcValueIds[ch], "old");
    Tick(m_dlg, 2);
    for (int ch = 0; ch < 8; ++ch) EXPECT_EQ(Value(ch), "") << ch;

    m_link.Attach(1, m_bus);
    DWORD before = GetTickCount();
    Tick(m_dlg);
    EXPECT_EQ(GetTickCount() - before, 0u) << "no pause after an answered exchange";
    module.Faults().nSilentAfter = 0;
    before = GetTickCount();
    Tick(m_dlg);
    EXPECT_EQ(GetTickCount() - before, 300u + 150u) << "the time-out, then the pause";
    Tick(m_dlg);
    for (int ch = 0; ch < 8; ++ch) EXPECT_EQ(Value(ch), "") << "a failed exchange empties all";
}

// The mask is asked again at the next tick, and the readings poll follows its reply.
TEST_F(M6386, AnUnansweredMaskReadTicksNoBoxUntilItIsAskedAgain)
{
    CSimModule& module = AddEightChannels(0xFF);
    module.Faults().nSilentAfter = 0;
    Open({"10", "06", "0", "0F", "0", "6386"});
    module.Faults().nSilentAfter = -1;
    TakeRequests();
    Tick(m_dlg);
    for (int ch = 0; ch < 8; ++ch) {
        EXPECT_EQ(m_dlg.IsDlgButtonChecked(kTcCheckIds[ch]), 0u) << ch;
        EXPECT_EQ(Value(ch), "") << ch;
    }
    Tick(m_dlg, 2);
    EXPECT_EQ(TakeRequests(), (Requests{"$106", "#10", "#10"}));
    for (int ch = 0; ch < 8; ++ch) EXPECT_EQ(m_dlg.IsDlgButtonChecked(kTcCheckIds[ch]), 1u) << ch;
    EXPECT_NE(Value(0), "");
}

TEST_F(M6386, TickingAChannelWritesTheMask)
{
    CSimModule& module = AddEightChannels(0xF0);
    Open({"10", "06", "0", "0F", "0", "6386"});
    Tick(m_dlg, 2);
    EXPECT_EQ(m_dlg.IsDlgButtonChecked(kTcCheckIds[3]), 0u);
    EXPECT_EQ(m_dlg.IsDlgButtonChecked(kTcCheckIds[4]), 1u);
    TakeRequests();
    ASSERT_TRUE(ui::Click(m_dlg, kTcCheckIds[0]));
    ASSERT_TRUE(ui::Click(m_dlg, kTcCheckIds[1]));
    Tick(m_dlg, 2);
    EXPECT_EQ(TakeRequests(), (Requests{"$105F3", "#10"}));
    EXPECT_EQ(static_cast<CSimAnalogInput8&>(module).EnableMask(), 0xF3);
    EXPECT_EQ(m_dlg.GetDlgItemText(IDC_TC_CJC_STATUS), "Ready!");
}

TEST_F(M6386, SettingWritesBackSendsThePercentRequestAndCloses)
{
    CSimModule& module = AddEightChannels();
    Open({"10", "06", "0", "0F", "0", "6386"});
    Tick(m_dlg, 2);
    ui::ChooseRow(m_dlg, IDC_TC_RANGE, 14);
    ui::ChooseRow(m_dlg, IDC_TC_FORMAT, 2);
    DWORD before = GetTickCount();
    Setting("20");
    EXPECT_EQ(GetTickCount() - before, 200u);
    EXPECT_FALSE(m_frame.m_bThermocoupleInputChanged) << "nothing has gone out yet";
    TakeRequests();
    Tick(m_dlg);
    EXPECT_EQ(TakeRequests(), Requests{"%1014150602"});
    EXPECT_TRUE(m_frame.m_bThermocoupleInputChanged);
    EXPECT_EQ(m_frame.m_strNewRowText, (RowTexts{"6386", "14", "9600", "Disable", "T/C N-Type"}));
    EXPECT_EQ(m_frame.m_strNewParams,
              (ModuleParamBlock{"14", "06", "0", "15", "2", m_frame.m_strNewParams[5]}));
    WatchTimerAtBoxes(m_dlg);
    Tick(m_dlg);
    EXPECT_EQ(m_boxes.Texts(), Texts{"Setting Configuration OK!"});
    EXPECT_EQ(m_boxes.m_boxes[0].caption, "Setting");
    EXPECT_FALSE(m_bTimerRanUnderBox);
    EXPECT_FALSE(m_dlg.IsRunning());
    EXPECT_FALSE(m_link.IsAsciiOpen());
    EXPECT_EQ(module.Address(), 0x14);
    EXPECT_EQ(module.Type(), 0x15);
}

TEST_F(M6386, SettingIsFramedWithTheChecksumInForceBeforeTheClick)
{
    AddEightChannels().SetChecksum(true);
    Open({"10", "06", "4", "0F", "0", "6386"});
    ui::ChooseRow(m_dlg, IDC_TC_CHECKSUM, 1);
    Setting("16");
    TakeRequests();
    Tick(m_dlg);
    EXPECT_EQ(TakeRequests(), Requests{WithChecksum("%10100F0600")});
    EXPECT_EQ(m_frame.m_strNewParams[2], "0");
}

TEST_F(M6386, SwitchToModbusGoesToTheCurrentAddressAndWritesBackNothingItDidNotSend)
{
    CSimModule& module = AddEightChannels();
    Open({"10", "06", "0", "0F", "0", "6386"});
    const RowTexts rowBefore = {"6386", "16(10)ASC", "9600", "Disable", "T/C K-Type"};
    m_frame.m_strNewRowText = rowBefore;
    ui::ChooseRow(m_dlg, IDC_TC_PROTOCOL, 1);
    Setting("40");
    EXPECT_EQ(m_frame.m_strNewRowText, rowBefore);
    EXPECT_EQ(m_frame.m_strNewParams[0], "");
    TakeRequests();
    Tick(m_dlg, 2);
    EXPECT_EQ(m_link.Requests(), Requests{"$10R1"}) << "no repeat once the module fell silent";
    EXPECT_EQ(m_boxes.Texts(), Texts{"Setting MODBUS/RTU OK!"});
    EXPECT_EQ(module.Protocol(), ESimProtocol::Rtu);
    EXPECT_EQ(module.Address(), 0x10);
}

TEST_F(M6386, AnAnsweredSwitchIsRepeatedWithoutChecksum)
{
    m_bus.Add(std::make_unique<CSimAckingSwitch>()).SetAddress(0x10);
    m_bus.Module(0).SetChecksum(true);
    Open({"10", "06", "4", "0F", "0", "6386"});
    ui::ChooseRow(m_dlg, IDC_TC_PROTOCOL, 1);
    Setting("16");
    TakeRequests();
    DWORD before = GetTickCount();
    Tick(m_dlg);
    EXPECT_EQ(TakeRequests(), (Requests{WithChecksum("$10R1"), "$10R1"}));
    EXPECT_EQ(GetTickCount() - before, 150u + 300u) << "the repeat was not heard";
    Tick(m_dlg);
    EXPECT_EQ(m_boxes.Texts(), Texts{"Setting MODBUS/RTU OK!"});
}

TEST_F(M6386, PerChannelModelSwitchesWithThePercentRequestThenTheDollarRequest)
{
    CSimModule& module = m_bus.Add("4386A", 0x11, 9600);
    Open({"11", "06", "0", "FF", "0", "4386A"});
    ui::ChooseRow(m_dlg, IDC_TC_PROTOCOL, 1);
    Setting("18");
    TakeRequests();
    Tick(m_dlg, 2);
    EXPECT_EQ(m_link.Requests(), (Requests{"%1112FF0604", "$12R1"}));
    EXPECT_EQ(m_frame.m_strNewParams[3], "FF");
    EXPECT_EQ(m_frame.m_strNewParams[4], "4");
    EXPECT_EQ(m_boxes.Texts(), Texts{"Setting MODBUS/RTU OK!"});
    EXPECT_EQ(module.Protocol(), ESimProtocol::Rtu);
    EXPECT_EQ(module.Address(), 0x12);
}

TEST_F(M6386, ARefusedPercentRequestIsNeverReportedAsModbusSuccess)
{
    struct Case {
        const char* model;
        int protocolRow;
    } cases[] = {{"4386A", 1}, {"4386A", 0}, {"6386", 0}};
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.model) + " protocol row " + std::to_string(c.protocolRow));
        CSimBus bus;
        bus.Add(c.model, 0x11, 9600);
        m_link.Attach(1, bus);
        auto& dlg = OpenAnother({"11", "06", "0", "0F", "0", c.model});
        m_boxes.m_boxes.clear();
        ui::ChooseRow(dlg, IDC_TC_PROTOCOL, c.protocolRow);
        ui::ChooseRow(dlg, IDC_TC_BAUD, 4); // a new rate outside INIT is refused
        ui::Click(dlg, IDC_TC_SETTING);
        Tick(dlg, 2);
        EXPECT_EQ(m_boxes.Texts(), Texts{kInitText});
        EXPECT_FALSE(dlg.IsRunning());
    }
}

TEST_F(M6386, AnUnansweredConfigurationGetsTheInitText)
{
    CSimModule& module = AddEightChannels();
    Open({"10", "06", "0", "0F", "0", "6386"});
    module.Faults().nSilentAfter = 0;
    Setting("16");
    Tick(m_dlg, 2);
    EXPECT_EQ(m_boxes.Texts(), Texts{kInitText});
}

TEST_F(M6386, AddressZeroIsRefusedAndPollingGoesOn)
{
    AddEightChannels();
    Open({"10", "06", "0", "0F", "0", "6386"});
    Tick(m_dlg);
    Setting("0");
    EXPECT_EQ(m_boxes.Texts(), Texts{"重新设置时地址不能为0!"});
    EXPECT_EQ(m_boxes.m_boxes[0].caption, "");
    EXPECT_EQ(m_boxes.m_boxes[0].nType, MB_ICONEXCLAMATION);
    EXPECT_TRUE(m_dlg.IsRunning());
    EXPECT_FALSE(m_frame.m_bThermocoupleInputChanged);

    // "00" is an address, but not together with a new baud rate.
    m_boxes.m_boxes.clear();
    ui::ChooseRow(m_dlg, IDC_TC_BAUD, 4);
    Setting("00");
    EXPECT_EQ(m_boxes.Texts(), Texts{"重新设置时地址不能为0!"});
    EXPECT_FALSE(m_frame.m_bThermocoupleInputChanged);
    TakeRequests();
    Tick(m_dlg, 2);
    EXPECT_EQ(TakeRequests(), (Requests{"#10", "#10"})) << "still the module's own address";
}

TEST_F(M6386, TypedAddressesGoThroughTheCheck)
{
    AddEightChannels();
    Open({"10", "06", "0", "0F", "0", "6386"});
    for (const char* typed : {"256", "300", "-1", "1A", ""}) {
        SCOPED_TRACE(typed);
        m_boxes.m_boxes.clear();
        Setting(typed);
        EXPECT_EQ(m_boxes.Texts(), Texts{"Address must be 0 to 255!"});
    }
    EXPECT_FALSE(m_frame.m_bThermocoupleInputChanged);
    Tick(m_dlg, 3);
    for (const std::string& r : m_link.Requests()) EXPECT_NE(r[0], '%');
}

TEST_F(M6386, AListWithoutARowKeepsTheModulesCodeOrRefuses)
{
    AddEightChannels();
    Open({"10", "06", "0", "0F", "0", "6386"});
    ui::ChooseRow(m_dlg, IDC_TC_RANGE, 18); // an empty row: no range of its own
    Setting("16");
    TakeRequests();
    Tick(m_dlg);
    EXPECT_EQ(TakeRequests(), Requests{"%10100F0600"}) << "the module keeps its range";

    struct Case {
        ModuleParamBlock block;
        const char* box;
    } refused[] = {
        {{"10", "06", "0", "07", "0", "6386"}, "Choose the Input Range!"},
        {{"10", "06", "0", "", "0", "6386"}, "Choose the Input Range!"},
        {{"10", "", "0", "0F", "0", "6386"}, "Choose the Baudrate!"},
        {{"10", "06", "0", "0F", "5", "6386"}, "Choose the Data Format!"},
    };
    for (const Case& c : refused) {
        SCOPED_TRACE(c.box);
        m_frame.m_bThermocoupleInputChanged = false;
        auto& dlg = OpenAnother(c.block);
        m_boxes.m_boxes.clear();
        ui::Click(dlg, IDC_TC_SETTING);
        TakeRequests();
        Tick(dlg, 2);
        EXPECT_EQ(m_boxes.Texts(), Texts{c.box});
        EXPECT_FALSE(m_frame.m_bThermocoupleInputChanged);
        for (const std::string& r : TakeRequests()) EXPECT_NE(r[0], '%');
        dlg.OnCancel();
    }
}

// The Format digit is read as every thermocouple dialog reads it: "3" has no row but is the
// module's code and is kept. Only on the 4386A is bit 2 the protocol; on the other models "5" is
// no format code at all.
TEST_F(M6386, TheFormatDigitMeansTheProtocolOnlyOnThe4386A)
{
    struct Case {
        const char* model;
        const char* format;
        int formatRow;
        int protocolRow;
        const char* written; // the format digit written back; null: refused
    } cases[] = {
        {"6386", "3", -1, 0, "3"}, {"4386A", "3", -1, 0, "3"}, {"6386", "5", -1, 0, nullptr},
        {"4386A", "5", 1, 1, "5"}, {"6386", "1", 1, 0, "1"},   {"4386A", "1", 1, 0, "1"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.model) + " " + c.format);
        m_boxes.m_boxes.clear();
        m_frame.m_strNewParams = {};
        auto& dlg = OpenAnother({"10", "06", "0", "0F", c.format, c.model});
        EXPECT_EQ(dlg.GetDlgItemAs<CComboBox>(IDC_TC_FORMAT)->GetCurSel(), c.formatRow);
        EXPECT_EQ(dlg.GetDlgItemAs<CComboBox>(IDC_TC_PROTOCOL)->GetCurSel(), c.protocolRow);
        ui::Type(dlg, IDC_TC_ADDRESS, "16");
        ui::Click(dlg, IDC_TC_SETTING);
        if (c.written) {
            EXPECT_TRUE(m_boxes.Texts().empty());
            Tick(dlg, 3); // written back as the setting goes out
            EXPECT_EQ(m_frame.m_strNewParams[4], c.written);
        } else {
            EXPECT_EQ(m_boxes.Texts(), Texts{"Choose the Data Format!"});
            EXPECT_EQ(m_frame.m_strNewParams, ModuleParamBlock{});
        }
        dlg.OnCancel();
    }
}

TEST_F(M6386, OpenComErrorKeepsTheDialogPolling)
{
    m_link.Detach(1);
    Open({"10", "06", "0", "0F", "0", "6386"});
    EXPECT_EQ(m_boxes.Texts(), Texts{"Open Com Error!"});
    EXPECT_EQ(m_boxes.m_boxes[0].caption, "talvik4333");
    EXPECT_TRUE(m_dlg.IsTimerActive(kPollTimer));
    Tick(m_dlg, 2);
    EXPECT_EQ(Value(0), "");
}

TEST_F(M6386, ABoxTickedBeforeTheMaskIsReadWaitsForItAndKeepsTheModulesChannels)
{
    CSimModule& module = AddEightChannels(0x0F);
    Open({"10", "06", "0", "0F", "0", "6386"});
    ASSERT_TRUE(ui::Click(m_dlg, kTcCheckIds[7]));
    Tick(m_dlg, 3);
    EXPECT_EQ(TakeRequests(), (Requests{"$106", "$1058F", "#10", "#10"}));
    EXPECT_EQ(static_cast<CSimAnalogInput8&>(module).EnableMask(), 0x8F);
}

TEST_F(M6386, EachModelGroupsRequestSequenceWithAndWithoutTheChecksum)
{
    struct Case {
        const char* model;
        BYTE address;
        Requests bodies; // without checksum digits, from the request sent at open
    } cases[] = {
        {"6386", 0x10, {"$106", "#10", "#10", "#10", "#10", "#10"}},
        {"4386A", 0x11, {"$116", "$118C0", "#11", "$113", "#11", "$113"}},
        {"4388", 0x12, {"#12", "@12DI", "#12", "@12RH", "@12RL", "#12", "@12DI", "#12"}},
    };
    for (const Case& c : cases) {
        for (bool checksum : {false, true}) {
            SCOPED_TRACE(std::string(c.model) + (checksum ? " with checksum" : ""));
            CSimBus bus;
            bus.Add(c.model, c.address, 9600).SetChecksum(checksum);
            m_link.Attach(1, bus);
            auto& dlg = OpenAnother(
                {Format("%02X", c.address), "06", checksum ? "4" : "0", "0F", "0", c.model});
            Tick(dlg, static_cast<int>(c.bodies.size()) - 1);
            Requests want;
            for (const std::string& body : c.bodies)
                want.push_back(checksum ? WithChecksum(body) : body);
            EXPECT_EQ(TakeRequests(), want);
            dlg.OnCancel();
        }
    }
}

// A setting pressed before the first tick waits behind the start-up reads, which stay on the
// address the module answers to; the configuration then goes there, and the row is rewritten
// only once it has gone out.
TEST_F(M6386, ASettingBeforeTheFirstTickWaitsBehindTheStartupReadsOnTheCurrentAddress)
{
    CSimModule& module = m_bus.Add("4388", 0x12, 9600);
    Open({"12", "06", "0", "0F", "0", "4388"});
    TakeRequests();
    Setting("32");
    EXPECT_FALSE(m_frame.m_bThermocoupleInputChanged);
    Tick(m_dlg, 3);
    Requests sent = TakeRequests();
    ASSERT_FALSE(sent.empty());
    for (const std::string& r : sent) EXPECT_EQ(r.substr(1, 2), "12") << r;
    EXPECT_NE(std::find(sent.begin(), sent.end(), "%12200F0600"), sent.end());
    EXPECT_EQ(m_boxes.Texts(), Texts{"Setting Configuration OK!"});
    EXPECT_EQ(module.Address(), 0x20);
    EXPECT_TRUE(m_frame.m_bThermocoupleInputChanged);
    EXPECT_EQ(m_frame.m_strNewParams[0], "20");
}

// The switch to Modbus RTU goes to the address the module answers to and is framed by it: "00"
// typed on a checksum-on module at 05 still sends the checksum digits the module needs.
TEST_F(M6386, TheSwitchIsFramedByTheAddressItGoesToNotTheTypedOne)
{
    CSimModule& module = AddEightChannels();
    module.SetAddress(0x05);
    module.SetChecksum(true);
    Open({"05", "06", "4", "0F", "0", "6386"});
    ui::ChooseRow(m_dlg, IDC_TC_PROTOCOL, 1);
    Setting("00");
    TakeRequests();
    Tick(m_dlg, 2);
    Requests sent = m_link.Requests();
    ASSERT_FALSE(sent.empty());
    EXPECT_EQ(sent[0], WithChecksum("$05R1"));
    EXPECT_EQ(module.Protocol(), ESimProtocol::Rtu);
    EXPECT_EQ(module.Address(), 0x05);
}
