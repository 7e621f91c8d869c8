// Test entry point for everything that builds widgets: one offscreen application for the run.
#include "Dialog.h"
#include "Shell.h"
#include "Wnd.h"

#include <QApplication>
#include <gtest/gtest.h>

#include <cstdlib>

// Qt and the font libraries keep caches until exit that the leak checker would report as ours.
extern "C" const char* __asan_default_options()
{
    return "detect_leaks=0";
}
extern "C" const char* __ubsan_default_options()
{
    return "print_stacktrace=1";
}

int main(int argc, char** argv)
{
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QApplication app(argc, argv);
    // Timers fire when a test says so, never on their own.
    CWnd::SetManualTimers(true);
    // No test may wait on a real box, file dialog, desktop program or modal loop: anything a test
    // does not answer itself fails it and is answered here.
    SetMessageBoxHook([](const MessageBoxRequest& box) {
        ADD_FAILURE() << "unexpected message box: " << box.text;
        return IDOK;
    });
    SetFileDialogHook([](const FileDialogRequest&) -> std::optional<std::string> {
        ADD_FAILURE() << "unexpected file dialog";
        return std::nullopt;
    });
    SetShellOpenHook([](const std::string& path) {
        ADD_FAILURE() << "unexpected open with the desktop: " << path;
        return false;
    });
    CDialog::SetModalHook([](CDialog&) {}); // a modal dialog a test does not work is cancelled
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
