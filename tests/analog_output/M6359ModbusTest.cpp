// The analog-output dialog over Modbus RTU against simulated one-, two- and four-channel modules.
#include "analog_output/M6359Modbus.h"
#include "ModuleFixture.h"
#include "analog_output/AnalogOutputIds.h"

#include "DeafLine.h"
#include "HexText.h"
#include "RtuFrame.h"
#include "SimAnalogOutput.h"
#include "Strings.h"

#include <QApplication>
#include <QFocusEvent>

namespace {

using Requests = std::vector<std::string>;

class M6359Modbus : public CModuleFixture {
protected:
    CSimAnalogOutput& AddModule(const char* model, int address = 1)
    {
        return static_cast<CSimAnalogOutput&>(m_bus.Add(model, address, 9600, ESimProtocol::Rtu));
    }
    void Open(ModuleParamBlock block)
    {
        m_frame.m_strAnalogOutputParams = block;
        m_dlg.Create(IDD_M6359_MODBUS);
    }
    std::string Text(int id) { return m_dlg.GetDlgItemText(id); }
    std::string Output(int k) { return Text(kAoChannels[static_cast<size_t>(k)].nOutput); }
    std::string ReadBack(int k) { return Text(kAoChannels[static_cast<size_t>(k)].nReadBack); }
    CSliderCtrl* SliderCtrl(int k)
    {
        return m_dlg.GetDlgItemAs<CSliderCtrl>(kAoChannels[static_cast<size_t>(k)].nSlider);
    }
    // The operator drags slider k to position and lets go of it.
    static void Drag(CDialog& dlg, int k, int position)
    {
        ASSERT_TRUE(ui::DragSlider(dlg, kAoChannels[static_cast<size_t>(k)].nSlider, position));
    }
    void Drag(int k, int position) { Drag(m_dlg, k, position); }
    void LeaveOutput(int k)
    {
        QFocusEvent out(QEvent::FocusOut, Qt::TabFocusReason);
        QApplication::sendEvent(
            m_dlg.GetDlgItem(kAoChannels[static_cast<size_t>(k)].nOutput)->GetWidget(), &out);
    }
    // Opens a two-channel module holding 5.000 and 2.000 and runs its start-up and first reads.
    CSimAnalogOutput& OpenTwoChannel()
    {
        CSimAnalogOutput& ao = AddModule("6355");
        ao.SetChannelType(0, 0x32);
        ao.SetChannelType(1, 0x32);
        ao.SetInput(0, 5.0);
        ao.SetInput(1, 2.0);
        Open({"01", "06", "0", "3F", "0", "6355"});
        Tick(m_dlg, 4);
        TakeRequests();
        return ao;
    }

    CM6359Modbus m_dlg;
};

} // namespace

TEST_F(M6359Modbus, FourChannelsShowRawCodesOnALineWithoutParity)
{
    CSimAnalogOutput& ao = AddModule("6359");
    ao.SetType(0x31);
    ao.SetInput(0, 20.0);
    ao.SetInput(3, 4.0);
    m_frame.m_nParity = 2; // the search's parity is not the module's
    Open({"01", "06", "0", "31", "0", "6359"});
    EXPECT_EQ(m_link.Line(1).nParity, 0);
    EXPECT_EQ(Text(IDC_AO_ADDRESS), "1");
    EXPECT_EQ(Text(IDC_AO_CHECKSUM), "CRC");
    for (int id : {IDC_AO_RANGE, IDC_AO_RANGE4, IDC_AO_BAUD, IDC_AO_CHECKSUM, IDC_AO_FORMAT})
        EXPECT_FALSE(m_dlg.GetDlgItem(id)->IsWindowEnabled()) << id;
    EXPECT_EQ(TakeRequests(), RtuFrames({"010300C80001", "010300000004"}));
    Tick(m_dlg);
    EXPECT_EQ(ReadBack(0), "FFFF");
    EXPECT_EQ(ReadBack(3), "0000");
    EXPECT_EQ(TakeRequests(), RtuFrames({"010300000004"}));
}

