// The thermocouple-input family: the eight-channel millivolt/volt/current/thermocouple modules
// (one range for the module), the per-channel-type model 4386A, and the single-channel models with
// alarm limits and two alarm outputs. Every model reads its cold-junction temperature ("$AA3").
#pragma once

#include "SimAnalogInput.h"

// Module ranges "00" +/-15 mV to "06" +/-20 mA and "0E" J to "17" W thermocouples, "18" 4-20 mA.
const SSimRange* SimTcRange(BYTE code);
// Channel types of the 4386A: "06" +/-20 mA, "07" 4-20 mA, "0E" J to "14" B thermocouples.
const SSimRange* SimTcChannelRange(BYTE code);

// A model of the family: Base's commands, and "$AA3", the cold-junction temperature (held at 25
// degrees).
template <class Base> class CSimColdJunction : public Base {
protected:
    using Base::Base;
    std::optional<std::string> OnAscii(char lead, std::string_view body, DWORD now) override
    {
        if (lead == '$' && body == "3") return std::string(">+025.00");
        return Base::OnAscii(lead, body, now);
    }
};

// "6386", "4386": eight channels in one range with a channel-enable mask.
class CSimThermocouple8 : public CSimColdJunction<CSimAnalogInput8> {
public:
    explicit CSimThermocouple8(std::string model);
};

// "4386A": eight channels with a type each; bit 2 of the format byte is the protocol.
class CSimThermocouplePerChannel : public CSimColdJunction<CSimAnalogInputPerChannel> {
public:
    explicit CSimThermocouplePerChannel(std::string model);
};

// "4388", "6388": one thermocouple input with high and low alarm limits and two outputs.
class CSimThermocoupleAlarm : public CSimColdJunction<CSimAnalogInputAlarm> {
public:
    explicit CSimThermocoupleAlarm(std::string model);
};
