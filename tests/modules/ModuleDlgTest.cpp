// What the module-dialog base gives every dialog: the settings boxes from the block and back, the
// rule for a list with no row chosen, start-up reads that an early press does not displace, and a
// box asked for by a tick with the polling going on behind it.
#include "ModuleDlg.h"
#include "ModuleFixture.h"
#include "analog_input/AnalogInputIds.h"

#include "SimAnalogInput.h"
#include "SpoiltLine.h"

#include <algorithm>
#include <functional>
#include <map>

namespace {

const CodeTable kRanges = {"08", "09", "0A"};

const SModuleDescriptor kDescriptor = {
    .nTemplate = IDD_M6384,
    .pBlock = &CMainFrame::m_strAnalogInputParams,
    .pChanged = &CMainFrame::m_bAnalogInputChanged,
    .eLink = ELinkKind::Ascii,
    .boxes = {IDC_AI_ADDRESS, IDC_AI_BAUD, IDC_AI_CHECKSUM, IDC_AI_RANGE, IDC_AI_FORMAT,
              IDC_AI_PROTOCOL},
    .pRangeCodes = &kRanges,
    .pFormatCodes = &FormatDigitTable,
    .bSetsDialogClosed = true,
};

// A dialog that polls "#AA" and does what a test asks at a given tick.
class CProbeDlg : public CModuleDlg {
public:
    explicit CProbeDlg(const SModuleDescriptor& descriptor = kDescriptor) : CModuleDlg(descriptor)
    {
    }
    BOOL OnInitDialog() override
    {
        CDialog::OnInitDialog();
        InitFromBlock();
        FillSettingsBoxes();
        OpenAsciiLine(BlockBaudRate());
        SetTimer(m_nTimerId, 100);
        return TRUE;
    }
    void PollStep() override
    {
        TakeReply();
        ++m_nTicks;
        if (m_onTick) m_onTick(*this);
        ApplyQueuedCommand();
        SendAscii(m_nCommand == 1 ? Request('$', "2") : Request('#', ""), 100);
        m_nCommand = 0;
    }
    void OnCancel() override
    {
        ++m_nCloses;
        CModuleDlg::OnCancel();
    }

    using CModuleDlg::BeginStartup;
    using CModuleDlg::BlockBaudRate;
    using CModuleDlg::BoxBehindPolling;
    using CModuleDlg::BoxHoldingTicks;
    using CModuleDlg::EndStartup;
    using CModuleDlg::FillSettingsBoxes;
    using CModuleDlg::QueueCommand;
    using CModuleDlg::ReadSettings;
    using CModuleDlg::SendAscii;
    using CModuleDlg::SettingOfChoice;
    using CModuleDlg::ShowSettingOutcome;
    using CModuleDlg::UseRangeBox;

    std::function<void(CProbeDlg&)> m_onTick;
    int m_nTicks = 0;
    int m_nCloses = 0;
};

class ModuleBase : public CModuleFixture {
protected:
    void Open(const ModuleParamBlock& block)
    {
        m_frame.m_strAnalogInputParams = block;
        m_dlg.Create(IDD_M6384);
    }
    CProbeDlg m_dlg;
};

} // namespace

