#include "LogDlg.h"

#include "AsciiCommand.h"
#include "Clock.h"
#include "LinkTable.h"
#include "MainFrm.h"
#include "Resource.h"
#include "Strings.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstring>
#include <filesystem>

namespace {

// The no-reply text: the list shows it as it reads, the report holds it in the GBK code page.
constexpr char kNoReply[] = "命令没有响应";
constexpr char kNoReplyGbk[] = "\xC3\xFC\xC1\xEE\xC3\xBB\xD3\xD0\xCF\xEC\xD3\xA6";

struct ListColumn {
    const char* heading;
    int width;
};

const ListColumn kLogColumns[] = {{"Com", 50},     {"Baudrate", 80},    {"CheckSum", 80},
                                  {"Command", 60}, {"CompareRef.", 80}, {"Response", 80}};

constexpr BYTE kDataBits = 8;

// A decimal field of the script: leading digits, 0 without any. Bounded, so that the arithmetic
// on a silly value cannot overflow.
long long FieldNumber(const std::string& field)
{
    return std::clamp<long long>(StrToLong(field, 10), INT_MIN, INT_MAX);
}

// Why the last file operation failed, in the system's words, or the fallback when the system
// gave no reason.
std::string ErrnoText(const char* fallback)
{
    return errno != 0 ? std::strerror(errno) : fallback;
}

} // namespace

BEGIN_MESSAGE_MAP(CLogDlg, CDialog)
ON_BN_CLICKED(IDC_PICK_SCRIPT, OnPickScript)
ON_BN_CLICKED(IDC_PICK_REPORT, OnPickReport)
ON_BN_CLICKED(IDC_VIEW_SCRIPT, OnViewScript)
ON_BN_CLICKED(IDC_VIEW_REPORT, OnViewReport)
ON_BN_CLICKED(IDC_COUNTER, OnCounter)
ON_BN_CLICKED(IDC_MODE_ERROR, OnModeError)
ON_BN_CLICKED(IDC_MODE_ALL, OnModeAll)
ON_BN_CLICKED(IDC_MODE_NONE, OnModeNone)
ON_BN_CLICKED(IDC_STOP, OnStop)
ON_BN_CLICKED(IDOK, OnRun)
END_MESSAGE_MAP()

CLogDlg::CLogDlg(CWnd* pParent) : CDialog(IDD_LOG, pParent) {}

BOOL CLogDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    g_bDialogClosed = 0;
    CheckRadioButton(IDC_MODE_ERROR, IDC_MODE_NONE, IDC_MODE_NONE);
    SetIdle();
    m_strScriptPath = GetProgramFolder() + "default.log";
    m_strReportPath = GetProgramFolder() + "report.log";
    UpdateData(FALSE);
    int column = 0;
    for (const ListColumn& c : kLogColumns) {
        m_lstLog.InsertColumn(column++, c.heading, LVCFMT_LEFT, c.width);
    }
    m_bCounter = false;
    m_edtCounter.SetWindowText("0");
    return TRUE;
}

void CLogDlg::DoDataExchange(CDataExchange* pDX)
{
    CDialog::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_COUNTER, m_btnCounter);
    DDX_Control(pDX, IDC_COUNTER_VALUE, m_edtCounter);
    DDX_Control(pDX, IDC_LOG_LIST, m_lstLog);
    DDX_Text(pDX, IDC_REPORT_PATH, m_strReportPath);
    DDX_Text(pDX, IDC_SCRIPT_PATH, m_strScriptPath);
}

void CLogDlg::OnTimer(UINT_PTR nIDEvent)
{
    if (nIDEvent == static_cast<UINT_PTR>(m_nTimerId)) LogStep();
}

bool CLogDlg::PickFile(BOOL bOpenFileDialog, DWORD dwFlags, std::string& strPath)
{
    CFileDialog dlg(bOpenFileDialog, "log", nullptr, dwFlags, "日志文件(*.log)|*.log||", this);
    if (dlg.DoModal() != IDOK) return false;
    // Read both paths first, so the one the operator typed into the other field stays.
    UpdateData(TRUE);
    strPath = dlg.GetPathName();
    UpdateData(FALSE);
    return true;
}

void CLogDlg::OnPickScript()
{
    if (PickFile(TRUE, OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT, m_strScriptPath))
        ShellOpen(m_strScriptPath);
}

void CLogDlg::OnPickReport()
{
    // The report may be a new file. Run asks whether to overwrite an existing one or add to it,
    // so choosing it asks nothing.
    PickFile(FALSE, OFN_HIDEREADONLY, m_strReportPath);
}

void CLogDlg::OnViewScript()
{
    UpdateData(TRUE);
    ShellOpen(m_strScriptPath);
}

void CLogDlg::OnViewReport()
{
    UpdateData(TRUE);
    ShellOpen(m_strReportPath);
}

void CLogDlg::OnCounter()
{
    UpdateData(TRUE);
    m_bCounter = m_btnCounter.GetCheck() == BST_CHECKED;
}

