// The acknowledged steps of the analog-input and thermocouple dialogs. A step whose outcome shows
// in a status field empties it first, so only the step's own outcome can show there. Steps that
// show no text of their own ("CH CONF", "FOLLOW CH0", the analog-input alarm clear) and the
// start-up reads are tried by the dialogs' own tests.
#include "AckSteps.h"

#include "Clock.h"
#include "UiDriver.h"
#include "analog_input/AnalogInputIds.h"
#include "thermocouple/ThermocoupleIds.h"

namespace {

// The models a step needs, as their rows name them.
inline constexpr const char* kAiSingle = "6385 1 9600 ascii";
inline constexpr const char* kAiPerChannel = "9384P 1 9600 ascii";
inline constexpr const char* kTcSingle = "4388 0x10 9600 ascii";
inline constexpr const char* kTcPerChannel = "4386A 0x10 9600 ascii";

// Empties a status field, then clicks a button.
std::function<void(CDialog&)> ClickAfterClearing(int nStatus, int nButton)
{
    return [nStatus, nButton](CDialog& dlg) {
        dlg.SetDlgItemText(nStatus, "");
        ui::Click(dlg, nButton);
    };
}

// Empties a status field, then clicks a lamp.
std::function<void(CDialog&)> LampAfterClearing(int nStatus, int nLamp)
{
    return [nStatus, nLamp](CDialog& dlg) {
        dlg.SetDlgItemText(nStatus, "");
        ui::ClickAt(dlg, ui::CentreOf(dlg, nLamp));
    };
}

// Types a limit into its field, then sets it.
std::function<void(CDialog&)> LimitSetting(int nStatus, int nField, const char* limit, int nButton)
{
    return [=](CDialog& dlg) {
        ui::Type(dlg, nField, limit);
        dlg.SetDlgItemText(nStatus, "");
        ui::Click(dlg, nButton);
    };
}

// Chooses an alarm mode, then sets it.
std::function<void(CDialog&)> ModeSetting(int nStatus, int nMode, int nButton)
{
    return [=](CDialog& dlg) {
        ui::ChooseRow(dlg, nMode, 1);
        dlg.SetDlgItemText(nStatus, "");
        ui::Click(dlg, nButton);
    };
}

// Reads CH0's type after showing another in the CH Type box: only the module's reply brings its
// own back.
std::function<void(CDialog&)> ChannelRead(int nNumber, int nType, int nRead)
{
    return [=](CDialog& dlg) {
        ui::ChooseRow(dlg, nNumber, 0);
        ui::ChooseRow(dlg, nType, 0);
        ui::Click(dlg, nRead);
    };
}

} // namespace

