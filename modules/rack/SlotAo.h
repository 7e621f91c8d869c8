// The analog output slot module 1359 and its trims as the dialogs show them: output ranges, slew
// rate lists, the output value text and its check, and the two trim variants. No window code here.
#pragma once

#include "ModuleCodes.h"

#include <string>
#include <vector>

// An output range by its range digit ("0", "1", "2" = rows of the range combos).
struct SAoSlotRange {
    const char* pszDigit;
    int nMin; // slider range
    int nMax;
    const char* pszUnit;
};
// The range of a digit, nullptr for any other text.
const SAoSlotRange* AoRangeOfDigit(const std::string& digit);
extern const CodeTable kAoRangeDigits;

// Slew codes by row ("00", "04" ... "2C") and the two lists of combo 1314.
extern const CodeTable kAoSlewCodes;
// The list for a range digit: volts for "2", currents otherwise.
const std::vector<std::string>& AoSlewRows(const std::string& rangeDigit);

// The leading decimal number of a text (sign, digits, point, digits), 0 when there is none.
float LeadingNumber(const std::string& text);
// The output value text: "%02.3f", with one "0" in front of a result shorter than six characters
// (4 gives "04.000", 12.5 gives "12.500").
std::string AoValueText(float value);
// The slider's text for its position ("%2.3f").
std::string AoSliderText(float position);
// Whether value may go out on the range row (-1: no row, no check).
bool AoValueFits(int rangeRow, float value);

// The 4 mA and 20 mA trim dialogs differ only in these.
struct STrimVariant {
    unsigned nTemplate;
    const char* pszCaption;
    const char* pszGroup;
    const char* pszNote;
    const char* pszSaveBody;
    const char* pszSaved;
    const char* pszFailed;
};
extern const STrimVariant kTrim4mA;
extern const STrimVariant kTrim20mA;
// The step bodies of "<<", "<", ">", ">>" (8-bit two's complement 10, 1, -1, -10 after "3").
extern const char* const kTrimStepBodies[4];
