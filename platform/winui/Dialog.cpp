#include "Dialog.h"

#include "DialogLook.h"
#include "DialogWidget.h"
#include "Frame.h"
#include "Resources.h"
#include "WidgetText.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QGroupBox>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMainWindow>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QSlider>
#include <QStyleOptionFrame>
#include <QTabBar>
#include <QTreeWidget>
#include <QValidator>

#include <algorithm>
#include <functional>
#include <utility>

namespace {

CDialog::ModalHook g_modalHook;

// Edits with the upper-case style turn what the operator types into capitals.
class CUpperCaseValidator : public QValidator {
public:
    using QValidator::QValidator;
    State validate(QString& input, int&) const override
    {
        input = input.toUpper();
        return Acceptable;
    }
};

// A single-line edit refuses the typed characters its style does not take: anything but digits
// (number style), or what would not fit in view (no horizontal auto-scroll).
class CEditBox : public QLineEdit {
public:
    CEditBox(const QString& text, unsigned style, QWidget* parent)
        : QLineEdit(text, parent), m_nStyle(style)
    {
        setFrame(!(style & CS_NOBORDER));
        if (style & CS_UPPERCASE) setValidator(new CUpperCaseValidator(this));
        // The program's text shows from its start, however long it is.
        if (style & CS_NOAUTOHSCROLL) {
            connect(this, &QLineEdit::textChanged, this, [this] {
                if (!m_bTyping) setCursorPosition(0);
            });
        }
    }

protected:
    void keyPressEvent(QKeyEvent* event) override
    {
        if (Refuses(event->text())) {
            event->accept();
            return;
        }
        m_bTyping = true;
        QLineEdit::keyPressEvent(event);
        m_bTyping = false;
    }

private:
    bool Refuses(const QString& typed) const
    {
        if (typed.isEmpty() || !typed.front().isPrint() || isReadOnly()) return false;
        if ((m_nStyle & CS_NUMBER) && !std::all_of(typed.begin(), typed.end(),
                                                   [](QChar c) { return c >= u'0' && c <= u'9'; }))
            return true;
        return (m_nStyle & CS_NOAUTOHSCROLL) && !Fits(WithTyped(typed));
    }
    // The text as it would be with the typed characters in place of the selection.
    QString WithTyped(const QString& typed) const
    {
        QString after = text();
        int from = hasSelectedText() ? selectionStart() : cursorPosition();
        return after.replace(from, static_cast<int>(selectedText().size()), typed);
    }
    bool Fits(const QString& candidate) const
    {
        QStyleOptionFrame option;
        initStyleOption(&option);
        QRect room = style()->subElementRect(QStyle::SE_LineEditContents, &option, this);
        room = room.marginsRemoved(textMargins());
        return fontMetrics().horizontalAdvance(candidate) <= room.width() - 2 * kTextMargin;
    }

