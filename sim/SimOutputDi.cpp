#include "SimOutputDi.h"

#include "SimCodec.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace {

struct SRange {
    BYTE nCode;
    double dLow;
    double dHigh;
};
constexpr SRange kRanges[] = {{0x30, 0.0, 20.0}, {0x31, 4.0, 20.0}, {0x32, -10.0, 10.0}};
constexpr BYTE kDefaultRange = 0x30;
constexpr int kCodeTop = 4095;
constexpr BYTE kRtuFlag = 0x80;

const SRange* RangeOfCode(BYTE code)
{
    for (const SRange& r : kRanges)
        if (r.nCode == code) return &r;
    return nullptr;
}

} // namespace

CSimOutputDi::CSimOutputDi(std::string model) : CSimModule(std::move(model), 0x00, 4, kDefaultRange)
{
}

bool CSimOutputDi::AcceptsChannelType(BYTE type) const
{
    return RangeOfCode(type) != nullptr;
}

void CSimOutputDi::ApplyFormat(BYTE format)
{
    CSimModule::ApplyFormat(static_cast<BYTE>(format & ~kRtuFlag));
    if (format & kRtuFlag) SetProtocol(ESimProtocol::Rtu);
}

void CSimOutputDi::SetDigitalInput(int index, bool on)
{
    if (index < 0 || index > 3) return;
    m_nInputs = static_cast<BYTE>(on ? (m_nInputs | 1 << index) : (m_nInputs & ~(1 << index)));
}

void CSimOutputDi::SetInput(int channel, double value)
{
    if (channel < 0 || channel > 3) return;
    const SRange& r = *RangeOfCode(ChannelType(channel));
    m_dOutput[static_cast<size_t>(channel)] = std::clamp(value, r.dLow, r.dHigh);
}

WORD CSimOutputDi::OutputCode(int channel) const
{
    const SRange& r = *RangeOfCode(ChannelType(channel));
    // An output left from another range reads at the nearer end of this one.
    double share = std::clamp((Output(channel) - r.dLow) / (r.dHigh - r.dLow), 0.0, 1.0);
    return static_cast<WORD>(std::lround(share * kCodeTop));
}

std::optional<int> CSimOutputDi::Channel(std::string_view digit) const
{
    if (digit.size() != 1 || digit[0] < '0' || digit[0] > '3') return std::nullopt;
    return digit[0] - '0';
}

std::string CSimOutputDi::ValueText(double value) const
{
    char text[16];
    std::snprintf(text, sizeof text, "%+07.3f", value);
    return text;
}

// "Ci" + value: the value must lie in the channel's range.
std::string CSimOutputDi::SetValue(std::array<double, 4>& values, std::string_view body,
                                   char ackLead)
{
    auto channel = Channel(body.substr(0, 1));
    auto value = SimParseNumber(body.substr(1));
    if (!channel || !value) return Refuse();
    const SRange& r = *RangeOfCode(ChannelType(*channel));
    if (*value < r.dLow || *value > r.dHigh) return Refuse();
    values[static_cast<size_t>(*channel)] = *value;
    return ackLead == '>' ? std::string(">") : Ack();
}

std::optional<std::string> CSimOutputDi::OnAscii(char lead, std::string_view body, DWORD)
{
    if (lead == '#' && body.substr(0, 1) == "C") return SetValue(m_dOutput, body.substr(1), '>');
    if (lead == '#' && body.substr(0, 2) == "SC") return SetValue(m_dStartup, body.substr(2), '!');
    if (lead != '$') return std::nullopt;
    if (body == "I") return Ack() + SimHexPair(m_nInputs).substr(1);
    if (body.substr(0, 2) == "6C" || body.substr(0, 2) == "DC") {
        auto channel = Channel(body.substr(2));
        if (!channel) return Refuse();
        const auto& values = body[0] == '6' ? m_dOutput : m_dStartup;
        return Ack() + ValueText(values[static_cast<size_t>(*channel)]);
    }
    return std::nullopt;
}

std::optional<WORD> CSimOutputDi::ReadRegister(WORD reg, DWORD)
{
    if (reg <= 3) return OutputCode(reg);
    if (reg >= 0x00C8 && reg <= 0x00CB) return ChannelType(reg - 0x00C8);
    return std::nullopt;
}

BYTE CSimOutputDi::WriteRegister(WORD reg, WORD value)
{
    if (reg <= 3) {
        if (value > kCodeTop) return kSimIllegalValue;
        const SRange& r = *RangeOfCode(ChannelType(reg));
        m_dOutput[reg] = r.dLow + (r.dHigh - r.dLow) * value / kCodeTop;
        return kSimOk;
    }
    if (reg >= 0x00C8 && reg <= 0x00CB) {
        if (!RangeOfCode(static_cast<BYTE>(value)) || value > 0xFF) return kSimIllegalValue;
        SetChannelType(reg - 0x00C8, static_cast<BYTE>(value));
        return kSimOk;
    }
    return kSimIllegalAddress;
}

std::optional<bool> CSimOutputDi::ReadCoil(WORD coil, DWORD)
{
    if (coil > 3) return std::nullopt;
    return ((m_nInputs >> coil) & 1) != 0;
}
