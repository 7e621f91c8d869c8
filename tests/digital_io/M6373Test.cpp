// The ASCII digital I/O dialog against simulated modules.
#include "DioFixture.h"

#include "AsciiCommand.h"
#include "Frame.h"
#include "digital_io/M6373.h"

#include <QPushButton>

namespace {

class CM6373Test : public CDioFixture {
protected:
    void Open(const char* address, const char* model, const char* check = "0",
              const char* brate = "06")
    {
        Block(address, model, check, brate);
        m_dlg.Create(IDD_M6373);
    }
    std::string Counter(int ch) { return m_dlg.GetDlgItemText(DioChannelControls[ch].nCounter); }
    std::string Answer() { return m_dlg.GetDlgItemText(IDC_DIO_ANSWER); }
    void SetDlgAnswer(const std::string& text) { m_dlg.SetDlgItemText(IDC_DIO_ANSWER, text); }
    bool Enabled(int id) { return m_dlg.GetDlgItem(id)->IsWindowEnabled(); }
    // ticks, then the requests they sent
    std::vector<std::string> Run(int ticks)
    {
        TakeRequests();
        Tick(m_dlg, ticks);
        return TakeRequests();
    }

    CM6373 m_dlg;
};

std::vector<std::string> WithChecksum(std::vector<std::string> requests)
{
    for (std::string& r : requests) r += AppendChecksum(r);
    return requests;
}

using Requests = std::vector<std::string>;

} // namespace

TEST_F(CM6373Test, OpensOnTheBlocksAddressAndBaudRateAndReadsTheStatus)
{
    AddModule("6373", 0x0A, ESimProtocol::Ascii, 19200);
    Open("0A", "6373", "0", "07");
    EXPECT_EQ(m_dlg.GetDlgItemText(IDC_DIO_ADDRESS), "10");
    EXPECT_EQ(m_dlg.GetDlgItemText(IDC_DIO_MODEL), "6373");
    EXPECT_EQ(m_dlg.GetDlgItemText(IDC_DIO_BAUD), "19200");
    EXPECT_EQ(m_dlg.GetDlgItemText(IDC_DIO_CHECKSUM), "Disable");
    EXPECT_EQ(m_dlg.GetDlgItemText(IDC_DIO_PROTOCOL), "ASCII");
    EXPECT_EQ(m_link.Line(1).dwBaud, 19200u);
    EXPECT_TRUE(m_dlg.IsDlgButtonChecked(IDC_DIO_LATCH_LOW));
    EXPECT_EQ(m_dlg.m_nLatchLevel, CDioDlg::kLatchLow);
    EXPECT_EQ(TakeRequests(), Requests{"$0A6"});
    EXPECT_TRUE(m_dlg.IsTimerActive(kPollTimer));
}

TEST_F(CM6373Test, EachModelRowDisablesItsControlsAndClearButtons)
{
    const std::vector<int> safe = {IDC_DIO_SET_SAFE, IDC_DIO_READ_SAFE};
    const std::vector<int> power = {IDC_DIO_SET_POWERON, IDC_DIO_READ_POWERON};
    const std::vector<int> latch = {IDC_DIO_CLEAR_LATCH, IDC_DIO_LATCH_LOW, IDC_DIO_LATCH_HIGH};
    const std::vector<int> protocol = {IDC_DIO_PROTOCOL};
    auto join = [](std::initializer_list<std::vector<int>> groups) {
        std::vector<int> ids;
        for (const auto& g : groups) ids.insert(ids.end(), g.begin(), g.end());
        return ids;
    };
    struct Case {
        const char* model;
        const char* address;
        std::vector<int> disabled;
        int clear; // Clear buttons enabled from channel 0; -1: all, as the template has them
        int latch;
    } cases[] = {
        {"6373", "01", {}, 4, CDioDlg::kLatchLow},
        {"6390", "01", latch, 0, CDioDlg::kLatchKept},
        {"6377D", "01", latch, 0, CDioDlg::kLatchKept},
        {"6320", "01", join({safe, power, latch}), 16, CDioDlg::kLatchLow},
        {"6322", "05", join({power, latch, protocol}), 0, CDioDlg::kLatchLow},
        {"6322", "00", join({power, latch}), 0, CDioDlg::kLatchLow},
        {"4322", "05", join({power, latch, protocol}), 0,
         CDioDlg::kLatchLow}, // as the search lists it
        {"9322", "05", join({power, latch}), 0, CDioDlg::kLatchLow},
        {"6328D", "05", join({safe, power, latch, protocol}), -1, CDioDlg::kLatchLow},
    };
    const std::vector<int> all = join({safe, power, latch, protocol});
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.model) + " at " + c.address);
        CM6373 dlg;
        Block(c.address, c.model);
        dlg.Create(IDD_M6373);
        for (int id : all) {
            bool off = std::find(c.disabled.begin(), c.disabled.end(), id) != c.disabled.end();
            EXPECT_EQ(dlg.GetDlgItem(id)->IsWindowEnabled(), !off) << id;
        }
        std::vector<bool> clear = ClearButtonsEnabled(dlg);
        for (int ch = 0; ch < 16; ++ch)
            EXPECT_EQ(clear[static_cast<size_t>(ch)], c.clear < 0 || ch < c.clear) << ch;
        EXPECT_EQ(dlg.m_nLatchLevel, c.latch);
    }
}

