#include "Wnd.h"

#include "Shell.h"
#include "WidgetText.h"

#include <QCoreApplication>
#include <QEvent>
#include <QGuiApplication>
#include <QPointer>
#include <QScreen>
#include <QTimer>
#include <QWidget>

namespace {

bool g_bManualTimers = false;

// A user message travelling through the Qt event queue to its window.
class CUserMessageEvent : public QEvent {
public:
    static QEvent::Type TypeId()
    {
        static const auto type = static_cast<QEvent::Type>(QEvent::registerEventType());
        return type;
    }
    CUserMessageEvent(CWnd* target, UINT message, WPARAM wParam, LPARAM lParam)
        : QEvent(TypeId()), m_pTarget(target), m_nMessage(message), m_wParam(wParam),
          m_lParam(lParam)
    {
    }
    CWnd* m_pTarget;
    UINT m_nMessage;
    WPARAM m_wParam;
    LPARAM m_lParam;
};

// Receives posted user messages for windows; dropped when the window has gone meanwhile.
class CMessagePump : public QObject {
public:
    bool event(QEvent* e) override
    {
        if (e->type() != CUserMessageEvent::TypeId()) return QObject::event(e);
        auto* m = static_cast<CUserMessageEvent*>(e);
        auto found = m_live.find(m->m_pTarget);
        if (found != m_live.end() && found->second)
            m->m_pTarget->SendMessage(m->m_nMessage, m->m_wParam, m->m_lParam);
        return true;
    }
    std::map<CWnd*, QPointer<QWidget>> m_live;
};

CMessagePump& Pump()
{
    static CMessagePump* pump = new CMessagePump;
    return *pump;
}

} // namespace

CWnd::CWnd() = default;

CWnd::~CWnd()
{
    Pump().m_live.erase(this);
}

BOOL CWnd::EnableWindow(BOOL bEnable)
{
    if (!m_pWidget) return FALSE;
    BOOL wasDisabled = !m_pWidget->isEnabled();
    m_pWidget->setEnabled(bEnable != FALSE);
    return wasDisabled;
}

BOOL CWnd::IsWindowEnabled() const
{
    return m_pWidget && m_pWidget->isEnabled();
}

namespace {

// Shows a window once its owner is on screen: an owned window shown before its owner would not
// be stacked above it (nor painted) by the window manager.
class CShowWithOwner : public QObject {
public:
    CShowWithOwner(QWidget* window, QWidget* owner) : QObject(owner), m_pWindow(window)
    {
        owner->installEventFilter(this);
    }
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::Show) {
            // The owner is mapped once its show event has been handled: show just after that.
            QPointer<QWidget> window = m_pWindow;
            QTimer::singleShot(0, [window] {
                if (!window) return;
                window->setProperty("waitsForOwner", false);
                if (window->property("showWithOwner").toBool()) window->show();
            });
            deleteLater();
        }
        return false;
    }

private:
    QPointer<QWidget> m_pWindow;
};

} // namespace

BOOL CWnd::ShowWindow(int nCmdShow)
{
    if (!m_pWidget) return FALSE;
    BOOL wasVisible = !m_pWidget->isHidden();
    bool show = nCmdShow != SW_HIDE;
    QWidget* owner = m_pWidget->isWindow() ? m_pWidget->parentWidget() : nullptr;
    m_pWidget->setProperty("showWithOwner", show);
    if (show && owner && !owner->isVisible()) {
        if (!m_pWidget->property("waitsForOwner").toBool())
            new CShowWithOwner(m_pWidget, owner->window());
        m_pWidget->setProperty("waitsForOwner", true);
        return wasVisible;
    }
    m_pWidget->setVisible(show);
    return wasVisible;
}

BOOL CWnd::IsWindowVisible() const
{
    for (QWidget* w = m_pWidget; w; w = w->parentWidget()) {
        if (w->isHidden() && !w->isWindow()) return FALSE;
        if (w->isWindow()) break;
    }
    return m_pWidget != nullptr;
}

void CWnd::SetWindowText(const std::string& text)
{
    if (m_pWidget) SetWidgetText(m_pWidget, text);
}

std::string CWnd::GetWindowText() const
{
    return m_pWidget ? WidgetText(m_pWidget) : std::string();
}

int CWnd::GetDlgCtrlID() const
{
    return m_pWidget ? m_pWidget->property("ctrlId").toInt() : 0;
}

void CWnd::GetClientRect(CRect* rect) const
{
    *rect = {};
    if (m_pWidget) *rect = {0, 0, m_pWidget->width(), m_pWidget->height()};
}

void CWnd::GetWindowRect(CRect* rect) const
{
    *rect = {};
    if (!m_pWidget) return;
    QPoint origin = m_pWidget->mapToGlobal(QPoint(0, 0));
    *rect = {origin.x(), origin.y(), origin.x() + m_pWidget->width(),
             origin.y() + m_pWidget->height()};
}

void CWnd::ScreenToClient(CPoint* point) const
{
    if (!m_pWidget) return;
    QPoint p = m_pWidget->mapFromGlobal(QPoint(point->x, point->y));
    *point = {p.x(), p.y()};
}

void CWnd::ScreenToClient(CRect* rect) const
{
    CPoint topLeft{rect->left, rect->top};
    CPoint bottomRight{rect->right, rect->bottom};
    ScreenToClient(&topLeft);
    ScreenToClient(&bottomRight);
    *rect = {topLeft.x, topLeft.y, bottomRight.x, bottomRight.y};
}

