// The input types of the thermocouple and universal-input modules with one type per channel, in
// the order of their dialogs' type lists. Reached through functions, so the templates built at
// start-up may use them. No Qt.
#pragma once

#include "ModuleCodes.h"

// The types of the thermocouple modules with a type per channel, by row of every list of them:
// "06" +/-20 mA, "07" 4-20 mA, "0E" to "14" J, K, T, E, R, S and B. Each list has texts of its own.
const CodeTable& TcTypeCodes();

// The eight-channel thermocouple and current module (6386P): nine types.
const SCodedList& Tc6386PTypes();
// The eight-channel universal-input module (6381): fifteen types.
const SCodedList& UniversalTypes();
