// Test entry point for everything that builds widgets: one offscreen application for the run.
#include "Wnd.h"

#include <QApplication>
#include <gtest/gtest.h>

#include <cstdlib>

// Qt and the font libraries keep caches until exit that the leak checker would report as ours.
extern "C" const char* __asan_default_options() { return "detect_leaks=0"; }
extern "C" const char* __ubsan_default_options() { return "print_stacktrace=1"; }

int main(int argc, char** argv)
{
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QApplication app(argc, argv);
    // Timers fire when a test says so, never on their own.
    CWnd::SetManualTimers(true);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
