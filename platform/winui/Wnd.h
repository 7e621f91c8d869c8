// The window base of the class-library layer: a thin handle on a Qt widget with the operations,
// timers and message routing that the program's dialogs and frame expect.
#pragma once

#include "wintypes.h"

#include <functional>
#include <map>
#include <memory>
#include <string>

class QWidget;
class QTimer;
class CWnd;

struct CPoint {
    int x = 0;
    int y = 0;
};

struct CSize {
    int cx = 0;
    int cy = 0;
};

struct CRect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
    int Width() const { return right - left; }
    int Height() const { return bottom - top; }
    bool IsRectEmpty() const { return Width() <= 0 || Height() <= 0; }
    bool PtInRect(CPoint p) const
    {
        return p.x >= left && p.x < right && p.y >= top && p.y < bottom;
    }
};

// Show states.
inline constexpr int SW_HIDE = 0;
inline constexpr int SW_SHOWNORMAL = 1;
inline constexpr int SW_SHOW = 5;

// Notification codes carried by the message map.
enum : UINT {
    BN_CLICKED = 0,
    CBN_SELCHANGE = 1,
    CBN_EDITCHANGE = 5,
    EN_CHANGE = 0x300,
    EN_UPDATE = 0x400,
    EN_KILLFOCUS = 0x200,
    LBN_SELCHANGE = 0x1001,
    LBN_DBLCLK = 0x1002,
    NM_CLICK = 0xFFFE,           // -2
    NM_DBLCLK = 0xFFFD,          // -3
    NM_RELEASEDCAPTURE = 0xFFF0, // -16
    TCN_SELCHANGE = 0xFDD9,      // -551
    CN_COMMAND = 0x10000,        // menu and toolbar commands
    CN_MESSAGE = 0x20000,        // posted or sent user messages
};

inline constexpr UINT WM_USER = 0x0400;

// Mouse-message key flags.
inline constexpr UINT MK_LBUTTON = 0x1;
inline constexpr UINT MK_RBUTTON = 0x2;
inline constexpr UINT MK_SHIFT = 0x4;
inline constexpr UINT MK_CONTROL = 0x8;

// Scroll codes for OnHScroll.
inline constexpr UINT SB_THUMBTRACK = 5;
inline constexpr UINT SB_ENDSCROLL = 8;

using AFX_PMSG = void (CWnd::*)();
using AFX_PMSG_MESSAGE = LRESULT (CWnd::*)(WPARAM, LPARAM);

struct AFX_MSGMAP_ENTRY {
    UINT nCode;                  // notification code, CN_COMMAND or CN_MESSAGE
    UINT nID;                    // control id, command id or message number
    AFX_PMSG pfn;                // handler without arguments
    AFX_PMSG_MESSAGE pfnMessage; // handler of a user message
};

struct AFX_MSGMAP {
    const AFX_MSGMAP* (*pfnGetBaseMap)();
    const AFX_MSGMAP_ENTRY* lpEntries;
};

#define DECLARE_MESSAGE_MAP()                                                                      \
protected:                                                                                         \
    static const AFX_MSGMAP* GetThisMessageMap();                                                  \
    const AFX_MSGMAP* GetMessageMap() const override;

#define BEGIN_MESSAGE_MAP(theClass, baseClass)                                                     \
    const AFX_MSGMAP* theClass::GetMessageMap() const                                              \
    {                                                                                              \
        return GetThisMessageMap();                                                                \
    }                                                                                              \
    const AFX_MSGMAP* theClass::GetThisMessageMap()                                                \
    {                                                                                              \
        using ThisClass = theClass;                                                                \
        using TheBaseClass = baseClass;                                                            \
        static const AFX_MSGMAP_ENTRY entries[] = {

#define END_MESSAGE_MAP()                                                                          \
    {                                                                                              \
        0, 0, nullptr, nullptr                                                                     \
    }                                                                                              \
    }                                                                                              \
    ;                                                                                              \
    static const AFX_MSGMAP map = {&TheBaseClass::GetThisMessageMap, entries};                     \
    return &map;                                                                                   \
    }

