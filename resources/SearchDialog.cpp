// Dialog 131 "SEARCH".
#include "QueryDlg.h"
#include "Resource.h"

#include "DialogTemplate.h"
#include "Strings.h"

namespace {

std::vector<std::string> ComPorts()
{
    std::vector<std::string> ports;
    for (int n = 1; n <= 255; ++n) ports.push_back(Format("COM%d", n));
    return ports;
}

const bool g_registered = RegisterDialogTemplate(
    {static_cast<int>(IDD_SEARCH),
     "SEARCH",
     300,
     212,
     {
         {IDC_RESULT_LIST, CtlKind::ListCtrl, "", 7, 7, 286, 105},
         {-1, CtlKind::GroupBox, "Baudrate", 7, 115, 110, 64},
         {IDC_BAUD_115200, CtlKind::CheckBox, "115200", 13, 126, 48, 10},
         {IDC_BAUD_57600, CtlKind::CheckBox, "57600", 63, 126, 48, 10},
         {IDC_BAUD_38400, CtlKind::CheckBox, "38400", 13, 139, 48, 10},
         {IDC_BAUD_19200, CtlKind::CheckBox, "19200", 63, 139, 48, 10},
         {IDC_BAUD_9600, CtlKind::CheckBox, "9600", 13, 152, 48, 10},
         {IDC_BAUD_4800, CtlKind::CheckBox, "4800", 63, 152, 48, 10},
         {IDC_BAUD_2400, CtlKind::CheckBox, "2400", 13, 165, 48, 10},
         {IDC_BAUD_1200, CtlKind::CheckBox, "1200", 63, 165, 48, 10},
         {-1, CtlKind::Static, "COM", 124, 121, 30, 8},
         {IDC_COM_PORT, CtlKind::DropDown, "", 156, 118, 50, 120, CS_VSCROLL, ComPorts()},
         {-1, CtlKind::Static, "TimeOut", 124, 137, 30, 8},
         {IDC_TIMEOUT,
          CtlKind::DropList,
          "",
          156,
          134,
          36,
          60,
          CS_NONE,
          {"50", "100", "200", "500"}},
         {-1, CtlKind::Static, "ms", 195, 137, 12, 8},
         {-1, CtlKind::GroupBox, "Parity", 124, 151, 82, 28},
         {IDC_PARITY, CtlKind::DropList, "", 130, 161, 70, 60, CS_NONE, {"None", "Even", "Odd"}},
         {-1, CtlKind::GroupBox, "Check Sum", 212, 115, 81, 30},
         {IDC_CHECKSUM_ENABLE, CtlKind::Radio, "Enable", 217, 127, 36, 10, CS_GROUP},
         {IDC_CHECKSUM_DISABLE, CtlKind::Radio, "Disable", 254, 127, 37, 10},
         {-1, CtlKind::Static, "Address", 212, 152, 36, 8},
         {IDC_SCAN_ADDRESS, CtlKind::Edit, "", 250, 150, 43, 12, CS_READONLY},
         {-1, CtlKind::Static, "Braudrate", 212, 167, 36, 8},
         {IDC_SCAN_BAUD, CtlKind::Edit, "", 250, 165, 43, 12, CS_READONLY},
         {IDC_PROGRESS, CtlKind::Progress, "", 7, 183, 286, 8},
         {IDOK, CtlKind::Button, "Search", 7, 195, 60, 14, CS_DEFAULT},
         {IDC_STOP, CtlKind::Button, "Stop", 80, 195, 60, 14},
         {IDC_SAVE, CtlKind::Button, "Save", 153, 195, 60, 14},
         {IDCANCEL, CtlKind::Button, "Cancel", 233, 195, 60, 14},
     }});

} // namespace
