#include "Controls.h"

#include "Resources.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QSignalBlocker>
#include <QSlider>
#include <QTabBar>
#include <QTreeWidget>

namespace {

template <class T> T* As(QWidget* w)
{
    return qobject_cast<T*>(w);
}

QString Q(const std::string& text)
{
    return QString::fromStdString(text);
}

// Sorted boxes insert a row at its place in the order, as the original's sorted style does.
int SortedPosition(const QStringList& rows, const QString& text)
{
    auto it =
        std::upper_bound(rows.begin(), rows.end(), text, [](const QString& a, const QString& b) {
            return QString::compare(a, b, Qt::CaseInsensitive) < 0;
        });
    return static_cast<int>(it - rows.begin());
}

bool IsSorted(const QWidget* w)
{
    return w->property("sorted").toBool();
}

QStringList ComboRows(const QComboBox* combo)
{
    QStringList rows;
    for (int i = 0; i < combo->count(); ++i) rows << combo->itemText(i);
    return rows;
}

QStringList ListRows(const QListWidget* list)
{
    QStringList rows;
    for (int i = 0; i < list->count(); ++i) rows << list->item(i)->text();
    return rows;
}

} // namespace

// ---- CEdit

void CEdit::SetReadOnly(BOOL bReadOnly)
{
    if (auto* e = As<QLineEdit>(m_pWidget)) e->setReadOnly(bReadOnly);
    if (auto* e = As<QPlainTextEdit>(m_pWidget)) e->setReadOnly(bReadOnly);
}

void CEdit::SetLimitText(UINT nMax)
{
    if (auto* e = As<QLineEdit>(m_pWidget)) e->setMaxLength(static_cast<int>(nMax));
}

void CEdit::SetSel(int nStart, int nEnd)
{
    if (auto* e = As<QLineEdit>(m_pWidget)) {
        if (nStart == -1)
            e->deselect();
        else
            e->setSelection(nStart, (nEnd < 0 ? e->text().size() : nEnd) - nStart);
    } else if (auto* t = As<QPlainTextEdit>(m_pWidget)) {
        QTextCursor c = t->textCursor();
        c.movePosition(nStart < 0 || nEnd < 0 ? QTextCursor::End : QTextCursor::Start);
        t->setTextCursor(c);
    }
}

void CEdit::ReplaceSel(const std::string& text)
{
    if (auto* e = As<QLineEdit>(m_pWidget)) e->insert(Q(text));
    if (auto* t = As<QPlainTextEdit>(m_pWidget)) t->insertPlainText(Q(text).replace("\r\n", "\n"));
}

int CEdit::GetLineCount() const
{
    if (auto* t = As<QPlainTextEdit>(m_pWidget)) return t->document()->blockCount();
    return m_pWidget ? 1 : 0;
}

// ---- CButton

int CButton::GetCheck() const
{
    auto* b = As<QAbstractButton>(m_pWidget);
    return b && b->isChecked() ? BST_CHECKED : BST_UNCHECKED;
}

void CButton::SetCheck(int nCheck)
{
    if (auto* b = As<QAbstractButton>(m_pWidget)) b->setChecked(nCheck == BST_CHECKED);
}

HICON CButton::SetIcon(HICON hIcon)
{
    auto* b = As<QAbstractButton>(m_pWidget);
    if (!b) return 0;
    HICON old = GetIcon();
    b->setProperty("iconId", hIcon);
    b->setIcon(IconFor(hIcon));
    int side = std::max(1, std::min(b->width(), b->height()) - 4);
    b->setIconSize(QSize(side, side));
    return old;
}

HICON CButton::GetIcon() const
{
    return m_pWidget ? m_pWidget->property("iconId").toInt() : 0;
}

// ---- CStatic

HICON CStatic::SetIcon(HICON hIcon)
{
    auto* label = As<QLabel>(m_pWidget);
    if (!label) return 0;
    HICON old = GetIcon();
    label->setProperty("iconId", hIcon);
    label->setPixmap(IconFor(hIcon).pixmap(label->size()));
    return old;
}

HICON CStatic::GetIcon() const
{
    return m_pWidget ? m_pWidget->property("iconId").toInt() : 0;
}

// ---- CComboBox

int CComboBox::GetCount() const
{
    auto* c = As<QComboBox>(m_pWidget);
    return c ? c->count() : CB_ERR;
}

int CComboBox::GetCurSel() const
{
    auto* c = As<QComboBox>(m_pWidget);
    return c ? c->currentIndex() : CB_ERR;
}

int CComboBox::SetCurSel(int nSelect)
{
    auto* c = As<QComboBox>(m_pWidget);
    if (!c) return CB_ERR;
    bool valid = nSelect >= 0 && nSelect < c->count();
    c->setCurrentIndex(valid ? nSelect : -1);
    return valid ? nSelect : CB_ERR;
}

