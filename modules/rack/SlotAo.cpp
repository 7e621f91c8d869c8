#include "SlotAo.h"

#include "Strings.h"

#include <cctype>

namespace {

const SAoSlotRange kRanges[] = {
    {"0", 0, 20, "mA"},
    {"1", 4, 20, "mA"},
    {"2", 0, 10, "V"},
};

const std::vector<std::string> kCurrentSlews = {
    "immediately", "0.0125mV/sec", "0.025mV/sec", "0.5mV/sec",  "1.0mV/sec",  "2.0mV/sec",
    "4.0mV/sec",   "8.0mV/sec",    "16.0mV/sec",  "32.0mV/sec", "64.0mV/sec", "128.0mV/sec"};
const std::vector<std::string> kVoltSlews = {
    "immediately", "0.0625V/sec", "0.0125V/sec", "0.025V/sec", "0.5V/sec",  "1.0V/sec",
    "2.0V/sec",    "4.0V/sec",    "8.0V/sec",    "16.0V/sec",  "32.0V/sec", "64.0V/sec"};

bool IsDigit(char c)
{
    return std::isdigit(static_cast<unsigned char>(c)) != 0;
}

} // namespace

const CodeTable kAoRangeDigits = {"0", "1", "2"};
const CodeTable kAoSlewCodes = {"00", "04", "08", "0C", "10", "14",
                                "18", "1C", "20", "24", "28", "2C"};

const SAoSlotRange* AoRangeOfDigit(const std::string& digit)
{
    int row = RowOfCode(kAoRangeDigits, digit);
    return row < 0 ? nullptr : &kRanges[row];
}

const std::vector<std::string>& AoSlewRows(const std::string& rangeDigit)
{
    return rangeDigit == "2" ? kVoltSlews : kCurrentSlews;
}

float LeadingNumber(const std::string& text)
{
    size_t i = 0;
    while (i < text.size() && std::isspace(static_cast<unsigned char>(text[i]))) ++i;
    size_t start = i;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) ++i;
    size_t digits = 0;
    for (; i < text.size() && IsDigit(text[i]); ++i) ++digits;
    if (i < text.size() && text[i] == '.')
        for (++i; i < text.size() && IsDigit(text[i]); ++i) ++digits;
    if (digits == 0) return 0.0f;
    return static_cast<float>(StrToDouble(text.substr(start, i - start)));
}

std::string AoValueText(float value)
{
    std::string text = Format("%02.3f", static_cast<double>(value));
    return text.size() < 6 ? "0" + text : text;
}

std::string AoSliderText(float position)
{
    return Format("%2.3f", static_cast<double>(position));
}

bool AoValueFits(int rangeRow, float value)
{
    if (rangeRow < 0 || rangeRow > 2) return true;
    const SAoSlotRange& range = kRanges[rangeRow];
    return value >= static_cast<float>(range.nMin) && value <= static_cast<float>(range.nMax);
}

const STrimVariant kTrim4mA = {
    243, "Vektral-1359 4mA Calibration", "Trim For 4.0 mA",       "Startup output Value = 4.0mA",
    "0", "4mA Calibration Succeeded!",   "4mA Calibration Error!"};
const STrimVariant kTrim20mA = {
    244, "Vektral-1359 20mA Calibration", "Trim For 20.0 mA",       "Startup output Value = 20mA",
    "1", "20mA Calibration Succeeded!",   "20mA Calibration Error!"};
const char* const kTrimStepBodies[4] = {"30A", "301", "3FF", "3F6"};
