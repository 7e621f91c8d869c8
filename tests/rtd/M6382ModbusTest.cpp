// The six-channel RTD and thermistor dialogs over Modbus RTU against simulated modules.
#include "ModuleFixture.h"
#include "PerChannelIds.h"
#include "RtuFrame.h"
#include "rtd/M6382TModbus.h"
#include "rtd/M6382pModbus.h"
#include "rtd/RtdIds.h"

#include "SimSixChannelTemp.h"

namespace {

template <class Dialog> class SixChannelModbus : public CModuleFixture {
protected:
    CSimAnalogInput8& AddModule(const char* model, int address = 1)
    {
        return dynamic_cast<CSimAnalogInput8&>(m_bus.Add(model, address, 9600, ESimProtocol::Rtu));
    }
    CSimRtd6BurnOut& AddRtd(int address = 1)
    {
        return dynamic_cast<CSimRtd6BurnOut&>(AddModule("6382", address));
    }
    void Open(UINT templateId, ModuleParamBlock block = {"01", "06", "0", "FF", "0", "4382"})
    {
        m_frame.m_strSixChannelTempParams = block;
        m_dlg.Create(templateId);
    }
    std::vector<std::string> Values()
    {
        std::vector<std::string> values;
        for (int ch = 0; ch < 6; ++ch) values.push_back(m_dlg.GetDlgItemText(IDC_PC_VALUE0 + ch));
        return values;
    }
    std::string Checked()
    {
        std::string marks;
        for (int ch = 0; ch < 6; ++ch)
            marks += m_dlg.IsDlgButtonChecked(kPcCheckIds[ch]) ? '1' : '0';
        return marks;
    }
    int TypeRow(int ch)
    {
        return m_dlg.template GetDlgItemAs<CComboBox>(IDC_PC_TYPE0 + ch)->GetCurSel();
    }
    std::vector<std::string> Rows() { return ui::Rows(m_dlg, IDC_PC_LIST); }
    bool Enabled(int id) { return m_dlg.GetDlgItem(id)->IsWindowEnabled(); }

    Dialog m_dlg;
};

using M6382pModbus = SixChannelModbus<CM6382pModbus>;
using M6382TModbus = SixChannelModbus<CM6382TModbus>;

// Raw value of an input at fraction raw / 65535 of a range low .. low + span.
double At(int raw, double low, double span)
{
    return InputOfRaw(raw, low, span);
}

} // namespace

TEST_F(M6382pModbus, ReadsMaskTypesAndBurnOutOnceThenShowsReadings)
{
    CSimRtd6BurnOut& module = AddRtd();
    module.SetEnableMask(0x07);
    const BYTE types[6] = {0x20, 0x24, 0x2B, 0x2D, 0x21, 0x22};
    for (int ch = 0; ch < 6; ++ch) module.SetChannelType(ch, types[ch]);
    module.SetInput(0, At(0, -50, 200));
    module.SetInput(2, At(65535, -30, 150));
    module.SetInput(3, At(32768, 0, 100)); // disabled: in the list only
    module.SetBurnOut(1, true);
    Open(IDD_M6382P_MODBUS);

    EXPECT_EQ(m_dlg.GetDlgItemText(IDC_PC_ADDRESS), "1");
    for (int id : {IDC_PC_BAUD, IDC_PC_CHECKSUM, IDC_PC_FORMAT, IDC_PC_PROTOCOL, IDC_PC_RESPOND})
        EXPECT_FALSE(Enabled(id)) << id;
    EXPECT_EQ(m_dlg.GetDlgItemText(IDC_PC_PROTOCOL), "Modbus RTU");
    EXPECT_EQ(TakeRequests(), RtuFrames({"010300DC0001"}));
    Tick(m_dlg);
    EXPECT_EQ(Checked(), "111000");
    Tick(m_dlg);
    for (int ch = 0; ch < 6; ++ch) EXPECT_EQ(TypeRow(ch), types[ch] - 0x20) << ch;
    Tick(m_dlg); // the burn-out bits; the reply is not shown as readings
    EXPECT_EQ(m_dlg.m_byBurnOutMask, 0x02);
    EXPECT_TRUE(Rows().empty());
    Tick(m_dlg);
    EXPECT_EQ(Values(),
              (std::vector<std::string>{"-50.000000", "Burn-Out", "120.000000", "", "", ""}));
    std::vector<std::string> rows = Rows();
    ASSERT_EQ(rows.size(), 6u);
    EXPECT_EQ(rows[0], "40001         CH0             0");
    EXPECT_EQ(rows[1], "40002         CH1             65535");
    EXPECT_EQ(rows[3], "40004         CH3             32768");
    EXPECT_EQ(ui::ClippedRows(m_dlg, IDC_PC_LIST), std::vector<std::string>{}) << "whole rows";
    EXPECT_EQ(TakeRequests(),
              RtuFrames({"010300C80006", "010100C80006", "010300000006", "010300000006"}));
}

