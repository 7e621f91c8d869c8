// What every Modbus dialog does with a frame that does not answer its read (line noise, a frame
// cut short, one padded past its size): it is a missed exchange, shown as silence is shown, never
// as data.
#include "EveryDialog.h"

#include "ModuleDialogs.h"
#include "ScreenTexts.h"

#include <functional>

namespace {

class EveryModbusFrame : public CEveryDialogFixture,
                         public ::testing::WithParamInterface<SDialogRow> {
protected:
    // The screen and message boxes after some ticks with every module's replies spoilt so.
    std::vector<std::string> ScreenWith(const std::function<void(SSimFaults&)>& spoil)
    {
        m_bus = CSimBus{};
        m_boxes.m_boxes.clear();
        Prepare(GetParam());
        for (size_t i = 0; i < m_bus.Count(); ++i) spoil(m_bus.Module(i).Faults());
        std::unique_ptr<CDialog> dlg = CreateModuleDialog(GetParam().name);
        dlg->Create(GetParam().nTemplate);
        Tick(*dlg, 8);
        std::vector<std::string> screen = ScreenTexts(*dlg);
        for (const std::string& box : m_boxes.Texts()) screen.push_back("box: " + box);
        dlg->OnCancel();
        CloseLine();
        return screen;
    }
};

// Address, function, byte count, one data byte and the CRC; and the largest frame Modbus allows.
constexpr int kShortestReadAnswer = 6;
constexpr int kLongestFrame = 256;

TEST_P(EveryModbusFrame, AFrameThatDoesNotAnswerTheReadShowsAsSilence)
{
    std::vector<std::string> silent = ScreenWith([](SSimFaults& f) { f.bBlank = true; });
    struct SSpoilt {
        const char* what;
        std::function<void(SSimFaults&)> spoil;
    } spoilt[] = {
        {"noise", [](SSimFaults& f) { f.nGarbage = 9; }},
        // Shorter than the answer to any read (one coil byte makes six bytes).
        {"cut short", [](SSimFaults& f) { f.nCutTo = kShortestReadAnswer - 1; }},
        // Longer than any Modbus frame (the rack's 38 registers make 81 bytes).
        {"padded", [](SSimFaults& f) { f.nLongTo = kLongestFrame + 1; }},
    };
    for (const SSpoilt& s : spoilt) {
        SCOPED_TRACE(s.what);
        EXPECT_EQ(ScreenWith(s.spoil), silent);
    }
}

std::vector<SDialogRow> ModbusRows()
{
    std::vector<SDialogRow> rows;
    for (const SDialogRow& row : EveryDialogRows()) {
        if (row.eLink == ELinkKind::Rtu) rows.push_back(row);
    }
    return rows;
}

INSTANTIATE_TEST_SUITE_P(, EveryModbusFrame, ::testing::ValuesIn(ModbusRows()), DialogRowName);

} // namespace
