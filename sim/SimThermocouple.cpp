#include "SimThermocouple.h"

#include "SimBridgeInput.h"

#include "SimCodec.h"

#include <array>
#include <cstdio>
#include <cstdlib>

namespace {

// Thermocouple spans in degrees Celsius, one decimal in seven characters ("+0760.0").
constexpr std::array<SSimRange, 11> kTcRanges = {{
    {0x0E, 0.0, 760.0, 1},
    {0x0F, 0.0, 1370.0, 1},
    {0x10, -100.0, 400.0, 1},
    {0x11, 0.0, 1000.0, 1},
    {0x12, 500.0, 1750.0, 1},
    {0x13, 500.0, 1750.0, 1},
    {0x14, 500.0, 1800.0, 1},
    {0x15, -200.0, 1300.0, 1},
    {0x16, 0.0, 2320.0, 1},
    {0x17, 0.0, 2320.0, 1},
    {0x18, 4.0, 20.0, 3},
}};
constexpr SSimRange kChannel4To20mA = {0x07, 4.0, 20.0, 3};
constexpr BYTE kLastMilliVoltCode = 0x06; // "00" to "06" are the bridge module's ranges
constexpr BYTE kLastChannelTcCode = 0x14;
constexpr BYTE kTypeK = 0x0F;
constexpr double kCjcStep = 0.009;
constexpr double kCjcTemperature = 25.0;
constexpr unsigned kMaxCoefficient = 50000;

// Four hex digits in either case.
std::optional<unsigned> ParseFourHex(std::string_view text)
{
    if (text.size() != 4) return std::nullopt;
    std::string upper(text);
    for (char& c : upper)
        if (c >= 'a' && c <= 'f') c = static_cast<char>(c - 'a' + 'A');
    return SimParseHex(upper);
}

} // namespace

const SSimRange* SimTcRange(BYTE code)
{
    return code <= kLastMilliVoltCode ? SimBridgeRange(code) : SimFindRange(kTcRanges, code);
}

const SSimRange* SimTcChannelRange(BYTE code)
{
    if (code == kLastMilliVoltCode) return SimBridgeRange(code);
    if (code == kChannel4To20mA.nCode) return &kChannel4To20mA;
    return code <= kLastChannelTcCode ? SimFindRange(kTcRanges, code) : nullptr;
}

std::optional<std::string> CSimTcCalibration::Answer(char lead, std::string_view body,
                                                     const std::string& ack,
                                                     const std::string& refuse)
{
    if (lead == '~' && body.substr(0, 1) == "L") {
        auto value = ParseFourHex(body.substr(1));
        if (!value || *value > kMaxCoefficient) return refuse;
        m_nCoefficient = static_cast<WORD>(*value);
        return ack;
    }
    if (lead != '$') return std::nullopt;
    if (body == "3") {
        char text[16];
        std::snprintf(text, sizeof text, ">%+07.2f", kCjcTemperature + m_nCjcOffset * kCjcStep);
        return std::string(text);
    }
    if (body.substr(0, 1) == "9") return SetOffset(body.substr(1), ack, refuse);
    if (body == "J") return ack + (m_nCjcOffset < 0 ? "-" : "+") + SimHex4(std::abs(m_nCjcOffset));
    if (body == "L") return ack + SimHex4(m_nCoefficient);
    if (body == "1" || body == "0") {
        ++(body == "1" ? m_nZero : m_nSpan);
        return ack;
    }
    return std::nullopt;
}

std::string CSimTcCalibration::SetOffset(std::string_view text, const std::string& ack,
                                         const std::string& refuse)
{
    // Four digits without a sign are a positive offset.
    bool negative = text.size() == 5 && text[0] == '-';
    if (text.size() == 5 && (text[0] == '+' || negative)) text.remove_prefix(1);
    auto steps = ParseFourHex(text);
    if (!steps) return refuse;
    m_nCjcOffset = negative ? -static_cast<int>(*steps) : static_cast<int>(*steps);
    return ack;
}

CSimThermocouple8::CSimThermocouple8(std::string model)
    : CSimColdJunction(std::move(model), SimTcRange, kTypeK, 0)
{
}

CSimThermocouplePerChannel::CSimThermocouplePerChannel(std::string model)
    : CSimColdJunction(std::move(model), SimTcChannelRange, kTypeK)
{
}

CSimThermocoupleAlarm::CSimThermocoupleAlarm(std::string model)
    : CSimColdJunction(std::move(model), SimTcRange, kTypeK)
{
}
