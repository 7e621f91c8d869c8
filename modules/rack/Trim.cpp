#include "Trim.h"

#include "RackIds.h"

namespace {

constexpr UINT kPollPeriod = 200;

} // namespace

BEGIN_MESSAGE_MAP(CTrim, CRackDlg)
ON_BN_CLICKED(rack_trim::IDC_DOWN10, OnStep<kDown10>)
ON_BN_CLICKED(rack_trim::IDC_DOWN1, OnStep<kDown1>)
ON_BN_CLICKED(rack_trim::IDC_UP1, OnStep<kUp1>)
ON_BN_CLICKED(rack_trim::IDC_UP10, OnStep<kUp10>)
ON_BN_CLICKED(rack_trim::IDC_SAVE, OnStep<kSave>)
END_MESSAGE_MAP()

CTrim::CTrim(const STrimVariant& variant)
    : CRackDlg(variant.nTemplate, &CMainFrame::m_strSlotAoParams), m_variant(variant)
{
}

BOOL CTrim::OnInitDialog()
{
    CDialog::OnInitDialog();
    InitRackContext();
    m_strChannel = SlotBlock()[kSlotModule];
    SetTimer(m_nTimerId, kPollPeriod);
    return TRUE;
}

// Replies to the step requests are not read: the chosen step goes out again on every tick.
bool CTrim::ReadReply(int step)
{
    if (step != kSave) return true;
    TickMessageBox(Acknowledged() ? m_variant.pszSaved : m_variant.pszFailed, "Setting",
                   MB_ICONEXCLAMATION);
    OnCancel();
    return false;
}

std::string CTrim::StepRequest()
{
    if (m_nCommand < kDown10 || m_nCommand > kSave) return {};
    std::string body =
        m_nCommand == kSave ? m_variant.pszSaveBody : kTrimStepBodies[m_nCommand - kDown10];
    return SlotRequest('$', "C" + m_strChannel + body);
}