// A four-channel module's range read at opening picks the range row and the slew list, but its
// sliders keep the raw scale: the top of a slider is the top of the module's range.
TEST_F(M6359Modbus, FourChannelSlidersKeepTheRawScaleOfTheirCodes)
{
    struct Case {
        BYTE type;
        int row;
        double top;
        int slewBox;
    } cases[] = {
        {0x30, 0, 20.0, IDC_AO_SLEW_MA_MODBUS},
        {0x31, 1, 20.0, IDC_AO_SLEW_MA_MODBUS},
        {0x32, 2, 10.0, IDC_AO_SLEW_V},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.row);
        CSimBus bus;
        auto& ao = static_cast<CSimAnalogOutput&>(bus.Add("6359", 1, 9600, ESimProtocol::Rtu));
        ao.SetType(c.type);
        m_link.Attach(1, bus);
        CM6359Modbus dlg;
        m_frame.m_strAnalogOutputParams = ModuleParamBlock{"01", "06", "0", "30", "0", "6359"};
        dlg.Create(IDD_M6359_MODBUS);
        EXPECT_EQ(dlg.GetDlgItemAs<CComboBox>(IDC_AO_RANGE4)->GetCurSel(), c.row);
        EXPECT_TRUE(dlg.GetDlgItem(c.slewBox)->IsWindowVisible());
        const SAoChannelIds& ids = kAoChannels[2];
        EXPECT_EQ(dlg.GetDlgItemText(ids.labels[0]), "0");
        EXPECT_EQ(dlg.GetDlgItemText(ids.labels[1]), "");
        EXPECT_EQ(dlg.GetDlgItemText(ids.labels[2]), "FFFF");
        EXPECT_EQ(dlg.GetDlgItemText(ids.nUnit), "");
        auto* slider = dlg.GetDlgItemAs<CSliderCtrl>(ids.nSlider);
        EXPECT_EQ(slider->GetRangeMin(), 0);
        Drag(dlg, 2, 65535);
        EXPECT_EQ(dlg.GetDlgItemText(ids.nOutput), "ffff");
        m_link.ClearTraffic();
        Tick(dlg);
        EXPECT_EQ(TakeRequests(), RtuFrames({"01060002ffff"}));
        EXPECT_DOUBLE_EQ(ao.Output(2), c.top);
        ui::CloseBox(dlg);
    }
}

TEST_F(M6359Modbus, AnUnknownRangeKeepsTheRawScale)
{
    CSimBus bus;
    m_link.Attach(1, bus); // nobody answers the range read
    Open({"01", "06", "0", "30", "0", "6359"});
    EXPECT_EQ(Text(kAoChannels[1].labels[0]), "0");
    EXPECT_EQ(Text(kAoChannels[1].labels[1]), "");
    EXPECT_EQ(Text(kAoChannels[1].labels[2]), "FFFF");
    EXPECT_EQ(SliderCtrl(1)->GetRangeMax(), 65535);
}

TEST_F(M6359Modbus, AFourChannelSliderReleaseWritesItsRawCode)
{
    CSimAnalogOutput& ao = AddModule("6359");
    Open({"01", "06", "0", "30", "0", "6359"});
    Tick(m_dlg);
    TakeRequests();
    Drag(0, 20000);
    EXPECT_EQ(Output(0), "4e20");
    Tick(m_dlg, 2);
    EXPECT_EQ(TakeRequests(), RtuFrames({"010600004e20", "010300000004"}));
    EXPECT_EQ(ao.OutputRegister(0), 0x4E20);
    Tick(m_dlg);
    EXPECT_EQ(ReadBack(0), "4E20");
}

// A slider let go of while the module's replies are garbled or missing waits for an answered
// read; the reading cycle of the two-channel models starts again after it.
TEST_F(M6359Modbus, AWriteAskedForWhileReadsFailGoesOutOnceOneIsAnswered)
{
    for (bool garbled : {true, false}) {
        SCOPED_TRACE(garbled ? "garbled" : "silent");
        CSimAnalogOutput& ao = AddModule("6359", garbled ? 1 : 2);
        CM6359Modbus dlg;
        m_frame.m_strAnalogOutputParams = {garbled ? "01" : "02", "06", "0", "30", "0", "6359"};
        dlg.Create(IDD_M6359_MODBUS);
        Tick(dlg, 2);
        (garbled ? ao.Faults().nGarbage : ao.Faults().nSilentAfter) = garbled ? 9 : 0;
        Tick(dlg);
        Drag(dlg, 1, 20000);
        Tick(dlg, 3);
        EXPECT_EQ(ao.OutputRegister(1), 0);
        ao.Faults() = {};
        TakeRequests();
        Tick(dlg, 2);
        std::string slave = garbled ? "01" : "02";
        EXPECT_EQ(TakeRequests(), RtuFrames({(slave + "0300000004").c_str(), (slave + "060001"
                                                                                      "4e20")
                                                                                 .c_str()}));
        EXPECT_EQ(ao.OutputRegister(1), 0x4E20);
        dlg.OnCancel();
    }
}

