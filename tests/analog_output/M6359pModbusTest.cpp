// The Modbus RTU dialog of the four-channel output module with digital inputs against a
// simulated module.
#include "analog_output/M6359pModbus.h"
#include "ModuleFixture.h"
#include "analog_output/OutputDiIds.h"

#include "Resource.h"
#include "RtuFrame.h"
#include "SimOutputDi.h"

namespace {

using Requests = std::vector<std::string>;

const ModuleParamBlock kBlock = {"07", "06", "0", "8", "0", "4359A"};

class M6359pModbus : public CModuleFixture {
protected:
    CSimOutputDi& AddModule()
    {
        return static_cast<CSimOutputDi&>(m_bus.Add("9359", 7, 9600, ESimProtocol::Rtu));
    }
    void Open(const ModuleParamBlock& block = kBlock)
    {
        m_frame.m_strAnalogOutputParams = block;
        m_dlg.Create(IDD_M6359P_MODBUS);
    }
    std::string Text(int id) { return m_dlg.GetDlgItemText(id); }
    int Row(int id) { return m_dlg.GetDlgItemAs<CComboBox>(id)->GetCurSel(); }
    std::vector<std::string> List() { return ui::Rows(m_dlg, IDC_ODI_LIST); }
    // The operator drags the slider to position and lets go of it.
    void Release(int position)
    {
        ASSERT_TRUE(ui::DragSlider(m_dlg, IDC_ODI_SLIDER_MODBUS, position));
    }

    CM6359pModbus m_dlg;
};

} // namespace

TEST_F(M6359pModbus, ReadsTheRangesThenAlternatesOutputsAndInputs)
{
    CSimOutputDi& module = AddModule();
    module.SetChannelType(1, 0x31);
    module.SetChannelType(3, 0x32);
    module.SetInput(1, 12.0);
    module.SetDigitalInput(2, true);
    Open();
    EXPECT_FALSE(m_dlg.GetDlgItem(IDC_ODI_OUTPUT)->IsWindowEnabled());
    EXPECT_FALSE(m_dlg.GetDlgItem(IDC_ODI_BAUD)->IsWindowEnabled());
    EXPECT_EQ(Text(IDC_ODI_CODE), "0");
    EXPECT_TRUE(List().empty());
    Tick(m_dlg, 3);
    EXPECT_EQ(TakeRequests(),
              RtuFrames({"070300C80004", "070300000004", "070100000004", "070300000004"}));
    EXPECT_EQ(Row(kOdiRangeIds[0]), 0);
    EXPECT_EQ(Row(kOdiRangeIds[1]), 1);
    EXPECT_EQ(Row(kOdiRangeIds[3]), 2);
    EXPECT_EQ(Text(IDC_ODI_CHANNEL), "CH0");
    EXPECT_TRUE(m_dlg.GetDlgItem(IDC_ODI_OUTPUT)->IsWindowEnabled());
    EXPECT_EQ(Text(kOdiCurrentIds[1]), "12.001954"); // 2048 x 16 / 4095 + 4
    EXPECT_EQ(Text(kOdiCurrentIds[3]), "0.002442");  // 2048 x 20 / 4095 - 10
    EXPECT_EQ(m_dlg.GetDlgItemAs<CStatic>(kOdiLampIds[2])->GetIcon(), IDI_LAMP_ON);
    EXPECT_EQ(List(), (std::vector<std::string>{
                          "40001       CH0          0", "40002       CH1          2048",
                          "40003       CH2          0", "40004       CH3          2048",
                          "10001       CH0          0", "10002       CH1          0",
                          "10003       CH2          1", "10004       CH3          0"}));
}

