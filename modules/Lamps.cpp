#include "Lamps.h"

#include "Resource.h"

void CLamps::Attach(CDialog& dlg, const std::vector<int>& ids)
{
    m_pDlg = &dlg;
    m_ids = ids;
    m_rects.clear();
    for (int id : m_ids) {
        CRect rect;
        // A lamp the template lacks gets an empty rectangle, which no click hits.
        CWnd* lamp = dlg.GetDlgItem(id);
        if (!lamp) {
            m_rects.push_back(rect);
            continue;
        }
        lamp->GetWindowRect(&rect);
        dlg.ScreenToClient(&rect);
        m_rects.push_back(rect);
    }
}

int CLamps::HitTest(CPoint point) const
{
    for (size_t i = 0; i < m_rects.size(); ++i) {
        const CRect& r = m_rects[i];
        if (point.x > r.left && point.x < r.right && point.y > r.top && point.y < r.bottom) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

void CLamps::Show(int lamp, bool on)
{
    ShowIcon(lamp, on ? IDI_LAMP_ON : IDI_LAMP_OFF);
}

void CLamps::ShowIcon(int lamp, HICON icon)
{
    if (lamp < 0 || lamp >= Count()) return;
    if (auto* icon_static = m_pDlg->GetDlgItemAs<CStatic>(m_ids[static_cast<size_t>(lamp)]))
        icon_static->SetIcon(icon);
}
