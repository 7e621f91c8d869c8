#include "RackDlg.h"

#include "Strings.h"

#include <utility>

namespace {

SModuleDescriptor RackDescriptor(UINT nIDTemplate, ModuleParamBlock CMainFrame::*slotBlock)
{
    SModuleDescriptor descriptor;
    descriptor.nTemplate = nIDTemplate;
    descriptor.pBlock = slotBlock;
    descriptor.eLine = slotBlock ? ELineOwnership::Borrowed : ELineOwnership::Own;
    return descriptor;
}

} // namespace

CRackDlg::CRackDlg(UINT nIDTemplate, ModuleParamBlock CMainFrame::*slotBlock)
    : CModuleDlg(RackDescriptor(nIDTemplate, slotBlock))
{
}

void CRackDlg::InitRackContext()
{
    g_bDialogClosed = 0;
    m_pMainFrame = GetMainFrame();
    const RackParamBlock& rack = m_pMainFrame->m_strRackParams;
    m_strAddress = rack[kAddress];
    m_bChecksum = ChecksumOn(rack[kCheck]);
    m_nPort = m_pMainFrame->m_nComPort;
    if (!OwnsLine()) m_strSlot = SlotBlock()[kSlotNumber];
}

std::string CRackDlg::SlotRequest(char lead, const std::string& body) const
{
    return Request(lead, "S" + m_strSlot + body);
}

std::string CRackDlg::SlotFunctionRequest(const std::string& body) const
{
    return Request('$', "XS" + m_strSlot + body);
}

std::optional<std::string> CRackDlg::DataReaching(char lead, size_t length) const
{
    return ReplyDataOf(lead, [length](const std::string& data) {
        return data.size() >= length && data.size() <= length + kReplyWiderBy;
    });
}

void CRackDlg::PollStep()
{
    TakeReply();
    int step = std::exchange(m_nLastCommand, kNone);
    if (step != kNone && !ReadReply(step)) return;
    // The operator's request, where one waits, goes out in place of the one the reply chose.
    ApplyQueuedCommand();
    std::string request = StepRequest();
    if (request.empty()) return;
    m_nLastCommand = m_nCommand;
    SendAscii(request, kTickTimeout);
}