int CComboBox::AddString(const std::string& text)
{
    auto* c = As<QComboBox>(m_pWidget);
    if (!c) return CB_ERR;
    int at = IsSorted(c) ? SortedPosition(ComboRows(c), Q(text)) : c->count();
    return InsertString(at, text);
}

int CComboBox::InsertString(int nIndex, const std::string& text)
{
    auto* c = As<QComboBox>(m_pWidget);
    if (!c) return CB_ERR;
    int at = nIndex < 0 || nIndex > c->count() ? c->count() : nIndex;
    int selected = c->currentIndex();
    c->insertItem(at, Q(text));
    // A new row never selects itself; an editable box keeps its typed text too.
    if (selected < 0) c->setCurrentIndex(-1);
    return at;
}

int CComboBox::DeleteString(int nIndex)
{
    auto* c = As<QComboBox>(m_pWidget);
    if (!c || nIndex < 0 || nIndex >= c->count()) return CB_ERR;
    c->removeItem(nIndex);
    return c->count();
}

void CComboBox::ResetContent()
{
    if (auto* c = As<QComboBox>(m_pWidget)) c->clear();
}

std::string CComboBox::GetLBText(int nIndex) const
{
    auto* c = As<QComboBox>(m_pWidget);
    return c && nIndex >= 0 && nIndex < c->count() ? c->itemText(nIndex).toStdString()
                                                   : std::string();
}

int CComboBox::FindStringExact(int nStartAfter, const std::string& text) const
{
    auto* c = As<QComboBox>(m_pWidget);
    if (!c) return CB_ERR;
    for (int k = 1; k <= c->count(); ++k) {
        int i = (nStartAfter + k + c->count()) % c->count();
        if (QString::compare(c->itemText(i), Q(text), Qt::CaseInsensitive) == 0) return i;
    }
    return CB_ERR;
}

int CComboBox::SelectString(int nStartAfter, const std::string& text)
{
    auto* c = As<QComboBox>(m_pWidget);
    if (!c) return CB_ERR;
    for (int k = 1; k <= c->count(); ++k) {
        int i = (nStartAfter + k + c->count()) % c->count();
        if (c->itemText(i).startsWith(Q(text), Qt::CaseInsensitive)) return SetCurSel(i);
    }
    return CB_ERR;
}

// ---- CListBox

int CListBox::GetCount() const
{
    auto* l = As<QListWidget>(m_pWidget);
    return l ? l->count() : LB_ERR;
}

int CListBox::GetCurSel() const
{
    auto* l = As<QListWidget>(m_pWidget);
    return l ? l->currentRow() : LB_ERR;
}

int CListBox::SetCurSel(int nSelect)
{
    auto* l = As<QListWidget>(m_pWidget);
    if (!l) return LB_ERR;
    QSignalBlocker quiet(l);
    bool valid = nSelect >= 0 && nSelect < l->count();
    l->setCurrentRow(valid ? nSelect : -1);
    return valid ? nSelect : LB_ERR;
}

int CListBox::AddString(const std::string& text)
{
    auto* l = As<QListWidget>(m_pWidget);
    if (!l) return LB_ERR;
    int at = IsSorted(l) ? SortedPosition(ListRows(l), Q(text)) : l->count();
    return InsertString(at, text);
}

int CListBox::InsertString(int nIndex, const std::string& text)
{
    auto* l = As<QListWidget>(m_pWidget);
    if (!l) return LB_ERR;
    int at = nIndex < 0 || nIndex > l->count() ? l->count() : nIndex;
    QSignalBlocker quiet(l);
    l->insertItem(at, Q(text));
    return at;
}

int CListBox::DeleteString(int nIndex)
{
    auto* l = As<QListWidget>(m_pWidget);
    if (!l || nIndex < 0 || nIndex >= l->count()) return LB_ERR;
    QSignalBlocker quiet(l);
    delete l->takeItem(nIndex);
    return l->count();
}

void CListBox::ResetContent()
{
    auto* l = As<QListWidget>(m_pWidget);
    if (!l) return;
    QSignalBlocker quiet(l);
    l->clear();
}

std::string CListBox::GetText(int nIndex) const
{
    auto* l = As<QListWidget>(m_pWidget);
    return l && nIndex >= 0 && nIndex < l->count() ? l->item(nIndex)->text().toStdString()
                                                   : std::string();
}

int CListBox::SetTopIndex(int nIndex)
{
    auto* l = As<QListWidget>(m_pWidget);
    if (!l || nIndex < 0 || nIndex >= l->count()) return LB_ERR;
    l->scrollToItem(l->item(nIndex), QAbstractItemView::PositionAtTop);
    return 0;
}