TEST_F(CM6373Test, IdlePollReadsStatusAndCountersByChecksumAndRow)
{
    struct Case {
        const char* model;
        const char* check;
        int ticks;
        Requests requests;
    } cases[] = {
        {"6373", "0", 8, {"#010", "$016", "#011", "#012", "$016", "#013", "$016", "#010"}},
        {"6373", "4", 6, WithChecksum({"#010", "#011", "#012", "#013", "$016", "#010"})},
        {"6390", "0", 3, {"$016", "$016", "$016"}},
        {"6322", "0", 3, {"$016", "$016", "$016"}},
        {"6322", "4", 2, WithChecksum({"$016", "$016"})},
        {"6328", "0", 2, {"$016", "$016"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.model) + " check " + c.check);
        FreshModule(c.model).SetChecksum(c.check[0] == '4');
        CM6373 dlg;
        Block("01", c.model, c.check);
        dlg.Create(IDD_M6373);
        EXPECT_EQ(TakeRequests(), c.check[0] == '4' ? WithChecksum({"$016"}) : Requests{"$016"});
        Tick(dlg, c.ticks);
        EXPECT_EQ(TakeRequests(), c.requests);
    }
}

TEST_F(CM6373Test, StatusDrivesTheLampsAndCountersFillTheirBoxes)
{
    CSimDigitalIo& module = AddModule("6373", 1);
    SetInputs(module, 0x5);
    module.SetOutputs(0xF);
    module.SetCounter(1, 12);
    Open("01", "6373");
    Tick(m_dlg);
    EXPECT_EQ(Lamps(m_dlg, false), "RWRWGGGGGGGGGGGG");
    EXPECT_EQ(Lamps(m_dlg, true), "RRRRGGGGGGGGGGGG");
    EXPECT_EQ(m_dlg.m_bDoState[3], 1);
    Tick(m_dlg, 3); // #010 answered, $016, #011 answered
    EXPECT_EQ(Counter(0), "00001");
    EXPECT_EQ(Counter(1), "00012");
    EXPECT_EQ(Counter(2), "");
    EXPECT_TRUE(ui::ShowsWholeText(m_dlg, DioChannelControls[0].nCounter)) << "every digit";
}

TEST_F(CM6373Test, ALampClickWritesEveryOutputAtTheNextTick)
{
    struct Case {
        const char* model;
        WORD outputs;
        int lamp; // -1: beside the lamps
        const char* request;
        WORD after;
    } cases[] = {
        {"6373", 0x0, 0, "@011", 0x1},        {"6373", 0x6, -1, "@016", 0x6},
        {"6373", 0x6, 2, "@012", 0x2},        {"6322", 0x0, 2, "#010004", 0x4},
        {"6390", 0x0800, 11, "@010000", 0x0}, {"6390", 0x0, 15, "@018000", 0x8000},
        {"6377", 0x0, 2, "@0104", 0x4},       {"6373", 0x0, 5, "@010", 0x0}, // no lamp 5
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.model) + " " + c.request);
        CSimDigitalIo& module = FreshModule(c.model);
        module.SetOutputs(c.outputs);
        CM6373 dlg;
        Block("01", c.model);
        dlg.Create(IDD_M6373);
        Tick(dlg); // the status
        TakeRequests();
        if (c.lamp < 0)
            ui::ClickAt(dlg, CPoint{4, 4});
        else
            ClickDoLamp(dlg, c.lamp);
        Tick(dlg);
        EXPECT_EQ(TakeRequests(), Requests{c.request});
        EXPECT_EQ(module.Outputs(), c.after);
        Tick(dlg); // the write's reply is not read; the poll goes on
        EXPECT_EQ(TakeRequests().size(), 1u);
    }
}

