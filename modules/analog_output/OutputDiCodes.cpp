#include "OutputDiCodes.h"

#include "AoCodes.h"

#include <algorithm>
#include <cctype>
#include <climits>
#include <cstdlib>

const std::array<SOutputDiRange, 3> OutputDiRangeTable = {{
    {"0            10          20mA", 0, 20000, 0, 20000},
    {"4            12          20mA", 4000, 20000, 4000, 20000},
    {"-10            0          10V", 0, 20000, -10000, 10000},
}};

namespace {

inline constexpr int kCodeTop = 4095;
inline constexpr size_t kDecimals = 3;

bool AllDigits(const std::string& text)
{
    return std::all_of(text.begin(), text.end(),
                       [](char c) { return std::isdigit(static_cast<unsigned char>(c)); });
}

// A typed decimal number in thousandths, rounded half away from zero at the third decimal;
// nothing for a text that is no such number.
std::optional<int> RoundedThousandths(const std::string& text)
{
    size_t point = text.find('.');
    if (point == std::string::npos || text.size() - point - 1 <= kDecimals)
        return ParseOutputValue(text, INT_MIN / 2, INT_MAX / 2);
    std::string rest = text.substr(point + 1 + kDecimals);
    if (!AllDigits(rest)) return std::nullopt;
    std::optional<int> cut =
        ParseOutputValue(text.substr(0, point + 1 + kDecimals), INT_MIN / 2, INT_MAX / 2);
    if (!cut || rest[0] < '5') return cut;
    return *cut + (text[0] == '-' ? -1 : 1);
}

} // namespace

const SOutputDiRange* OutputDiRangeOfRow(int row)
{
    return row >= 0 && row < static_cast<int>(OutputDiRangeTable.size())
               ? &OutputDiRangeTable[static_cast<size_t>(row)]
               : nullptr;
}

int OutputDiRowOfCode(const std::string& code)
{
    return RowOfCode(kAoRangeCodes, code);
}

int OutputDiSliderValue(int row, int position)
{
    const SOutputDiRange* range = OutputDiRangeOfRow(row);
    return range ? position - range->nSliderMin + range->nLow : position;
}

std::optional<int> ParseOutputDiValue(const std::string& text, int row)
{
    const SOutputDiRange* range = OutputDiRangeOfRow(row);
    if (!range) return std::nullopt;
    std::optional<int> value = RoundedThousandths(text);
    if (!value || *value < range->nLow || *value > range->nHigh) return std::nullopt;
    return value;
}

std::optional<float> OutputDiEngineering(int code, int row)
{
    const SOutputDiRange* range = OutputDiRangeOfRow(row);
    if (!range) return std::nullopt;
    // The code spans the range: code x span / 4095 + the range's low end.
    float span = static_cast<float>(range->nHigh - range->nLow) / 1000.0f;
    float low = static_cast<float>(range->nLow) / 1000.0f;
    return static_cast<float>(code) * span / 4095.0f + low;
}

int OutputDiSliderSpan(int row)
{
    // The slider's length in positions: 16000 on the 4-20 mA row, else 20000.
    const SOutputDiRange* range = OutputDiRangeOfRow(row);
    const SOutputDiRange& r = range ? *range : OutputDiRangeTable[0];
    return r.nSliderMax - r.nSliderMin;
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
