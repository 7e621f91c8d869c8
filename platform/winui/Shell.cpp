#include "Shell.h"

#include "Frame.h"
#include "WidgetText.h"
#include "Wnd.h"

#include <QDesktopServices>
#include <QFileDialog>
#include <QFileInfo>
#include <QGuiApplication>
#include <QMessageBox>
#include <QScreen>
#include <QUrl>

#include <climits>
#include <cstdlib>
#include <unistd.h>
#include <utility>

namespace {

MessageBoxHook g_messageBoxHook;
FileDialogHook g_fileDialogHook;
ShellOpenHook g_shellOpenHook;
int g_nScreenCx = 0;
int g_nScreenCy = 0;

QWidget* OwnerWidget(CWnd* owner)
{
    if (owner && owner->GetWidget()) return owner->GetWidget();
    return AfxGetMainWnd() ? AfxGetMainWnd()->GetWidget() : nullptr;
}

int RealMessageBox(QWidget* owner, const MessageBoxRequest& request)
{
    QMessageBox box(owner);
    SetWindowCaption(&box, request.caption);
    box.setText(QString::fromStdString(request.text));
    switch (request.nType & 0xF0) {
    case MB_ICONHAND:
        box.setIcon(QMessageBox::Critical);
        break;
    case MB_ICONQUESTION:
        box.setIcon(QMessageBox::Question);
        break;
    case MB_ICONEXCLAMATION:
        box.setIcon(QMessageBox::Warning);
        break;
    case MB_ICONINFORMATION:
        box.setIcon(QMessageBox::Information);
        break;
    default:
        break;
    }
    struct Choice {
        QMessageBox::StandardButton button;
        int result;
    };
    static const std::vector<Choice> ok = {{QMessageBox::Ok, IDOK}};
    static const std::vector<Choice> okCancel = {{QMessageBox::Ok, IDOK},
                                                 {QMessageBox::Cancel, IDCANCEL}};
    static const std::vector<Choice> yesNo = {{QMessageBox::Yes, IDYES}, {QMessageBox::No, IDNO}};
    static const std::vector<Choice> yesNoCancel = {
        {QMessageBox::Yes, IDYES}, {QMessageBox::No, IDNO}, {QMessageBox::Cancel, IDCANCEL}};
    const std::vector<Choice>* choices = &ok;
    switch (request.nType & 0x0F) {
    case MB_OKCANCEL:
        choices = &okCancel;
        break;
    case MB_YESNO:
        choices = &yesNo;
        break;
    case MB_YESNOCANCEL:
        choices = &yesNoCancel;
        break;
    default:
        break;
    }
    for (const Choice& c : *choices) box.addButton(c.button);
    int pressed = box.exec();
    for (const Choice& c : *choices) {
        if (pressed == c.button) return c.result;
    }
    return choices->back().result; // closed without a choice: the box's escape answer
}

// "Text (*.log)|*.log|All (*.*)|*.*||" to Qt's "Text (*.log);;All (*.*)".
QString QtFilter(const std::string& filter)
{
    QStringList parts = QString::fromStdString(filter).split('|', Qt::SkipEmptyParts);
    QStringList out;
    for (int i = 0; i + 1 < parts.size(); i += 2) {
        QString patterns = parts[i + 1];
        patterns.replace(';', ' ');
        out << (parts[i].contains('(') ? parts[i] : parts[i] + " (" + patterns + ")");
    }
    return out.join(";;");
}

} // namespace

MessageBoxHook SetMessageBoxHook(MessageBoxHook hook)
{
    return std::exchange(g_messageBoxHook, std::move(hook));
}

int ShowMessageBox(CWnd* owner, const std::string& text, const char* caption, UINT nType)
{
    MessageBoxRequest request{text, caption ? std::string(caption) : AfxGetAppName(), nType};
    if (g_messageBoxHook) return g_messageBoxHook(request);
    return RealMessageBox(OwnerWidget(owner), request);
}

int AfxMessageBox(const std::string& text, UINT nType)
{
    return ShowMessageBox(nullptr, text, nullptr, nType);
}

FileDialogHook SetFileDialogHook(FileDialogHook hook)
{
    return std::exchange(g_fileDialogHook, std::move(hook));
}

std::string WithDefaultExtension(const std::string& path, const std::string& ext)
{
    if (ext.empty()) return path;
    const size_t nameStart = path.find_last_of('/') + 1;
    if (nameStart == path.size() || path.find('.', nameStart) != std::string::npos) return path;
    return path + "." + ext;
}

CFileDialog::CFileDialog(BOOL bOpenFileDialog, const char* defExt, const char* fileName,
                         DWORD flags, const char* filter, CWnd* pParentWnd)
    : m_request{bOpenFileDialog != FALSE, defExt ? defExt : "", fileName ? fileName : "", flags,
                filter ? filter : ""},
      m_pParentWnd(pParentWnd)
{
}

namespace {

std::optional<std::string> RealFileDialog(QWidget* owner, const FileDialogRequest& request)
{
    QFileDialog dialog(owner, QString(), QString::fromStdString(request.fileName),
                       QtFilter(request.filter));
    dialog.setAcceptMode(request.bOpen ? QFileDialog::AcceptOpen : QFileDialog::AcceptSave);
    dialog.setFileMode(request.bOpen ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
    dialog.setDefaultSuffix(QString::fromStdString(request.defExt));
    dialog.setOption(QFileDialog::DontConfirmOverwrite, !(request.flags & OFN_OVERWRITEPROMPT));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
    return dialog.selectedFiles().first().toStdString();
}

} // namespace

INT_PTR CFileDialog::DoModal()
{
    std::optional<std::string> chosen = g_fileDialogHook
                                            ? g_fileDialogHook(m_request)
                                            : RealFileDialog(OwnerWidget(m_pParentWnd), m_request);
    if (!chosen || chosen->empty()) return IDCANCEL;
    m_strPath = WithDefaultExtension(*chosen, m_request.defExt);
    return IDOK;
}

std::string CFileDialog::GetFileName() const
{
    return QFileInfo(QString::fromStdString(m_strPath)).fileName().toStdString();
}

ShellOpenHook SetShellOpenHook(ShellOpenHook hook)
{
    return std::exchange(g_shellOpenHook, std::move(hook));
}

bool ShellOpen(const std::string& path)
{
    if (g_shellOpenHook) return g_shellOpenHook(path);
    return QDesktopServices::openUrl(QUrl::fromLocalFile(QString::fromStdString(path)));
}

int GetSystemMetrics(int nIndex)
{
    if (g_nScreenCx > 0) return nIndex == SM_CXSCREEN ? g_nScreenCx : g_nScreenCy;
    QScreen* screen = QGuiApplication::primaryScreen();
    if (!screen) return 0;
    return nIndex == SM_CXSCREEN ? screen->geometry().width() : screen->geometry().height();
}

void SetScreenSizeOverride(int cx, int cy)
{
    g_nScreenCx = cx;
    g_nScreenCy = cy;
}

std::string GetProgramFolder()
{
    std::string folder;
    if (const char* home = std::getenv("OSTRA_HOME"); home && *home) {
        folder = home;
    } else {
        char exe[PATH_MAX] = {};
        ssize_t n = readlink("/proc/self/exe", exe, sizeof exe - 1);
        folder = n > 0 ? std::string(exe, static_cast<size_t>(n)) : std::string();
        folder = folder.substr(0, folder.find_last_of('/') + 1);
    }
    if (!folder.empty() && folder.back() != '/') folder += '/';
    return folder;
}