TEST_F(CM6373Test, InputOnlyModelsWriteTheirEmptyOrZeroDoText)
{
    for (auto [model, request] : {std::pair{"6320", "@01"}, std::pair{"6398", "@010000"}}) {
        FreshModule(model);
        CM6373 dlg;
        Block("01", model);
        dlg.Create(IDD_M6373);
        Tick(dlg);
        TakeRequests();
        ui::ClickAt(dlg, CPoint{4, 4});
        Tick(dlg);
        EXPECT_EQ(TakeRequests(), Requests{request}) << model;
    }
}

TEST_F(CM6373Test, OnlyAPlainLeftClickInsideALampTogglesIt)
{
    AddModule("6373", 1);
    Open("01", "6373");
    Tick(m_dlg);
    CPoint centre = ui::CentreOf(m_dlg, DioChannelControls[0].nDoLamp);
    m_dlg.OnLButtonDown(MK_LBUTTON | MK_CONTROL, centre);
    m_dlg.OnLButtonDown(MK_LBUTTON | MK_SHIFT, centre);
    EXPECT_EQ(Run(1), Requests{"@010"});
    EXPECT_EQ(m_dlg.m_bDoState[0], 0);
}

TEST_F(CM6373Test, ClearButtonsAndClearLatch)
{
    CSimDigitalIo& module = AddModule("6320", 1);
    module.SetCounter(10, 7);
    module.SetDigitalInput(4, true);
    module.SetDigitalInput(4, false);
    Open("01", "6320");
    Tick(m_dlg);
    ASSERT_TRUE(ui::Click(m_dlg, DioChannelControls[10].nClear));
    EXPECT_EQ(Run(1), Requests{"$01CA"});
    EXPECT_EQ(module.Counter(10), 0);
    // Clear Latch is disabled for this model: the module keeps its latch.
    EXPECT_FALSE(ui::Click(m_dlg, IDC_DIO_CLEAR_LATCH));

    CSimDigitalIo& dio = FreshModule("6373");
    dio.SetChecksum(true);
    dio.SetDigitalInput(1, true);
    dio.SetDigitalInput(1, false);
    CM6373 dlg;
    Block("01", "6373", "4");
    dlg.Create(IDD_M6373);
    Tick(dlg);
    TakeRequests();
    ASSERT_TRUE(ui::Click(dlg, IDC_DIO_CLEAR_LATCH));
    Tick(dlg);
    EXPECT_EQ(TakeRequests(), WithChecksum({"$01C"}));
    EXPECT_EQ(dio.Latched(), 0);
}

TEST_F(CM6373Test, SafeAndPowerOnRequestsShowTheirAnswerOrTheirErrorText)
{
    struct Case {
        const char* model;
        int button;
        const char* request;
        const char* shown;
    } cases[] = {
        {"6399", IDC_DIO_READ_POWERON, "~014P", "!0100A5"},
        {"6399", IDC_DIO_SET_POWERON, "~015P", "!01"},
        {"6399", IDC_DIO_READ_SAFE, "~014S", "!010000"},
        {"6399", IDC_DIO_SET_SAFE, "~015S", "!01"},
        {"6322", IDC_DIO_READ_SAFE, "$01X1", "!010000"},
        {"6322", IDC_DIO_SET_SAFE, "$01X00000A5", "!01"},
        {"6373", IDC_DIO_READ_SAFE, "~014S", "!010000"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.request);
        CSimDigitalIo& module = FreshModule(c.model);
        module.SetOutputs(0xA5);
        if (c.button == IDC_DIO_READ_POWERON)
            m_buses.back().Exchange(ESimProtocol::Ascii, {}, "~015P", 0);
        CM6373 dlg;
        Block("01", c.model);
        dlg.Create(IDD_M6373);
        Tick(dlg);
        TakeRequests();
        ASSERT_TRUE(ui::Click(dlg, c.button));
        Tick(dlg, 2);
        Requests sent = TakeRequests();
        ASSERT_EQ(sent.size(), 2u);
        EXPECT_EQ(sent[0], c.request);
        EXPECT_EQ(dlg.GetDlgItemText(IDC_DIO_ANSWER), c.shown);
    }
}

