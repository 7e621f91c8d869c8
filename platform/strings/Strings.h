// Text helpers with the original string class's forgiving behaviour: positions and counts are
// clamped, so a short or empty reply never throws or reads past its end. Formatting always uses
// the C locale, so "%f" writes a decimal point whatever the user's locale says.
#pragma once

#include <string>

std::string Format(const char* format, ...) __attribute__((format(printf, 1, 2)));

// Characters from first to the end, or count characters from first; clamped to the text.
std::string Mid(const std::string& text, int first);
std::string Mid(const std::string& text, int first, int count);
std::string Left(const std::string& text, int count);
std::string Right(const std::string& text, int count);

// Position of what in text at or after start, -1 when absent.
int Find(const std::string& text, const std::string& what, int start = 0);
int Find(const std::string& text, char what, int start = 0);
// text without any of the character c.
std::string Remove(const std::string& text, char c);
std::string MakeUpper(std::string text);
std::string Trim(const std::string& text);
// Character at position i, or NUL past the end (as the original string class reads its end).
char CharAt(const std::string& text, int i);

// strtol/strtod on the whole text, C locale; garbage reads as 0 like the C functions.
long StrToLong(const std::string& text, int base);
double StrToDouble(const std::string& text);
