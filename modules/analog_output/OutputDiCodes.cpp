#include "OutputDiCodes.h"

#include "AoCodes.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>

const std::array<SOutputDiRange, 3> OutputDiRangeTable = {{
    {"30", "0            10          20mA", 0, 20000, 0, 20000},
    {"31", "4            12          20mA", 4000, 20000, 4000, 20000},
    {"32", "-10            0          10V", 0, 20000, -10000, 10000},
}};

namespace {
inline constexpr int kCodeTop = 4095;
inline constexpr int kVoltsOffset = 10000; // the +/-10 V slider starts at -10 V
} // namespace

const SOutputDiRange* OutputDiRangeOfRow(int row)
{
    return row >= 0 && row < static_cast<int>(OutputDiRangeTable.size())
               ? &OutputDiRangeTable[static_cast<size_t>(row)]
               : nullptr;
}

int OutputDiRowOfCode(const std::string& code)
{
    for (size_t row = 0; row < OutputDiRangeTable.size(); ++row)
        if (code == OutputDiRangeTable[row].pszCode) return static_cast<int>(row);
    return -1;
}

std::string OutputDiValueText(int thousandths)
{
    return (thousandths >= 0 ? "+" : "") + FormatOutputValue(thousandths);
}

int OutputDiSliderValue(int row, int position)
{
    return row == 2 ? position - kVoltsOffset : position;
}

std::optional<int> ParseOutputDiValue(const std::string& text, int row)
{
    const SOutputDiRange* range = OutputDiRangeOfRow(row);
    if (!range) return std::nullopt;
    return ParseOutputValue(text, range->nLow, range->nHigh);
}

std::optional<float> OutputDiEngineering(int code, int row)
{
    switch (row) {
    case 0:
        return static_cast<float>(code) * 20.0f / 4095.0f;
    case 1:
        return static_cast<float>(code) * 16.0f / 4095.0f + 4.0f;
    case 2:
        return static_cast<float>(code) * 20.0f / 4095.0f - 10.0f;
    default:
        return std::nullopt;
    }
}

int OutputDiSliderSpan(int row)
{
    return row == 1 ? 16000 : 20000;
}

int OutputDiCodeOfPosition(int position, int span)
{
    return position * kCodeTop / span;
}

std::optional<int> ParseOutputDiCode(const std::string& text)
{
    if (text.empty() || text.size() > 4 || !std::all_of(text.begin(), text.end(), [](char c) {
            return std::isdigit(static_cast<unsigned char>(c));
        }))
        return std::nullopt;
    int code = std::atoi(text.c_str());
    if (code > kCodeTop) return std::nullopt;
    return code;
}