TEST_F(CM6373Test, RefusedOrUnansweredValueRequestsShowTheirErrorText)
{
    struct Case {
        int button;
        const char* text;
    } cases[] = {{IDC_DIO_READ_POWERON, "Read PowerOn Value Error!"},
                 {IDC_DIO_READ_SAFE, "Read Safe Value Error!"},
                 {IDC_DIO_SET_POWERON, "Set PowerOn Value Error!"},
                 {IDC_DIO_SET_SAFE, "Set Safe Value Error!"}};
    // A module without outputs refuses every one of them with "?01".
    CSimDigitalIo& module = AddModule("6320", 1);
    Open("01", "6373");
    Tick(m_dlg);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        ASSERT_TRUE(ui::Click(m_dlg, c.button));
        Tick(m_dlg, 2);
        EXPECT_EQ(Answer(), c.text);
    }
    SetDlgAnswer("");
    module.Faults().nSilentAfter = 0;
    ASSERT_TRUE(ui::Click(m_dlg, IDC_DIO_SET_SAFE));
    Tick(m_dlg, 2);
    EXPECT_EQ(Answer(), "Set Safe Value Error!");
}

// Replies padded past their shape: no status, no count and no value answer is taken from them.
TEST_F(CM6373Test, RepliesOfAnotherShapeShowNothing)
{
    CSimDigitalIo& module = AddModule("6399", 1);
    SetInputs(module, 0x5);
    module.SetCounter(0, 12);
    module.Faults().nLongTo = 12;
    Open("01", "6399");
    Tick(m_dlg, 4);
    EXPECT_EQ(Lamps(m_dlg, false), "WWWWWWWWWWWWWWWW"); // as the template has them
    EXPECT_EQ(Counter(0), "");
    for (int button : {IDC_DIO_READ_POWERON, IDC_DIO_SET_POWERON}) {
        ASSERT_TRUE(ui::Click(m_dlg, button));
        Tick(m_dlg, 2);
        EXPECT_EQ(Answer(), button == IDC_DIO_READ_POWERON ? "Read PowerOn Value Error!"
                                                           : "Set PowerOn Value Error!");
    }
}

TEST_F(CM6373Test, AnAnswerIsFollowedByOneIdleReadWithoutInterleavedStatus)
{
    AddModule("6373", 1);
    Open("01", "6373");
    EXPECT_EQ(Run(1), Requests{"#010"});
    ASSERT_TRUE(ui::Click(m_dlg, IDC_DIO_READ_SAFE));
    // Where the cycle would read the status next, the read after the answer reads channel 1.
    EXPECT_EQ(Run(4), (Requests{"~014S", "#011", "#012", "$016"}));
}

// The read after an answer goes on from where the cycle stood; its reply is taken for what that
// read asked, not for what the interleaved form would have asked there.
TEST_F(CM6373Test, TheCounterReadAfterAnAnswerFillsItsBoxAndLeavesTheLamps)
{
    CSimDigitalIo& module = AddModule("6373", 1);
    module.SetCounter(1, 12);
    Open("01", "6373");
    EXPECT_EQ(Run(2), (Requests{"#010", "$016"}));
    ASSERT_TRUE(ui::Click(m_dlg, IDC_DIO_READ_SAFE));
    EXPECT_EQ(Run(3), (Requests{"~014S", "#011", "#012"}));
    EXPECT_EQ(Counter(1), "00012");
    EXPECT_EQ(Lamps(m_dlg, true), "WWWWGGGGGGGGGGGG");
    ClickDoLamp(m_dlg, 1);
    EXPECT_EQ(Run(1), Requests{"@012"});
    EXPECT_EQ(module.Outputs(), 0x2);
}

