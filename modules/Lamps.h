// Lamps: icon statics that show an output's or input's state. A click on the dialog hits a lamp
// when it lies strictly inside the lamp's rectangle in the dialog's client coordinates.
#pragma once

#include "Dialog.h"

#include <vector>

class CLamps {
public:
    // Takes the rectangles of the lamps with these ids, in this order.
    void Attach(CDialog& dlg, const std::vector<int>& ids);
    // The index of the lamp under point, -1 when the point is on none.
    int HitTest(CPoint point) const;
    // Red for on, white for off.
    void Show(int lamp, bool on);
    void ShowIcon(int lamp, HICON icon);
    int Count() const { return static_cast<int>(m_ids.size()); }

private:
    CDialog* m_pDlg = nullptr;
    std::vector<int> m_ids;
    std::vector<CRect> m_rects;
};
