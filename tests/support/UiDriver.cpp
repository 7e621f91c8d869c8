#include "UiDriver.h"

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QSlider>
#include <QStyle>
#include <QStyleOptionFrame>
#include <QStyleOptionSlider>
#include <QTabBar>
#include <QTreeWidget>

namespace ui {

namespace {

QWidget* Widget(CDialog& dlg, int nID)
{
    CWnd* item = dlg.GetDlgItem(nID);
    return item ? item->GetWidget() : nullptr;
}

bool Operable(CDialog& dlg, int nID)
{
    CWnd* item = dlg.GetDlgItem(nID);
    return item && item->IsWindowEnabled() && item->IsWindowVisible() && dlg.IsRunning();
}

void SendMouse(QWidget* target, QEvent::Type type, QPoint at, int modifiers = 0)
{
    Qt::MouseButton button = type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton;
    QMouseEvent event(type, QPointF(at), QPointF(target->mapToGlobal(at)), button,
                      type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton,
                      Qt::KeyboardModifiers(modifiers));
    QApplication::sendEvent(target, &event);
}

// The rectangle of one part of a slider as its style draws it.
QRect SliderPart(const QSlider* slider, QStyle::SubControl part)
{
    QStyleOptionSlider opt;
    opt.initFrom(slider);
    opt.orientation = slider->orientation();
    opt.minimum = slider->minimum();
    opt.maximum = slider->maximum();
    opt.sliderPosition = slider->sliderPosition();
    opt.sliderValue = slider->value();
    opt.singleStep = slider->singleStep();
    opt.pageStep = slider->pageStep();
    opt.tickPosition = static_cast<QSlider::TickPosition>(slider->tickPosition());
    opt.tickInterval = slider->tickInterval();
    opt.upsideDown = slider->orientation() == Qt::Horizontal
                         ? slider->invertedAppearance() != (opt.direction == Qt::RightToLeft)
                         : !slider->invertedAppearance();
    return slider->style()->subControlRect(QStyle::CC_Slider, &opt, part, slider);
}

} // namespace

bool Click(CDialog& dlg, int nID)
{
    auto* button = qobject_cast<QAbstractButton*>(Widget(dlg, nID));
    if (!button || !Operable(dlg, nID)) return false;
    button->click();
    return true;
}

bool ChooseRow(CDialog& dlg, int nID, int row)
{
    auto* combo = qobject_cast<QComboBox*>(Widget(dlg, nID));
    if (!combo || !Operable(dlg, nID) || row < 0 || row >= combo->count()) return false;
    combo->setCurrentIndex(row);
    emit combo->activated(row);
    return true;
}

bool SelectTab(CDialog& dlg, int nID, int tab)
{
    auto* bar = qobject_cast<QTabBar*>(Widget(dlg, nID));
    if (!bar || !Operable(dlg, nID) || tab < 0 || tab >= bar->count()) return false;
    bar->setCurrentIndex(tab);
    return true;
}

bool Type(CDialog& dlg, int nID, const std::string& text)
{
    QWidget* w = Widget(dlg, nID);
    if (!w || !Operable(dlg, nID)) return false;
    QString q = QString::fromStdString(text);
    QLineEdit* edit = qobject_cast<QLineEdit*>(w);
    if (auto* combo = qobject_cast<QComboBox*>(w)) edit = combo->lineEdit();
    if (edit) {
        if (edit->isReadOnly()) return false;
        edit->selectAll();
        edit->del();
        edit->insert(q); // as typed: validators and edit notifications apply
    } else if (auto* multi = qobject_cast<QPlainTextEdit*>(w)) {
        if (multi->isReadOnly()) return false;
        multi->setPlainText(q);
    } else {
        return false;
    }
    QFocusEvent focusOut(QEvent::FocusOut, Qt::TabFocusReason);
    QApplication::sendEvent(w, &focusOut);
    return true;
}

bool TypeKeys(CDialog& dlg, int nID, const std::string& text)
{
    auto* edit = qobject_cast<QLineEdit*>(Widget(dlg, nID));
    if (!edit || !Operable(dlg, nID)) return false;
    for (QChar c : QString::fromStdString(text)) {
        QKeyEvent press(QEvent::KeyPress, c.toUpper().unicode(), Qt::NoModifier, QString(c));
        QApplication::sendEvent(edit, &press);
    }
    return true;
}

bool SelectRow(CDialog& dlg, int nID, int row)
{
    auto* list = qobject_cast<QTreeWidget*>(Widget(dlg, nID));
    if (!list || row < 0 || row >= list->topLevelItemCount()) return false;
    list->clearSelection();
    list->topLevelItem(row)->setSelected(true);
    list->setCurrentItem(list->topLevelItem(row));
    return true;
}

bool DoubleClickRow(CDialog& dlg, int nID, int row)
{
    auto* list = qobject_cast<QTreeWidget*>(Widget(dlg, nID));
    if (!list || !Operable(dlg, nID) || !SelectRow(dlg, nID, row)) return false;
    emit list->itemDoubleClicked(list->topLevelItem(row), 0);
    return true;
}

void PressKey(CDialog& dlg, int qtKey)
{
    if (!dlg.GetWidget()) return;
    QKeyEvent press(QEvent::KeyPress, qtKey, Qt::NoModifier);
    QApplication::sendEvent(dlg.GetWidget(), &press);
}

void PressKeyIn(CDialog& dlg, int nID, int qtKey)
{
    CWnd* control = dlg.GetDlgItem(nID);
    if (!control || !control->GetWidget()) return;
    control->GetWidget()->setFocus();
    QKeyEvent press(QEvent::KeyPress, qtKey, Qt::NoModifier);
    QApplication::sendEvent(control->GetWidget(), &press);
}

void CloseBox(CDialog& dlg)
{
    if (dlg.GetWidget()) dlg.GetWidget()->close();
}

void ClickAt(CDialog& dlg, CPoint point, int modifiers)
{
    QWidget* top = dlg.GetWidget();
    if (!top) return;
    QPoint at(point.x, point.y);
    // The click goes to whatever child is under the point, as the operator's would.
    QWidget* target = top->childAt(at);
    if (!target) target = top;
    QPoint local = target->mapFrom(top, at);
    SendMouse(target, QEvent::MouseButtonPress, local, modifiers);
    SendMouse(target, QEvent::MouseButtonRelease, local, modifiers);
}

bool PressSlider(CDialog& dlg, int nID, SliderSpot spot, int drag)
{
    auto* slider = qobject_cast<QSlider*>(Widget(dlg, nID));
    if (!slider || !Operable(dlg, nID)) return false;
    bool horizontal = slider->orientation() == Qt::Horizontal;
    QRect groove = SliderPart(slider, QStyle::SC_SliderGroove);
    QRect thumb = SliderPart(slider, QStyle::SC_SliderHandle);
    QPoint at = thumb.center();
    // Halfway between the thumb and the end of the groove on that side.
    if (spot == SliderSpot::GrooveBeforeThumb)
        at = horizontal ? QPoint((groove.left() + thumb.left()) / 2, at.y())
                        : QPoint(at.x(), (groove.top() + thumb.top()) / 2);
    else if (spot == SliderSpot::GrooveAfterThumb)
        at = horizontal ? QPoint((thumb.right() + groove.right()) / 2, at.y())
                        : QPoint(at.x(), (thumb.bottom() + groove.bottom()) / 2);
    QPoint to = at + (horizontal ? QPoint(drag, 0) : QPoint(0, drag));
    SendMouse(slider, QEvent::MouseButtonPress, at);
    if (to != at) SendMouse(slider, QEvent::MouseMove, to);
    SendMouse(slider, QEvent::MouseButtonRelease, to);
    return true;
}

bool DragSlider(CDialog& dlg, int nID, int position)
{
    auto* slider = qobject_cast<QSlider*>(Widget(dlg, nID));
    if (!slider || !Operable(dlg, nID)) return false;
    slider->setSliderDown(true);
    slider->setSliderPosition(position);
    slider->setSliderDown(false);
    return true;
}

CPoint CentreOf(CDialog& dlg, int nID)
{
    QWidget* w = Widget(dlg, nID);
    if (!w) return {};
    QPoint c = w->geometry().center();
    return {c.x(), c.y()};
}

std::vector<std::string> Rows(CDialog& dlg, int nID)
{
    std::vector<std::string> rows;
    QWidget* w = Widget(dlg, nID);
    if (auto* combo = qobject_cast<QComboBox*>(w)) {
        for (int i = 0; i < combo->count(); ++i) rows.push_back(combo->itemText(i).toStdString());
    } else if (auto* list = qobject_cast<QListWidget*>(w)) {
        for (int i = 0; i < list->count(); ++i) rows.push_back(list->item(i)->text().toStdString());
    }
    return rows;
}

std::vector<std::string> ClippedRows(CDialog& dlg, int nID)
{
    std::vector<std::string> clipped;
    auto* list = qobject_cast<QListWidget*>(Widget(dlg, nID));
    if (!list) return clipped;
    // The item view leaves a focus margin and one pixel on either side of a row's text.
    int margin = list->style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, list) + 1;
    int room = list->viewport()->width() - 2 * margin;
    for (int i = 0; i < list->count(); ++i) {
        QString text = list->item(i)->text();
        if (list->fontMetrics().horizontalAdvance(text) > room)
            clipped.push_back(text.toStdString());
    }
    return clipped;
}

