// The Modbus RTU digital I/O dialog against simulated modules.
#include "DioFixture.h"
#include "RtuFrame.h"
#include "SpoiltLine.h"

#include "SimCodec.h"
#include "digital_io/M6373Modbus.h"

namespace {

using Requests = std::vector<std::string>;

class CM6373ModbusTest : public CDioFixture {
protected:
    CSimDigitalIo& AddRtu(const char* model, int address)
    {
        return AddModule(model, address, ESimProtocol::Rtu);
    }
    void Open(const char* address, const char* model, const char* check = "0")
    {
        Block(address, model, check);
        m_dlg.Create(IDD_M6373_MODBUS);
    }
    Requests Run(int ticks)
    {
        TakeRequests();
        Tick(m_dlg, ticks);
        return TakeRequests();
    }
    std::vector<std::string> Rows() { return ui::Rows(m_dlg, IDC_DIO_LIST); }

    CM6373Modbus m_dlg;
};

} // namespace

TEST_F(CM6373ModbusTest, ReadsInputsAndOutputsInTurnAndShowsThemEverySecondTick)
{
    CSimDigitalIo& module = AddRtu("6373", 0x0A);
    SetInputs(module, 0x0A);
    module.SetOutputs(0x05);
    module.SetParity(2);
    m_frame.m_nParity = 2;
    Open("0A", "6373");
    EXPECT_EQ(m_dlg.GetDlgItemText(IDC_DIO_ADDRESS), "10");
    EXPECT_EQ(m_dlg.GetDlgItemText(IDC_DIO_PROTOCOL), "Modbus RTU");
    EXPECT_EQ(m_link.Line(1).nParity, 2);
    EXPECT_EQ(TakeRequests(), RtuFrames({"0A0100000004"}));
    EXPECT_EQ(Run(3), RtuFrames({"0A0100000004", "0A0100100004", "0A0100000004"}));
    EXPECT_EQ(Lamps(m_dlg, true), "RWRWGGGGGGGGGGGG");
    EXPECT_EQ(Lamps(m_dlg, false), "WRWRGGGGGGGGGGGG");
    EXPECT_EQ(Rows(), (std::vector<std::string>{
                          "10001         CH0              0", "10002         CH1              1",
                          "10003         CH2              0", "10004         CH3              1",
                          "10017         CH0              1", "10018         CH1              0",
                          "10019         CH2              1", "10020         CH3              0"}));
}

TEST_F(CM6373ModbusTest, EachRowReadsItsCoils)
{
    struct Case {
        const char* model;
        Requests requests; // the opening read, then three ticks
    } cases[] = {
        {"6328", RtuFrames({"010100000010", "010100000010", "010100000010", "010100000010"})},
        {"4320", RtuFrames({"010100000010", "010100000010", "010100000010", "010100000010"})},
        {"6398", RtuFrames({"01010000000E", "01010000000E", "01010000000E", "01010000000E"})},
        {"6325D", RtuFrames({"010100000008", "010100000008", "010100000008", "010100000008"})},
        {"6395", RtuFrames({"01010010000D", "01010010000D", "01010010000D", "01010010000D"})},
        {"6390", RtuFrames({"010100100010", "010100100010", "010100100010", "010100100010"})},
        {"6376", RtuFrames({"010100100008", "010100100008", "010100100008", "010100100008"})},
        {"6372", RtuFrames({"010100000004", "010100000004", "010100100005", "010100000004"})},
        {"6399", RtuFrames({"010100000004", "010100000004", "010100100008", "010100000004"})},
        {"6324", RtuFrames({"01010000000C", "01010000000C", "010100100008", "01010000000C"})},
        {"6323", RtuFrames({"010100100008", "010100000007", "010100100008", "010100000007"})},
        {"6322", RtuFrames({"010100000008", "010100000008", "010100100008", "010100000008"})},
        // Listed names, as the search shows the modules.
        {"4322", RtuFrames({"010100000008", "010100000008", "010100100008", "010100000008"})},
        {"4376D", RtuFrames({"010100100008", "010100100008", "010100100008", "010100100008"})},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.model);
        FreshBus();
        CM6373Modbus dlg;
        Block("01", c.model);
        dlg.Create(IDD_M6373_MODBUS);
        Tick(dlg, 3);
        EXPECT_EQ(TakeRequests(), c.requests);
    }
}

