// The six-channel RTD modules as their Modbus RTU dialog also reads them: a broken sensor is set in
// coils 0x00C8-0x00CD (one per channel), and its register reads the top of the range.
#pragma once

#include "SimPerChannelTemp.h"

// "6382", "9382".
class CSimRtd6BurnOut : public CSimRtd6PerChannel {
public:
    using CSimRtd6PerChannel::CSimRtd6PerChannel;
    void SetBurnOut(int channel, bool on);

protected:
    std::optional<WORD> ReadRegister(WORD reg, DWORD now) override;
    std::optional<bool> ReadCoil(WORD coil, DWORD now) override;

private:
    BYTE m_nBurnOut = 0;
};
