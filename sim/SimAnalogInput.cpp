#include "SimAnalogInput.h"

#include <algorithm>

#include "SimCodec.h"

namespace {

constexpr WORD kRegValues = 0x0000;
constexpr WORD kRegEnableMask = 0x00DC;
constexpr BYTE kProtocolBit = 0x04;
constexpr WORD kCoilInput = 0x0000;
constexpr WORD kCoilOutputs = 0x0010;

// "DO0d" with d 0 to 3: the two outputs of a single-channel module.
std::optional<BYTE> ParseOutputs(std::string_view body)
{
    if (body.size() != 4 || body.substr(0, 3) != "DO0" || body[3] < '0' || body[3] > '3')
        return std::nullopt;
    return static_cast<BYTE>(body[3] - '0');
}

} // namespace

std::string SimDioState(const std::string& ack, int status, BYTE outputs, BYTE inputs)
{
    // The low digit of each pair.
    auto digit = [](unsigned value) { return SimHexPair(value).substr(1); };
    return ack + digit(static_cast<unsigned>(status)) + "0" + digit(outputs) + "0" + digit(inputs);
}

// ---- eight channels ----

CSimAnalogInput8::CSimAnalogInput8(std::string model, SimRangeLookup ranges, BYTE type,
                                   int channelTypes, int channels)
    : CSimAnalogModule(std::move(model), channels, ranges, channelTypes ? 0xFF : type, channelTypes,
                       type),
      m_nEnableMask(AllChannels())
{
}

std::optional<std::string> CSimAnalogInput8::OnAscii(char lead, std::string_view body, DWORD now)
{
    if (lead == '#' && body.empty()) {
        std::string reply = ">";
        for (int channel = 0; channel < Channels(); ++channel) reply += Reading(channel, now);
        return reply;
    }
    if (lead != '$') return std::nullopt;
    if (body == "6") return Ack() + SimHexPair(m_nEnableMask);
    if (body.size() == 3 && body[0] == '5') {
        // Bits of channels the module does not have are dropped.
        auto mask = SimParseHex(body.substr(1));
        if (!mask) return Refuse();
        m_nEnableMask = static_cast<BYTE>(*mask & AllChannels());
        return Ack();
    }
    return std::nullopt;
}

std::optional<WORD> CSimAnalogInput8::ReadRegister(WORD reg, DWORD now)
{
    if (reg >= kRegValues && reg < kRegValues + Channels()) return Raw(reg - kRegValues, now);
    if (reg == kRegEnableMask) return m_nEnableMask;
    return std::nullopt;
}

BYTE CSimAnalogInput8::WriteRegister(WORD reg, WORD value)
{
    if (reg != kRegEnableMask) return kSimIllegalAddress;
    if (value & ~AllChannels()) return kSimIllegalValue;
    m_nEnableMask = static_cast<BYTE>(value);
    return kSimOk;
}

CSimAnalogInputPerChannel::CSimAnalogInputPerChannel(std::string model)
    : CSimAnalogInputPerChannel(std::move(model), SimAiRange, kSimAiDefaultType)
{
}

CSimAnalogInputPerChannel::CSimAnalogInputPerChannel(std::string model, SimRangeLookup ranges,
                                                     BYTE channelType, int channels)
    : CSimAnalogInput8(std::move(model), ranges, channelType, channels, channels)
{
}

BYTE CSimAnalogInputPerChannel::ReportedFormat() const
{
    BYTE protocol = Protocol() == ESimProtocol::Rtu ? kProtocolBit : 0;
    return static_cast<BYTE>((Format() & ~kProtocolBit) | protocol);
}

void CSimAnalogInputPerChannel::ApplyFormat(BYTE format)
{
    CSimAnalogInput8::ApplyFormat(static_cast<BYTE>(format & ~kProtocolBit));
    SetProtocol(format & kProtocolBit ? ESimProtocol::Rtu : ESimProtocol::Ascii);
}

// ---- one channel with alarms ----

CSimAnalogInputAlarm::CSimAnalogInputAlarm(std::string model)
    : CSimAnalogInputAlarm(std::move(model), SimAiRange, kSimAiDefaultType)
{
}

CSimAnalogInputAlarm::CSimAnalogInputAlarm(std::string model, SimRangeLookup ranges, BYTE type)
    : CSimAnalogModule(std::move(model), 1, ranges, type)
{
}

double CSimAnalogInputAlarm::HighLimit() const
{
    const SSimRange& range = RangeOf(0);
    return std::clamp(m_dHigh.value_or(range.dHigh), range.dLow, range.dHigh);
}

double CSimAnalogInputAlarm::LowLimit() const
{
    const SSimRange& range = RangeOf(0);
    return std::clamp(m_dLow.value_or(range.dLow), range.dLow, range.dHigh);
}