TEST_F(ModuleBase, TheBoxesShowTheBlockAndAListWithNoRowKeepsTheBlocksCode)
{
    m_bus.Add("6384", 1, 9600);
    Open({"01", "06", "4", "09", "2", "4384"});
    EXPECT_EQ(m_dlg.GetDlgItemText(IDC_AI_ADDRESS), "1");
    EXPECT_EQ(m_dlg.GetDlgItemAs<CComboBox>(IDC_AI_BAUD)->GetCurSel(), 3);
    EXPECT_EQ(m_dlg.GetDlgItemAs<CComboBox>(IDC_AI_CHECKSUM)->GetCurSel(), 0);
    EXPECT_EQ(m_dlg.GetDlgItemAs<CComboBox>(IDC_AI_RANGE)->GetCurSel(), 1);
    EXPECT_EQ(m_dlg.GetDlgItemAs<CComboBox>(IDC_AI_FORMAT)->GetCurSel(), 2);

    for (int box : {IDC_AI_BAUD, IDC_AI_RANGE, IDC_AI_FORMAT})
        m_dlg.GetDlgItemAs<CComboBox>(box)->SetCurSel(-1);
    std::optional<SSettingsChoice> choice = m_dlg.ReadSettings({});
    ASSERT_TRUE(choice);
    EXPECT_EQ(choice->strBaudCode, "06");
    EXPECT_EQ(choice->strBaudText, "9600");
    EXPECT_EQ(choice->strRangeCode, "09");
    EXPECT_EQ(choice->strFormatDigit, "2");
    EXPECT_TRUE(choice->bChecksumOn);
    EXPECT_TRUE(m_boxes.m_boxes.empty());
}

TEST_F(ModuleBase, ACheckEntryReadAsAHexDigitTakesBit2OfItsValue)
{
    m_bus.Add("6384", 1, 9600);
    SModuleDescriptor hexDigit = kDescriptor;
    hexDigit.bCheckIsHexDigit = true;
    struct Case {
        const SModuleDescriptor* descriptor;
        const char* check;
        bool on;
    } cases[] = {{&hexDigit, "C", true},   {&hexDigit, "8", false}, {&hexDigit, "4", true},
                 {&hexDigit, "A", false},  {&hexDigit, "x", false}, {&kDescriptor, "C", false},
                 {&kDescriptor, "4", true}};
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.check) + (c.descriptor == &hexDigit ? " hex" : " code"));
        CProbeDlg dlg(*c.descriptor);
        m_frame.m_strAnalogInputParams = {"01", "06", c.check, "09", "2", "4384"};
        dlg.Create(IDD_M6384);
        EXPECT_EQ(dlg.GetDlgItemAs<CComboBox>(IDC_AI_CHECKSUM)->GetCurSel(), c.on ? 0 : 1);
        std::optional<SSettingsChoice> choice = dlg.ReadSettings({});
        ASSERT_TRUE(choice);
        EXPECT_EQ(choice->bChecksumOn, c.on);
    }
}

TEST_F(ModuleBase, ABaudCodeNoRowStandsForGivesTheDialogsFallbackRate)
{
    m_bus.Add("6384", 1, 9600);
    Open({"01", "07", "0", "09", "0", "4384"});
    EXPECT_EQ(m_dlg.BlockBaudRate(9600), 19200u);
    m_frame.m_strAnalogInputParams[kBrate] = "0B";
    EXPECT_EQ(m_dlg.BlockBaudRate(), 0u);
    EXPECT_EQ(m_dlg.BlockBaudRate(9600), 9600u);
}

TEST_F(ModuleBase, AListWithNoRowAndNoCodeInTheBlockRefusesWithAMessage)
{
    struct Case {
        ModuleParamBlock block;
        const char* message;
    } cases[] = {
        {{"01", "0B", "0", "09", "0", "4384"}, "Choose the Baudrate!"},
        {{"01", "06", "0", "", "0", "4384"}, "Choose the Input Range!"},
        {{"01", "06", "0", "09", "x", "4384"}, "Choose the Data Format!"},
    };
    m_bus.Add("6384", 1, 9600);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.message);
        m_boxes.m_boxes.clear();
        m_frame.m_strAnalogInputParams = c.block;
        CProbeDlg dlg;
        dlg.Create(IDD_M6384);
        m_boxes.m_boxes.clear();
        EXPECT_FALSE(dlg.ReadSettings({}));
        EXPECT_EQ(m_boxes.Texts(), std::vector<std::string>{c.message});
    }
}

