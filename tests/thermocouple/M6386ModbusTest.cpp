// The thermocouple dialogs over Modbus RTU against simulated modules: the eight raw registers with
// channel enable and the setting request, and the per-channel-type dialog.
#include "thermocouple/M6386Modbus.h"
#include "Clock.h"
#include "ModuleFixture.h"
#include "PerChannelIds.h"
#include "RtuFrame.h"
#include "thermocouple/M6386PModbus.h"
#include "thermocouple/ThermocoupleIds.h"

#include "SimThermocouple.h"

namespace {

class M6386Modbus : public CModuleFixture {
protected:
    CSimModule& AddModule(const char* model = "6386", int address = 0x0A)
    {
        CSimModule& module = m_bus.Add(model, address, 9600, ESimProtocol::Rtu);
        return module;
    }
    void Open(ModuleParamBlock block = {"0A", "06", "0", "0F", "0", "6386"})
    {
        m_frame.m_strThermocoupleInputParams = block;
        m_dlg.Create(IDD_M6386_MODBUS);
    }
    std::vector<std::string> Values()
    {
        std::vector<std::string> values;
        for (int id : kTcValueIds) values.push_back(m_dlg.GetDlgItemText(id));
        return values;
    }
    void Setting(const char* address, int protocolRow)
    {
        ui::Type(m_dlg, IDC_TC_ADDRESS, address);
        ui::ChooseRow(m_dlg, IDC_TC_PROTOCOL, protocolRow);
        ui::Click(m_dlg, IDC_TC_SETTING);
    }

    CM6386Modbus m_dlg;
};

} // namespace

TEST_F(M6386Modbus, ShowsTheDecimalAddressAndEightRawRegisters)
{
    CSimModule& module = AddModule();
    module.SetInput(1, 1370.0);
    module.SetInput(2, 0.0);
    Open();
    EXPECT_EQ(m_dlg.GetDlgItemText(IDC_TC_ADDRESS), "10");
    EXPECT_EQ(m_dlg.GetDlgItemText(IDC_TC_MODEL), "6386");
    EXPECT_EQ(m_dlg.GetDlgItemText(IDC_TC_RANGE), "T/C K-Type");
    EXPECT_EQ(m_dlg.GetDlgItemText(IDC_TC_PROTOCOL), "Modbus RTU");
    for (int id : {IDC_TC_RANGE, IDC_TC_FORMAT, IDC_TC_BAUD, IDC_TC_CHECKSUM, IDC_TC_ALARM_MODE,
                   IDC_TC_ZERO, IDC_TC_SPAN})
        EXPECT_FALSE(m_dlg.GetDlgItem(id)->IsWindowEnabled()) << id;
    for (int id : kTcCheckIds) EXPECT_TRUE(m_dlg.IsDlgButtonChecked(id));
    Tick(m_dlg);
    std::vector<std::string> values = Values();
    EXPECT_EQ(values[1], "FFFF");
    EXPECT_EQ(values[2], "0000");
    EXPECT_EQ(values[0].size(), 4u);
    EXPECT_EQ(TakeRequests(), RtuFrames({"0A0300000008", "0A0300000008"}));
}

TEST_F(M6386Modbus, AScriptCodeWithoutARowLeavesTheRangeEmpty)
{
    AddModule();
    Open({"0A", "06", "0", "18", "0", "6386"});
    EXPECT_EQ(m_dlg.GetDlgItemAs<CComboBox>(IDC_TC_RANGE)->GetCurSel(), -1);
}

