// Operator actions as tests perform them on real (offscreen) dialogs, and recorders that stand in
// for the desktop's boxes. Actions go through the widgets, so disabled or hidden controls refuse
// them as they would refuse the operator.
#pragma once

#include "Dialog.h"
#include "Shell.h"

#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace ui {

// Clicks a button, check box or radio button. False when it is disabled or hidden.
bool Click(CDialog& dlg, int nID);
// Chooses a row of a combo box as the operator would (the selection-change notification fires).
bool ChooseRow(CDialog& dlg, int nID, int row);
// Types into an edit or the edit field of a combo box, replacing its text; the edit then loses
// the focus as when the operator moves on.
bool Type(CDialog& dlg, int nID, const std::string& text);
// Types into an edit key by key where its text cursor is, as the operator's keystrokes arrive.
bool TypeKeys(CDialog& dlg, int nID, const std::string& text);
// Clicks a tab of a tab control (the selection-change notification fires when it changes).
bool SelectTab(CDialog& dlg, int nID, int tab);
// Double-clicks (or selects) a row of a report list.
bool DoubleClickRow(CDialog& dlg, int nID, int row);
bool SelectRow(CDialog& dlg, int nID, int row);
// Presses a key in the dialog (Qt key code, e.g. Qt::Key_Escape).
void PressKey(CDialog& dlg, int qtKey);
// Presses a key with the focus in a control (an edit passes Enter and Esc on to the dialog).
void PressKeyIn(CDialog& dlg, int nID, int qtKey);
// The window's close box.
void CloseBox(CDialog& dlg);
// A left click at a point of the dialog's client area (pixels), with Shift or Ctrl held when
// modifiers says so (Qt::ShiftModifier, Qt::ControlModifier).
void ClickAt(CDialog& dlg, CPoint point, int modifiers = 0);
// Where on a slider the operator presses the left button.
enum class SliderSpot { GrooveBeforeThumb, Thumb, GrooveAfterThumb };
// Presses the left button on that spot of a slider, moves the mouse `drag` pixels along the
// slider and lets go. False when the slider is disabled or hidden.
bool PressSlider(CDialog& dlg, int nID, SliderSpot spot, int drag = 0);
// Drags a slider's thumb to a position and lets go, as the operator's mouse does: the slider
// reports each move while the thumb is held and the end of the drag on release. False when the
// slider is disabled or hidden.
bool DragSlider(CDialog& dlg, int nID, int position);
// The centre of a control in the dialog's client coordinates.
CPoint CentreOf(CDialog& dlg, int nID);
// Whether a static of the dialog (one with or without an id) shows exactly this text.
bool HasStaticText(CDialog& dlg, const std::string& text);
// The rows a combo or list box offers.
std::vector<std::string> Rows(CDialog& dlg, int nID);
// The rows of a list box wider than the list shows them (its scroll bar taken off).
std::vector<std::string> ClippedRows(CDialog& dlg, int nID);
// Whether an edit has room for the whole of its text.
bool ShowsWholeText(CDialog& dlg, int nID);

// Answers every message box with `answer` (or what onBox returns) and keeps what was shown.
class CMessageBoxRecorder {
public:
    explicit CMessageBoxRecorder(int answer = IDOK);
    ~CMessageBoxRecorder();
    CMessageBoxRecorder(const CMessageBoxRecorder&) = delete;
    CMessageBoxRecorder& operator=(const CMessageBoxRecorder&) = delete;

    std::vector<MessageBoxRequest> m_boxes;
    int m_nAnswer;
    std::function<int(const MessageBoxRequest&)> m_onBox;
    std::vector<std::string> Texts() const;

private:
    MessageBoxHook m_previous;
};

// Answers the open and save dialogs with a path (nothing: cancelled) and keeps the requests.
class CFileDialogRecorder {
public:
    explicit CFileDialogRecorder(std::optional<std::string> answer);
    ~CFileDialogRecorder();
    CFileDialogRecorder(const CFileDialogRecorder&) = delete;
    CFileDialogRecorder& operator=(const CFileDialogRecorder&) = delete;

    std::vector<FileDialogRequest> m_requests;
    std::optional<std::string> m_answer;

private:
    FileDialogHook m_previous;
};

// Keeps the paths the program asked the desktop to open.
class CShellOpenRecorder {
public:
    CShellOpenRecorder();
    ~CShellOpenRecorder();
    CShellOpenRecorder(const CShellOpenRecorder&) = delete;
    CShellOpenRecorder& operator=(const CShellOpenRecorder&) = delete;

    std::vector<std::string> m_paths;

private:
    ShellOpenHook m_previous;
};

// Works modal dialogs in place of their message loop for the lifetime of the object.
class CModalDriver {
public:
    explicit CModalDriver(CDialog::ModalHook hook);
    ~CModalDriver();
    CModalDriver(const CModalDriver&) = delete;
    CModalDriver& operator=(const CModalDriver&) = delete;

private:
    CDialog::ModalHook m_previous;
};

} // namespace ui
