#include "RackPage.h"

#include "RackState.h"

namespace {

constexpr WORD kTimeoutMs = 100;

} // namespace

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
    SendRtu(m_strAddress + body, kTimeoutMs);
}

void CRackPage::ExchangeWrite(const std::string& body)
{
    m_strWriteRequest = m_strAddress + body;
    SendRtu(m_strWriteRequest, kTimeoutMs);
}

void CRackPage::ApplyWriteAfterRead(bool bLastWasWrite)
{
    if (!bLastWasWrite) ApplyQueuedCommand();
}

std::string CRackPage::LastReplyDigits() const
{
    return RtuDataCame() ? ModbusDataText() : "ERROR";
}