void CLogDlg::OnModeError()
{
    m_nReportMode = kModeError;
}
void CLogDlg::OnModeAll()
{
    m_nReportMode = kModeAll;
}

void CLogDlg::OnModeNone()
{
    m_nReportMode = kModeNone;
    m_btnCounter.SetCheck(BST_UNCHECKED);
    m_bCounter = false;
}

void CLogDlg::OnRun()
{
    UpdateData(TRUE);
    if (m_strReportPath.empty() || m_strScriptPath.empty()) {
        MessageBox("Please Select the File!         ", nullptr, MB_OK);
        return;
    }
    GetDlgItem(IDCANCEL)->EnableWindow(FALSE);
    m_edtCounter.SetWindowText("0");
    const bool bEmptyReport =
        std::ifstream(m_strReportPath).is_open() &&
        MessageBox("Overwrite the File?", "Note", MB_YESNO | MB_ICONEXCLAMATION) == IDYES;
    if (const std::string strError = PrepareRun(bEmptyReport); !strError.empty()) {
        MessageBox(strError, nullptr, MB_OK);
        SetIdle();
        return;
    }

    const int nPort = static_cast<int>(FieldNumber(m_strFieldCom));
    const DWORD dwBaud = static_cast<DWORD>(FieldNumber(m_strFieldBaud));
    GetDlgItem(IDOK)->EnableWindow(FALSE);
    GetDlgItem(IDC_STOP)->EnableWindow(TRUE);
    // A line that does not open does not stop the run: every step is then logged unanswered.
    if (Link().Open_ComAscii(static_cast<BYTE>(nPort), dwBaud, kDataBits, 0, 0) == 0) {
        m_nPort = nPort;
    } else {
        MessageBox("Open Com Error!", nullptr, MB_OK);
    }
    Send(m_strNextCommand);
    SetTimer(static_cast<UINT_PTR>(m_nTimerId), kStepMs);
}

std::string CLogDlg::PrepareRun(bool bEmptyReport)
{
    std::string strText;
    if (std::string strReason = ReadScript(strText); !strReason.empty())
        return "Read Script File Error!\n" + m_strScriptPath + ": " + strReason;
    for (int i = 0; i < kHeaderLines; ++i) {
        int lf = Find(strText, '\n');
        if (lf >= 0) strText = Mid(strText, lf + 1);
    }
    m_strScriptBody = strText;
    int lf = Find(strText, '\n');
    m_strLine = Left(strText, lf);
    // Lines end in CR LF or in LF alone.
    if (!m_strLine.empty() && m_strLine.back() == '\r') m_strLine.pop_back();
    ParseScriptLine(m_strLine);
    m_nLineIndex = 0;
    m_strRemaining = Mid(strText, lf + 1);
    if (!BuildCommand(m_strNextCommand)) {
        return Format("No Command in the First Line of the Script!\n%s: the first command line is "
                      "line %d, after the %d header lines; it holds seven fields, each ended by a "
                      "comma, and its third field is 0 or 1.",
                      m_strScriptPath.c_str(), kHeaderLines + 1, kHeaderLines);
    }
    if (m_nReportMode != kModeNone) {
        if (std::string strReason = OpenReport(bEmptyReport); !strReason.empty())
            return "Open Report File Error!\n" + m_strReportPath + ": " + strReason;
    }
    return {};
}

void CLogDlg::OnStop()
{
    m_nExchanges = 0;
    m_nErrors = 0;
    KillTimer(static_cast<UINT_PTR>(m_nTimerId));
    CloseRun();
    SetIdle();
}

void CLogDlg::OnCancel()
{
    g_bDialogClosed = 1;
    CloseRun();
    CDialog::OnCancel();
}

void CLogDlg::LogStep()
{
    const bool bFailed = EvaluateReply();
    m_timeStep = GetLocalTime();
    AddListRow();
    if (m_bCounter) {
        m_edtCounter.SetWindowText(
            Format("%d", m_nReportMode == kModeError ? m_nErrors : m_nExchanges));
    }
    if (m_nReportMode == kModeAll || (m_nReportMode == kModeError && bFailed)) WriteReportLine();
    PrepareNextLine();
    Send(m_strNextCommand);
}

void CLogDlg::ParseScriptLine(std::string strLine)
{
    std::string* fields[] = {&m_strFieldCom,      &m_strFieldBaud, &m_strFieldChecksum,
                             &m_strFieldCommand,  &m_strFieldSkip, &m_strFieldDrop,
                             &m_strFieldReference};
    for (std::string* field : fields) {
        int comma = Find(strLine, ',');
        if (comma < 0) {
            field->clear();
            continue;
        }
        *field = Trim(Left(strLine, comma));
        strLine = Mid(strLine, comma + 1);
    }
}

