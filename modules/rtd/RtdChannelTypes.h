// The input types of the six-channel RTD and thermistor modules with one type per channel, and the
// ranges of the six-channel RTD module with one range per channel, in the order of their dialogs'
// lists. No Qt.
#pragma once

#include "ChannelTypeTable.h"

// The six-channel RTD module (6382): fourteen types, "20" to "2D".
const SChannelTypeTable& Rtd6382Types();
// The six-channel thermistor module (6382T): two types, "30" and "31".
const SChannelTypeTable& Thermistor6382TTypes();
// The six-channel RTD module with a range per channel (6307A): thirteen ranges.
const SChannelTypeTable& Rtd6307Ranges();
