// The acknowledged steps of the output, digital I/O, counter and power-meter dialogs (their
// configurations are built from the every-dialog rows).
#include "AckSteps.h"

#include "PollTimer.h"
#include "Presses.h"
#include "UiDriver.h"
#include "analog_output/AnalogOutputIds.h"
#include "analog_output/OutputDiIds.h"
#include "counter_power/CounterPowerIds.h"
#include "digital_io/DigitalIoIds.h"

namespace {

const char* const kReady = "Ready.";

// The counter's operations: each one's request and the module's "!" show "Ready.".
std::vector<SAckStep> CounterSteps()
{
    struct SOperation {
        const char* name;
        std::function<void(CDialog&)> press;
        const char* request;
    };
    const SOperation operations[] = {
        {"EnableAlarm0", ChooseAndClick(IDC_CNT_A_ENABLE0, 1, IDC_CNT_A_SET_ENABLE0), "@0AEA0"},
        {"EnableAlarm1", ChooseAndClick(IDC_CNT_A_ENABLE1, 1, IDC_CNT_A_SET_ENABLE1), "@0AEA1"},
        {"AlarmValue0", TypeAndClick(IDC_CNT_A_VALUE0, "00000100", IDC_CNT_A_SET_VALUE0),
         "@0APA00000100"},
        {"AlarmValue1", TypeAndClick(IDC_CNT_A_VALUE1, "00000200", IDC_CNT_A_SET_VALUE1),
         "@0ASA00000200"},
        // The mode B controls take clicks until the first cycle has read the alarm mode.
        {"AlarmModeB", ChooseAndClick(IDC_CNT_B_ALARM, 1, IDC_CNT_B_SET_ALARM), "@0AEAM"},
        {"HighLimitB", TypeAndClick(IDC_CNT_B_HIGH, "00000300", IDC_CNT_B_SET_HIGH),
         "@0APA00000300"},
        {"HighHighLimitB", TypeAndClick(IDC_CNT_B_HIGHHIGH, "00000400", IDC_CNT_B_SET_HIGHHIGH),
         "@0ASA00000400"},
        {"SignalModes1", Clicks(IDC_CNT_SET_MODE1), "$0AB0"},
        {"SignalModes0", Clicks(IDC_CNT_SET_MODE0), "$0AB0"},
        {"AlarmMode", ChooseAndClick(IDC_CNT_ALARM_MODE, 0, IDC_CNT_SET_ALARM_MODE), "~0AA0"},
        {"Clear0", Clicks(IDC_CNT_CLEAR0), "$0A60"},
        {"Clear1", Clicks(IDC_CNT_CLEAR1), "$0A61"},
        {"GateMode", ChooseAndClick(IDC_CNT_GATE, 0, IDC_CNT_SET_GATE), "$0AA2"},
        {"Outputs", ClickLamp(IDC_CNT_LAMP0), "@0ADO01"},
        {"Preset0", TypeAndClick(IDC_CNT_PRESET0, "00000010", IDC_CNT_SET_PRESET0),
         "@0AP000000010"},
        {"MaxCount0", TypeAndClick(IDC_CNT_MAX0, "0000FFFF", IDC_CNT_SET_MAX0), "$0A300000FFFF"},
        {"Preset1", TypeAndClick(IDC_CNT_PRESET1, "00000020", IDC_CNT_SET_PRESET1),
         "@0AP100000020"},
        {"MaxCount1", TypeAndClick(IDC_CNT_MAX1, "0000FFFE", IDC_CNT_SET_MAX1), "$0A310000FFFE"},
    };
    std::vector<SAckStep> steps;
    for (const SOperation& op : operations) {
        steps.push_back({.dialog = "CM6363",
                         .name = op.name,
                         .press = op.press,
                         .request = op.request,
                         .okTexts = {kReady}});
    }
    return steps;
}

// The safe and power-on values of the digital I/O dialog: the module's answer is shown.
std::vector<SAckStep> DigitalIoSteps()
{
    return {
        {.dialog = "CM6373",
         .name = "ReadPowerOn",
         .press = Clicks(IDC_DIO_READ_POWERON),
         .request = "~014P",
         .okTexts = {"!010000"}},
        {.dialog = "CM6373",
         .name = "SetPowerOn",
         .press = Clicks(IDC_DIO_SET_POWERON),
         .request = "~015P",
         .okTexts = {"!01"}},
        {.dialog = "CM6373",
         .name = "ReadSafe",
         .press = Clicks(IDC_DIO_READ_SAFE),
         .request = "~014S",
         .okTexts = {"!010000"}},
        {.dialog = "CM6373",
         .name = "SetSafe",
         .press = Clicks(IDC_DIO_SET_SAFE),
         .request = "~015S",
         .okTexts = {"!01"}},
        {.dialog = "CM6373",
         .name = "ReadSafeOwnForm",
         .bus = "6322 1 9600 ascii",
         .model = "6322",
         .press = Clicks(IDC_DIO_READ_SAFE),
         .request = "$01X1",
         .okTexts = {"!010000"}},
        {.dialog = "CM6373",
         .name = "SetSafeOwnForm",
         .bus = "6322 1 9600 ascii",
         .model = "6322",
         .press = Clicks(IDC_DIO_SET_SAFE),
         .request = "$01X0",
         .okTexts = {"!01"}},
    };
}

// The 4359A: a channel's range and the four startup values.
std::vector<SAckStep> OutputDiSteps()
{
    // The values are checked against the channels' ranges: the range read shows them first (a
    // range chosen here would be a write of its own, each with a read after it).
    auto startup = [](CDialog& dlg) {
        for (int i = 0; i < 2; ++i) dlg.FireTimer(kPollTimer);
        for (int ch = 0; ch < 4; ++ch) ui::Type(dlg, kOdiStartupIds[ch], "+01.000");
        ui::Click(dlg, IDC_ODI_UPDATE_STARTUP);
    };
    return {
        {.dialog = "CM6359p",
         .name = "Range",
         .press = [](CDialog& dlg) { ui::ChooseRow(dlg, kOdiRangeIds[1], 1); },
         .request = "$077C1R31",
         .okTexts = {"Change Successful"}},
        {.dialog = "CM6359p",
         .name = "StartupValues",
         .press = startup,
         .request = "#07SC",
         .okTexts = {"Update Channel Setup Succeeded"}},
    };
}

// The analog outputs: the two-channel models' range commands.
std::vector<SAckStep> AnalogOutputSteps()
{
    return {
        {.dialog = "CM6359",
         .name = "RangeCh0",
         .bus = "6355 1 9600 ascii",
         .model = "6355",
         .press = ChooseAndClick(IDC_AO_RANGE_CH0, 1, IDC_AO_CH0_SET),
         .request = "$0190",
         .okTexts = {"CH0 Ready!"}},
        {.dialog = "CM6359",
         .name = "RangeCh1",
         .bus = "6355 1 9600 ascii",
         .model = "6355",
         .press = ChooseAndClick(IDC_AO_RANGE_CH1, 2, IDC_AO_CH1_SET),
         .request = "$0191",
         .okTexts = {"CH1 Ready!"}},
    };
}

// The power meter's ratio reads show the ratio.
std::vector<SAckStep> MeterSteps()
{
    return {
        {.dialog = "CM63508",
         .name = "ReadPt",
         .bus = "6530 1 9600 ascii pt=1234",
         .press = Clicks(IDC_PM_READ_PT),
         .request = "$013",
         .okTexts = {"1234"}},
        {.dialog = "CM63508",
         .name = "ReadCt",
         .bus = "6530 1 9600 ascii ct=4321",
         .press = Clicks(IDC_PM_READ_CT),
         .request = "$014",
         .okTexts = {"4321"}},
    };
}

} // namespace

std::vector<SAckStep> OutputCounterAckSteps()
{
    std::vector<SAckStep> steps;
    for (auto family :
         {AnalogOutputSteps, OutputDiSteps, DigitalIoSteps, CounterSteps, MeterSteps}) {
        for (SAckStep& step : family()) steps.push_back(std::move(step));
    }
    return steps;
}
