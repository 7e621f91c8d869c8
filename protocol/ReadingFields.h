// How the input dialogs cut a reply's data into channel fields. No Qt: shared by every input
// family.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

// maxFields fields of sign-led data ("+025.50+001.25-010.00"): field k runs from the k-th "+" or
// "-" up to the next one, the last from its sign to the end (later signs stay inside it). A field
// the data has no sign for is empty.
std::vector<std::string> SplitAtSigns(const std::string& data, int maxFields);
// count fields of equal width (the data's length divided by count, rounded down), field k from
// position k times the width; all empty when the data is shorter than count.
std::vector<std::string> SplitEqualWidth(const std::string& data, int count);
// Sign-led data is cut at its signs (into maxSigns fields), any other at equal widths (into count
// fields); count fields either way.
std::vector<std::string> SplitReadings(const std::string& data, int count, int maxSigns);

// What the one value of a value reply of fixed width opens with (output values, slot readings).
enum class EReadingSign {
    Signed,   // a "+" or "-"
    Unsigned, // no sign anywhere (hex digits, or digits with a point)
    AsData,   // signed when the text opens with a sign, else unsigned
};
// A value of the sign rule: the sign where it has one, then digits (hex digits where unsigned)
// with one point at most.
bool IsValueOfSign(const std::string& text, EReadingSign sign);

// How an input module writes a reading in its data format.
enum class EReadingForm {
    Decimal,    // engineering units, percent of range: a sign, digits, a point, digits ("+01.234")
    Hex,        // two's complement: four hex digits ("0A1B")
    Resistance, // ohms: digits, a point, digits, and no sign ("0138.50")
    AsData,     // as the data is written: Decimal when it opens with a sign, Resistance when it
                // holds a point, else Hex
};
// The form of the readings of a data format, by bits 0 and 1 of the Format digit: engineering
// units and percent of range are decimal, then two's complement hex, then ohms.
EReadingForm FormOfFormat(const std::string& formatDigit);
// One reading of the form, in any width the form allows: four hex digits, or a number of eight
// digits at most (a conversion resolves no more; more is a reading run on into something else).
bool IsReading(const std::string& text, EReadingForm form);
// The count readings that make the data, each of the form: decimal readings each from its sign to
// the next, resistances of one width with the point at one place, hex readings four digits each.
// width, when not 0, is the width a dialog's format fixes for every decimal or resistance reading.
// Nothing for data of any other shape (cut short, padded, of another request or form).
std::optional<std::vector<std::string>> ReadingsOfShape(const std::string& data, int count,
                                                        EReadingForm form, size_t width = 0);

// The digital state of an "@AADI" reply after "!AA": the status digit, the outputs' two digits and
// the inputs' two, hex digits all, at least length of them (as far as a reader reads).
bool IsDioState(const std::string& data, size_t length);

// A decimal number as the modules write readings and limits: an optional sign, then digits with
// at most one point ("+80", "-20.5", "12."); at least one digit.
bool IsDecimalNumber(const std::string& text);
