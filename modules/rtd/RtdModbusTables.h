// The scaling of an input register by each row of the lists of the RTD and thermistor Modbus RTU
// dialogs (the lists are in RtdChannelTypes.h). No Qt.
#pragma once

#include "RawScaling.h"
#include "RtdChannelTypes.h"

// By row of the Range list of the RTD dialogs (one range for the module): Rtd6307Ranges.
inline const RawScaleTable kRtdModbusRangeScales = {
    {200, -100}, {100, 0},   {200, 0},   {600, 0},    {200, -100}, {100, 0},   {200, 0},
    {600, 0},    {200, -50}, {200, -50}, {850, -200}, {850, -200}, {200, -50},
};

// By row of the type lists of the six-channel RTD dialog: Rtd6382ModbusTypes.
inline const RawScaleTable kSixRtdTypeScales = {
    {200, -50}, {100, 0}, {200, 0},    {400, 0},   {400, -200}, {200, -50}, {100, 0},
    {200, 0},   {400, 0}, {400, -200}, {200, -40}, {150, -30},  {180, -80}, {100, 0},
};

// By row of the type lists of the six-channel thermistor dialog: Thermistor6382TTypes.
inline const RawScaleTable kThermistorTypeScales = {{100, 0}, {100, 0}};
