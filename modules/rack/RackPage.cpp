#include "RackPage.h"

#include "HexText.h"
#include "RackModbusTables.h"
#include "RackState.h"

namespace {

constexpr WORD kTimeoutMs = 100;

} // namespace

bool RackExchange(int port, const std::string& requestText, std::string& replyText)
{
    std::vector<BYTE> request = HexTextToBytes(requestText);
    std::vector<BYTE> reply;
    bool answered = ExchangeRtu(static_cast<BYTE>(port), request, kTimeoutMs, reply);
    replyText = BytesToHexText(reply);
    return answered && RtuReplyAnswers(request, reply);
}

void CRackPage::OnTimer(UINT_PTR)
{
    if (Serves(RackState().CurrentModule())) PollStep();
}

void CRackPage::InitPage(UINT nPeriodMs, int nFirstCommand)
{
    m_pMainFrame = GetMainFrame();
    m_strAddress = m_pMainFrame->m_strRackParams[kAddress];
    m_nPort = m_pMainFrame->m_nComPort;
    m_nCommand = nFirstCommand;
    SetTimer(m_nTimerId, nPeriodMs);
}

void CRackPage::Exchange(const std::string& body)
{
    m_nLastResult = RackExchange(m_nPort, m_strAddress + body, m_strRespond) ? 1 : -1;
}

std::string CRackPage::LastReplyDigits() const
{
    return m_nLastResult == 1 ? ReplyDigits(m_strRespond, false) : "ERROR";
}
