// A test's world for a module dialog: a frame holding the shared state, a simulated bus on COM1
// behind the program's link table, a virtual clock, and message boxes answered and kept.
#pragma once

#include "Clock.h"
#include "MainFrm.h"
#include "SimLink.h"
#include "UiDriver.h"

#include <gtest/gtest.h>

class CModuleFixture : public ::testing::Test {
protected:
    CModuleFixture() { AfxSetMainWnd(&m_frame); }
    ~CModuleFixture() override { AfxSetMainWnd(nullptr); }

    // Requests on the wire since the last call (ASCII as text, RTU as hex bytes).
    std::vector<std::string> TakeRequests()
    {
        std::vector<std::string> requests = m_link.Requests();
        m_link.ClearTraffic();
        return requests;
    }
    // Runs n timer ticks of the dialog.
    static void Tick(CDialog& dlg, int n = 1, UINT_PTR id = 1000)
    {
        for (int i = 0; i < n; ++i) dlg.FireTimer(id);
    }

    CScopedVirtualClock m_clock;
    CSimBus m_bus;
    CScopedSimLink m_link{m_bus};
    CMainFrame m_frame;
    ui::CMessageBoxRecorder m_boxes;
};
