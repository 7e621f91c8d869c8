#include "SlotAi.h"

#include "AsciiCommand.h"
#include "ModelName.h"
#include "ReadingFields.h"
#include "Strings.h"

#include <algorithm>

namespace {

const std::vector<std::string> kRtdRanges = {
    "Pt.00385 -100~100'C", "Pt.00385 0~100'C",  "Pt.00385 0~200'C",  "Pt.00385 0~600'C",
    "Pt.00392 +/-100'C",   "Pt.00392  0~100'C", "Pt.00392  0~200'C", "Pt.00392  0~600'C",
    "Ni -80~100'C",        "Ni 0~100'C"};
const CodeTable kRtdCodes = {"20", "21", "22", "23", "24", "25", "26", "27", "28", "29"};

const std::vector<std::string> kVoltageRanges = {"+/- 10V",   "+/- 5V",   "+/- 1V", "+/- 500mV",
                                                 "+/- 150mV", "+/- 20mA", "4~20mA"};
const CodeTable kVoltageCodes = {"08", "09", "0A", "0B", "0C", "0D", "07"};

const std::vector<std::string> kThermocoupleRanges = {
    "+/- 15 mV",           "+/- 50 mV",           "+/- 100 mV",        "+/- 500 mV",
    "+/-  1  V",           "+/-   2.5 V",         "+/-   20  mA",      "J  Type  0~760'C",
    "K  Type  0~1370'C",   "T  Type  -100~400'C", "E  Type  0~1000'C", "R  Type  500~1750'C",
    "S  Type  500~1750'C", "B  Type  500~1800'C"};
const CodeTable kThermocoupleCodes = {"00", "01", "02", "03", "04", "05", "06",
                                      "0E", "0F", "10", "11", "12", "13", "14"};

// Units by range row (by format row for the 1300).
const std::vector<std::string> kVoltageUnits = {"V", "V", "V", "mV", "mV", "mA", "mA"};
const std::vector<std::string> kThermocoupleUnits = {"mV", "mV", "mV", "mV", "V",  "V",  "mA",
                                                     "'C", "'C", "'C", "'C", "'C", "'C", "'C"};
const std::vector<std::string> kRtdUnits = {"'C", "Ohms"};

const SAiSlotModel kModels[] = {
    {"1300", 3, &kRtdRanges, &kRtdCodes, 1, true, &kRtdUnits, nullptr, ESpareRows::Disabled, false},
    {"1386", 7, &kThermocoupleRanges, &kThermocoupleCodes, 2, false, &kThermocoupleUnits, "mV",
     ESpareRows::Hidden, true},
    {"1384", 8, &kVoltageRanges, &kVoltageCodes, 1, false, &kVoltageUnits, nullptr,
     ESpareRows::Hidden, false},
};

constexpr int kCodeAt = 3;

std::optional<std::string> UnitOfRow(const std::vector<std::string>& units, int row)
{
    if (row < 0 || row >= static_cast<int>(units.size())) return std::nullopt;
    return units[static_cast<size_t>(row)];
}

} // namespace

const std::vector<std::string> kAiIntegrationTexts = {"50ms(60Hz)", "60ms(50Hz)"};
const CodeTable kAiIntegrationDigits = {"0", "8"};
const std::vector<std::string> kAiFormatTexts = {"Engineer Unit", "Ohms"};
const CodeTable kAiFormatDigits = {"0", "3"};

const std::vector<std::string> kSpeedRangeTexts = {"+/-10V",   "0~10V",   "+/-5V",  "0~5V",
                                                   "+/-2.5V",  "0~2.5V",  "+/-1V",  "0~1V",
                                                   "+/-500mV", "0~500mV", "0~20mA", "4~20mA"};
const std::vector<std::string> kSpeedFormatTexts = {"Engineer Unit", "Two's Complement"};
const CodeTable kSpeedFormatReadDigits = {"0", "2"};
const CodeTable kSpeedFormatWriteCodes = {"00", "02"};

const std::vector<std::string> kAlarmTypeTexts = {"Momentary", "Latch", "Disable"};
const CodeTable kAlarmTypeSetCodes = {"M", "L", "ED"};
const CodeTable kAlarmTypeReadLetters = {"M", "L", "D"};

const SAiSlotModel* AiSlotModel(const std::string& model)
{
    for (const SAiSlotModel& entry : kModels)
        if (ModelHas(model, entry.pszModel)) return &entry;
    return nullptr;
}

int AiRangeRowOfReply(const SAiSlotModel& model, const std::string& reply)
{
    std::string code = Mid(reply, kCodeAt, 2);
    if (code.size() < 2) return -1;
    const CodeTable& codes = *model.pRangeCodes;
    for (size_t row = 0; row < codes.size(); ++row) {
        bool match = model.nCodeChars == 2 ? codes[row] == code : codes[row][1] == code[1];
        if (match) return static_cast<int>(row);
    }
    return -1;
}

std::optional<std::string> AiUnit(const SAiSlotModel& model, int rangeRow, int formatRow)
{
    int row = model.bFormat ? formatRow : rangeRow;
    if (row < 0 && model.pszUnitWithoutRow) return model.pszUnitWithoutRow;
    return UnitOfRow(*model.pUnits, row);
}

std::optional<std::string> AiConfigurationBody(const SAiSlotModel& model, int rangeRow,
                                               int integrationRow, int formatRow)
{
    std::string range = CodeOfRow(*model.pRangeCodes, rangeRow);
    std::string integration = CodeOfRow(kAiIntegrationDigits, integrationRow);
    std::string format = model.bFormat ? CodeOfRow(kAiFormatDigits, formatRow) : "0";
    if (range.empty() || integration.empty() || format.empty()) return std::nullopt;
    return "A" + range + integration + format;
}

std::string SpeedUnit(int rangeRow)
{
    return rangeRow >= 0 && rangeRow <= 7 ? "V" : "mV";
}

bool IsAlarmLimit(const std::string& text)
{
    return IsDecimalNumber(text);
}

bool IsSlotValue(const std::string& text)
{
    return text.size() <= kSlotValueMaxChars && IsDecimalNumber(text) &&
           text.find('.') != std::string::npos;
}

bool IsSlotReading(const std::string& text)
{
    return IsSlotValue(text) || (!text.empty() && text.size() <= kSlotValueMaxChars &&
                                 std::ranges::all_of(text, IsUpperHexDigit));
}