TEST_F(CM6373Test, ConfigurationGoesOutAndIsWrittenBackOnTheModulesAck)
{
    CSimDigitalIo& module = AddModule("6373", 1);
    Open("01", "6373");
    WatchTimerAtBoxes(m_dlg);
    ui::Type(m_dlg, IDC_DIO_ADDRESS, "5");
    ASSERT_TRUE(ui::Click(m_dlg, IDC_DIO_LATCH_HIGH));
    ASSERT_TRUE(ui::Click(m_dlg, IDC_DIO_SETTING));
    EXPECT_FALSE(m_frame.m_bDioChanged);
    EXPECT_EQ(Run(1), Requests{"%0105400680"});
    EXPECT_EQ(module.Address(), 5);
    EXPECT_TRUE(module.LatchHigh());
    Tick(m_dlg);
    EXPECT_EQ(m_boxes.Texts(), std::vector<std::string>{"Setting Configuration OK!"});
    // The texts come with the flag, on the acknowledgement.
    EXPECT_EQ(m_frame.m_strNewParams[0], "05");
    EXPECT_EQ(m_frame.m_strNewParams[2], "8");
    EXPECT_EQ(m_frame.m_strNewRowText[4], "6373");
    EXPECT_EQ(m_boxes.m_boxes[0].caption, "Setting");
    EXPECT_FALSE(m_bTimerRanUnderBox);
    EXPECT_TRUE(m_frame.m_bDioChanged);
    EXPECT_EQ(m_frame.m_strNewRowText,
              (std::array<std::string, 5>{"6373", "05", "9600", "Disable", "6373"}));
    EXPECT_FALSE(m_dlg.IsRunning());
    EXPECT_FALSE(m_link.IsAsciiOpen());
}

TEST_F(CM6373Test, ConfigurationRequestsByProtocolAndModel)
{
    struct Case {
        const char* model;
        const char* address;
        const char* check;
        const char* typed;
        int protocol;
        bool checksumBox; // switch the CheckSum box to Enable
        bool latchHigh;
        const char* request;
        const char* checkText;
    } cases[] = {
        {"6399", "01", "0", "2", 0, true, true, "%01024006C0", "C"},
        {"6399", "01", "C", "2", 0, false, false, "%0102400640", "4"},
        {"6373", "01", "0", "1", 1, false, false, "$01R1", "0"},
        {"6328", "00", "4", "3", 1, false, false, "%0003000604", "4"},
        {"6373", "01", "4", "1", 0, false, false, "%0101400640", "4"},
        {"6390", "01", "8", "1", 0, false, false, "%0101400680", "8"}, // no latch: bit 3 kept
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.request);
        FreshBus();
        CM6373 dlg;
        Block(c.address, c.model, c.check);
        m_frame.m_bDioChanged = false;
        dlg.Create(IDD_M6373);
        ui::Type(dlg, IDC_DIO_ADDRESS, c.typed);
        if (c.checksumBox) ui::ChooseRow(dlg, IDC_DIO_CHECKSUM, 0);
        ASSERT_TRUE(ui::ChooseRow(dlg, IDC_DIO_PROTOCOL, c.protocol));
        ASSERT_TRUE(ui::Click(dlg, c.latchHigh ? IDC_DIO_LATCH_HIGH : IDC_DIO_LATCH_LOW) ||
                    c.latchHigh == false);
        ASSERT_TRUE(ui::Click(dlg, IDC_DIO_SETTING));
        TakeRequests();
        Tick(dlg);
        std::string expected = c.request;
        // Requests carry the checksum digits when it is on, except at address 00.
        if ((std::stoi(c.check, nullptr, 16) & 0x4) && std::string(c.address) != "00")
            expected += AppendChecksum(expected);
        EXPECT_EQ(TakeRequests(), Requests{expected});
        // Written back on the module's acknowledgement (a module that switched may say nothing).
        Tick(dlg);
        if (m_frame.m_bDioChanged) {
            EXPECT_EQ(m_frame.m_strNewParams[2], c.checkText);
            EXPECT_EQ(m_frame.m_strNewParams[3], "40");
            EXPECT_EQ(m_frame.m_strNewParams[4], "0");
        }
    }
}

TEST_F(CM6373Test, RefusedConfigurationShowsTheInitTextOnlyForAscii)
{
    for (int protocol : {0, 1}) {
        SCOPED_TRACE(protocol);
        FreshModule("6373");
        m_boxes.m_boxes.clear();
        CM6373 dlg;
        Block("01", "6373");
        dlg.Create(IDD_M6373);
        ui::ChooseRow(dlg, IDC_DIO_CHECKSUM, 0); // refused outside the INIT state
        ui::ChooseRow(dlg, IDC_DIO_PROTOCOL, protocol);
        ASSERT_TRUE(ui::Click(dlg, IDC_DIO_SETTING));
        Tick(dlg, 2);
        EXPECT_EQ(m_boxes.Texts(), protocol == 0 ? std::vector<std::string>{kConfigurationError}
                                                 : std::vector<std::string>{});
        EXPECT_FALSE(m_frame.m_bDioChanged);
        EXPECT_FALSE(dlg.IsRunning());
    }
}

