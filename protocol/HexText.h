// Modbus RTU requests written as hex text, and replies shown as hex text; and the one way the
// program exchanges a Modbus RTU frame.
#pragma once

#include "wintypes.h"

#include <string>
#include <vector>

// Reads a request text: blanks anywhere are dropped, then each group of two characters (the last
// possibly one) is read as a base-16 number like strtol (a group without a leading digit gives 0)
// and its low byte is kept.
std::vector<BYTE> HexTextToBytes(const std::string& text);
// " 01 03 02": a blank and two upper-case hex digits per byte.
std::string BytesToHexText(const BYTE* bytes, size_t count);
std::string BytesToHexText(const std::vector<BYTE>& bytes);

// Sends the request with its CRC appended and collects the reply (CRC included, unchecked).
// False when no reply came or the link refused the request; reply is then empty.
bool ExchangeRtu(BYTE port, const std::vector<BYTE>& request, WORD timeoutMs,
                 std::vector<BYTE>& reply);
