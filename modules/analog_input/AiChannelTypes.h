// The input types of the analog-input modules with one type per channel, in the order of the
// dialogs' type lists, and the range each stands for as a Modbus input register scales it.
#pragma once

#include "ModuleCodes.h"
#include "RawScaling.h"

inline const CodeTable kAiTypeCodes = {"07", "08", "09", "0A", "0B", "0C", "0D"};
// The Input Range rows of the Modbus dialogs, "-10 to +10V" to "-20 to +20mA": the same codes.
inline const CodeTable kAiRangeCodes = {"08", "09", "0A", "0B", "0C", "0D"};
inline const RawScaleTable kAiTypeScales = {
    {16, 4},      // "+4~20mA"
    {20, -10},    // "+/-10V"
    {10, -5},     // "+/-5V"
    {2, -1},      // "+/-1V"
    {1000, -500}, // "+/-500mV"
    {300, -150},  // "+/-150mV"
    {40, -20},    // "+/-20mA"
};
