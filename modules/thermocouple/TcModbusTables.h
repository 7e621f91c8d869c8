// The lists of the thermocouple Modbus RTU dialogs: the module ranges of the eight-channel dialog
// and the channel types of the per-channel-type dialog, with the scaling of each type's input
// register. Reached through functions, so the templates built at start-up may use them. No Qt.
#pragma once

#include "MvTcRanges.h"
#include "RawScaling.h"
#include "TcChannelTypes.h"

// The Range rows of the eight-channel dialog and the Script codes that select them: the ASCII
// dialogs' up to the W type ("18" selects none: the list has no row for it).
inline const SCodedList& TcModbusRanges()
{
    static const SCodedList list = [] {
        constexpr std::ptrdiff_t kRows = 17;
        const SCodedList& all = MvTcRanges();
        return SCodedList{{all.rows.begin(), all.rows.begin() + kRows},
                          {all.codes.begin(), all.codes.begin() + kRows}};
    }();
    return list;
}

// The type lists of the per-channel-type dialog ("Type K " ends in a blank).
inline const SCodedList& TcModbusTypes()
{
    static const SCodedList list = {
        {"+/-20mA", "+4~20mA", "Type J", "Type K ", "Type T", "Type E", "Type R", "Type S",
         "Type B"},
        TcTypeCodes(),
    };
    return list;
}

// By row of those type lists.
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
