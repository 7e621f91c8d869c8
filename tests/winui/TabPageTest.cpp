// Tab controls with pages: child dialogs created inside a tab control, the tab control's own
// handling of its selection change, icon push buttons, and pages ending with their window.
#include "UiDriver.h"
#include "WinUi.h"

#include <QApplication>
#include <QKeyEvent>
#include <QTabBar>
#include <gtest/gtest.h>
#include <memory>

namespace {

enum {
    IDD_HOST = 9101,
    IDD_PAGE = 9102,
    IDC_TABS = 200,
    IDC_PAGE_GO = 201,
    IDC_PAGE_LAMP = 202,
};

const bool g_registered = [] {
    RegisterDialogTemplate({IDD_HOST,
                            "Dialog",
                            200,
                            150,
                            {
                                {IDC_TABS, CtlKind::Tab, "", 5, 5, 190, 120},
                                {IDCANCEL, CtlKind::Button, "Cancel", 140, 130, 50, 14},
                            }});
    RegisterDialogTemplate({IDD_PAGE,
                            "",
                            100,
                            60,
                            {
                                {IDC_PAGE_GO, CtlKind::Button, "Go", 10, 10, 40, 14},
                                {IDC_PAGE_LAMP, CtlKind::Button, "", 60, 10, 22, 13},
                            },
                            true});
    return true;
}();

class CPageDlg : public CDialog {
public:
    CPageDlg() : CDialog(IDD_PAGE) {}
    BOOL OnInitDialog() override
    {
        CDialog::OnInitDialog();
        SetTimer(7, 100);
        return TRUE;
    }
    void OnDestroy() override { ++m_nDestroyed; }
    void OnGo() { ++m_nGo; }
    int m_nGo = 0;
    int m_nDestroyed = 0;
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CPageDlg, CDialog)
ON_BN_CLICKED(IDC_PAGE_GO, OnGo)
END_MESSAGE_MAP()

// A tab control that switches pages itself.
class CPagedTabs : public CTabCtrl {
public:
    void OnSelchange() { m_selections.push_back(GetCurSel()); }
    std::vector<int> m_selections;
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CPagedTabs, CTabCtrl)
ON_NOTIFY_REFLECT(TCN_SELCHANGE, OnSelchange)
END_MESSAGE_MAP()

class CHostDlg : public CDialog {
public:
    CHostDlg() : CDialog(IDD_HOST) {}
    void DoDataExchange(CDataExchange* pDX) override { DDX_Control(pDX, IDC_TABS, m_tabs); }
    BOOL OnInitDialog() override
    {
        CDialog::OnInitDialog();
        m_tabs.InsertItem(0, "Main");
        m_tabs.InsertItem(1, "Slot0");
        m_page = std::make_unique<CPageDlg>();
        m_page->Create(IDD_PAGE, &m_tabs);
        return TRUE;
    }
    void OnTabsInDialog() { ++m_nDialogSaw; }
    CPagedTabs m_tabs;
    std::unique_ptr<CPageDlg> m_page;
    int m_nDialogSaw = 0;
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CHostDlg, CDialog)
ON_NOTIFY(TCN_SELCHANGE, IDC_TABS, OnTabsInDialog)
END_MESSAGE_MAP()

class TabPages : public ::testing::Test {
protected:
    void SetUp() override { host.Create(IDD_HOST); }
    CHostDlg host;
};

} // namespace

TEST_F(TabPages, APageIsAHiddenChildOfTheTabControlUntilShown)
{
    QWidget* page = host.m_page->GetWidget();
    ASSERT_NE(page, nullptr);
    EXPECT_FALSE(page->isWindow());
    EXPECT_EQ(page->parentWidget(), host.m_tabs.GetWidget());
    EXPECT_FALSE(host.m_page->IsWindowVisible());
    EXPECT_FALSE(ui::Click(*host.m_page, IDC_PAGE_GO)); // hidden: the operator cannot reach it

    CRect rect;
    host.m_tabs.GetClientRect(&rect);
    host.m_page->MoveWindow(rect.left + 10, rect.top + 25, rect.Width() - 30, rect.Height() - 45);
    host.m_page->ShowWindow(SW_SHOW);
    EXPECT_TRUE(host.m_page->IsWindowVisible());
    EXPECT_EQ(page->geometry(), QRect(10, 25, rect.Width() - 30, rect.Height() - 45));
    EXPECT_TRUE(ui::Click(*host.m_page, IDC_PAGE_GO));
    EXPECT_EQ(host.m_page->m_nGo, 1);
}

TEST_F(TabPages, TheTabControlHandlesItsOwnSelectionChangeAndOnlyTheOperators)
{
    host.m_tabs.SetCurSel(1); // the program's own choice notifies nobody
    EXPECT_TRUE(host.m_tabs.m_selections.empty());
    host.m_tabs.SetCurSel(0);
    ASSERT_TRUE(ui::SelectTab(host, IDC_TABS, 1));
    EXPECT_EQ(host.m_tabs.m_selections, std::vector<int>{1});
    // Handled by the control, the notification does not reach the dialog's map as well.
    EXPECT_EQ(host.m_nDialogSaw, 0);
    EXPECT_FALSE(ui::SelectTab(host, IDC_TABS, 2));
}

TEST_F(TabPages, EscapeInAPageIsTheWindowsEscape)
{
    host.m_page->ShowWindow(SW_SHOW);
    QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
    QApplication::sendEvent(host.m_page->GetWidget(), &escape);
    EXPECT_FALSE(host.IsRunning());
}

TEST_F(TabPages, PagesEndWithTheirWindow)
{
    ASSERT_TRUE(host.m_page->IsTimerActive(7));
    host.DestroyWindow();
    EXPECT_EQ(host.m_page->m_nDestroyed, 1);
    EXPECT_EQ(host.m_page->GetWidget(), nullptr);
    EXPECT_FALSE(host.m_page->IsTimerActive(7));
    EXPECT_FALSE(host.m_page->FireTimer(7));
    EXPECT_EQ(host.m_tabs.GetWidget(), nullptr);
}

TEST_F(TabPages, AnIconButtonShowsItsIcon)
{
    auto* lamp = host.m_page->GetDlgItemAs<CButton>(IDC_PAGE_LAMP);
    ASSERT_NE(lamp, nullptr);
    EXPECT_EQ(lamp->GetIcon(), 0);
    EXPECT_EQ(lamp->SetIcon(170), 0);
    EXPECT_EQ(lamp->SetIcon(171), 170);
    EXPECT_EQ(lamp->GetIcon(), 171);
    EXPECT_EQ(lamp->GetWindowText(), "");
}
