// The lists of the RTD and thermistor Modbus RTU dialogs and the scaling of an input register by
// each row: the module ranges of the three- and six-channel RTD dialogs, and the channel types of
// the six-channel RTD and thermistor dialogs. No Qt. Defined in the header, so the templates built
// at start-up may use them.
#pragma once

#include "RawScaling.h"
#include "SettingRequest.h"

// The Range rows of the RTD dialogs (one range for the module).
inline const SRangeList kRtdModbusRanges = {
    {"Pt100a=0.00385 -100-100C", "Pt100a=0.00385 0-100C", "Pt100a=0.00385 0-200C",
     "Pt100a=0.00385 0-600C", "Pt100a=0.003916 -100-100C", "Pt100a=0.003916 0-100C",
     "Pt100a=0.003916 0-200C", "Pt100a=0.003916 0-600C", "Cu100 -50-150C", "Cu50 -50-150C",
     "BA1 -200-650C", "BA2 -200-650C", "G53 -50-150C"},
    {"20", "21", "22", "23", "24", "25", "26", "27", "2B", "2C", "2D", "2E", "2F"},
};
inline const RawScaleTable kRtdModbusRangeScales = {
    {200, -100}, {100, 0},   {200, 0},   {600, 0},    {200, -100}, {100, 0},   {200, 0},
    {600, 0},    {200, -50}, {200, -50}, {850, -200}, {850, -200}, {200, -50},
};

// The type lists of the six-channel RTD dialog: the code of row r is "2" and r as a hex digit.
inline const SRangeList kSixRtdTypes = {
    {"PT100(IEC)  -50℃ to 150℃", "PT100(IEC)     0℃ to 100℃", "PT100(IEC)     0℃ to 200℃",
     "PT100(IEC)     0℃ to 400℃", "PT100(IEC)-200℃ to 200℃", "PT100(JIS)   -50℃ to 150℃",
     "PT100(JIS)      0℃ to 100℃", "PT100(JIS)      0℃ to 200℃", "PT100(JIS)      0℃ to 400℃",
     "PT100(JIS) -200℃ to 200℃", "PT1000        -40℃ to 160℃", "BALCO 500  -30℃ to 120℃",
     "Ni 604          -80℃ to 100℃", "Ni 604             0℃ to 100℃"},
    {"20", "21", "22", "23", "24", "25", "26", "27", "28", "29", "2A", "2B", "2C", "2D"},
};
inline const RawScaleTable kSixRtdTypeScales = {
    {200, -50}, {100, 0}, {200, 0},    {400, 0},   {400, -200}, {200, -50}, {100, 0},
    {200, 0},   {400, 0}, {400, -200}, {200, -40}, {150, -30},  {180, -80}, {100, 0},
};

// The type lists of the six-channel thermistor dialog.
inline const SRangeList kThermistorTypes = {
    {"Thermi.    3K  0℃ to 100℃", "Thermi.  10K  0℃ to 100℃"},
    {"30", "31"},
};
inline const RawScaleTable kThermistorTypeScales = {{100, 0}, {100, 0}};