TEST_F(ModuleBase, ARangeBoxTheModelChoosesStandsInForTheDescriptors)
{
    m_bus.Add("6384", 1, 9600);
    Open({"01", "06", "0", "09", "0", "4384"});
    m_dlg.UseRangeBox(IDC_AI_CH_TYPE, &kRanges);
    ASSERT_TRUE(ui::ChooseRow(m_dlg, IDC_AI_CH_TYPE, 2));
    std::optional<SSettingsChoice> choice = m_dlg.ReadSettings({});
    ASSERT_TRUE(choice);
    EXPECT_EQ(choice->strRangeCode, "0A");
    EXPECT_EQ(choice->strRangeText, "+/-5V");
    m_dlg.GetDlgItemAs<CComboBox>(IDC_AI_CH_TYPE)->SetCurSel(-1);
    choice = m_dlg.ReadSettings({});
    ASSERT_TRUE(choice);
    EXPECT_EQ(choice->strRangeCode, "09"); // no row: the block's code
}

TEST_F(ModuleBase, AddressZeroFollowsTheDialogsRule)
{
    m_bus.Add("6384", 1, 9600);
    Open({"01", "06", "0", "09", "0", "4384"});
    ui::Type(m_dlg, IDC_AI_ADDRESS, "0");
    EXPECT_TRUE(m_dlg.ReadSettings({}));
    EXPECT_TRUE(m_boxes.m_boxes.empty());
    EXPECT_FALSE(
        m_dlg.ReadSettings({.bRefuse = true, .pszText = "地址不能为0!", .pszCaption = "X"}));
    ASSERT_EQ(m_boxes.m_boxes.size(), 1u);
    EXPECT_EQ(m_boxes.m_boxes[0].text, "地址不能为0!");
    EXPECT_EQ(m_boxes.m_boxes[0].caption, "X");
    EXPECT_TRUE(m_dlg.IsRunning());
    EXPECT_FALSE(m_dlg.ReadSettings({.bRefuse = true, .bCloseAfter = true}));
    EXPECT_FALSE(m_dlg.IsRunning());
}

TEST_F(ModuleBase, ARuleForTheTextZeroOnlyLetsDoubleZeroThrough)
{
    m_bus.Add("6384", 1, 9600);
    Open({"01", "06", "0", "09", "0", "4384"});
    const SAddressZeroRule rule = {.bRefuse = true, .bTextZeroOnly = true};
    ui::Type(m_dlg, IDC_AI_ADDRESS, "00");
    std::optional<SSettingsChoice> choice = m_dlg.ReadSettings(rule);
    ASSERT_TRUE(choice);
    EXPECT_EQ(choice->strAddress, "00");
    ui::Type(m_dlg, IDC_AI_ADDRESS, "0");
    EXPECT_FALSE(m_dlg.ReadSettings(rule));
    EXPECT_EQ(m_boxes.Texts(), std::vector<std::string>{"重新设置时地址不能为0!"});
}

TEST_F(ModuleBase, ARangeBoxChosenByModelIsFilledAndReadBack)
{
    m_bus.Add("6384", 1, 9600);
    Open({"01", "06", "0", "0A", "0", "4384"});
    static const CodeTable otherCodes = {"0A", "0B"};
    m_dlg.UseRangeBox(IDC_AI_CH_TYPE, &otherCodes);
    m_dlg.FillSettingsBoxes();
    EXPECT_EQ(m_dlg.GetDlgItemAs<CComboBox>(IDC_AI_CH_TYPE)->GetCurSel(), 0);
    m_dlg.GetDlgItemAs<CComboBox>(IDC_AI_CH_TYPE)->SetCurSel(1);
    std::optional<SSettingsChoice> choice = m_dlg.ReadSettings({});
    ASSERT_TRUE(choice);
    EXPECT_EQ(choice->strRangeCode, "0B");
}

