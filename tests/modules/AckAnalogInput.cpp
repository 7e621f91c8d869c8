// The acknowledged steps of the analog-input and thermocouple dialogs.
#include "AckSteps.h"

#include "UiDriver.h"
#include "analog_input/AnalogInputIds.h"

std::vector<SAckStep> AnalogInputAckSteps()
{
    return {
        {.dialog = "CM6384",
         .name = "AlarmLimits4385",
         .bus = "6385 1 9600 ascii",
         .model = "4385",
         .press =
             [](CDialog& dlg) {
                 ui::Type(dlg, IDC_AI_HIGH_LIMIT, "+05.000");
                 ui::Type(dlg, IDC_AI_LOW_LIMIT, "+01.000");
                 ui::Click(dlg, IDC_AI_ALARM_VALUE);
             },
         .request = "@01HI",
         .okTexts = {"Ready"}},
    };
}
