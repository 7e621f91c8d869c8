// What the program asks of the desktop: message boxes, the open-file dialog, opening a file with
// its default application, the screen size. Each goes through a hook that tests replace.
#pragma once

#include "wintypes.h"

#include <functional>
#include <optional>
#include <string>

class CWnd;

// Message box types and results.
inline constexpr UINT MB_OK = 0x0;
inline constexpr UINT MB_OKCANCEL = 0x1;
inline constexpr UINT MB_YESNOCANCEL = 0x3;
inline constexpr UINT MB_YESNO = 0x4;
inline constexpr UINT MB_ICONHAND = 0x10;
inline constexpr UINT MB_ICONERROR = MB_ICONHAND;
inline constexpr UINT MB_ICONQUESTION = 0x20;
inline constexpr UINT MB_ICONEXCLAMATION = 0x30;
inline constexpr UINT MB_ICONWARNING = MB_ICONEXCLAMATION;
inline constexpr UINT MB_ICONINFORMATION = 0x40;
inline constexpr int IDOK = 1;
inline constexpr int IDCANCEL = 2;
inline constexpr int IDYES = 6;
inline constexpr int IDNO = 7;

struct MessageBoxRequest {
    std::string text;
    std::string caption;
    UINT nType;
};
using MessageBoxHook = std::function<int(const MessageBoxRequest&)>;
// Installs a hook (an empty one restores the real boxes); returns the one it replaces.
MessageBoxHook SetMessageBoxHook(MessageBoxHook hook);
// Shows a box owned by owner (may be null). A null caption stands for the application title.
int ShowMessageBox(CWnd* owner, const std::string& text, const char* caption, UINT nType);
// A box captioned with the application title.
int AfxMessageBox(const std::string& text, UINT nType = MB_OK);

inline constexpr DWORD OFN_HIDEREADONLY = 0x4;
inline constexpr DWORD OFN_OVERWRITEPROMPT = 0x2;

struct FileDialogRequest {
    bool bOpen;           // open (true): an existing file; save (false): any name
    std::string defExt;   // extension given to a name typed without one
    std::string fileName; // initial name
    DWORD flags;          // OFN_OVERWRITEPROMPT asks before a save dialog names an existing file
    std::string filter;   // "Text (*.log)|*.log||" form
};
// The path as the operator typed or chose it, or nothing when the operator cancelled.
using FileDialogHook = std::function<std::optional<std::string>(const FileDialogRequest&)>;
FileDialogHook SetFileDialogHook(FileDialogHook hook);

// The path with ".ext" added when its file name has no extension of its own.
std::string WithDefaultExtension(const std::string& path, const std::string& ext);

class CFileDialog {
public:
    CFileDialog(BOOL bOpenFileDialog, const char* defExt = nullptr, const char* fileName = nullptr,
                DWORD flags = OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT, const char* filter = nullptr,
                CWnd* pParentWnd = nullptr);
    INT_PTR DoModal();
    std::string GetPathName() const { return m_strPath; }
    std::string GetFileName() const;

private:
    FileDialogRequest m_request;
    CWnd* m_pParentWnd;
    std::string m_strPath;
};

// Opens a file with the desktop's default application (never through a shell command line).
using ShellOpenHook = std::function<bool(const std::string& path)>;
ShellOpenHook SetShellOpenHook(ShellOpenHook hook);
bool ShellOpen(const std::string& path);

inline constexpr int SM_CXSCREEN = 0;
inline constexpr int SM_CYSCREEN = 1;
int GetSystemMetrics(int nIndex);
// Tests pretend to have a screen of this size (0, 0 restores the real one).
void SetScreenSizeOverride(int cx, int cy);

// The program folder with a trailing '/': $OSTRA_HOME when set, else the executable's folder.
std::string GetProgramFolder();