    static constexpr int kTextMargin = 2; // Qt's line edit keeps this much room on each side
    unsigned m_nStyle;
    bool m_bTyping = false;
};

// A trackbar takes the mouse capture on any left press on it, the groove included (a groove click
// moves it one page), and reports the release of the capture when the button comes up. Qt reports
// only the end of a thumb drag (sliderReleased); this reports the end of every other press.
class CTrackBar : public QSlider {
public:
    using QSlider::QSlider;
    std::function<void()> m_fnPressEnded;

protected:
    void mousePressEvent(QMouseEvent* event) override
    {
        QSlider::mousePressEvent(event);
        if (event->button() != Qt::LeftButton) return;
        m_bCaptured = true;
        event->accept(); // the capture stays here even where Qt's slider ignores the press
    }
    void mouseReleaseEvent(QMouseEvent* event) override
    {
        bool thumb = isSliderDown();
        QSlider::mouseReleaseEvent(event);
        if (event->button() != Qt::LeftButton || !std::exchange(m_bCaptured, false)) return;
        if (!thumb && m_fnPressEnded) m_fnPressEnded();
    }

private:
    bool m_bCaptured = false;
};

// Dialog units to pixels for the font the dialog actually got, as the original scales its
// templates: a horizontal unit is a quarter of the average letter width, a vertical one an eighth
// of the line height.
struct CDialogUnits {
    explicit CDialogUnits(const QFont& font)
    {
        QFontMetrics fm(font);
        static const QString sample = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz";
        m_nBaseX = std::max(1, (fm.horizontalAdvance(sample) / 26 + 1) / 2);
        m_nBaseY = std::max(1, fm.height());
    }
    int X(int dlu) const { return (dlu * m_nBaseX + 2) / 4; }
    int Y(int dlu) const { return (dlu * m_nBaseY + 4) / 8; }
    int m_nBaseX;
    int m_nBaseY;
};

std::unique_ptr<CWnd> MakeWrapper(CtlKind kind)
{
    switch (kind) {
    case CtlKind::Static:
    case CtlKind::Icon:
        return std::make_unique<CStatic>();
    case CtlKind::Edit:
        return std::make_unique<CEdit>();
    case CtlKind::Button:
    case CtlKind::CheckBox:
    case CtlKind::AutoCheckBox:
    case CtlKind::Radio:
    case CtlKind::GroupBox:
        return std::make_unique<CButton>();
    case CtlKind::DropList:
    case CtlKind::DropDown:
        return std::make_unique<CComboBox>();
    case CtlKind::ListBox:
        return std::make_unique<CListBox>();
    case CtlKind::ListCtrl:
        return std::make_unique<CListCtrl>();
    case CtlKind::Progress:
        return std::make_unique<CProgressCtrl>();
    case CtlKind::Slider:
        return std::make_unique<CSliderCtrl>();
    case CtlKind::Tab:
        return std::make_unique<CTabCtrl>();
    }
    return std::make_unique<CWnd>();
}

QStringList Rows(const ControlTemplate& ctl)
{
    QStringList rows;
    for (const std::string& item : ctl.items) rows << QString::fromStdString(item);
    if (ctl.style & CS_SORT) {
        std::stable_sort(rows.begin(), rows.end(), [](const QString& a, const QString& b) {
            return QString::compare(a, b, Qt::CaseInsensitive) < 0;
        });
    }
    return rows;
}

QWidget* MakeWidget(const ControlTemplate& ctl, QWidget* parent)
{
    QString text = QString::fromStdString(ctl.text);
    switch (ctl.kind) {
    case CtlKind::Static: {
        auto* label = new QLabel(text, parent);
        label->setTextFormat(Qt::PlainText);
        label->setWordWrap(true);
        Qt::Alignment h = (ctl.style & CS_CENTER)  ? Qt::AlignHCenter
                          : (ctl.style & CS_RIGHT) ? Qt::AlignRight
                                                   : Qt::AlignLeft;
        label->setAlignment(h | Qt::AlignTop);
        if (ctl.style & CS_BORDER) label->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        return label;
    }
    case CtlKind::Icon: {
        auto* label = new QLabel(parent);
        label->setProperty("iconId", text.toInt());
        return label;
    }
    case CtlKind::Edit: {
        if (ctl.style & CS_MULTILINE) {
            auto* edit = new QPlainTextEdit(text, parent);
            edit->setReadOnly(ctl.style & CS_READONLY);
            if (ctl.style & CS_NOBORDER) edit->setFrameStyle(QFrame::NoFrame);
            return edit;
        }
        auto* edit = new CEditBox(text, ctl.style, parent);
        edit->setReadOnly(ctl.style & CS_READONLY);
        return edit;
    }
    case CtlKind::Button: {
        auto* button = new QPushButton(text, parent);
        button->setAutoDefault(false);
        button->setDefault(ctl.style & CS_DEFAULT);
        return button;
    }
    case CtlKind::CheckBox:
    case CtlKind::AutoCheckBox:
        return new QCheckBox(text, parent);
    case CtlKind::Radio: {
        auto* radio = new QRadioButton(text, parent);
        radio->setAutoExclusive(false); // groups follow the template, not the widget tree
        return radio;
    }
    case CtlKind::GroupBox:
        return new QGroupBox(text, parent);
    case CtlKind::DropList:
    case CtlKind::DropDown: {
        auto* combo = new QComboBox(parent);
        combo->setEditable(ctl.kind == CtlKind::DropDown);
        combo->setInsertPolicy(QComboBox::NoInsert);
        combo->addItems(Rows(ctl));
        combo->setCurrentIndex(-1); // no row is chosen until the program or the operator chooses
        combo->setProperty("sorted", (ctl.style & CS_SORT) != 0);
        return combo;
    }
    case CtlKind::ListBox: {
        auto* list = new QListWidget(parent);
        list->addItems(Rows(ctl));
        list->setProperty("sorted", (ctl.style & CS_SORT) != 0);
        return list;
    }
    case CtlKind::ListCtrl: {
        auto* list = new QTreeWidget(parent);
        list->setColumnCount(0);
        list->setRootIsDecorated(false);
        list->setUniformRowHeights(true);
        list->setSelectionMode(QAbstractItemView::SingleSelection);
        list->setEditTriggers(QAbstractItemView::NoEditTriggers);
        list->header()->setStretchLastSection(false);
        list->header()->setMinimumSectionSize(1); // hidden columns are 1 pixel wide
        return list;
    }
    case CtlKind::Progress: {
        auto* bar = new QProgressBar(parent);
        bar->setRange(0, 100);
        bar->setValue(0);
        bar->setTextVisible(false);
        return bar;
    }
    case CtlKind::Slider: {
        auto* slider =
            new CTrackBar(ctl.style & CS_VERTICAL ? Qt::Vertical : Qt::Horizontal, parent);
        slider->setRange(0, 100);
        return slider;
    }
    case CtlKind::Tab:
        return new QTabBar(parent);
    }
    return new QWidget(parent);
}

bool IsCombo(CtlKind kind)
{
    return kind == CtlKind::DropList || kind == CtlKind::DropDown;
}

bool TakesFocus(CtlKind kind)
{
    static const CtlKind passive[] = {CtlKind::Static, CtlKind::Icon, CtlKind::GroupBox,
                                      CtlKind::Progress};
    return std::find(std::begin(passive), std::end(passive), kind) == std::end(passive);
}

// A static's "&" marks a mnemonic: the letter after it is underlined, "&&" shows one "&", and the
// mnemonic moves the focus to the next control that takes it, as the dialog manager does. Qt reads
// a label's "&" so only when the label has a buddy; a static with no such control after it is its
// own buddy, which shows the mnemonic and moves nothing.
void GiveMnemonicsTheirControls(const DialogTemplate& tmpl, const std::vector<QWidget*>& built)
{
    const std::vector<ControlTemplate>& controls = tmpl.controls;
    for (size_t i = 0; i < controls.size(); ++i) {
        if (controls[i].kind != CtlKind::Static) continue;
        auto* label = static_cast<QLabel*>(built[i]);
        auto next =
            std::find_if(controls.begin() + static_cast<std::ptrdiff_t>(i) + 1, controls.end(),
                         [](const ControlTemplate& c) { return TakesFocus(c.kind); });
        label->setBuddy(next == controls.end() ? label : built[next - controls.begin()]);
    }
}

} // namespace

