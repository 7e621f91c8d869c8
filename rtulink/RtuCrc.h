// CRC-16/MODBUS (reflected polynomial 0xA001, initial value 0xFFFF, no final inversion), in the
// two-table form of Modbus serial-line masters: one pair of table lookups per byte.
#pragma once

#include "wintypes.h"

#include <array>
#include <cstddef>

struct RtuCrcTables {
    std::array<BYTE, 256> m_first;  // feeds the state byte that is sent first (the CRC's low byte)
    std::array<BYTE, 256> m_second; // feeds the byte sent second
};

constexpr RtuCrcTables MakeRtuCrcTables()
{
    RtuCrcTables tables{};
    for (unsigned index = 0; index < 256; ++index) {
        unsigned crc = index;
        for (int bit = 0; bit < 8; ++bit) crc = (crc & 1) ? (crc >> 1) ^ 0xA001 : crc >> 1;
        tables.m_first[index] = static_cast<BYTE>(crc & 0xFF);
        tables.m_second[index] = static_cast<BYTE>(crc >> 8);
    }
    return tables;
}

inline constexpr RtuCrcTables kRtuCrcTables = MakeRtuCrcTables();

// The two CRC bytes in the order they go on the line: low byte first.
struct RtuCrc {
    BYTE m_nLow;
    BYTE m_nHigh;
};

constexpr RtuCrc CalcRtuCrc(const BYTE* data, size_t count)
{
    BYTE first = 0xFF;
    BYTE second = 0xFF;
    for (size_t i = 0; i < count; ++i) {
        BYTE index = first ^ data[i];
        first = second ^ kRtuCrcTables.m_first[index];
        second = kRtuCrcTables.m_second[index];
    }
    return {first, second};
}
