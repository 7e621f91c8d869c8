// The acknowledged steps of the rack dialogs. Left out, as the stale reply of the request before
// them is an acknowledgement of the same shape: the steps that follow another acknowledged step
// of the same dialog (the main unit's watchdog enables after its time-out, its configuration after
// the parity write, the alarm chain after its first link), and the watchdog time-out, which goes
// out again until acknowledged. The main unit's own tests try those with the other spoils.
#include "AckSteps.h"

#include "Presses.h"
#include "rack/RackIds.h"

std::vector<SAckStep> RackAckSteps()
{
    return {
        {.dialog = "CV1327",
         .name = "UpdateWdt",
         .press = Clicks(rack_dio::IDC_UPDATA),
         .request = "$50XS0D",
         .okTexts = {"Update WDT Setting OK!"}},
        {.dialog = "CV1359",
         .name = "UpdateSetting",
         .press = Clicks(rack_ao::IDC_UPDATE),
         .request = "$50S1C0A3",
         .okTexts = {"Update Setting Succeeded!"}},
        {.dialog = "CV1359",
         .name = "UpdateChannel0",
         .press = Clicks(rack_ao::kChannelIds[0].nUpdate),
         .request = "$50S1C0A3",
         .okTexts = {"Update Channel0 Succeeded!"}},
        {.dialog = "CV1359",
         .name = "SendAsInitial",
         .press = Clicks(rack_ao::kChannelIds[0].nInitial),
         .request = "$50S1C04",
         .okTexts = {"Startup Calibration Succeeded!"}},
        // Answered ">" alone.
        {.dialog = "CV1359",
         .name = "SendOutput",
         .press = Clicks(rack_ao::kChannelIds[0].nSend),
         .request = "#50S1C0",
         .okTexts = {"Update Output Value Succeeded!"}},
        {.dialog = "CV1300",
         .name = "UpdateEnableMask",
         .press = Clicks(rack_analog::IDC_UPDATE_ENABLE),
         .request = "$50S15",
         .okTexts = {"Setting WDT OK!"}},
        {.dialog = "CV1300",
         .name = "ClearHighLatch",
         .press = Clicks(rack_alarm::IDC_CLEAR_HIGH),
         .request = "$50S1C0CH",
         .okTexts = {"Clear High Latch Succeeded!"}},
        {.dialog = "CV1300",
         .name = "ClearLowLatch",
         .press = Clicks(rack_alarm::IDC_CLEAR_LOW),
         .request = "$50S1C0CL",
         .okTexts = {"Clear Low Latch Succeeded!"}},
        {.dialog = "CV1384H",
         .name = "UpdateEnableMask",
         .press = Clicks(rack_analog::IDC_UPDATE_ENABLE),
         .request = "$50S35",
         .okTexts = {"Update WDT Succeeded!"}},
        {.dialog = "CV1384H",
         .name = "ClearHighLatch",
         .press = Clicks(rack_alarm::IDC_CLEAR_HIGH),
         .request = "$50S3C0CH",
         .okTexts = {"Clear High Latch Succeeded!"}},
        {.dialog = "CV1384H",
         .name = "ClearLowLatch",
         .press = Clicks(rack_alarm::IDC_CLEAR_LOW),
         .request = "$50S3C0CL",
         .okTexts = {"Clear Low Latch Succeeded!"}},
    };
}