// A write that went out as the module fell silent goes out again once it answers.
TEST_F(M6359Modbus, AWriteTheModuleDidNotAnswerGoesOutAgainOnceItAnswers)
{
    CSimAnalogOutput& ao = AddModule("6359");
    Open({"01", "06", "0", "30", "0", "6359"});
    Tick(m_dlg, 2);
    Drag(1, 20000);
    ao.Faults().nSilentAfter = 0;
    TakeRequests();
    Tick(m_dlg, 2);
    const std::string write = RtuFrame("010600014E20");
    EXPECT_EQ(TakeRequests(), (std::vector<std::string>{write, RtuFrame("010300000004")}));
    ao.Faults() = {};
    Tick(m_dlg, 2);
    EXPECT_EQ(TakeRequests(), (std::vector<std::string>{RtuFrame("010300000004"), write}));
    EXPECT_EQ(ao.OutputRegister(1), 0x4E20);
}

TEST_F(M6359Modbus, TwoChannelsReadTheirRangesThenOneValueATick)
{
    CSimAnalogOutput& ao = AddModule("6355");
    ao.SetChannelType(1, 0x31);
    ao.SetInput(0, 5.0);
    ao.SetInput(1, 12.345);
    Open({"01", "06", "0", "30", "0", "6355"});
    EXPECT_EQ(TakeRequests(), RtuFrames({"010300C80001", "010300C80040"}));
    Tick(m_dlg, 5);
    EXPECT_EQ(TakeRequests(), RtuFrames({"010300C90040", "010300000001", "010300010001",
                                         "010300000001", "010300010001"}));
    EXPECT_EQ(Text(kAoChannels[1].labels[0]), "4");
    EXPECT_EQ(SliderCtrl(1)->GetRangeMin(), 4000);
    EXPECT_EQ(ReadBack(0), "+05.000");
    EXPECT_EQ(ReadBack(1), "+12.345");
    EXPECT_EQ(Output(1), "+12.345");
    EXPECT_EQ(SliderCtrl(1)->GetPos(), 12345);
    EXPECT_TRUE(m_dlg.GetDlgItem(kAoChannels[1].nOutput)->IsWindowEnabled());
    EXPECT_FALSE(m_dlg.GetDlgItem(kAoChannels[2].nSlider)->IsWindowEnabled());
}

TEST_F(M6359Modbus, TheTwoChannelWriteSendsTheRegisterValueAsFourHexDigits)
{
    CSimAnalogOutput& ao = OpenTwoChannel();
    ASSERT_EQ(Output(1), "+02.000");
    struct Case {
        const char* typed; // nullptr: leave the edit as the read left it
        const char* frame; // nullptr: refused
    } cases[] = {
        {nullptr, "0106000107D0"}, {"7.5", "010600011D4C"}, {"+10", "010600012710"},
        {"abc", nullptr},          {"10.001", nullptr},     {"1D4C", nullptr},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.typed ? c.typed : "as read");
        m_boxes.m_boxes.clear();
        if (c.typed)
            ui::Type(m_dlg, kAoChannels[1].nOutput, c.typed);
        else
            LeaveOutput(1);
        Tick(m_dlg);
        Requests sent = TakeRequests();
        if (c.frame) {
            EXPECT_EQ(sent, Requests{RtuFrame(c.frame)});
            EXPECT_TRUE(m_boxes.Texts().empty());
            Tick(m_dlg);
            TakeRequests();
        } else {
            EXPECT_NE(sent.front().substr(3, 2), "06");
            EXPECT_EQ(m_boxes.Texts(), Requests{"Output must be a number from 0 to 10!"});
        }
    }
    EXPECT_EQ(ao.Output(1), 10.0);
    // A slider shows and sends the value it stands for.
    Drag(0, 4321);
    EXPECT_EQ(Output(0), "+04.321");
    Tick(m_dlg);
    EXPECT_EQ(TakeRequests(), Requests{RtuFrame("01060000"
                                                "10E1")});
}