TEST_F(CM6373ModbusTest, CoilsReachTheLampsAndTheListInTheRowsLayout)
{
    struct Case {
        const char* model;
        WORD inputs;
        WORD outputs;
        const char* di;
        const char* dout;
        size_t rows;
        const char* first;
    } cases[] = {
        {"6320", 0x1234, 0, "WWRWRRWWWRWWRWWW", "GGGGGGGGGGGGGGGG", 16,
         "10001         CH0              0"},
        {"6325", 0xA5, 0, "RWRWWRWRGGGGGGGG", "GGGGGGGGGGGGGGGG", 8,
         "10001         CH0              1"},
        {"6376", 0, 0x81, "GGGGGGGGGGGGGGGG", "RWWWWWWRGGGGGGGG", 8,
         "10017         CH0              1"},
        {"6399", 0x1, 0x80, "RWWWGGGGGGGGGGGG", "WWWWWWWRGGGGGGGG", 12,
         "10001         CH0             1"},
        // Every input on its own lamp and the four outputs on theirs.
        {"6324", 0x801, 0x9, "RWWWWWWWWWWRGGGG", "RWWRGGGGGGGGGGGG", 16,
         "10001         CH0             1"},
        {"6322", 0x3, 0x80, "RRWWWWWWGGGGGGGG", "WWWWWWWRGGGGGGGG", 0, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.model);
        CSimDigitalIo& module = FreshModule(c.model, ESimProtocol::Rtu);
        SetInputs(module, c.inputs);
        module.SetOutputs(c.outputs);
        CM6373Modbus dlg;
        Block("01", c.model);
        dlg.Create(IDD_M6373_MODBUS);
        Tick(dlg, 3);
        EXPECT_EQ(Lamps(dlg, false), c.di);
        EXPECT_EQ(Lamps(dlg, true), c.dout);
        std::vector<std::string> rows = ui::Rows(dlg, IDC_DIO_LIST);
        ASSERT_EQ(rows.size(), c.rows);
        if (!rows.empty()) {
            EXPECT_EQ(rows[0], c.first);
        }
    }
}

TEST_F(CM6373ModbusTest, ALampClickSwitchesThatCoil)
{
    CSimDigitalIo& module = AddRtu("6373", 1);
    Open("01", "6373");
    Tick(m_dlg, 3);
    ClickDoLamp(m_dlg, 2);
    EXPECT_EQ(m_dlg.m_bDoState[2], 1);
    EXPECT_EQ(Run(1), RtuFrames({"01050012FF00"}));
    EXPECT_EQ(module.Outputs(), 0x4);
    EXPECT_EQ(Run(3), RtuFrames({"010100000004", "010100100004", "010100000004"}));
    EXPECT_EQ(Lamps(m_dlg, true), "WWRWGGGGGGGGGGGG");

    CSimDigitalIo& dio = FreshModule("6390", ESimProtocol::Rtu);
    dio.SetOutputs(0x0800);
    CM6373Modbus dlg;
    Block("01", "6390");
    dlg.Create(IDD_M6373_MODBUS);
    Tick(dlg, 2);
    TakeRequests();
    ClickDoLamp(dlg, 11);
    Tick(dlg);
    EXPECT_EQ(TakeRequests(), RtuFrames({"0105001B0000"}));
    EXPECT_EQ(dio.Outputs(), 0);
}

