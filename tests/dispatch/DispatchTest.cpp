// The open-module dispatch: which dialog a double-clicked row opens, the block that dialog finds,
// and how the row is rewritten from what the dialog stored. Recording stand-ins take the place of
// the module dialogs.
#include "SearchWindow.h"

#include "Clock.h"
#include "ModelProbe.h"
#include "ModuleDialogs.h"
#include "SimLink.h"

#include <functional>
#include <memory>

using namespace search_test;

namespace {

constexpr int kStandInTemplate = 9001;

const bool g_standInTemplate = RegisterDialogTemplate(
    {kStandInTemplate, "Stand-in", 100, 40, {{IDOK, CtlKind::Button, "OK", 5, 5, 40, 14}}});

const char* const kDialogClasses[] = {
    "CM6387",       "CM6363",   "CM63508",       "CM6530rtu",     "CM6373",
    "CM6373Modbus", "CM6380",   "CM6307p",       "CM6309x",       "CM6307pModbus",
    "CM6300Modbus", "CM63828p", "CM6382p",       "CM6382TModbus", "CM6382pModbus",
    "CM6384P",      "CM6384",   "C6385pModbus",  "CM6384pModbus", "CM6384Modbus",
    "CM6386P",      "CM6386",   "CM6386PModbus", "CM6386Modbus",  "CM6381p",
    "CM6359",       "CM6359p",  "CM6359Modbus",  "CM6359pModbus", "CV1333E",
    "CV1333M",
};

// What a stand-in saw when it opened.
struct SOpened {
    std::string strClass;
    RowTexts rowTexts;
    ModuleParamBlock params;
};

// A module dialog that records its opening; the modal driver works it.
class CStandIn : public CDialog {
public:
    explicit CStandIn(std::string className)
        : CDialog(kStandInTemplate), m_strClass(std::move(className))
    {
    }
    BOOL OnInitDialog() override
    {
        CDialog::OnInitDialog();
        CMainFrame* frame = GetMainFrame();
        s_opened.push_back({m_strClass, frame->m_strNewRowText, frame->m_strNewParams});
        return TRUE;
    }
    std::string m_strClass;
    static std::vector<SOpened> s_opened;
};

std::vector<SOpened> CStandIn::s_opened;

// A row with distinct texts in every column.
ResultRow MakeRow(const std::string& name, const std::string& protocol,
                  const std::string& address = "26(1A)RTU")
{
    return {name, address, "19200", "Yes", "Disable", "desc",  "fmt",
            "1A", "07",    "0",     "08",  "2",       protocol};
}

std::vector<std::string> Standard(const ResultRow& row)
{
    return {row[kColAddress], row[kColBrate],  row[kColCheck],
            row[kColScript],  row[kColFormat], row[kColModule]};
}

template <class Block> std::vector<std::string> AsVector(const Block& block)
{
    return {block.begin(), block.end()};
}

class DispatchTest : public ::testing::Test {
protected:
    DispatchTest()
    {
        CStandIn::s_opened.clear();
        for (const char* className : kDialogClasses) {
            m_standIns.push_back(std::make_unique<CScopedModuleDialog>(
                className, [className] { return std::make_unique<CStandIn>(className); }));
        }
    }
    // Adds the row and double-clicks it; the classes of the dialogs that opened.
    std::vector<std::string> Open(const ResultRow& row)
    {
        CStandIn::s_opened.clear();
        int item = window.AddRow(row);
        EXPECT_TRUE(ui::DoubleClickRow(window.Dlg(), IDC_RESULT_LIST, item));
        std::vector<std::string> classes;
        for (const SOpened& opened : CStandIn::s_opened) classes.push_back(opened.strClass);
        return classes;
    }
    CMainFrame& Frame() { return *window.frame; }

