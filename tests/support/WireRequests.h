// What a request on the wire is, as the simulated link records it (ASCII as text, Modbus RTU as
// hex bytes with blanks).
#pragma once

#include "Strings.h"

#include <string>

// A configuration: ASCII "%AA..." or the switch "$AAR1"; Modbus RTU a write of register 0x0812
// (the address) or 0x080D (the protocol).
inline bool IsConfiguration(const std::string& request)
{
    if (request.empty()) return false;
    if (request[0] == '%') return true;
    if (request[0] == '$') return request.substr(3, 2) == "R1";
    std::string hex = Remove(request, ' ');
    return hex.substr(2, 6) == "060812" || hex.substr(2, 6) == "06080D";
}

// A Modbus RTU read of bits or registers (functions 01 to 04).
inline bool IsRtuReadRequest(const std::string& request)
{
    std::string function = Remove(request, ' ').substr(2, 2);
    return function == "01" || function == "02" || function == "03" || function == "04";
}