void CLogDlg::PrepareNextLine()
{
    int lf = Find(m_strRemaining, '\n');
    // Without a further line end the current line is sent again.
    if (lf >= 0) m_strLine = Trim(Left(m_strRemaining, lf));
    if (m_strLine.empty()) {
        // An empty line ends the pass.
        m_nLineIndex = 0;
        m_strRemaining = m_strScriptBody;
        lf = Find(m_strRemaining, '\n');
        m_strLine = Left(m_strRemaining, lf);
    } else {
        ++m_nLineIndex;
    }
    ParseScriptLine(m_strLine);
    if (lf >= 0) m_strRemaining = Mid(m_strRemaining, lf + 1);
    BuildCommand(m_strNextCommand);
}

bool CLogDlg::BuildCommand(std::string& strCommand) const
{
    if (m_strFieldChecksum != "0" && m_strFieldChecksum != "1") return false;
    strCommand = FrameAsciiCommand(m_strFieldCommand, m_strFieldChecksum == "1");
    return true;
}

void CLogDlg::Send(const std::string& strCommand)
{
    m_strSending = strCommand;
    std::string strText = WithoutCr(m_strSending);
    WORD length = 0;
    WORD result = Link().Send_Receive_Ascii(static_cast<BYTE>(m_nPort), strText.c_str(),
                                            m_szLogReply.data(), kTimeoutMs, 0, &length);
    m_nLastResult = result == 0 ? 1 : -1;
}

std::string CLogDlg::ReadScript(std::string& strText) const
{
    std::error_code error;
    if (std::filesystem::is_directory(m_strScriptPath, error)) return "this is a folder";
    errno = 0;
    std::ifstream file(m_strScriptPath, std::ios::binary);
    if (!file) return ErrnoText("cannot be read");
    strText.resize(kMaxScriptBytes);
    file.read(strText.data(), static_cast<std::streamsize>(strText.size()));
    if (file.bad()) return ErrnoText("cannot be read");
    strText.resize(static_cast<size_t>(file.gcount()));
    return {};
}

std::string CLogDlg::OpenReport(bool bEmpty)
{
    errno = 0;
    m_report.open(m_strReportPath, std::ios::binary | (bEmpty ? std::ios::trunc : std::ios::app));
    return m_report.is_open() ? std::string() : ErrnoText("cannot be written");
}

void CLogDlg::CloseRun()
{
    Link().Close_ComAscii(static_cast<BYTE>(m_nPort));
    m_report.close();
}

void CLogDlg::SetIdle()
{
    GetDlgItem(IDOK)->EnableWindow(TRUE);
    GetDlgItem(IDCANCEL)->EnableWindow(TRUE);
    GetDlgItem(IDC_STOP)->EnableWindow(FALSE);
}

bool CLogDlg::EvaluateReply()
{
    ++m_nExchanges;
    if (m_nLastResult != 1) {
        ++m_nErrors;
        m_strResponse = kNoReply;
        return true;
    }
    std::string strReply(m_szLogReply.data(), strnlen(m_szLogReply.data(), m_szLogReply.size()));
    // Skip characters at the front and drop some at the end; nothing is left when they overlap.
    long long skip = FieldNumber(m_strFieldSkip);
    long long count = static_cast<long long>(strReply.size()) - FieldNumber(m_strFieldDrop) - skip;
    m_strResponse = Mid(strReply, static_cast<int>(skip),
                        static_cast<int>(std::clamp<long long>(count, 0, INT_MAX)));
    if (m_strResponse == m_strFieldReference) return false;
    ++m_nErrors;
    return true;
}

void CLogDlg::AddListRow()
{
    if (m_nLineIndex == 0) m_lstLog.DeleteAllItems();
    int row = m_lstLog.InsertItem(m_nLineIndex, m_strFieldCom);
    const std::string* columns[] = {&m_strFieldBaud, &m_strFieldChecksum, &m_strFieldCommand,
                                    &m_strFieldReference, &m_strResponse};
    int column = 1;
    for (const std::string* text : columns) m_lstLog.SetItemText(row, column++, *text);
}

void CLogDlg::WriteReportLine()
{
    if (!m_report.is_open()) return;
    const bool bReplied = m_nLastResult == 1;
    const std::tm& t = m_timeStep;
    std::string strLine = Format("%d-%d-%d %d:%d:%d", t.tm_year + 1900, t.tm_mon + 1, t.tm_mday,
                                 t.tm_hour, t.tm_min, t.tm_sec);
    strLine += m_nReportMode == kModeAll && bReplied ? "     " : "      ";
    const std::string strResponse = bReplied ? m_strResponse : kNoReplyGbk;
    const std::string* fields[] = {&m_strFieldCom,     &m_strFieldBaud,      &m_strFieldChecksum,
                                   &m_strFieldCommand, &m_strFieldReference, &strResponse};
    for (const std::string* field : fields) strLine += *field + "\t\t";
    strLine += "\r\n";
    // Each line reaches the file at its step.
    m_report << strLine << std::flush;
}
