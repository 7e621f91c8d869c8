#include "V1333Main.h"

#include "RackModbusIds.h"
#include "RackState.h"

namespace {

constexpr UINT kPeriodMs = 500;

} // namespace

CV1333Main::CV1333Main(CWnd*) : CDialog(IDD_V1333MAIN) {}

void CV1333Main::DoDataExchange(CDataExchange* pDX)
{
    for (size_t k = 0; k < kRackSlots; ++k) {
        DDX_Text(pDX, kRackMainModuleIds[k], m_strModule[k]);
        DDX_Text(pDX, kRackMainStartIds[k], m_strStart[k]);
        DDX_Text(pDX, kRackMainEndIds[k], m_strEnd[k]);
    }
}

BOOL CV1333Main::OnInitDialog()
{
    CDialog::OnInitDialog();
    m_pMainFrame = GetMainFrame();
    UpdateData(FALSE);
    SetTimer(m_nTimerId, kPeriodMs);
    return TRUE;
}

void CV1333Main::OnTimer(UINT_PTR)
{
    const CRackState& rack = RackState();
    if (rack.nCurrentSlot != -1) return;
    m_strModule = rack.strSlotModule;
    m_strStart = rack.strSlotStart;
    m_strEnd = rack.strSlotEnd;
    UpdateData(FALSE);
}