    CScopedVirtualClock clock;
    CSearchWindow window{SettingsText('0', "00010000", '0', '0')};
    std::vector<std::unique_ptr<CScopedModuleDialog>> m_standIns;
};

// Works every stand-in as a dialog that stores new settings: all texts, or only row texts 0 to 3
// and parameters 0, 1, 2 and 4 as several dialogs do, and raises the flag given.
class CSettingDialogs {
public:
    CSettingDialogs(bool CMainFrame::*flag, const std::string& tag, bool allTexts = true)
        : m_driver([flag, tag, allTexts](CDialog& dlg) {
              CMainFrame& frame = *GetMainFrame();
              for (int i = 0; i < 5; ++i) {
                  if (allTexts || i < 4) frame.m_strNewRowText[i] = tag + "row" + std::to_string(i);
                  if (allTexts || i != kScript)
                      frame.m_strNewParams[i] = tag + "par" + std::to_string(i);
              }
              if (flag) frame.*flag = true;
              dlg.EndDialog(IDOK);
          })
    {
    }

private:
    ui::CModalDriver m_driver;
};

} // namespace

TEST_F(DispatchTest, EachRowKindReachesItsDialogWithItsBlock)
{
    using BlockOf = std::function<std::vector<std::string>(CMainFrame&)>;
    auto standard = [](ModuleParamBlock CMainFrame::*block) {
        return BlockOf([block](CMainFrame& f) { return AsVector(f.*block); });
    };
    struct Case {
        ResultRow row;
        std::vector<std::string> dialogs;
        BlockOf block;                          // the block the dialog reads
        std::vector<std::string> expected = {}; // empty: the standard copy of the row
    } cases[] = {
        {MakeRow("4387", "ASC"), {"CM6387"}, standard(&CMainFrame::m_strBridgeInputParams)},
        {MakeRow("4387", "RTU"), {}, standard(&CMainFrame::m_strBridgeInputParams)},
        // A name of two families opens the dialogs of both, in the order of the tests.
        {MakeRow("4363/4387", "ASC"),
         {"CM6387", "CM6363"},
         standard(&CMainFrame::m_strCounterParams)},
        {MakeRow("4363", "ASC"), {"CM6363"}, standard(&CMainFrame::m_strCounterParams)},
        {MakeRow("4363", "RTU"), {}, standard(&CMainFrame::m_strCounterParams)},
        {MakeRow("4530", "ASC"), {"CM63508"}, standard(&CMainFrame::m_strPowerMeterParams)},
        {MakeRow("4530", "RTU"),
         {"CM6530rtu"},
         standard(&CMainFrame::m_strPowerMeterParams),
         {"4530", "1A", "19200", "old3", "old4", "old5"}},
        {MakeRow("4373", "ASC"), {"CM6373"}, standard(&CMainFrame::m_strDioParams)},
        {MakeRow("4373D", "RTU"), {"CM6373Modbus"}, standard(&CMainFrame::m_strDioParams)},
        {MakeRow("4376", "ASC"), {"CM6373"}, standard(&CMainFrame::m_strDioParams)},
        {MakeRow("4380", "ASC"), {"CM6380"}, standard(&CMainFrame::m_strThreeChannelRtdParams)},
        {MakeRow("4380", "RTU"), {}, standard(&CMainFrame::m_strThreeChannelRtdParams)},
        {MakeRow("4307A", "ASC"), {"CM6307p"}, standard(&CMainFrame::m_strRtdInputParams)},
        {MakeRow("4309", "ASC"), {"CM6309x"}, standard(&CMainFrame::m_strRtdInputParams)},
        {MakeRow("4307", "RTU"),
         {"CM6307pModbus"},
         standard(&CMainFrame::m_strM6307ModbusParams),
         {"4307", "1a", "07", "2", "0", "old5"}},
        {MakeRow("4300", "RTU"),
         {"CM6300Modbus"},
         standard(&CMainFrame::m_strM6300ModbusParams),
         {"4300", "1a", "07", "2", "0", "old5"}},
        {MakeRow("4309", "RTU"), {}, standard(&CMainFrame::m_strRtdInputParams)},
        {MakeRow("4382A", "ASC"), {"CM6382p"}, standard(&CMainFrame::m_strSixChannelTempParams)},
        {MakeRow("4382A", "RTU"),
         {"CM6382pModbus"},
         standard(&CMainFrame::m_strSixChannelTempParams)},
        {MakeRow("4384", "ASC"), {"CM6384"}, standard(&CMainFrame::m_strAnalogInputParams)},
        {MakeRow("4384P", "ASC"), {"CM6384P"}, standard(&CMainFrame::m_strAnalogInputParams)},
        {MakeRow("4384A", "RTU"), {"CM6384pModbus"}, standard(&CMainFrame::m_strAnalogInputParams)},
        {MakeRow("4384", "RTU"), {"CM6384Modbus"}, standard(&CMainFrame::m_strAnalogInputParams)},
        {MakeRow("4389", "RTU"), {"CM6384Modbus"}, standard(&CMainFrame::m_strAnalogInputParams)},
        {MakeRow("4385", "RTU"),
         {"C6385pModbus"},
         standard(&CMainFrame::m_strM6385ModbusParams),
         {"1a", "07", "0", "08", "2", "4385"}},
        {MakeRow("6385", "RTU"),
         {"C6385pModbus"},
         standard(&CMainFrame::m_strM6385ModbusParams),
         {"1a", "07", "0", "08", "2", "6385"}},
        {MakeRow("4386", "ASC"), {"CM6386"}, standard(&CMainFrame::m_strThermocoupleInputParams)},
        {MakeRow("4386A", "RTU"),
         {"CM6386PModbus"},
         standard(&CMainFrame::m_strThermocoupleInputParams)},
        {MakeRow("4386", "RTU"),
         {"CM6386Modbus"},
         standard(&CMainFrame::m_strThermocoupleInputParams)},
        {MakeRow("6381", "RTU"), {"CM6381p"}, standard(&CMainFrame::m_strUniversalInputParams)},
        {MakeRow("4358", "ASC"), {"CM6359"}, standard(&CMainFrame::m_strAnalogOutputParams)},
        {MakeRow("4358", "RTU"), {"CM6359Modbus"}, standard(&CMainFrame::m_strAnalogOutputParams)},
        {MakeRow("4358", "RTU", "0(0)"),
         {"CM6359"},
         standard(&CMainFrame::m_strAnalogOutputParams)},
        {MakeRow("4359A", "8"), {"CM6359pModbus"}, standard(&CMainFrame::m_strAnalogOutputParams)},
        {MakeRow("4359A", "0"),
         {"CM6359p"},
         standard(&CMainFrame::m_strAnalogOutputParams),
         {"1A", "07", "0", "0", "2", "4359A"}},
        {MakeRow("4359A", "8", "0(00)"),
         {"CM6359p"},
         standard(&CMainFrame::m_strAnalogOutputParams),
         {"1A", "07", "0", "8", "2", "4359A"}},
        {MakeRow("1333E", "ASC"),
         {"CV1333E"},
         [](CMainFrame& f) { return AsVector(f.m_strRackParams); },
         {"1A", "07", "0", "08", "2", "1333E", "ASC"}},
        {MakeRow("1333E", "RTU"),
         {"CV1333M"},
         [](CMainFrame& f) { return AsVector(f.m_strRackParams); },
         {"1A", "07", "0", "08", "2", "1333E", "RTU"}},
        {MakeRow("1333E", "X"),
         {},
         [](CMainFrame& f) { return AsVector(f.m_strRackParams); },
         {"1A", "07", "0", "08", "2", "1333E", "X"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.row[kColModule] + " " + c.row[kColProtocol] + " " + c.row[kColAddressText]);
        for (ModuleParamBlock* block :
             {&Frame().m_strPowerMeterParams, &Frame().m_strM6307ModbusParams,
              &Frame().m_strM6300ModbusParams}) {
            *block = {"old0", "old1", "old2", "old3", "old4", "old5"};
        }
        EXPECT_EQ(Open(c.row), c.dialogs);
        EXPECT_EQ(c.block(Frame()), c.expected.empty() ? Standard(c.row) : c.expected);
    }
}

// A row shows its model in the listed form; a test that names a 6333 or 93xx number finds the
// listed twin of that number.
TEST_F(DispatchTest, ListedNamesReachTheDialogsOfTheirModels)
{
    struct Case {
        const char* name;
        const char* protocol;
        std::vector<std::string> dialogs;
    } cases[] = {
        // Reached through their listed names.
        {"4384P", "ASC", {"CM6384P"}},
        {"4385", "RTU", {"C6385pModbus"}},
        {"4386P", "ASC", {"CM6386P"}},
        {"4386P", "RTU", {"CM6386PModbus"}},
        {"4381", "ASC", {"CM6381p"}},
        {"4381P", "ASC", {"CM6381p"}},
        {"4381P", "RTU", {"CM6381p"}},
        {"4307A", "ASC", {"CM6307p"}},
        {"4382T", "ASC", {"CM63828p"}},
        {"4371", "ASC", {"CM6373"}},
        {"4371", "RTU", {"CM6373Modbus"}},
        {"4328", "ASC", {"CM6373"}},
        {"4328", "RTU", {"CM6373Modbus"}},
        {"4322", "ASC", {"CM6373"}},
        {"4322", "RTU", {"CM6373Modbus"}},
        {"4539", "ASC", {"CM63508"}},
        {"4539", "RTU", {"CM6530rtu"}},
        // Rows that opened their dialogs already open the same ones.
        {"4384", "ASC", {"CM6384"}},
        {"4384", "RTU", {"CM6384Modbus"}},
        {"4384A", "ASC", {"CM6384"}},
        {"4384A", "RTU", {"CM6384pModbus"}},
        {"4385", "ASC", {"CM6384"}},
        {"4389", "RTU", {"CM6384Modbus"}},
        {"4386", "ASC", {"CM6386"}},
        {"4386", "RTU", {"CM6386Modbus"}},
        {"4386A", "RTU", {"CM6386PModbus"}},
        {"4388", "ASC", {"CM6386"}},
        {"4307", "RTU", {"CM6307pModbus"}},
        {"4307A", "RTU", {}},
        {"4300", "RTU", {"CM6300Modbus"}},
        {"4309", "ASC", {"CM6309x"}},
        {"4382A", "ASC", {"CM6382p"}},
        {"4382A", "RTU", {"CM6382pModbus"}},
        {"4373", "ASC", {"CM6373"}},
        {"4399D", "RTU", {"CM6373Modbus"}},
        {"4530", "RTU", {"CM6530rtu"}},
        {"4387", "ASC", {"CM6387"}},
        {"4363", "ASC", {"CM6363"}},
        {"4380", "ASC", {"CM6380"}},
        {"4358", "ASC", {"CM6359"}},
        {"4359A", "8", {"CM6359pModbus"}},
        {"1333E", "ASC", {"CV1333E"}},
        {"1333E", "RTU", {"CV1333M"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.name) + " " + c.protocol);
        EXPECT_EQ(Open(MakeRow(c.name, c.protocol)), c.dialogs);
    }
}

// The rows as the search's own row builder makes them from what modules answer.
TEST_F(DispatchTest, RowsBuiltFromRealFindsOpenTheirModelsDialogs)
{
    auto ascii = [](const char* nameReply, const char* configReply) {
        return SFoundModule{nameReply, configReply, "9600"};
    };
    auto rtu = [](WORD modelWord, const char* address) {
        return SFoundModule{ModelProbeName(modelWord), address, "9600", true};
    };
    struct Case {
        SFoundModule found;
        const char* listed;
        std::vector<std::string> dialogs;
    } cases[] = {
        {ascii("!116384P", "!11FF0600"), "4384P", {"CM6384P"}},
        {rtu(0x6385, "18"), "4385", {"C6385pModbus"}},
        {ascii("!126384", "!12080600"), "4384", {"CM6384"}},
        {rtu(0x6384, "19"), "4384", {"CM6384Modbus"}},
        {rtu(0x9384, "20"), "4384A", {"CM6384pModbus"}},
        {ascii("!136386P", "!13FF0600"), "4386P", {"CM6386P"}},
        {ascii("!146381", "!14FF0600"), "4381", {"CM6381p"}},
        {ascii("!156307A", "!15200600"), "4307A", {"CM6307p"}},
        {ascii("!166382T", "!16FF0600"), "4382T", {"CM63828p"}},
        {ascii("!179382", "!17FF0600"), "4382A", {"CM6382p"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.listed);
        ResultRow row = BuildResultRow(c.found);
        EXPECT_EQ(row[kColModule], c.listed);
        EXPECT_EQ(Open(row), c.dialogs);
    }
}

TEST_F(DispatchTest, RowsThatNoFamilyKnowsOpenNothing)
{
    const char* names[] = {"4999", "", "4373X", "6", "4"};
    for (const char* name : names) {
        SCOPED_TRACE(name);
        EXPECT_TRUE(Open(MakeRow(name, "ASC")).empty());
    }
    // No row selected.
    int item = window.AddRow(MakeRow("4384", "ASC"));
    window.List().SetItemState(item, 0, LVIS_SELECTED);
    CStandIn::s_opened.clear();
    window.Dlg().OnOpenModule();
    EXPECT_TRUE(CStandIn::s_opened.empty());
    EXPECT_TRUE(window.boxes.m_boxes.empty());
}

TEST_F(DispatchTest, TheRowIsRewrittenFromWhatTheDialogStoredByItsFamilysRule)
{
    struct Case {
        const char* name;
        bool CMainFrame::*flag;
        bool script; // the Script column changes too
    } cases[] = {
        {"4387", &CMainFrame::m_bBridgeInputChanged, true},
        {"4363", &CMainFrame::m_bCounterChanged, true},
        {"4530", &CMainFrame::m_bPowerMeterChanged, true},
        {"4373", &CMainFrame::m_bDioChanged, true},
        {"4380", &CMainFrame::m_bThreeChannelRtdChanged, true},
        {"4309", &CMainFrame::m_bRtdInputChanged, false},
        {"4382A", &CMainFrame::m_bSixChannelTempChanged, false},
        {"4384", &CMainFrame::m_bAnalogInputChanged, true},
        {"4386", &CMainFrame::m_bThermocoupleInputChanged, false},
        {"6381", &CMainFrame::m_bUniversalInputChanged, false},
        {"4358", &CMainFrame::m_bAnalogOutputChanged, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CSettingDialogs dialogs(c.flag, "n");
        ResultRow old = MakeRow(c.name, "ASC");
        int item = window.List().GetItemCount();
        ASSERT_EQ(Open(old).size(), 1u);
        ResultRow row = window.Row(item);
        ResultRow expected = old;
        const int rowColumns[] = {kColModule, kColAddressText, kColBaudrate, kColChecksum,
                                  kColDescription};
        for (int i = 0; i < 5; ++i) expected[rowColumns[i]] = "nrow" + std::to_string(i);
        for (int i = 0; i < 5; ++i) {
            if (i != kScript || c.script) expected[kColAddress + i] = "npar" + std::to_string(i);
        }
        EXPECT_EQ(row, expected);
        EXPECT_FALSE(Frame().*c.flag);
    }
}

TEST_F(DispatchTest, ARackRowIsNeverRewritten)
{
    CSettingDialogs dialogs(&CMainFrame::m_bUniversalInputChanged, "n");
    ResultRow rack = MakeRow("1333E", "ASC");
    int item = window.List().GetItemCount();
    ASSERT_EQ(Open(rack), std::vector<std::string>{"CV1333E"});
    EXPECT_EQ(window.Row(item), rack);
}

TEST_F(DispatchTest, EntriesADialogDoesNotWriteKeepTheRowsOwnTexts)
{
    ResultRow first = MakeRow("4384", "ASC");
    first[kColDescription] = "first's description";
    {
        CSettingDialogs all(&CMainFrame::m_bAnalogInputChanged, "a");
        Open(first);
    }
    ResultRow second = MakeRow("4386", "ASC");
    second[kColDescription] = "second's description";
    second[kColScript] = "0F";
    int item = window.List().GetItemCount();
    {
        CSettingDialogs some(&CMainFrame::m_bThermocoupleInputChanged, "b", false);
        ASSERT_EQ(Open(second), std::vector<std::string>{"CM6386"});
    }
    // The dialog found this row's own texts waiting, not the first dialog's.
    const SOpened& opened = CStandIn::s_opened.at(0);
    EXPECT_EQ(opened.rowTexts,
              (RowTexts{"4386", "26(1A)RTU", "19200", "Disable", "second's description"}));
    EXPECT_EQ(opened.params[kScript], "0F");
    ResultRow row = window.Row(item);
    EXPECT_EQ(row[kColModule], "brow0");
    EXPECT_EQ(row[kColDescription], "second's description");
    EXPECT_EQ(row[kColFormat], "bpar4");
    EXPECT_EQ(row[kColScript], "0F");
}

TEST_F(DispatchTest, AFlagLeftRaisedBeforeTheDialogDoesNotRewriteTheRow)
{
    Frame().m_bAnalogInputChanged = true;
    ResultRow row = MakeRow("4384", "ASC");
    int item = window.List().GetItemCount();
    // The dialog leaves texts behind but raises no flag: nothing was stored.
    CSettingDialogs textsOnly(nullptr, "w");
    ASSERT_EQ(Open(row), std::vector<std::string>{"CM6384"});
    EXPECT_EQ(window.Row(item), row);
    EXPECT_FALSE(Frame().m_bAnalogInputChanged);
}

TEST_F(DispatchTest, ADoubleClickDuringASearchClosesTheSearchLineAndOpensNothing)
{
    CSimBus bus;
    CScopedSimLink link(bus);
    ASSERT_TRUE(ui::Click(window.Dlg(), IDOK));
    ASSERT_TRUE(link.IsAsciiOpen());
    size_t sent = link.Traffic().size();
    EXPECT_TRUE(Open(MakeRow("4384", "ASC")).empty());
    EXPECT_EQ(window.boxes.Texts(), std::vector<std::string>{"Please Stop Searching!"});
    EXPECT_EQ(window.boxes.m_boxes[0].caption, AfxGetAppName());
    EXPECT_FALSE(link.IsAsciiOpen());
    // The search goes on: its next step opens the lines again.
    ASSERT_TRUE(window.Dlg().FireTimer(kScanTimer));
    EXPECT_GT(link.Traffic().size(), sent + 1);
    EXPECT_TRUE(link.IsAsciiOpen());
    EXPECT_TRUE(window.Dlg().IsTimerActive(kScanTimer));
}

TEST_F(DispatchTest, TheFramesCommandRunsTheDigitalDialogOnItsBlockAsLeft)
{
    Open(MakeRow("4373", "ASC"));
    ModuleParamBlock left = Frame().m_strDioParams;
    CStandIn::s_opened.clear();
    EXPECT_TRUE(Frame().RouteCommand(ID_OPEN_DIO_MODULE));
    ASSERT_EQ(CStandIn::s_opened.size(), 1u);
    EXPECT_EQ(CStandIn::s_opened[0].strClass, "CM6373");
    EXPECT_EQ(Frame().m_strDioParams, left);
}

TEST_F(DispatchTest, TheRtdModbusBlockReadsTheAddressInEitherFormOfTheColumn)
{
    // The search's "26(1A)RTU" and a re-addressing dialog's "1A" name the same module.
    struct Case {
        const char* addressText;
        const char* blockAddress;
    } cases[] = {{"26(1A)RTU", "1a"}, {"1A", "1a"}, {"05", "5"}, {"10(0A)RTU", "a"}, {"0A", "a"}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.addressText);
        ASSERT_EQ(Open(MakeRow("6307", "RTU", c.addressText)),
                  std::vector<std::string>{"CM6307pModbus"});
        EXPECT_EQ(Frame().m_strM6307ModbusParams[1], c.blockAddress);
    }
}
