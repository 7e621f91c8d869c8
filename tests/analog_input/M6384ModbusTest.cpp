// The eight-channel analog-input dialog over Modbus RTU against a simulated module.
#include "analog_input/M6384Modbus.h"
#include "ModuleFixture.h"
#include "RtuFrame.h"
#include "analog_input/AnalogInputIds.h"

#include "HexText.h"
#include "SimAnalogInput.h"
#include "SimCodec.h"
#include "Strings.h"
#include "WriteFaults.h"

namespace {

class M6384Modbus : public CModuleFixture {
protected:
    CSimAnalogInput8& AddModule(int address)
    {
        return static_cast<CSimAnalogInput8&>(m_bus.Add("6384", address, 9600, ESimProtocol::Rtu));
    }
    void Open(ModuleParamBlock block)
    {
        m_frame.m_strAnalogInputParams = block;
        m_dlg.Create(IDD_M6384_MODBUS);
    }
    std::string Value(int ch) { return m_dlg.GetDlgItemText(kAiValueIds[ch]); }

    CM6384Modbus m_dlg;
};

} // namespace

TEST_F(M6384Modbus, ShowsTheDecimalAddressAndPollsEightRegisters)
{
    CSimAnalogInput8& module = AddModule(0x12);
    module.SetInput(1, 10.0); // the top of the range: raw ffff
    Open({"12", "06", "0", "08", "0", "4384"});
    EXPECT_EQ(m_dlg.GetDlgItemText(IDC_AI_ADDRESS), "18");
    EXPECT_EQ(m_dlg.GetDlgItemText(IDC_AI_CHECKSUM), "CRC");
    EXPECT_FALSE(m_dlg.GetDlgItem(IDC_AI_CHECKSUM)->IsWindowEnabled());
    EXPECT_FALSE(m_dlg.GetDlgItem(IDC_AI_RANGE)->IsWindowEnabled());
    EXPECT_EQ(TakeRequests(), std::vector<std::string>{RtuFrame("120300000008")});
    EXPECT_EQ(m_link.Line(1).dwBaud, 9600u);
    Tick(m_dlg);
    EXPECT_EQ(Value(1), "ffff");
    EXPECT_EQ(TakeRequests(), std::vector<std::string>{RtuFrame("120300000008")});
}

// An exception carries no value: the fields keep their texts, as under silence.
TEST_F(M6384Modbus, AnExceptionReplyLeavesTheFieldsAsSilenceDoes)
{
    // A module with one register answers the read of eight with an exception.
    m_bus.Add("6385", 1, 9600, ESimProtocol::Rtu);
    Open({"01", "06", "0", "08", "0", "4384"});
    for (int id : kAiValueIds) m_dlg.SetDlgItemText(id, "old");
    Tick(m_dlg, 3);
    for (int id : kAiValueIds) EXPECT_EQ(m_dlg.GetDlgItemText(id), "old");
}

TEST_F(M6384Modbus, UntickingAChannelWritesTheMaskAndHidesItsValue)
{
    CSimAnalogInput8& module = AddModule(1);
    Open({"01", "06", "0", "08", "0", "4384"});
    Tick(m_dlg);
    TakeRequests();
    ASSERT_TRUE(ui::Click(m_dlg, kAiCheckIds[0]));
    Tick(m_dlg, 2);
    EXPECT_EQ(TakeRequests(),
              (std::vector<std::string>{RtuFrame("010600DC00FE"), RtuFrame("010300000008")}));
    EXPECT_EQ(module.EnableMask(), 0xFE);
    Tick(m_dlg);
    EXPECT_EQ(Value(0), "");
    ASSERT_TRUE(ui::Click(m_dlg, kAiCheckIds[0]));
    Tick(m_dlg);
    EXPECT_EQ(TakeRequests().back(), RtuFrame("010600DC00FF"));
}

// The mask write under every fault: it goes out once, and again once per poll the module
// answered, until the module hears or refuses it; a refusal ticks the box again, as the module
// still has the channel on.
TEST_F(M6384Modbus, TheMaskWriteUnderEveryFault)
{
    const SWriteCase<CSimAnalogInput8> write = {
        "CH0 box",
        [](CDialog& dlg) { ASSERT_TRUE(ui::Click(dlg, kAiCheckIds[0])); },
        "010600DC00FE",
        [](const CSimAnalogInput8& m) { return m.EnableMask() == 0xFE; },
        [](CDialog& dlg) -> std::function<std::string()> {
            return
                [&dlg] { return std::string(dlg.IsDlgButtonChecked(kAiCheckIds[0]) ? "1" : "0"); };
        },
        "0",
        "1"};
    for (const SWriteFault& f : WriteFaults(ELinkKind::Rtu)) {
        SCOPED_TRACE(f.pszName);
        CSimBus bus;
        auto& module = static_cast<CSimAnalogInput8&>(bus.Add("6384", 1, 9600, ESimProtocol::Rtu));
        m_link.Attach(1, bus);
        CM6384Modbus dlg;
        m_frame.m_strAnalogInputParams = {"01", "06", "0", "08", "0", "4384"};
        dlg.Create(IDD_M6384_MODBUS);
        Tick(dlg, 2);
        ExpectWriteCase(dlg, module, m_link, f, write, ELinkKind::Rtu);
        dlg.OnCancel();
        m_link.Attach(1, m_bus);
    }
}

