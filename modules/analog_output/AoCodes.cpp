#include "AoCodes.h"

#include "AsciiCommand.h"
#include "ModelName.h"

#include <algorithm>
#include <cctype>
#include <climits>
#include <cstdio>
#include <cstdlib>

const CodeTable kAoRangeCodes = {"30", "31", "32"};
const CodeTable kAoFormatCodes = {"0", "1", "2"};

const std::array<SAoRange, 3> AoRangeTable = {{
    {0, {"0", "10", "20"}, "mA", 0, 20000, kAoCurrent},
    {1, {"4", "12", "20"}, "mA", 4000, 20000, kAoCurrent},
    {2, {"0", "5", "10"}, "V", 0, 10000, kAoVoltage},
}};

const std::array<const char*, 16> kAoSlewVoltageRows = {
    "immediate", "0.0625 V/S", "0.125 V/S", "0.25 V/S",        "0.5 V/S",  "1.0 V/S",
    "2.0 V/S",   "4.0 V/S",    "8.0 V/S",   "16.0 V/S",        "32.0 V/S", "64.0 V/S",
    "128.0 V/S", "256.0 V/S",  "512.0 V/S", "1024.0 V/S(6359)"};
const std::array<const char*, 16> kAoSlewCurrentRows = {
    "immediate",  "0.125 mA/S", "0.25 mA/S",   "0.5 mA/S",         "1.0 mA/S",  "2.0 mA/S",
    "4.0 mA/S",   "8.0 mA/S",   "16.0 mA/S",   "32.0 mA/S",        "64.0 mA/S", "128.0 mA/S",
    "256.0 mA/S", "512.0 mA/S", "1024.0 mA/S", "2048.0 mA/S(6359)"};

const SAoRange* AoRangeOfCode(const std::string& code)
{
    return AoRangeOfRow(RowOfCode(kAoRangeCodes, code));
}

const SAoRange* AoRangeOfRow(int row)
{
    return row >= 0 && row < static_cast<int>(AoRangeTable.size())
               ? &AoRangeTable[static_cast<size_t>(row)]
               : nullptr;
}

EAoKind AoKindOfModel(const std::string& name)
{
    if (ModelHasAny(name, {"4358", "6358"})) return EAoKind::One;
    if (ModelHasAny(name, {"4355", "6355"})) return EAoKind::Two;
    return EAoKind::Four;
}

int AoChannelCount(EAoKind kind)
{
    switch (kind) {
    case EAoKind::One:
        return 1;
    case EAoKind::Two:
        return 2;
    default:
        return 4;
    }
}

SAoFormat AoFormatOfBlock(const std::string& check, const std::string& format)
{
    int high = HexDigitOrZero(check.empty() ? '\0' : check[0]);
    int low = HexDigitOrZero(format.empty() ? '\0' : format[0]);
    return {(4 * high + low / 4) % 16, low % 4};
}

SAoFormatDigits AoFormatDigits(const std::string& oldCheck, std::optional<bool> checksumOn,
                               int slew, int dataFormat)
{
    int high = HexDigitOrZero(oldCheck.empty() ? '\0' : oldCheck[0]);
    if (checksumOn) high = (*checksumOn ? high | 0x4 : high & ~0x4) & 0xC;
    return {ValueToHexChar((high | slew >> 2) & 0xF),
            ValueToHexChar((slew << 2 | dataFormat) & 0xF)};
}

std::string FormatOutputValue(int thousandths)
{
    char text[32];
    std::snprintf(text, sizeof text, "%f", thousandths / 1000.0);
    std::string all = text;
    size_t point = all.find('.');
    std::string whole = all.substr(0, point);
    std::string fraction = point == std::string::npos ? "000" : all.substr(point + 1, 3);
    if (thousandths < 0 && whole.size() == 2)
        whole.insert(1, "0");
    else if (thousandths >= 0 && whole.size() == 1)
        whole.insert(0, "0");
    return whole + "." + fraction;
}

std::string SignedOutputValue(int thousandths)
{
    return (thousandths >= 0 ? "+" : "") + FormatOutputValue(thousandths);
}

std::optional<int> ParseOutputValue(const std::string& text, int min, int max)
{
    constexpr size_t kMaxWholeDigits = 6;
    std::string_view rest = text;
    bool negative = false;
    if (!rest.empty() && (rest[0] == '+' || rest[0] == '-')) {
        negative = rest[0] == '-';
        rest.remove_prefix(1);
    }
    size_t point = rest.find('.');
    std::string_view whole = rest.substr(0, point);
    std::string_view fraction = point == std::string_view::npos ? "" : rest.substr(point + 1);
    auto digits = [](std::string_view s) {
        return std::all_of(s.begin(), s.end(),
                           [](char c) { return std::isdigit(static_cast<unsigned char>(c)); });
    };
    if (whole.empty() && fraction.empty()) return std::nullopt;
    if (!digits(whole) || !digits(fraction) || whole.size() > kMaxWholeDigits ||
        fraction.size() > 3)
        return std::nullopt;
    std::string decimals = std::string(fraction) + std::string(3 - fraction.size(), '0');
    long value = std::atol(std::string(whole).c_str()) * 1000 + std::atol(decimals.c_str());
    if (negative) value = -value;
    if (value < min || value > max) return std::nullopt;
    return static_cast<int>(value);
}

std::optional<int> ParseRawOutputCode(const std::string& text)
{
    bool hex = !text.empty() && text.size() <= 4 &&
               std::all_of(text.begin(), text.end(),
                           [](char c) { return std::isxdigit(static_cast<unsigned char>(c)); });
    if (!hex) return std::nullopt;
    return static_cast<int>(std::strtol(text.c_str(), nullptr, 16));
}

int OutputPositionOfText(const std::string& text)
{
    return ParseOutputValue(text, INT_MIN / 2, INT_MAX / 2).value_or(0);
}

std::string OutputLimitText(int thousandths)
{
    char text[32];
    std::snprintf(text, sizeof text, "%g", thousandths / 1000.0);
    return text;
}

std::string AoRegisterValueText(const std::string& hexDigits)
{
    std::optional<int> value = ParseRawOutputCode(hexDigits);
    return value ? SignedOutputValue(*value) : std::string();
}