TEST_F(M6382pModbus, BoxesWriteTheMaskAndTypeListsTheirRegister)
{
    CSimRtd6BurnOut& module = AddRtd();
    module.SetEnableMask(0x05);
    Open(IDD_M6382P_MODBUS);
    Tick(m_dlg, 4);
    EXPECT_EQ(Checked(), "101000");
    TakeRequests();
    ASSERT_TRUE(ui::Click(m_dlg, kPcCheckIds[5]));
    Tick(m_dlg, 2);
    EXPECT_EQ(module.EnableMask(), 0x25);
    ASSERT_TRUE(ui::ChooseRow(m_dlg, IDC_PC_TYPE0 + 3, 11)); // "BALCO 500  -30℃ to 120℃"
    Tick(m_dlg, 3);
    EXPECT_EQ(module.ChannelType(3), 0x2B);
    EXPECT_EQ(TakeRequests(), RtuFrames({"010600DC0025", "010300000006", "010600CB002B",
                                         "010300000006", "010300000006"}));
}

TEST_F(M6382pModbus, AChannelWithoutATypeRowShowsNoValue)
{
    // A thermistor module's codes are none of the RTD rows: the lists stay empty.
    CSimAnalogInput8& module = AddModule("6382T");
    module.SetEnableMask(0x3F);
    Open(IDD_M6382P_MODBUS);
    Tick(m_dlg, 4);
    for (int ch = 0; ch < 6; ++ch) EXPECT_EQ(TypeRow(ch), -1);
    EXPECT_EQ(Values(), std::vector<std::string>(6, ""));
    std::vector<std::string> rows = Rows();
    ASSERT_EQ(rows.size(), 6u);
    EXPECT_GT(rows[0].size(), 30u) << "the raw value is still listed";
}

TEST_F(M6382pModbus, SilenceAndExceptionsWhilePolling)
{
    CSimRtd6BurnOut& module = AddRtd();
    module.SetBurnOut(4, true);
    Open(IDD_M6382P_MODBUS);
    Tick(m_dlg, 4);
    ASSERT_EQ(Values()[4], "Burn-Out");
    ASSERT_FALSE(Values()[0].empty());
    module.Faults().nSilentAfter = 0;
    Tick(m_dlg, 2);
    // Fields are emptied; a channel burnt out at the start stays so.
    EXPECT_EQ(Values(), (std::vector<std::string>{"", "", "", "", "Burn-Out", ""}));
    EXPECT_EQ(Rows()[2], "40003         CH2             ");
}

TEST_F(M6382pModbus, AFailedBurnOutReadMarksNothing)
{
    CSimRtd6BurnOut& module = AddRtd();
    module.SetBurnOut(0, true);
    module.Faults().nSilentAfter = 2; // mask and types answered
    Open(IDD_M6382P_MODBUS);
    Tick(m_dlg, 3);
    module.Faults().nSilentAfter = -1;
    Tick(m_dlg, 2);
    EXPECT_EQ(m_dlg.m_byBurnOutMask, 0);
    EXPECT_NE(Values()[0], "Burn-Out");
}

TEST_F(M6382pModbus, AtAddressZeroBaudAndChecksumAreOpen)
{
    AddModule("6382", 0);
    Open(IDD_M6382P_MODBUS, {"00", "06", "4", "FF", "3", "4382"});
    EXPECT_EQ(m_dlg.GetDlgItemText(IDC_PC_ADDRESS), "0");
    EXPECT_TRUE(Enabled(IDC_PC_BAUD));
    EXPECT_TRUE(Enabled(IDC_PC_CHECKSUM));
    EXPECT_EQ(m_dlg.GetDlgItemText(IDC_PC_CHECKSUM), "Enable");
    EXPECT_EQ(m_dlg.template GetDlgItemAs<CComboBox>(IDC_PC_FORMAT)->GetCurSel(), -1);
}

