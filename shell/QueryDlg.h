// The search dialog: scans the bus address by address, lists the modules found and, on a double
// click on a row, runs the dialog made for that module.
#pragma once

#include "Dialog.h"
#include "ResultRow.h"
#include "SearchSettings.h"
#include "SerialPort.h"

#include <array>
#include <optional>
#include <string>

class CMainFrame;
struct SModuleFamily;

// Controls of the search dialog.
enum : int {
    IDC_RESULT_LIST = 1000,
    IDC_COM_PORT = 1006,
    IDC_CHECKSUM_ENABLE = 1010,
    IDC_BAUD_115200 = 1011,
    IDC_BAUD_57600 = 1012,
    IDC_BAUD_38400 = 1013,
    IDC_BAUD_19200 = 1014,
    IDC_BAUD_9600 = 1015,
    IDC_BAUD_4800 = 1016,
    IDC_BAUD_2400 = 1017,
    IDC_BAUD_1200 = 1018,
    IDC_TIMEOUT = 1025,
    IDC_STOP = 1027,
    IDC_PROGRESS = 1028,
    IDC_CHECKSUM_DISABLE = 1030,
    IDC_SAVE = 1043,
    IDC_SCAN_BAUD = 1180,
    IDC_SCAN_ADDRESS = 1181,
    IDC_PARITY = 1246,
};

// The scan's window timer: one step every tick.
inline constexpr UINT_PTR kScanTimer = 200;
inline constexpr UINT kScanTickMs = 500;

class CQueryDlg : public CDialog {
public:
    explicit CQueryDlg(CMainFrame* pMainFrame);

    BOOL OnInitDialog() override;
    void DoDataExchange(CDataExchange* pDX) override;
    void OnCancel() override;
    void OnTimer(UINT_PTR nIDEvent) override;

    void OnSearch();
    void OnStop();
    void OnSave();
    template <int nRate> void OnBaudBox(); // nRate: index into BaudRateTable
    void OnChecksumEnable();
    void OnChecksumDisable();
    void OnParityChange();
    // The open-module dispatch: runs the dialog of the selected row's module.
    void OnOpenModule();

    // One step of the scan: reads the last answer or probes with Modbus RTU, then asks the next
    // question.
    void ScanStep();
    // Appends the row of one module found (name, second and baud as the search hands them over).
    void AddFoundModule(std::string name, std::string second, std::string baud);

    CMainFrame* m_pMainFrame;
    std::array<bool, kBaudRateCount> m_bBaudTicked{};  // by rate, ascending
    int m_nChecksum = 0;                               // 1 Enable, 0 Disable
    int m_nTimeout = kTimeoutChoices[0];               // first request and the probes, in ms
    std::array<int, kBaudRateCount + 1> m_nBaudList{}; // the ticked rates, ascending, then 0
    int m_nBaudCount = 0;
    int m_nBaudIndex = 0; // -1 after an ASCII find: the line is still at that find's rate
    int m_nScanAddress = 0;
    int m_nScanPhase = 0;   // which answer the next step reads: 0 name, 1 configuration, 2 type
    int m_nChannel = 0;     // channel of the next channel-type answer
    int m_nLastResult = -1; // 1: the last ASCII request was answered; -1: not
    bool m_bTryModbus = false;
    bool m_bStopRequested = false;
    bool m_bAsciiOpen = false;
    bool m_bRtuOpen = false;
    bool m_bFoundAscii = false;
    bool m_bFoundRtu = false;
    int m_nPort = 0;     // COM port of the running search
    int m_nLineBaud = 0; // the rate the ASCII line was last opened or changed to
    // The address's probes at the first rate ran, its ASCII trial there is due.
    bool m_bFirstRateProbed = false;
    char m_szReply[200] = {};
    std::string m_strReply;
    std::string m_strNameReply;
    std::string m_strConfigReply;
    std::string m_strBaudText;

    CListCtrl m_listResult;
    CComboBox m_comboComPort;
    CComboBox m_comboTimeout;
    CComboBox m_comboParity;
    CProgressCtrl m_progressScan;
    CButton m_buttonSearch;
    CSerialPort m_serialPort; // never opened: the search talks through the links

    DECLARE_MESSAGE_MAP()

private:
    BYTE Port() const { return static_cast<BYTE>(m_nPort); }
    // The port of the COM box: COM1 when nothing is chosen, 0 when the text names no port.
    int SelectedComPort() const;
    BYTE SelectedParity() const;
    void SetScanning(bool bScanning);
    void AdvanceProgress();
    WORD OpenAscii(int nPort, int nRate);
    void Exchange(const std::string& text, WORD timeoutMs);
    // Whether the last reply answers the request just sent (address, phase and channel).
    bool ReplyAnswers() const;

    bool ReadAnswer(std::string& request);
    bool FinishAsciiFind(std::string& request);
    void ReadChannelType(std::string& request);
    bool ProbeModbus(std::string& request);
    // Hands the line from ASCII to RTU at that rate; false (the tick ends) when it will not open.
    bool OpenRtu(int nRate);
    std::optional<std::string> ProbeModel(WORD reg);
    void SendRequest(const std::string& request);
    void CloseLinks();
    void EndSearch();
    void StopTick();
    void FailRtuOpen();

    ResultRow ReadRow(int nItem) const;
    void OpenFamily(const SModuleFamily& family, int nItem);
    void RewriteRow(int nItem, bool bScript);
};
