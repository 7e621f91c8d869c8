// The four-channel output module with four digital inputs ("9359", listed as 4359A): each channel
// has its own range ("30" 0 to 20 mA, "31" 4 to 20 mA, "32" +/-10 V), an output and a startup
// value; over Modbus RTU the outputs are 12-bit codes in registers 0-3, the ranges stand in
// registers 0x00C8-0x00CB and the inputs are coils 0-3. Bit 7 of the format byte a "%" command
// sets moves the module to Modbus RTU.
#pragma once

#include "SimModule.h"

#include <array>

class CSimOutputDi : public CSimModule {
public:
    explicit CSimOutputDi(std::string model);

    // The output a channel drives now, in mA or V.
    double Output(int channel) const { return m_dOutput[static_cast<size_t>(channel)]; }
    double Startup(int channel) const { return m_dStartup[static_cast<size_t>(channel)]; }
    // The output as its 12-bit code, 0 at the range's low end and 4095 at its top.
    WORD OutputCode(int channel) const;
    void SetDigitalInput(int index, bool on) override;
    // The output of a channel (a bus file's inputN=VALUE), clamped to its range.
    void SetInput(int channel, double value) override;

protected:
    std::optional<std::string> OnAscii(char lead, std::string_view body, DWORD now) override;
    bool AcceptsType(BYTE type) const override { return type == 0x00; }
    bool AcceptsChannelType(BYTE type) const override;
    void ApplyFormat(BYTE format) override;
    std::optional<WORD> ReadRegister(WORD reg, DWORD now) override;
    BYTE WriteRegister(WORD reg, WORD value) override;
    std::optional<bool> ReadCoil(WORD coil, DWORD now) override;

private:
    std::optional<int> Channel(std::string_view digit) const;
    std::string ValueText(double value) const;
    std::string SetValue(std::array<double, 4>& values, std::string_view body, char ackLead);

    std::array<double, 4> m_dOutput{};
    std::array<double, 4> m_dStartup{};
    BYTE m_nInputs = 0;
};