std::vector<SAckStep> AnalogInputAckSteps()
{
    return {
        // CM6384, eight channels.
        {.dialog = "CM6384",
         .name = "MaskWrite",
         .press = ClickAfterClearing(IDC_AI_STATUS, kAiCheckIds[0]),
         .request = "$015",
         .okTexts = {"Ready!"}},
        {.dialog = "CM6384",
         .name = "ChannelRead4384A",
         .bus = kAiPerChannel,
         .model = "4384A",
         .press = ChannelRead(IDC_AI_CH_NUMBER, IDC_AI_CH_TYPE, IDC_AI_CH_READ),
         .request = "$018C",
         .okTexts = {"+/-10V"}},
        // CM6384, one channel with alarms.
        {.dialog = "CM6384",
         .name = "AlarmLimits4385",
         .bus = kAiSingle,
         .model = "4385",
         .press =
             [](CDialog& dlg) {
                 ui::Type(dlg, IDC_AI_HIGH_LIMIT, "+05.000");
                 ui::Type(dlg, IDC_AI_LOW_LIMIT, "+01.000");
                 ui::Click(dlg, IDC_AI_ALARM_VALUE);
             },
         .request = "@01HI",
         .okTexts = {"Ready"}},
        {.dialog = "CM6384",
         .name = "AlarmMode4385",
         .bus = kAiSingle,
         .model = "4385",
         .press = ModeSetting(IDC_AI_STATUS, IDC_AI_ALARM_MODE, IDC_AI_ALARM_TYPE),
         .request = "@01EAM",
         .okTexts = {"Ready!"}},
        {.dialog = "CM6384",
         .name = "Outputs4385",
         .bus = kAiSingle,
         .model = "4385",
         .press = LampAfterClearing(IDC_AI_STATUS, IDC_AI_LAMP0),
         .request = "@01DO",
         .okTexts = {"Ready!"}},
        // CM6386, eight channels: the mask and the cold junction.
        {.dialog = "CM6386",
         .name = "MaskWrite",
         .press = ClickAfterClearing(IDC_TC_CJC_STATUS, kTcCheckIds[0]),
         .request = "$105",
         .okTexts = {"Ready!"}},
        {.dialog = "CM6386",
         .name = "CjcZero",
         .press = ClickAfterClearing(IDC_TC_CJC_STATUS, IDC_TC_CJC_ZERO),
         .request = "$109",
         .okTexts = {"Ready."}},
        {.dialog = "CM6386",
         .name = "CoefficientWrite",
         .press = ClickAfterClearing(IDC_TC_CJC_STATUS, IDC_TC_COEFFICIENT_WRITE),
         .request = "~10L",
         .okTexts = {"Ready."}},
        {.dialog = "CM6386",
         .name = "ReadCjc",
         .press = ClickAfterClearing(IDC_TC_CJC_STATUS, IDC_TC_READ_CJC),
         .request = "$10J",
         .okTexts = {"!10+0000"}},
        {.dialog = "CM6386",
         .name = "CoefficientRead",
         .press = ClickAfterClearing(IDC_TC_CJC_STATUS, IDC_TC_COEFFICIENT_READ),
         .request = "$10L",
         .okTexts = {"!102710"}},
        {.dialog = "CM6386",
         .name = "Temperature",
         .press = ClickAfterClearing(IDC_TC_CJC_STATUS, IDC_TC_TEMPERATURE),
         .request = "$103",
         .okTexts = {">+025.00"}},
        {.dialog = "CM6386",
         .name = "Calibrate",
         .press = ClickAfterClearing(IDC_TC_STATUS, IDC_TC_CALIBRATE),
         .request = "$109",
         .okTexts = {"Ready."}},
        // CM6386, the 4386A: zero and span (a timer period passes before the reply counts) and
        // the channel type.
        {.dialog = "CM6386",
         .name = "Zero4386A",
         .bus = kTcPerChannel,
         .model = "4386A",
         .press =
             [](CDialog& dlg) {
                 ClickAfterClearing(IDC_TC_STATUS, IDC_TC_ZERO)(dlg);
                 Sleep(500);
             },
         .request = "$101",
         .okTexts = {"Ready."}},
        {.dialog = "CM6386",
         .name = "Span4386A",
         .bus = kTcPerChannel,
         .model = "4386A",
         .press =
             [](CDialog& dlg) {
                 ClickAfterClearing(IDC_TC_STATUS, IDC_TC_SPAN)(dlg);
                 Sleep(500);
             },
         .request = "$100",
         .okTexts = {"Ready."}},
        {.dialog = "CM6386",
         .name = "ChannelRead4386A",
         // J types: the Range box shows the row's K.
         .bus = "4386A 0x10 9600 ascii types=0E,0E,0E,0E,0E,0E,0E,0E",
         .model = "4386A",
         .press = ChannelRead(IDC_TC_CH_NUMBER, IDC_TC_CH_TYPE, IDC_TC_CH_READ),
         .request = "$108C",
         .okTexts = {"T/C J-Type"}},
        // CM6386, one channel with alarms.
        {.dialog = "CM6386",
         .name = "HighLimit4388",
         .bus = kTcSingle,
         .model = "4388",
         .press = LimitSetting(IDC_TC_STATUS, IDC_TC_HIGH_LIMIT, "+0400.0", IDC_TC_ALARMH_SETTING),
         .request = "@10HI",
         .okTexts = {"Ready!"}},
        {.dialog = "CM6386",
         .name = "LowLimit4388",
         .bus = kTcSingle,
         .model = "4388",
         .press = LimitSetting(IDC_TC_STATUS, IDC_TC_LOW_LIMIT, "+0100.0", IDC_TC_ALARML_SETTING),
         .request = "@10LO",
         .okTexts = {"Ready!"}},
        {.dialog = "CM6386",
         .name = "AlarmMode4388",
         .bus = kTcSingle,
         .model = "4388",
         .press = ModeSetting(IDC_TC_STATUS, IDC_TC_ALARM_MODE, IDC_TC_ALARM_TYPE),
         .request = "@10EAM",
         .okTexts = {"Ready!"}},
        {.dialog = "CM6386",
         .name = "ClearAlarm4388",
         .bus = kTcSingle,
         .model = "4388",
         .press = ClickAfterClearing(IDC_TC_STATUS, IDC_TC_CLEAR_ALARM),
         .request = "@10CA",
         .okTexts = {"报警清除成功!"}},
        {.dialog = "CM6386",
         .name = "Outputs4388",
         .bus = kTcSingle,
         .model = "4388",
         .press = LampAfterClearing(IDC_TC_STATUS, IDC_TC_LOW_LAMP),
         .request = "@10DO",
         .okTexts = {"Ready!"}},
    };
}
