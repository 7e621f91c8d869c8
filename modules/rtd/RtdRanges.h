// The range lists of the RTD-input modules: the thirteen ranges of the 6308, 6300 and 6307 kinds
// and the six ranges of the 6309 and "A" kinds. One code means another range in each. Reached
// through functions, so the templates built at start-up may use them. No Qt.
#pragma once

#include "ModuleCodes.h"

// "20" to "27": Pt100 in two alphas and four spans; "2B" to "2F": Cu100, Cu50, BA1, BA2, G53.
// "28" to "2A" stand for none. Each list of the thirteen ranges has texts of its own.
const CodeTable& RtdRangeCodes();

// The thirteen ranges as the RTD dialog lists them.
const SCodedList& RtdRanges13();
// "20" to "25": Pt100, Cu100, Cu50, BA1, BA2, G53.
const SCodedList& RtdRanges6();
// The thirteen ranges of the three-channel 6380 and 4380 as their dialog lists them.
const SCodedList& RtdRanges3Ch();