void CWnd::MoveWindow(int x, int y, int cx, int cy, BOOL)
{
    if (!m_pWidget) return;
    if (m_pWidget->isWindow()) {
        // Dialogs keep the size they are given; the operator does not resize them.
        m_pWidget->setFixedSize(cx, cy);
        m_pWidget->move(x, y);
    } else {
        m_pWidget->setGeometry(x, y, cx, cy);
    }
}

void CWnd::SetFocus()
{
    if (m_pWidget) m_pWidget->setFocus();
}

void CWnd::Invalidate(BOOL)
{
    if (m_pWidget) m_pWidget->update();
}

void CWnd::UpdateWindow()
{
    if (m_pWidget) m_pWidget->repaint();
}

void CWnd::CenterWindow()
{
    if (!m_pWidget) return;
    QWidget* over = m_pWidget->parentWidget();
    QRect area = over ? over->geometry() : QGuiApplication::primaryScreen()->availableGeometry();
    QRect frame = m_pWidget->frameGeometry();
    frame.moveCenter(area.center());
    m_pWidget->move(frame.topLeft());
}

int CWnd::MessageBox(const std::string& text, const char* caption, UINT nType)
{
    return ShowMessageBox(this, text, caption, nType);
}

UINT_PTR CWnd::SetTimer(UINT_PTR nIDEvent, UINT nElapse, void*)
{
    if (!m_pWidget) return 0;
    KillTimer(nIDEvent);
    if (g_bManualTimers) {
        m_manualTimers[nIDEvent] = nElapse;
        return nIDEvent;
    }
    auto timer = std::make_unique<QTimer>();
    timer->setInterval(static_cast<int>(nElapse));
    QObject::connect(timer.get(), &QTimer::timeout, [this, nIDEvent] { FireTimer(nIDEvent); });
    timer->start();
    m_timers[nIDEvent] = std::move(timer);
    return nIDEvent;
}

BOOL CWnd::KillTimer(UINT_PTR nIDEvent)
{
    return (m_timers.erase(nIDEvent) + m_manualTimers.erase(nIDEvent)) > 0;
}

bool CWnd::IsTimerActive(UINT_PTR nIDEvent) const
{
    return m_timers.count(nIDEvent) > 0 || m_manualTimers.count(nIDEvent) > 0;
}

UINT CWnd::TimerPeriod(UINT_PTR nIDEvent) const
{
    if (auto manual = m_manualTimers.find(nIDEvent); manual != m_manualTimers.end())
        return manual->second;
    auto timer = m_timers.find(nIDEvent);
    return timer == m_timers.end() ? 0 : static_cast<UINT>(timer->second->interval());
}

bool CWnd::FireTimer(UINT_PTR nIDEvent)
{
    if (!IsTimerActive(nIDEvent)) return false;
    if (m_nTimerDepth > 0) return true; // merged into the tick that is still running
    ++m_nTimerDepth;
    OnTimer(nIDEvent);
    --m_nTimerDepth;
    OnTimerEnded(nIDEvent);
    return true;
}

void CWnd::SetManualTimers(bool manual)
{
    g_bManualTimers = manual;
}

BOOL CWnd::PostMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (!m_pWidget) return FALSE;
    Pump().m_live[this] = m_pWidget;
    QCoreApplication::postEvent(&Pump(), new CUserMessageEvent(this, message, wParam, lParam));
    return TRUE;
}

LRESULT CWnd::SendMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    LRESULT result = 0;
    HandleMessage(message, wParam, lParam, &result);
    return result;
}

bool CWnd::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result)
{
    const AFX_MSGMAP_ENTRY* entry = FindEntry(CN_MESSAGE, message);
    if (!entry) return false;
    *result = (this->*(entry->pfnMessage))(wParam, lParam);
    return true;
}

const AFX_MSGMAP_ENTRY* CWnd::FindEntry(UINT nCode, UINT nID) const
{
    for (const AFX_MSGMAP* map = GetMessageMap(); map;
         map = map->pfnGetBaseMap ? map->pfnGetBaseMap() : nullptr) {
        for (const AFX_MSGMAP_ENTRY* e = map->lpEntries; e && (e->pfn || e->pfnMessage); ++e) {
            if (e->nCode == nCode && e->nID == nID) return e;
        }
    }
    return nullptr;
}

bool CWnd::OnNotify(UINT nCode, UINT nID)
{
    const AFX_MSGMAP_ENTRY* entry = FindEntry(nCode, nID);
    if (!entry || !entry->pfn) return false;
    (this->*(entry->pfn))();
    return true;
}

const AFX_MSGMAP* CWnd::GetThisMessageMap()
{
    static const AFX_MSGMAP_ENTRY entries[] = {{0, 0, nullptr, nullptr}};
    static const AFX_MSGMAP map = {nullptr, entries};
    return &map;
}

const AFX_MSGMAP* CWnd::GetMessageMap() const
{
    return GetThisMessageMap();
}

void CWnd::StopAllTimers()
{
    m_timers.clear();
    m_manualTimers.clear();
}

void CWnd::ReleaseWidget()
{
    StopAllTimers();
    Pump().m_live.erase(this);
    m_pWidget = nullptr;
}

void CWnd::OnTimerEnded(UINT_PTR) {}

void CWnd::OnTimer(UINT_PTR) {}
void CWnd::OnLButtonDown(UINT, CPoint) {}
void CWnd::OnLButtonUp(UINT, CPoint) {}
void CWnd::OnMouseMove(UINT, CPoint) {}
void CWnd::OnHScroll(UINT, UINT, CWnd*) {}
void CWnd::OnVScroll(UINT, UINT, CWnd*) {}
void CWnd::OnClose() {}
void CWnd::OnDestroy() {}
