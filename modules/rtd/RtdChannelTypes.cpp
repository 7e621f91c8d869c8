#include "RtdChannelTypes.h"

#include "RtdRanges.h"

namespace {

// The lists of channels 1 to 5 carry two more blanks before the "0" of rows 6 to 8.
std::vector<std::string> OtherChannelsRows(std::vector<std::string> rows)
{
    for (size_t row = 6; row <= 8; ++row) rows[row].insert(rows[row].find("0℃"), "  ");
    return rows;
}

} // namespace

const SCodedList& Rtd6382Types()
{
    static const SCodedList table = [] {
        SCodedList t = {
            {
                "PT100(IEC)  -50℃ to 150℃",
                "PT100(IEC)     0℃ to 100℃",
                "PT100(IEC)     0℃ to 200℃",
                "PT100(IEC)     0℃ to 400℃",
                "PT100(IEC)-200℃ to 200℃",
                "PT100(JIS)   -50℃ to 150℃",
                "PT100(JIS)    0℃ to 100℃",
                "PT100(JIS)    0℃ to 200℃",
                "PT100(JIS)    0℃ to 400℃",
                "PT100(JIS) -200℃ to 200℃",
                "PT1000        -40℃ to 160℃",
                "BALCO 500  -30℃ to 120℃",
                "Ni 604          -80℃ to 100℃",
                "Ni 604             0℃ to 100℃",
            },
            {"20", "21", "22", "23", "24", "25", "26", "27", "28", "29", "2A", "2B", "2C", "2D"},
        };
        t.otherRows = OtherChannelsRows(t.rows);
        return t;
    }();
    return table;
}

const SCodedList& Rtd6382ModbusTypes()
{
    static const SCodedList table = {Rtd6382Types().otherRows, Rtd6382Types().codes};
    return table;
}

const SCodedList& Thermistor6382TTypes()
{
    static const SCodedList table = {
        {"Thermi.    3K  0℃ to 100℃", "Thermi.  10K  0℃ to 100℃"},
        {"30", "31"},
    };
    return table;
}

const SCodedList& Rtd6307Ranges()
{
    static const SCodedList table = {
        {
            "Pt100a=0.00385 -100-100C",
            "Pt100a=0.00385 0-100C",
            "Pt100a=0.00385 0-200C",
            "Pt100a=0.00385 0-600C",
            "Pt100a=0.003916 -100-100C",
            "Pt100a=0.003916 0-100C",
            "Pt100a=0.003916 0-200C",
            "Pt100a=0.003916 0-600C",
            "Cu100 -50-150C",
            "Cu50 -50-150C",
            "BA1 -200-650C",
            "BA2 -200-650C",
            "G53 -50-150C",
        },
        RtdRangeCodes(),
    };
    return table;
}
