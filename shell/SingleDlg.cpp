#include "SingleDlg.h"

#include "AsciiCommand.h"
#include "Clock.h"
#include "HexText.h"
#include "LinkTable.h"
#include "MainFrm.h"
#include "Resource.h"
#include "Strings.h"

#include <cstring>
#include <string_view>
#include <vector>

namespace {

constexpr std::string_view kAsciiLeads = "$@~#%";
constexpr DWORD kRtuOpenTimeout = 200;
constexpr BYTE kDataBits = 8;
constexpr const char* kNotHexBytes = "Not Hex Bytes!";

} // namespace

BEGIN_MESSAGE_MAP(CSingleDlg, CDialog)
ON_BN_CLICKED(IDC_CHECKSUM_ENABLE, OnChecksumEnable)
ON_BN_CLICKED(IDC_CHECKSUM_DISABLE, OnChecksumDisable)
ON_BN_CLICKED(IDOK, OnRun)
END_MESSAGE_MAP()

CSingleDlg::CSingleDlg(CWnd* pParent) : CDialog(IDD_SINGLE, pParent) {}

BOOL CSingleDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    g_bDialogClosed = 0;
    m_pMainFrame = GetMainFrame();
    // Only COM1 to COM9 are listed: a higher port leaves the list without a choice.
    m_cmbPort.SetCurSel(m_pMainFrame ? m_pMainFrame->m_nComPort - 1 : -1);
    m_cmbBaud.SetCurSel(3);
    m_cmbParity.SetCurSel(0);
    CheckRadioButton(IDC_CHECKSUM_ENABLE, IDC_CHECKSUM_DISABLE, IDC_CHECKSUM_DISABLE);
    // Only what the operator types is limited: a long reply is still shown whole.
    GetDlgItemAs<CEdit>(IDC_COMMAND)->SetLimitText(kMaxCommandChars);
    return TRUE;
}

void CSingleDlg::DoDataExchange(CDataExchange* pDX)
{
    CDialog::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_PARITY, m_cmbParity);
    DDX_Control(pDX, IDC_PORT, m_cmbPort);
    DDX_Control(pDX, IDC_BAUD, m_cmbBaud);
    DDX_Control(pDX, IDC_HISTORY, m_lstHistory);
    DDX_Text(pDX, IDC_COMMAND, m_strCommand);
    DDX_Text(pDX, IDC_RESPOND, m_strRespond);
}

void CSingleDlg::OnChecksumEnable()
{
    m_bChecksum = true;
}
void CSingleDlg::OnChecksumDisable()
{
    m_bChecksum = false;
}

void CSingleDlg::OnCancel()
{
    g_bDialogClosed = 1;
    CDialog::OnCancel();
}

void CSingleDlg::OnRun()
{
    std::string strBaud = m_cmbBaud.GetWindowText();
    CWnd* pRun = GetDlgItem(IDOK);
    pRun->EnableWindow(FALSE);
    m_nPort = m_cmbPort.GetCurSel() + 1;
    UpdateData(TRUE);
    m_strRespond.clear();
    m_lstHistory.InsertString(0, "--> " + m_strCommand);
    m_dwBaud = static_cast<DWORD>(StrToLong(strBaud, 10));

    const bool bAscii = IsAsciiCommand();
    // Read as bytes anyway, a typo would go out as a write to another register or to every module.
    if (!bAscii && !IsHexBytesText(m_strCommand)) {
        ShowFailure(kNotHexBytes);
        pRun->EnableWindow(TRUE);
        return;
    }
    if (!OpenLine(bAscii)) {
        MessageBox("Open Com Error!", nullptr, MB_OK);
        pRun->EnableWindow(TRUE);
        return;
    }
    m_dwTicks = GetTickCount();
    std::string strReply;
    if (bAscii ? ExchangeAscii(strReply) : ExchangeModbus(strReply)) {
        m_strRespond = strReply;
        m_dwTicks = GetTickCount() - m_dwTicks;
        std::string strTime = Format("%d ms", static_cast<int>(m_dwTicks));
        UpdateData(FALSE);
        // A Modbus reply carries no time, and its text already begins with a blank.
        std::string strLine = bAscii ? "    " + strReply + "   " + strTime : "   " + strReply;
        m_lstHistory.InsertString(1, strLine);
    } else {
        ShowFailure("No Respond!");
        m_serialPort.StopReceiver();
    }
    pRun->EnableWindow(TRUE);
    CloseLine(bAscii);
}

bool CSingleDlg::IsAsciiCommand() const
{
    return !m_strCommand.empty() && kAsciiLeads.find(m_strCommand[0]) != std::string_view::npos;
}

void CSingleDlg::ShowFailure(const std::string& text)
{
    m_strRespond = text;
    UpdateData(FALSE);
    m_lstHistory.InsertString(1, "    " + text);
}

bool CSingleDlg::OpenLine(bool bAscii)
{
    BYTE port = static_cast<BYTE>(m_nPort);
    if (bAscii) {
        BYTE parity = static_cast<BYTE>(m_cmbParity.GetCurSel());
        return Link().Open_ComAscii(port, m_dwBaud, kDataBits, parity, 0) == 0;
    }
    // The RTU line always runs without parity, whatever the Parity list shows.
    return Link().Open_ComRtu(port, kRtuOpenTimeout, m_dwBaud, kDataBits, 0, 1) == 1;
}

void CSingleDlg::CloseLine(bool bAscii)
{
    BYTE port = static_cast<BYTE>(m_nPort);
    if (bAscii)
        Link().Close_ComAscii(port);
    else
        Link().Close_ComRtu(port);
}

bool CSingleDlg::ExchangeAscii(std::string& reply)
{
    std::string strText = WithoutCr(FrameAsciiCommand(m_strCommand, m_bChecksum));
    WORD length = 0;
    if (Link().Send_Receive_Ascii(static_cast<BYTE>(m_nPort), strText.c_str(), m_szReply.data(),
                                  kTimeoutMs, 0, &length) != 0) {
        return false;
    }
    reply.assign(m_szReply.data(), strnlen(m_szReply.data(), m_szReply.size()));
    return true;
}

bool CSingleDlg::ExchangeModbus(std::string& reply)
{
    // A request longer than the link takes is refused by it unsent and shows as no reply; the
    // Command field's limit keeps every typed request within it.
    std::vector<BYTE> bytes;
    if (!ExchangeRtu(static_cast<BYTE>(m_nPort), HexTextToBytes(m_strCommand), kTimeoutMs, bytes)) {
        return false;
    }
    reply = BytesToHexText(bytes);
    return true;
}
