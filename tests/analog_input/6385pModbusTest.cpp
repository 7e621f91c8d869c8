// The single-channel Modbus input dialog with digital I/O against a simulated module.
#include "analog_input/6385pModbus.h"
#include "ModuleFixture.h"
#include "RtuFrame.h"
#include "analog_input/AnalogInputIds.h"

#include "RawScaling.h"
#include "Resource.h"
#include "SimAnalogInput.h"
#include "SimCodec.h"

#include <QPushButton>

namespace {

class C6385pModbusTest : public CModuleFixture {
protected:
    CSimAnalogInputDio& AddModule(int address, BYTE range = 0x08)
    {
        auto& module =
            static_cast<CSimAnalogInputDio&>(m_bus.Add("6385P", address, 9600, ESimProtocol::Rtu));
        module.SetType(range);
        return module;
    }
    // The block as the dispatch fills it: lower-case hex address, Brate, Check, Script, Format,
    // Module.
    void Open(ModuleParamBlock block = {"1", "06", "0", "08", "0", "4385P"})
    {
        m_frame.m_strM6385ModbusParams = block;
        m_dlg.Create(IDD_6385P_MODBUS);
    }
    // Switches the module's outputs as another master on the line would.
    void SetOutputs(int address, bool dio0, bool dio1)
    {
        for (int s = 0; s < 2; ++s) {
            std::string text =
                Format("%02X05001%d%s", address, s, (s ? dio1 : dio0) ? "FF00" : "0000");
            ASSERT_TRUE(m_bus.Exchange(ESimProtocol::Rtu, SSimLine{},
                                       SimAppendCrc(*SimBytesFromHex(text)), 0));
        }
    }
    HICON Lamp(int id) { return m_dlg.GetDlgItemAs<CStatic>(id)->GetIcon(); }
    std::vector<std::string> Rows() { return ui::Rows(m_dlg, IDC_6385_LIST); }
    std::string Value() { return m_dlg.GetDlgItemText(IDC_6385_VALUE); }
    // The row of the list that begins with reference.
    std::string Row(const std::string& reference)
    {
        for (const std::string& row : Rows()) {
            if (row.rfind(reference, 0) == 0) return row;
        }
        return "";
    }

    C6385pModbus m_dlg;
};

std::string ReferenceRow(const char* reference, const char* channel, const char* value)
{
    return std::string(reference) + "         " + channel + "             " + value;
}

} // namespace

TEST_F(C6385pModbusTest, ReadsTheRangeThenCyclesThroughValueInputAndOutputs)
{
    CSimAnalogInputDio& module = AddModule(0x1A, 0x0A); // "-1 to +1V"
    module.SetInput(0, InputOfRaw(0x4000, -1, 2));
    module.SetDigitalInput(0, true);
    SetOutputs(0x1A, false, true);
    m_frame.m_nParity = 1; // the search ran with even parity
    Open({"1a", "06", "0", "0A", "0", "4385P"});

    EXPECT_EQ(m_dlg.GetDlgItemText(IDC_6385_ADDRESS), "26");
    EXPECT_EQ(m_link.Line(1).nParity, 0);
    for (int id :
         {IDC_6385_BAUD, IDC_6385_CHECKSUM, IDC_6385_FORMAT, IDC_6385_RANGE, IDC_6385_RESPOND}) {
        EXPECT_FALSE(m_dlg.GetDlgItem(id)->IsWindowEnabled()) << id;
    }
    EXPECT_EQ(m_dlg.GetDlgItemAs<CComboBox>(IDC_6385_BAUD)->GetCurSel(), 3);
    Tick(m_dlg);
    EXPECT_EQ(m_dlg.GetDlgItemText(IDC_6385_RANGE), "-1 to +1V");
    EXPECT_EQ(TakeRequests(),
              (std::vector<std::string>{RtuFrame("1A0300C80001"), RtuFrame("1A0300000001")}));
    Tick(m_dlg, 2);
    EXPECT_EQ(TakeRequests(),
              (std::vector<std::string>{RtuFrame("1A0100000001"), RtuFrame("1A0100100002")}));
    EXPECT_EQ(Value(), "-0.499992");
    EXPECT_EQ(Lamp(IDC_6385_INPUT_LAMP), IDI_LAMP_ON);
    EXPECT_EQ(Lamp(IDC_6385_DIO1_LAMP), IDI_LAMP_OFF); // its read is still out
    Tick(m_dlg);
    EXPECT_EQ(Lamp(IDC_6385_DIO0_LAMP), IDI_LAMP_OFF);
    EXPECT_EQ(Lamp(IDC_6385_DIO1_LAMP), IDI_LAMP_ON);
    // The list sorts its rows.
    EXPECT_EQ(Rows(), (std::vector<std::string>{ReferenceRow("10001", "CH3", "1"),
                                                ReferenceRow("10017", "CH0", "0"),
                                                ReferenceRow("10018", "CH3", "1"),
                                                ReferenceRow("40001", "CH0", "16384")}));
}

