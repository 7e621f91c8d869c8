// The rows of a per-channel type list as its template lists them, with the code the module reports
// ("$AA8Ci") and takes ("$AA7CiRrr") for each row. Code and row match exactly, case included: a
// code no row stands for selects none. No Qt.
#pragma once

#include "ModuleCodes.h"

#include <string>
#include <vector>

struct SChannelTypeTable {
    std::vector<std::string> rows; // the list of channel 0
    CodeTable codes;               // by row
    // The lists of the other channels where their texts differ from channel 0's (same codes).
    std::vector<std::string> otherRows;

    const std::vector<std::string>& RowsOf(int channel) const
    {
        return channel > 0 && !otherRows.empty() ? otherRows : rows;
    }
};
