// The millivolt, volt, current and thermocouple ranges of the thermocouple modules: the rows of
// the dialogs' Range list as the templates list them and the module codes behind them. Reached
// through functions, so the templates built at start-up may use them. No Qt.
#pragma once

#include "ModuleCodes.h"

// Twenty rows; rows 18 and 19 are empty and carry no code.
const SCodedList& MvTcRanges();

// The Range row a module's code selects, -1 for none; codes are matched exactly (case counts). A
// per-channel-type model (4386A) also reports "00" (row 7, J type), "07" (row 17, 4-20 mA), "0f"
// (row 8, K type) and "FF" (row 18: one type per channel).
int MvTcRangeRow(const std::string& code, bool perChannelModel);
// The CH Type list of the per-channel-type model: one type per channel (TcTypeCodes).
const SCodedList& TcChannelTypes();

// The range code a per-channel-type model is always given: one type per channel.
inline constexpr const char* kPerChannelRangeCode = "FF";
