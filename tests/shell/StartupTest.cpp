// Start-up: the frame's size by screen, the search dialog it opens, its menu and its view.
#include "MainFrm.h"
#include "Ostra.h"
#include "OstraDoc.h"
#include "OstraView.h"
#include "QueryDlg.h"
#include "Resource.h"
#include "ResourceTables.h"
#include "ScopedHome.h"
#include "UiDriver.h"

#include <QImage>
#include <QMainWindow>
#include <QMenuBar>
#include <QPainter>
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

namespace {

namespace fs = std::filesystem;

struct Frame {
    explicit Frame(int cx, int cy)
    {
        SetScreenSizeOverride(cx, cy);
        loaded = frame->LoadFrame(IDR_MAINFRAME, kMainMenu, view, new COstraDoc);
    }
    ~Frame()
    {
        SetScreenSizeOverride(0, 0);
        AfxSetMainWnd(nullptr);
    }
    ui::CMessageBoxRecorder boxes; // the search dialog reports a missing settings file
    COstraView* view = new COstraView;
    CMainFrame* frame = new CMainFrame;
    bool loaded = false;
};

// Paints the view into a white image of its size.
QImage Paint(COstraView& view, int cx = 320, int cy = 200)
{
    QImage image(cx, cy, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    CDC dc(&painter);
    view.OnDraw(&dc);
    return image;
}

bool AllWhite(const QImage& image)
{
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (image.pixel(x, y) != qRgb(255, 255, 255)) return false;
        }
    }
    return true;
}

} // namespace

TEST(Startup, FrameSizeAndSearchPlaceFollowTheScreen)
{
    struct Case {
        int screenCx, screenCy;
        int cx, cy; // 0: the default size
        int screenWidth, searchX, searchY;
    } cases[] = {
        {1024, 768, 800, 600, 1024, 210, 180},
        {800, 600, 700, 520, 800, 130, 100},
        {640, 480, 620, 450, 640, 30, 30},
        {1280, 1024, 0, 0, 1024, 210, 180},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.screenCx);
        Frame f(c.screenCx, c.screenCy);
        ASSERT_TRUE(f.loaded);
        QWidget* window = f.frame->GetWidget();
        if (c.cx) {
            EXPECT_EQ(window->size(), QSize(c.cx, c.cy));
        } else {
            EXPECT_EQ(window->size(), QSize(c.screenCx * 3 / 4, c.screenCy * 3 / 4));
        }
        EXPECT_EQ(f.frame->m_nScreenWidth, c.screenWidth);
        EXPECT_EQ(f.frame->m_nComPort, 1);
        EXPECT_EQ(f.frame->m_nParity, 0);
        QWidget* search = f.frame->m_pQueryDlg->GetWidget();
        EXPECT_EQ(search->pos(), QPoint(c.searchX, c.searchY));
        EXPECT_EQ(search->size(), QSize(525, 425));
    }
}

TEST(Startup, EachStartOpensASearchDialogWithItsOwnColumns)
{
    Frame f(1024, 768);
    CQueryDlg* first = f.frame->m_pQueryDlg;
    f.frame->RouteCommand(ID_QUERY_START);
    CQueryDlg* second = f.frame->m_pQueryDlg;
    ASSERT_NE(first, second);
    EXPECT_TRUE(first->IsRunning());
    EXPECT_EQ(second->GetWindowText(), "SEARCH");
    const char* headings[] = {"Module",      "Address(HEX)", "Baudrate", "Alarm", "Checksum",
                              "Description", "DataFormat",   "Address",  "Brate", "Check",
                              "Script",      "Format",       "Protocol"};
    const int widths[] = {80, 100, 80, 70, 80, 150, 1, 1, 1, 1, 1, 1, 1};
    for (CQueryDlg* dlg : {first, second}) {
        auto* list = dlg->GetDlgItemAs<CListCtrl>(IDC_RESULT_LIST);
        ASSERT_EQ(list->GetColumnCount(), 13);
        for (int i = 0; i < 13; ++i) {
            EXPECT_EQ(list->GetColumnHeading(i), headings[i]);
            EXPECT_EQ(list->GetColumnWidth(i), widths[i]);
        }
    }
}

