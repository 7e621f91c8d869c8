#include "ReadingFields.h"

#include "AsciiCommand.h"
#include "ModuleCodes.h"
#include "Strings.h"

#include <algorithm>
#include <string_view>

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

bool IsDigit(char c)
{
    return c >= '0' && c <= '9';
}

bool IsDigitOrPoint(char c)
{
    return IsDigit(c) || c == '.';
}

bool IsHexDigitOrPoint(char c)
{
    return IsUpperHexDigit(c) || c == '.';
}

// Eight digits: more than any module's conversion resolves.
inline constexpr size_t kMaxReadingDigits = 8;
inline constexpr size_t kHexReadingWidth = 4;

// Digits, a point, digits: a digit on either side of the point, eight digits at most.
bool IsReadingNumber(std::string_view text)
{
    size_t point = text.find('.');
    if (point == 0 || point == std::string_view::npos || point + 1 == text.size()) return false;
    std::string_view whole = text.substr(0, point);
    std::string_view fraction = text.substr(point + 1);
    return text.size() - 1 <= kMaxReadingDigits &&
           std::all_of(whole.begin(), whole.end(), IsDigit) &&
           std::all_of(fraction.begin(), fraction.end(), IsDigit);
}

bool IsHexReading(const std::string& text)
{
    return text.size() == kHexReadingWidth &&
           std::all_of(text.begin(), text.end(), IsUpperHexDigit);
}

EReadingForm FormOfData(const std::string& data, EReadingForm form)
{
    if (form != EReadingForm::AsData) return form;
    if (!data.empty() && IsSign(data[0])) return EReadingForm::Decimal;
    return data.find('.') == std::string::npos ? EReadingForm::Hex : EReadingForm::Resistance;
}

// Fields of one width that together make the data; none when it has another length.
std::optional<std::vector<std::string>> EqualFields(const std::string& data, int count,
                                                    size_t width)
{
    if (width == 0 || data.size() != width * static_cast<size_t>(count)) return std::nullopt;
    return SplitEqualWidth(data, count);
}

std::optional<std::vector<std::string>> FieldsOf(const std::string& data, int count,
                                                 EReadingForm form, size_t width)
{
    switch (form) {
    case EReadingForm::Hex:
        return EqualFields(data, count, kHexReadingWidth);
    case EReadingForm::Decimal:
        // Each reading runs from its sign to the next.
        if (width == 0 && !data.empty() && IsSign(data[0])) return SplitAtSigns(data, count);
        return EqualFields(data, count, width);
    default:
        // Without signs only one width tells the readings apart.
        return EqualFields(data, count,
                           width != 0 ? width : data.size() / static_cast<size_t>(count));
    }
}

} // namespace

bool IsValueOfSign(const std::string& text, EReadingSign sign)
{
    bool bSigned = sign == EReadingSign::Signed ||
                   (sign == EReadingSign::AsData && !text.empty() && IsSign(text[0]));
    // A number has one point at most: a field with two runs across the border of two values.
    if (std::count(text.begin(), text.end(), '.') > 1) return false;
    if (bSigned) {
        return text.size() > 1 && IsSign(text[0]) &&
               std::all_of(text.begin() + 1, text.end(), IsDigitOrPoint);
    }
    return !text.empty() && std::all_of(text.begin(), text.end(), IsHexDigitOrPoint);
}

EReadingForm FormOfFormat(const std::string& formatDigit)
{
    static constexpr EReadingForm kForms[] = {EReadingForm::Decimal, EReadingForm::Decimal,
                                              EReadingForm::Hex, EReadingForm::Resistance};
    return kForms[HexDigitOrZero(CharAt(formatDigit, 0)) & 0x3];
}

bool IsReading(const std::string& text, EReadingForm form)
{
    switch (FormOfData(text, form)) {
    case EReadingForm::Hex:
        return IsHexReading(text);
    case EReadingForm::Decimal:
        return !text.empty() && IsSign(text[0]) &&
               IsReadingNumber(std::string_view(text).substr(1));
    default:
        return IsReadingNumber(text);
    }
}

std::optional<std::vector<std::string>> ReadingsOfShape(const std::string& data, int count,
                                                        EReadingForm form, size_t width)
{
    if (count <= 0) return std::nullopt;
    form = FormOfData(data, form);
    std::optional<std::vector<std::string>> fields = FieldsOf(data, count, form, width);
    if (!fields) return std::nullopt;
    for (const std::string& field : *fields) {
        if (!IsReading(field, form)) return std::nullopt;
    }
    // Resistances of one range: the point at one place in each.
    if (form == EReadingForm::Resistance) {
        size_t point = fields->front().find('.');
        for (const std::string& field : *fields) {
            if (field.find('.') != point) return std::nullopt;
        }
    }
    return fields;
}

bool IsDioState(const std::string& data, size_t length)
{
    constexpr size_t kDioStateLength = 5;
    return data.size() >= length && data.size() <= kDioStateLength &&
           std::all_of(data.begin(), data.end(), IsUpperHexDigit);
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
