// The two range lists of the RTD-input modules: the thirteen ranges of the 6308, 6300 and 6307
// kinds and the six ranges of the 6309 and "A" kinds. One code means another range in each. No Qt.
#pragma once

#include "SettingRequest.h"

// "20" to "27": Pt100 in two alphas and four spans; "2B" to "2F": Cu100, Cu50, BA1, BA2, G53.
extern const SRangeList kRtdRanges13;
// "20" to "25": Pt100, Cu100, Cu50, BA1, BA2, G53.
extern const SRangeList kRtdRanges6;
// The thirteen ranges of the three-channel 6380 and 4380 as their dialog lists them: the codes of
// kRtdRanges13 with shorter texts.
extern const SRangeList kRtdRanges3Ch;
