// The counter/frequency module ("6363"): two input channels counting pulses (type "50") or
// measuring a frequency (type "51"), input signal modes, a gate, presets and maximum counts, two
// alarm modes with their limits, and two digital outputs. Values travel as eight hex digits.
#pragma once

#include "SimModule.h"

#include <array>

class CSimCounter : public CSimModule {
public:
    explicit CSimCounter(std::string model);

    // Pulses per second on a channel: the count advances with bus time, the frequency reads it.
    void SetInput(int channel, double value) override;
    DWORD Count(int channel, DWORD now) const;
    BYTE Outputs() const { return m_nOutputs; }
    DWORD Preset(int channel) const { return m_dwPreset[static_cast<size_t>(channel)]; }
    DWORD MaxCount(int channel) const { return m_dwMax[static_cast<size_t>(channel)]; }
    int AlarmMode() const { return m_nAlarmMode; }
    DWORD AlarmValue(int index) const { return m_dwAlarm[static_cast<size_t>(index)]; }
    int InputMode() const { return m_nInputMode; }
    int Gate() const { return m_nGate; }

protected:
    std::optional<std::string> OnAscii(char lead, std::string_view body, DWORD now) override;
    bool AcceptsType(BYTE type) const override { return type == 0x50 || type == 0x51; }
    bool AcceptsDataFormat(BYTE format) const override { return (format & ~0x04) == 0; }

private:
    std::optional<std::string> Dollar(std::string_view body, DWORD now);
    std::optional<std::string> At(std::string_view body);
    std::optional<std::string> Tilde(std::string_view body);
    std::string Value(DWORD value) const;
    std::string SetValue(DWORD& target, std::string_view text);
    std::string SetDigit(int& target, std::string_view text, int highest);

    std::array<double, 2> m_dRate{};
    std::array<DWORD, 2> m_dwBase{};  // count at m_dwSince
    std::array<DWORD, 2> m_dwSince{}; // bus time of the last clear or rate change
    std::array<DWORD, 2> m_dwPreset{};
    std::array<DWORD, 2> m_dwMax{0xFFFFFFFF, 0xFFFFFFFF};
    std::array<DWORD, 2> m_dwAlarm{}; // ModeA: counter 0 and 1 alarm values; ModeB: high, high-high
    int m_nAlarmEnables = 0;          // ModeA: bit per counter
    int m_nModeB = 0;                 // ModeB: 0 disabled, 1 momentary, 2 latch
    int m_nAlarmMode = 0;             // 0 ModeA, 1 ModeB
    int m_nInputMode = 0;             // 0 both TTL, 1 both isolated, 2 CH1 isolated, 3 CH0 isolated
    int m_nGate = 2;                  // 0 low, 1 high, 2 none
    BYTE m_nOutputs = 0;
};
