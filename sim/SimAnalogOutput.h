// The analog-output family: one-, two- and four-channel voltage/current outputs. Each channel
// holds the output value it was last given (in mA or V), readable back in ASCII ("$AA6",
// "$AA6i") and as holding registers from 0x0000; the range codes stand in registers from 0x00C8.
#pragma once

#include "SimModule.h"

#include <utility>
#include <vector>

struct SSimAoRange {
    BYTE nCode;
    double dLow;
    double dHigh;
};

// "30" 0 to 20 mA, "31" 4 to 20 mA, "32" 0 to 10 V; null for any other code.
const SSimAoRange* SimAoRange(BYTE code);

class CSimAnalogOutput : public CSimModule {
public:
    int Channels() const { return static_cast<int>(m_vecOutputs.size()); }
    // The output a channel drives now, in the units of its range.
    double Output(int channel) const;
    // The output as the Modbus register shows it: the value x 1000 (one- and two-channel), or the
    // 16-bit code from the range's low end (0) to its top (65535) on the four-channel model.
    WORD OutputRegister(int channel) const;
    // Every output the module was given, in order: channel and value.
    const std::vector<std::pair<int, double>>& OutputLog() const { return m_vecLog; }
    // The slew-rate row of a channel: its own (two-channel) or bits 2-5 of the format byte.
    int SlewIndex(int channel) const;
    // The output a bus file's inputN=VALUE preloads (clamped to the range).
    void SetInput(int channel, double value) override;

protected:
    CSimAnalogOutput(std::string model, int channels);
    std::optional<std::string> OnAscii(char lead, std::string_view body, DWORD now) override;
    bool AcceptsType(BYTE type) const override;
    bool AcceptsChannelType(BYTE type) const override { return SimAoRange(type) != nullptr; }
    std::optional<WORD> ReadRegister(WORD reg, DWORD now) override;
    BYTE WriteRegister(WORD reg, WORD value) override;

private:
    bool TwoChannel() const { return Channels() == 2; }
    const SSimAoRange& RangeOf(int channel) const { return *SimAoRange(TypeOf(channel)); }
    std::string ValueText(int channel) const;
    std::string Write(std::string_view body);
    std::optional<std::string> RangeCommand(std::string_view body);
    bool SetOutput(int channel, double value);

    std::vector<double> m_vecOutputs;
    std::vector<int> m_vecSlew;
    std::vector<std::pair<int, double>> m_vecLog;
};

// "6358": one channel; "$AA6" reads it, "#AA" + value writes it.
class CSimAnalogOutput1 : public CSimAnalogOutput {
public:
    explicit CSimAnalogOutput1(std::string model) : CSimAnalogOutput(std::move(model), 1) {}
};
// "6355": two channels with a range and slew rate each ("$AA9i" reads, "$AA9irs" sets them);
// the module's own type is "3F".
class CSimAnalogOutput2 : public CSimAnalogOutput {
public:
    explicit CSimAnalogOutput2(std::string model) : CSimAnalogOutput(std::move(model), 2) {}
};
// "6359": four channels in one range; values read back with their sign ("+05.000").
class CSimAnalogOutput4 : public CSimAnalogOutput {
public:
    explicit CSimAnalogOutput4(std::string model) : CSimAnalogOutput(std::move(model), 4) {}
};