// ---- CDialogWidget

CDialogWidget::CDialogWidget(CDialog* owner, QWidget* parent) : QDialog(parent), m_pOwner(owner)
{
    setMouseTracking(true);
    // The caption is exactly the template's: no context-help button, nothing appended.
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
}

void CDialogWidget::WatchFocus(QWidget* control)
{
    control->installEventFilter(this);
}

void CDialogWidget::keyPressEvent(QKeyEvent* event)
{
    if (!m_pOwner) return;
    // A page's keys belong to the window it lies in.
    if (!isWindow()) {
        event->ignore();
        return;
    }
    switch (event->key()) {
    case Qt::Key_Escape:
        m_pOwner->HandleEscape();
        break;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        m_pOwner->HandleEnter();
        break;
    default:
        QDialog::keyPressEvent(event);
        return;
    }
    event->accept();
}

void CDialogWidget::closeEvent(QCloseEvent* event)
{
    // Only the dialog's own close handling ends it.
    event->ignore();
    if (m_pOwner) m_pOwner->HandleCloseBox();
}

namespace {

// The key flags of a mouse message: the buttons held and Shift and Ctrl.
UINT KeyFlags(const QMouseEvent* event)
{
    UINT flags = 0;
    if (event->buttons() & Qt::LeftButton) flags |= MK_LBUTTON;
    if (event->buttons() & Qt::RightButton) flags |= MK_RBUTTON;
    if (event->modifiers() & Qt::ShiftModifier) flags |= MK_SHIFT;
    if (event->modifiers() & Qt::ControlModifier) flags |= MK_CONTROL;
    return flags;
}

} // namespace

