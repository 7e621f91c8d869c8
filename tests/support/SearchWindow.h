// The main frame with its search dialog, in a program folder of the test's own, with every message
// box answered and recorded. Shared by the search and dispatch tests.
#pragma once

#include "MainFrm.h"
#include "OstraDoc.h"
#include "OstraView.h"
#include "QueryDlg.h"
#include "Resource.h"
#include "ResourceTables.h"
#include "ResultRow.h"
#include "ScopedHome.h"
#include "UiDriver.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

namespace search_test {

namespace fs = std::filesystem;

// The settings file as Save writes it: COM digit, baud flags from 1200 up, TimeOut position and
// checksum digit.
inline std::string SettingsText(char com, const std::string& bauds, char timeout, char checksum)
{
    std::string text = std::string("COM1=") + com + ";\r\nBRAUTE=" + bauds +
                       ";\r\nTIMEOUT=" + timeout + ";\r\nCHECKSUM=" + checksum + ";\r";
    text += '\0';
    return text;
}

// The frame and the search dialog it opens at start-up, with the settings file given (none: the
// file is missing).
class CSearchWindow {
public:
    explicit CSearchWindow(const std::optional<std::string>& settings)
    {
        if (settings) home.Write(kSettingsFileName, *settings);
        SetScreenSizeOverride(1024, 768);
        loaded = frame->LoadFrame(IDR_MAINFRAME, kMainMenu, new COstraView, new COstraDoc);
    }
    ~CSearchWindow()
    {
        // The window goes first, while the dialog's member controls still exist.
        if (frame->m_pQueryDlg) frame->m_pQueryDlg->DestroyWindow();
        delete frame->m_pQueryDlg;
        delete frame;
        SetScreenSizeOverride(0, 0);
    }
    CSearchWindow(const CSearchWindow&) = delete;
    CSearchWindow& operator=(const CSearchWindow&) = delete;

    CQueryDlg& Dlg() const { return *frame->m_pQueryDlg; }
    CListCtrl& List() const { return *Dlg().GetDlgItemAs<CListCtrl>(IDC_RESULT_LIST); }
    bool Enabled(int nID) const { return Dlg().GetDlgItem(nID)->IsWindowEnabled(); }

    ResultRow Row(int item) const
    {
        ResultRow row;
        for (int c = 0; c < kResultColumns; ++c) row[c] = List().GetItemText(item, c);
        return row;
    }
    std::vector<ResultRow> Rows() const
    {
        std::vector<ResultRow> rows;
        for (int i = 0; i < List().GetItemCount(); ++i) rows.push_back(Row(i));
        return rows;
    }
    // Appends a row with these texts; its index.
    int AddRow(const ResultRow& row) const
    {
        int item = List().InsertItem(List().GetItemCount(), row[0]);
        for (int c = 1; c < kResultColumns; ++c) List().SetItemText(item, c, row[c]);
        return item;
    }

    // Fires the scan timer until the search has ended (or maxTicks); the number of ticks.
    int RunToEnd(int maxTicks = 2000) const
    {
        int ticks = 0;
        while (ticks < maxTicks && Dlg().FireTimer(kScanTimer)) ++ticks;
        return ticks;
    }
    // Clicks Search and runs the search to its end.
    int Search(int maxTicks = 2000) const
    {
        if (!ui::Click(Dlg(), IDOK)) return -1;
        return RunToEnd(maxTicks);
    }

    // Clicks Search, stops it once the addresses below end have been scanned and runs it to its
    // end; false when a button refused.
    bool SearchBelow(int end) const
    {
        if (!ui::Click(Dlg(), IDOK)) return false;
        while (Dlg().m_nScanAddress < end && Dlg().FireTimer(kScanTimer)) {
        }
        if (!ui::Click(Dlg(), IDC_STOP)) return false;
        RunToEnd(10);
        return true;
    }

    CScopedHome home; // before the frame: the search dialog reads its settings when it opens
    ui::CMessageBoxRecorder boxes;
    CMainFrame* frame = new CMainFrame;
    bool loaded = false;
};

} // namespace search_test
