// What the four-channel output dialogs with digital inputs know of their module without any
// window: the three ranges of a channel, the slider positions and value texts of the ASCII
// dialog, and the 12-bit output codes of the Modbus RTU one.
#pragma once

#include <array>
#include <optional>
#include <string>

// A range by its row of the range lists, whose code is kAoRangeCodes' of that row.
struct SOutputDiRange {
    const char* pszScale; // the label under the slider
    int nSliderMin;       // slider positions: thousandths of mA or V, +10000 for +/-10 V
    int nSliderMax;
    int nLow; // the range in thousandths of mA or V
    int nHigh;
};

extern const std::array<SOutputDiRange, 3> OutputDiRangeTable;
const SOutputDiRange* OutputDiRangeOfRow(int row);
int OutputDiRowOfCode(const std::string& code);

// The value a slider position stands for on a range row, in thousandths.
int OutputDiSliderValue(int row, int position);
// A typed value, rounded to three decimals, inside the row's range, in thousandths; nothing for
// anything else.
std::optional<int> ParseOutputDiValue(const std::string& text, int row);

// The engineering value of a 12-bit output code by a range row; nothing without a row.
std::optional<float> OutputDiEngineering(int code, int row);
// The slider of the Modbus dialog: 16000 on the 4-20 mA row, else 20000, and the code of a
// position on it (0 to 4095, truncated).
int OutputDiSliderSpan(int row);
int OutputDiCodeOfPosition(int position, int span);
// A typed output code: a decimal number 0 to 4095; nothing for anything else.
std::optional<int> ParseOutputDiCode(const std::string& text);