TEST_F(CM6373Test, AddressZeroIsRefusedBeforeAnythingIsSent)
{
    AddModule("6373", 1);
    Block("01", "6373");
    // Address 0 is refused with the dialog's own text under the application's title.
    Open("01", "6373");
    Tick(m_dlg);
    m_boxes.m_boxes.clear();
    ui::Type(m_dlg, IDC_DIO_ADDRESS, "0");
    ASSERT_TRUE(ui::Click(m_dlg, IDC_DIO_SETTING));
    ASSERT_EQ(m_boxes.Texts(), std::vector<std::string>{"地址不可设置为0"});
    EXPECT_EQ(m_boxes.m_boxes[0].caption, AfxGetAppName());
    EXPECT_EQ(m_frame.m_strNewParams, ModuleParamBlock{});
    Requests sent = Run(1);
    ASSERT_EQ(sent.size(), 1u);
    EXPECT_EQ(sent[0], "$016");
    EXPECT_TRUE(m_dlg.IsRunning());
}

TEST_F(CM6373Test, SettingsUntouchedWriteTheBlocksCodesBack)
{
    AddModule("6373", 1).SetChecksum(true);
    m_bus.Module(0).SetBaud(4800); // the module as the block has it
    Block("01", "6373", "C", "05");
    ExpectSettingsRoundTrip<CM6373>(
        IDD_M6373, IDC_DIO_SETTING,
        {{IDC_DIO_BAUD, 2}, {IDC_DIO_CHECKSUM, 0}, {IDC_DIO_PROTOCOL, 0}},
        {"01", "05", "C", "40", "0"}, 2);
}

// A failed or refused status read leaves lamps, output states and counters as the module last
// reported them, so the next click writes nothing the module did not report.
TEST_F(CM6373Test, AFailedReadChangesNoStateAndTheNextClickWritesTheReportedOutputs)
{
    struct Fault {
        const char* name;
        void (*apply)(CSimModule&);
    } faults[] = {
        {"silent", [](CSimModule& m) { m.Faults().nSilentAfter = 0; }},
        {"garbage", [](CSimModule& m) { m.Faults().nGarbage = 7; }},
        {"short", [](CSimModule& m) { m.Faults().nCutTo = 3; }},
        {"deaf", [](CSimModule& m) { m.SetProtocol(ESimProtocol::Rtu); }},
    };
    for (const Fault& f : faults) {
        SCOPED_TRACE(f.name);
        CSimDigitalIo& module = FreshModule("6373");
        module.SetOutputs(0x5);
        module.SetCounter(0, 42);
        CM6373 dlg;
        Block("01", "6373");
        dlg.Create(IDD_M6373);
        Tick(dlg, 2); // status, then counter 0
        ASSERT_EQ(dlg.GetDlgItemText(DioChannelControls[0].nCounter), "00042");
        std::string lamps = Lamps(dlg, true);
        f.apply(module);
        Tick(dlg, 8); // a whole cycle of failed reads
        EXPECT_EQ(Lamps(dlg, true), lamps);
        EXPECT_EQ(dlg.GetDlgItemText(DioChannelControls[0].nCounter), "00042");
        module.Faults() = {};
        module.SetProtocol(ESimProtocol::Ascii);
        TakeRequests();
        ClickDoLamp(dlg, 1);
        Tick(dlg);
        EXPECT_EQ(TakeRequests(), Requests{"@017"});
        EXPECT_EQ(module.Outputs(), 0x7);
    }
}

TEST_F(CM6373Test, AClickBeforeAnyStatusWritesNothing)
{
    CSimDigitalIo& module = AddModule("6373", 1);
    module.SetOutputs(0x9);
    module.Faults().nSilentAfter = 0;
    Open("01", "6373");
    ClickDoLamp(m_dlg, 0);
    ui::ClickAt(m_dlg, CPoint{4, 4});
    Requests sent = Run(3);
    for (const std::string& r : sent) EXPECT_NE(r[0], '@') << r;
    EXPECT_EQ(module.Outputs(), 0x9);
}

