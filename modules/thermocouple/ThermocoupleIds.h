// Template and control ids of the thermocouple and universal-input families' dialogs.
#pragma once

#include "PerChannelIds.h"

// The per-channel-type templates; their controls are those of PerChannelIds.h.
enum : unsigned {
    IDD_M6386P = 200,
    IDD_M6381P = 205,
};
