// What every dialog shows when its module falls silent: its own failure texts, never pieces of the
// text a missed exchange leaves in the reply ("ERROR") as if they were data; and a reply of a bare
// carriage return, which answers no request, shows exactly the same.
#include "EveryDialog.h"

#include "ModuleDialogs.h"
#include "ScreenTexts.h"

#include <algorithm>
#include <functional>

namespace {

class EveryMissedExchange : public CEveryDialogTest {
protected:
    // The screen and message boxes after the dialog ran well, then its modules were spoilt so.
    std::vector<std::string> ScreenWith(const std::function<void(SSimFaults&)>& spoil)
    {
        m_bus = CSimBus{};
        RestartClock();
        m_boxes.m_boxes.clear();
        std::unique_ptr<CDialog> dlg = Open(GetParam());
        Tick(*dlg, 4);
        for (size_t i = 0; i < m_bus.Count(); ++i) spoil(m_bus.Module(i).Faults());
        Tick(*dlg, 12);
        std::vector<std::string> screen = ScreenTexts(*dlg);
        for (const std::string& box : m_boxes.Texts()) screen.push_back("box: " + box);
        if (dlg->IsRunning()) dlg->OnCancel();
        CloseLine();
        return screen;
    }
};

// A piece of "ERROR" cut out by position, or with a sign before it, shown as a reading.
bool IsPieceOfTheFailureText(const std::string& text)
{
    static const std::string kFailure = "ERROR";
    if (text.find(kFailure) != std::string::npos) return false;
    if (text.size() >= 2 && kFailure.find(text) != std::string::npos) return true;
    return text.find("RR") != std::string::npos || text.find("ROR") != std::string::npos;
}

TEST_P(EveryMissedExchange, ShowsNoPieceOfTheFailureTextAsData)
{
    std::vector<std::string> silent = ScreenWith([](SSimFaults& f) { f.nSilentAfter = 0; });
    for (const std::string& text : silent) EXPECT_FALSE(IsPieceOfTheFailureText(text)) << text;
    EXPECT_EQ(ScreenWith([](SSimFaults& f) { f.bBlank = true; }), silent);
}

INSTANTIATE_TEST_SUITE_P(, EveryMissedExchange, ::testing::ValuesIn(EveryDialogRows()),
                         DialogRowName);

} // namespace