TEST_F(M6359pModbus, RangeAndOutputWritesGoOutAndThePollResumes)
{
    CSimOutputDi& module = AddModule();
    module.SetChannelType(1, 0x31);
    Open();
    Tick(m_dlg, 2);
    TakeRequests();
    ui::ChooseRow(m_dlg, kOdiRangeIds[2], 2);
    Tick(m_dlg, 2);
    ui::ChooseRow(m_dlg, IDC_ODI_CHANNEL, 1); // 4-20 mA: a span of 16000
    Release(8000);
    EXPECT_EQ(Text(IDC_ODI_CODE), "2047");
    ui::Click(m_dlg, IDC_ODI_OUTPUT);
    Tick(m_dlg, 2);
    EXPECT_EQ(TakeRequests(),
              RtuFrames({"070600CA0032", "070300000004", "0706000107FF", "070100000004"}));
    EXPECT_EQ(module.ChannelType(2), 0x32);
    EXPECT_EQ(module.OutputCode(1), 2047);
}

// The module takes a 12-bit code: a typed number outside 0 to 4095, or no number, is refused with
// a message and nothing is sent.
TEST_F(M6359pModbus, OnlyCodesTheModuleTakesGoOut)
{
    AddModule();
    Open();
    Tick(m_dlg);
    for (const char* typed : {"4096", "-1", "70000", "12a", ""}) {
        SCOPED_TRACE(typed);
        m_boxes.m_boxes.clear();
        TakeRequests();
        ui::Type(m_dlg, IDC_ODI_CODE, typed);
        ui::Click(m_dlg, IDC_ODI_OUTPUT);
        EXPECT_EQ(m_boxes.Texts(),
                  std::vector<std::string>{"Output code must be a number from 0 to 4095!"});
        Tick(m_dlg);
        for (const std::string& r : TakeRequests()) EXPECT_NE(r.substr(0, 5), "07 06") << r;
    }
}

TEST_F(M6359pModbus, RefreshDropsAWriteThatHasNotGoneOut)
{
    AddModule();
    Open();
    Tick(m_dlg);
    ui::Type(m_dlg, IDC_ODI_CODE, "100");
    ui::Click(m_dlg, IDC_ODI_OUTPUT);
    ui::Click(m_dlg, IDC_ODI_REFRESH);
    TakeRequests();
    Tick(m_dlg, 2);
    for (const std::string& r : TakeRequests()) EXPECT_NE(r.substr(0, 5), "07 06") << r;
}

// Refresh waits for the tick like every other request: the reply to the range read is still read.
TEST_F(M6359pModbus, RefreshBeforeTheFirstReplyKeepsTheRangeRead)
{
    CSimOutputDi& module = AddModule();
    module.SetChannelType(1, 0x31);
    Open();
    ui::Click(m_dlg, IDC_ODI_REFRESH);
    Tick(m_dlg);
    EXPECT_EQ(TakeRequests(), RtuFrames({"070300C80004", "070300000004"}));
    EXPECT_EQ(Row(kOdiRangeIds[1]), 1);
    EXPECT_EQ(Text(IDC_ODI_CHANNEL), "CH0");
}

TEST_F(M6359pModbus, AShortFirstReplyLeavesTheRangesUnsetAndAMissKeepsTheValues)
{
    CSimOutputDi& module = AddModule();
    module.SetInput(0, 10.0);
    module.Faults().nSilentAfter = 0;
    Open();
    Tick(m_dlg);
    EXPECT_EQ(Row(kOdiRangeIds[0]), -1);
    EXPECT_EQ(Text(IDC_ODI_CHANNEL), "CH0");
    EXPECT_TRUE(m_dlg.GetDlgItem(IDC_ODI_OUTPUT)->IsWindowEnabled());
    module.Faults().nSilentAfter = -1;
    Tick(m_dlg, 3);
    EXPECT_EQ(List()[0], "40001       CH0          2048");
    EXPECT_EQ(Text(kOdiCurrentIds[0]), ""); // no range row: no scaling
    module.Faults().nSilentAfter = 0;
    Tick(m_dlg, 2);
    EXPECT_EQ(List()[0], "40001       CH0          2048");
}

TEST_F(M6359pModbus, OpenComErrorLeavesItWithoutTraffic)
{
    m_link.Detach(1);
    Open();
    EXPECT_EQ(m_boxes.Texts(), std::vector<std::string>{"Open Com Error!"});
    EXPECT_FALSE(m_dlg.IsTimerActive(kPollTimer));
    EXPECT_TRUE(m_link.Requests().empty());
}