TEST_F(CM6373ModbusTest, AClickBesideTheLampsWritesOnlyWhatTheModuleReported)
{
    CSimDigitalIo& module = AddRtu("6373", 1);
    Open("01", "6373");
    Tick(m_dlg, 3);
    // Before any lamp was hit there is nothing to write: the poll goes on.
    ui::ClickAt(m_dlg, CPoint{4, 4});
    m_dlg.OnLButtonDown(MK_LBUTTON | MK_CONTROL,
                        ui::CentreOf(m_dlg, DioChannelControls[1].nDoLamp));
    EXPECT_EQ(Run(2), RtuFrames({"010100100004", "010100000004"}));
    ClickDoLamp(m_dlg, 1);
    EXPECT_EQ(Run(1), RtuFrames({"01050011FF00"}));
    // Another master switches the output off; once read, a click beside the lamps writes that.
    module.SetOutputs(0);
    Tick(m_dlg, 3);
    ui::ClickAt(m_dlg, CPoint{4, 4});
    EXPECT_EQ(Run(1), RtuFrames({"010500110000"}));
    EXPECT_EQ(module.Outputs(), 0);
}

TEST_F(CM6373ModbusTest, AClickBeforeTheOutputsAreShownWritesNothing)
{
    CSimDigitalIo& module = AddRtu("6373", 1);
    module.SetOutputs(0x1);
    Open("01", "6373");
    ClickDoLamp(m_dlg, 0);
    EXPECT_EQ(Run(2), RtuFrames({"010100000004", "010100100004"}));
    ClickDoLamp(m_dlg, 0);
    EXPECT_EQ(Run(1), RtuFrames({"010100000004"}));
    EXPECT_EQ(module.Outputs(), 0x1);
    // Shown now: the click switches the output off.
    ClickDoLamp(m_dlg, 0);
    EXPECT_EQ(Run(1), RtuFrames({"010500100000"}));
    EXPECT_EQ(module.Outputs(), 0x0);
}

TEST_F(CM6373ModbusTest, AFailedOrRefusedReadChangesNoState)
{
    for (bool silent : {true, false}) {
        SCOPED_TRACE(silent);
        CSimDigitalIo& module = FreshModule("6373", ESimProtocol::Rtu);
        module.SetOutputs(0x2);
        CM6373Modbus dlg;
        Block("01", "6373");
        dlg.Create(IDD_M6373_MODBUS);
        Tick(dlg, 3);
        ASSERT_EQ(Lamps(dlg, true), "WRWWGGGGGGGGGGGG");
        std::vector<std::string> rows = ui::Rows(dlg, IDC_DIO_LIST);
        if (silent) {
            module.Faults().nSilentAfter = 0;
        } else {
            // Another module at its address: it has no outputs, so it refuses every outputs' read
            // with an exception, and its inputs, all off, never come with outputs to show.
            module.SetAddress(3);
            m_buses.back().Add("6320", 1, 9600, ESimProtocol::Rtu);
        }
        Tick(dlg, 6);
        EXPECT_EQ(Lamps(dlg, true), "WRWWGGGGGGGGGGGG");
        EXPECT_EQ(ui::Rows(dlg, IDC_DIO_LIST), rows);
        EXPECT_EQ(dlg.m_bDoState[1], 1);
    }
}

TEST_F(CM6373ModbusTest, ModelsWithoutAReadAndClearButtonsSendNothing)
{
    for (const char* model : {"6370", "6377", "9322", "6371"}) {
        SCOPED_TRACE(model);
        FreshBus();
        CM6373Modbus dlg;
        Block("01", model);
        dlg.Create(IDD_M6373_MODBUS);
        Tick(dlg, 3);
        EXPECT_TRUE(TakeRequests().empty());
        EXPECT_TRUE(dlg.IsTimerActive(kPollTimer));
    }
    m_link.Attach(1, m_bus);
    AddRtu("6373", 1);
    Open("01", "6373");
    Tick(m_dlg);
    ASSERT_TRUE(ui::Click(m_dlg, DioChannelControls[0].nClear));
    EXPECT_TRUE(Run(1).empty());
    EXPECT_EQ(Run(1), RtuFrames({"010100000004"}));
}

