// The input types of the thermocouple and universal-input modules with one type per channel, in
// the order of their dialogs' type lists. No Qt.
#pragma once

#include "ModuleCodes.h"

// The eight-channel thermocouple and current module (6386P): nine types.
const SCodedList& Tc6386PTypes();
// The eight-channel universal-input module (6381): fifteen types.
const SCodedList& UniversalTypes();