bool ShowsWholeText(CDialog& dlg, int nID)
{
    auto* edit = qobject_cast<QLineEdit*>(Widget(dlg, nID));
    if (!edit) return false;
    QStyleOptionFrame option;
    option.initFrom(edit);
    option.rect = edit->rect();
    option.lineWidth = edit->hasFrame()
                           ? edit->style()->pixelMetric(QStyle::PM_DefaultFrameWidth, &option, edit)
                           : 0;
    QRect contents = edit->style()
                         ->subElementRect(QStyle::SE_LineEditContents, &option, edit)
                         .marginsRemoved(edit->textMargins());
    // The edit keeps two pixels clear on either side of its text.
    constexpr int kTextMargin = 2;
    return edit->fontMetrics().horizontalAdvance(edit->text()) <=
           contents.width() - 2 * kTextMargin;
}

CMessageBoxRecorder::CMessageBoxRecorder(int answer) : m_nAnswer(answer)
{
    m_previous = SetMessageBoxHook([this](const MessageBoxRequest& request) {
        m_boxes.push_back(request);
        return m_onBox ? m_onBox(request) : m_nAnswer;
    });
}

CMessageBoxRecorder::~CMessageBoxRecorder()
{
    SetMessageBoxHook(std::move(m_previous));
}

std::vector<std::string> CMessageBoxRecorder::Texts() const
{
    std::vector<std::string> texts;
    for (const auto& box : m_boxes) texts.push_back(box.text);
    return texts;
}

CFileDialogRecorder::CFileDialogRecorder(std::optional<std::string> answer)
    : m_answer(std::move(answer))
{
    m_previous = SetFileDialogHook([this](const FileDialogRequest& request) {
        m_requests.push_back(request);
        return m_answer;
    });
}

CFileDialogRecorder::~CFileDialogRecorder()
{
    SetFileDialogHook(std::move(m_previous));
}

CShellOpenRecorder::CShellOpenRecorder()
{
    m_previous = SetShellOpenHook([this](const std::string& path) {
        m_paths.push_back(path);
        return true;
    });
}

CShellOpenRecorder::~CShellOpenRecorder()
{
    SetShellOpenHook(std::move(m_previous));
}

CModalDriver::CModalDriver(CDialog::ModalHook hook)
    : m_previous(CDialog::SetModalHook(std::move(hook)))
{
}

CModalDriver::~CModalDriver()
{
    CDialog::SetModalHook(std::move(m_previous));
}

} // namespace ui

bool ui::HasStaticText(CDialog& dlg, const std::string& text)
{
    for (auto* label : dlg.GetWidget()->findChildren<QLabel*>()) {
        if (label->text().toStdString() == text) return true;
    }
    return false;
}