void CDialogWidget::mousePressEvent(QMouseEvent* event)
{
    if (m_pOwner && event->button() == Qt::LeftButton) {
        QPoint p = event->position().toPoint();
        m_pOwner->OnLButtonDown(KeyFlags(event), CPoint{p.x(), p.y()});
    }
}

void CDialogWidget::mouseReleaseEvent(QMouseEvent* event)
{
    if (m_pOwner && event->button() == Qt::LeftButton) {
        QPoint p = event->position().toPoint();
        m_pOwner->OnLButtonUp(KeyFlags(event), CPoint{p.x(), p.y()});
    }
}

void CDialogWidget::mouseMoveEvent(QMouseEvent* event)
{
    if (m_pOwner) {
        QPoint p = event->position().toPoint();
        m_pOwner->OnMouseMove(KeyFlags(event), CPoint{p.x(), p.y()});
    }
}

bool CDialogWidget::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::FocusOut && m_pOwner && m_pOwner->IsRunning()) {
        m_pOwner->OnNotify(EN_KILLFOCUS, watched->property("ctrlId").toUInt());
    }
    return QDialog::eventFilter(watched, event);
}

void CDialogWidget::reject()
{
    if (m_pOwner) m_pOwner->HandleEscape();
}

// ---- data exchange

namespace {

QWidget* Control(CDataExchange* pDX, int nIDC)
{
    CWnd* item = pDX->m_pDlgWnd->GetDlgItem(nIDC);
    return item ? item->GetWidget() : nullptr;
}

} // namespace

void DDX_Text(CDataExchange* pDX, int nIDC, std::string& value)
{
    QWidget* w = Control(pDX, nIDC);
    if (!w) return;
    if (pDX->m_bSaveAndValidate)
        value = WidgetText(w);
    else
        SetWidgetText(w, value);
}

void DDX_Check(CDataExchange* pDX, int nIDC, int& value)
{
    bool checked = value == 1;
    DDX_Check(pDX, nIDC, checked);
    if (pDX->m_bSaveAndValidate) value = checked ? 1 : 0;
}

void DDX_Check(CDataExchange* pDX, int nIDC, bool& value)
{
    auto* b = qobject_cast<QAbstractButton*>(Control(pDX, nIDC));
    if (!b) return;
    if (pDX->m_bSaveAndValidate)
        value = b->isChecked();
    else
        b->setChecked(value);
}

void DDX_Radio(CDataExchange* pDX, int nIDC, int& value)
{
    std::vector<QAbstractButton*> group;
    CDialog* dlg = pDX->m_pDlgWnd;
    const DialogTemplate* tmpl = FindDialogTemplate(static_cast<int>(dlg->GetTemplateID()));
    if (!tmpl) return;
    auto first = std::find_if(tmpl->controls.begin(), tmpl->controls.end(),
                              [nIDC](const ControlTemplate& c) { return c.nID == nIDC; });
    for (auto it = first; it != tmpl->controls.end() && it->kind == CtlKind::Radio; ++it) {
        if (it != first && (it->style & CS_GROUP)) break;
        if (CWnd* item = dlg->GetDlgItem(it->nID)) {
            group.push_back(qobject_cast<QAbstractButton*>(item->GetWidget()));
        }
    }
    if (pDX->m_bSaveAndValidate) {
        auto checked =
            std::find_if(group.begin(), group.end(), [](auto* b) { return b->isChecked(); });
        value = checked == group.end() ? -1 : static_cast<int>(checked - group.begin());
    } else {
        for (size_t i = 0; i < group.size(); ++i)
            group[i]->setChecked(static_cast<int>(i) == value);
    }
}

