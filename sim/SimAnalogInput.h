// The analog-input family: the eight-channel modules (one range for the module, or one type per
// channel), the single-channel modules with alarm limits and two alarm outputs, and the
// single-channel module with one digital input and two digital outputs.
#pragma once

#include <optional>

#include "SimAnalog.h"

// The analog-input models leave the factory in the +/-10 V range.
inline constexpr BYTE kSimAiDefaultType = 0x08;

// "6384" and its variants: eight channels in one range, a channel-enable mask, the readings in
// ASCII ("#AA") and as input registers 0x0000-0x0007. Kin with six channels take their mask's
// bits of CH0 to CH5 only.
class CSimAnalogInput8 : public CSimAnalogModule {
public:
    explicit CSimAnalogInput8(std::string model)
        : CSimAnalogInput8(std::move(model), SimAiRange, kSimAiDefaultType, 0)
    {
    }
    BYTE EnableMask() const { return m_nEnableMask; }
    void SetEnableMask(BYTE mask) { m_nEnableMask = mask; }

protected:
    // ranges and type: the model's range table and the type it leaves the factory with; with
    // channelTypes, each channel starts at that type and the module's type is "FF".
    CSimAnalogInput8(std::string model, SimRangeLookup ranges, BYTE type, int channelTypes,
                     int channels = 8);
    std::optional<std::string> OnAscii(char lead, std::string_view body, DWORD now) override;
    std::optional<WORD> ReadRegister(WORD reg, DWORD now) override;
    BYTE WriteRegister(WORD reg, WORD value) override;

private:
    BYTE AllChannels() const { return static_cast<BYTE>((1u << Channels()) - 1); }

    BYTE m_nEnableMask;
};

// "6384P", "9384P": eight channels with a type each ("$AA7CiRrr", "$AA8Ci", registers
// 0x00C8-0x00CF). The module type is "FF"; bit 2 of the format byte is the protocol (set: RTU).
class CSimAnalogInputPerChannel : public CSimAnalogInput8 {
public:
    explicit CSimAnalogInputPerChannel(std::string model);

protected:
    CSimAnalogInputPerChannel(std::string model, SimRangeLookup ranges, BYTE channelType,
                              int channels = 8);
    bool AcceptsType(BYTE type) const override { return type == 0xFF; }
    BYTE ReportedFormat() const override;
    void ApplyFormat(BYTE format) override;
};

// "6385", "6389": one channel, high and low alarm limits, an alarm mode (disabled, momentary,
// latched) and two outputs: output 0 follows the low alarm, output 1 the high alarm.
class CSimAnalogInputAlarm : public CSimAnalogModule {
public:
    explicit CSimAnalogInputAlarm(std::string model);
    enum EAlarmMode { Disabled = 0, Momentary = 1, Latched = 2 };
    EAlarmMode AlarmMode() const { return m_eMode; }
    // Limits lie inside the range of the module's type: a new type brings the limits into it.
    double HighLimit() const;
    double LowLimit() const;
    // Output bits (bit 0 output 0, bit 1 output 1) at bus time now.
    BYTE Outputs(DWORD now);

protected:
    CSimAnalogInputAlarm(std::string model, SimRangeLookup ranges, BYTE type);
    std::optional<std::string> OnAscii(char lead, std::string_view body, DWORD now) override;
    std::optional<WORD> ReadRegister(WORD reg, DWORD now) override;

private:
    std::optional<std::string> AlarmCommand(std::string_view body, DWORD now);
    std::string SetLimit(std::optional<double>& limit, std::string_view text);
    std::string SetOutputs(std::string_view body);
    std::string SetMode(EAlarmMode mode);

    EAlarmMode m_eMode = Disabled;
    std::optional<double> m_dHigh; // none: the top of the range
    std::optional<double> m_dLow;
    BYTE m_nOutputs = 0; // set by "@AADO" while the alarm is off
    BYTE m_nLatched = 0;
};

// "6385P": one channel, one digital input and two digital outputs; over Modbus the input is coil
// 0x0000 and the outputs coils 0x0010 and 0x0011.
class CSimAnalogInputDio : public CSimAnalogModule {
public:
    explicit CSimAnalogInputDio(std::string model);
    void SetDigitalInput(int index, bool on) override;
    BYTE Outputs() const { return m_nOutputs; }

protected:
    std::optional<std::string> OnAscii(char lead, std::string_view body, DWORD now) override;
    std::optional<WORD> ReadRegister(WORD reg, DWORD now) override;
    std::optional<bool> ReadCoil(WORD coil, DWORD now) override;
    BYTE WriteCoil(WORD coil, bool on) override;

private:
    bool m_bInput = false;
    BYTE m_nOutputs = 0;
};

// The "@AADI" read-back shared by the modules with outputs: "!AA", a status digit (the alarm mode
// where there is one, else "0"), "0" and the output digit, "0" and the input digit; so the status
// stands at index 3, the outputs at 4-5 and the input digit at index 7.
std::string SimDioState(const std::string& ack, int status, BYTE outputs, BYTE inputs);