TEST_F(ModuleBase, ASettingIsTheConfigurationWithItsWriteBackOrASwitchThatKeepsTheRow)
{
    m_bus.Add("6384", 1, 9600);
    Open({"01", "06", "0", "09", "2", "4384"});
    ui::Type(m_dlg, IDC_AI_ADDRESS, "18");
    std::optional<SSettingsChoice> choice = m_dlg.ReadSettings({});
    ASSERT_TRUE(choice);

    CModuleDlg::SConfiguration sw = m_dlg.SettingOfChoice(*choice, true);
    EXPECT_EQ(sw.strRequest, "$01R1\r") << "sent where the module answers now";
    EXPECT_EQ(sw.strNewAddress, "01") << "the switch leaves the module at its address";
    EXPECT_TRUE(sw.params.empty()) << "and the row as it is";

    CModuleDlg::SConfiguration configuration = m_dlg.SettingOfChoice(*choice, false);
    EXPECT_EQ(configuration.strRequest, "%0112090602\r");
    EXPECT_EQ(configuration.strNewAddress, "12");
    EXPECT_EQ(configuration.params[0], "12");
    EXPECT_EQ(configuration.params[3], "09");
    EXPECT_FALSE(m_frame.m_bAnalogInputChanged) << "nothing is written back before it goes out";
}

TEST_F(ModuleBase, ASettingOutcomeBoxStopsTheTimerAndNamesItsOutcome)
{
    struct Case {
        ESettingOutcome outcome;
        const char* text;
    } cases[] = {
        {ESettingOutcome::Accepted, "Setting Configuration OK!"},
        {ESettingOutcome::SwitchedToModbus, "Setting Modbus/RTU OK!"},
        {ESettingOutcome::Refused,
         "Setting Configuration Error! \r\n Please Connect Init* to GND!"},
    };
    m_bus.Add("6384", 1, 9600);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        m_frame.m_strAnalogInputParams = {"01", "06", "0", "09", "0", "4384"};
        CProbeDlg dlg;
        dlg.Create(IDD_M6384);
        m_boxes.m_boxes.clear();
        WatchTimerAtBoxes(dlg);
        m_bTimerRanUnderBox = false;
        dlg.ShowSettingOutcome(c.outcome, "Setting Modbus/RTU OK!");
        EXPECT_EQ(m_boxes.Texts(), std::vector<std::string>{c.text});
        EXPECT_EQ(m_boxes.m_boxes[0].caption, "Setting");
        EXPECT_FALSE(m_bTimerRanUnderBox);
        dlg.OnCancel();
    }
}

TEST_F(ModuleBase, AnOperatorsRequestWaitsForTheStartUpReads)
{
    m_bus.Add("6384", 1, 9600);
    Open({"01", "06", "0", "09", "0", "4384"});
    m_dlg.BeginStartup();
    m_dlg.QueueCommand(1);
    Tick(m_dlg, 2);
    EXPECT_EQ(TakeRequests(), (std::vector<std::string>{"#01", "#01"}));
    m_dlg.EndStartup();
    Tick(m_dlg, 2);
    EXPECT_EQ(TakeRequests(), (std::vector<std::string>{"$012", "#01"}));
}

