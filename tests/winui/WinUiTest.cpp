// The class-library layer: dialogs from templates, message maps, and the platform traps the
// layer handles once for every dialog.
#include "WinUi.h"
#include "UiDriver.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <QWindow>
#include <gtest/gtest.h>

namespace {

enum {
    IDD_PLAIN = 9001,
    IDD_DEFAULT = 9002,
    IDC_GO = 100,
    IDC_COMBO = 101,
    IDC_EDIT = 102,
    IDC_CHECK = 103,
    IDC_RADIO_A = 104,
    IDC_RADIO_B = 105,
    IDC_RADIO_C = 106,
    IDC_HIDDEN = 107,
    IDC_SORTED = 108,
    IDC_LAMP = 109,
    IDD_SLIDER = 9003,
    IDC_SLIDER = 110,
    IDD_STYLES = 9004,
    IDC_EDIT_PLAIN = 120,
    IDC_EDIT_NUMBER = 121,
    IDC_EDIT_FIXED = 122,
    IDC_EDIT_BARE = 123,
    IDC_TEXT = 124,
    IDD_UNTITLED = 9005
};

const bool g_registered = [] {
    RegisterDialogTemplate(
        {IDD_PLAIN,
         "AI  Module",
         200,
         120,
         {
             {IDC_GO, CtlKind::Button, "Setting", 10, 10, 50, 14},
             {IDC_COMBO, CtlKind::DropList, "", 10, 30, 60, 80, CS_NONE, {"1200", "2400", "4800"}},
             {IDC_EDIT, CtlKind::Edit, "", 10, 50, 60, 12, CS_UPPERCASE},
             {IDC_CHECK, CtlKind::AutoCheckBox, "CH0", 80, 10, 40, 10},
             {IDC_RADIO_A, CtlKind::Radio, "A", 80, 30, 30, 10, CS_GROUP},
             {IDC_RADIO_B, CtlKind::Radio, "B", 80, 42, 30, 10},
             {IDC_RADIO_C, CtlKind::Radio, "C", 80, 54, 30, 10, CS_GROUP},
             {IDC_HIDDEN, CtlKind::Button, "Zero", 10, 70, 40, 14, CS_HIDDEN | CS_DISABLED},
             {IDC_SORTED, CtlKind::DropDown, "", 120, 30, 40, 80, CS_SORT, {"CH2", "CH0", "CH1"}},
             {IDC_LAMP, CtlKind::Icon, "144", 150, 70, 20, 20},
             {IDCANCEL, CtlKind::Button, "Cancel", 140, 100, 50, 14},
         }});
    RegisterDialogTemplate({IDD_DEFAULT,
                            "Command",
                            100,
                            60,
                            {
                                {IDOK, CtlKind::Button, "Run", 10, 10, 40, 14, CS_DEFAULT},
                                {IDCANCEL, CtlKind::Button, "Cancel", 50, 10, 40, 14},
                            }});
    RegisterDialogTemplate({IDD_SLIDER,
                            "AO  Module",
                            200,
                            40,
                            {
                                {IDC_SLIDER, CtlKind::Slider, "", 10, 10, 150, 16},
                            }});
    RegisterDialogTemplate(
        {IDD_STYLES,
         "Styles",
         200,
         100,
         {
             {IDC_EDIT_PLAIN, CtlKind::Edit, "", 10, 10, 60, 12},
             {IDC_EDIT_NUMBER, CtlKind::Edit, "", 10, 26, 60, 12, CS_NUMBER},
             {IDC_EDIT_FIXED, CtlKind::Edit, "", 10, 42, 30, 12, CS_NOAUTOHSCROLL},
             {IDC_EDIT_BARE, CtlKind::Edit, "", 10, 58, 60, 12, CS_NOBORDER},
             {IDC_TEXT, CtlKind::Static, "", 10, 74, 180, 9},
         }});
    RegisterDialogTemplate({IDD_UNTITLED, "", 100, 60, {}});
    return true;
}();

// Records what reaches it, through a base class whose message map the derived one extends.
class CBaseProbeDlg : public CDialog {
public:
    using CDialog::CDialog;
    std::vector<std::string> m_calls;
    void OnBaseGo() { m_calls.push_back("base-go"); }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CBaseProbeDlg, CDialog)
ON_BN_CLICKED(IDC_GO, OnBaseGo)
ON_BN_CLICKED(IDC_CHECK, OnBaseGo)
END_MESSAGE_MAP()

class CProbeDlg : public CBaseProbeDlg {
public:
    explicit CProbeDlg(UINT id = IDD_PLAIN) : CBaseProbeDlg(id) {}
    std::string m_strEdit;
    int m_nCombo = -1;
    int m_nRadio = -1;
    int m_nTicks = 0;
    std::function<void()> m_onTick;

