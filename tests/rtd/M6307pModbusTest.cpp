// The RTD dialogs over Modbus RTU (one range for the module) against simulated modules.
#include "rtd/M6307pModbus.h"
#include "ModuleFixture.h"
#include "PerChannelIds.h"
#include "RtuFrame.h"
#include "rtd/M6300Modbus.h"
#include "rtd/RtdIds.h"

#include "SimRtd.h"

namespace {

class M6307pModbus : public CModuleFixture {
protected:
    CSimModule& AddModule(const char* model, int address, BYTE range)
    {
        CSimModule& module = m_bus.Add(model, address, 9600, ESimProtocol::Rtu);
        module.SetType(range);
        return module;
    }
    // Model, address as the search's "%x", baud code, format digit, checksum digit.
    void Open(ModuleParamBlock block = {"6307", "c", "06", "2", "4", ""})
    {
        m_frame.m_strM6307ModbusParams = block;
        m_dlg.Create(IDD_M6307P_MODBUS);
    }
    std::string Value(int ch) { return m_dlg.GetDlgItemText(kRtdmValueIds[ch]); }
    std::vector<std::string> Rows() { return ui::Rows(m_dlg, IDC_PC_LIST); }
    int RangeRow() { return m_dlg.GetDlgItemAs<CComboBox>(IDC_RTDM_RANGE)->GetCurSel(); }
    bool Enabled(int id) { return m_dlg.GetDlgItem(id)->IsWindowEnabled(); }
    void Setting(const char* address, int protocolRow)
    {
        ui::Type(m_dlg, IDC_PC_ADDRESS, address);
        ui::ChooseRow(m_dlg, IDC_PC_PROTOCOL, protocolRow);
        ui::Click(m_dlg, IDC_PC_UPDATE);
    }

    CM6307pModbus m_dlg;
};

} // namespace

TEST_F(M6307pModbus, ReadsTheRangeOnceThenShowsSixScaledReadings)
{
    CSimModule& module = AddModule("6307", 12, 0x2D); // "BA1 -200-650C"
    module.SetInput(0, -200.0);
    module.SetInput(1, 650.0);
    Open();
    EXPECT_EQ(m_dlg.GetDlgItemText(IDC_PC_ADDRESS), "12");
    EXPECT_EQ(m_dlg.GetDlgItemText(IDC_RTDM_MODEL), "6307");
    EXPECT_EQ(m_dlg.GetDlgItemText(IDC_PC_CHECKSUM), "CRC");
    EXPECT_EQ(m_dlg.GetDlgItemText(IDC_PC_PROTOCOL), "Modbus RTU");
    for (int id : {int{IDC_PC_CHECKSUM}, int{IDC_PC_BAUD}, int{IDC_RTDM_RANGE}, int{IDC_PC_FORMAT}})
        EXPECT_FALSE(Enabled(id)) << id;
    EXPECT_TRUE(Enabled(IDC_PC_PROTOCOL));
    EXPECT_EQ(TakeRequests(), RtuFrames({"0C0300C80001"}));
    Tick(m_dlg);
    EXPECT_EQ(RangeRow(), 10);
    EXPECT_TRUE(Rows().empty()) << "the range reply is too short to show";
    Tick(m_dlg);
    EXPECT_EQ(Value(0), "-200.000000");
    EXPECT_EQ(Value(1), "650.000000");
    std::vector<std::string> rows = Rows();
    ASSERT_EQ(rows.size(), 6u);
    EXPECT_EQ(rows[0], "40001         CH0             0");
    EXPECT_EQ(rows[1], "40002         CH1             65535");
    EXPECT_EQ(TakeRequests(), RtuFrames({"0C0300000006", "0C0300000006"}));
}

TEST_F(M6307pModbus, ShortRepliesAndSilenceKeepWhatIsShown)
{
    CSimModule& module = AddModule("6307", 12, 0x21);
    module.SetInput(2, InputOfRaw(32768, 0, 100));
    Open();
    Tick(m_dlg, 2);
    ASSERT_EQ(Value(2), "50.000763");
    std::vector<std::string> shown = Rows();
    EXPECT_EQ(shown[2], "40003         CH2             32768");
    module.Faults().nSilentAfter = 0;
    Tick(m_dlg, 2);
    EXPECT_EQ(Value(2), "50.000763");
    EXPECT_EQ(Rows(), shown);
}

