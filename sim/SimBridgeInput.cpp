#include "SimBridgeInput.h"

#include "SimAnalogInput.h"
#include "SimCodec.h"

#include <array>
#include <cstdio>

namespace {

constexpr std::array<SSimRange, 7> kBridgeRanges = {{
    {0x00, -15.0, 15.0, 3},
    {0x01, -50.0, 50.0, 3},
    {0x02, -100.0, 100.0, 2},
    {0x03, -500.0, 500.0, 2},
    {0x04, -1.0, 1.0, 4},
    {0x05, -2.5, 2.5, 4},
    {0x06, -20.0, 20.0, 3},
}};

constexpr BYTE kDefaultRange = 0x01;
constexpr double kMaxExcitation = 10.0;

} // namespace

const SSimRange* SimBridgeRange(BYTE code)
{
    return SimFindRange(kBridgeRanges, code);
}

CSimBridgeInput::CSimBridgeInput(std::string model)
    : CSimAnalogModule(std::move(model), 2, SimBridgeRange, kDefaultRange)
{
}

void CSimBridgeInput::SetDigitalInput(int index, bool on)
{
    if (index == 0) m_bInput = on;
}

std::optional<std::string> CSimBridgeInput::OnAscii(char lead, std::string_view body, DWORD now)
{
    if (lead == '#' && body.empty()) return ">" + Reading(m_nChannel, now);
    if (lead == '@' && body == "DI") return SimDioState(Ack(), 0, m_nOutputs, m_bInput ? 1 : 0);
    if (lead == '@' && body.substr(0, 2) == "DO") return SetOutputs(body.substr(2));
    if (lead == '$') return Command(body);
    return std::nullopt;
}

std::optional<std::string> CSimBridgeInput::Command(std::string_view body)
{
    if (body == "6") {
        char text[16];
        std::snprintf(text, sizeof text, "%+07.3f", m_dExcitation);
        return Ack() + text;
    }
    if (!body.empty() && body[0] == '7') return SetExcitation(body.substr(1));
    if (body.size() == 2 && body[0] == '3') {
        if (body[1] != '0' && body[1] != '1') return Refuse();
        m_nChannel = body[1] - '0';
        return Ack();
    }
    return std::nullopt;
}

std::string CSimBridgeInput::SetExcitation(std::string_view text)
{
    auto volts = SimParseNumber(text);
    if (!volts || *volts < 0.0 || *volts > kMaxExcitation) return Refuse();
    m_dExcitation = *volts;
    return Ack();
}

// "DObd": bank b 0 sets outputs CH1 and CH2, bank 1 CH3 and CH4, each from the two bits of d.
std::string CSimBridgeInput::SetOutputs(std::string_view body)
{
    if (body.size() != 2 || (body[0] != '0' && body[0] != '1') || body[1] < '0' || body[1] > '3')
        return Refuse();
    int shift = (body[0] - '0') * 2;
    m_nOutputs = static_cast<BYTE>((m_nOutputs & ~(3 << shift)) | (body[1] - '0') << shift);
    return Ack();
}

std::optional<WORD> CSimBridgeInput::ReadRegister(WORD reg, DWORD now)
{
    if (reg < 2) return Raw(reg, now);
    return std::nullopt;
}