TEST_F(M6359Modbus, OneChannelUsesTheTwoChannelReadsAndWrites)
{
    CSimAnalogOutput& ao = AddModule("6358");
    ao.SetType(0x32);
    ao.SetInput(0, 2.5);
    Open({"01", "06", "0", "32", "0", "6358"});
    EXPECT_EQ(TakeRequests(), RtuFrames({"010300C80001", "010300000001"}));
    EXPECT_FALSE(m_dlg.GetDlgItem(IDC_AO_RANGE4)->IsWindowVisible());
    EXPECT_FALSE(m_dlg.GetDlgItem(kAoChannels[1].nSlider)->IsWindowEnabled());
    Tick(m_dlg, 2);
    EXPECT_EQ(TakeRequests(), RtuFrames({"010300000001", "010300000001"}));
    EXPECT_EQ(ReadBack(0), "+02.500");
    Drag(0, 7000);
    Tick(m_dlg, 2);
    EXPECT_EQ(TakeRequests(), RtuFrames({"010600001B58", "010300000001"}));
    EXPECT_EQ(ao.Output(0), 7.0);
}

TEST_F(M6359Modbus, SettingWritesTheSlaveAddressAndTheRowAsItGoesOut)
{
    AddModule("6359", 10);
    Open({"0A", "06", "0", "30", "1", "6359"});
    Tick(m_dlg);
    TakeRequests();
    ui::Type(m_dlg, IDC_AO_ADDRESS, "11");
    ui::Click(m_dlg, IDC_AO_SETTING);
    EXPECT_FALSE(m_frame.m_bAnalogOutputChanged);
    Tick(m_dlg);
    EXPECT_EQ(TakeRequests(), Requests{RtuFrame("0a060812000B")});
    EXPECT_TRUE(m_frame.m_bAnalogOutputChanged);
    EXPECT_EQ(m_frame.m_strNewRowText, (RowTexts{"6359", "0B", "9600", "CRC", ""}));
    for (size_t i = 0; i < 5; ++i)
        EXPECT_EQ(m_frame.m_strNewParams[i], (RowTexts{"0B", "06", "0", "30", "1"})[i]) << i;
    EXPECT_EQ(m_boxes.Texts(), Requests{"Setting is OK!"});
    EXPECT_EQ(m_boxes.m_boxes.back().caption, "Setting");
    EXPECT_FALSE(m_dlg.IsRunning());
}

// The row keeps the module's address too: the typed one was never sent.
TEST_F(M6359Modbus, TheSwitchToAsciiGoesToTheModulesOwnAddress)
{
    OpenTwoChannel();
    m_frame.m_strNewRowText[1] = "01";
    m_frame.m_strNewParams[0] = "01";
    ui::Type(m_dlg, IDC_AO_ADDRESS, "5");
    ui::ChooseRow(m_dlg, IDC_AO_PROTOCOL, 0);
    ui::Click(m_dlg, IDC_AO_SETTING);
    Tick(m_dlg);
    EXPECT_EQ(TakeRequests(), Requests{RtuFrame("0106080D0000")});
    Tick(m_dlg);
    EXPECT_EQ(m_boxes.Texts(), Requests{"Setting ASSIC OK!"});
    EXPECT_FALSE(m_dlg.IsRunning());
    EXPECT_TRUE(m_frame.m_bAnalogOutputChanged);
    EXPECT_EQ(m_frame.m_strNewRowText[1], "01");
    EXPECT_EQ(m_frame.m_strNewParams[0], "01");
}

TEST_F(M6359Modbus, AnExceptionReplyIsNoSuccess)
{
    struct Case {
        const char* model;
        int ticks;
    } cases[] = {{"6359", 1}, {"6355", 2}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.model);
        CSimBus bus;
        bus.Add(c.model, 1, 9600, ESimProtocol::Rtu);
        m_link.Attach(1, bus);
        m_frame.m_strAnalogOutputParams = ModuleParamBlock{"01", "06", "0", "30", "0", c.model};
        CM6359Modbus dlg;
        dlg.Create(IDD_M6359_MODBUS);
        Tick(dlg, 4);
        m_boxes.m_boxes.clear();
        ui::Type(dlg, IDC_AO_ADDRESS, "0"); // the broadcast address: the module refuses it
        ui::Click(dlg, IDC_AO_SETTING);
        Tick(dlg, c.ticks);
        EXPECT_EQ(m_boxes.Texts(),
                  Requests{"Setting Configuration Error! \r\n Please Connect Init* to GND!"});
        EXPECT_FALSE(dlg.IsRunning());
        EXPECT_FALSE(m_frame.m_bAnalogOutputChanged) << "the refusal takes the write-back back";
    }
}