TEST_F(M6307pModbus, WithoutARangeTheReadingsShowNoValue)
{
    CSimModule& module = AddModule("6307", 12, 0x21);
    module.Faults().nSilentAfter = 0; // the range read goes unanswered
    Open();
    Tick(m_dlg);
    module.Faults().nSilentAfter = -1;
    Tick(m_dlg, 2);
    EXPECT_EQ(RangeRow(), -1);
    EXPECT_EQ(Value(0), "");
    ASSERT_EQ(Rows().size(), 6u);
    EXPECT_GT(Rows()[0].size(), 30u);
}

// The tick after the write shows the box and sends nothing; the ticks behind the box poll the new
// address, and the dialog closes once it is dismissed.
TEST_F(M6307pModbus, SettingANewAddressWritesItBackAndReportsBehindPolling)
{
    CSimModule& module = AddModule("6307", 12, 0x2D);
    Open();
    Tick(m_dlg, 2);
    TakeRequests();
    std::vector<std::string> beforeBox;
    std::vector<std::string> underBox;
    m_boxes.m_onBox = [&](const MessageBoxRequest&) {
        beforeBox = TakeRequests();
        Tick(m_dlg);
        underBox = TakeRequests();
        return m_boxes.m_nAnswer;
    };
    Setting("5", 1);
    EXPECT_FALSE(m_frame.m_bRtdInputChanged) << "nothing has gone out yet";
    Tick(m_dlg);
    EXPECT_EQ(TakeRequests(), RtuFrames({"0C0608120005"}));
    EXPECT_EQ(m_frame.m_strNewRowText, (RowTexts{"6307", "05", "9600", "CRC", "BA1 -200-650C"}));
    // The checksum digit is the block's Check entry, the format its Format entry.
    EXPECT_EQ(m_frame.m_strNewParams, (ModuleParamBlock{"05", "06", "4", "", "2", ""}));
    EXPECT_TRUE(m_frame.m_bRtdInputChanged);
    EXPECT_EQ(module.Address(), 5);
    Tick(m_dlg);
    EXPECT_EQ(m_boxes.Texts(), std::vector<std::string>{"Setting Configuration OK!"});
    EXPECT_EQ(m_boxes.m_boxes[0].caption, "Setting");
    EXPECT_TRUE(beforeBox.empty()) << "the judging tick sends nothing";
    EXPECT_EQ(underBox, RtuFrames({"050300000006"})) << "polling the new address";
    EXPECT_FALSE(m_dlg.IsRunning());

    // The three-channel dialog alike.
    m_boxes.m_boxes.clear();
    AddModule("6300", 0x1A, 0x20);
    m_frame.m_strM6300ModbusParams = {"6300", "1a", "06", "0", "0", ""};
    CM6300Modbus three;
    three.Create(IDD_M6300_MODBUS);
    Tick(three, 2);
    ui::Type(three, IDC_PC_ADDRESS, "7");
    ui::Click(three, IDC_PC_UPDATE);
    Tick(three);
    TakeRequests();
    m_boxes.m_onBox = [&](const MessageBoxRequest&) {
        beforeBox = TakeRequests();
        Tick(three);
        underBox = TakeRequests();
        return m_boxes.m_nAnswer;
    };
    Tick(three);
    EXPECT_EQ(m_boxes.Texts(), std::vector<std::string>{"Setting Configuration OK!"});
    EXPECT_TRUE(beforeBox.empty());
    EXPECT_EQ(underBox, RtuFrames({"070300000003"}));
    EXPECT_FALSE(three.IsRunning());
}

TEST_F(M6307pModbus, TheSwitchToAsciiWritesNothingBack)
{
    CSimModule& module = AddModule("6307", 12, 0x2D);
    Open();
    Tick(m_dlg, 2);
    TakeRequests();
    Setting("12", 0);
    EXPECT_EQ(m_frame.m_strNewParams, ModuleParamBlock{});
    EXPECT_FALSE(m_frame.m_bRtdInputChanged);
    Tick(m_dlg, 2);
    EXPECT_EQ(TakeRequests()[0], RtuFrame("0C06080D0001"));
    EXPECT_EQ(module.Protocol(), ESimProtocol::Ascii);
    EXPECT_EQ(m_boxes.Texts(), std::vector<std::string>{"Setting Configuration OK!"});
}

