#include "ReadingFields.h"

#include "ModuleCodes.h"
#include "Strings.h"

#include <algorithm>

namespace {

bool IsSign(char c)
{
    return c == '+' || c == '-';
}

} // namespace

std::vector<std::string> SplitAtSigns(const std::string& data, int maxFields)
{
    std::vector<std::string> fields(static_cast<size_t>(std::max(maxFields, 0)));
    size_t k = 0;
    bool started = false;
    for (char c : data) {
        if (IsSign(c) && started && k + 1 < fields.size()) ++k;
        started = started || IsSign(c);
        if (started) fields[k] += c;
    }
    return fields;
}

std::vector<std::string> SplitEqualWidth(const std::string& data, int count)
{
    std::vector<std::string> fields(static_cast<size_t>(std::max(count, 0)));
    if (fields.empty()) return fields;
    size_t width = data.size() / fields.size();
    for (size_t k = 0; k < fields.size(); ++k) fields[k] = data.substr(k * width, width);
    return fields;
}

std::vector<std::string> SplitReadings(const std::string& data, int count, int maxSigns)
{
    if (data.empty() || !IsSign(data[0])) return SplitEqualWidth(data, count);
    std::vector<std::string> fields = SplitAtSigns(data, maxSigns);
    fields.resize(static_cast<size_t>(std::max(count, 0)));
    return fields;
}

namespace {

bool IsDigitOrPoint(char c)
{
    return (c >= '0' && c <= '9') || c == '.';
}

bool IsHexDigitOrPoint(char c)
{
    return IsDigitOrPoint(c) || (c >= 'A' && c <= 'F');
}

// A number has one point at most: a field with two runs across the border of two readings.
bool HasShape(const std::string& field, bool bSigned)
{
    if (std::count(field.begin(), field.end(), '.') > 1) return false;
    if (bSigned) {
        return field.size() > 1 && IsSign(field[0]) &&
               std::all_of(field.begin() + 1, field.end(), IsDigitOrPoint);
    }
    return std::all_of(field.begin(), field.end(), IsHexDigitOrPoint);
}

} // namespace

std::optional<std::vector<std::string>> ReadingsOfShape(const std::string& data, int count,
                                                        EReadingSign sign)
{
    if (count <= 0 || data.empty() || data.size() % static_cast<size_t>(count) != 0)
        return std::nullopt;
    bool bSigned =
        sign == EReadingSign::Signed || (sign == EReadingSign::AsData && IsSign(data[0]));
    std::vector<std::string> fields = SplitEqualWidth(data, count);
    for (const std::string& field : fields) {
        if (!HasShape(field, bSigned)) return std::nullopt;
    }
    return fields;
}

EReadingSign SignOfFormat(const std::string& formatDigit)
{
    constexpr int kHex = 2;
    bool bUnsigned = (HexDigitOrZero(CharAt(formatDigit, 0)) & 0x3) >= kHex;
    return bUnsigned ? EReadingSign::Unsigned : EReadingSign::Signed;
}

bool IsDecimalNumber(const std::string& text)
{
    size_t start = !text.empty() && IsSign(text[0]) ? 1 : 0;
    int digits = 0;
    bool point = false;
    for (size_t i = start; i < text.size(); ++i) {
        char c = text[i];
        if (c >= '0' && c <= '9') {
            ++digits;
        } else if (c == '.' && !point) {
            point = true;
        } else {
            return false;
        }
    }
    return digits > 0;
}
