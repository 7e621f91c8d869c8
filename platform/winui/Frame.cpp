#include "Frame.h"

#include "Resources.h"
#include "Shell.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QLabel>
#include <QMainWindow>
#include <QMenuBar>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <QScreen>
#include <QShortcut>
#include <QStatusBar>
#include <QStyle>
#include <QToolBar>

#include <filesystem>
#include <fstream>

namespace {

CWinApp* g_pApp = nullptr;
CFrameWnd* g_pMainWnd = nullptr;

// String-table ids of the idle prompt and the status-bar indicators.
inline constexpr UINT AFX_IDS_IDLEMESSAGE = 0xE001;

class CFrameWidget : public QMainWindow {
public:
    explicit CFrameWidget(CFrameWnd* owner) : m_pOwner(owner) {}
    void Release() { m_pOwner = nullptr; }

protected:
    void closeEvent(QCloseEvent* event) override
    {
        if (m_pOwner) m_pOwner->OnClose();
        event->accept();
        // Closing the main window ends the program, modeless dialogs included.
        if (m_pOwner && AfxGetMainWnd() == m_pOwner) QCoreApplication::quit();
    }

private:
    CFrameWnd* m_pOwner;
};

class CViewWidget : public QWidget {
public:
    explicit CViewWidget(CView* view) : m_pView(view)
    {
        setAutoFillBackground(true);
        QPalette p = palette();
        p.setColor(QPalette::Window, Qt::white);
        setPalette(p);
    }
    void Release() { m_pView = nullptr; }

protected:
    void paintEvent(QPaintEvent*) override
    {
        if (!m_pView) return;
        QPainter painter(this);
        CDC dc(&painter);
        m_pView->OnDraw(&dc);
    }

private:
    CView* m_pView;
};

struct StandardButton {
    UINT nID;
    QStyle::StandardPixmap icon;
    const char* tip;
};

const StandardButton kStandardButtons[] = {
    {ID_FILE_NEW, QStyle::SP_FileIcon, "New"},
    {ID_FILE_OPEN, QStyle::SP_DialogOpenButton, "Open"},
    {ID_FILE_SAVE, QStyle::SP_DialogSaveButton, "Save"},
    {ID_EDIT_CUT, QStyle::SP_DialogDiscardButton, "Cut"},
    {ID_EDIT_COPY, QStyle::SP_FileDialogContentsView, "Copy"},
    {ID_EDIT_PASTE, QStyle::SP_FileDialogDetailedView, "Paste"},
    {ID_FILE_PRINT, QStyle::SP_ComputerIcon, "Print"},
    {ID_APP_ABOUT, QStyle::SP_MessageBoxQuestion, "About"},
};

const StandardButton* FindStandardButton(UINT nID)
{
    for (const StandardButton& b : kStandardButtons) {
        if (b.nID == nID) return &b;
    }
    return nullptr;
}

// A string-table prompt "status text\ntooltip": the part before the line end.
QString Prompt(UINT nID, int part)
{
    QString text = QString::fromStdString(LoadString(nID));
    return text.section('\n', part, part);
}

} // namespace

// ---- application

CWinApp::CWinApp()
{
    g_pApp = this;
    if (!QCoreApplication::instance()) return;
    QStringList arguments = QCoreApplication::arguments();
    for (qsizetype i = 1; i < arguments.size(); ++i)
        m_vecArguments.push_back(arguments[i].toStdString());
}

CWinApp::~CWinApp()
{
    if (g_pApp == this) g_pApp = nullptr;
}

int CWinApp::Run()
{
    return QApplication::exec();
}

void CWinApp::ParseCommandLine(CCommandLineInfo& info) const
{
    for (const std::string& argument : m_vecArguments) {
        if (argument.empty() || argument[0] == '-') continue;
        info.m_nShellCommand = CCommandLineInfo::FileOpen;
        info.m_strFileName = argument;
        return;
    }
}