#define ON_CONTROL(code, id, fn) {code, id, static_cast<AFX_PMSG>(&ThisClass::fn), nullptr},
#define ON_BN_CLICKED(id, fn) ON_CONTROL(BN_CLICKED, id, fn)
#define ON_CBN_SELCHANGE(id, fn) ON_CONTROL(CBN_SELCHANGE, id, fn)
#define ON_CBN_EDITCHANGE(id, fn) ON_CONTROL(CBN_EDITCHANGE, id, fn)
#define ON_EN_CHANGE(id, fn) ON_CONTROL(EN_CHANGE, id, fn)
#define ON_EN_UPDATE(id, fn) ON_CONTROL(EN_UPDATE, id, fn)
#define ON_EN_KILLFOCUS(id, fn) ON_CONTROL(EN_KILLFOCUS, id, fn)
#define ON_LBN_SELCHANGE(id, fn) ON_CONTROL(LBN_SELCHANGE, id, fn)
#define ON_LBN_DBLCLK(id, fn) ON_CONTROL(LBN_DBLCLK, id, fn)
#define ON_NOTIFY(code, id, fn) ON_CONTROL(code, id, fn)
// A control class handles its own notification (the dialog's map then does not see it).
inline constexpr UINT AFX_REFLECTED_ID = 0xFFFFFFFEu;
#define ON_NOTIFY_REFLECT(code, fn) ON_CONTROL(code, AFX_REFLECTED_ID, fn)
#define ON_COMMAND(id, fn) ON_CONTROL(CN_COMMAND, id, fn)
#define ON_MESSAGE(msg, fn)                                                                        \
    {CN_MESSAGE, msg, nullptr, static_cast<AFX_PMSG_MESSAGE>(&ThisClass::fn)},

class CWnd {
public:
    CWnd();
    virtual ~CWnd();
    CWnd(const CWnd&) = delete;
    CWnd& operator=(const CWnd&) = delete;

    // The widget this window stands for; null before creation and after destruction.
    QWidget* GetWidget() const { return m_pWidget; }
    void Attach(QWidget* widget) { m_pWidget = widget; }
    bool GetSafeHwnd() const { return m_pWidget != nullptr; }

    BOOL EnableWindow(BOOL bEnable = TRUE);
    BOOL IsWindowEnabled() const;
    BOOL ShowWindow(int nCmdShow);
    // Visible as far as this window and its parents are concerned (also before the top-level
    // window is shown on screen).
    BOOL IsWindowVisible() const;
    void SetWindowText(const std::string& text);
    std::string GetWindowText() const;
    int GetDlgCtrlID() const;
    void GetClientRect(CRect* rect) const;
    void GetWindowRect(CRect* rect) const;
    void ScreenToClient(CRect* rect) const;
    void ScreenToClient(CPoint* point) const;
    void MoveWindow(int x, int y, int cx, int cy, BOOL bRepaint = TRUE);
    void SetFocus();
    void Invalidate(BOOL bErase = TRUE);
    void UpdateWindow();
    void CenterWindow();

    // A message box owned by this window. A null caption stands for the application title.
    int MessageBox(const std::string& text, const char* caption = nullptr, UINT nType = 0);

    // Window timers. They stop when the window is destroyed. Handlers never nest: a timer that
    // falls due while OnTimer runs (during a blocking exchange or a message box) is dropped.
    UINT_PTR SetTimer(UINT_PTR nIDEvent, UINT nElapse, void* unused = nullptr);
    BOOL KillTimer(UINT_PTR nIDEvent);
    bool IsTimerActive(UINT_PTR nIDEvent) const;
    // The timer's period in ms; 0 when it is not set.
    UINT TimerPeriod(UINT_PTR nIDEvent) const;
    // Runs the timer's handler as its expiry would (tests drive timers this way). False when the
    // timer is not set.
    bool FireTimer(UINT_PTR nIDEvent);
    // In tests timers never fire by themselves; FireTimer drives them.
    static void SetManualTimers(bool manual);

    // User messages: PostMessage queues them on the UI thread, SendMessage handles them at once.
    BOOL PostMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0);
    LRESULT SendMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0);

    // Routes a control notification, command or message through the message map.
    bool OnNotify(UINT nCode, UINT nID);
    bool HasHandler(UINT nCode, UINT nID) const { return FindEntry(nCode, nID) != nullptr; }

    virtual void OnTimer(UINT_PTR nIDEvent);
    // Runs after a tick's OnTimer has returned, outside every tick: what a tick asked to do once it
    // has ended (a message box behind which the timer keeps running) happens here.
    virtual void OnTimerEnded(UINT_PTR nIDEvent);
    virtual void OnLButtonDown(UINT nFlags, CPoint point);
    virtual void OnLButtonUp(UINT nFlags, CPoint point);
    virtual void OnMouseMove(UINT nFlags, CPoint point);
    virtual void OnHScroll(UINT nSBCode, UINT nPos, CWnd* pScrollBar);
    virtual void OnVScroll(UINT nSBCode, UINT nPos, CWnd* pScrollBar);
    virtual void OnClose();
    virtual void OnDestroy();

    static const AFX_MSGMAP* GetThisMessageMap();
    virtual const AFX_MSGMAP* GetMessageMap() const;

protected:
    // Called when the widget goes away: timers stop, the handle is dropped.
    void ReleaseWidget();
    void StopAllTimers();
    bool HandleMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result);

    QWidget* m_pWidget = nullptr;

private:
    const AFX_MSGMAP_ENTRY* FindEntry(UINT nCode, UINT nID) const;

    std::map<UINT_PTR, std::unique_ptr<QTimer>> m_timers;
    std::map<UINT_PTR, UINT> m_manualTimers;
    int m_nTimerDepth = 0;
};