void DDX_CBIndex(CDataExchange* pDX, int nIDC, int& value)
{
    auto* c = qobject_cast<QComboBox*>(Control(pDX, nIDC));
    if (!c) return;
    if (pDX->m_bSaveAndValidate)
        value = c->currentIndex();
    else
        c->setCurrentIndex(value >= 0 && value < c->count() ? value : -1);
}

void DDX_LBIndex(CDataExchange* pDX, int nIDC, int& value)
{
    auto* l = qobject_cast<QListWidget*>(Control(pDX, nIDC));
    if (!l) return;
    if (pDX->m_bSaveAndValidate) {
        value = l->currentRow();
    } else {
        QSignalBlocker quiet(l);
        l->setCurrentRow(value);
    }
}

void DDX_Slider(CDataExchange* pDX, int nIDC, int& value)
{
    auto* s = qobject_cast<QSlider*>(Control(pDX, nIDC));
    if (!s) return;
    if (pDX->m_bSaveAndValidate) {
        value = s->sliderPosition();
    } else {
        QSignalBlocker quiet(s);
        s->setValue(value);
    }
}

void DDX_Control(CDataExchange* pDX, int nIDC, CWnd& control)
{
    if (QWidget* w = Control(pDX, nIDC)) pDX->m_pDlgWnd->AttachMember(control, w);
}

// ---- CDialog

CDialog::CDialog(UINT nIDTemplate, CWnd* pParentWnd)
    : m_nIDTemplate(nIDTemplate), m_pParentWnd(pParentWnd)
{
}

CDialog::~CDialog()
{
    // The derived class's member controls are gone by now: only forget them.
    m_attached.clear();
    Teardown();
}

CDialog::ModalHook CDialog::SetModalHook(ModalHook hook)
{
    return std::exchange(g_modalHook, std::move(hook));
}

bool CDialog::BuildFromTemplate(CWnd* pParentWnd)
{
    const DialogTemplate* tmpl = FindDialogTemplate(static_cast<int>(m_nIDTemplate));
    if (!tmpl) return false;
    QWidget* parent = pParentWnd ? pParentWnd->GetWidget() : nullptr;
    if (!parent && AfxGetMainWnd()) parent = AfxGetMainWnd()->GetWidget();
    auto* widget = new CDialogWidget(this, parent);
    // A page lives inside its parent window instead of being a window of its own.
    if (tmpl->bChild) widget->setWindowFlags(Qt::Widget);
    m_pWidget = widget;
    SetWindowCaption(widget, tmpl->caption);
    widget->setFont(DialogFont());
    widget->setStyle(DialogStyle());
    CDialogUnits units(widget->font());
    if (tmpl->bChild) {
        // Its window moves and sizes it; it stays hidden until shown.
        widget->resize(units.X(tmpl->cx), units.Y(tmpl->cy));
        widget->hide();
    } else {
        widget->setFixedSize(units.X(tmpl->cx), units.Y(tmpl->cy));
    }

    int radioGroup = 0;
    CtlKind previous = CtlKind::Static;
    std::vector<QWidget*> built;
    for (const ControlTemplate& ctl : tmpl->controls) {
        QWidget* w = MakeWidget(ctl, widget);
        built.push_back(w);
        // A widget's style reaches none of its parts: give it to each.
        w->setStyle(DialogStyle());
        for (QWidget* part : w->findChildren<QWidget*>()) part->setStyle(DialogStyle());
        int height = IsCombo(ctl.kind) ? w->sizeHint().height() : units.Y(ctl.cy);
        w->setGeometry(units.X(ctl.x), units.Y(ctl.y), units.X(ctl.cx), height);
        w->setProperty("ctrlId", ctl.nID);
        w->setObjectName(QString("ctl%1").arg(ctl.nID));
        w->setEnabled(!(ctl.style & CS_DISABLED));
        w->setVisible(!(ctl.style & CS_HIDDEN));
        if (ctl.kind == CtlKind::GroupBox) w->lower();
        if (ctl.kind == CtlKind::Radio) {
            if (previous != CtlKind::Radio || (ctl.style & CS_GROUP)) ++radioGroup;
            w->setProperty("radioGroup", radioGroup);
        }
        previous = ctl.kind;
        auto wrapper = MakeWrapper(ctl.kind);
        wrapper->Attach(w);
        m_controls[ctl.nID] = std::move(wrapper);
        ConnectNotifications(ctl, w);
    }
    GiveMnemonicsTheirControls(*tmpl, built);
    // Icons are sized to their statics only once the statics have their geometry.
    for (const ControlTemplate& ctl : tmpl->controls) {
        if (ctl.kind == CtlKind::Icon) {
            auto* icon = GetDlgItemAs<CStatic>(ctl.nID);
            icon->SetIcon(std::stoi(ctl.text.empty() ? "0" : ctl.text));
        }
    }
    return true;
}

