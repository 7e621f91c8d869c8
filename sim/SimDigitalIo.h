// The digital I/O family: up to 16 digital inputs and 16 digital outputs, with input counters,
// an input latch, and power-on and safe output values. One class serves every model; a table in
// SimDigitalIo.cpp gives each model its counts and the place of its inputs and outputs in the
// 16-bit status that "$AA6" reports.
//
// ASCII: "$AA6" status ("!" + four hex digits + "00"); "#AAi" counter of input i ("!AA" + five
// decimal digits); "$AACi" clears counter i; "$AAC" clears the latch; "@AA" + hex digits sets the
// outputs (">"); "~AA4P"/"~AA4S" read the power-on/safe value ("!AA" + four hex digits);
// "~AA5P"/"~AA5S" take the present outputs as that value. The 6322-like models set their outputs
// with "#AA00" + hex digits and their safe value with "$AAX0" + hex digits, read it with "$AAX1",
// and have neither counters nor a power-on value.
// Modbus RTU: inputs are coils 0x0000 up, outputs coils 0x0010 up (function 01 reads, 05 writes).
// A read may span each block rounded up to whole bytes; the channels a model lacks read 0.
#pragma once

#include "SimModule.h"

#include <array>
#include <string>
#include <vector>

struct SSimDioModel;

class CSimDigitalIo : public CSimModule {
public:
    explicit CSimDigitalIo(std::string model);

    int InputCount() const;
    int OutputCount() const;
    // Inputs and outputs as bit masks (bit k = channel k).
    WORD Inputs() const { return m_nInputs; }
    WORD Outputs() const { return m_nOutputs; }
    void SetOutputs(WORD outputs);
    // A change of an input counts its rising edges and feeds the latch.
    void SetDigitalInput(int index, bool on) override;
    // Bus-file "inputN=1" switches input N on.
    void SetInput(int channel, double value) override { SetDigitalInput(channel, value != 0.0); }
    WORD Counter(int channel) const;
    void SetCounter(int channel, WORD value);
    // Inputs that reached the latch level since the latch was last cleared.
    WORD Latched() const { return m_nLatched; }
    // The latch level: bit 7 of the data-format byte (set: high).
    bool LatchHigh() const { return (Format() & 0x80) != 0; }
    WORD PowerOnValue() const { return m_nPowerOn; }
    WORD SafeValue() const { return m_nSafe; }
    // The 16-bit status in the model's own layout.
    WORD Status() const;

protected:
    std::optional<std::string> OnAscii(char lead, std::string_view body, DWORD now) override;
    bool AcceptsType(BYTE type) const override;
    bool AcceptsDataFormat(BYTE format) const override;
    void ApplyFormat(BYTE format) override;
    std::optional<bool> ReadCoil(WORD coil, DWORD now) override;
    BYTE WriteCoil(WORD coil, bool on) override;

private:
    std::optional<std::string> Dollar(std::string_view body);
    std::optional<std::string> Tilde(std::string_view body);
    std::string SetOutputsText(std::string_view digits);
    std::string CounterText(std::string_view body) const;
    WORD Mask(int count) const { return static_cast<WORD>((1u << count) - 1); }

    const SSimDioModel& m_model;
    WORD m_nInputs = 0;
    WORD m_nOutputs = 0;
    WORD m_nLatched = 0;
    WORD m_nPowerOn = 0;
    WORD m_nSafe = 0;
    std::array<WORD, 16> m_nCounters{};
};

// The digital I/O models the simulator knows.
std::vector<std::string> SimDigitalIoModelNames();