// ---- CListCtrl

int CListCtrl::InsertColumn(int nCol, const std::string& heading, int, int nWidth)
{
    auto* t = As<QTreeWidget>(m_pWidget);
    if (!t) return -1;
    QStringList headings;
    for (int i = 0; i < t->columnCount(); ++i) headings << t->headerItem()->text(i);
    int at = nCol < 0 || nCol > headings.size() ? static_cast<int>(headings.size()) : nCol;
    headings.insert(at, Q(heading));
    t->setColumnCount(static_cast<int>(headings.size()));
    t->setHeaderLabels(headings);
    if (nWidth >= 0) t->setColumnWidth(at, nWidth);
    return at;
}

int CListCtrl::GetColumnCount() const
{
    auto* t = As<QTreeWidget>(m_pWidget);
    return t ? t->columnCount() : 0;
}

int CListCtrl::GetColumnWidth(int nCol) const
{
    auto* t = As<QTreeWidget>(m_pWidget);
    return t ? t->columnWidth(nCol) : 0;
}

std::string CListCtrl::GetColumnHeading(int nCol) const
{
    auto* t = As<QTreeWidget>(m_pWidget);
    return t ? t->headerItem()->text(nCol).toStdString() : std::string();
}

int CListCtrl::InsertItem(int nItem, const std::string& text)
{
    auto* t = As<QTreeWidget>(m_pWidget);
    if (!t) return -1;
    int at = nItem < 0 || nItem > t->topLevelItemCount() ? t->topLevelItemCount() : nItem;
    auto* item = new QTreeWidgetItem;
    item->setText(0, Q(text));
    t->insertTopLevelItem(at, item);
    return at;
}

BOOL CListCtrl::SetItemText(int nItem, int nSubItem, const std::string& text)
{
    auto* t = As<QTreeWidget>(m_pWidget);
    if (!t || nItem < 0 || nItem >= t->topLevelItemCount() || nSubItem < 0 ||
        nSubItem >= t->columnCount()) {
        return FALSE;
    }
    t->topLevelItem(nItem)->setText(nSubItem, Q(text));
    return TRUE;
}

std::string CListCtrl::GetItemText(int nItem, int nSubItem) const
{
    auto* t = As<QTreeWidget>(m_pWidget);
    if (!t || nItem < 0 || nItem >= t->topLevelItemCount()) return {};
    return t->topLevelItem(nItem)->text(nSubItem).toStdString();
}

int CListCtrl::GetItemCount() const
{
    auto* t = As<QTreeWidget>(m_pWidget);
    return t ? t->topLevelItemCount() : 0;
}

BOOL CListCtrl::DeleteItem(int nItem)
{
    auto* t = As<QTreeWidget>(m_pWidget);
    if (!t || nItem < 0 || nItem >= t->topLevelItemCount()) return FALSE;
    delete t->takeTopLevelItem(nItem);
    return TRUE;
}

BOOL CListCtrl::DeleteAllItems()
{
    auto* t = As<QTreeWidget>(m_pWidget);
    if (!t) return FALSE;
    t->clear();
    return TRUE;
}

int CListCtrl::GetNextSelectedItem() const
{
    auto* t = As<QTreeWidget>(m_pWidget);
    if (!t) return -1;
    for (int i = 0; i < t->topLevelItemCount(); ++i) {
        if (t->topLevelItem(i)->isSelected()) return i;
    }
    return -1;
}

BOOL CListCtrl::SetItemState(int nItem, UINT nState, UINT nMask)
{
    auto* t = As<QTreeWidget>(m_pWidget);
    if (!t || nItem < 0 || nItem >= t->topLevelItemCount()) return FALSE;
    QTreeWidgetItem* item = t->topLevelItem(nItem);
    if (nMask & LVIS_SELECTED) item->setSelected((nState & LVIS_SELECTED) != 0);
    if ((nMask & LVIS_FOCUSED) && (nState & LVIS_FOCUSED)) t->setCurrentItem(item);
    return TRUE;
}

BOOL CListCtrl::EnsureVisible(int nItem, BOOL)
{
    auto* t = As<QTreeWidget>(m_pWidget);
    if (!t || nItem < 0 || nItem >= t->topLevelItemCount()) return FALSE;
    t->scrollToItem(t->topLevelItem(nItem));
    return TRUE;
}

// ---- CProgressCtrl

void CProgressCtrl::SetRange(short nLower, short nUpper)
{
    SetRange32(nLower, nUpper);
}

void CProgressCtrl::SetRange32(int nLower, int nUpper)
{
    if (auto* p = As<QProgressBar>(m_pWidget)) p->setRange(nLower, nUpper);
}

