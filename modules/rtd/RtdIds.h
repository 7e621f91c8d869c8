// Template and control ids of the RTD and thermistor families' dialogs.
#pragma once

#include "PerChannelIds.h"

// The six-channel per-channel-type templates; their controls are those of PerChannelIds.h.
enum : unsigned {
    IDD_M6382P = 207,
    IDD_M63828P = 211,
    IDD_M6307P = 215,
};
