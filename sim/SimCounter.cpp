#include "SimCounter.h"

#include "SimCodec.h"

#include <cmath>
#include <cstdio>

namespace {

constexpr BYTE kCounterType = 0x50;
constexpr BYTE kFrequencyType = 0x51;

// Eight hex digits, as the module shows and takes values.
std::optional<DWORD> ParseValue(std::string_view text)
{
    if (text.size() != 8) return std::nullopt;
    return SimParseHex(text);
}

} // namespace

CSimCounter::CSimCounter(std::string model) : CSimModule(std::move(model), kCounterType) {}

void CSimCounter::SetInput(int channel, double value)
{
    if (channel < 0 || channel > 1) return;
    auto k = static_cast<size_t>(channel);
    m_dRate[k] = std::max(0.0, value);
}

DWORD CSimCounter::Count(int channel, DWORD now) const
{
    auto k = static_cast<size_t>(channel);
    if (Type() == kFrequencyType) return static_cast<DWORD>(std::lround(m_dRate[k]));
    double pulses = m_dRate[k] * (now - m_dwSince[k]) / 1000.0;
    double count = m_dwPreset[k] + m_dwBase[k] + pulses;
    return count > m_dwMax[k] ? m_dwMax[k] : static_cast<DWORD>(count);
}

std::string CSimCounter::Value(DWORD value) const
{
    char text[16];
    std::snprintf(text, sizeof text, "%08X", static_cast<unsigned>(value));
    return Ack() + text;
}

std::string CSimCounter::SetValue(DWORD& target, std::string_view text)
{
    auto value = ParseValue(text);
    if (!value) return Refuse();
    target = *value;
    return Ack();
}

std::string CSimCounter::SetDigit(int& target, std::string_view text, int highest)
{
    if (text.size() != 1 || text[0] < '0' || text[0] > '0' + highest) return Refuse();
    target = text[0] - '0';
    return Ack();
}

std::optional<std::string> CSimCounter::OnAscii(char lead, std::string_view body, DWORD now)
{
    switch (lead) {
    case '#':
        if (body == "0" || body == "1") return ">" + Value(Count(body[0] - '0', now)).substr(3);
        return std::nullopt;
    case '$':
        return Dollar(body, now);
    case '@':
        return At(body);
    case '~':
        return Tilde(body);
    default:
        return std::nullopt;
    }
}

std::optional<std::string> CSimCounter::Dollar(std::string_view body, DWORD now)
{
    if (body == "B") return Ack() + std::to_string(m_nInputMode);
    if (body.substr(0, 1) == "B") return SetDigit(m_nInputMode, body.substr(1), 3);
    if (body == "A") return Ack() + std::to_string(m_nGate);
    if (body.substr(0, 1) == "A") return SetDigit(m_nGate, body.substr(1), 2);
    if (body == "60" || body == "61") {
        auto k = static_cast<size_t>(body[1] - '0');
        m_dwBase[k] = 0;
        m_dwSince[k] = now;
        return Ack();
    }
    if (body == "30" || body == "31") return Value(m_dwMax[static_cast<size_t>(body[1] - '0')]);
    if (body.substr(0, 2) == "30" || body.substr(0, 2) == "31")
        return SetValue(m_dwMax[static_cast<size_t>(body[1] - '0')], body.substr(2));
    return std::nullopt;
}

std::optional<std::string> CSimCounter::At(std::string_view body)
{
    if (body == "G0" || body == "G1") return Value(m_dwPreset[static_cast<size_t>(body[1] - '0')]);
    if (body.substr(0, 2) == "P0" || body.substr(0, 2) == "P1")
        return SetValue(m_dwPreset[static_cast<size_t>(body[1] - '0')], body.substr(2));
    if (body == "DI") {
        int alarm = m_nAlarmMode == 0 ? m_nAlarmEnables : m_nModeB;
        return Ack() + std::to_string(alarm) + "0" + std::to_string(m_nOutputs) + "00";
    }
    if (body.substr(0, 3) == "DO0") {
        int outputs = 0;
        std::string reply = SetDigit(outputs, body.substr(3), 3);
        if (reply[0] == '!') m_nOutputs = static_cast<BYTE>(outputs);
        return reply;
    }
    if (body == "RP") return Value(m_dwAlarm[0]);
    if (body == "RA") return Value(m_dwAlarm[1]);
    if (body.substr(0, 2) == "PA") return SetValue(m_dwAlarm[0], body.substr(2));
    if (body.substr(0, 2) == "SA") return SetValue(m_dwAlarm[1], body.substr(2));
    // ModeA: enable or disable one counter's alarm; ModeB: the alarm kind.
    if (body == "DA0" || body == "DA1" || body == "EA0" || body == "EA1") {
        int bit = 1 << (body[2] - '0');
        m_nAlarmEnables = body[0] == 'E' ? (m_nAlarmEnables | bit) : (m_nAlarmEnables & ~bit);
        return Ack();
    }
    if (body == "DA" || body == "EAM" || body == "EAL") {
        m_nModeB = body == "DA" ? 0 : body == "EAM" ? 1 : 2;
        return Ack();
    }
    return std::nullopt;
}

std::optional<std::string> CSimCounter::Tilde(std::string_view body)
{
    if (body == "B") return Ack() + std::to_string(m_nAlarmMode);
    if (body.substr(0, 1) == "A") return SetDigit(m_nAlarmMode, body.substr(1), 1);
    return std::nullopt;
}