BOOL CWinApp::ProcessShellCommand(const CCommandLineInfo& info)
{
    CFrameWnd* frame = AfxGetMainWnd();
    CDocument* document = frame ? frame->GetActiveDocument() : nullptr;
    if (!document) return FALSE;
    if (info.m_nShellCommand == CCommandLineInfo::FileNew) return document->OnNewDocument();
    std::error_code error;
    std::ifstream in(info.m_strFileName, std::ios::binary);
    if (!std::filesystem::is_regular_file(info.m_strFileName, error) || !in) {
        AfxMessageBox("Failed to open document.\n" + info.m_strFileName, MB_ICONEXCLAMATION);
        return FALSE;
    }
    std::string data((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    document->Serialize(false, data);
    return TRUE;
}

CWinApp* AfxGetApp()
{
    return g_pApp;
}
CFrameWnd* AfxGetMainWnd()
{
    return g_pMainWnd;
}
void AfxSetMainWnd(CFrameWnd* frame)
{
    g_pMainWnd = frame;
}
std::string AfxGetAppName()
{
    return LoadString(AFX_IDS_APP_TITLE);
}

// ---- device context, document, view

bool CDC::IsPrinting() const
{
    return m_pPainter && m_pPainter->device() &&
           m_pPainter->device()->devType() == QInternal::Printer;
}

void CDocument::Serialize(bool, std::string&) {}

CView::~CView()
{
    if (auto* w = static_cast<CViewWidget*>(m_pWidget)) w->Release();
}

void CView::OnFilePrint()
{
    QPrinter printer;
    QPrintDialog dialog(&printer, m_pWidget);
    if (dialog.exec() != QDialog::Accepted) return;
    QPainter painter(&printer);
    CDC dc(&painter);
    OnDraw(&dc);
}

// ---- frame

BEGIN_MESSAGE_MAP(CFrameWnd, CWnd)
ON_COMMAND(ID_FILE_NEW, OnFileNew)
ON_COMMAND(ID_FILE_OPEN, OnFileOpen)
ON_COMMAND(ID_FILE_SAVE, OnFileSave)
ON_COMMAND(ID_FILE_PRINT, OnFilePrint)
ON_COMMAND(ID_APP_EXIT, OnAppExit)
END_MESSAGE_MAP()

CFrameWnd::CFrameWnd() = default;

CFrameWnd::~CFrameWnd()
{
    if (g_pMainWnd == this) g_pMainWnd = nullptr;
    if (auto* w = static_cast<CFrameWidget*>(m_pWidget)) {
        w->Release();
        w->deleteLater();
    }
}

BOOL CFrameWnd::PreCreateWindow(CREATESTRUCT&)
{
    return TRUE;
}

int CFrameWnd::OnCreate()
{
    return 0;
}

bool CFrameWnd::LoadFrame(UINT nIDResource, const std::vector<MenuTemplate>& menus, CView* pView,
                          CDocument* pDoc)
{
    // The default size and place of a new top-level window: most of the screen, a little in.
    int screenCx = GetSystemMetrics(SM_CXSCREEN);
    int screenCy = GetSystemMetrics(SM_CYSCREEN);
    CREATESTRUCT cs{screenCx / 8, screenCy / 8, screenCx * 3 / 4, screenCy * 3 / 4};
    if (!PreCreateWindow(cs)) return false;

    auto* window = new CFrameWidget(this);
    m_pWidget = window;
    window->setGeometry(cs.x, cs.y, cs.cx, cs.cy);
    window->setWindowIcon(IconFor(static_cast<HICON>(nIDResource)));
    for (const MenuTemplate& top : menus) {
        QMenu* menu = window->menuBar()->addMenu(QString::fromStdString(top.text));
        for (const MenuItemTemplate& item : top.items) {
            if (item.nID == ID_SEPARATOR) {
                menu->addSeparator();
                continue;
            }
            QAction* action = menu->addAction(QString::fromStdString(item.text));
            action->setStatusTip(Prompt(item.nID, 0));
            UINT id = item.nID;
            QObject::connect(action, &QAction::triggered, window, [this, id] { RouteCommand(id); });
        }
    }
    m_pView = pView;
    m_pDocument = pDoc;
    if (pView) {
        pView->m_pDocument = pDoc;
        auto* viewWidget = new CViewWidget(pView);
        pView->Attach(viewWidget);
        window->setCentralWidget(viewWidget);
    }
    AfxSetMainWnd(this);
    if (OnCreate() == -1) {
        AfxSetMainWnd(nullptr);
        window->Release();
        delete window;
        m_pWidget = nullptr;
        if (pView) pView->Attach(nullptr);
        return false;
    }
    return true;
}

bool CFrameWnd::CreateToolBar(const std::vector<UINT>& buttons)
{
    auto* window = static_cast<QMainWindow*>(m_pWidget);
    if (!window) return false;
    auto* bar = window->addToolBar("Standard");
    bar->setObjectName("toolbar");
    bar->setIconSize(QSize(16, 15));
    bar->setMovable(true);
    for (UINT id : buttons) {
        if (id == ID_SEPARATOR) {
            bar->addSeparator();
            continue;
        }
        const StandardButton* b = FindStandardButton(id);
        QIcon icon = b ? window->style()->standardIcon(b->icon) : QIcon();
        QString tip = Prompt(id, 1);
        QAction* action = bar->addAction(icon, tip.isEmpty() && b ? b->tip : tip);
        action->setStatusTip(Prompt(id, 0));
        action->setData(id);
        action->setEnabled(IsCommandHandled(id));
        QObject::connect(action, &QAction::triggered, window, [this, id] { RouteCommand(id); });
    }
    return true;
}

bool CFrameWnd::CreateStatusBar(const std::vector<UINT>& indicators)
{
    auto* window = static_cast<QMainWindow*>(m_pWidget);
    if (!window) return false;
    QStatusBar* bar = window->statusBar();
    for (UINT id : indicators) {
        if (id == ID_SEPARATOR) continue; // the message pane is the bar itself
        auto* pane = new QLabel(QString::fromStdString(LoadString(id)));
        pane->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        pane->setEnabled(false); // lock-key states are not read on this platform
        bar->addPermanentWidget(pane);
    }
    SetMessageText(LoadString(AFX_IDS_IDLEMESSAGE));
    return true;
}

void CFrameWnd::SetAccelerators(const std::vector<AcceleratorTemplate>& keys)
{
    if (!m_pWidget) return;
    for (const AcceleratorTemplate& key : keys) {
        auto* shortcut = new QShortcut(QKeySequence(QString::fromStdString(key.key)), m_pWidget);
        UINT id = key.nID;
        QObject::connect(shortcut, &QShortcut::activated, m_pWidget,
                         [this, id] { RouteCommand(id); });
    }
}

void CFrameWnd::SetMessageText(const std::string& text)
{
    if (auto* window = static_cast<QMainWindow*>(m_pWidget)) {
        window->statusBar()->showMessage(QString::fromStdString(text));
    }
}

std::string CFrameWnd::GetMessageText() const
{
    auto* window = static_cast<QMainWindow*>(m_pWidget);
    return window ? window->statusBar()->currentMessage().toStdString() : std::string();
}

QMainWindow* CFrameWnd::GetMainWindow() const
{
    return static_cast<QMainWindow*>(m_pWidget);
}

bool CFrameWnd::RouteCommand(UINT nID)
{
    if (m_pView && m_pView->OnNotify(CN_COMMAND, nID)) return true;
    if (OnNotify(CN_COMMAND, nID)) return true;
    return AfxGetApp() && AfxGetApp()->OnNotify(CN_COMMAND, nID);
}

bool CFrameWnd::IsCommandHandled(UINT nID) const
{
    if (nID == ID_FILE_PRINT) return m_pView != nullptr;
    return (m_pView && m_pView->HasHandler(CN_COMMAND, nID)) || HasHandler(CN_COMMAND, nID) ||
           (AfxGetApp() && AfxGetApp()->HasHandler(CN_COMMAND, nID));
}

void CFrameWnd::OnFileNew()
{
    if (m_pDocument) m_pDocument->OnNewDocument();
}

void CFrameWnd::OnFileOpen()
{
    CFileDialog dialog(TRUE, nullptr, nullptr, OFN_HIDEREADONLY, "All Files (*.*)|*.*||", this);
    if (dialog.DoModal() != IDOK || !m_pDocument) return;
    std::ifstream in(dialog.GetPathName(), std::ios::binary);
    std::string data((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    m_pDocument->Serialize(false, data);
}

void CFrameWnd::OnFileSave()
{
    CFileDialog dialog(FALSE, nullptr, nullptr, OFN_OVERWRITEPROMPT, "All Files (*.*)|*.*||", this);
    if (dialog.DoModal() != IDOK) return;
    std::string data;
    if (m_pDocument) m_pDocument->Serialize(true, data);
    std::ofstream(dialog.GetPathName(), std::ios::binary | std::ios::trunc) << data;
}

void CFrameWnd::OnFilePrint()
{
    if (m_pView) m_pView->OnFilePrint();
}

void CFrameWnd::OnAppExit()
{
    if (m_pWidget) m_pWidget->close();
}
