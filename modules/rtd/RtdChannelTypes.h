// The input types of the six-channel RTD and thermistor modules with one type per channel, and the
// ranges of the six-channel RTD module with one range per channel, in the order of their dialogs'
// lists (ASCII and Modbus RTU). Reached through functions, so the templates built at start-up may
// use them. No Qt.
#pragma once

#include "ModuleCodes.h"

// The six-channel RTD module (6382): fourteen types, "20" to "2D", as its ASCII dialog lists them
// (the lists of channels 1 to 5 differ from channel 0's in blanks).
const SCodedList& Rtd6382Types();
// The same types as its Modbus RTU dialog lists them: every channel as channels 1 to 5 above.
const SCodedList& Rtd6382ModbusTypes();
// The six-channel thermistor module (6382T): two types, "30" and "31".
const SCodedList& Thermistor6382TTypes();
// The six-channel RTD module with a range per channel (6307A): thirteen ranges, also the Range list
// of the RTD dialogs over Modbus RTU.
const SCodedList& Rtd6307Ranges();