// A setting write met by silence or noise was not heard: the tick that reads its answer reports it
// and the dialog closes; the write is not sent again, and the module keeps its address.
TEST_F(M6359Modbus, AnUnheardSettingIsReportedAtOnce)
{
    using R = CDeafLine::EReply;
    for (const char* model : {"6359", "6355"}) {
        for (R reply : {R::Silent, R::Noise}) {
            SCOPED_TRACE(std::string(model) + (reply == R::Silent ? " silence" : " noise"));
            CSimBus bus;
            CSimModule& module = bus.Add(model, 1, 9600, ESimProtocol::Rtu);
            m_link.Attach(1, bus);
            m_frame.m_strAnalogOutputParams = ModuleParamBlock{"01", "06", "0", "30", "0", model};
            m_boxes.m_boxes.clear();
            CM6359Modbus dlg;
            dlg.Create(IDD_M6359_MODBUS);
            Tick(dlg, 4);
            ui::Type(dlg, IDC_AO_ADDRESS, "5");
            ui::Click(dlg, IDC_AO_SETTING);
            std::string write = Trim(BytesToHexText(HexTextToBytes("010608120005")));
            CDeafLine line(module, reply, write);
            m_link.ClearTraffic();
            for (int i = 0; i < 4 && dlg.IsRunning(); ++i) Tick(dlg);
            std::vector<std::string> sent = m_link.Requests();
            EXPECT_EQ(std::ranges::count_if(
                          sent, [&](const std::string& r) { return r.starts_with(write); }),
                      1);
            EXPECT_EQ(m_boxes.Texts(),
                      Requests{"Setting Configuration Error! \r\n Please Connect Init* to GND!"});
            EXPECT_FALSE(dlg.IsRunning());
            EXPECT_EQ(module.Address(), 1);
        }
    }
}

// A Setting pressed while the module is silent waits for an answered read, then goes out.
TEST_F(M6359Modbus, ASettingWhileTheModuleIsSilentGoesOutOnceItAnswers)
{
    CSimAnalogOutput& ao = AddModule("6359");
    Open({"01", "06", "0", "30", "0", "6359"});
    ao.Faults().nSilentAfter = 0;
    Tick(m_dlg);
    ui::Click(m_dlg, IDC_AO_SETTING);
    Tick(m_dlg, 2);
    EXPECT_FALSE(m_frame.m_bAnalogOutputChanged);
    ao.Faults().nSilentAfter = -1;
    TakeRequests();
    Tick(m_dlg);
    EXPECT_EQ(TakeRequests(), RtuFrames({"010300000004"}));
    EXPECT_FALSE(m_frame.m_bAnalogOutputChanged);
    Tick(m_dlg);
    EXPECT_EQ(TakeRequests(), RtuFrames({"010608120001"}));
    EXPECT_TRUE(m_frame.m_bAnalogOutputChanged);
    EXPECT_EQ(m_boxes.Texts(), Requests{"Setting is OK!"});
    EXPECT_FALSE(m_dlg.IsRunning());
}

TEST_F(M6359Modbus, AnAddressOutOfRangeIsRefused)
{
    AddModule("6359");
    Open({"01", "06", "0", "30", "0", "6359"});
    ui::Type(m_dlg, IDC_AO_ADDRESS, "256");
    ui::Click(m_dlg, IDC_AO_SETTING);
    EXPECT_EQ(m_boxes.Texts(), Requests{"Address must be 0 to 255!"});
}

TEST_F(M6359Modbus, OpenComErrorLeavesTheDialogWithoutPolling)
{
    m_link.Detach(1);
    Open({"01", "06", "0", "30", "0", "6359"});
    EXPECT_EQ(m_boxes.Texts(), Requests{"Open Com Error!"});
    EXPECT_FALSE(m_dlg.IsTimerActive(kPollTimer));
    ui::Click(m_dlg, IDC_AO_SETTING);
    EXPECT_FALSE(m_frame.m_bAnalogOutputChanged);
    EXPECT_TRUE(m_link.Traffic().empty());
}

TEST_F(M6359Modbus, SettingsRoundTrip)
{
    AddModule("6355");
    m_frame.m_strAnalogOutputParams = ModuleParamBlock{"01", "06", "0", "30", "1", "6355"};
    // The request waits for CH1's range, then goes out on the third tick.
    ExpectSettingsRoundTrip<CM6359Modbus>(
        IDD_M6359_MODBUS, IDC_AO_SETTING,
        {{IDC_AO_BAUD, 3}, {IDC_AO_CHECKSUM, 2}, {IDC_AO_FORMAT, 1}, {IDC_AO_RANGE, 0}},
        {"01", "06", "0", "3F", "1"}, 3);
}
