// Analog inputs shared by the input families: input ranges, how a reading is written in each data
// format and as a Modbus register, and channel values that drift slowly so a live display moves.
#pragma once

#include "SimModule.h"

#include <optional>
#include <string>
#include <vector>

struct SSimRange {
    BYTE nCode;
    double dLow;
    double dHigh;
    int nDecimals; // engineering units: sign, digits, point and decimals make nWidth characters
    int nWidth = 7;
};

using SimRangeLookup = const SSimRange* (*)(BYTE code);

// The row of a range table with that code, null when there is none.
template <class Table> const SSimRange* SimFindRange(const Table& table, BYTE code)
{
    for (const SSimRange& range : table)
        if (range.nCode == code) return &range;
    return nullptr;
}

// Ranges of the analog-input models ("07" 4 to 20 mA, "08" +/-10 V ... "0D" +/-20 mA).
const SSimRange* SimAiRange(BYTE code);

// A reading as "#AA" returns it: data format 0 engineering units ("+05.123"), 1 percent of the
// full-scale range ("+051.23"), 2 two's complement hex ("1A2B").
std::string SimFormatReading(const SSimRange& range, BYTE dataFormat, double value);
// A value in engineering units, nWidth characters ("+05.000"): readings, limits and set-points.
std::string SimFormatEngineering(const SSimRange& range, double value);
// A reading as a Modbus input register: 0 at the low end of the range, 65535 at the high end.
WORD SimRawRegister(const SSimRange& range, double value);

// A module with analog input channels, each read in the range of its type.
class CSimAnalogModule : public CSimModule {
public:
    int Channels() const { return static_cast<int>(m_vecFixed.size()); }
    // Holds channel at value, in the units of its range (clamped to the range); the channel stops
    // drifting.
    void SetInput(int channel, double value) override;
    // The channel's value at bus time now, in the units of its range.
    double Value(int channel, DWORD now) const;

protected:
    CSimAnalogModule(std::string model, int channels, SimRangeLookup ranges, BYTE type,
                     int channelTypes = 0, BYTE channelType = 0);
    const SSimRange& RangeOf(int channel) const;
    std::string Reading(int channel, DWORD now) const;
    WORD Raw(int channel, DWORD now) const;
    bool AcceptsType(BYTE type) const override { return m_pRanges(type) != nullptr; }
    bool AcceptsChannelType(BYTE type) const override { return m_pRanges(type) != nullptr; }

private:
    SimRangeLookup m_pRanges;
    std::vector<std::optional<double>> m_vecFixed; // the value a channel is held at; none: drifting
};
