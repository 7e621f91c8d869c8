// Dialog 138 "Log".
#include "LogDlg.h"
#include "Resource.h"

#include "DialogTemplate.h"

namespace {

using D = CLogDlg;

// The table keeps one control a line.
// clang-format off
const bool g_registered = RegisterDialogTemplate({
    static_cast<int>(IDD_LOG), "Log", 300, 212, {
        {-1, CtlKind::Static, "Script File", 7, 10, 42, 8},
        {D::IDC_SCRIPT_PATH, CtlKind::Edit, "", 50, 8, 160, 12},
        {D::IDC_PICK_SCRIPT, CtlKind::Button, "....", 214, 7, 20, 14},
        {D::IDC_VIEW_SCRIPT, CtlKind::Button, "Brower", 240, 7, 53, 14},
        {-1, CtlKind::Static, "Report File", 7, 28, 42, 8},
        {D::IDC_REPORT_PATH, CtlKind::Edit, "", 50, 26, 160, 12},
        {D::IDC_PICK_REPORT, CtlKind::Button, "....", 214, 25, 20, 14},
        {D::IDC_VIEW_REPORT, CtlKind::Button, "Brower", 240, 25, 53, 14},
        {D::IDC_LOG_LIST, CtlKind::ListCtrl, "", 7, 44, 286, 108},
        {D::IDC_COUNTER, CtlKind::AutoCheckBox, "Counter", 7, 163, 40, 10},
        {D::IDC_COUNTER_VALUE, CtlKind::Edit, "", 50, 161, 50, 12, CS_READONLY},
        {-1, CtlKind::GroupBox, "Report", 110, 154, 183, 26},
        {D::IDC_MODE_ERROR, CtlKind::Radio, "Error", 118, 165, 45, 10, CS_GROUP},
        {D::IDC_MODE_ALL, CtlKind::Radio, "ALL", 175, 165, 45, 10},
        {D::IDC_MODE_NONE, CtlKind::Radio, "None", 232, 165, 45, 10},
        {D::IDC_STOP, CtlKind::Button, "Stop", 7, 191, 60, 14},
        {IDOK, CtlKind::Button, "Run", 120, 191, 60, 14, CS_DEFAULT},
        {IDCANCEL, CtlKind::Button, "Cancel", 233, 191, 60, 14},
    }});
// clang-format on

} // namespace
