// A module that answers just after the time-out: each reply then arrives as the answer to the
// next request. A reader takes only a reply that fits its own request, so no reading lands in
// another reading's field.
#include "EveryDialog.h"

#include "LateLine.h"
#include "ModuleDialogs.h"
#include "rtd/RtdIds.h"
#include "thermocouple/ThermocoupleIds.h"

#include <algorithm>

namespace {

const SDialogRow& RowNamed(const std::string& name)
{
    const std::vector<SDialogRow>& rows = EveryDialogRows();
    return *std::find_if(rows.begin(), rows.end(),
                         [&name](const SDialogRow& row) { return row.name == name; });
}

bool HasSign(const std::string& text)
{
    return text.find_first_of("+-") != std::string::npos;
}

class LateReply : public CEveryDialogFixture {
protected:
    // Ticks the dialog on a late line, checking its fields after each tick.
    void RunLate(const SDialogRow& row, const std::function<void(CDialog&)>& check)
    {
        CLateLine line;
        std::unique_ptr<CDialog> dlg = Open(row);
        Tick(*dlg, 4);
        line.SetLate(true);
        for (int i = 0; i < 9; ++i) {
            Tick(*dlg);
            check(*dlg);
        }
        dlg->OnCancel();
    }
};

// The input values of the RTD dialogs are signed; the resistances are not. A late resistance
// reply is not an input value, nor a late input reply a resistance: the field shows the failure.
TEST_F(LateReply, RtdInputAndOhmFieldsNeverSwap)
{
    struct SCase {
        const char* name;
        int channels;
    } cases[] = {{"CM6309x", 4}, {"CM6380", 1}}; // CM6380 shows its three channels in CH0
    for (const SCase& c : cases) {
        SCOPED_TRACE(c.name);
        m_bus = CSimBus{};
        RunLate(RowNamed(c.name), [&c](CDialog& dlg) {
            for (int ch = 0; ch < c.channels; ++ch) {
                std::string input = dlg.GetDlgItemText(kRtdInputIds[ch]);
                std::string ohm = dlg.GetDlgItemText(kRtdOhmIds[ch]);
                if (input != "ERROR!!") {
                    EXPECT_TRUE(input.empty() || input[0] == '+' || input[0] == '-') << input;
                }
                if (ohm != "ERROR!!") {
                    EXPECT_FALSE(HasSign(ohm)) << ohm;
                }
            }
        });
    }
}

// The 4386A reads its readings and its cold-junction temperature in turn; a late reply of the
// readings never shows as the temperature.
TEST_F(LateReply, TheColdJunctionFieldNeverShowsTheReadings)
{
    SDialogRow row = RowNamed("CM6386");
    row.bus = "4386A 0x10 9600 ascii";
    row.block = {"10", "06", "0", "FF", "0", "4386A"};
    RunLate(row, [](CDialog& dlg) {
        std::string cjc = dlg.GetDlgItemText(IDC_TC_CJC_TEMP);
        EXPECT_LE(
            std::count_if(cjc.begin(), cjc.end(), [](char c) { return c == '+' || c == '-'; }), 1)
            << cjc;
    });
}

} // namespace
