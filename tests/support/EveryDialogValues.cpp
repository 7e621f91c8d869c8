#include "EveryDialog.h"

#include "SimAnalog.h"
#include "SimAnalogOutput.h"
#include "SimCounter.h"
#include "SimDigitalIo.h"
#include "SimOutputDi.h"
#include "SimPowerMeter.h"
#include "SimRack.h"
#include "SimRackAnalog.h"
#include "SimRackModbus.h"
#include "Strings.h"

#include <limits>

namespace {

// Held at this, a value settles at the top of its range.
constexpr double kTop = std::numeric_limits<double>::max();

// Every analog input at the top of its range (the channels drift well below it), and the
// digital input of the models that have one closed.
void ChangeAnalogInputs(CSimAnalogModule& module)
{
    for (int channel = 0; channel < module.Channels(); ++channel) module.SetInput(channel, kTop);
    module.SetDigitalInput(0, true);
}

// Every output at the top of its range (they start at zero).
void ChangeAnalogOutputs(CSimAnalogOutput& module)
{
    for (int channel = 0; channel < module.Channels(); ++channel) module.SetInput(channel, kTop);
}

// Every output at the top of its range, and every input closed (they start open).
void ChangeOutputsAndInputs(CSimOutputDi& module)
{
    for (int channel = 0; channel < 4; ++channel) {
        module.SetInput(channel, kTop);
        module.SetDigitalInput(channel, true);
    }
}

// Every input and output switches over; an input switched on counts and latches.
void ChangeDigitalIo(CSimDigitalIo& module)
{
    module.SetOutputs(static_cast<WORD>(~module.Outputs()));
    WORD inputs = module.Inputs();
    for (int input = 0; input < module.InputCount(); ++input)
        module.SetDigitalInput(input, (inputs & (1u << input)) == 0);
}

// Pulses on both channels, so the counts move and the frequencies change.
void ChangeCounter(CSimCounter& module)
{
    module.SetInput(0, 1000.0);
    module.SetInput(1, 250.0);
}

// Every reading drops to one half in its unit (none is there at start), and the input closes.
void ChangePowerMeter(CSimPowerMeter& module)
{
    for (int quantity = 0; quantity < kSimPowerQuantities; ++quantity)
        module.SetInput(quantity, 0.5);
    module.SetDigitalInput(0, true);
}

// Each slot's module as the main unit relays it: a digital slot's outputs switch over through its
// own switch command and its inputs close; an analog output goes to the top of its range; an
// analog input moves by some units, each channel by another amount.
void ChangeSlot(CSimSlot& slot)
{
    if (auto* digital = dynamic_cast<CSimDigitalSlot*>(&slot)) {
        for (int channel = 0; channel < 16; ++channel) {
            if ((digital->OutputMask() & (1u << channel)) == 0) continue;
            bool on = (digital->Outputs() & (1u << channel)) != 0;
            digital->Command('#', Format("1%X0%d", channel, on ? 0 : 1), 0);
        }
        digital->SetInputs(0xFFFF);
    } else if (auto* output = dynamic_cast<CSimAnalogOutputSlot*>(&slot)) {
        for (int channel = 0; channel < 4; ++channel) {
            CSimAnalogOutputSlot::SChannel& ch = output->Channel(channel);
            ch.dOutput = ch.cRange == '2' ? 10.0 : 20.0;
        }
    } else if (auto* input = dynamic_cast<CSimAnalogSlotBase*>(&slot)) {
        for (int channel = 0; channel < input->Channels(); ++channel)
            input->Channel(channel).dValue += 1.25 + channel;
    }
}

void ChangeRack(CSimRack& module)
{
    for (int slot = 0; slot < 8; ++slot) {
        if (CSimSlot* inSlot = module.Slot(slot)) ChangeSlot(*inSlot);
    }
}

// Every slot's readings move, its coils switch over and its alarms turn.
void ChangeModbusRack(CSimRackModbus& module)
{
    for (int slot = 0; slot < CSimRackModbus::kSlots; ++slot) {
        CSimRackModbus::SSlot& s = module.Slot(slot);
        for (WORD& raw : s.nRaw) raw = static_cast<WORD>(raw + 1000);
        s.nCoils = static_cast<WORD>(~s.nCoils);
        s.nLowAlarms = static_cast<BYTE>(~s.nLowAlarms);
        s.nHighAlarms = static_cast<BYTE>(~s.nHighAlarms);
    }
}

template <class Family, void (*Change)(Family&)> bool ChangeIf(CSimModule& module)
{
    auto* family = dynamic_cast<Family*>(&module);
    if (family) Change(*family);
    return family != nullptr;
}

constexpr bool (*kFamilies[])(CSimModule&) = {
    ChangeIf<CSimAnalogModule, ChangeAnalogInputs>,
    ChangeIf<CSimAnalogOutput, ChangeAnalogOutputs>,
    ChangeIf<CSimOutputDi, ChangeOutputsAndInputs>,
    ChangeIf<CSimDigitalIo, ChangeDigitalIo>,
    ChangeIf<CSimCounter, ChangeCounter>,
    ChangeIf<CSimPowerMeter, ChangePowerMeter>,
    ChangeIf<CSimRack, ChangeRack>,
    ChangeIf<CSimRackModbus, ChangeModbusRack>,
};

// False for a module of a family without a change here.
bool ChangeValues(CSimModule& module)
{
    for (auto change : kFamilies) {
        if (change(module)) return true;
    }
    return false;
}

} // namespace

void CEveryDialogFixture::ChangeModuleValues()
{
    for (size_t i = 0; i < m_bus.Count(); ++i) {
        CSimModule& module = m_bus.Module(i);
        EXPECT_TRUE(ChangeValues(module)) << "no change of values for " << module.Model();
    }
}
