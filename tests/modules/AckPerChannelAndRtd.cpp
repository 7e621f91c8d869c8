// The acknowledged steps of the per-channel and RTD dialogs (their configurations are built from
// the every-dialog rows).
#include "AckSteps.h"

#include "PerChannelIds.h"
#include "PollTimer.h"
#include "Presses.h"
#include "UiDriver.h"
#include "rtd/RtdIds.h"

namespace {

// The writes of a per-channel ASCII dialog at address 01: the enable mask (where its boxes are
// live) and CH0's type; its configuration is built from its every-dialog row.
void AddPerChannelSteps(std::vector<SAckStep>& steps, const std::string& dialog, bool bMaskBoxes)
{
    if (bMaskBoxes) {
        steps.push_back({.dialog = dialog,
                         .name = "MaskWrite",
                         .press = Clicks(kPcCheckIds[0]),
                         .request = "$015",
                         .okTexts = {"Enable/Disable Channels Successful"}});
    }
    steps.push_back({.dialog = dialog,
                     .name = "TypeWrite",
                     .press = [](CDialog& dlg) { ui::ChooseRow(dlg, IDC_PC_TYPE0, 1); },
                     .request = "$017C0R",
                     .okTexts = {"Change Successful"}});
}

// The 6380's zero and span steps follow an acknowledged calibration enable.
std::function<void(CDialog&)> AfterCalibrationEnable(int button)
{
    return [button](CDialog& dlg) {
        ui::Click(dlg, IDC_RTD_CALIBRATION);
        dlg.FireTimer(kPollTimer); // sends the enable
        dlg.FireTimer(kPollTimer); // its acknowledgement opens the two steps
        ui::Click(dlg, button);
    };
}

} // namespace

std::vector<SAckStep> PerChannelAndRtdAckSteps()
{
    std::vector<SAckStep> steps;
    for (const char* dialog : {"CM6384P", "CM6386P", "CM6381p", "CM6382p", "CM63828p"})
        AddPerChannelSteps(steps, dialog, true);
    // The range dialog reads each channel's range and has no enable boxes.
    AddPerChannelSteps(steps, "CM6307p", false);
    steps.push_back({.dialog = "CM6380",
                     .name = "CalibrationEnable",
                     .press = Clicks(IDC_RTD_CALIBRATION),
                     .request = "~17E1",
                     .okTexts = {"校准准备完成."}});
    steps.push_back({.dialog = "CM6380",
                     .name = "ZeroCalibration",
                     .press = AfterCalibrationEnable(IDC_RTD_ZERO_CALIBRATION),
                     .request = "$171",
                     .okTexts = {"零点校准完毕."}});
    steps.push_back({.dialog = "CM6380",
                     .name = "SpanCalibration",
                     .press = AfterCalibrationEnable(IDC_RTD_SPAN_CALIBRATION),
                     .request = "$170",
                     .okTexts = {"满量程校准完毕."}});
    return steps;
}
