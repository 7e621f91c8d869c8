#include "ModuleDlg.h"

#include "AsciiCommand.h"
#include "HexText.h"
#include "LinkTable.h"
#include "Strings.h"

#include <algorithm>
#include <cctype>

CModuleDlg::CModuleDlg(UINT nIDTemplate, ModuleParamBlock CMainFrame::*block, ELinkKind link)
    : CDialog(nIDTemplate), m_pBlock(block), m_eLink(link)
{
}

void CModuleDlg::OnTimer(UINT_PTR)
{
    PollStep();
}

void CModuleDlg::OnCancel()
{
    g_bDialogClosed = 1;
    KillTimer(m_nTimerId);
    CloseLine();
    CDialog::OnCancel();
}

const ModuleParamBlock& CModuleDlg::Block() const
{
    return GetMainFrame()->*m_pBlock;
}

void CModuleDlg::InitFromBlock(int nAddressBox)
{
    g_bDialogClosed = 0;
    m_pMainFrame = GetMainFrame();
    m_strAddress = Block()[kAddress];
    m_strOldAddress = m_strAddress;
    m_strModuleName = Block()[kModule];
    m_strAddressDecimal = Format("%d", static_cast<short>(StrToLong(m_strAddress, 16)));
    UpdateData(FALSE);
    SetDlgItemText(nAddressBox, m_strAddressDecimal);
}

bool CModuleDlg::OpenAsciiLine(DWORD baud)
{
    int port = m_pMainFrame->m_nComPort;
    if (Link().Open_ComAscii(static_cast<BYTE>(port), baud, 8,
                             static_cast<BYTE>(m_pMainFrame->m_nParity), 0) != 0) {
        MessageBox(kOpenComError);
        return false;
    }
    m_nPort = port;
    m_bOpenChecksum = m_bChecksum;
    return true;
}

bool CModuleDlg::OpenRtuLine(DWORD baud, int parity)
{
    int port = m_pMainFrame->m_nComPort;
    if (Link().Open_ComRtu(static_cast<BYTE>(port), 100, baud, 8, static_cast<BYTE>(parity), 1) !=
        1) {
        MessageBox(kOpenComError);
        return false;
    }
    m_nPort = port;
    m_strAddress = Format("%02X", static_cast<unsigned>(StrToLong(m_strAddress, 16) & 0xFF));
    return true;
}

void CModuleDlg::CloseLine()
{
    if (m_eLink == ELinkKind::Ascii)
        Link().Close_ComAscii(static_cast<BYTE>(m_nPort));
    else
        Link().Close_ComRtu(static_cast<BYTE>(m_nPort));
}

void CModuleDlg::QueueCommand(int nCommand)
{
    m_nCommand = nCommand;
    m_nQueuedCommand = nCommand;
}

bool CModuleDlg::ApplyQueuedCommand()
{
    if (!m_nQueuedCommand) return false;
    m_nCommand = *m_nQueuedCommand;
    m_nQueuedCommand.reset();
    return true;
}

std::string CModuleDlg::Request(char lead, const std::string& body) const
{
    return Request(lead, body, m_bChecksum != 0);
}

std::string CModuleDlg::Request(char lead, const std::string& body, bool checksum) const
{
    return AsciiCommand(lead, m_strAddress, body, checksum);
}

bool CModuleDlg::SendAscii(const std::string& framed, WORD timeoutMs)
{
    WORD length = 0;
    m_szReply[0] = '\0';
    bool answered = Link().Send_Receive_Ascii(static_cast<BYTE>(m_nPort), WithoutCr(framed).c_str(),
                                              m_szReply, timeoutMs, 0, &length) == 0;
    m_szReply[sizeof m_szReply - 1] = '\0';
    m_nLastResult = answered ? 1 : -1;
    return answered;
}

bool CModuleDlg::SendRtu(const std::string& requestText, WORD timeoutMs)
{
    std::vector<BYTE> reply;
    bool answered =
        ExchangeRtu(static_cast<BYTE>(m_nPort), HexTextToBytes(requestText), timeoutMs, reply);
    m_strRtuReply = BytesToHexText(reply);
    m_nLastResult = answered ? 1 : -1;
    return answered;
}

void CModuleDlg::TakeReply()
{
    if (m_nLastResult != 1) {
        m_strReply = "ERROR";
    } else if (m_eLink == ELinkKind::Rtu) {
        m_strReply = m_strRtuReply;
    } else {
        m_strReply = m_szReply;
        if (m_bChecksum == 1)
            m_strReply = Left(m_strReply, static_cast<int>(m_strReply.size()) - 2);
    }
}

std::string CModuleDlg::ModbusDataText() const
{
    std::string digits = Remove(m_strReply, ' ');
    return Mid(digits, 6, static_cast<int>(digits.size()) - 10);
}

bool CModuleDlg::IsModbusException() const
{
    std::string digits = Remove(m_strReply, ' ');
    BYTE high = HexCharToValue(CharAt(digits, 2));
    BYTE low = HexCharToValue(CharAt(digits, 3));
    return high != 0xCC && low != 0xCC && (high & 0x8) != 0;
}

std::optional<std::string> CModuleDlg::SelectedText(int nListBox) const
{
    auto* box = GetDlgItemAs<CComboBox>(nListBox);
    int row = box ? box->GetCurSel() : -1;
    if (row < 0) return std::nullopt;
    return box->GetLBText(row);
}

std::optional<int> CModuleDlg::ReadTypedAddress(int nAddressBox)
{
    std::string text = Trim(GetDlgItemText(nAddressBox));
    bool digits = !text.empty() && text.size() <= 3 &&
                  std::all_of(text.begin(), text.end(),
                              [](char c) { return std::isdigit(static_cast<unsigned char>(c)); });
    long value = digits ? StrToLong(text, 10) : -1;
    if (value < 0 || value > 255) {
        MessageBox(kAddressOutOfRange, "", MB_ICONEXCLAMATION);
        return std::nullopt;
    }
    return static_cast<int>(value);
}

void CModuleDlg::RefuseAddressZero()
{
    MessageBox(kAddressZeroRefused, "", MB_ICONEXCLAMATION);
}

namespace {

template <class Target> void CopyTexts(const CModuleDlg::Texts& from, Target& to)
{
    for (size_t i = 0; i < from.size() && i < to.size(); ++i) {
        if (from[i]) to[i] = *from[i];
    }
}

} // namespace

void CModuleDlg::WriteBack(const Texts& rowTexts, const Texts& params, int CMainFrame::*flag)
{
    CopyTexts(rowTexts, m_pMainFrame->m_strNewRowText);
    CopyTexts(params, m_pMainFrame->m_strNewParams);
    if (flag) m_pMainFrame->*flag = 1;
}

int CModuleDlg::TickMessageBox(const std::string& text, const char* caption, UINT nType)
{
    KillTimer(m_nTimerId);
    return MessageBox(text, caption, nType);
}

void CModuleDlg::ShowConfigurationResult(bool bAccepted)
{
    TickMessageBox(bAccepted ? kConfigurationOk : kConfigurationError, "Setting",
                   MB_ICONEXCLAMATION);
}