void CDialog::ConnectNotifications(const ControlTemplate& ctl, QWidget* w)
{
    auto* dlg = static_cast<CDialogWidget*>(m_pWidget);
    UINT id = static_cast<UINT>(ctl.nID);
    // Every notification goes through the widget, which forgets its owner when the dialog ends.
    auto notify = [dlg, id](UINT code) {
        if (CDialog* owner = dlg->Owner(); owner && owner->IsRunning())
            owner->RouteNotify(code, id);
    };
    switch (ctl.kind) {
    case CtlKind::Button:
        QObject::connect(static_cast<QAbstractButton*>(w), &QAbstractButton::clicked, dlg,
                         [dlg, id] {
                             CDialog* owner = dlg->Owner();
                             if (!owner || !owner->IsRunning() || owner->OnNotify(BN_CLICKED, id))
                                 return;
                             if (id == IDOK)
                                 owner->OnOK();
                             else if (id == IDCANCEL)
                                 owner->OnCancel();
                         });
        break;
    case CtlKind::CheckBox: {
        auto* box = static_cast<QAbstractButton*>(w);
        // This kind changes only when the program sets it.
        QObject::connect(box, &QAbstractButton::clicked, dlg, [box, notify](bool checked) {
            QSignalBlocker quiet(box);
            box->setChecked(!checked);
            notify(BN_CLICKED);
        });
        break;
    }
    case CtlKind::AutoCheckBox:
        QObject::connect(static_cast<QAbstractButton*>(w), &QAbstractButton::clicked, dlg,
                         [notify] { notify(BN_CLICKED); });
        break;
    case CtlKind::Radio: {
        auto* radio = static_cast<QAbstractButton*>(w);
        QObject::connect(radio, &QAbstractButton::clicked, dlg, [dlg, radio, notify] {
            int group = radio->property("radioGroup").toInt();
            for (auto* other : dlg->findChildren<QRadioButton*>()) {
                if (other->property("radioGroup").toInt() == group)
                    other->setChecked(other == radio);
            }
            notify(BN_CLICKED);
        });
        break;
    }
    case CtlKind::DropList:
    case CtlKind::DropDown: {
        auto* combo = static_cast<QComboBox*>(w);
        // Only the operator's choice is a selection change; the program's own changes are not.
        QObject::connect(combo, &QComboBox::activated, dlg, [notify] { notify(CBN_SELCHANGE); });
        if (combo->lineEdit()) {
            QObject::connect(combo->lineEdit(), &QLineEdit::textEdited, dlg,
                             [notify] { notify(CBN_EDITCHANGE); });
        }
        break;
    }
    case CtlKind::Edit:
        if (auto* edit = qobject_cast<QLineEdit*>(w)) {
            QObject::connect(edit, &QLineEdit::textChanged, dlg, [notify] {
                notify(EN_UPDATE);
                notify(EN_CHANGE);
            });
        } else {
            QObject::connect(static_cast<QPlainTextEdit*>(w), &QPlainTextEdit::textChanged, dlg,
                             [notify] {
                                 notify(EN_UPDATE);
                                 notify(EN_CHANGE);
                             });
        }
        dlg->WatchFocus(w);
        break;
    case CtlKind::ListBox: {
        auto* list = static_cast<QListWidget*>(w);
        QObject::connect(list, &QListWidget::currentRowChanged, dlg,
                         [notify] { notify(LBN_SELCHANGE); });
        QObject::connect(list, &QListWidget::itemDoubleClicked, dlg,
                         [notify] { notify(LBN_DBLCLK); });
        break;
    }
    case CtlKind::ListCtrl: {
        auto* list = static_cast<QTreeWidget*>(w);
        QObject::connect(list, &QTreeWidget::itemClicked, dlg, [notify] { notify(NM_CLICK); });
        QObject::connect(list, &QTreeWidget::itemDoubleClicked, dlg,
                         [notify] { notify(NM_DBLCLK); });
        break;
    }
    case CtlKind::Slider: {
        auto* slider = static_cast<CTrackBar*>(w);
        bool vertical = ctl.style & CS_VERTICAL;
        auto scroll = [dlg, id, vertical, slider](UINT code) {
            CDialog* owner = dlg->Owner();
            if (!owner || !owner->IsRunning()) return;
            CWnd* bar = owner->GetDlgItem(static_cast<int>(id));
            UINT pos = static_cast<UINT>(slider->sliderPosition());
            if (vertical)
                owner->OnVScroll(code, pos, bar);
            else
                owner->OnHScroll(code, pos, bar);
        };
        QObject::connect(slider, &QSlider::actionTriggered, dlg,
                         [scroll] { scroll(SB_THUMBTRACK); });
        auto released = [scroll, notify] {
            scroll(SB_ENDSCROLL);
            notify(NM_RELEASEDCAPTURE);
        };
        QObject::connect(slider, &QSlider::sliderReleased, dlg, released);
        slider->m_fnPressEnded = released;
        break;
    }
    case CtlKind::Tab:
        QObject::connect(static_cast<QTabBar*>(w), &QTabBar::currentChanged, dlg,
                         [notify] { notify(TCN_SELCHANGE); });
        break;
    case CtlKind::Static:
    case CtlKind::Icon:
    case CtlKind::GroupBox:
    case CtlKind::Progress:
        break;
    }
}

