// Framing of the modules' ASCII commands and reading of their hex fields: one implementation for
// every window that talks to a module.
#pragma once

#include "wintypes.h"

#include <string>

// Two upper-case hex digits of the sum of the text's character codes, modulo 256.
std::string AppendChecksum(const std::string& text);
// Whether a reply ends in two checksum digits that are the sum of what precedes them.
bool EndsInItsChecksum(const std::string& reply);
// Two upper-case hex digits of value (0 to 255).
std::string ByteToHexPair(int value);
// "0"-"9" give 0-9, "A"-"F" give 10-15; every other character (lower case too) gives 0xCC.
BYTE HexCharToValue(char c);
// Whether c is a hex digit as the modules write them ("0"-"9", "A"-"F").
inline bool IsUpperHexDigit(char c)
{
    return HexCharToValue(c) != 0xCC;
}
// One upper-case hex digit of value (0 to 15).
std::string ValueToHexChar(int value);

// A two-digit hex field of a reply at position i (missing characters read as 0xCC digits).
int HexPairAt(const std::string& reply, int i);

// lead + address (two hex digits) + body, with the checksum digits when checksum is on, and the
// carriage return that ends every command.
std::string AsciiCommand(char lead, const std::string& address, const std::string& body,
                         bool checksum);
// Appends the checksum digits (when on) and the carriage return to a command text.
std::string FrameAsciiCommand(const std::string& text, bool checksum);
// The text handed to the link: the framed command without its carriage return.
std::string WithoutCr(const std::string& framed);
