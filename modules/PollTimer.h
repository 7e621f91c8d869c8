// The window timer that drives the polling of every module dialog and rack page.
#pragma once

#include "wintypes.h"

inline constexpr UINT_PTR kPollTimer = 1000;
