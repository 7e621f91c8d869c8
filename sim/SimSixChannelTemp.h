// The six-channel temperature family over Modbus RTU: six inputs with a type each (registers
// 0x00C8-0x00CD), a channel-enable mask at 0x00DC and the readings at 0x0000-0x0005. The RTD
// models report a burnt-out sensor as coils 0x00C8-0x00CD; the thermistor model has no such coils.
#pragma once

#include "SimAnalog.h"

// "20" to "2D": Pt100 (IEC and JIS), Pt1000, Balco 500 and Ni 604 ranges.
const SSimRange* SimSixRtdRange(BYTE code);
// "30" 3 kOhm and "31" 10 kOhm thermistors, 0 to 100 degrees.
const SSimRange* SimThermistorRange(BYTE code);

// "4382", "9382" (RTD, with burn-out coils) and "6382T" (thermistor).
class CSimSixChannelTemp : public CSimAnalogModule {
public:
    explicit CSimSixChannelTemp(std::string model);
    BYTE EnableMask() const { return m_nEnableMask; }
    void SetEnableMask(BYTE mask) { m_nEnableMask = mask; }
    // A broken sensor: its coil is set and its register reads the top of the range.
    void SetBurnOut(int channel, bool on);

protected:
    bool AcceptsType(BYTE type) const override { return type == 0xFF; }
    std::optional<WORD> ReadRegister(WORD reg, DWORD now) override;
    BYTE WriteRegister(WORD reg, WORD value) override;
    std::optional<bool> ReadCoil(WORD coil, DWORD now) override;

private:
    bool m_bBurnOutCoils;
    BYTE m_nEnableMask = 0x3F;
    BYTE m_nBurnOut = 0;
};
