#include "TabChange.h"

#include "RackState.h"
#include "V1333Main.h"
#include "V1333RTUIO.h"
#include "V1384HM.h"

BEGIN_MESSAGE_MAP(CTabChange, CTabCtrl)
ON_NOTIFY_REFLECT(TCN_SELCHANGE, OnSelchange)
END_MESSAGE_MAP()

CTabChange::CTabChange() = default;
CTabChange::~CTabChange() = default;

void CTabChange::PlacePage(CWnd& page, int left, int top, int right, int bottom)
{
    CRect rect;
    GetClientRect(&rect);
    rect.left += left;
    rect.top += top;
    rect.right -= right;
    rect.bottom -= bottom;
    page.MoveWindow(rect.left, rect.top, rect.Width(), rect.Height());
    page.ShowWindow(SW_SHOW);
}

void CTabChange::OnSelchange()
{
    CRackState& rack = RackState();
    int tab = GetCurSel();
    if (tab < 0 || tab > kRackSlots) return;
    auto place = [this](CWnd& page) { PlacePage(page, 10, 25, 20, 20); };
    auto hide = [](CWnd* page) {
        if (page) page->ShowWindow(SW_HIDE);
    };
    if (tab == 0) {
        hide(m_pAnalogPage.get());
        hide(m_pDigitalPage.get());
        rack.nCurrentSlot = -1;
        if (m_pMainPage) place(*m_pMainPage);
        return;
    }
    rack.nCurrentSlot = tab - 1;
    hide(m_pMainPage.get());
    const std::string& module = rack.CurrentModule();
    if (IsAnalogPageModule(module) && m_pAnalogPage)
        place(*m_pAnalogPage);
    else
        hide(m_pAnalogPage.get());
    if (IsDigitalPageModule(module) && m_pDigitalPage)
        place(*m_pDigitalPage);
    else
        hide(m_pDigitalPage.get());
}
