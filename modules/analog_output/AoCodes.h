// What the analog-output dialogs know of their modules without any window: the output ranges,
// the slew-rate lists, the data-format byte, and output values as the operator sees them and as
// the modules take them.
#pragma once

#include "ModuleCodes.h"

#include <array>
#include <optional>
#include <string>

// The range codes of the output modules by row of their range lists (0 to 20 mA, 4 to 20 mA, the
// voltage range), and the Format digit by row of their Data Format lists.
extern const CodeTable kAoRangeCodes;
extern const CodeTable kAoFormatCodes;

// One output range: the row of the range lists (its code is kAoRangeCodes' of that row), the scale
// and unit labels and the slider range in thousandths of the unit (microamperes or millivolts).
struct SAoRange {
    int nRow;
    std::array<const char*, 3> labels; // low, mid, high
    const char* pszUnit;
    int nSliderMin;
    int nSliderMax;
    int nOutputKind; // 0 current, 1 voltage
};

inline constexpr int kAoCurrent = 0;
inline constexpr int kAoVoltage = 1;
inline constexpr int kAoPageSize = 1000;

extern const std::array<SAoRange, 3> AoRangeTable;
// The range of a code of kAoRangeCodes, or null: any other code leaves a channel as it was.
const SAoRange* AoRangeOfCode(const std::string& code);
// The range of a row of the range lists, or null for no row.
const SAoRange* AoRangeOfRow(int row);

// The sixteen slew-rate rows of the voltage and current lists; the row is the slew index.
extern const std::array<const char*, 16> kAoSlewVoltageRows;
extern const std::array<const char*, 16> kAoSlewCurrentRows;

// The model kinds, sorted from the model name.
enum class EAoKind { One, Two, Four };
// "4358"/"6358" one channel, "4355"/"6355" two, else ("4359"/"6359") four.
EAoKind AoKindOfModel(const std::string& name);
int AoChannelCount(EAoKind kind);

// The data-format byte split as the block stores it (Check: the high hex digit, Format: the low
// one): the slew index (bits 2-5) and the data format (bits 0-1).
struct SAoFormat {
    int nSlew;
    int nDataFormat;
};
SAoFormat AoFormatOfBlock(const std::string& check, const std::string& format);
// The two digits of the new data-format byte. The high digit is the old one with the checksum bit
// set or cleared, keeping only bits 2-3 (bit 3 is the carried bit 7), or the old one unchanged
// when the checksum is not chosen here (nothing: "CRC"); the slew index fills bits 2-5 of the
// byte and the data format bits 0-1.
struct SAoFormatDigits {
    std::string strHigh;
    std::string strLow;
};
SAoFormatDigits AoFormatDigits(const std::string& oldCheck, std::optional<bool> checksumOn,
                               int slew, int dataFormat);

// A position in thousandths as the dialogs write it: two integer digits (after the sign when
// negative) and three decimals, cut, not rounded ("05.000", "12.345", "-05.000").
std::string FormatOutputValue(int thousandths);
// The same led by its sign, as the four-channel modules take and show a value ("+05.000",
// "-10.000").
std::string SignedOutputValue(int thousandths);

// A typed output: a decimal number with an optional sign and at most three decimals, between
// min and max thousandths. The value in thousandths, or nothing when the text is anything else.
std::optional<int> ParseOutputValue(const std::string& text, int min, int max);
// A raw output code: one to four hex digits; nothing for anything else.
std::optional<int> ParseRawOutputCode(const std::string& text);
// A value the module reported, as a slider position in thousandths; a text that is no number
// gives 0.
int OutputPositionOfText(const std::string& text);
// The range a typed output must fall in, for the message that refuses one ("4" to "20").
std::string OutputLimitText(int thousandths);

// The value text a read-back gives on the two-channel Modbus kind: the register read as
// thousandths with a sign ("+05.000"); empty when the text is no hex number.
std::string AoRegisterValueText(const std::string& hexDigits);
