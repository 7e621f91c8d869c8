#include "PowerMeterReadings.h"

#include "CounterPowerIds.h"

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <cstdio>

namespace {

// The fields of groups "1" to "3": three phases, then the total in two registers.
std::vector<SPmField> PhasesAndTotal(int first, int second, int third, int total)
{
    return {{first, 0, EPmRaw::Signed16, 10},
            {second, 4, EPmRaw::Signed16, 10},
            {third, 8, EPmRaw::Signed16, 10},
            {total, 12, EPmRaw::Signed32, 10}};
}

int DigitsOf(EPmRaw raw)
{
    return raw == EPmRaw::Signed32 || raw == EPmRaw::Unsigned32 ? 8 : 4;
}

int HexValue(char c)
{
    if (c >= '0' && c <= '9') return c - '0';
    c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return c >= 'A' && c <= 'F' ? c - 'A' + 10 : -1;
}

// The hex number at the start of text, up to its first character that is no hex digit.
uint32_t LeadingHex(const std::string& text)
{
    uint32_t value = 0;
    for (char c : text) {
        int digit = HexValue(c);
        if (digit < 0) break;
        value = value << 4 | static_cast<uint32_t>(digit);
    }
    return value;
}

double RawValue(uint32_t raw, EPmRaw form)
{
    switch (form) {
    case EPmRaw::Signed16:
        return static_cast<int16_t>(static_cast<uint16_t>(raw));
    case EPmRaw::Signed32:
        return static_cast<int32_t>(raw);
    default:
        return raw;
    }
}

std::string FieldText(const std::string& data, const SPmField& field)
{
    size_t at = static_cast<size_t>(field.nAt);
    std::string digits = at < data.size() ? data.substr(at, DigitsOf(field.eRaw)) : "";
    return ReadingText(RawValue(LeadingHex(digits), field.eRaw) / field.dScale);
}

} // namespace

const std::array<SPmGroup, 6> kPmGroups = {{
    {"0303000007",
     "A",
     {{IDC_PM_V1, 0, EPmRaw::Unsigned16, 100},
      {IDC_PM_V2, 4, EPmRaw::Unsigned16, 100},
      {IDC_PM_V3, 8, EPmRaw::Unsigned16, 100},
      {IDC_PM_IN, 24, EPmRaw::Unsigned16, 1000},
      {IDC_PM_I1, 12, EPmRaw::Unsigned16, 1000},
      {IDC_PM_I2, 16, EPmRaw::Unsigned16, 1000},
      {IDC_PM_I3, 20, EPmRaw::Unsigned16, 1000}}},
    {"0303070005", "B", PhasesAndTotal(IDC_PM_P1, IDC_PM_P2, IDC_PM_P3, IDC_PM_P)},
    {"03030C0005", "C", PhasesAndTotal(IDC_PM_Q1, IDC_PM_Q2, IDC_PM_Q3, IDC_PM_Q)},
    {"0303110005", "D", PhasesAndTotal(IDC_PM_S1, IDC_PM_S2, IDC_PM_S3, IDC_PM_S)},
    {"0303160004",
     "E",
     {{IDC_PM_PF1, 0, EPmRaw::Signed16, 10000},
      {IDC_PM_PF2, 4, EPmRaw::Signed16, 10000},
      {IDC_PM_PF3, 8, EPmRaw::Signed16, 10000},
      {IDC_PM_F, 12, EPmRaw::Signed16, 100}}},
    {"03031A0008",
     "F",
     {{IDC_PM_EPI, 0, EPmRaw::Unsigned32, 1e6},
      {IDC_PM_EPO, 8, EPmRaw::Unsigned32, 1e6},
      {IDC_PM_EQIND, 16, EPmRaw::Unsigned32, 1e6},
      {IDC_PM_EQCAP, 24, EPmRaw::Unsigned32, 1e6}}},
}};

std::string ReadingText(double value)
{
    char text[64];
    std::snprintf(text, sizeof text, "%06.3f", value);
    return text;
}

bool IsGroupData(int group, const std::string& data)
{
    if (group < 0 || group >= static_cast<int>(kPmGroups.size())) return false;
    // The register count ends the group's Modbus request.
    std::string count = std::string(kPmGroups[static_cast<size_t>(group)].pszRtu).substr(6);
    size_t digits = 4 * std::stoul(count, nullptr, 16);
    return data.size() == digits &&
           std::all_of(data.begin(), data.end(), [](char c) { return HexValue(c) >= 0; });
}

std::vector<SPmBoxText> ParseReadingGroup(const std::string& group, const std::string& data)
{
    if (group.size() != 1 || group[0] < '0' || group[0] > '5') return {};
    std::vector<SPmBoxText> texts;
    for (const SPmField& field : kPmGroups[static_cast<size_t>(group[0] - '0')].fields)
        texts.push_back({field.nBox, FieldText(data, field)});
    return texts;
}

SPmDioState DecodeDioState(const std::string& data)
{
    SPmDioState state;
    char input = !data.empty() ? data[0] : '\0';
    char output = data.size() > 1 ? data[1] : '\0';
    if (input == '0' || input == '1') state.bInputLit = input == '0';
    if (output >= '0' && output <= '3') {
        int digit = output - '0';
        state.outputs = std::array<int, 2>{digit & 1, digit >> 1};
    }
    return state;
}

char OutputDigit(const std::array<int, 2>& bits)
{
    return static_cast<char>('0' + bits[0] + 2 * bits[1]);
}

std::optional<std::string> RatioDigits(const std::string& typed)
{
    if (typed.empty() || typed.size() > 5) return std::nullopt;
    unsigned value = 0;
    for (char c : typed) {
        if (c < '0' || c > '9') return std::nullopt;
        value = value * 10 + static_cast<unsigned>(c - '0');
    }
    if (value > 0xFFFF) return std::nullopt;
    char digits[8];
    std::snprintf(digits, sizeof digits, "%04x", value);
    return std::string(digits);
}

std::optional<std::string> RatioFromData(const std::string& data)
{
    if (data.size() < 4) return std::nullopt;
    std::string digits = data.substr(0, 4);
    for (char c : digits)
        if (HexValue(c) < 0) return std::nullopt;
    return std::to_string(LeadingHex(digits));
}
