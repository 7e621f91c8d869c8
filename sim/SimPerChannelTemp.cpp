#include "SimPerChannelTemp.h"

#include "SimThermocouple.h"

#include <algorithm>

namespace {

constexpr BYTE kFirstThermocouple = 0x0E;

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

const SSimPerChannelModel kUniversalModel = {8, SimUniversalTypes, 0x08, {0x00, 0xFF}, 0x80};
const SSimPerChannelModel kRtd6Model = {6, SimRtd6Types, 0x20, {0xFF, 0x00}, 0x04};
const SSimPerChannelModel kThermistorModel = {6, SimThermistorTypes, 0x30, {0xFF, 0x00}, 0x04};
const SSimPerChannelModel kRtd6307Model = {6, SimRtd6307Ranges, 0x20, {0x20, 0xFF}, 0x04};

} // namespace

const SSimRange* SimUniversalTypes(BYTE code)
{
    // The thermocouples are those of the thermocouple modules' channels.
    const SSimRange* volts = SimFindRange(kUniversalVoltsAndCurrents, code);
    return volts ? volts : code >= kFirstThermocouple ? SimTcChannelRange(code) : nullptr;
}
const SSimRange* SimRtd6Types(BYTE code)
{
    return SimFindRange(kRtd6Types, code);
}
const SSimRange* SimThermistorTypes(BYTE code)
{
    return SimFindRange(kThermistorTypes, code);
}
const SSimRange* SimRtd6307Ranges(BYTE code)
{
    return SimFindRange(kRtd6307Ranges, code);
}

CSimTempPerChannel::CSimTempPerChannel(std::string model, const SSimPerChannelModel& spec)
    : CSimAnalogInputPerChannel(std::move(model), spec.pRanges, spec.nChannelType, spec.nChannels),
      m_spec(spec)
{
    // The module's own type is the first the "%" command takes.
    SetType(spec.vecConfigTypes.at(0));
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