TEST_F(ModuleBase, ABoxBehindPollingShowsAfterTheTickWithTheTimerRunningAndClosesOnce)
{
    m_bus.Add("6384", 1, 9600);
    Open({"01", "06", "0", "09", "0", "4384"});
    m_dlg.m_onTick = [](CProbeDlg& dlg) {
        if (dlg.m_nTicks != 2) return;
        dlg.BoxBehindPolling("Change Successful", "", MB_OK, [&dlg] { dlg.OnCancel(); });
    };
    int ticksUnderBox = 0;
    m_boxes.m_onBox = [&](const MessageBoxRequest&) {
        EXPECT_TRUE(m_dlg.IsTimerActive(kPollTimer));
        // Ticks of the running timer are ticks of their own, not inside the one that asked.
        for (int i = 0; i < 3; ++i) {
            int before = m_dlg.m_nTicks;
            m_dlg.FireTimer(kPollTimer);
            ticksUnderBox += m_dlg.m_nTicks - before;
        }
        // Another way of closing while the box is up: the close path still runs once.
        ui::PressKey(m_dlg, Qt::Key_Escape);
        return IDOK;
    };
    Tick(m_dlg, 2);
    EXPECT_EQ(ticksUnderBox, 3);
    EXPECT_EQ(m_boxes.Texts(), std::vector<std::string>{"Change Successful"});
    EXPECT_EQ(m_boxes.m_boxes[0].caption, "");
    EXPECT_EQ(TakeRequests().size(), 5u); // the wire kept polling behind the box
    EXPECT_FALSE(m_dlg.IsRunning());
    EXPECT_FALSE(m_link.IsAsciiOpen());
    EXPECT_EQ(m_dlg.m_nCloses, 2); // asked twice, done once
    EXPECT_EQ(g_bDialogClosed, 1);
}

TEST_F(ModuleBase, ABoxHoldingTicksKeepsThePollStillUntilItIsDismissed)
{
    m_bus.Add("6384", 1, 9600);
    Open({"01", "06", "0", "09", "0", "4384"});
    m_dlg.m_onTick = [](CProbeDlg& dlg) {
        if (dlg.m_nTicks == 2)
            dlg.BoxHoldingTicks("Fail!", "Setting", MB_OK, [&dlg] { dlg.m_nCommand = 1; });
    };
    int ticksUnderBox = 0;
    m_boxes.m_onBox = [&](const MessageBoxRequest&) {
        EXPECT_TRUE(m_dlg.IsTimerActive(kPollTimer));
        int before = m_dlg.m_nTicks;
        for (int i = 0; i < 3; ++i) m_dlg.FireTimer(kPollTimer);
        ticksUnderBox += m_dlg.m_nTicks - before;
        return IDOK;
    };
    Tick(m_dlg, 2);
    EXPECT_EQ(ticksUnderBox, 0);
    TakeRequests();
    // The step chosen once the box is gone goes out next, and the ticks run again.
    Tick(m_dlg, 2);
    EXPECT_EQ(TakeRequests(), (std::vector<std::string>{"$012", "#01"}));
    EXPECT_TRUE(m_dlg.IsRunning());
}

TEST_F(ModuleBase, AnEmptyRequestSendsNothing)
{
    m_bus.Add("6384", 1, 9600);
    Open({"01", "06", "0", "09", "0", "4384"});
    TakeRequests();
    EXPECT_FALSE(m_dlg.SendAscii("", 100));
    EXPECT_TRUE(TakeRequests().empty());
}

// A template whose address box shows the address in hex: it shows the block's two digits and takes
// one or two hex digits back.
TEST_F(ModuleBase, AHexAddressBoxShowsAndTakesHexDigits)
{
    SModuleDescriptor hex = kDescriptor;
    hex.boxes.bHexAddress = true;
    m_bus.Add("6384", 0x1A, 9600);
    m_frame.m_strAnalogInputParams = {"1A", "06", "0", "09", "0", "6384"};
    CProbeDlg dlg(hex);
    dlg.Create(IDD_M6384);
    EXPECT_EQ(dlg.GetDlgItemText(IDC_AI_ADDRESS), "1A");
    struct Case {
        const char* typed;
        const char* address;
    } cases[] = {{"1A", "1A"}, {"0b", "0B"}, {"F", "0F"}, {"ff", "FF"}, {"00", "00"}};
    for (const Case& c : cases) {
        dlg.SetDlgItemText(IDC_AI_ADDRESS, c.typed);
        std::optional<SSettingsChoice> choice = dlg.ReadSettings({});
        ASSERT_TRUE(choice) << c.typed;
        EXPECT_EQ(choice->strAddress, c.address);
    }
    for (const char* typed : {"1G", "100", "", "-1", "1 2"}) {
        m_boxes.m_boxes.clear();
        dlg.SetDlgItemText(IDC_AI_ADDRESS, typed);
        EXPECT_FALSE(dlg.ReadSettings({})) << typed;
        EXPECT_EQ(m_boxes.Texts(), std::vector<std::string>{"Address must be 0 to 255!"});
    }
    dlg.OnCancel();
}

