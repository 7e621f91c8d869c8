// The document/view shell: application, main frame with menu, toolbar and status bar, the view
// that paints, and the device context it paints on.
#pragma once

#include "Wnd.h"

#include <functional>
#include <memory>
#include <string>
#include <vector>

class QMainWindow;
class QPainter;
class CWinApp;
class CFrameWnd;
class CView;
class CDocument;

// Standard command ids of the toolbar and accelerators.
inline constexpr UINT ID_FILE_NEW = 0xE100;
inline constexpr UINT ID_FILE_OPEN = 0xE101;
inline constexpr UINT ID_FILE_SAVE = 0xE103;
inline constexpr UINT ID_FILE_PRINT = 0xE107;
inline constexpr UINT ID_APP_ABOUT = 0xE140;
inline constexpr UINT ID_APP_EXIT = 0xE141;
inline constexpr UINT ID_EDIT_UNDO = 0xE12B;
inline constexpr UINT ID_EDIT_CUT = 0xE123;
inline constexpr UINT ID_EDIT_COPY = 0xE122;
inline constexpr UINT ID_EDIT_PASTE = 0xE125;
inline constexpr UINT ID_NEXT_PANE = 0xE150;
inline constexpr UINT ID_PREV_PANE = 0xE151;
inline constexpr UINT ID_SEPARATOR = 0;
inline constexpr UINT ID_INDICATOR_CAPS = 0xE701;
inline constexpr UINT ID_INDICATOR_NUM = 0xE702;
inline constexpr UINT ID_INDICATOR_SCRL = 0xE703;

// A menu: top-level entries with their items; an item with id 0 is a separator.
struct MenuItemTemplate {
    std::string text;
    UINT nID;
};
struct MenuTemplate {
    std::string text;
    std::vector<MenuItemTemplate> items;
};
// A key ("Ctrl+N", "Shift+Del" ...) and the command it sends.
struct AcceleratorTemplate {
    std::string key;
    UINT nID;
};

struct CREATESTRUCT {
    int x = 0;
    int y = 0;
    int cx = 0;
    int cy = 0;
};

class CDC {
public:
    explicit CDC(QPainter* painter) : m_pPainter(painter) {}
    QPainter* GetPainter() const { return m_pPainter; }
    bool IsPrinting() const;

private:
    QPainter* m_pPainter;
};

class CDocument {
public:
    virtual ~CDocument() = default;
    virtual BOOL OnNewDocument() { return TRUE; }
    // Stores and loads nothing unless a document says so.
    virtual void Serialize(bool bStoring, std::string& data);
};

class CView : public CWnd {
public:
    ~CView() override;
    virtual void OnDraw(CDC* pDC) = 0;
    // Prints the view through the printer dialog.
    void OnFilePrint();
    CDocument* GetDocument() const { return m_pDocument; }

private:
    friend class CFrameWnd;
    CDocument* m_pDocument = nullptr;
};

class CFrameWnd : public CWnd {
public:
    CFrameWnd();
    ~CFrameWnd() override;

    virtual BOOL PreCreateWindow(CREATESTRUCT& cs);
    virtual int OnCreate();
    // Builds the window (PreCreateWindow, the widgets, OnCreate) with the icon nIDResource and
    // the menus given. False when OnCreate fails.
    bool LoadFrame(UINT nIDResource, const std::vector<MenuTemplate>& menus, CView* pView,
                   CDocument* pDoc);

    // Toolbar and status bar, built from the command ids given.
    bool CreateToolBar(const std::vector<UINT>& buttons);
    bool CreateStatusBar(const std::vector<UINT>& indicators);
    void SetAccelerators(const std::vector<AcceleratorTemplate>& keys);
    void SetMessageText(const std::string& text);
    std::string GetMessageText() const;

    CView* GetActiveView() const { return m_pView; }
    CDocument* GetActiveDocument() const { return m_pDocument; }
    QMainWindow* GetMainWindow() const;

    // Default handling of the standard commands (New, Open, Save, Print, Exit).
    void OnFileNew();
    void OnFileOpen();
    void OnFileSave();
    void OnFilePrint();
    void OnAppExit();

    // Sends a command the way a menu item, toolbar button or key does: view, frame, then the
    // application. False when nothing handles it.
    bool RouteCommand(UINT nID);
    // A command that nothing handles is shown disabled, as the original's command UI does.
    bool IsCommandHandled(UINT nID) const;

    DECLARE_MESSAGE_MAP()

protected:
    CView* m_pView = nullptr;
    CDocument* m_pDocument = nullptr;
};

// What the command line asks start-up for: a new document, or the document a file holds.
struct CCommandLineInfo {
    enum EShellCommand { FileNew, FileOpen };
    EShellCommand m_nShellCommand = FileNew;
    std::string m_strFileName;
};

// The application: receives the commands that neither the view nor the frame handles.
class CWinApp : public CWnd {
public:
    CWinApp();
    ~CWinApp() override;
    virtual BOOL InitInstance() = 0;
    // The first argument that is not an option (options begin with "-") names a document to open.
    void ParseCommandLine(CCommandLineInfo& info) const;
    // A new document in the main window, or the document named loaded into it. FALSE when there
    // is no main window or the file cannot be read, which a message box reports.
    BOOL ProcessShellCommand(const CCommandLineInfo& info);
    // Runs the message loop until the main window closes; returns the exit code.
    int Run();

    // The program's arguments after its own name, Qt's options taken out; read at construction.
    std::vector<std::string> m_vecArguments;
};

CWinApp* AfxGetApp();
// The application's main window: the frame, once it exists.
CFrameWnd* AfxGetMainWnd();
void AfxSetMainWnd(CFrameWnd* frame);
// String-table id of the application title.
inline constexpr UINT AFX_IDS_APP_TITLE = 0xE000;
// The application title: the caption of message boxes shown without one.
std::string AfxGetAppName();