TEST(Startup, MenuCommandsAndHelp)
{
    Frame f(1024, 768);
    QMenuBar* bar = f.frame->GetMainWindow()->menuBar();
    QStringList titles;
    for (QAction* a : bar->actions()) titles << a->text();
    EXPECT_EQ(titles, (QStringList{"QUERY", "RUN", "ABOUT"}));
    CScopedHome home;
    ui::CShellOpenRecorder shell;
    EXPECT_TRUE(f.frame->RouteCommand(ID_ABOUT_HELP));
    ASSERT_EQ(shell.m_paths.size(), 1u);
    EXPECT_EQ(shell.m_paths[0], home.Path("help.chm").string());
    EXPECT_FALSE(f.frame->IsCommandHandled(ID_EDIT_CUT)); // no handler: shown disabled
    EXPECT_TRUE(f.frame->IsCommandHandled(ID_FILE_PRINT));
}

TEST(Startup, TheViewPaintsThePictureAndSurvivesABadOne)
{
    CScopedHome home;
    COstraView view;
    EXPECT_TRUE(AllWhite(Paint(view))); // no picture yet: nothing painted

    std::ofstream(home.Path("talvik.bmp")) << "not a picture";
    EXPECT_TRUE(AllWhite(Paint(view)));

    QImage picture(40, 30, QImage::Format_RGB32);
    picture.fill(Qt::red);
    ASSERT_TRUE(picture.save(QString::fromStdString(home.Path("talvik.bmp").string()), "BMP"));
    QImage painted = Paint(view);
    EXPECT_EQ(painted.pixel(0, 0), qRgb(255, 0, 0)); // natural size at the top-left corner
    EXPECT_EQ(painted.pixel(39, 29), qRgb(255, 0, 0));
    EXPECT_EQ(painted.pixel(40, 30), qRgb(255, 255, 255));

    // The file goes missing: the last picture that loaded stays.
    fs::remove(home.Path("talvik.bmp"));
    EXPECT_EQ(Paint(view).pixel(5, 5), qRgb(255, 0, 0));
}

TEST(Startup, TheApplicationTitlesItsFrameExactly)
{
    SetScreenSizeOverride(1024, 768);
    ui::CMessageBoxRecorder boxes;
    COstraApp app;
    ASSERT_TRUE(app.InitInstance());
    CFrameWnd* frame = AfxGetMainWnd();
    ASSERT_NE(frame, nullptr);
    EXPECT_EQ(frame->GetWidget()->windowTitle().toStdString(), "Talvik_4333_Utility");
    EXPECT_EQ(frame->GetWidget()->size(), QSize(800, 600));
    EXPECT_FALSE(frame->GetWidget()->isHidden());
    // Help and the toolbar's About both open the help file with the desktop.
    ui::CShellOpenRecorder shell;
    frame->RouteCommand(ID_APP_ABOUT);
    ASSERT_EQ(shell.m_paths.size(), 1u);
    EXPECT_EQ(shell.m_paths[0].substr(shell.m_paths[0].size() - 8), "help.chm");
    EXPECT_EQ(static_cast<CMainFrame*>(frame)->GetMessageText(), "Ready");
    SetScreenSizeOverride(0, 0);
    AfxSetMainWnd(nullptr);
    delete frame;
}

TEST(Startup, TheCommandLinesDocumentIsOpenedAndOneThatCannotBeEndsStartUp)
{
    SetScreenSizeOverride(1024, 768);
    CScopedHome home; // no settings file: the search dialog says so in a box
    ui::CMessageBoxRecorder boxes;
    std::ofstream(home.Path("saved.ostra")) << "";
    fs::create_directories(home.Path("folder.ostra"));
    struct Case {
        const char* what;
        std::vector<std::string> arguments;
        bool started;
    } cases[] = {
        {"options only", {"--verbose"}, true},
        {"a document", {"--verbose", home.Path("saved.ostra").string()}, true},
        {"a missing document", {home.Path("missing.ostra").string()}, false},
        {"a folder", {home.Path("folder.ostra").string()}, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        boxes.m_boxes.clear();
        COstraApp app;
        app.m_vecArguments = c.arguments;
        EXPECT_EQ(app.InitInstance(), c.started ? TRUE : FALSE);
        CFrameWnd* frame = AfxGetMainWnd();
        if (c.started) {
            ASSERT_NE(frame, nullptr);
            EXPECT_EQ(frame->GetWidget()->windowTitle().toStdString(), "Talvik_4333_Utility");
            EXPECT_EQ(boxes.m_boxes.size(), 1u) << "only the settings file's";
            delete frame;
            AfxSetMainWnd(nullptr);
        } else {
            EXPECT_EQ(frame, nullptr) << "the frame is gone";
            ASSERT_EQ(boxes.m_boxes.size(), 2u);
            EXPECT_EQ(boxes.m_boxes[1].text, "Failed to open document.\n" + c.arguments[0]);
            EXPECT_EQ(boxes.m_boxes[1].caption, AfxGetAppName());
        }
    }
    SetScreenSizeOverride(0, 0);
}