TEST_F(M6386Modbus, AnEnableBoxWritesTheMaskAndReportsTheEcho)
{
    CSimModule& module = AddModule();
    Open();
    Tick(m_dlg);
    TakeRequests();
    ASSERT_TRUE(ui::Click(m_dlg, kTcCheckIds[6]));
    Tick(m_dlg, 2);
    EXPECT_EQ(static_cast<CSimThermocouple8&>(module).EnableMask(), 0xBF);
    EXPECT_EQ(m_dlg.GetDlgItemText(IDC_TCM_MASK_STATUS), "Ready!");
    EXPECT_FALSE(Values()[6].empty()) << "the reply to the poll sent with the echo is not shown";
    Tick(m_dlg);
    EXPECT_EQ(Values()[6], "");
    EXPECT_FALSE(Values()[5].empty());
    EXPECT_EQ(TakeRequests(), RtuFrames({"0A0600DC00BF", "0A0300000008", "0A0300000008"}));

    ui::Click(m_dlg, kTcCheckIds[6]);
    module.Faults().nGarbage = 7; // an answer that is no echo
    Tick(m_dlg, 2);
    EXPECT_EQ(m_dlg.GetDlgItemText(IDC_TCM_MASK_STATUS), "Error!");
}

TEST_F(M6386Modbus, SilenceAndAnExceptionKeepTheFields)
{
    CSimModule& module = AddModule();
    Open();
    Tick(m_dlg);
    std::vector<std::string> shown = Values();
    ASSERT_FALSE(shown[0].empty());
    module.Faults().nSilentAfter = 0;
    ui::Click(m_dlg, kTcCheckIds[0]);
    TakeRequests();
    Tick(m_dlg, 3);
    EXPECT_EQ(Values(), shown);
    // The write not heard is not made yet and waits: the polls go on, and it goes out again once
    // the module has answered one.
    EXPECT_EQ(TakeRequests(), RtuFrames({"0A0600DC00FE", "0A0300000008", "0A0300000008"}));
    EXPECT_EQ(m_dlg.GetDlgItemText(IDC_TCM_MASK_STATUS), "Error!");
    module.Faults().nSilentAfter = -1;
    Tick(m_dlg, 3);
    EXPECT_EQ(TakeRequests(), RtuFrames({"0A0300000008", "0A0600DC00FE", "0A0300000008"}));
    EXPECT_EQ(m_dlg.GetDlgItemText(IDC_TCM_MASK_STATUS), "Ready!");
    EXPECT_EQ(static_cast<CSimThermocouple8&>(module).EnableMask(), 0xFE);

    // A module with three registers answers the read of eight with an exception: the read
    // brought nothing, as under silence.
    CSimModule& small = m_bus.Add("6300", 0x0B, 9600, ESimProtocol::Rtu);
    small.SetType(0x20);
    m_frame.m_strThermocoupleInputParams = {"0B", "06", "0", "0F", "0", "6386"};
    CM6386Modbus dlg;
    dlg.Create(IDD_M6386_MODBUS);
    for (int id : kTcValueIds) dlg.SetDlgItemText(id, "old");
    Tick(dlg, 2);
    for (int id : kTcValueIds) EXPECT_EQ(dlg.GetDlgItemText(id), "old");
}

TEST_F(M6386Modbus, SettingWritesTheAddressToTheModuleAndTheRowBack)
{
    CSimModule& module = AddModule();
    Open();
    Tick(m_dlg);
    TakeRequests();
    Setting("5", 1);
    EXPECT_FALSE(m_frame.m_bThermocoupleInputChanged) << "nothing has gone out yet";
    Tick(m_dlg);
    EXPECT_EQ(TakeRequests(), RtuFrames({"0A0608120005"}));
    EXPECT_EQ(m_frame.m_strNewRowText, (RowTexts{"6386", "05", "9600", "Disable", ""}));
    EXPECT_EQ(m_frame.m_strNewParams, (ModuleParamBlock{"05", "06", "0", "0F", "", ""}));
    EXPECT_TRUE(m_frame.m_bThermocoupleInputChanged);
    EXPECT_EQ(module.Address(), 5);
    Tick(m_dlg);
    EXPECT_EQ(m_boxes.Texts(), std::vector<std::string>{"Setting Configuration OK!"});
    EXPECT_EQ(m_boxes.m_boxes[0].caption, "Setting");
    EXPECT_FALSE(m_dlg.IsRunning());
}