TEST_F(M6382TModbus, ThermistorTypesScaleZeroToHundredWithoutBurnOut)
{
    CSimAnalogInput8& module = AddModule("6382T");
    module.SetChannelType(1, 0x31);
    module.SetInput(0, At(32768, 0, 100));
    module.SetInput(1, 100.0);
    Open(IDD_M6382T_MODBUS);
    EXPECT_EQ(m_dlg.GetDlgItemText(IDC_PC_PROTOCOL), "Modbus RTU");
    Tick(m_dlg, 3);
    EXPECT_EQ(TypeRow(0), 0);
    EXPECT_EQ(TypeRow(1), 1);
    EXPECT_EQ(Values()[0], "50.000763");
    EXPECT_EQ(Values()[1], "100.000000");
    EXPECT_EQ(Rows().at(1), "40002         CH1             65535");
    EXPECT_EQ(ui::ClippedRows(m_dlg, IDC_PC_LIST), std::vector<std::string>{}) << "whole rows";
    EXPECT_EQ(TakeRequests(),
              RtuFrames({"010300DC0001", "010300C80006", "010300000006", "010300000006"}));
}

TEST_F(M6382TModbus, UpdateWritesTheNewAddressToTheOldOneThenCloses)
{
    CSimAnalogInput8& module = AddModule("6382T");
    Open(IDD_M6382T_MODBUS);
    Tick(m_dlg, 3);
    TakeRequests();
    ui::Type(m_dlg, IDC_PC_ADDRESS, "5");
    ui::Click(m_dlg, IDC_PC_UPDATE);
    EXPECT_EQ(m_frame.m_strNewParams, ModuleParamBlock{}) << "nothing has gone out yet";
    Tick(m_dlg);
    EXPECT_EQ(TakeRequests(), RtuFrames({"010608120005"}));
    // The texts as it goes out; no flag, so the row stays as it is.
    EXPECT_EQ(m_frame.m_strNewRowText, (RowTexts{"", "05", "9600", "Disable", ""}));
    EXPECT_EQ(m_frame.m_strNewParams, (ModuleParamBlock{"05", "06", "0", "", "0", ""}));
    EXPECT_FALSE(m_frame.m_bSixChannelTempChanged);
    EXPECT_EQ(module.Address(), 5);
    Tick(m_dlg);
    EXPECT_TRUE(TakeRequests().empty());
    ASSERT_EQ(m_boxes.Texts(), std::vector<std::string>{"Setting OK!"});
    EXPECT_EQ(m_boxes.m_boxes[0].caption, "talvik4333");
    EXPECT_EQ(m_boxes.m_boxes[0].nType, static_cast<UINT>(MB_OK));
    EXPECT_FALSE(m_dlg.IsRunning());
}

TEST_F(M6382TModbus, AddressZeroAndNonNumbersAreRefusedAndNothingIsSent)
{
    AddModule("6382T");
    Open(IDD_M6382T_MODBUS);
    Tick(m_dlg, 3);
    for (const char* typed : {"0", "00"}) {
        m_boxes.m_boxes.clear();
        ui::Type(m_dlg, IDC_PC_ADDRESS, typed);
        ui::Click(m_dlg, IDC_PC_UPDATE);
        ASSERT_EQ(m_boxes.Texts(), std::vector<std::string>{"地址不可设置为0"}) << typed;
        EXPECT_EQ(m_boxes.m_boxes[0].caption, "talvik4333");
    }
    TakeRequests();
    Tick(m_dlg, 2);
    EXPECT_EQ(TakeRequests(), RtuFrames({"010300000006", "010300000006"}));
    EXPECT_EQ(m_frame.m_strNewParams, ModuleParamBlock{});
}

TEST_F(M6382TModbus, AnAnswerThatIsNoEchoIsARefusalAndSilenceIsNot)
{
    struct Case {
        int address;
        int garbage; // reply bytes in place of the echo; -1: no reply at all
        const char* text;
    } cases[] = {{1, 6, kConfigurationError}, {2, -1, "Setting OK!"}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        CSimModule& module = AddModule("6382T", c.address);
        m_frame.m_strSixChannelTempParams = {
            Format("%02X", c.address), "06", "0", "FF", "0", "6382T"};
        m_boxes.m_boxes.clear();
        CM6382TModbus dlg;
        dlg.Create(IDD_M6382T_MODBUS);
        Tick(dlg, 3);
        ui::Type(dlg, IDC_PC_ADDRESS, "7");
        ui::Click(dlg, IDC_PC_UPDATE);
        if (c.garbage > 0)
            module.Faults().nGarbage = c.garbage;
        else
            module.Faults().nSilentAfter = 0;
        Tick(dlg, 2);
        EXPECT_EQ(m_boxes.Texts(), std::vector<std::string>{c.text});
        EXPECT_FALSE(dlg.IsRunning());
    }
}
