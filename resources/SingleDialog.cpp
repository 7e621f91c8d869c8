// Dialog 135 "Command".
#include "Resource.h"
#include "SingleDlg.h"

#include "DialogTemplate.h"
#include "TemplateRows.h"

namespace {

using D = CSingleDlg;

// The table keeps one control a line.
// clang-format off
const bool g_registered = RegisterDialogTemplate({
    static_cast<int>(IDD_SINGLE), "Command", 250, 190, {
        {-1, CtlKind::Static, "COM", 7, 10, 20, 8},
        {D::IDC_PORT, CtlKind::DropList, "", 30, 8, 45, 100, CS_SORT | CS_VSCROLL,
         {"COM1", "COM2", "COM3", "COM4", "COM5", "COM6", "COM7", "COM8", "COM9"}},
        {-1, CtlKind::Static, "Baudrate", 85, 10, 32, 8},
        {D::IDC_BAUD, CtlKind::DropList, "", 120, 8, 50, 100, CS_VSCROLL,
         BaudRows()},
        {-1, CtlKind::GroupBox, "Check Sum", 7, 26, 100, 28},
        {D::IDC_CHECKSUM_ENABLE, CtlKind::Radio, "Enable", 13, 38, 40, 10, CS_GROUP},
        {D::IDC_CHECKSUM_DISABLE, CtlKind::Radio, "Disable", 57, 38, 40, 10},
        {-1, CtlKind::GroupBox, "Parity", 115, 26, 80, 28},
        {D::IDC_PARITY, CtlKind::DropList, "", 121, 36, 68, 60, CS_NONE, {"None", "Even", "Odd"}},
        {-1, CtlKind::Static, "Command", 7, 64, 35, 8},
        {D::IDC_COMMAND, CtlKind::Edit, "", 45, 62, 198, 12, CS_UPPERCASE},
        {-1, CtlKind::Static, "Respond", 7, 80, 35, 8},
        {D::IDC_RESPOND, CtlKind::Edit, "", 45, 78, 198, 12, CS_READONLY},
        {D::IDC_HISTORY, CtlKind::ListBox, "", 7, 96, 236, 68, CS_VSCROLL},
        {IDOK, CtlKind::Button, "Run", 60, 170, 50, 14, CS_DEFAULT},
        {IDCANCEL, CtlKind::Button, "Cancel", 140, 170, 50, 14},
    }});
// clang-format on

} // namespace
