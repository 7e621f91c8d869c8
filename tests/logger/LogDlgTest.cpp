// The data logger against the simulated bus: the commands a script puts on the wire, the list,
// the report file byte for byte, the counter, and how a run refuses bad input.
#include "LogDlg.h"
#include "Clock.h"
#include "MainFrm.h"
#include "Resource.h"
#include "ScopedHome.h"
#include "SimLink.h"
#include "SimModule.h"
#include "UiDriver.h"

#include <QFontMetrics>
#include <QHeaderView>
#include <QStyle>
#include <QTreeWidget>
#include <QWidget>
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;
using D = CLogDlg;
using Strings = std::vector<std::string>;

// Module 1 answers "$012" with "!01080600" and "$01M" with "!016384"; module 2 has its
// checksum on and answers "$022B8" with "!02080640" and its checksum digits "B5".
const std::string kMatch = "1,9600,0,$012,0,0,!01080600,";
const std::string kMismatch = "1,9600,0,$01M,0,0,!019999,";
const std::string kSilent = "1,9600,0,$09M,0,0,!096384,";
const std::string kChecksum = "1,9600,1,$022,3,2,080640,";
const std::string kNoReply = "命令没有响应";
const std::string kNoReplyGbk = "\xC3\xFC\xC1\xEE\xC3\xBB\xD3\xD0\xCF\xEC\xD3\xA6";