INT_PTR CDialog::DoModal()
{
    if (m_pWidget || !BuildFromTemplate(m_pParentWnd)) return -1;
    m_bModal = true;
    m_bEnded = false;
    OnInitDialog();
    if (!m_bEnded) {
        if (g_modalHook) {
            g_modalHook(*this);
            if (IsRunning()) OnCancel();
            if (IsRunning()) EndDialog(IDCANCEL);
        } else {
            static_cast<QDialog*>(m_pWidget)->exec();
        }
    }
    int result = m_nEndResult;
    Teardown();
    return result;
}

BOOL CDialog::Create(UINT nIDTemplate, CWnd* pParentWnd)
{
    m_nIDTemplate = nIDTemplate;
    m_pParentWnd = pParentWnd;
    if (m_pWidget || !BuildFromTemplate(pParentWnd)) return FALSE;
    m_bModal = false;
    m_bEnded = false;
    OnInitDialog();
    const DialogTemplate* tmpl = FindDialogTemplate(static_cast<int>(nIDTemplate));
    if (IsRunning() && !(tmpl && tmpl->bChild)) ShowWindow(SW_SHOW);
    return TRUE;
}

void CDialog::DestroyWindow()
{
    if (!m_pWidget) return;
    m_bEnded = true;
    Teardown();
}

void CDialog::EndDialog(int nResult)
{
    if (!m_pWidget || m_bEnded) return;
    m_bEnded = true;
    m_nEndResult = nResult;
    // A dialog that has ended polls no more.
    StopAllTimers();
    if (m_bModal)
        static_cast<QDialog*>(m_pWidget)->done(nResult);
    else
        m_pWidget->hide();
}

void CDialog::Teardown()
{
    if (!m_pWidget) return;
    OnDestroy();
    auto* widget = static_cast<CDialogWidget*>(m_pWidget);
    // Child windows go with their parent, before it: their timers stop and their handles drop.
    for (auto* child : widget->findChildren<QDialog*>()) {
        auto* page = dynamic_cast<CDialogWidget*>(child);
        if (page && page->Owner()) page->Owner()->DestroyWindow();
    }
    widget->Release();
    for (CWnd* member : m_attached) member->Attach(nullptr);
    m_attached.clear();
    m_controls.clear();
    ReleaseWidget();
    widget->hide();
    widget->deleteLater();
}

