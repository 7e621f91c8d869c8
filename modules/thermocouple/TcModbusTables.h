// The lists of the thermocouple Modbus RTU dialogs: the module ranges of the eight-channel dialog
// and the channel types of the per-channel-type dialog, with the scaling of each type's input
// register. No Qt. Defined in the header, so the templates built at start-up may use them.
#pragma once

#include "ModuleCodes.h"
#include "RawScaling.h"

// The Range rows of the eight-channel dialog and the Script codes that select them ("18" selects
// none: the list has no row for it).
inline const SCodedList kTcModbusRanges = {
    {"-15 to +15mV", "-50 to +50mV", "-100 to +100mV", "-500 to +500mV", "-1 to +1V",
     "-2.5 to +2.5V", "-20 to +20mA", "T/C J-Type", "T/C K-Type", "T/C T-Type", "T/C E-Type",
     "T/C R-Type", "T/C S-Type", "T/C B-Type", "T/C N-Type", "T/C C-Type", "T/C W-Type"},
    {"00", "01", "02", "03", "04", "05", "06", "0E", "0F", "10", "11", "12", "13", "14", "15", "16",
     "17"},
};

// The type lists of the per-channel-type dialog ("Type K " ends in a blank).
inline const SCodedList kTcModbusTypes = {
    {"+/-20mA", "+4~20mA", "Type J", "Type K ", "Type T", "Type E", "Type R", "Type S", "Type B"},
    {"06", "07", "0E", "0F", "10", "11", "12", "13", "14"},
};
inline const RawScaleTable kTcModbusTypeScales = {
    {40, -20},   // +/-20 mA
    {16, 4},     // 4 to 20 mA
    {760, 0},    // J
    {1370, 0},   // K
    {500, -100}, // T
    {1000, 0},   // E (dividing first gives the same values)
    {1250, 500}, // R
    {1250, 500}, // S
    {1300, 500}, // B
};
