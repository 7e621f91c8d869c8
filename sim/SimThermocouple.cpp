#include "SimThermocouple.h"

#include "SimBridgeInput.h"

#include <array>

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