    BOOL OnInitDialog() override
    {
        CDialog::OnInitDialog();
        SetTimer(1000, 500);
        return TRUE;
    }
    void DoDataExchange(CDataExchange* pDX) override
    {
        DDX_Text(pDX, IDC_EDIT, m_strEdit);
        DDX_CBIndex(pDX, IDC_COMBO, m_nCombo);
        DDX_Radio(pDX, IDC_RADIO_A, m_nRadio);
    }
    void OnTimer(UINT_PTR) override
    {
        ++m_nTicks;
        if (m_onTick) m_onTick();
    }
    void OnCancel() override
    {
        m_calls.push_back("cancel");
        CDialog::OnCancel();
    }
    void OnOK() override
    {
        m_calls.push_back("ok");
        CDialog::OnOK();
    }
    void OnLButtonDown(UINT nFlags, CPoint point) override
    {
        m_calls.push_back(Format("down %u %d,%d", nFlags, point.x, point.y));
    }
    void OnGo() { m_calls.push_back("go"); }
    void OnCombo() { m_calls.push_back("combo"); }
    void OnEditChange() { m_calls.push_back("edit"); }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CProbeDlg, CBaseProbeDlg)
ON_BN_CLICKED(IDC_GO, OnGo)
ON_CBN_SELCHANGE(IDC_COMBO, OnCombo)
ON_EN_CHANGE(IDC_EDIT, OnEditChange)
END_MESSAGE_MAP()

// Takes the OK command in its map, as a dialog with a "Run" handler on IDOK does.
class COkMapDlg : public CProbeDlg {
public:
    void OnMappedOk() { m_calls.push_back("mapped-ok"); }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(COkMapDlg, CProbeDlg)
ON_BN_CLICKED(IDOK, OnMappedOk)
END_MESSAGE_MAP()

class WinUi : public ::testing::Test {
protected:
    void SetUp() override { dlg.Create(IDD_PLAIN); }
    CProbeDlg dlg;
};

} // namespace

TEST_F(WinUi, BuildsTheDialogFromItsTemplate)
{
    EXPECT_EQ(dlg.GetWindowText(), "AI  Module"); // exactly the template's caption
    EXPECT_EQ(ui::Rows(dlg, IDC_COMBO), (std::vector<std::string>{"1200", "2400", "4800"}));
    EXPECT_EQ(ui::Rows(dlg, IDC_SORTED), (std::vector<std::string>{"CH0", "CH1", "CH2"}));
    EXPECT_EQ(dlg.GetDlgItemAs<CComboBox>(IDC_COMBO)->GetCurSel(), CB_ERR);
    EXPECT_FALSE(dlg.GetDlgItem(IDC_HIDDEN)->IsWindowVisible());
    EXPECT_FALSE(dlg.GetDlgItem(IDC_HIDDEN)->IsWindowEnabled());
    EXPECT_EQ(dlg.GetDlgItemAs<CStatic>(IDC_LAMP)->GetIcon(), 144);
    EXPECT_EQ(dlg.GetDlgItem(IDC_GO)->GetDlgCtrlID(), IDC_GO);
    EXPECT_EQ(dlg.GetDlgItemAs<CComboBox>(IDC_GO), nullptr);
    EXPECT_EQ(dlg.GetDlgItem(4242), nullptr);
}

TEST_F(WinUi, ClicksReachTheMostDerivedHandler)
{
    ASSERT_TRUE(ui::Click(dlg, IDC_GO));
    ASSERT_TRUE(ui::Click(dlg, IDC_CHECK)); // only the base class maps this one
    EXPECT_EQ(dlg.m_calls, (std::vector<std::string>{"go", "base-go"}));
    EXPECT_EQ(dlg.IsDlgButtonChecked(IDC_CHECK), 1u);
    EXPECT_FALSE(ui::Click(dlg, IDC_HIDDEN)); // the operator cannot reach it
}

TEST_F(WinUi, OnlyTheOperatorsComboChoiceIsASelectionChange)
{
    auto* combo = dlg.GetDlgItemAs<CComboBox>(IDC_COMBO);
    combo->SetCurSel(2);
    dlg.m_nCombo = 1;
    dlg.UpdateData(FALSE);
    EXPECT_TRUE(dlg.m_calls.empty());
    ASSERT_TRUE(ui::ChooseRow(dlg, IDC_COMBO, 0));
    EXPECT_EQ(dlg.m_calls, std::vector<std::string>{"combo"});
    dlg.UpdateData(TRUE);
    EXPECT_EQ(dlg.m_nCombo, 0);
}

TEST_F(WinUi, DataExchangeBothWays)
{
    dlg.m_strEdit = "18";
    dlg.m_nRadio = 1;
    dlg.UpdateData(FALSE);
    EXPECT_EQ(dlg.GetDlgItemText(IDC_EDIT), "18");
    EXPECT_TRUE(dlg.IsDlgButtonChecked(IDC_RADIO_B));
    ASSERT_TRUE(ui::Type(dlg, IDC_EDIT, "$01m"));
    ASSERT_TRUE(ui::Click(dlg, IDC_RADIO_A));
    dlg.UpdateData(TRUE);
    EXPECT_EQ(dlg.m_strEdit, "$01M"); // typed text turns upper case
    EXPECT_EQ(dlg.m_nRadio, 0);
    // A radio button of another group stays as it was.
    ASSERT_TRUE(ui::Click(dlg, IDC_RADIO_C));
    EXPECT_TRUE(dlg.IsDlgButtonChecked(IDC_RADIO_A));
}

TEST_F(WinUi, EscapeAndCloseBoxCannotPassADisabledCancel)
{
    dlg.GetDlgItem(IDCANCEL)->EnableWindow(FALSE);
    ui::PressKey(dlg, Qt::Key_Escape);
    ui::CloseBox(dlg);
    EXPECT_TRUE(dlg.IsRunning());
    EXPECT_TRUE(dlg.m_calls.empty());

    dlg.GetDlgItem(IDCANCEL)->EnableWindow(TRUE);
    ui::CloseBox(dlg);
    EXPECT_FALSE(dlg.IsRunning());
    EXPECT_EQ(dlg.m_calls, std::vector<std::string>{"cancel"});
}

TEST_F(WinUi, EnterWithoutADefaultButtonIsTheOkCommand)
{
    ui::PressKey(dlg, Qt::Key_Return);
    EXPECT_EQ(dlg.m_calls, std::vector<std::string>{"ok"});
    EXPECT_FALSE(dlg.IsRunning());

    CProbeDlg withDefault(IDD_DEFAULT);
    withDefault.Create(IDD_DEFAULT);
    for (auto* b : withDefault.GetWidget()->findChildren<QPushButton*>()) {
        EXPECT_FALSE(b->autoDefault()); // Qt would otherwise make any focused button default
    }
    ui::PressKey(withDefault, Qt::Key_Return);
    EXPECT_EQ(withDefault.m_calls, std::vector<std::string>{"ok"});
    EXPECT_FALSE(withDefault.IsRunning());
}

TEST_F(WinUi, EnterReachesAHiddenDefaultButton)
{
    CProbeDlg hidden(IDD_DEFAULT);
    hidden.Create(IDD_DEFAULT);
    hidden.GetDlgItem(IDOK)->ShowWindow(SW_HIDE);
    ui::PressKey(hidden, Qt::Key_Return);
    EXPECT_EQ(hidden.m_calls, std::vector<std::string>{"ok"});
    EXPECT_FALSE(hidden.IsRunning());
}

TEST_F(WinUi, TimersStopWhenTheDialogEnds)
{
    ASSERT_TRUE(dlg.FireTimer(1000));
    EXPECT_EQ(dlg.m_nTicks, 1);
    ASSERT_TRUE(ui::Click(dlg, IDCANCEL));
    EXPECT_FALSE(dlg.IsTimerActive(1000));
    EXPECT_FALSE(dlg.FireTimer(1000));
    EXPECT_EQ(dlg.m_nTicks, 1);
}

TEST_F(WinUi, ATimerTickNeverRunsInsideAnother)
{
    // A message box shown from a tick runs a message loop in which the timer falls due again.
    dlg.m_onTick = [this] { dlg.FireTimer(1000); };
    dlg.FireTimer(1000);
    EXPECT_EQ(dlg.m_nTicks, 1);
}

TEST_F(WinUi, MouseClicksCarryTheirPointAndKeyFlags)
{
    ui::ClickAt(dlg, CPoint{2, 3});
    ui::ClickAt(dlg, CPoint{2, 3}, Qt::ShiftModifier);
    ui::ClickAt(dlg, CPoint{2, 3}, Qt::ControlModifier);
    EXPECT_EQ(dlg.m_calls,
              (std::vector<std::string>{Format("down %u 2,3", MK_LBUTTON),
                                        Format("down %u 2,3", MK_LBUTTON | MK_SHIFT),
                                        Format("down %u 2,3", MK_LBUTTON | MK_CONTROL)}));
}

TEST_F(WinUi, MessageBoxesGoThroughTheHook)
{
    ui::CMessageBoxRecorder boxes(IDYES);
    EXPECT_EQ(dlg.MessageBox("Open Com Error!"), IDYES);
    dlg.MessageBox("x", "", MB_ICONEXCLAMATION);
    ASSERT_EQ(boxes.m_boxes.size(), 2u);
    EXPECT_EQ(boxes.m_boxes[0].caption, ""); // no application object in this test
    EXPECT_EQ(boxes.m_boxes[1].nType, MB_ICONEXCLAMATION);
}

struct ExtensionCase {
    const char* path;
    const char* ext;
    const char* result;
};

void PrintTo(const ExtensionCase& c, std::ostream* os)
{
    *os << c.path << " + " << c.ext;
}

class WinUiDefaultExtension : public ::testing::TestWithParam<ExtensionCase> {};

TEST_P(WinUiDefaultExtension, IsAddedOnlyToANameWithoutAnExtension)
{
    EXPECT_EQ(WithDefaultExtension(GetParam().path, GetParam().ext), GetParam().result);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, WinUiDefaultExtension,
    ::testing::Values(ExtensionCase{"/home/op/report", "log", "/home/op/report.log"},
                      ExtensionCase{"/home/op/report.txt", "log", "/home/op/report.txt"},
                      ExtensionCase{"/home/op.d/report", "log", "/home/op.d/report.log"},
                      ExtensionCase{"/home/op/report", "", "/home/op/report"}));

TEST(WinUiModal, TheModalHookWorksTheDialogAndItsResultComesBack)
{
    ui::CModalDriver driver([](CDialog& d) {
        EXPECT_EQ(d.GetTemplateID(), static_cast<UINT>(IDD_DEFAULT));
        ui::Click(d, IDOK);
    });
    CProbeDlg dlg(IDD_DEFAULT);
    EXPECT_EQ(dlg.DoModal(), IDOK);
    EXPECT_EQ(dlg.GetWidget(), nullptr);
}

TEST(WinUiModal, ADialogTheHookLeavesOpenIsCancelled)
{
    ui::CModalDriver driver([](CDialog&) {});
    CProbeDlg dlg(IDD_DEFAULT);
    EXPECT_EQ(dlg.DoModal(), IDCANCEL);
    EXPECT_EQ(dlg.m_calls, std::vector<std::string>{"cancel"});
}

TEST(WinUiOwner, AWindowShownBeforeItsOwnerAppearsJustAfterIt)
{
    // Shown earlier, the window manager would stack it under its owner.
    QWidget ownerWidget;
    CWnd owner;
    owner.Attach(&ownerWidget);
    CProbeDlg dlg(IDD_DEFAULT);
    dlg.Create(IDD_DEFAULT, &owner);
    EXPECT_TRUE(dlg.GetWidget()->isHidden());
    ownerWidget.show();
    QApplication::processEvents();
    EXPECT_FALSE(dlg.GetWidget()->isHidden());
    dlg.DestroyWindow();
}

TEST_F(WinUi, EnterWithoutADefaultButtonReachesTheOkHandlerOfTheMap)
{
    COkMapDlg mapped;
    mapped.Create(IDD_PLAIN);
    ui::PressKey(mapped, Qt::Key_Return);
    EXPECT_EQ(mapped.m_calls, std::vector<std::string>{"mapped-ok"});
    EXPECT_TRUE(mapped.IsRunning());
}

TEST_F(WinUi, EnterWithADisabledDefaultButtonDoesNothing)
{
    CProbeDlg withDefault(IDD_DEFAULT);
    withDefault.Create(IDD_DEFAULT);
    withDefault.GetDlgItem(IDOK)->EnableWindow(FALSE);
    ui::PressKey(withDefault, Qt::Key_Return);
    EXPECT_TRUE(withDefault.m_calls.empty());
    EXPECT_TRUE(withDefault.IsRunning());
}

namespace {

// Records the scroll codes and the capture release of its slider, and where the thumb was.
class CSliderProbeDlg : public CDialog {
public:
    CSliderProbeDlg() : CDialog(IDD_SLIDER) {}
    std::vector<std::string> m_calls;
    void OnHScroll(UINT nSBCode, UINT nPos, CWnd*) override
    {
        if (nSBCode == SB_ENDSCROLL) m_calls.push_back(Format("end %u", nPos));
    }
    void OnReleased()
    {
        m_calls.push_back(Format("released %d", GetDlgItemAs<CSliderCtrl>(IDC_SLIDER)->GetPos()));
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CSliderProbeDlg, CDialog)
ON_NOTIFY(NM_RELEASEDCAPTURE, IDC_SLIDER, OnReleased)
END_MESSAGE_MAP()

} // namespace

TEST(WinUiSlider, EveryMousePressOnASliderEndsInOneCaptureRelease)
{
    struct Case {
        const char* gesture;
        ui::SliderSpot spot;
        int drag;
        bool moved; // else the thumb stays at 50
        int direction;
    } cases[] = {
        {"groove click after the thumb", ui::SliderSpot::GrooveAfterThumb, 0, true, +1},
        {"groove click before the thumb", ui::SliderSpot::GrooveBeforeThumb, 0, true, -1},
        {"thumb dragged", ui::SliderSpot::Thumb, 30, true, +1},
        {"thumb pressed and let go", ui::SliderSpot::Thumb, 0, false, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.gesture);
        CSliderProbeDlg dlg;
        dlg.Create(IDD_SLIDER);
        auto* slider = dlg.GetDlgItemAs<CSliderCtrl>(IDC_SLIDER);
        slider->SetPos(50);
        ASSERT_TRUE(ui::PressSlider(dlg, IDC_SLIDER, c.spot, c.drag));
        int pos = slider->GetPos();
        EXPECT_EQ((pos - 50) * c.direction > 0, c.moved) << pos;
        if (c.spot != ui::SliderSpot::Thumb) {
            EXPECT_EQ(pos, 50 + 10 * c.direction); // one page
        }
        EXPECT_EQ(dlg.m_calls,
                  (std::vector<std::string>{Format("end %d", pos), Format("released %d", pos)}));
        dlg.DestroyWindow();
    }
}

TEST(WinUiEditStyles, TypingFollowsTheTemplatesEditStyle)
{
    const std::string longText = "0123456789012345678901234567890123456789";
    struct Case {
        const char* style;
        int id;
        std::string typed;
        std::string kept; // empty: as much as the edit shows
        bool framed;
    } cases[] = {
        {"plain", IDC_EDIT_PLAIN, "12a-3", "12a-3", true},
        {"plain, long", IDC_EDIT_PLAIN, longText, longText, true},
        {"number", IDC_EDIT_NUMBER, "12a-3", "123", true},
        {"no horizontal auto-scroll", IDC_EDIT_FIXED, longText, "", true},
        {"no border", IDC_EDIT_BARE, "12a-3", "12a-3", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.style);
        CDialog dlg(IDD_STYLES);
        dlg.Create(IDD_STYLES);
        auto* edit = qobject_cast<QLineEdit*>(dlg.GetDlgItem(c.id)->GetWidget());
        ASSERT_TRUE(ui::TypeKeys(dlg, c.id, c.typed));
        std::string kept = dlg.GetDlgItemText(c.id);
        if (c.kept.empty()) {
            EXPECT_FALSE(kept.empty());
            EXPECT_LT(kept.size(), c.typed.size());
            EXPECT_EQ(c.typed.substr(0, kept.size()), kept);
            EXPECT_LE(edit->fontMetrics().horizontalAdvance(QString::fromStdString(kept)),
                      edit->contentsRect().width());
        } else {
            EXPECT_EQ(kept, c.kept);
        }
        EXPECT_EQ(edit->hasFrame(), c.framed);
        dlg.DestroyWindow();
    }
}

TEST(WinUiEditStyles, AnEditThatDoesNotScrollShowsTheProgramsTextFromItsStart)
{
    CDialog dlg(IDD_STYLES);
    dlg.Create(IDD_STYLES);
    const std::string longText = "0123456789012345678901234567890123456789";
    dlg.SetDlgItemText(IDC_EDIT_FIXED, longText);
    EXPECT_EQ(dlg.GetDlgItemText(IDC_EDIT_FIXED), longText); // all of it is kept
    EXPECT_EQ(
        qobject_cast<QLineEdit*>(dlg.GetDlgItem(IDC_EDIT_FIXED)->GetWidget())->cursorPosition(), 0);
    dlg.DestroyWindow();
}

namespace {

// The right end of what a widget draws in dark pixels, in pixels from its left.
int InkRight(QWidget* widget)
{
    QImage image = widget->grab().toImage();
    int right = -1;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = right + 1; x < image.width(); ++x) {
            if (qGray(image.pixel(x, y)) < 128) right = x;
        }
    }
    return right + 1;
}

} // namespace

