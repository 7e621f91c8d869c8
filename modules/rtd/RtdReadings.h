// The readings of one poll of the ASCII RTD dialogs, one field per channel. No Qt.
#pragma once

#include <optional>
#include <string>
#include <vector>

// The channels' fields of a poll's reply data (after ">", without checksum digits; none when the
// reply has another lead or none came), read (ERtdRead) in the data format formatDigit: one
// reading a channel, in the form of the format (ReadingsOfShape), a single channel's too.
// Resistances carry no sign; input values open with one where the format is signed, so a late
// reply of the one poll is never shown as the other's. A reply of any other shape is a missed
// exchange: "ERROR!!" in every field, as when no reply came.
std::vector<std::string> RtdReadingFields(const std::optional<std::string>& data, int channels,
                                          int read, const std::string& formatDigit);
