// How the input dialogs cut a reply's data into channel fields. No Qt: shared by every input
// family.
#pragma once

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

// What a reading field opens with.
enum class EReadingSign {
    Signed,   // a "+" or "-" (engineering units, percent of range)
    Unsigned, // no sign anywhere (hex, resistance)
    AsData,   // signed when the data opens with a sign, else unsigned
};
// The sign rule of readings in a data format, by bits 0 and 1 of the Format digit: engineering
// units and percent of range are signed, hex and ohms are not.
EReadingSign SignOfFormat(const std::string& formatDigit);
// count readings of one width that together make the data, each of the sign rule's shape with one
// point at most; nothing for data of any other shape (cut short, padded, of another request).
std::optional<std::vector<std::string>> ReadingsOfShape(const std::string& data, int count,
                                                        EReadingSign sign);

// A decimal number as the modules write readings and limits: an optional sign, then digits with
// at most one point ("+80", "-20.5", "12."); at least one digit.
bool IsDecimalNumber(const std::string& text);