TEST_F(M6386Modbus, TheSwitchToAsciiWritesZeroToTheProtocolRegister)
{
    AddModule();
    Open();
    Tick(m_dlg);
    TakeRequests();
    m_frame.m_strNewRowText[1] = "0A";
    m_frame.m_strNewParams[0] = "0A";
    Setting("10", 0);
    Tick(m_dlg, 2);
    EXPECT_EQ(TakeRequests(), RtuFrames({"0A06080D0000"}));
    EXPECT_EQ(m_boxes.Texts(), std::vector<std::string>{"Setting Modbus/RTU OK!"});
    EXPECT_EQ(m_boxes.m_boxes[0].caption, "Setting");
    EXPECT_EQ(m_frame.m_strNewRowText[4], "");
    EXPECT_EQ(m_frame.m_strNewParams[4], "");
    // The switch went to the module's own address: the row keeps it.
    EXPECT_EQ(m_frame.m_strNewRowText[1], "0A");
    EXPECT_EQ(m_frame.m_strNewParams[0], "0A");
}

TEST_F(M6386Modbus, ARefusedAddressGetsTheInitTextAndSilenceKeepsPolling)
{
    AddModule();
    Open();
    Tick(m_dlg);
    Setting("0", 1); // the module refuses the broadcast address
    Tick(m_dlg, 2);
    EXPECT_EQ(m_boxes.Texts(), std::vector<std::string>{kConfigurationError});

    // A module that never answers after the write: the dialog polls the new address.
    CSimModule& other = AddModule("6386", 0x0C);
    m_frame.m_strThermocoupleInputParams = {"0C", "06", "0", "0F", "0", "6386"};
    m_boxes.m_boxes.clear();
    CM6386Modbus dlg;
    dlg.Create(IDD_M6386_MODBUS);
    Tick(dlg);
    ui::Type(dlg, IDC_TC_ADDRESS, "13");
    ui::Click(dlg, IDC_TC_SETTING);
    other.Faults().nSilentAfter = 0;
    TakeRequests();
    Tick(dlg, 3);
    EXPECT_EQ(TakeRequests(), RtuFrames({"0C060812000D", "0D0300000008", "0D0300000008"}));
    EXPECT_TRUE(m_boxes.Texts().empty());
    EXPECT_TRUE(dlg.IsRunning());
}

TEST_F(M6386Modbus, SingleChannelModelsSendNoEmptyFrames)
{
    AddModule("4388");
    Open({"0A", "06", "0", "0E", "0", "4388"});
    for (int k = 0; k < 8; ++k) EXPECT_FALSE(m_dlg.GetDlgItem(kTcCheckIds[k])->IsWindowEnabled());
    EXPECT_EQ(m_dlg.GetDlgItemText(IDC_TC_ALARM_MODE), "Disable");
    Tick(m_dlg, 4);
    // Every frame on the line is a whole read. The module answers each with an exception, a read
    // that brought nothing, after which the dialog reads again as after silence.
    EXPECT_EQ(TakeRequests(), std::vector<std::string>(5, RtuFrame("0A0300000008")));
}

namespace {

class M6386PModbus : public CModuleFixture {
protected:
    CSimModule& AddModule(int address = 1)
    {
        return m_bus.Add("4386A", address, 9600, ESimProtocol::Rtu);
    }
    void Open(ModuleParamBlock block = {"01", "06", "0", "FF", "0", "4386A"})
    {
        m_frame.m_strThermocoupleInputParams = block;
        m_dlg.Create(IDD_M6386P_MODBUS);
    }
    std::string Checked()
    {
        std::string marks;
        for (int id : kTcpCheckIds) marks += m_dlg.IsDlgButtonChecked(id) ? '1' : '0';
        return marks;
    }
    int TypeRow(int ch) { return m_dlg.GetDlgItemAs<CComboBox>(IDC_PC_TYPE0 + ch)->GetCurSel(); }
    std::string Value(int ch) { return m_dlg.GetDlgItemText(IDC_PC_VALUE0 + ch); }

