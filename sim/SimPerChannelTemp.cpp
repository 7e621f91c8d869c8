#include "SimPerChannelTemp.h"

#include "SimCodec.h"

#include <algorithm>
#include <array>
#include <stdexcept>

namespace {

constexpr WORD kRegValues = 0x0000;
constexpr WORD kRegEnableMask = 0x00DC;

// The thermocouple types both the 6386P and the 6381 take.
constexpr SSimRange kThermocouples[] = {
    {0x0E, 0.0, 760.0, 1},    {0x0F, 0.0, 1370.0, 1},   {0x10, -100.0, 400.0, 1},
    {0x11, 0.0, 1000.0, 1},   {0x12, 500.0, 1750.0, 1}, {0x13, 500.0, 1750.0, 1},
    {0x14, 500.0, 1800.0, 1},
};

constexpr SSimRange kTcCurrents[] = {{0x06, -20.0, 20.0, 3}, {0x07, 4.0, 20.0, 3}};

constexpr SSimRange kUniversalVoltsAndCurrents[] = {
    {0x02, -100.0, 100.0, 2}, {0x03, -500.0, 500.0, 2}, {0x04, -1.0, 1.0, 4},
    {0x05, -2.5, 2.5, 4},     {0x07, 4.0, 20.0, 3},     {0x08, -10.0, 10.0, 3},
    {0x09, -5.0, 5.0, 4},     {0x0D, -20.0, 20.0, 3},
};

constexpr SSimRange kRtd6Types[] = {
    {0x20, -50.0, 150.0, 2},  {0x21, 0.0, 100.0, 2},    {0x22, 0.0, 200.0, 2},
    {0x23, 0.0, 400.0, 2},    {0x24, -200.0, 200.0, 2}, {0x25, -50.0, 150.0, 2},
    {0x26, 0.0, 100.0, 2},    {0x27, 0.0, 200.0, 2},    {0x28, 0.0, 400.0, 2},
    {0x29, -200.0, 200.0, 2}, {0x2A, -40.0, 160.0, 2},  {0x2B, -30.0, 120.0, 2},
    {0x2C, -80.0, 100.0, 2},  {0x2D, 0.0, 100.0, 2},
};

constexpr SSimRange kThermistorTypes[] = {{0x30, 0.0, 100.0, 2}, {0x31, 0.0, 100.0, 2}};

constexpr SSimRange kRtd6307Ranges[] = {
    {0x20, -100.0, 100.0, 2}, {0x21, 0.0, 100.0, 2},    {0x22, 0.0, 200.0, 2},
    {0x23, 0.0, 600.0, 2},    {0x24, -100.0, 100.0, 2}, {0x25, 0.0, 100.0, 2},
    {0x26, 0.0, 200.0, 2},    {0x27, 0.0, 600.0, 2},    {0x2B, -50.0, 150.0, 2},
    {0x2C, -50.0, 150.0, 2},  {0x2D, -200.0, 650.0, 2}, {0x2E, -200.0, 650.0, 2},
    {0x2F, -50.0, 150.0, 2},
};

template <size_t N> const SSimRange* Find(const SSimRange (&table)[N], BYTE code)
{
    auto it = std::find_if(std::begin(table), std::end(table),
                           [code](const SSimRange& r) { return r.nCode == code; });
    return it == std::end(table) ? nullptr : &*it;
}

const SSimPerChannelModel kTcModel = {8, SimTcChannelTypes, 0x0F, {0xFF}, 0x04};
const SSimPerChannelModel kUniversalModel = {8, SimUniversalTypes, 0x08, {0x00, 0xFF}, 0x80};
const SSimPerChannelModel kRtd6Model = {6, SimRtd6Types, 0x20, {0xFF, 0x00}, 0x04};
const SSimPerChannelModel kThermistorModel = {6, SimThermistorTypes, 0x30, {0xFF, 0x00}, 0x04};
const SSimPerChannelModel kRtd6307Model = {6, SimRtd6307Ranges, 0x20, {0x20, 0xFF}, 0x04};

} // namespace