TEST_F(C6385pModbusTest, TheRangeChoosesTheScaling)
{
    struct Case {
        BYTE range;
        int raw;
        const char* shown;
    } cases[] = {{0x08, 0, "-10.000000"},   {0x08, 65535, "10.000000"}, {0x0B, 0, "-500.000000"},
                 {0x09, 65535, "5.000000"}, {0x0C, 32768, "0.002289"},  {0x0D, 0, "-20.000000"},
                 {0x07, 32768, ""}}; // a code of no range: no value to show
    for (const Case& c : cases) {
        SCOPED_TRACE(Format("%02X %d", c.range, c.raw));
        CSimBus bus;
        auto& module =
            static_cast<CSimAnalogInputDio&>(bus.Add("6385P", 1, 9600, ESimProtocol::Rtu));
        module.SetType(c.range);
        m_link.Attach(1, bus);
        const SSimRange& range = *SimAiRange(c.range);
        module.SetInput(0, InputOfRaw(c.raw, range.dLow, range.dHigh - range.dLow));
        C6385pModbus dlg;
        m_frame.m_strM6385ModbusParams = {"1", "06", "0", "08", "0", "4385P"};
        dlg.Create(IDD_6385P_MODBUS);
        Tick(dlg, 3);
        EXPECT_EQ(dlg.GetDlgItemText(IDC_6385_VALUE), c.shown);
        EXPECT_EQ(ui::Rows(dlg, IDC_6385_LIST).back(),
                  ReferenceRow("40001", "CH0", "") + std::to_string(c.raw));
        dlg.OnCancel();
    }
}

TEST_F(C6385pModbusTest, RawToEngineeringFollowsTheRangeRows)
{
    struct Case {
        int raw;
        int row;
        const char* shown;
    } cases[] = {{16384, 2, "-0.499992"},
                 {0, 0, "-10.000000"},
                 {65535, 0, "10.000000"},
                 {0, 3, "-500.000000"},
                 {65535, 5, "20.000000"},
                 {100, -1, ""},
                 {100, 6, ""}};
    for (const Case& c : cases) {
        SCOPED_TRACE(Format("%d %d", c.raw, c.row));
        EXPECT_EQ(EngineeringText(m_dlg.RawToEngineering(c.raw, c.row)), c.shown);
    }
}

TEST_F(C6385pModbusTest, AClickOnAnOutputLampSwitchesThatOutput)
{
    CSimAnalogInputDio& module = AddModule(1);
    Open();
    Tick(m_dlg, 2);
    TakeRequests();
    ui::ClickAt(m_dlg, ui::CentreOf(m_dlg, IDC_6385_DIO0_LAMP));
    Tick(m_dlg);
    EXPECT_EQ(module.Outputs(), 0x1);
    ui::ClickAt(m_dlg, ui::CentreOf(m_dlg, IDC_6385_DIO1_LAMP)); // its own flag: on
    Tick(m_dlg);
    ui::ClickAt(m_dlg, ui::CentreOf(m_dlg, IDC_6385_DIO0_LAMP));
    Tick(m_dlg);
    EXPECT_EQ(module.Outputs(), 0x2);
    Tick(m_dlg); // back to the cycle where it stood
    EXPECT_EQ(TakeRequests(),
              (std::vector<std::string>{RtuFrame("01050010FF00"), RtuFrame("01050011FF00"),
                                        RtuFrame("010500100000"), RtuFrame("010100100002")}));
}

TEST_F(C6385pModbusTest, OnlyAPlainClickInsideALampSwitches)
{
    AddModule(1);
    Open();
    Tick(m_dlg, 2);
    TakeRequests();
    CRect lamp;
    m_dlg.GetDlgItem(IDC_6385_DIO0_LAMP)->GetWindowRect(&lamp);
    m_dlg.ScreenToClient(&lamp);
    ASSERT_GT(lamp.left, 10);
    CPoint centre = ui::CentreOf(m_dlg, IDC_6385_DIO0_LAMP);
    // Near the dialog's corner (inside the lamp's own client rectangle), on the lamp's edge, and
    // with Shift held.
    m_dlg.OnLButtonDown(1, CPoint{4, 4});
    m_dlg.OnLButtonDown(1, CPoint{lamp.left, centre.y});
    m_dlg.OnLButtonDown(1 | 4, centre);
    ui::ClickAt(m_dlg, CPoint{4, 4});
    Tick(m_dlg);
    EXPECT_EQ(TakeRequests(), std::vector<std::string>{RtuFrame("010100100002")});
    EXPECT_EQ(m_dlg.m_bOutputOn, (std::array<int, 2>{0, 0}));
}

