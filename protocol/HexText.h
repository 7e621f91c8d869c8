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
// Whether text is whole hex bytes: at least one, two hex digits each, blanks anywhere aside. Only
// such a text reads as the bytes it shows.
bool IsHexBytesText(const std::string& text);
// " 01 03 02": a blank and two upper-case hex digits per byte.
std::string BytesToHexText(const BYTE* bytes, size_t count);
std::string BytesToHexText(const std::vector<BYTE>& bytes);

// Whether reply (its CRC included) answers request (without its CRC): the slave and function the
// request names; for a read of bits (01, 02) or registers (03, 04) the byte count of what it asks
// for and that many data bytes; for a write (05, 06) the request echoed; and a CRC that fits. An
// exception reply, line noise or a frame cut short answers nothing.
bool RtuReplyAnswers(const std::vector<BYTE>& request, const std::vector<BYTE>& reply);
// The module's exception reply to request (its slave, the function with bit 7 set, a code and a
// CRC that fits): a refusal, not noise.
bool IsRtuException(const std::vector<BYTE>& request, const std::vector<BYTE>& reply);
// A read of bits or registers.
bool IsRtuRead(const std::vector<BYTE>& request);

// Sends the request with its CRC appended and collects the reply (CRC included, unchecked).
// False when no reply came or the link refused the request; reply is then empty.
bool ExchangeRtu(BYTE port, const std::vector<BYTE>& request, WORD timeoutMs,
                 std::vector<BYTE>& reply);