TEST_F(CM6373ModbusTest, AddressChangeGoesToTheOldAddressAndRewritesTheRowWhenItGoesOut)
{
    CSimDigitalIo& module = AddRtu("6373", 0x0A);
    Open("0A", "6373", "8");
    WatchTimerAtBoxes(m_dlg);
    for (int id : {IDC_DIO_SET_SAFE, IDC_DIO_READ_SAFE, IDC_DIO_SET_POWERON, IDC_DIO_READ_POWERON,
                   IDC_DIO_ANSWER, IDC_DIO_LATCH_LOW, IDC_DIO_LATCH_HIGH, IDC_DIO_CLEAR_LATCH,
                   IDC_DIO_BAUD, IDC_DIO_CHECKSUM})
        EXPECT_FALSE(m_dlg.GetDlgItem(id)->IsWindowEnabled()) << id;
    Tick(m_dlg, 2);
    ui::Type(m_dlg, IDC_DIO_ADDRESS, "12");
    ASSERT_TRUE(ui::Click(m_dlg, IDC_DIO_SETTING));
    EXPECT_FALSE(m_frame.m_bDioChanged);
    EXPECT_EQ(Run(1), RtuFrames({"0A060812000C"}));
    EXPECT_TRUE(m_frame.m_bDioChanged);
    EXPECT_EQ(m_frame.m_strNewRowText,
              (std::array<std::string, 5>{"6373", "0C", "9600", "Disable", "6373"}));
    EXPECT_EQ(m_frame.m_strNewParams[0], "0C");
    EXPECT_EQ(m_frame.m_strNewParams[1], "06");
    EXPECT_EQ(m_frame.m_strNewParams[2], "8");
    EXPECT_EQ(m_frame.m_strNewParams[3], "40");
    EXPECT_EQ(module.Address(), 0x0C);
    Tick(m_dlg);
    EXPECT_EQ(m_boxes.Texts(), std::vector<std::string>{"Setting  OK!"});
    EXPECT_EQ(m_boxes.m_boxes[0].caption, "Setting");
    EXPECT_FALSE(m_bTimerRanUnderBox);
    EXPECT_FALSE(m_dlg.IsRunning());
    EXPECT_FALSE(m_link.IsRtuOpen());
}

// A lamp clicked after Setting waits: the address write goes out first, to the address the
// module answers to, and its echo ends the dialog.
TEST_F(CM6373ModbusTest, ALampClickAfterSettingWaitsBehindTheAddressChange)
{
    CSimDigitalIo& module = AddRtu("6373", 0x0A);
    Open("0A", "6373");
    Tick(m_dlg, 3);
    ui::Type(m_dlg, IDC_DIO_ADDRESS, "12");
    ASSERT_TRUE(ui::Click(m_dlg, IDC_DIO_SETTING));
    ClickDoLamp(m_dlg, 0);
    EXPECT_EQ(Run(1), RtuFrames({"0A060812000C"}));
    EXPECT_EQ(module.Address(), 0x0C);
    EXPECT_EQ(module.Outputs(), 0x0);
    Tick(m_dlg);
    EXPECT_EQ(m_boxes.Texts(), std::vector<std::string>{"Setting  OK!"});
    EXPECT_EQ(m_frame.m_strNewParams[0], "0C");
    EXPECT_FALSE(m_dlg.IsRunning());
}

