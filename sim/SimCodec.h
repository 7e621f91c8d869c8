// Framing helpers shared by the simulated modules, the bus file reader and the links: the ASCII
// checksum, CRC-16/MODBUS, hex digits and the baud-code table. Byte strings are std::string.
#pragma once

#include "wintypes.h"

#include <optional>
#include <string>
#include <string_view>

// Two upper-case hex digits: the sum of the character codes modulo 256.
std::string SimAsciiChecksum(std::string_view text);
// CRC-16/MODBUS (reflected 0xA001, initial 0xFFFF).
WORD SimCrc16(std::string_view bytes);
// The frame with its CRC appended, low byte first.
std::string SimAppendCrc(std::string frame);
// True when the frame is at least four bytes long and ends in its own CRC.
bool SimCrcValid(std::string_view frame);

// Two upper-case hex digits of the low byte of value.
std::string SimHexPair(unsigned value);
// The low 16 bits of value as four upper-case hex digits ("00A1").
std::string SimHex4(unsigned value);
// "01 03 00 00": each byte as two upper-case hex digits, separated by blanks.
std::string SimHexBytes(std::string_view bytes);
// Bytes from hex text with or without blanks; nullopt when the text is not hex pairs.
std::optional<std::string> SimBytesFromHex(std::string_view hex);
// Value of upper-case hex digits ("0".."9", "A".."F"); nullopt for anything else or an empty text.
std::optional<unsigned> SimParseHex(std::string_view digits);

// A decimal number written as the whole text ("+05.000"); nullopt for anything else.
std::optional<double> SimParseNumber(std::string_view text);

// Baud code "03".."0A" of a rate of the baud table, 0 when the rate is not in it.
BYTE SimBaudCode(DWORD baud);
// Rate of a baud code, 0 when the code is not in the table.
DWORD SimBaudOfCode(BYTE code);