BYTE CSimAnalogInputAlarm::Outputs(DWORD now)
{
    double value = Value(0, now);
    BYTE alarms = static_cast<BYTE>((value < LowLimit() ? 1 : 0) | (value > HighLimit() ? 2 : 0));
    switch (m_eMode) {
    case Momentary:
        return alarms;
    case Latched:
        return m_nLatched |= alarms;
    default:
        return m_nOutputs;
    }
}

std::optional<std::string> CSimAnalogInputAlarm::OnAscii(char lead, std::string_view body,
                                                         DWORD now)
{
    if (lead == '#' && body.empty()) return ">" + Reading(0, now);
    if (lead == '@') return AlarmCommand(body, now);
    return std::nullopt;
}

std::optional<std::string> CSimAnalogInputAlarm::AlarmCommand(std::string_view body, DWORD now)
{
    if (body == "RH") return Ack() + SimFormatEngineering(RangeOf(0), HighLimit());
    if (body == "RL") return Ack() + SimFormatEngineering(RangeOf(0), LowLimit());
    if (body.substr(0, 2) == "HI") return SetLimit(m_dHigh, body.substr(2));
    if (body.substr(0, 2) == "LO") return SetLimit(m_dLow, body.substr(2));
    if (body == "DI") return SimDioState(Ack(), m_eMode, Outputs(now), 0);
    if (body.substr(0, 2) == "DO") return SetOutputs(body);
    if (body == "DA") return SetMode(Disabled);
    if (body == "EAM") return SetMode(Momentary);
    if (body == "EAL") return SetMode(Latched);
    if (body == "CA") {
        m_nLatched = 0;
        return Ack();
    }
    return std::nullopt;
}

std::string CSimAnalogInputAlarm::SetLimit(std::optional<double>& limit, std::string_view text)
{
    auto value = SimParseNumber(text);
    const SSimRange& range = RangeOf(0);
    if (!value || *value < range.dLow || *value > range.dHigh) return Refuse();
    limit = *value;
    return Ack();
}

// While the alarm is on, the outputs belong to it and cannot be set by hand.
std::string CSimAnalogInputAlarm::SetOutputs(std::string_view body)
{
    auto outputs = ParseOutputs(body);
    if (!outputs || m_eMode != Disabled) return Refuse();
    m_nOutputs = *outputs;
    return Ack();
}

std::string CSimAnalogInputAlarm::SetMode(EAlarmMode mode)
{
    m_eMode = mode;
    m_nOutputs = 0;
    m_nLatched = 0;
    return Ack();
}

std::optional<WORD> CSimAnalogInputAlarm::ReadRegister(WORD reg, DWORD now)
{
    if (reg == kRegValues) return Raw(0, now);
    return std::nullopt;
}

// ---- one channel with digital I/O ----

CSimAnalogInputDio::CSimAnalogInputDio(std::string model)
    : CSimAnalogModule(std::move(model), 1, SimAiRange, kSimAiDefaultType)
{
}

void CSimAnalogInputDio::SetDigitalInput(int index, bool on)
{
    if (index == 0) m_bInput = on;
}

std::optional<std::string> CSimAnalogInputDio::OnAscii(char lead, std::string_view body, DWORD now)
{
    if (lead == '#' && body.empty()) return ">" + Reading(0, now);
    if (lead != '@') return std::nullopt;
    if (body == "DI") return SimDioState(Ack(), 0, m_nOutputs, m_bInput ? 1 : 0);
    if (body.substr(0, 2) != "DO") return std::nullopt;
    auto outputs = ParseOutputs(body);
    if (!outputs) return Refuse();
    m_nOutputs = *outputs;
    return Ack();
}

std::optional<WORD> CSimAnalogInputDio::ReadRegister(WORD reg, DWORD now)
{
    if (reg == kRegValues) return Raw(0, now);
    return std::nullopt;
}

std::optional<bool> CSimAnalogInputDio::ReadCoil(WORD coil, DWORD /*now*/)
{
    if (coil == kCoilInput) return m_bInput;
    if (coil == kCoilOutputs || coil == kCoilOutputs + 1)
        return (m_nOutputs >> (coil - kCoilOutputs) & 1) != 0;
    return std::nullopt;
}

BYTE CSimAnalogInputDio::WriteCoil(WORD coil, bool on)
{
    if (coil != kCoilOutputs && coil != kCoilOutputs + 1) return kSimIllegalAddress;
    BYTE bit = static_cast<BYTE>(1 << (coil - kCoilOutputs));
    m_nOutputs = static_cast<BYTE>(on ? m_nOutputs | bit : m_nOutputs & ~bit);
    return kSimOk;
}
