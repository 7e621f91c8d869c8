#include "MainFrm.h"

#include "LogDlg.h"
#include "ModuleDialogs.h"
#include "QueryDlg.h"
#include "Resource.h"
#include "ResourceTables.h"
#include "Shell.h"
#include "SingleDlg.h"

#include <cstdio>

int g_bDialogClosed = 0;

namespace {

struct FrameSize {
    int screenCx, screenCy;
    int x, y, cx, cy;
    int screenWidth;
};

// The frame's size and place by the screen's resolution; any other screen keeps the defaults.
const FrameSize kFrameSizes[] = {
    {1024, 768, 100, 80, 800, 600, 1024},
    {800, 600, 50, 30, 700, 520, 800},
    {640, 480, 10, 10, 620, 450, 640},
};

struct SearchPlace {
    int screenWidth, x, y;
};

const SearchPlace kSearchPlaces[] = {{1024, 210, 180}, {800, 130, 100}, {640, 30, 30}};

inline constexpr int kSearchCx = 525;
inline constexpr int kSearchCy = 425;

struct ListColumn {
    const char* heading;
    int width;
};

// Visible columns first, then the hidden ones (1 pixel wide) that carry the module's codes.
const ListColumn kSearchColumns[] = {
    {"Module", 80},       {"Address(HEX)", 100}, {"Baudrate", 80}, {"Alarm", 70}, {"Checksum", 80},
    {"Description", 150}, {"DataFormat", 1},     {"Address", 1},   {"Brate", 1},  {"Check", 1},
    {"Script", 1},        {"Format", 1},         {"Protocol", 1},
};

} // namespace

BEGIN_MESSAGE_MAP(CMainFrame, CFrameWnd)
ON_COMMAND(ID_QUERY_START, OnQueryStart)
ON_COMMAND(ID_RUN_SINGLELINE, OnRunSingleLine)
ON_COMMAND(ID_RUN_DATALOGGER, OnRunDataLogger)
ON_COMMAND(ID_OPEN_DIO_MODULE, OnOpenDioModule)
ON_COMMAND(ID_ABOUT_HELP, OnHelp)
END_MESSAGE_MAP()

CMainFrame::CMainFrame() = default;
CMainFrame::~CMainFrame()
{
    delete m_pSingleDlg;
    delete m_pLogDlg;
}

CMainFrame* GetMainFrame()
{
    return static_cast<CMainFrame*>(AfxGetMainWnd());
}

BOOL CMainFrame::PreCreateWindow(CREATESTRUCT& cs)
{
    int screenCx = GetSystemMetrics(SM_CXSCREEN);
    int screenCy = GetSystemMetrics(SM_CYSCREEN);
    for (const FrameSize& size : kFrameSizes) {
        if (size.screenCx == screenCx && size.screenCy == screenCy) {
            cs = {size.x, size.y, size.cx, size.cy};
            m_nScreenWidth = size.screenWidth;
        }
    }
    return CFrameWnd::PreCreateWindow(cs);
}

int CMainFrame::OnCreate()
{
    if (CFrameWnd::OnCreate() == -1) return -1;
    if (!CreateToolBar(kToolBarButtons)) {
        std::fputs("Failed to create toolbar\n", stderr);
        return -1;
    }
    if (!CreateStatusBar(kStatusIndicators)) {
        std::fputs("Failed to create status bar\n", stderr);
        return -1;
    }
    SetAccelerators(kAccelerators);
    m_nComPort = 1;
    OnQueryStart();
    return 0;
}

void CMainFrame::OnQueryStart()
{
    m_pQueryDlg = new CQueryDlg(this);
    m_pQueryDlg->Create(IDD_SEARCH, this);
    for (const SearchPlace& place : kSearchPlaces) {
        if (place.screenWidth == m_nScreenWidth) {
            m_pQueryDlg->MoveWindow(place.x, place.y, kSearchCx, kSearchCy);
        }
    }
    m_pQueryDlg->ShowWindow(SW_SHOW);
    auto* list = m_pQueryDlg->GetDlgItemAs<CListCtrl>(IDC_RESULT_LIST);
    int column = 0;
    for (const ListColumn& c : kSearchColumns)
        list->InsertColumn(column++, c.heading, LVCFMT_LEFT, c.width);
}

void CMainFrame::OnRunSingleLine()
{
    // The window of the previous command has ended; only the newest is kept.
    delete m_pSingleDlg;
    m_pSingleDlg = new CSingleDlg(this);
    m_pSingleDlg->DoModal();
}

void CMainFrame::OnRunDataLogger()
{
    delete m_pLogDlg;
    m_pLogDlg = new CLogDlg(nullptr);
    m_pLogDlg->DoModal();
}

void CMainFrame::OnOpenDioModule()
{
    // Runs the digital-I/O dialog on whatever its block holds; nothing when it is not built.
    if (std::unique_ptr<CDialog> dialog = CreateModuleDialog("CM6373")) dialog->DoModal();
}

void CMainFrame::OnHelp()
{
    ShellOpen(GetProgramFolder() + "help.chm");
}
