// The temperature-input modules with one input type per channel besides the thermocouple ones:
// the eight-channel universal-input module (6381), the six-channel RTD and thermistor modules
// (6382, 6382T) and the six-channel RTD module with a range per channel (6307A). Each reads its
// channels with "#AA", its enable mask with "$AA6" and "$AA5VV", and each channel's type with
// "$AA8Ci" and "$AA7CiRrr"; over Modbus RTU its readings are input registers from 0x0000, the types
// 0x00C8 on and the mask 0x00DC.
#pragma once

#include "SimAnalogInput.h"

#include <vector>

// What sets one model apart.
struct SSimPerChannelModel {
    int nChannels;
    SimRangeLookup pRanges; // the channel types
    BYTE nChannelType;      // each channel's type from the factory
    // The type codes the "%" command takes (the module's own type is the first).
    std::vector<BYTE> vecConfigTypes;
    // The bit of the format byte that puts the module on Modbus RTU.
    BYTE nProtocolBit;
};

// Channel types of the 6381: "02" +/-100 mV to "09" +/-5 V, "0D" +/-20 mA, "0E" J to "14" B.
const SSimRange* SimUniversalTypes(BYTE code);
// Channel types of the 6382: "20" to "29" Pt100, "2A" Pt1000, "2B" Balco 500, "2C", "2D" Ni 604.
const SSimRange* SimRtd6Types(BYTE code);
// Channel types of the 6382T: "30" 3 kOhm and "31" 10 kOhm thermistors.
const SSimRange* SimThermistorTypes(BYTE code);
// Channel ranges of the 6307A: "20" to "27" Pt100, "2B" Cu100, "2C" Cu50, "2D" BA1, "2E" BA2,
// "2F" G53.
const SSimRange* SimRtd6307Ranges(BYTE code);

class CSimTempPerChannel : public CSimAnalogInputPerChannel {
public:
    CSimTempPerChannel(std::string model, const SSimPerChannelModel& spec);

protected:
    bool AcceptsType(BYTE type) const override;
    BYTE ReportedFormat() const override;
    void ApplyFormat(BYTE format) override;

private:
    const SSimPerChannelModel& m_spec;
};

// "6381", "9381": eight universal inputs; "%" takes type "00" (or "FF"), format bit 7 is the
// protocol.
class CSimUniversalInput : public CSimTempPerChannel {
public:
    explicit CSimUniversalInput(std::string model);
};

// "6382", "9382": six RTD channels; "%" takes type "FF" (or "00"), format bit 2 is the protocol.
class CSimRtd6PerChannel : public CSimTempPerChannel {
public:
    explicit CSimRtd6PerChannel(std::string model);
};

// "6382T", "9382T": six thermistor channels, as the 6382 otherwise.
class CSimThermistor6 : public CSimTempPerChannel {
public:
    explicit CSimThermistor6(std::string model);
};

// "6307A": six RTD channels with a range each; "%" takes type "20" (or "FF").
class CSimRtd6307A : public CSimTempPerChannel {
public:
    explicit CSimRtd6307A(std::string model);
};
