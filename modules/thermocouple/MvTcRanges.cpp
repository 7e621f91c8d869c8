#include "MvTcRanges.h"

#include "TcChannelTypes.h"

#include <utility>

const SCodedList& MvTcRanges()
{
    static const SCodedList list = {
        {"-15 to +15mV",
         "-50 to +50mV",
         "-100 to +100mV",
         "-500 to +500mV",
         "-1 to +1V",
         "-2.5 to +2.5V",
         "-20 to +20mA",
         "T/C J-Type",
         "T/C K-Type",
         "T/C T-Type",
         "T/C E-Type",
         "T/C R-Type",
         "T/C S-Type",
         "T/C B-Type",
         "T/C N-Type",
         "T/C C-Type",
         "T/C W-Type",
         "+-4-20mA",
         "",
         ""},
        {"00", "01", "02", "03", "04", "05", "06", "0E", "0F", "10", "11", "12", "13", "14", "15",
         "16", "17", "18"},
    };
    return list;
}

const SCodedList& TcChannelTypes()
{
    static const SCodedList list = {
        {"-20 to +20mA", "4-20mA", "T/C J-Type", "T/C K-Type", "T/C T-Type", "T/C E-Type",
         "T/C R-Type", "T/C S-Type", "T/C B-Type"},
        TcTypeCodes(),
    };
    return list;
}

namespace {

// Codes only the per-channel-type model reports, and the rows they select there.
const std::pair<const char*, int> kPerChannelReadings[] = {
    {"00", 7}, {"07", 17}, {"0f", 8}, {kPerChannelRangeCode, 18}};

} // namespace

int MvTcRangeRow(const std::string& code, bool perChannelModel)
{
    if (perChannelModel) {
        for (const auto& [reported, row] : kPerChannelReadings)
            if (code == reported) return row;
    }
    return RowOfCode(MvTcRanges().codes, code);
}
