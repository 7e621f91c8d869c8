// The rack window's tab control: it owns the main page and the analog and digital slot pages,
// and shows the page of the selected tab's slot.
#pragma once

#include "Controls.h"

#include <memory>

class CV1333Main;
class CV1384HM;
class CV1333RTUIO;

class CTabChange : public CTabCtrl {
public:
    CTabChange();
    ~CTabChange() override;

    void OnSelchange();
    // Where a page lies inside the tab control, by how far each edge moves in.
    void PlacePage(CWnd& page, int left, int top, int right, int bottom);

    std::unique_ptr<CV1333Main> m_pMainPage;
    std::unique_ptr<CV1384HM> m_pAnalogPage;
    std::unique_ptr<CV1333RTUIO> m_pDigitalPage;

    DECLARE_MESSAGE_MAP()
};