const SSimRange* SimTcChannelTypes(BYTE code)
{
    const SSimRange* current = Find(kTcCurrents, code);
    return current ? current : Find(kThermocouples, code);
}
const SSimRange* SimUniversalTypes(BYTE code)
{
    const SSimRange* volts = Find(kUniversalVoltsAndCurrents, code);
    return volts ? volts : Find(kThermocouples, code);
}
const SSimRange* SimRtd6Types(BYTE code)
{
    return Find(kRtd6Types, code);
}
const SSimRange* SimThermistorTypes(BYTE code)
{
    return Find(kThermistorTypes, code);
}
const SSimRange* SimRtd6307Ranges(BYTE code)
{
    return Find(kRtd6307Ranges, code);
}

CSimTempPerChannel::CSimTempPerChannel(std::string model, const SSimPerChannelModel& spec)
    : CSimAnalogModule(std::move(model), spec.nChannels, spec.pRanges, spec.vecConfigTypes.at(0),
                       spec.nChannels, spec.nChannelType),
      m_spec(spec), m_nEnableMask(static_cast<BYTE>((1u << spec.nChannels) - 1))
{
}

void CSimTempPerChannel::SetEnableMask(BYTE mask)
{
    if (mask & ~AllChannels()) throw std::invalid_argument("the mask names a missing channel");
    m_nEnableMask = mask;
}

std::optional<std::string> CSimTempPerChannel::OnAscii(char lead, std::string_view body, DWORD now)
{
    if (lead == '#' && body.empty()) {
        std::string reply = ">";
        for (int channel = 0; channel < Channels(); ++channel) reply += Reading(channel, now);
        return reply;
    }
    if (lead != '$') return std::nullopt;
    if (body == "6") return Ack() + SimHexPair(m_nEnableMask);
    if (body.size() == 3 && body[0] == '5') {
        // Bits of channels the module does not have are ignored.
        auto mask = SimParseHex(body.substr(1));
        if (!mask) return Refuse();
        m_nEnableMask = static_cast<BYTE>(*mask & AllChannels());
        return Ack();
    }
    return std::nullopt;
}

bool CSimTempPerChannel::AcceptsType(BYTE type) const
{
    const std::vector<BYTE>& types = m_spec.vecConfigTypes;
    return std::find(types.begin(), types.end(), type) != types.end();
}

BYTE CSimTempPerChannel::ReportedFormat() const
{
    BYTE protocol = Protocol() == ESimProtocol::Rtu ? m_spec.nProtocolBit : 0;
    return static_cast<BYTE>(Format() | protocol);
}

void CSimTempPerChannel::ApplyFormat(BYTE format)
{
    CSimAnalogModule::ApplyFormat(static_cast<BYTE>(format & ~m_spec.nProtocolBit));
    SetProtocol(format & m_spec.nProtocolBit ? ESimProtocol::Rtu : ESimProtocol::Ascii);
}

std::optional<WORD> CSimTempPerChannel::ReadRegister(WORD reg, DWORD now)
{
    if (reg >= kRegValues && reg < kRegValues + Channels()) return Raw(reg - kRegValues, now);
    if (reg == kRegEnableMask) return m_nEnableMask;
    return std::nullopt;
}

BYTE CSimTempPerChannel::WriteRegister(WORD reg, WORD value)
{
    if (reg != kRegEnableMask) return kSimIllegalAddress;
    if (value & ~AllChannels()) return kSimIllegalValue;
    m_nEnableMask = static_cast<BYTE>(value);
    return kSimOk;
}

CSimTcPerChannel::CSimTcPerChannel(std::string model)
    : CSimTempPerChannel(std::move(model), kTcModel)
{
}

CSimUniversalInput::CSimUniversalInput(std::string model)
    : CSimTempPerChannel(std::move(model), kUniversalModel)
{
}

CSimRtd6PerChannel::CSimRtd6PerChannel(std::string model)
    : CSimTempPerChannel(std::move(model), kRtd6Model)
{
}

CSimThermistor6::CSimThermistor6(std::string model)
    : CSimTempPerChannel(std::move(model), kThermistorModel)
{
}

CSimRtd6307A::CSimRtd6307A(std::string model) : CSimTempPerChannel(std::move(model), kRtd6307Model)
{
}