namespace {

// A dialog that polls "#01" and writes the enable mask from two controls (kWriteA, kWriteB), each
// judged by the module's "!01".
class CWriteProbeDlg : public CModuleDlg {
public:
    enum { kPoll, kWriteA = 10, kWriteB };

    CWriteProbeDlg() : CModuleDlg(kDescriptor) {}
    BOOL OnInitDialog() override
    {
        CDialog::OnInitDialog();
        InitFromBlock();
        OpenAsciiLine(BlockBaudRate());
        SetTimer(m_nTimerId, 100);
        return TRUE;
    }
    void PollStep() override
    {
        TakeReply();
        if (m_nLastCommand == kPoll)
            ReadingsOfReply('>', 8, EReadingForm::Decimal);
        else
            m_answers.push_back(SettleWrite(m_nLastCommand, AsciiWriteAnswer(Acknowledged())));
        m_nCommand = kPoll;
        ApplyQueuedCommand();
        m_nLastCommand = m_nCommand;
        SendAscii(m_nCommand == kPoll ? Request('#', "") : Request('$', "5" + m_masks[m_nCommand]),
                  100);
    }
    void Write(int control, const std::string& mask)
    {
        m_masks[control] = mask;
        QueueWrite(control);
    }
    using CPollingDlg::WritePending;

    std::map<int, std::string> m_masks;
    std::vector<EWriteAnswer> m_answers;
};

class WriteRule : public CModuleFixture {
protected:
    void SetUp() override
    {
        m_bus.Add("6384", 1, 9600);
        m_frame.m_strAnalogInputParams = {"01", "06", "0", "09", "0", "4384"};
        m_dlg.Create(IDD_M6384);
        Tick(m_dlg, 2);
        TakeRequests();
    }
    void TearDown() override { m_dlg.OnCancel(); }
    CSimAnalogInput8& Module() { return m_bus.ModuleAs<CSimAnalogInput8>(0); }
    // How many of the requests on the wire since the last call are this write.
    int WritesOut(const std::string& write)
    {
        return static_cast<int>(std::ranges::count(TakeRequests(), write));
    }
    CWriteProbeDlg m_dlg;
};

} // namespace

