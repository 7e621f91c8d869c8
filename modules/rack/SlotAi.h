// The analog slot modules as their dialogs show them: the input ranges of the 1300 (RTD), 1384
// (voltage/current) and 1386 (thermocouple) with their codes and units, the 1384H's per-channel
// ranges and data format, the alarm type codes, and the limit text a module takes. No window
// code here.
#pragma once

#include "ModuleCodes.h"

#include <optional>
#include <string>
#include <vector>

// How the dialog shows the channel rows past a model's channels: greyed with their lamps hidden
// (the 1300), or not at all (the 1386).
enum class ESpareRows { Disabled, Hidden };

// One analog-input model of the shared analog-input dialog.
struct SAiSlotModel {
    const char* pszModel;
    int nChannels;
    const std::vector<std::string>* pRangeTexts;
    const CodeTable* pRangeCodes;
    // Characters of the code a reply is matched on: the second only (1), or both (2).
    int nCodeChars;
    // The 1300 shows the data format in its units and writes the chosen digit; the others write 0.
    bool bFormat;
    // The channels' unit by range row, or by format row where bFormat; rows past the end keep
    // what the unit edits show.
    const std::vector<std::string>* pUnits;
    // The unit while no row is chosen; null: the unit edits keep what they show.
    const char* pszUnitWithoutRow;
    ESpareRows eSpareRows;
    // The one data format row shows from the start; otherwise only at address 00.
    bool bFixedFormatShown;
};

// The model a slot's model text names (searched 1300, 1386, 1384), or nullptr.
const SAiSlotModel* AiSlotModel(const std::string& model);

extern const std::vector<std::string> kAiIntegrationTexts; // "50ms(60Hz)", "60ms(50Hz)"
extern const CodeTable kAiIntegrationDigits;               // "0", "8"
extern const std::vector<std::string> kAiFormatTexts;      // "Engineer Unit", "Ohms"
extern const CodeTable kAiFormatDigits;                    // "0", "3"

// The range row a configuration reply ("!AA" + code + integration + format) names; -1 when its
// code is in no row or the reply is too short to hold it.
int AiRangeRowOfReply(const SAiSlotModel& model, const std::string& reply);
// The unit of the channels for the selected range and format rows (-1: none selected); nothing
// where the unit edits keep what they show.
std::optional<std::string> AiUnit(const SAiSlotModel& model, int rangeRow, int formatRow);
// The configuration body "A" + range code + integration digit + format digit; nothing while a
// list the body needs has no row selected.
std::optional<std::string> AiConfigurationBody(const SAiSlotModel& model, int rangeRow,
                                               int integrationRow, int formatRow);

// The 1384H: twelve range rows whose row number, as one hex digit, is the range code.
extern const std::vector<std::string> kSpeedRangeTexts;
// "V" for rows 0 to 7, "mV" for any other row or none (the mA rows read "mV" as the unit has it).
std::string SpeedUnit(int rangeRow);
extern const std::vector<std::string> kSpeedFormatTexts; // "Engineer Unit", "Two's Complement"
extern const CodeTable kSpeedFormatReadDigits;           // "0", "2"
extern const CodeTable kSpeedFormatWriteCodes;           // "00", "02"

// Alarm types: the rows "Momentary", "Latch", "Disable"; the code each sets, the letter a type
// read answers.
extern const std::vector<std::string> kAlarmTypeTexts;
extern const CodeTable kAlarmTypeSetCodes;
extern const CodeTable kAlarmTypeReadLetters;
inline constexpr int kAlarmDisableRow = 2;

// A limit the module takes: a signed decimal number ("+80", "-20.5", "12.").
bool IsAlarmLimit(const std::string& text);
// A value as the analog slot modules write it: a decimal number with its point, signed or not
// ("+012.34", "04.000"), of kSlotValueMaxChars at most.
inline constexpr size_t kSlotValueMaxChars = 10;
bool IsSlotValue(const std::string& text);
// A channel's reading after ">": a value, or hex digits (two's complement).
bool IsSlotReading(const std::string& text);
