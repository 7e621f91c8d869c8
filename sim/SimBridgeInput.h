// The bridge-input family ("6387"): one reading of the selected input channel (CH0 or CH1), an
// excitation output of 0 to 10 V, four digital outputs set in two banks of two, one digital input.
#pragma once

#include "SimAnalog.h"

// Ranges "00" +/-15 mV to "06" +/-20 mA.
const SSimRange* SimBridgeRange(BYTE code);

class CSimBridgeInput : public CSimAnalogModule {
public:
    explicit CSimBridgeInput(std::string model);
    void SetDigitalInput(int index, bool on) override;
    int SelectedChannel() const { return m_nChannel; }
    double Excitation() const { return m_dExcitation; }
    BYTE Outputs() const { return m_nOutputs; }

protected:
    std::optional<std::string> OnAscii(char lead, std::string_view body, DWORD now) override;
    std::optional<WORD> ReadRegister(WORD reg, DWORD now) override;

private:
    std::optional<std::string> Command(std::string_view body);
    std::string SetExcitation(std::string_view text);
    std::string SetOutputs(std::string_view body);

    int m_nChannel = 0;
    double m_dExcitation = 0.0;
    BYTE m_nOutputs = 0;
    bool m_bInput = false;
};