// A write the module did not hear goes out again only after the module has answered a poll, once
// per such answer, and the polls go on meanwhile; a write it heard or refused goes out no more.
TEST_F(WriteRule, AWriteNotHeardGoesOutOncePerAnsweredPollUntilHeardOrRefused)
{
    struct Case {
        const char* name;
        std::function<void(CSimModule&, bool on)> fault;
        int nDuring; // writes on the wire while the fault lasts (eight ticks)
    } cases[] = {
        {"silent", [](CSimModule& m, bool on) { m.Faults().nSilentAfter = on ? 0 : -1; }, 1},
        {"noise", [](CSimModule& m, bool on) { m.Faults().nGarbage = on ? 6 : 0; }, 1},
        {"blank", [](CSimModule& m, bool on) { m.Faults().bBlank = on; }, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Module().SetEnableMask(0xFF);
        c.fault(Module(), true);
        m_dlg.Write(CWriteProbeDlg::kWriteA, "0F");
        Tick(m_dlg, 8);
        EXPECT_EQ(WritesOut("$0150F"), c.nDuring);
        EXPECT_TRUE(m_dlg.WritePending(CWriteProbeDlg::kWriteA));
        c.fault(Module(), false);
        Tick(m_dlg, 6);
        EXPECT_EQ(WritesOut("$0150F"), 1);
        EXPECT_FALSE(m_dlg.WritePending(CWriteProbeDlg::kWriteA));
        EXPECT_EQ(Module().EnableMask(), 0x0F);
    }
}

TEST_F(WriteRule, AModuleThatMissesTheWriteGetsItAgainAfterEachAnsweredPoll)
{
    for (ESpoil spoil : {ESpoil::Silent, ESpoil::Garbled, ESpoil::OtherAddress, ESpoil::Bare,
                         ESpoil::Stale, ESpoil::Late}) {
        SCOPED_TRACE(SpoilName(spoil));
        Module().SetEnableMask(0xFF);
        m_dlg.m_answers.clear();
        {
            CSpoiltLine line(spoil, "$0150F", 2);
            m_dlg.Write(CWriteProbeDlg::kWriteA, "0F");
            Tick(m_dlg, 10);
        }
        std::vector<std::string> wire = TakeRequests();
        EXPECT_EQ(std::ranges::count(wire, "$0150F"), 3);
        // Never two writes in a row: a poll the module answered stands between them.
        for (size_t i = 1; i < wire.size(); ++i)
            EXPECT_FALSE(wire[i] == "$0150F" && wire[i - 1] == "$0150F");
        EXPECT_EQ(m_dlg.m_answers,
                  (std::vector<EWriteAnswer>{EWriteAnswer::NotHeard, EWriteAnswer::NotHeard,
                                             EWriteAnswer::Heard}));
        EXPECT_FALSE(m_dlg.WritePending(CWriteProbeDlg::kWriteA));
        Tick(m_dlg, 4);
        EXPECT_EQ(WritesOut("$0150F"), 0);
    }
}

TEST_F(WriteRule, ARefusedWriteGoesOutOnce)
{
    m_dlg.Write(CWriteProbeDlg::kWriteA, "ZZ");
    Tick(m_dlg, 8);
    EXPECT_EQ(WritesOut("$015ZZ"), 1);
    EXPECT_EQ(m_dlg.m_answers, std::vector<EWriteAnswer>{EWriteAnswer::Refused});
    EXPECT_FALSE(m_dlg.WritePending(CWriteProbeDlg::kWriteA));
}

TEST_F(WriteRule, WritesToTwoControlsBothGoOutAndANewerOneReplacesItsControlsWrite)
{
    m_dlg.Write(CWriteProbeDlg::kWriteA, "01");
    m_dlg.Write(CWriteProbeDlg::kWriteB, "03");
    m_dlg.Write(CWriteProbeDlg::kWriteA, "07");
    Tick(m_dlg, 4);
    std::vector<std::string> wire = TakeRequests();
    EXPECT_EQ(std::ranges::count(wire, "$01501"), 0);
    EXPECT_EQ(std::ranges::count(wire, "$01507"), 1);
    EXPECT_EQ(std::ranges::count(wire, "$01503"), 1);
    EXPECT_FALSE(m_dlg.WritePending(CWriteProbeDlg::kWriteA));
    EXPECT_FALSE(m_dlg.WritePending(CWriteProbeDlg::kWriteB));
}

TEST_F(WriteRule, AWriteNotHeardIsKeptWhenAnotherControlIsWritten)
{
    {
        CSpoiltLine line(ESpoil::Silent, "$01501", 1);
        m_dlg.Write(CWriteProbeDlg::kWriteA, "01");
        Tick(m_dlg, 1);
        m_dlg.Write(CWriteProbeDlg::kWriteB, "03");
        Tick(m_dlg, 8);
    }
    std::vector<std::string> wire = TakeRequests();
    EXPECT_EQ(std::ranges::count(wire, "$01501"), 2);
    EXPECT_EQ(std::ranges::count(wire, "$01503"), 1);
    EXPECT_FALSE(m_dlg.WritePending(CWriteProbeDlg::kWriteA));
}