TEST_F(M6307pModbus, ARefusedWriteGetsTheInitText)
{
    AddModule("6307", 12, 0x2D);
    Open();
    Tick(m_dlg, 2);
    Setting("0", 1); // the module refuses the broadcast address with an exception
    Tick(m_dlg, 2);
    EXPECT_EQ(m_boxes.Texts(), std::vector<std::string>{kConfigurationError});
}

TEST_F(M6307pModbus, TheThreeChannelDialogReadsThreeRegisters)
{
    CSimModule& module = AddModule("6300", 0x1A, 0x20);
    module.SetInput(2, 100.0);
    m_frame.m_strM6300ModbusParams = {"6300", "1a", "06", "0", "0", ""};
    CM6300Modbus dlg;
    dlg.Create(IDD_M6300_MODBUS);
    for (int ch = 3; ch < 6; ++ch)
        EXPECT_FALSE(dlg.GetDlgItem(kRtdmValueIds[ch])->IsWindowEnabled());
    Tick(dlg, 2);
    EXPECT_EQ(dlg.GetDlgItemText(kRtdmValueIds[2]), "100.000000");
    std::vector<std::string> rows = ui::Rows(dlg, IDC_PC_LIST);
    ASSERT_EQ(rows.size(), 3u);
    EXPECT_EQ(rows[2], "40003         CH2             65535");
    EXPECT_EQ(TakeRequests(), RtuFrames({"1A0300C80001", "1A0300000003", "1A0300000003"}));
}

// The reference list shows every row whole, the value after the channel included, with the scroll
// bar that six rows bring.
TEST_F(M6307pModbus, TheListShowsEveryRowWhole)
{
    CSimModule& six = AddModule("6307", 12, 0x2D);
    for (int ch = 0; ch < 6; ++ch) six.SetInput(ch, 650.0);
    Open();
    Tick(m_dlg, 2);
    ASSERT_EQ(Rows().size(), 6u);
    EXPECT_EQ(Rows()[5], "40006         CH5             65535");
    EXPECT_EQ(ui::ClippedRows(m_dlg, IDC_PC_LIST), std::vector<std::string>{});

    CSimModule& three = AddModule("6300", 0x1A, 0x20);
    for (int ch = 0; ch < 3; ++ch) three.SetInput(ch, 100.0);
    m_frame.m_strM6300ModbusParams = {"6300", "1a", "06", "0", "0", ""};
    CM6300Modbus dlg;
    dlg.Create(IDD_M6300_MODBUS);
    Tick(dlg, 2);
    ASSERT_EQ(ui::Rows(dlg, IDC_PC_LIST).size(), 3u);
    EXPECT_EQ(ui::ClippedRows(dlg, IDC_PC_LIST), std::vector<std::string>{});
}

// On a line that never opened nothing goes out, so Update leaves the row as it is.
TEST_F(M6307pModbus, UpdateAfterOpenComErrorChangesNoRow)
{
    m_link.Detach(1);
    Open();
    ui::Type(m_dlg, IDC_PC_ADDRESS, "5");
    ui::ChooseRow(m_dlg, IDC_PC_PROTOCOL, 1);
    ui::Click(m_dlg, IDC_PC_UPDATE);
    m_frame.m_strM6300ModbusParams = {"6300", "1a", "06", "0", "0", ""};
    CM6300Modbus dlg;
    dlg.Create(IDD_M6300_MODBUS);
    ui::Type(dlg, IDC_PC_ADDRESS, "5");
    ui::ChooseRow(dlg, IDC_PC_PROTOCOL, 1);
    ui::Click(dlg, IDC_PC_UPDATE);
    EXPECT_EQ(m_boxes.Texts(), (std::vector<std::string>{"Open Com Error!", "Open Com Error!"}));
    EXPECT_FALSE(m_frame.m_bRtdInputChanged);
    EXPECT_EQ(m_frame.m_strNewParams, ModuleParamBlock{});
}
