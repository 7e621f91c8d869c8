// The data logger: replays a script of ASCII commands, compares each reply with its reference,
// lists every step and writes a time-stamped report.
#pragma once

#include "Dialog.h"

#include <array>
#include <ctime>
#include <fstream>
#include <string>

class CLogDlg : public CDialog {
public:
    enum : int {
        IDC_PICK_SCRIPT = 1027,
        IDC_SCRIPT_PATH = 1038,
        IDC_REPORT_PATH = 1039,
        IDC_PICK_REPORT = 1040,
        IDC_VIEW_SCRIPT = 1042,
        IDC_VIEW_REPORT = 1043,
        IDC_COUNTER = 1044,
        IDC_MODE_ERROR = 1047,
        IDC_MODE_ALL = 1048,
        IDC_MODE_NONE = 1049,
        IDC_STOP = 1050,
        IDC_LOG_LIST = 1051,
        IDC_COUNTER_VALUE = 1053,
    };
    enum ReportMode { kModeError = 0, kModeAll = 1, kModeNone = 2 };
    static constexpr size_t kMaxScriptBytes = 32765;
    static constexpr int kHeaderLines = 8;
    static constexpr UINT kStepMs = 300;
    static constexpr WORD kTimeoutMs = 150;

    explicit CLogDlg(CWnd* pParent = nullptr);

    BOOL OnInitDialog() override;
    void DoDataExchange(CDataExchange* pDX) override;
    void OnTimer(UINT_PTR nIDEvent) override;
    void OnCancel() override;
    void OnPickScript();
    void OnPickReport();
    void OnViewScript();
    void OnViewReport();
    void OnCounter();
    void OnModeError();
    void OnModeAll();
    void OnModeNone();
    void OnRun();
    void OnStop();
    // One step of a run: logs the previous exchange and sends the next command.
    void LogStep();
    // Fills the seven fields from a command line.
    void ParseScriptLine(std::string strLine);
    // Moves to the next command line of the pass and builds its command.
    void PrepareNextLine();

    std::string m_strSending;
    std::string m_strNextCommand;
    int m_nTimerId = 1000;
    int m_nLastResult = 0;
    std::array<char, 200> m_szLogReply{};
    int m_nPort = 0;
    std::string m_strScriptBody;
    int m_nLineIndex = 0;
    std::string m_strRemaining;
    std::string m_strLine;
    std::string m_strResponse;
    int m_nErrors = 0;
    int m_nExchanges = 0;
    std::tm m_timeStep{};
    bool m_bCounter = false;
    int m_nReportMode = kModeNone;
    std::string m_strFieldReference;
    std::string m_strFieldCommand;
    std::string m_strFieldChecksum;
    std::string m_strFieldBaud;
    std::string m_strFieldSkip;
    std::string m_strFieldDrop;
    std::string m_strFieldCom;
    // Open only during a run that writes a report.
    std::ofstream m_report;
    CButton m_btnCounter;
    CEdit m_edtCounter;
    CListCtrl m_lstLog;
    std::string m_strReportPath;
    std::string m_strScriptPath;

private:
    // The command text of the current fields (with its carriage return); false when field 3 asks
    // for neither form, which leaves the text as it was.
    bool BuildCommand(std::string& strCommand) const;
    void Send(const std::string& strCommand);
    // Reads the script up to its first command and opens the report of the run: the error to
    // show, naming the file and the reason, or an empty text.
    std::string PrepareRun(bool bEmptyReport);
    // Reads the script's first bytes into strText: why it could not, or an empty text.
    std::string ReadScript(std::string& strText) const;
    // Opens the report for this run, emptied or kept, created when missing: why it could not, or
    // an empty text.
    std::string OpenReport(bool bEmpty);
    void CloseRun();
    void SetIdle();
    // Counts the exchange and cuts the response; true when it failed (no reply, or a response
    // other than the reference).
    bool EvaluateReply();
    void AddListRow();
    void WriteReportLine();
    // The file dialog for a log file, open or save; the chosen path goes to strPath and is shown.
    bool PickFile(BOOL bOpenFileDialog, DWORD dwFlags, std::string& strPath);

    DECLARE_MESSAGE_MAP()
};