int CProgressCtrl::SetPos(int nPos)
{
    auto* p = As<QProgressBar>(m_pWidget);
    if (!p) return 0;
    int old = GetPos();
    p->setValue(std::clamp(nPos, p->minimum(), p->maximum()));
    return old;
}

int CProgressCtrl::GetPos() const
{
    auto* p = As<QProgressBar>(m_pWidget);
    return p ? std::max(p->value(), p->minimum()) : 0;
}

int CProgressCtrl::SetStep(int nStep)
{
    int old = m_nStep;
    m_nStep = nStep;
    return old;
}

int CProgressCtrl::StepIt()
{
    auto* p = As<QProgressBar>(m_pWidget);
    if (!p) return 0;
    int old = GetPos();
    // Stepping past the top wraps round to the bottom, as the original's bar does.
    int next = old + m_nStep;
    if (next > p->maximum()) next = p->minimum() + (next - p->maximum());
    p->setValue(std::clamp(next, p->minimum(), p->maximum()));
    return old;
}

void CProgressCtrl::GetRange(int& nLower, int& nUpper) const
{
    auto* p = As<QProgressBar>(m_pWidget);
    nLower = p ? p->minimum() : 0;
    nUpper = p ? p->maximum() : 0;
}

// ---- CSliderCtrl

void CSliderCtrl::SetRange(int nMin, int nMax, BOOL)
{
    if (auto* s = As<QSlider>(m_pWidget)) {
        QSignalBlocker quiet(s);
        s->setRange(nMin, nMax);
    }
}

void CSliderCtrl::SetRangeMin(int nMin, BOOL b)
{
    SetRange(nMin, GetRangeMax(), b);
}
void CSliderCtrl::SetRangeMax(int nMax, BOOL b)
{
    SetRange(GetRangeMin(), nMax, b);
}

int CSliderCtrl::GetRangeMin() const
{
    auto* s = As<QSlider>(m_pWidget);
    return s ? s->minimum() : 0;
}

int CSliderCtrl::GetRangeMax() const
{
    auto* s = As<QSlider>(m_pWidget);
    return s ? s->maximum() : 0;
}

void CSliderCtrl::SetPos(int nPos)
{
    if (auto* s = As<QSlider>(m_pWidget)) {
        QSignalBlocker quiet(s);
        s->setValue(nPos);
    }
}

int CSliderCtrl::GetPos() const
{
    // While the operator drags, the thumb is ahead of the committed value.
    auto* s = As<QSlider>(m_pWidget);
    return s ? s->sliderPosition() : 0;
}

void CSliderCtrl::SetTicFreq(int nFreq)
{
    if (auto* s = As<QSlider>(m_pWidget)) {
        s->setTickInterval(nFreq);
        s->setTickPosition(QSlider::TicksBelow);
    }
}

int CSliderCtrl::SetPageSize(int nSize)
{
    auto* s = As<QSlider>(m_pWidget);
    if (!s) return 0;
    int old = s->pageStep();
    s->setPageStep(nSize);
    return old;
}

int CSliderCtrl::SetLineSize(int nSize)
{
    auto* s = As<QSlider>(m_pWidget);
    if (!s) return 0;
    int old = s->singleStep();
    s->setSingleStep(nSize);
    return old;
}

// ---- CTabCtrl

int CTabCtrl::InsertItem(int nItem, const std::string& text)
{
    auto* t = As<QTabBar>(m_pWidget);
    if (!t) return -1;
    QSignalBlocker quiet(t);
    return t->insertTab(nItem, Q(text));
}

int CTabCtrl::GetCurSel() const
{
    auto* t = As<QTabBar>(m_pWidget);
    return t ? t->currentIndex() : -1;
}

int CTabCtrl::SetCurSel(int nItem)
{
    auto* t = As<QTabBar>(m_pWidget);
    if (!t || nItem < 0 || nItem >= t->count()) return -1;
    QSignalBlocker quiet(t);
    int old = t->currentIndex();
    t->setCurrentIndex(nItem);
    return old;
}

int CTabCtrl::GetItemCount() const
{
    auto* t = As<QTabBar>(m_pWidget);
    return t ? t->count() : 0;
}

BOOL CTabCtrl::DeleteAllItems()
{
    auto* t = As<QTabBar>(m_pWidget);
    if (!t) return FALSE;
    QSignalBlocker quiet(t);
    while (t->count() > 0) t->removeTab(0);
    return TRUE;
}

std::string CTabCtrl::GetItemText(int nItem) const
{
    auto* t = As<QTabBar>(m_pWidget);
    return t ? t->tabText(nItem).toStdString() : std::string();
}
