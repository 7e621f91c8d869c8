#include "TcChannelTypes.h"

const CodeTable& TcTypeCodes()
{
    static const CodeTable codes = {"06", "07", "0E", "0F", "10", "11", "12", "13", "14"};
    return codes;
}

// "S TyPe" is the module's own spelling in this list.
const SCodedList& Tc6386PTypes()
{
    static const SCodedList table = {
        {"+/- 0~20mA", "+4~20mA", "J Type", "K Type", "T Type", "E Type", "R Type", "S TyPe",
         "B Type"},
        TcTypeCodes(),
    };
    return table;
}

const SCodedList& UniversalTypes()
{
    static const SCodedList table = {
        {"+/-100mV", "+/-500mV", "+/-1V", "+/-2.5V", "+4~20mA", "+/-10V", "+/-5V", "+/-20mA",
         "J Type", "K Type", "T Type", "E Type", "R Type", "S Type", "B Type"},
        {"02", "03", "04", "05", "07", "08", "09", "0D", "0E", "0F", "10", "11", "12", "13", "14"},
    };
    return table;
}
