// The per-channel-type analog-input dialog over Modbus RTU against a simulated module.
#include "analog_input/M6384pModbus.h"
#include "ModuleFixture.h"
#include "RtuFrame.h"
#include "analog_input/AnalogInputIds.h"

#include "SimAnalogInput.h"

#include <QPushButton>

namespace {

class M6384pModbus : public CModuleFixture {
protected:
    CSimAnalogInputPerChannel& AddModule(int address)
    {
        return static_cast<CSimAnalogInputPerChannel&>(
            m_bus.Add("6384P", address, 9600, ESimProtocol::Rtu));
    }
    void Open(ModuleParamBlock block = {"01", "06", "0", "FF", "0", "4384A"})
    {
        m_frame.m_strAnalogInputParams = block;
        m_dlg.Create(IDD_M6384P_MODBUS);
    }
    std::vector<std::string> Values()
    {
        std::vector<std::string> values;
        for (int ch = 0; ch < 8; ++ch) values.push_back(m_dlg.GetDlgItemText(IDC_PC_VALUE0 + ch));
        return values;
    }
    std::string Checked()
    {
        std::string marks;
        for (int id : kPcCheckIds) marks += m_dlg.IsDlgButtonChecked(id) ? '1' : '0';
        return marks;
    }
    int TypeRow(int ch) { return m_dlg.GetDlgItemAs<CComboBox>(IDC_PC_TYPE0 + ch)->GetCurSel(); }
    std::vector<std::string> Rows() { return ui::Rows(m_dlg, IDC_PC_LIST); }
    bool Enabled(int id) { return m_dlg.GetDlgItem(id)->IsWindowEnabled(); }

    CM6384pModbus m_dlg;
};

std::vector<std::string> Frames(std::initializer_list<const char*> texts)
{
    std::vector<std::string> frames;
    for (const char* t : texts) frames.push_back(RtuFrame(t));
    return frames;
}

} // namespace

TEST_F(M6384pModbus, ReadsMaskAndTypesOnceThenShowsScaledReadings)
{
    CSimAnalogInputPerChannel& module = AddModule(1);
    module.SetEnableMask(0xA5);
    const BYTE types[8] = {0x07, 0x08, 0x09, 0x0A, 0x0B, 0x0C, 0x0D, 0x07};
    for (int ch = 0; ch < 8; ++ch) module.SetChannelType(ch, types[ch]);
    module.SetInput(0, InputOfRaw(49151, 4, 16));
    module.SetInput(2, InputOfRaw(0, -5, 10));
    module.SetInput(5, InputOfRaw(65535, -150, 300));
    module.SetInput(7, InputOfRaw(32768, 4, 16));
    module.SetInput(1, InputOfRaw(1234, -10, 20)); // disabled: in the list only
    Open();

    EXPECT_EQ(m_dlg.GetDlgItemText(IDC_PC_ADDRESS), "1");
    for (int id : {IDC_PC_ADDRESS, IDC_PC_BAUD, IDC_PC_CHECKSUM, IDC_PC_FORMAT, IDC_PC_RESPOND}) {
        EXPECT_FALSE(Enabled(id)) << id;
    }
    EXPECT_FALSE(m_dlg.GetDlgItem(IDC_PC_UPDATE)->IsWindowVisible());
    EXPECT_EQ(TakeRequests(), Frames({"010300DC0001"}));
    Tick(m_dlg);
    EXPECT_EQ(Checked(), "10100101");
    Tick(m_dlg); // the types; their reply is not shown as readings
    for (int ch = 0; ch < 8; ++ch) EXPECT_EQ(TypeRow(ch), ch % 7) << ch;
    EXPECT_EQ(Values(), std::vector<std::string>(8, ""));
    EXPECT_TRUE(Rows().empty());
    Tick(m_dlg);
    EXPECT_EQ(Values(), (std::vector<std::string>{"15.999939", "", "-5.000000", "", "",
                                                  "150.000000", "", "12.000122"}));
    std::vector<std::string> rows = Rows();
    ASSERT_EQ(rows.size(), 8u);
    EXPECT_EQ(rows[0], "40001      CH0         49151");
    EXPECT_EQ(rows[1], "40002      CH1         1234");
    EXPECT_EQ(rows[7], "40008      CH7         32768");
    EXPECT_EQ(TakeRequests(), Frames({"010300C80008", "010300000008", "010300000008"}));
}

TEST_F(M6384pModbus, RawToEngineeringScalesByTheTypeRow)
{
    struct Case {
        int raw;
        int row;
        const char* shown;
    } cases[] = {
        {0, 1, "-10.000000"},    {65535, 1, "10.000000"}, {49151, 0, "15.999939"},
        {32768, 4, "0.007630"},  {32768, 0, "12.000122"}, {0, 0, "4.000000"},
        {65535, 6, "20.000000"}, {16384, 3, "-0.499992"}, {0, 5, "-150.000000"},
        {32768, -1, ""},         {32768, 7, ""}, // a list without a type has nothing to scale by
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(Format("%d %d", c.raw, c.row));
        EXPECT_EQ(EngineeringText(m_dlg.RawToEngineering(c.raw, c.row)), c.shown);
    }
    // The factor is a double constant; the sum is rounded to single precision.
    EXPECT_EQ(*m_dlg.RawToEngineering(12345, 2), static_cast<float>(12345 * (10 / 65535.0) - 5));
}

