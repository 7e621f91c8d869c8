#include "SimSixChannelTemp.h"

#include <stdexcept>

namespace {

constexpr int kChannels = 6;
constexpr WORD kCoilBurnOut = 0x00C8;

} // namespace

void CSimRtd6BurnOut::SetBurnOut(int channel, bool on)
{
    if (channel < 0 || channel >= kChannels)
        throw std::invalid_argument("no input channel " + std::to_string(channel));
    auto bit = static_cast<BYTE>(1u << channel);
    m_nBurnOut = static_cast<BYTE>(on ? m_nBurnOut | bit : m_nBurnOut & ~bit);
}

std::optional<WORD> CSimRtd6BurnOut::ReadRegister(WORD reg, DWORD now)
{
    if (reg < kChannels && ((m_nBurnOut >> reg) & 1)) return WORD{0xFFFF};
    return CSimRtd6PerChannel::ReadRegister(reg, now);
}

std::optional<bool> CSimRtd6BurnOut::ReadCoil(WORD coil, DWORD)
{
    if (coil < kCoilBurnOut || coil >= kCoilBurnOut + kChannels) return std::nullopt;
    return (m_nBurnOut >> (coil - kCoilBurnOut)) & 1;
}
