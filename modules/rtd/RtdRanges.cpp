#include "RtdRanges.h"

const CodeTable& RtdRangeCodes()
{
    static const CodeTable codes = {"20", "21", "22", "23", "24", "25", "26",
                                    "27", "2B", "2C", "2D", "2E", "2F"};
    return codes;
}

const SCodedList& RtdRanges13()
{
    static const SCodedList list = {
        {"Pt100 a=0.00385 -100-100C", "Pt100 a=0.00385 0-100C", "Pt100 a=0.00385 0-200C",
         "Pt100 a=0.00385 0-600C", "Pt100 a=0.003916  -100-100C", "Pt100 a=0.003916  0-100C",
         "Pt100 a=0.003916  0-200C", "Pt100 a=0.003916  0-600C", "Cu100 -50-150C", "Cu50 -50-150C",
         "BA1 -200-650C", "BA2 -200-650C", "G53 -50-150C"},
        RtdRangeCodes(),
    };
    return list;
}

const SCodedList& RtdRanges6()
{
    static const SCodedList list = {
        {"Pt100 -200-400C", "Cu100 -50-150C", "Cu50 -50-150C", "BA1 -200-650C", "BA2 -200-650C",
         "G53 -50-150C"},
        {"20", "21", "22", "23", "24", "25"},
    };
    return list;
}

const SCodedList& RtdRanges3Ch()
{
    static const SCodedList list = {
        {"Pt/.00385 +/-100C", "Pt/.00385 0-100C", "Pt/.00385 0-200C", "Pt/.00385 0-600C",
         "Pt/.00392 +/-100C", "Pt/.00392 0-100C", "Pt/.00392 0-200C", "Pt/.00392 0-600C",
         "CU100 -50-150C", "CU50 -50-150C", "BA1 -200-650C", "BA2 -200-650C", "G53 -50-150C"},
        RtdRangeCodes(),
    };
    return list;
}