TEST_F(M6384Modbus, SettingWritesTheSlaveAddressOrTheSwitchToAscii)
{
    struct Case {
        int protocolRow;
        const char* request;
        const char* rowAddress; // the switch leaves the row's address
    } cases[] = {{1, "010608120012", "12"}, {0, "0106080D0001", ""}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.request);
        CSimBus bus;
        bus.Add("6384", 1, 9600, ESimProtocol::Rtu);
        m_link.Attach(1, bus);
        CM6384Modbus dlg;
        m_frame.m_strAnalogInputParams = ModuleParamBlock{"01", "06", "0", "0A", "1", "4384"};
        m_frame.m_bAnalogInputChanged = false;
        m_frame.m_strNewRowText = {};
        dlg.Create(IDD_M6384_MODBUS);
        Tick(dlg);
        TakeRequests();
        ui::Type(dlg, IDC_AI_ADDRESS, "18");
        ui::ChooseRow(dlg, IDC_AI_PROTOCOL, c.protocolRow);
        ui::Click(dlg, IDC_AI_SETTING);
        EXPECT_FALSE(m_frame.m_bAnalogInputChanged) << "nothing has gone out yet";
        Tick(dlg, 2);
        EXPECT_EQ(TakeRequests(), std::vector<std::string>{RtuFrame(c.request)});
        EXPECT_TRUE(m_frame.m_bAnalogInputChanged);
        EXPECT_EQ(m_frame.m_strNewRowText,
                  (RowTexts{"4384", c.rowAddress, "9600", "CRC", "-1 to +1V"}));
        EXPECT_EQ(m_frame.m_strNewParams[3], "0A");
        EXPECT_EQ(m_frame.m_strNewParams[4], "1");
        EXPECT_EQ(m_boxes.Texts().back(), "Setting Configuration OK!");
        EXPECT_FALSE(dlg.IsRunning());
    }
}

TEST_F(M6384Modbus, AddressZeroIsRefusedOnlyWithANewBaudRate)
{
    AddModule(1);
    Open({"01", "06", "0", "08", "0", "4384"});
    ui::Type(m_dlg, IDC_AI_ADDRESS, "0");
    m_dlg.GetDlgItem(IDC_AI_BAUD)->EnableWindow(TRUE);
    ui::ChooseRow(m_dlg, IDC_AI_BAUD, 4);
    ui::Click(m_dlg, IDC_AI_SETTING);
    EXPECT_EQ(m_boxes.Texts(), std::vector<std::string>{"重新设置时地址不能为0!"});
    ui::ChooseRow(m_dlg, IDC_AI_BAUD, 3);
    ui::Click(m_dlg, IDC_AI_SETTING);
    EXPECT_EQ(m_boxes.Texts().size(), 1u);
    Tick(m_dlg);
    EXPECT_EQ(m_frame.m_strNewParams[0], "00");
}

TEST_F(M6384Modbus, ASettingAfterAMissedReplyGoesOutToTheOldAddress)
{
    CSimAnalogInput8& module = AddModule(1);
    Open({"01", "06", "0", "08", "0", "4384"});
    module.Faults().nSilentAfter = 0;
    Tick(m_dlg); // this poll gets no reply
    ui::Type(m_dlg, IDC_AI_ADDRESS, "5");
    ui::Click(m_dlg, IDC_AI_SETTING);
    TakeRequests();
    Tick(m_dlg);
    EXPECT_EQ(TakeRequests(), std::vector<std::string>{RtuFrame("010608120005")});
}

TEST_F(M6384Modbus, OpenComErrorLeavesTheDialogWithoutPolling)
{
    m_link.Detach(1);
    Open({"01", "06", "0", "08", "0", "4384"});
    EXPECT_EQ(m_boxes.Texts(), std::vector<std::string>{"Open Com Error!"});
    EXPECT_FALSE(m_dlg.IsTimerActive(kPollTimer));
    EXPECT_TRUE(m_dlg.IsRunning());
    EXPECT_TRUE(m_link.Traffic().empty());
}

TEST_F(M6384Modbus, CancelClosesTheRtuLine)
{
    AddModule(1);
    Open({"01", "06", "0", "08", "0", "4384"});
    EXPECT_TRUE(m_link.IsRtuOpen());
    ui::CloseBox(m_dlg);
    EXPECT_FALSE(m_link.IsRtuOpen());
    EXPECT_FALSE(m_dlg.IsRunning());
}

TEST_F(M6384Modbus, SettingsBoxesRoundTrip)
{
    AddModule(0x12);
    m_frame.m_strAnalogInputParams = {"12", "06", "0", "0A", "1", "4385"};
    ExpectSettingsRoundTrip<CM6384Modbus>(
        IDD_M6384_MODBUS, IDC_AI_SETTING,
        {{IDC_AI_BAUD, 3}, {IDC_AI_CHECKSUM, 2}, {IDC_AI_RANGE, 2}, {IDC_AI_FORMAT, 1}},
        {"12", "06", "0", "0A", "1"}, 2);
}

// The Modbus template spells its header with two blanks and keeps the lamps disabled.
TEST_F(M6384Modbus, TheHeaderHasTwoBlanksAndTheLampsAreDisabled)
{
    AddModule(1);
    Open({"01", "06", "0", "08", "0", "4384"});
    EXPECT_TRUE(ui::HasStaticText(m_dlg, "AI  Module ("));
    EXPECT_FALSE(ui::HasStaticText(m_dlg, "AI _Module ("));
    EXPECT_FALSE(m_dlg.GetDlgItem(IDC_AI_LAMP0)->IsWindowEnabled());
    EXPECT_FALSE(m_dlg.GetDlgItem(IDC_AI_LAMP1)->IsWindowEnabled());
}
