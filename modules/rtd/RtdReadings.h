// The readings of one poll of the ASCII RTD dialogs, one field per channel. No Qt.
#pragma once

#include <string>
#include <vector>

// The channels' fields of a reply without its lead character: input values cut at their signs
// (the last channel's field runs to the end of the data) or, without a leading sign, at equal
// widths; resistances always at equal widths. An unanswered poll gives "ERROR!!" in every field.
std::vector<std::string> RtdReadingFields(const std::string& data, int channels, int read,
                                          bool answered);