// Names the rules know by containment but no lamp row shows: their outputs are never shown, so
// neither a click nor Set Safe writes a value the module did not report.
TEST_F(CM6373Test, AModelWhoseOutputsAreNeverShownWritesNoOutput)
{
    struct Case {
        const char* model;
        const char* simulated;
    } cases[] = {{"6322D", "6322"},
                 {"9322D", "6322"},
                 {"4322D", "6322"},
                 {"6376A", "6376"},
                 {"6377X", "6377"}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.model);
        CSimDigitalIo& module = FreshModule(c.simulated);
        module.SetOutputs(0x5);
        CM6373 dlg;
        Block("01", c.model);
        dlg.Create(IDD_M6373);
        Tick(dlg, 2);
        TakeRequests();
        ClickDoLamp(dlg, 1);
        ui::ClickAt(dlg, CPoint{4, 4});
        Tick(dlg, 2);
        ASSERT_TRUE(ui::Click(dlg, IDC_DIO_SET_SAFE));
        Tick(dlg, 2);
        for (const std::string& r : TakeRequests()) EXPECT_TRUE(r == "$016" || r == "~015S") << r;
        EXPECT_EQ(module.Outputs(), 0x5);
    }
}

TEST_F(CM6373Test, EnterPressesClearLatch)
{
    AddModule("6373", 1);
    Open("01", "6373");
    Tick(m_dlg);
    ui::PressKeyIn(m_dlg, IDC_DIO_ADDRESS, Qt::Key_Return);
    EXPECT_EQ(Run(1), (Requests{"$01C"}));
    EXPECT_TRUE(m_dlg.IsRunning());
    EXPECT_TRUE(m_boxes.Texts().empty());
}

TEST_F(CM6373Test, MouseMovesPollButNeverInsideAPoll)
{
    CSimDigitalIo& module = AddModule("6373", 1);
    Open("01", "6373");
    TakeRequests();
    m_dlg.OnMouseMove(0, CPoint{10, 10});
    m_dlg.OnMouseMove(0, CPoint{11, 10});
    EXPECT_EQ(TakeRequests(), (Requests{"#010", "$016"}));
    // Under the configuration's message box the mouse moves on: no poll runs inside that one.
    int nested = 0;
    m_boxes.m_onBox = [&](const MessageBoxRequest&) {
        size_t before = m_link.Requests().size();
        m_dlg.OnMouseMove(0, CPoint{12, 10});
        nested += static_cast<int>(m_link.Requests().size() - before);
        return IDOK;
    };
    module.Faults().nSilentAfter = 0;
    ASSERT_TRUE(ui::Click(m_dlg, IDC_DIO_SETTING));
    Tick(m_dlg, 2);
    EXPECT_EQ(m_boxes.Texts(), std::vector<std::string>{kConfigurationError});
    EXPECT_EQ(nested, 0);
    m_dlg.OnMouseMove(0, CPoint{12, 10});
    EXPECT_FALSE(m_dlg.IsRunning());
}

TEST_F(CM6373Test, WithoutALineNothingPolls)
{
    m_link.Detach(1);
    Open("01", "6373");
    EXPECT_EQ(m_boxes.Texts(), std::vector<std::string>{kOpenComError});
    EXPECT_FALSE(m_dlg.IsTimerActive(kPollTimer));
    m_dlg.OnMouseMove(0, CPoint{10, 10});
    EXPECT_TRUE(TakeRequests().empty());
}

TEST_F(CM6373Test, TheFramesDigitalIoCommandRunsTheDialogOnTheBlockAsItStands)
{
    AddModule("6373", 1);
    Block("01", "6373");
    std::string address;
    ui::CModalDriver driver([&](CDialog& dlg) {
        ASSERT_EQ(dlg.GetTemplateID(), static_cast<UINT>(IDD_M6373));
        dlg.FireTimer(kPollTimer);
        address = dlg.GetDlgItemText(IDC_DIO_ADDRESS);
    });
    m_frame.OnOpenDioModule();
    EXPECT_EQ(address, "1");
    EXPECT_EQ(TakeRequests(), (Requests{"$016", "#010"}));
    EXPECT_FALSE(m_link.IsAsciiOpen());

    // Six empty strings before any digital I/O row was opened: the dialog opens and polls.
    m_frame.m_strDioParams = {};
    m_frame.OnOpenDioModule();
    EXPECT_EQ(address, "0");
}
