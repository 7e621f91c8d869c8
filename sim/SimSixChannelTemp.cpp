#include "SimSixChannelTemp.h"

#include <array>
#include <stdexcept>

namespace {

constexpr int kChannels = 6;
constexpr WORD kRegEnableMask = 0x00DC;
constexpr WORD kCoilBurnOut = 0x00C8;
constexpr BYTE kAllChannels = 0x3F;

constexpr std::array<SSimRange, 14> kSixRtdRanges = {{
    {0x20, -50.0, 150.0, 2},
    {0x21, 0.0, 100.0, 2},
    {0x22, 0.0, 200.0, 2},
    {0x23, 0.0, 400.0, 2},
    {0x24, -200.0, 200.0, 2},
    {0x25, -50.0, 150.0, 2},
    {0x26, 0.0, 100.0, 2},
    {0x27, 0.0, 200.0, 2},
    {0x28, 0.0, 400.0, 2},
    {0x29, -200.0, 200.0, 2},
    {0x2A, -40.0, 160.0, 2},
    {0x2B, -30.0, 120.0, 2},
    {0x2C, -80.0, 100.0, 2},
    {0x2D, 0.0, 100.0, 2},
}};

constexpr std::array<SSimRange, 2> kThermistorRanges = {{
    {0x30, 0.0, 100.0, 2},
    {0x31, 0.0, 100.0, 2},
}};

bool IsThermistor(const std::string& model)
{
    return model.find('T') != std::string::npos;
}

} // namespace

const SSimRange* SimSixRtdRange(BYTE code)
{
    return SimFindRange(kSixRtdRanges, code);
}

const SSimRange* SimThermistorRange(BYTE code)
{
    return SimFindRange(kThermistorRanges, code);
}

CSimSixChannelTemp::CSimSixChannelTemp(std::string model)
    : CSimAnalogModule(model, kChannels, IsThermistor(model) ? SimThermistorRange : SimSixRtdRange,
                       0xFF, kChannels, IsThermistor(model) ? 0x30 : 0x20),
      m_bBurnOutCoils(!IsThermistor(model))
{
}

void CSimSixChannelTemp::SetBurnOut(int channel, bool on)
{
    if (channel < 0 || channel >= kChannels)
        throw std::invalid_argument("no input channel " + std::to_string(channel));
    auto bit = static_cast<BYTE>(1u << channel);
    m_nBurnOut = static_cast<BYTE>(on ? m_nBurnOut | bit : m_nBurnOut & ~bit);
}

std::optional<WORD> CSimSixChannelTemp::ReadRegister(WORD reg, DWORD now)
{
    if (reg < kChannels) return (m_nBurnOut >> reg) & 1 ? WORD{0xFFFF} : Raw(reg, now);
    if (reg == kRegEnableMask) return m_nEnableMask;
    return std::nullopt;
}

BYTE CSimSixChannelTemp::WriteRegister(WORD reg, WORD value)
{
    if (reg != kRegEnableMask) return kSimIllegalAddress;
    if (value > kAllChannels) return kSimIllegalValue;
    m_nEnableMask = static_cast<BYTE>(value);
    return kSimOk;
}

std::optional<bool> CSimSixChannelTemp::ReadCoil(WORD coil, DWORD)
{
    if (!m_bBurnOutCoils || coil < kCoilBurnOut || coil >= kCoilBurnOut + kChannels)
        return std::nullopt;
    return (m_nBurnOut >> (coil - kCoilBurnOut)) & 1;
}