std::string ReadFile(const std::string& path)
{
    std::ifstream file(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

void WriteFile(const std::string& path, const std::string& bytes)
{
    std::ofstream(path, std::ios::binary) << bytes;
}

// Whether the process holds a descriptor on the file.
bool IsOpenHere(const std::string& path)
{
    std::error_code error;
    fs::path target = fs::canonical(path, error);
    for (const auto& entry : fs::directory_iterator("/proc/self/fd", error)) {
        if (fs::read_symlink(entry.path(), error) == target) return true;
    }
    return false;
}

// Report lines: the time stamp (year-month-day hour:minute:second, no leading zeros) is checked
// by pattern and cut off; what follows it must match byte for byte.
Strings ReportLines(const std::string& bytes)
{
    static const std::regex stamp("^[1-9][0-9]{3}-([1-9]|1[0-2])-([1-9]|[12][0-9]|3[01]) "
                                  "([0-9]|1[0-9]|2[0-3]):([0-9]|[1-5][0-9]):([0-9]|[1-5][0-9])");
    Strings lines;
    size_t from = 0;
    for (size_t end; (end = bytes.find("\r\n", from)) != std::string::npos; from = end + 2) {
        std::string line = bytes.substr(from, end - from);
        std::smatch match;
        EXPECT_TRUE(std::regex_search(line, match, stamp)) << line;
        lines.push_back(match.suffix());
    }
    EXPECT_EQ(from, bytes.size()) << "every line ends in CR LF";
    return lines;
}

std::string Line(const std::string& blanks, Strings fields)
{
    std::string line = blanks;
    for (const std::string& field : fields) line += field + "\t\t";
    return line;
}

class LogDlgTest : public ::testing::Test {
protected:
    LogDlgTest()
    {
        bus.Add("6384", 1, 9600).SetType(0x08);
        CSimModule& withChecksum = bus.Add("6384", 2, 9600);
        withChecksum.SetType(0x08);
        withChecksum.SetChecksum(true);
    }
    ~LogDlgTest() override { dlg.DestroyWindow(); }

    void WriteScript(const Strings& lines, const std::string& eol = "\r\n")
    {
        std::string text;
        for (int i = 1; i <= D::kHeaderLines; ++i) text += "header line " + std::to_string(i) + eol;
        for (const std::string& line : lines) text += line + eol;
        WriteFile(script, text);
    }
    void Open() { ASSERT_TRUE(dlg.Create(IDD_LOG)); }
    void Mode(int nID) { ASSERT_TRUE(ui::Click(dlg, nID)); }
    void Run() { ASSERT_TRUE(ui::Click(dlg, IDOK)); }
    void Step(int n)
    {
        for (int i = 0; i < n; ++i) {
            clock.Advance(D::kStepMs);
            ASSERT_TRUE(dlg.FireTimer(1000));
        }
    }
    bool Enabled(int nID) const { return dlg.GetDlgItem(nID)->IsWindowEnabled(); }
    // Idle: Run and Cancel usable, Stop not, no timer and no line.
    void ExpectIdle()
    {
        EXPECT_TRUE(Enabled(IDOK));
        EXPECT_TRUE(Enabled(IDCANCEL));
        EXPECT_FALSE(Enabled(D::IDC_STOP));
        EXPECT_FALSE(dlg.IsTimerActive(1000));
        EXPECT_FALSE(link.IsAsciiOpen());
    }
    CListCtrl& List() { return *dlg.GetDlgItemAs<CListCtrl>(D::IDC_LOG_LIST); }
    Strings Row(int row)
    {
        Strings texts;
        for (int column = 0; column < 6; ++column) texts.push_back(List().GetItemText(row, column));
        return texts;
    }
    Strings Responses()
    {
        Strings texts;
        for (int row = 0; row < List().GetItemCount(); ++row)
            texts.push_back(List().GetItemText(row, 5));
        return texts;
    }
    std::string Counter() const { return dlg.GetDlgItemText(D::IDC_COUNTER_VALUE); }

    CScopedHome home;
    const std::string script = home.Path("default.log");
    const std::string report = home.Path("report.log");
    CScopedVirtualClock clock;
    CSimBus bus;
    CScopedSimLink link{bus};
    ui::CMessageBoxRecorder boxes{IDNO};
    CLogDlg dlg;
};

TEST_F(LogDlgTest, StartsIdleWithThePathsInTheProgramFolder)
{
    g_bDialogClosed = 1;
    Open();
    EXPECT_EQ(g_bDialogClosed, 0);
    EXPECT_EQ(dlg.GetWidget()->windowTitle().toStdString(), "Log");
    EXPECT_EQ(dlg.GetDlgItemText(D::IDC_SCRIPT_PATH), script);
    EXPECT_EQ(dlg.GetDlgItemText(D::IDC_REPORT_PATH), report);
    EXPECT_EQ(dlg.GetCheckedRadioButton(D::IDC_MODE_ERROR, D::IDC_MODE_NONE), D::IDC_MODE_NONE);
    EXPECT_EQ(Counter(), "0");
    ExpectIdle();
    const Strings headings = {"Com", "Baudrate", "CheckSum", "Command", "CompareRef.", "Response"};
    const int widths[] = {50, 80, 80, 60, 80, 80};
    ASSERT_EQ(List().GetColumnCount(), 6);
    for (int i = 0; i < 6; ++i) {
        EXPECT_EQ(List().GetColumnHeading(i), headings[static_cast<size_t>(i)]);
        EXPECT_EQ(List().GetColumnWidth(i), widths[i]);
    }
}

TEST_F(LogDlgTest, EveryColumnHeadingFitsItsColumn)
{
    Open();
    auto* tree = qobject_cast<QTreeWidget*>(List().GetWidget());
    ASSERT_NE(tree, nullptr);
    QHeaderView* header = tree->header();
    QFontMetrics fm(header->font());
    const int margins = 2 * header->style()->pixelMetric(QStyle::PM_HeaderMargin, nullptr, header);
    for (int column = 0; column < tree->columnCount(); ++column) {
        QString heading = tree->headerItem()->text(column);
        EXPECT_LE(fm.horizontalAdvance(heading) + margins, header->sectionSize(column))
            << heading.toStdString();
    }
}

TEST_F(LogDlgTest, TheMenuCommandRunsTheLoggerModally)
{
    CMainFrame frame;
    int nShown = 0;
    ui::CModalDriver driver([&](CDialog& d) {
        ++nShown;
        EXPECT_EQ(d.GetTemplateID(), IDD_LOG);
        ui::Click(d, IDCANCEL);
    });
    frame.OnRunDataLogger();
    EXPECT_EQ(nShown, 1);
    EXPECT_EQ(g_bDialogClosed, 1);
}

TEST_F(LogDlgTest, ReplaysTheScriptPassAfterPassAndListsEachStep)
{
    WriteScript({kMatch, kChecksum, ""});
    Open();
    Run();
    EXPECT_FALSE(Enabled(IDOK));
    EXPECT_FALSE(Enabled(IDCANCEL));
    EXPECT_TRUE(Enabled(D::IDC_STOP));
    EXPECT_TRUE(link.IsAsciiOpen());
    Step(2);
    EXPECT_EQ(Row(0), (Strings{"1", "9600", "0", "$012", "!01080600", "!01080600"}));
    EXPECT_EQ(Row(1), (Strings{"1", "9600", "1", "$022", "080640", "080640"}));
    Step(1);
    EXPECT_EQ(List().GetItemCount(), 1) << "the list starts again with the first line";
    EXPECT_EQ(link.Requests(), (Strings{"$012", "$022B8", "$012", "$022B8"}));
    for (const SSimExchange& exchange : link.Traffic()) {
        EXPECT_EQ(exchange.nPort, 1);
        EXPECT_EQ(exchange.line.dwBaud, 9600u);
        EXPECT_EQ(exchange.line.nParity, 0);
        EXPECT_TRUE(exchange.bAnswered);
    }
    EXPECT_EQ(boxes.m_boxes.size(), 0u);
    EXPECT_FALSE(fs::exists(report)) << "a run in mode None has no report file";
    ASSERT_TRUE(ui::Click(dlg, D::IDC_STOP));
    ExpectIdle();
    EXPECT_EQ(List().GetItemCount(), 1) << "the list stays";
}

// The script the run script ships with the simulated bus: every step of it matches its module on
// the bus the run script serves.
TEST(LogDlgShippedScript, EveryStepMatchesTheSimulatedBus)
{
    CScopedHome home;
    fs::copy_file(OSTRA_SIM_DIR "/default.log", home.Path("default.log"));
    CScopedVirtualClock clock;
    CSimBus bus;
    bus.LoadFile(OSTRA_SIM_DIR "/default_bus.txt");
    CScopedSimLink link{bus};
    ui::CMessageBoxRecorder boxes{IDNO};
    CLogDlg dlg;
    ASSERT_TRUE(dlg.Create(IDD_LOG));
    ASSERT_TRUE(ui::Click(dlg, IDOK));
    for (int i = 0; i < 2; ++i) {
        clock.Advance(D::kStepMs);
        ASSERT_TRUE(dlg.FireTimer(1000));
    }
    auto& list = *dlg.GetDlgItemAs<CListCtrl>(D::IDC_LOG_LIST);
    ASSERT_EQ(list.GetItemCount(), 2);
    for (int row = 0; row < 2; ++row) EXPECT_EQ(list.GetItemText(row, 5), list.GetItemText(row, 4));
    EXPECT_EQ(boxes.m_boxes.size(), 0u);
    ASSERT_TRUE(ui::Click(dlg, D::IDC_STOP));
    dlg.DestroyWindow();
}

struct PassCase {
    const char* name;
    std::string body; // the script after its header
    Strings sent;     // the first four commands
    int nRows;        // rows after three steps
};

void PrintTo(const PassCase& c, std::ostream* os)
{
    *os << c.name;
}

class LogDlgPass : public LogDlgTest, public ::testing::WithParamInterface<PassCase> {};

TEST_P(LogDlgPass, AnEmptyLineEndsThePassAndALastLineRepeats)
{
    std::string header;
    for (int i = 0; i < D::kHeaderLines; ++i) header += "header\r\n";
    WriteFile(script, header + GetParam().body);
    Open();
    Run();
    Step(3);
    EXPECT_EQ(link.Requests(), GetParam().sent);
    EXPECT_EQ(List().GetItemCount(), GetParam().nRows);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, LogDlgPass,
    ::testing::Values(
        PassCase{"EmptyLine",
                 kMatch + "\r\n" + kChecksum + "\r\n\r\n",
                 {"$012", "$022B8", "$012", "$022B8"},
                 1},
        PassCase{"NoEmptyLine",
                 kMatch + "\r\n" + kChecksum + "\r\n",
                 {"$012", "$022B8", "$022B8", "$022B8"},
                 3},
        // A last line without a line end is never sent; the line before it is sent again.
        PassCase{"NoLineEnd", kMatch + "\r\n" + kChecksum, {"$012", "$012", "$012", "$012"}, 3}));

struct ModeCase {
    int nModeId;
    Strings lines; // the report after three steps, time stamps cut off
};

void PrintTo(const ModeCase& c, std::ostream* os)
{
    *os << (c.nModeId == D::IDC_MODE_ALL     ? "All"
            : c.nModeId == D::IDC_MODE_ERROR ? "Error"
                                             : "None");
}

class LogDlgReport : public LogDlgTest, public ::testing::WithParamInterface<ModeCase> {};

TEST_P(LogDlgReport, WritesTheReportLinesOfItsMode)
{
    WriteScript({kMatch, kMismatch, kSilent, ""});
    Open();
    Mode(GetParam().nModeId);
    Run();
    Step(3);
    EXPECT_EQ(Responses(), (Strings{"!01080600", "!016384", kNoReply}))
        << "the list takes every step";
    ASSERT_TRUE(ui::Click(dlg, D::IDC_STOP));
    if (GetParam().nModeId == D::IDC_MODE_NONE) {
        EXPECT_FALSE(fs::exists(report));
    } else {
        EXPECT_EQ(ReportLines(ReadFile(report)), GetParam().lines);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Modes, LogDlgReport,
    ::testing::Values(
        ModeCase{D::IDC_MODE_ALL,
                 {Line("     ", {"1", "9600", "0", "$012", "!01080600", "!01080600"}),
                  Line("     ", {"1", "9600", "0", "$01M", "!019999", "!016384"}),
                  Line("      ", {"1", "9600", "0", "$09M", "!096384", kNoReplyGbk})}},
        ModeCase{D::IDC_MODE_ERROR,
                 {Line("      ", {"1", "9600", "0", "$01M", "!019999", "!016384"}),
                  Line("      ", {"1", "9600", "0", "$09M", "!096384", kNoReplyGbk})}},
        ModeCase{D::IDC_MODE_NONE, {}}));

TEST_F(LogDlgTest, TheResponseIsTheReplyBetweenSkipAndDrop)
{
    WriteScript({kChecksum, "1,9600,0,$012,30,0,x,", "1,9600,0,$012,0,20,x,",
                 // Without the comma after it the reference reads as empty.
                 "1,9600,0,$012,0,0,!01080600", ""});
    Open();
    Run();
    Step(4);
    EXPECT_EQ(Responses(), (Strings{"080640", "", "", "!01080600"}));
    EXPECT_EQ(List().GetItemText(3, 4), "");
}

struct OverwriteCase {
    const char* name;
    bool bExists;
    int nAnswer;
    bool bKeepsOld;
};

void PrintTo(const OverwriteCase& c, std::ostream* os)
{
    *os << c.name;
}

class LogDlgOverwrite : public LogDlgTest, public ::testing::WithParamInterface<OverwriteCase> {};

TEST_P(LogDlgOverwrite, AsksBeforeEmptyingAnExistingReportAndCreatesAMissingOne)
{
    const OverwriteCase& c = GetParam();
    const std::string old = "2025-1-1 1:1:1     old\t\t\r\n";
    if (c.bExists) WriteFile(report, old);
    boxes.m_nAnswer = c.nAnswer;
    WriteScript({kMatch, ""});
    Open();
    Mode(D::IDC_MODE_ALL);
    Run();
    Step(1);
    ASSERT_TRUE(ui::Click(dlg, D::IDC_STOP));

    if (c.bExists) {
        ASSERT_EQ(boxes.m_boxes.size(), 1u);
        EXPECT_EQ(boxes.m_boxes[0].text, "Overwrite the File?");
        EXPECT_EQ(boxes.m_boxes[0].caption, "Note");
        EXPECT_EQ(boxes.m_boxes[0].nType, MB_YESNO | MB_ICONEXCLAMATION);
    } else {
        EXPECT_TRUE(boxes.m_boxes.empty());
    }
    std::string bytes = ReadFile(report);
    const std::string oldPart = c.bKeepsOld ? old : "";
    ASSERT_EQ(bytes.substr(0, oldPart.size()), oldPart);
    EXPECT_EQ(ReportLines(bytes.substr(oldPart.size())),
              Strings{Line("     ", {"1", "9600", "0", "$012", "!01080600", "!01080600"})});
}

INSTANTIATE_TEST_SUITE_P(Cases, LogDlgOverwrite,
                         ::testing::Values(OverwriteCase{"Yes", true, IDYES, false},
                                           OverwriteCase{"No", true, IDNO, true},
                                           OverwriteCase{"Missing", false, IDNO, false}));

TEST_F(LogDlgTest, StopClosesTheReportAndALaterRunNeverWritesThroughIt)
{
    WriteScript({kMatch, ""});
    Open();
    Mode(D::IDC_MODE_ALL);
    Run();
    Step(1);
    EXPECT_TRUE(IsOpenHere(report));
    ASSERT_TRUE(ui::Click(dlg, D::IDC_STOP));
    EXPECT_FALSE(IsOpenHere(report));
    const std::string afterFirstRun = ReadFile(report);

    // A run started in mode None writes nothing, even when ALL is chosen during it.
    Mode(D::IDC_MODE_NONE);
    Run();
    Mode(D::IDC_MODE_ALL);
    Step(2);
    ASSERT_TRUE(ui::Click(dlg, D::IDC_STOP));
    EXPECT_EQ(ReadFile(report), afterFirstRun);

    Mode(D::IDC_MODE_ALL);
    Run();
    Step(1);
    EXPECT_FALSE(ui::Click(dlg, IDCANCEL)) << "Cancel waits for Stop";
    ASSERT_TRUE(ui::Click(dlg, D::IDC_STOP));
    ASSERT_TRUE(ui::Click(dlg, IDCANCEL));
    EXPECT_FALSE(IsOpenHere(report));
    EXPECT_FALSE(link.IsAsciiOpen());
    EXPECT_EQ(g_bDialogClosed, 1);
}

TEST_F(LogDlgTest, CancelClosesTheLineAndTheReport)
{
    WriteScript({kMatch, ""});
    Open();
    Mode(D::IDC_MODE_ALL);
    Run();
    Step(1);
    // Only the program ends a run this way (the button is disabled while it runs).
    dlg.OnCancel();
    EXPECT_FALSE(dlg.IsRunning());
    EXPECT_FALSE(IsOpenHere(report));
    EXPECT_FALSE(link.IsAsciiOpen());
}

struct LineEndCase {
    const char* name;
    const char* eol;
};

void PrintTo(const LineEndCase& c, std::ostream* os)
{
    *os << c.name;
}

class LogDlgLineEnds : public LogDlgTest, public ::testing::WithParamInterface<LineEndCase> {};

TEST_P(LogDlgLineEnds, ScriptsWithEitherLineEndReadAlike)
{
    WriteScript({kMatch, kChecksum, ""}, GetParam().eol);
    Open();
    Mode(D::IDC_MODE_ERROR);
    Run();
    Step(3);
    EXPECT_EQ(link.Requests(), (Strings{"$012", "$022B8", "$012", "$022B8"}));
    EXPECT_EQ(Row(0), (Strings{"1", "9600", "0", "$012", "!01080600", "!01080600"}));
    ASSERT_TRUE(ui::Click(dlg, D::IDC_STOP));
    EXPECT_EQ(ReadFile(report), "") << "no step failed";
}

INSTANTIATE_TEST_SUITE_P(Cases, LogDlgLineEnds,
                         ::testing::Values(LineEndCase{"CrLf", "\r\n"}, LineEndCase{"Lf", "\n"}));

struct RefusalCase {
    const char* name;
    std::optional<Strings> script; // nothing: no script file
    bool bEmptyScriptPath;
    const char* message;
    const char* reason; // after the script's path on the next line; null: the message alone
};

void PrintTo(const RefusalCase& c, std::ostream* os)
{
    *os << c.name;
}

class LogDlgRefusal : public LogDlgTest, public ::testing::WithParamInterface<RefusalCase> {
protected:
    // The one box shown: its first line is the message, the next names the file and the reason.
    void ExpectRefusal(const char* message, const std::string& path, const char* reason)
    {
        ASSERT_EQ(boxes.m_boxes.size(), 1u);
        const std::string& text = boxes.m_boxes[0].text;
        if (!reason) {
            EXPECT_EQ(text, message);
            return;
        }
        EXPECT_EQ(text.substr(0, text.find('\n')), message);
        EXPECT_NE(text.find("\n" + path + ": " + reason), std::string::npos) << text;
    }
};

TEST_P(LogDlgRefusal, ARunWithoutACommandToSendIsRefused)
{
    const RefusalCase& c = GetParam();
    if (c.script) WriteScript(*c.script);
    Open();
    Mode(D::IDC_MODE_ALL);
    if (c.bEmptyScriptPath) {
        ASSERT_TRUE(ui::Type(dlg, D::IDC_SCRIPT_PATH, ""));
    }
    Run();
    ExpectRefusal(c.message, script, c.reason);
    ExpectIdle();
    EXPECT_TRUE(link.Traffic().empty());
    EXPECT_FALSE(fs::exists(report));
    EXPECT_EQ(List().GetItemCount(), 0);
}

constexpr char kNoCommand[] = "No Command in the First Line of the Script!";
constexpr char kWhereTheCommandsStart[] =
    "the first command line is line 9, after the 8 header lines; it holds seven fields, each "
    "ended by a comma, and its third field is 0 or 1.";

INSTANTIATE_TEST_SUITE_P(
    Cases, LogDlgRefusal,
    ::testing::Values(
        RefusalCase{"EmptyPath", Strings{kMatch}, true, "Please Select the File!         ",
                    nullptr},
        RefusalCase{"NoScript", std::nullopt, false, "Read Script File Error!",
                    "No such file or directory"},
        RefusalCase{"EmptyFirstLine", Strings{"", kMatch}, false, kNoCommand,
                    kWhereTheCommandsStart},
        RefusalCase{"ChecksumFieldNeither0Nor1", Strings{"1,9600,2,$012,0,0,!01080600,", kMatch},
                    false, kNoCommand, kWhereTheCommandsStart},
        RefusalCase{"HeaderOnly", Strings{}, false, kNoCommand, kWhereTheCommandsStart}));

TEST_F(LogDlgRefusal, AScriptFolderIsRefusedLikeAMissingScript)
{
    fs::create_directory(script);
    Open();
    Run();
    ExpectRefusal("Read Script File Error!", script, "this is a folder");
    ExpectIdle();
}

TEST_F(LogDlgRefusal, AReportThatCannotBeOpenedRefusesTheRun)
{
    WriteScript({kMatch, ""});
    Open();
    Mode(D::IDC_MODE_ERROR);
    const std::string path = home.Path("no-such-folder/report.log");
    ASSERT_TRUE(ui::Type(dlg, D::IDC_REPORT_PATH, path));
    Run();
    ExpectRefusal("Open Report File Error!", path, "No such file or directory");
    ExpectIdle();
    EXPECT_TRUE(link.Traffic().empty());
}

class LogDlgOpenError : public LogDlgTest, public ::testing::WithParamInterface<const char*> {};

TEST_P(LogDlgOpenError, ALineThatDoesNotOpenLogsEveryStepUnanswered)
{
    WriteScript({std::string(GetParam()) + ",9600,0,$012,0,0,!01080600,", ""});
    Open();
    Run();
    EXPECT_EQ(boxes.Texts(), Strings{"Open Com Error!"});
    EXPECT_TRUE(Enabled(D::IDC_STOP)) << "the run goes on";
    Step(2);
    EXPECT_EQ(Responses(), Strings{kNoReply});
    EXPECT_TRUE(link.Traffic().empty());
    ASSERT_TRUE(ui::Click(dlg, D::IDC_STOP));
}

// COM2 has no device; "COM1" reads as port 0.
INSTANTIATE_TEST_SUITE_P(Cases, LogDlgOpenError, ::testing::Values("2", "COM1"));

struct CounterCase {
    const char* name;
    int nModeId;
    Strings shown; // after each of three steps
};

void PrintTo(const CounterCase& c, std::ostream* os)
{
    *os << c.name;
}

class LogDlgCounter : public LogDlgTest, public ::testing::WithParamInterface<CounterCase> {};

TEST_P(LogDlgCounter, CountsStepsOrErrorsWhileChecked)
{
    WriteScript({kMatch, kSilent, ""});
    Open();
    Mode(GetParam().nModeId);
    ASSERT_TRUE(ui::Click(dlg, D::IDC_COUNTER));
    for (int pass = 0; pass < 2; ++pass) {
        Run();
        EXPECT_EQ(Counter(), "0");
        Strings shown;
        for (int i = 0; i < 3; ++i) {
            Step(1);
            shown.push_back(Counter());
        }
        EXPECT_EQ(shown, GetParam().shown) << "Stop starts the counts again";
        ASSERT_TRUE(ui::Click(dlg, D::IDC_STOP));
        EXPECT_EQ(Counter(), shown.back());
    }
    // None switches the counter off.
    Run();
    Mode(D::IDC_MODE_NONE);
    EXPECT_FALSE(dlg.IsDlgButtonChecked(D::IDC_COUNTER));
    Step(2);
    EXPECT_EQ(Counter(), "0");
}

INSTANTIATE_TEST_SUITE_P(Cases, LogDlgCounter,
                         ::testing::Values(CounterCase{"All", D::IDC_MODE_ALL, {"1", "2", "3"}},
                                           CounterCase{
                                               "Error", D::IDC_MODE_ERROR, {"0", "1", "1"}}));

TEST_F(LogDlgTest, PicksAndShowsTheFilesWithTheDesktop)
{
    ui::CShellOpenRecorder shell;
    Open();
    ASSERT_TRUE(ui::Type(dlg, D::IDC_REPORT_PATH, "/typed/report.log"));
    {
        ui::CFileDialogRecorder files(std::string("/chosen/script.log"));
        ASSERT_TRUE(ui::Click(dlg, D::IDC_PICK_SCRIPT));
        ASSERT_EQ(files.m_requests.size(), 1u);
        EXPECT_TRUE(files.m_requests[0].bOpen) << "a script to replay exists";
        EXPECT_EQ(files.m_requests[0].defExt, "log");
        EXPECT_EQ(files.m_requests[0].fileName, "");
        EXPECT_EQ(files.m_requests[0].filter, "日志文件(*.log)|*.log||");
    }
    EXPECT_EQ(dlg.GetDlgItemText(D::IDC_SCRIPT_PATH), "/chosen/script.log");
    EXPECT_EQ(dlg.GetDlgItemText(D::IDC_REPORT_PATH), "/typed/report.log") << "kept";
    EXPECT_EQ(shell.m_paths, Strings{"/chosen/script.log"});
    {
        ui::CFileDialogRecorder files(std::string("/chosen/report.log"));
        ASSERT_TRUE(ui::Click(dlg, D::IDC_PICK_REPORT));
    }
    EXPECT_EQ(dlg.GetDlgItemText(D::IDC_REPORT_PATH), "/chosen/report.log");
    {
        ui::CFileDialogRecorder cancelled(std::nullopt);
        ASSERT_TRUE(ui::Click(dlg, D::IDC_PICK_SCRIPT));
        ASSERT_TRUE(ui::Click(dlg, D::IDC_PICK_REPORT));
    }
    EXPECT_EQ(dlg.GetDlgItemText(D::IDC_SCRIPT_PATH), "/chosen/script.log");
    EXPECT_EQ(shell.m_paths.size(), 1u) << "picking the report opens nothing";

    ASSERT_TRUE(ui::Type(dlg, D::IDC_SCRIPT_PATH, "/typed/script.log"));
    ASSERT_TRUE(ui::Click(dlg, D::IDC_VIEW_SCRIPT));
    ASSERT_TRUE(ui::Click(dlg, D::IDC_VIEW_REPORT));
    EXPECT_EQ(shell.m_paths,
              (Strings{"/chosen/script.log", "/typed/script.log", "/chosen/report.log"}));
}

struct NewReportCase {
    const char* name;
    const char* typed; // in the program folder
    const char* chosen;
};

void PrintTo(const NewReportCase& c, std::ostream* os)
{
    *os << c.name;
}

class LogDlgNewReport : public LogDlgTest, public ::testing::WithParamInterface<NewReportCase> {};

TEST_P(LogDlgNewReport, TheReportPickerTakesANewNameAndALaterRunCreatesIt)
{
    const NewReportCase& c = GetParam();
    WriteScript({kMatch, ""});
    Open();
    {
        ui::CFileDialogRecorder files(home.Path(c.typed).string());
        ASSERT_TRUE(ui::Click(dlg, D::IDC_PICK_REPORT));
        ASSERT_EQ(files.m_requests.size(), 1u);
        const FileDialogRequest& request = files.m_requests[0];
        EXPECT_FALSE(request.bOpen) << "a save dialog takes a name that does not exist yet";
        EXPECT_EQ(request.defExt, "log");
        EXPECT_FALSE(request.flags & OFN_OVERWRITEPROMPT) << "Run asks that question";
        EXPECT_EQ(request.filter, "日志文件(*.log)|*.log||");
    }
    const std::string chosen = home.Path(c.chosen);
    EXPECT_EQ(dlg.GetDlgItemText(D::IDC_REPORT_PATH), chosen);
    Mode(D::IDC_MODE_ALL);
    Run();
    Step(1);
    ASSERT_TRUE(ui::Click(dlg, D::IDC_STOP));
    EXPECT_TRUE(boxes.m_boxes.empty());
    EXPECT_EQ(ReportLines(ReadFile(chosen)).size(), 1u);
}

INSTANTIATE_TEST_SUITE_P(Cases, LogDlgNewReport,
                         ::testing::Values(NewReportCase{"BareName", "monday", "monday.log"},
                                           NewReportCase{"OwnExtension", "monday.txt",
                                                         "monday.txt"}));

} // namespace
