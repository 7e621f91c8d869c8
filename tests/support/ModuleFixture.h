// A test's world for a module dialog: a frame holding the shared state, a simulated bus on COM1
// behind the program's link table, a virtual clock, and message boxes answered and kept.
#pragma once

#include "Clock.h"
#include "MainFrm.h"
#include "PollTimer.h"
#include "SimLink.h"
#include "UiDriver.h"
#include "WireRequests.h"

#include <QPushButton>
#include <gtest/gtest.h>

#include <array>
#include <optional>

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
    static void Tick(CDialog& dlg, int n = 1, UINT_PTR id = kPollTimer)
    {
        for (int i = 0; i < n; ++i) dlg.FireTimer(id);
    }

    // The settings boxes show the block's codes as rows, and a setting made without touching them
    // writes the same codes back (entries without a value are not compared). A dialog writes back
    // only once the request has gone out (or been acknowledged): ticks timer ticks after the click.
    struct SBoxRow {
        int nBox;
        int nRow;
    };
    template <class Dialog>
    void
    ExpectSettingsRoundTrip(UINT templateId, int settingButton, const std::vector<SBoxRow>& rows,
                            const std::array<std::optional<std::string>, 5>& params, int ticks = 0)
    {
        Dialog dlg;
        dlg.Create(templateId);
        CheckRoundTrip(dlg, settingButton, rows, params, ticks);
    }
    void CheckRoundTrip(CDialog& dlg, int settingButton, const std::vector<SBoxRow>& rows,
                        const std::array<std::optional<std::string>, 5>& params, int ticks = 0)
    {
        for (const SBoxRow& row : rows) {
            SCOPED_TRACE(row.nBox);
            EXPECT_EQ(dlg.GetDlgItemAs<CComboBox>(row.nBox)->GetCurSel(), row.nRow);
        }
        m_boxes.m_boxes.clear();
        ui::Click(dlg, settingButton);
        Tick(dlg, ticks);
        // Only the module's acknowledgement may show (a write-back that waits for it).
        for (const std::string& text : m_boxes.Texts())
            EXPECT_EQ(text, "Setting Configuration OK!");
        for (size_t i = 0; i < params.size(); ++i) {
            SCOPED_TRACE(i);
            if (params[i]) {
                EXPECT_EQ(m_frame.m_strNewParams[i], *params[i]);
            }
        }
    }

    // From now on, notes whether the dialog's timer was still running under any box it shows.
    void WatchTimerAtBoxes(CDialog& dlg, UINT_PTR id = kPollTimer)
    {
        m_boxes.m_onBox = [this, &dlg, id](const MessageBoxRequest&) {
            m_bTimerRanUnderBox = m_bTimerRanUnderBox || dlg.IsTimerActive(id);
            return m_boxes.m_nAnswer;
        };
    }

    CScopedVirtualClock m_clock;
    CSimBus m_bus;
    CScopedSimLink m_link{m_bus};
    CMainFrame m_frame;
    ui::CMessageBoxRecorder m_boxes;
    bool m_bTimerRanUnderBox = false;
};