TEST(WinUiStaticText, AnAmpersandMarksAMnemonicAndTwoShowOne)
{
    struct Case {
        const char* text;
        const char* shown;
    } cases[] = {
        {"Data &Format:", "Data Format:"},
        {"&Slew Rate:", "Slew Rate:"},
        {"Alarm &Limit", "Alarm Limit"},
        {"A && B", "A & B"},
        {"CH0", "CH0"},
    };
    CDialog dlg(IDD_STYLES);
    dlg.Create(IDD_STYLES);
    auto* label = qobject_cast<QLabel*>(dlg.GetDlgItem(IDC_TEXT)->GetWidget());
    QFontMetrics fm(label->font());
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        dlg.SetDlgItemText(IDC_TEXT, c.text);
        EXPECT_EQ(dlg.GetDlgItemText(IDC_TEXT), c.text); // the window text keeps its marks
        EXPECT_NEAR(InkRight(label), fm.horizontalAdvance(c.shown), fm.horizontalAdvance('&') / 2);
    }
    dlg.DestroyWindow();
}

namespace {

// The title the window system gets for a message box with that caption, the real box shown and
// closed at once.
QString MessageBoxTitle(const char* caption)
{
    MessageBoxHook recorded = SetMessageBoxHook({});
    QString title;
    QTimer closer;
    QObject::connect(&closer, &QTimer::timeout, [&] {
        for (QWidget* top : QApplication::topLevelWidgets()) {
            auto* box = qobject_cast<QMessageBox*>(top);
            if (!box || !box->isVisible()) continue;
            title = box->windowHandle()->title();
            box->close();
        }
    });
    closer.start(0);
    ShowMessageBox(nullptr, "Open Com Error!", caption, MB_OK);
    SetMessageBoxHook(std::move(recorded));
    return title;
}

// The title the window system gets for a dialog whose template has that caption.
QString DialogTitle(int nID)
{
    CDialog dlg(static_cast<UINT>(nID));
    dlg.Create(static_cast<UINT>(nID));
    EXPECT_EQ(dlg.GetWindowText(), nID == IDD_UNTITLED ? "" : "Styles");
    QString title = dlg.GetWidget()->windowHandle()->title();
    dlg.DestroyWindow();
    return title;
}

} // namespace

// The window system puts the program's name on a window whose title is empty; an empty caption
// must show an empty title bar instead.
TEST(WinUiCaptions, AnEmptyCaptionShowsAnEmptyTitle)
{
    struct Case {
        const char* what;
        QString title;
        const char* shown;
    } cases[] = {
        {"message box, empty caption", MessageBoxTitle(""), ""},
        {"message box, caption", MessageBoxTitle("Setting"), "Setting"},
        {"dialog, empty caption", DialogTitle(IDD_UNTITLED), ""},
        {"dialog, caption", DialogTitle(IDD_STYLES), "Styles"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_FALSE(c.title.isEmpty());
        EXPECT_EQ(c.title.trimmed().toStdString(), c.shown);
    }
}
