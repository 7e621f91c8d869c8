// The Modbus RTU probes with which the search asks a module for its model number: a read of two
// holding registers whose first one holds the number.
#pragma once

#include "wintypes.h"

#include <optional>
#include <string>
#include <vector>

inline constexpr WORD kProbeRegisterFirst = 0x2710;
inline constexpr WORD kProbeRegisterSecond = 0x00D2;

// The request (without CRC): address, 03, the register, two registers.
std::vector<BYTE> ModelProbeRequest(BYTE address, WORD reg);
// The first register of a well-formed reply to that request: the probed address, function 03,
// byte count 4 and a valid CRC in its first nine bytes, whatever follows them. Nothing for anything
// else (an exception reply, line noise, the request echoed by an adapter).
std::optional<WORD> ModelProbeWord(const std::vector<BYTE>& reply, BYTE address);
// The model name: the word's nibbles from the highest, the first three in decimal and the last as
// an upper-case hex digit (0x6384 gives "6384", 0xA123 gives "10123").
std::string ModelProbeName(WORD word);