TEST_F(M6384pModbus, AChannelWithoutATypeShowsNoValue)
{
    CSimAnalogInputPerChannel& module = AddModule(1);
    module.Faults().nSilentAfter = 1; // the mask read is answered, the type read is not
    Open();
    Tick(m_dlg);
    module.Faults().nSilentAfter = -1;
    Tick(m_dlg, 2);
    for (int ch = 0; ch < 8; ++ch) EXPECT_EQ(TypeRow(ch), -1);
    EXPECT_EQ(Checked(), "11111111");
    EXPECT_EQ(Values(), std::vector<std::string>(8, ""));
    std::vector<std::string> rows = Rows();
    ASSERT_EQ(rows.size(), 8u);
    EXPECT_GT(rows[0].size(), 23u); // the raw value is still listed
}

TEST_F(M6384pModbus, BoxesWriteTheMaskAndListsTheirChannelsType)
{
    CSimAnalogInputPerChannel& module = AddModule(1);
    module.SetEnableMask(0x03);
    Open();
    Tick(m_dlg, 3);
    TakeRequests();
    ASSERT_TRUE(ui::Click(m_dlg, kPcCheckIds[0]));
    Tick(m_dlg, 2);
    EXPECT_EQ(module.EnableMask(), 0x02);
    ASSERT_TRUE(ui::ChooseRow(m_dlg, IDC_PC_TYPE0 + 2, 3)); // "+/-1V"
    Tick(m_dlg, 2);
    EXPECT_EQ(module.ChannelType(2), 0x0A);
    EXPECT_EQ(TakeRequests(),
              Frames({"010600DC0002", "010300000008", "010600CA000A", "010300000008"}));
    Tick(m_dlg);
    EXPECT_EQ(Values()[0], "");
    EXPECT_FALSE(Values()[1].empty());
}

TEST_F(M6384pModbus, FollowCh0WritesCh5FirstThenEveryChannelInTurn)
{
    CSimAnalogInputPerChannel& module = AddModule(1);
    module.SetChannelType(0, 0x09); // "+/-5V"
    Open();
    Tick(m_dlg, 3);
    TakeRequests();
    ASSERT_TRUE(ui::Click(m_dlg, IDC_PC_FOLLOW_CH0));
    for (int ch = 1; ch < 8; ++ch) EXPECT_EQ(TypeRow(ch), 2) << ch;
    Tick(m_dlg, 3);
    ASSERT_TRUE(ui::Click(m_dlg, kPcCheckIds[1])); // the operator's write goes in between
    Tick(m_dlg, 8);
    EXPECT_EQ(TakeRequests(),
              Frames({"010600CD0009", "010600C80009", "010600C90009", "010600DC00FD",
                      "010600CA0009", "010600CB0009", "010600CC0009", "010600CD0009",
                      "010600CE0009", "010600CF0009", "010300000008"}));
    for (int ch = 0; ch < 8; ++ch) EXPECT_EQ(module.ChannelType(ch), 0x09) << ch;
    EXPECT_FALSE(m_dlg.m_follow.bActive);
}

// The module falls silent before its types are read: the polls go on, with the lost types read
// between them, and no type is written.
TEST_F(M6384pModbus, FollowCh0WithoutATypeOnCh0WritesNothing)
{
    AddModule(1).Faults().nSilentAfter = 1;
    Open();
    Tick(m_dlg, 3);
    TakeRequests();
    ui::Click(m_dlg, IDC_PC_FOLLOW_CH0);
    Tick(m_dlg, 2);
    EXPECT_EQ(TakeRequests(), Frames({"010300000008", "010300C80008"}));
}

TEST_F(M6384pModbus, TheStartReadsGoFirstAndTheOperatorsRequestFollows)
{
    CSimAnalogInputPerChannel& module = AddModule(1);
    module.SetEnableMask(0x01);
    Open();
    ui::Click(m_dlg, kPcCheckIds[3]); // before the mask has been read
    Tick(m_dlg, 3);
    EXPECT_EQ(TakeRequests(),
              Frames({"010300DC0001", "010300C80008", "010600DC0009", "010300000008"}));
    EXPECT_EQ(module.EnableMask(), 0x09);

    ui::ChooseRow(m_dlg, IDC_PC_TYPE0 + 1, 0);
    Tick(m_dlg);                               // the write goes out
    ui::ChooseRow(m_dlg, IDC_PC_TYPE0 + 4, 6); // before its reply is taken
    Tick(m_dlg);
    EXPECT_EQ(TakeRequests(), Frames({"010600C90007", "010600CC000D"}));
}

TEST_F(M6384pModbus, NoReplyWhilePollingLeavesTheRowsWithoutValues)
{
    CSimAnalogInputPerChannel& module = AddModule(1);
    Open();
    Tick(m_dlg, 3);
    ASSERT_FALSE(Values()[0].empty());
    module.Faults().nSilentAfter = 0;
    Tick(m_dlg, 2);
    EXPECT_EQ(Values(), std::vector<std::string>(8, ""));
    std::vector<std::string> rows = Rows();
    ASSERT_EQ(rows.size(), 8u);
    EXPECT_EQ(rows[3], "40004      CH3         ");
}

TEST_F(M6384pModbus, OpenComErrorLeavesTheDialogWithoutPolling)
{
    m_link.Detach(1);
    Open();
    EXPECT_EQ(m_boxes.Texts(), std::vector<std::string>{"Open Com Error!"});
    EXPECT_FALSE(m_dlg.IsTimerActive(kPollTimer));
    EXPECT_TRUE(m_dlg.IsRunning());
    EXPECT_TRUE(m_link.Traffic().empty());
    ui::Click(m_dlg, IDC_PC_CANCEL);
    EXPECT_FALSE(m_dlg.IsRunning());
}
