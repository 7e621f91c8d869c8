// The thermocouple-input family: the eight-channel millivolt/volt/current/thermocouple modules
// (one range for the module), the per-channel-type model 4386A, and the single-channel models with
// alarm limits and two alarm outputs. Every model reads its cold-junction temperature ("$AA3").
#pragma once

#include "SimAnalogInput.h"

// Module ranges "00" +/-15 mV to "06" +/-20 mA and "0E" J to "17" W thermocouples, "18" 4-20 mA.
const SSimRange* SimTcRange(BYTE code);
// Channel types of the 4386A: "06" +/-20 mA, "07" 4-20 mA, "0E" J to "14" B thermocouples.
const SSimRange* SimTcChannelRange(BYTE code);

// The cold-junction and calibration commands of the family: "$AA9" + sign + four hex digits sets
// the cold-junction offset (steps of 0.009 degrees; the digits in either case; no sign: positive), "$AAJ" reads it,
// "$AAL" reads and "~AAL" + four hex digits writes the coefficient (0 to 50000), "$AA1" and "$AA0"
// take the zero and the span calibration, "$AA3" reads the cold-junction temperature (25 degrees
// plus the offset).
class CSimTcCalibration {
public:
    // The reply to a command of the group, nullopt for any other command.
    std::optional<std::string> Answer(char lead, std::string_view body, const std::string& ack,
                                      const std::string& refuse);
    int CjcOffset() const { return m_nCjcOffset; }
    WORD Coefficient() const { return m_nCoefficient; }
    int ZeroCalibrations() const { return m_nZero; }
    int SpanCalibrations() const { return m_nSpan; }

private:
    std::string SetOffset(std::string_view text, const std::string& ack,
                          const std::string& refuse);

    int m_nCjcOffset = 0;
    WORD m_nCoefficient = 10000;
    int m_nZero = 0;
    int m_nSpan = 0;
};

// A model of the family: Base's commands and the cold-junction and calibration group.
template <class Base> class CSimColdJunction : public Base {
public:
    const CSimTcCalibration& Calibration() const { return m_calibration; }

protected:
    using Base::Base;
    std::optional<std::string> OnAscii(char lead, std::string_view body, DWORD now) override
    {
        if (auto reply = m_calibration.Answer(lead, body, this->Ack(), this->Refuse()))
            return reply;
        return Base::OnAscii(lead, body, now);
    }

private:
    CSimTcCalibration m_calibration;
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