// The flag a click toggles follows the module: once another master has switched an output on, a
// click switches it off.
TEST_F(C6385pModbusTest, AClickTogglesTheOutputAsTheModuleReportsIt)
{
    CSimAnalogInputDio& module = AddModule(1);
    SetOutputs(1, true, false);
    Open();
    Tick(m_dlg, 4);
    ui::ClickAt(m_dlg, ui::CentreOf(m_dlg, IDC_6385_DIO0_LAMP));
    TakeRequests();
    Tick(m_dlg);
    EXPECT_EQ(TakeRequests(), std::vector<std::string>{RtuFrame("010500100000")});
    EXPECT_EQ(module.Outputs(), 0x0);
}

TEST_F(C6385pModbusTest, RefreshCancelsAnOutputWriteNotYetSent)
{
    CSimAnalogInputDio& module = AddModule(1);
    Open();
    Tick(m_dlg, 2);
    TakeRequests();
    ui::ClickAt(m_dlg, ui::CentreOf(m_dlg, IDC_6385_DIO1_LAMP));
    ui::Click(m_dlg, IDC_6385_REFRESH);
    Tick(m_dlg);
    EXPECT_EQ(TakeRequests(), std::vector<std::string>{RtuFrame("010100100002")});
    EXPECT_EQ(module.Outputs(), 0);
}

TEST_F(C6385pModbusTest, UpdataSwitchesToAsciiOnlyWithTheBoxTicked)
{
    CSimAnalogInputDio& module = AddModule(1);
    Open();
    Tick(m_dlg, 2);
    ui::Click(m_dlg, IDC_6385_UPDATA);
    TakeRequests();
    Tick(m_dlg);
    EXPECT_EQ(TakeRequests(), std::vector<std::string>{RtuFrame("010100100002")});

    ASSERT_TRUE(ui::Click(m_dlg, IDC_6385_ASCII));
    ui::PressKey(m_dlg, Qt::Key_Return); // Enter presses "&Updata"
    Tick(m_dlg);
    EXPECT_EQ(TakeRequests(), std::vector<std::string>{RtuFrame("0106080D0001")});
    EXPECT_EQ(module.Protocol(), ESimProtocol::Ascii);
    WatchTimerAtBoxes(m_dlg);
    Tick(m_dlg);
    ASSERT_EQ(m_boxes.m_boxes.size(), 1u);
    EXPECT_EQ(m_boxes.m_boxes[0].text, "Setting OK!");
    EXPECT_EQ(m_boxes.m_boxes[0].caption, "talvik4333");
    EXPECT_FALSE(m_bTimerRanUnderBox);
    EXPECT_FALSE(m_dlg.IsRunning());
    EXPECT_FALSE(m_link.IsRtuOpen());
    EXPECT_TRUE(TakeRequests().empty());
}

TEST_F(C6385pModbusTest, NoReplyKeepsWhatIsShownAndTheCycleGoesOn)
{
    CSimAnalogInputDio& module = AddModule(1);
    module.SetInput(0, 5.0);
    Open();
    Tick(m_dlg, 4);
    std::string value = Value();
    std::vector<std::string> rows = Rows();
    ASSERT_FALSE(value.empty());
    module.Faults().nSilentAfter = 0;
    TakeRequests();
    Tick(m_dlg, 3);
    EXPECT_EQ(Value(), value);
    EXPECT_EQ(Rows(), rows);
    EXPECT_EQ(TakeRequests(),
              (std::vector<std::string>{RtuFrame("010100000001"), RtuFrame("010100100002"),
                                        RtuFrame("010300000001")}));
}

TEST_F(C6385pModbusTest, AtAddressZeroBaudAndChecksumAreOpen)
{
    AddModule(1);
    Open({"0", "06", "4", "08", "1", "4385P"});
    EXPECT_TRUE(m_dlg.GetDlgItem(IDC_6385_BAUD)->IsWindowEnabled());
    EXPECT_TRUE(m_dlg.GetDlgItem(IDC_6385_CHECKSUM)->IsWindowEnabled());
    EXPECT_TRUE(m_dlg.GetDlgItem(IDC_6385_RANGE)->IsWindowEnabled());
    EXPECT_EQ(m_dlg.GetDlgItemText(IDC_6385_CHECKSUM), "Enable");
    EXPECT_EQ(m_dlg.GetDlgItemText(IDC_6385_FORMAT), "% of FSR");
}

TEST_F(C6385pModbusTest, OpenComErrorLeavesTheDialogWithoutPolling)
{
    m_link.Detach(1);
    Open();
    EXPECT_EQ(m_boxes.Texts(), std::vector<std::string>{"Open Com Error!"});
    EXPECT_FALSE(m_dlg.IsTimerActive(kPollTimer));
    EXPECT_TRUE(m_link.Traffic().empty());
    ui::PressKey(m_dlg, Qt::Key_Escape);
    EXPECT_FALSE(m_dlg.IsRunning());
}