// The address write is judged by its echo: silence, an echo with a bad CRC or an exception is no
// success, and only the exception, a refusal, takes the write-back back (an unheard write may have
// reached the module). The switch to ASCII may fall silent, but an exception refuses it.
TEST_F(CM6373ModbusTest, TheSettingsVerdictFollowsTheAnswer)
{
    const char* const kError = "Setting Configuration Error! \r\n Please Connect Init* to GND!";
    struct Case {
        const char* name;
        int protocolRow;
        const char* typed;
        bool silent;
        const char* text;
        bool flag;
        bool badCrc = false;
    } cases[] = {
        {"address write unanswered", 0, "12", true, kError, true},
        {"address write refused", 0, "0", false, kError, false},
        {"switch unanswered", 1, "10", true, "Setting ASCII OK!", false},
        {"address write echoed with a bad CRC", 0, "12", false, kError, true, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CSimBus bus;
        auto& module = static_cast<CSimDigitalIo&>(bus.Add("6373", 0x0A, 9600, ESimProtocol::Rtu));
        m_link.Attach(1, bus);
        m_frame.m_bDioChanged = false;
        m_boxes.m_boxes.clear();
        m_frame.m_strDioParams = {"0A", "06", "0", "40", "0", "6373"};
        CM6373Modbus dlg;
        dlg.Create(IDD_M6373_MODBUS);
        Tick(dlg, 2);
        ui::Type(dlg, IDC_DIO_ADDRESS, c.typed);
        ui::ChooseRow(dlg, IDC_DIO_PROTOCOL, c.protocolRow);
        ASSERT_TRUE(ui::Click(dlg, IDC_DIO_SETTING));
        if (c.silent) module.Faults().nSilentAfter = 0;
        {
            CSpoiltLine line(ESpoil::BadCrc, "0A 06 08 12", c.badCrc ? 1 : 0);
            Tick(dlg, 2);
        }
        EXPECT_EQ(m_boxes.Texts(), std::vector<std::string>{c.text});
        EXPECT_EQ(m_frame.m_bDioChanged, c.flag);
        EXPECT_FALSE(dlg.IsRunning());
    }
}

TEST_F(CM6373ModbusTest, SwitchToAsciiGoesToTheModuleAndRewritesNothing)
{
    CSimDigitalIo& module = AddRtu("6373", 5);
    Open("05", "6373");
    Tick(m_dlg);
    ASSERT_TRUE(ui::ChooseRow(m_dlg, IDC_DIO_PROTOCOL, 1));
    ASSERT_TRUE(ui::Click(m_dlg, IDC_DIO_SETTING));
    EXPECT_EQ(Run(1), RtuFrames({"0506080D0001"}));
    EXPECT_EQ(module.Protocol(), ESimProtocol::Ascii);
    Tick(m_dlg);
    EXPECT_EQ(m_boxes.Texts(), std::vector<std::string>{"Setting ASCII OK!"});
    EXPECT_FALSE(m_frame.m_bDioChanged);
    EXPECT_FALSE(m_dlg.IsRunning());
}

TEST_F(CM6373ModbusTest, SettingIsDisabledForTheModelsThatSwitchByConfiguration)
{
    for (const char* model : {"6328", "6322D", "6373"}) {
        CM6373Modbus dlg;
        Block("01", model);
        dlg.Create(IDD_M6373_MODBUS);
        EXPECT_EQ(dlg.GetDlgItem(IDC_DIO_SETTING)->IsWindowEnabled(), std::string(model) == "6373")
            << model;
    }
}

TEST_F(CM6373ModbusTest, EnterClosesTheDialogWithTheTimerStoppedAndTheLineClosed)
{
    AddRtu("6373", 1);
    Open("01", "6373");
    Tick(m_dlg);
    ui::PressKeyIn(m_dlg, IDC_DIO_ADDRESS, Qt::Key_Return);
    EXPECT_FALSE(m_dlg.IsRunning());
    EXPECT_FALSE(m_dlg.IsTimerActive(kPollTimer));
    EXPECT_FALSE(m_link.IsRtuOpen());
    // The next dialog opens its line.
    CM6373Modbus next;
    next.Create(IDD_M6373_MODBUS);
    EXPECT_TRUE(m_link.IsRtuOpen());
    EXPECT_TRUE(m_boxes.Texts().empty());
}
