// What the cold-junction and calibration fields of the thermocouple dialog may send: each
// text is checked here before it becomes part of a request, so nothing the module cannot take (a
// carriage return, a code wider than its field) ever goes out. No Qt.
#pragma once

#include <optional>
#include <string>

// One step of the cold-junction offset in degrees.
inline constexpr double kCjcOffsetStep = 0.009;
inline constexpr int kMaxCoefficient = 50000;

// The offset in degrees as "Calibrate" sends it: the text's sign, then the rest divided by 0.009,
// truncated, as at least four lower-case hex digits ("+00.02" gives "+" and "0002"). An empty text
// gives no sign and "0000". Nothing when the text is not a sign followed by a number that is not
// negative, or when its code does not fit four hex digits.
struct SCjcOffsetCode {
    std::string strSign;
    std::string strHex;
};
std::optional<SCjcOffsetCode> CjcOffsetCode(const std::string& text);

// The raw offset of "CJC Zero", and of the module's "$AAJ" reply: a sign and four hex digits
// ("+0000").
bool IsRawCjcOffset(const std::string& text);
// The coefficient as the module's "$AAL" reply carries it: four hex digits ("2710").
bool IsCoefficientHex(const std::string& text);

// The coefficient text (a whole number 0 to 50000) as four upper-case hex digits, high byte
// first; nothing for any other text.
std::optional<std::string> CoefficientCode(const std::string& text);
