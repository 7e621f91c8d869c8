#include "SimRegistry.h"

#include "SimAnalogInput.h"
#include "SimAnalogOutput.h"
#include "SimBridgeInput.h"
#include "SimCounter.h"
#include "SimDigitalIo.h"
#include "SimOutputDi.h"
#include "SimPerChannelTemp.h"
#include "SimPowerMeter.h"
#include "SimRack.h"
#include "SimRackModbus.h"
#include "SimRtd.h"
#include "SimSixChannelTemp.h"
#include "SimThermocouple.h"

#include <array>

namespace {

using Factory = std::unique_ptr<CSimModule> (*)(std::string model);

template <class T> std::unique_ptr<CSimModule> Make(std::string model)
{
    return std::make_unique<T>(std::move(model));
}

struct SModel {
    const char* pszName;
    Factory pFactory;
};

constexpr SModel kModels[] = {
    {"6384", Make<CSimAnalogInput8>},
    {"6384C", Make<CSimAnalogInput8>},
    {"6384F", Make<CSimAnalogInput8>},
    {"6384CF", Make<CSimAnalogInput8>},
    {"6384P", Make<CSimAnalogInputPerChannel>},
    {"9384P", Make<CSimAnalogInputPerChannel>},
    {"6385", Make<CSimAnalogInputAlarm>},
    {"6389", Make<CSimAnalogInputAlarm>},
    {"6385P", Make<CSimAnalogInputDio>},
    {"6387", Make<CSimBridgeInput>},
    {"6373", Make<CSimDigitalIo>},
    {"6372", Make<CSimDigitalIo>},
    {"6370", Make<CSimDigitalIo>},
    {"6399", Make<CSimDigitalIo>},
    {"6324", Make<CSimDigitalIo>},
    {"6323", Make<CSimDigitalIo>},
    {"6376", Make<CSimDigitalIo>},
    {"6377", Make<CSimDigitalIo>},
    {"6395", Make<CSimDigitalIo>},
    {"6390", Make<CSimDigitalIo>},
    {"6398", Make<CSimDigitalIo>},
    {"6325", Make<CSimDigitalIo>},
    {"6320", Make<CSimDigitalIo>},
    {"6328", Make<CSimDigitalIo>},
    {"6322", Make<CSimDigitalIo>},
    {"6363", Make<CSimCounter>},
    {"9359", Make<CSimOutputDi>},
    {"6530", Make<CSimPowerMeter>},
    {"6539", Make<CSimPowerMeter>},
    {"2333E", Make<CSimRack>},
    {"233E", Make<CSimRackModbus>},
    {"6386", Make<CSimThermocouple8>},
    {"4386", Make<CSimThermocouple8>},
    {"4386A", Make<CSimThermocouplePerChannel>},
    {"4388", Make<CSimThermocoupleAlarm>},
    {"6388", Make<CSimThermocoupleAlarm>},
    {"6308", Make<CSimRtd>},
    {"4308", Make<CSimRtd>},
    {"6300", Make<CSimRtd>},
    {"4300", Make<CSimRtd>},
    {"6307", Make<CSimRtd>},
    {"4307", Make<CSimRtd>},
    {"6308A", Make<CSimRtd>},
    {"4308A", Make<CSimRtd>},
    {"6300A", Make<CSimRtd>},
    {"4300A", Make<CSimRtd>},
    {"6309", Make<CSimRtd>},
    {"4309", Make<CSimRtd>},
    {"6380", Make<CSimRtd>},
    {"4380", Make<CSimRtd>},
    {"6358", Make<CSimAnalogOutput1>},
    {"6355", Make<CSimAnalogOutput2>},
    {"6359", Make<CSimAnalogOutput4>},
    {"6386P", Make<CSimThermocouplePerChannel>},
    {"9386P", Make<CSimThermocouplePerChannel>},
    {"6381", Make<CSimUniversalInput>},
    {"9381", Make<CSimUniversalInput>},
    {"6382", Make<CSimRtd6BurnOut>},
    {"9382", Make<CSimRtd6BurnOut>},
    {"6382T", Make<CSimThermistor6>},
    {"9382T", Make<CSimThermistor6>},
    {"6307A", Make<CSimRtd6307A>},
};

} // namespace

std::unique_ptr<CSimModule> SimCreateModule(std::string_view model)
{
    for (const SModel& entry : kModels)
        if (model == entry.pszName) return entry.pFactory(entry.pszName);
    return nullptr;
}

std::vector<std::string> SimModelNames()
{
    std::vector<std::string> names;
    for (const SModel& entry : kModels) names.emplace_back(entry.pszName);
    return names;
}