    CM6386PModbus m_dlg;
};

} // namespace

TEST_F(M6386PModbus, ReadsMaskAndTypesThenScalesEachChannelByItsType)
{
    CSimModule& module = AddModule();
    static_cast<CSimThermocouplePerChannel&>(module).SetEnableMask(0xA5);
    const BYTE types[8] = {0x06, 0x07, 0x0E, 0x0F, 0x10, 0x14, 0x12, 0x0E};
    for (int ch = 0; ch < 8; ++ch) module.SetChannelType(ch, types[ch]);
    module.SetInput(0, -20.0);
    module.SetInput(2, InputOfRaw(32768, 0, 760));
    module.SetInput(5, 1800.0);
    module.SetInput(7, InputOfRaw(32768, 0, 760));
    Open();
    EXPECT_FALSE(m_dlg.GetDlgItem(IDC_PC_ADDRESS)->IsWindowEnabled());
    EXPECT_FALSE(m_dlg.GetDlgItem(IDC_PC_FORMAT)->IsWindowVisible());
    Tick(m_dlg);
    EXPECT_EQ(Checked(), "10100101");
    Tick(m_dlg);
    EXPECT_EQ(TypeRow(3), 3);
    EXPECT_EQ(m_dlg.GetDlgItemText(IDC_PC_TYPE0 + 3), "Type K ");
    DWORD before = GetTickCount();
    Tick(m_dlg);
    EXPECT_GE(GetTickCount() - before, 150u) << "the pause after an answered exchange";
    EXPECT_EQ(Value(0), "-20.000000");
    EXPECT_EQ(Value(1), "");
    EXPECT_EQ(Value(5), "1800.000000");
    EXPECT_EQ(Value(7), "380.005798");
    std::vector<std::string> rows = ui::Rows(m_dlg, IDC_PC_LIST);
    ASSERT_EQ(rows.size(), 8u);
    EXPECT_EQ(rows[0], "40001      CH0         0");
    EXPECT_EQ(rows[7], "40008      CH7         32768");
    EXPECT_EQ(TakeRequests(),
              RtuFrames({"010300DC0001", "010300C80008", "010300000008", "010300000008"}));
}

TEST_F(M6386PModbus, ATypeChangeAndFollowCh0WriteTypeRegisters)
{
    CSimModule& module = AddModule();
    module.SetChannelType(0, 0x10); // "Type T"
    Open();
    Tick(m_dlg, 3);
    TakeRequests();
    ASSERT_TRUE(ui::ChooseRow(m_dlg, IDC_PC_TYPE0 + 6, 7)); // "Type S"
    Tick(m_dlg, 2);
    EXPECT_EQ(module.ChannelType(6), 0x13);
    EXPECT_EQ(TakeRequests(), RtuFrames({"010600CE0013", "010300000008"}));
    ASSERT_TRUE(ui::Click(m_dlg, IDC_PC_FOLLOW_CH0));
    Tick(m_dlg, 10);
    EXPECT_EQ(TakeRequests(),
              RtuFrames({"010600CD0010", "010600C80010", "010600C90010", "010600CA0010",
                         "010600CB0010", "010600CC0010", "010600CD0010", "010600CE0010",
                         "010600CF0010", "010300000008"}));
    for (int ch = 0; ch < 8; ++ch) EXPECT_EQ(module.ChannelType(ch), 0x10) << ch;
}

TEST_F(M6386PModbus, AtAddressZeroBaudAndChecksumAreOpen)
{
    AddModule(0);
    Open({"00", "06", "4", "FF", "3", "4386A"});
    EXPECT_TRUE(m_dlg.GetDlgItem(IDC_PC_BAUD)->IsWindowEnabled());
    EXPECT_TRUE(m_dlg.GetDlgItem(IDC_PC_CHECKSUM)->IsWindowEnabled());
    EXPECT_EQ(m_dlg.GetDlgItemAs<CComboBox>(IDC_PC_FORMAT)->GetCurSel(), -1);
}
