#include "TcCalibration.h"

#include "AsciiCommand.h"
#include "ReadingFields.h"
#include "Strings.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace {

inline constexpr double kMaxOffsetCode = 0xFFFF;

bool IsSign(char c)
{
    return c == '+' || c == '-';
}

bool IsDigit(char c)
{
    return c >= '0' && c <= '9';
}

// Digits with at most one point, at least one digit.
bool IsUnsignedDecimal(const std::string& text)
{
    return !text.empty() && !IsSign(text[0]) && IsDecimalNumber(text);
}

bool IsHexDigit(char c)
{
    return IsDigit(c) || (c >= 'A' && c <= 'F') || (c >= 'a' && c <= 'f');
}

} // namespace

std::optional<SCjcOffsetCode> CjcOffsetCode(const std::string& text)
{
    if (text.empty()) return SCjcOffsetCode{"", "0000"};
    std::string number = text.substr(1);
    if (!IsSign(text[0]) || !IsUnsignedDecimal(number)) return std::nullopt;
    double steps = std::trunc(std::strtod(number.c_str(), nullptr) / kCjcOffsetStep);
    if (steps > kMaxOffsetCode) return std::nullopt;
    return SCjcOffsetCode{text.substr(0, 1), Format("%04x", static_cast<unsigned>(steps))};
}

bool IsRawCjcOffset(const std::string& text)
{
    return text.size() == 5 && IsSign(text[0]) &&
           std::all_of(text.begin() + 1, text.end(), IsHexDigit);
}

bool IsCoefficientHex(const std::string& text)
{
    return text.size() == 4 && std::all_of(text.begin(), text.end(), IsHexDigit);
}

std::optional<std::string> CoefficientCode(const std::string& text)
{
    if (text.empty() || text.size() > 5 || !std::all_of(text.begin(), text.end(), IsDigit))
        return std::nullopt;
    int value = std::atoi(text.c_str());
    if (value > kMaxCoefficient) return std::nullopt;
    return ByteToHexPair(value >> 8) + ByteToHexPair(value & 0xFF);
}
