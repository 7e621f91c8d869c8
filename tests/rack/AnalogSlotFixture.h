// A rack with the analog slot modules: 1300 in slot 0, 1384 in slot 1, 1386 in slot 2, 1384H in
// slot 3, the line open as the main unit's dialog leaves it, and helpers to read a slot dialog.
#pragma once

#include "RackFixture.h"
#include "SimRackAnalog.h"
#include "rack/RackIds.h"

#include "Resource.h"

class CAnalogSlotFixture : public CRackFixture {
protected:
    explicit CAnalogSlotFixture(const char* address = "50")
        : CRackFixture("80,84,86,4H,FF,FF,FF,FF", address)
    {
        OpenLine();
    }
    // The slot block the main unit writes for an analog slot row.
    void OpenSlot(const char* model, int slot)
    {
        m_frame.m_strSlotAiParams = {"", model, std::to_string(slot), "", "", ""};
    }
    CSimAnalogSlotBase& Slot(int slot) { return m_pRack->SlotAs<CSimAnalogSlotBase>(slot); }

    static std::string Text(CDialog& dlg, int id) { return dlg.GetDlgItemText(id); }
    static int Row(CDialog& dlg, int id) { return dlg.GetDlgItemAs<CComboBox>(id)->GetCurSel(); }
    static bool Enabled(CDialog& dlg, int id) { return dlg.GetDlgItem(id)->IsWindowEnabled(); }
    static bool Visible(CDialog& dlg, int id) { return dlg.GetDlgItem(id)->IsWindowVisible(); }
    // A lamp as the operator sees it: hidden, or its icon.
    static std::string Lamp(CDialog& dlg, int id)
    {
        if (!Visible(dlg, id)) return "hidden";
        return dlg.GetDlgItemAs<CStatic>(id)->GetIcon() == IDI_DOT_SET ? "red" : "grey";
    }
    // The requests of n ticks, one a tick ("" for a tick that sends nothing).
    std::vector<std::string> TickRequests(CDialog& dlg, int n)
    {
        std::vector<std::string> sent;
        for (int i = 0; i < n; ++i) {
            Tick(dlg);
            std::vector<std::string> requests = TakeRequests();
            sent.push_back(requests.empty() ? "" : requests.front());
        }
        return sent;
    }
    // The value and lamp requests of channels first..last of a slot's poll loop.
    static std::vector<std::string> PollLoop(int slot, int first, int last)
    {
        std::vector<std::string> loop;
        for (int ch = first; ch <= last; ++ch) {
            loop.push_back("#50S" + std::to_string(slot) + "C" + std::to_string(ch));
            loop.push_back("$50S" + std::to_string(slot) + "C" + std::to_string(ch) + "S");
        }
        return loop;
    }
    static std::vector<std::string> Join(std::vector<std::string> a,
                                         const std::vector<std::string>& b)
    {
        a.insert(a.end(), b.begin(), b.end());
        return a;
    }
};
