// The single-command window: one typed command, ASCII or Modbus RTU, and its reply.
#pragma once

#include "Dialog.h"
#include "SerialPort.h"

#include <array>
#include <string>

class CMainFrame;

class CSingleDlg : public CDialog {
public:
    enum : int {
        IDC_CHECKSUM_ENABLE = 1010,
        IDC_CHECKSUM_DISABLE = 1030,
        IDC_BAUD = 1034,
        IDC_COMMAND = 1035,
        IDC_RESPOND = 1036,
        IDC_HISTORY = 1037,
        IDC_PORT = 1137,
        IDC_PARITY = 1246,
    };
    // The Command field takes 100 characters: at most 50 request bytes, which with their CRC
    // are the longest request the RTU link sends.
    static constexpr int kMaxCommandChars = 100;
    static constexpr WORD kTimeoutMs = 1000;

    explicit CSingleDlg(CWnd* pParent = nullptr);

    BOOL OnInitDialog() override;
    void DoDataExchange(CDataExchange* pDX) override;
    void OnCancel() override;
    void OnChecksumEnable();
    void OnChecksumDisable();
    void OnRun();

    std::array<char, 200> m_szReply{};
    bool m_bChecksum = false;
    int m_nPort = 0;
    DWORD m_dwTicks = 0;
    CSerialPort m_serialPort;
    DWORD m_dwBaud = 0;
    CMainFrame* m_pMainFrame = nullptr;
    CComboBox m_cmbParity;
    CComboBox m_cmbPort;
    CComboBox m_cmbBaud;
    CListBox m_lstHistory;
    std::string m_strCommand;
    std::string m_strRespond;

private:
    bool IsAsciiCommand() const;
    // A failure in the Respond field and under the command in the history.
    void ShowFailure(const std::string& text);
    bool OpenLine(bool bAscii);
    void CloseLine(bool bAscii);
    // The reply of one exchange, or nothing when none came.
    bool ExchangeAscii(std::string& reply);
    bool ExchangeModbus(std::string& reply);

    DECLARE_MESSAGE_MAP()
};
