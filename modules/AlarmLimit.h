// Values as the thermocouple and single-channel analog-input modules write them in engineering
// units: alarm limits, a single channel's reading, the cold-junction temperature. A limit is
// checked before it becomes part of a request, so a text the module cannot take never goes out.
#pragma once

#include "Dialog.h"

#include <optional>
#include <string>

// A value is as wide as the modules show it ("+0500.0").
inline constexpr size_t kFixedValueWidth = 7;

// A sign, then digits with at most one point, seven characters in all.
bool IsFixedWidthValue(const std::string& text);

// The limit typed into the dialog's edit; for any other text a "Note" box tells the form, and
// nothing.
std::optional<std::string> CheckedAlarmLimit(CDialog& dlg, int nEdit);
