// The RTD-input family: resistance-thermometer modules with one, three, four or six channels that
// read their inputs as temperatures ("#AA", or resistances in the "Ohm" data format) and as
// resistances ("$AAA"). Two range tables: the thirteen-range models and the six-range models.
#pragma once

#include "SimAnalog.h"

// "20" to "27" Pt100 (two alphas, four spans), "2B" Cu100, "2C" Cu50, "2D" BA1, "2E" BA2, "2F" G53.
const SSimRange* SimRtdRange13(BYTE code);
// "20" Pt100, "21" Cu100, "22" Cu50, "23" BA1, "24" BA2, "25" G53.
const SSimRange* SimRtdRange6(BYTE code);

// "6308", "4308" (one channel), "6300", "4300" (three), "6307", "4307" (six), and "6380", "4380"
// (three, with the three-step calibration: "~AAE1" enables it, then "$AA1" takes the zero and
// "$AA0" the span, both refused before the enable) take the thirteen ranges; "6308A", "4308A" (one), "6300A", "4300A" (three), "6309", "4309" (four) the six.
class CSimRtd : public CSimAnalogModule {
public:
    explicit CSimRtd(std::string model);
    // The sensor's resistance in ohms at the channel's temperature.
    double Resistance(int channel, DWORD now) const;
    bool CalibrationEnabled() const { return m_bCalibrationEnabled; }
    int ZeroCalibrations() const { return m_nZeroCalibrations; }
    int SpanCalibrations() const { return m_nSpanCalibrations; }

protected:
    std::optional<std::string> OnAscii(char lead, std::string_view body, DWORD now) override;
    // Engineering units, percent, hex, and "3": the readings in ohms.
    bool AcceptsDataFormat(BYTE /*format*/) const override { return true; }
    std::optional<WORD> ReadRegister(WORD reg, DWORD now) override;

private:
    std::string ResistanceText(int channel, DWORD now) const;
    std::optional<std::string> Calibrate(char lead, std::string_view body);

    bool m_bHasCalibration = false;
    bool m_bCalibrationEnabled = false;
    int m_nZeroCalibrations = 0;
    int m_nSpanCalibrations = 0;
};