BOOL CDialog::OnInitDialog()
{
    UpdateData(FALSE);
    return TRUE;
}

void CDialog::OnOK()
{
    if (UpdateData(TRUE)) EndDialog(IDOK);
}

void CDialog::OnCancel()
{
    EndDialog(IDCANCEL);
}

void CDialog::AttachMember(CWnd& control, QWidget* widget)
{
    control.Attach(widget);
    if (std::find(m_attached.begin(), m_attached.end(), &control) == m_attached.end()) {
        m_attached.push_back(&control);
    }
}

bool CDialog::RouteNotify(UINT nCode, UINT nID)
{
    for (CWnd* member : m_attached) {
        if (static_cast<UINT>(member->GetDlgCtrlID()) == nID &&
            member->HasHandler(nCode, AFX_REFLECTED_ID))
            return member->OnNotify(nCode, AFX_REFLECTED_ID);
    }
    return OnNotify(nCode, nID);
}

void CDialog::OnClose()
{
    if (CancelAllowed()) OnCancel();
}

void CDialog::DoDataExchange(CDataExchange*) {}

BOOL CDialog::UpdateData(BOOL bSaveAndValidate)
{
    if (!m_pWidget) return FALSE;
    CDataExchange dx(this, bSaveAndValidate);
    DoDataExchange(&dx);
    return TRUE;
}

CWnd* CDialog::GetDlgItem(int nID) const
{
    auto found = m_controls.find(nID);
    return found == m_controls.end() ? nullptr : found->second.get();
}

void CDialog::SetDlgItemText(int nID, const std::string& text)
{
    if (CWnd* item = GetDlgItem(nID)) item->SetWindowText(text);
}

std::string CDialog::GetDlgItemText(int nID) const
{
    CWnd* item = GetDlgItem(nID);
    return item ? item->GetWindowText() : std::string();
}

void CDialog::CheckDlgButton(int nID, UINT nCheck)
{
    if (auto* b = GetDlgItemAs<CButton>(nID)) b->SetCheck(static_cast<int>(nCheck));
}

UINT CDialog::IsDlgButtonChecked(int nID) const
{
    auto* b = GetDlgItemAs<CButton>(nID);
    return b ? static_cast<UINT>(b->GetCheck()) : 0;
}

void CDialog::CheckRadioButton(int nIDFirst, int nIDLast, int nIDCheck)
{
    for (int id = nIDFirst; id <= nIDLast; ++id) CheckDlgButton(id, id == nIDCheck);
}

int CDialog::GetCheckedRadioButton(int nIDFirst, int nIDLast) const
{
    for (int id = nIDFirst; id <= nIDLast; ++id) {
        if (IsDlgButtonChecked(id)) return id;
    }
    return 0;
}

bool CDialog::CancelAllowed() const
{
    CWnd* cancel = GetDlgItem(IDCANCEL);
    return !cancel || cancel->IsWindowEnabled();
}

void CDialog::HandleEscape()
{
    if (!IsRunning() || !CancelAllowed()) return;
    if (!OnNotify(BN_CLICKED, IDCANCEL)) OnCancel();
}

void CDialog::HandleEnter()
{
    if (!IsRunning()) return;
    QWidget* focus = QApplication::focusWidget();
    auto* focused = qobject_cast<QPushButton*>(focus);
    if (focused && focused->window() == m_pWidget && focused->isEnabled()) {
        focused->click();
        return;
    }
    // As the Windows dialog manager does, Enter sends the default button's command also when the
    // template hides that button, nothing while it is disabled, and with no default button the
    // OK command, which the dialog's map or OnOK takes.
    for (auto* button : m_pWidget->findChildren<QPushButton*>()) {
        if (button->isDefault()) {
            if (button->isEnabled()) button->click();
            return;
        }
    }
    if (!OnNotify(BN_CLICKED, IDOK)) OnOK();
}

void CDialog::HandleCloseBox()
{
    if (IsRunning()) OnClose();
}
