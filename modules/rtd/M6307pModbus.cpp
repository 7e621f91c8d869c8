#include "M6307pModbus.h"

#include "ModuleDialogs.h"
#include "rtd/RtdIds.h"

REGISTER_MODULE_DIALOG(CM6307pModbus)

CM6307pModbus::CM6307pModbus(CWnd*)
    : CRtdRangeModbusDlg(
          {IDD_M6307P_MODBUS, &CMainFrame::m_strM6307ModbusParams, 6, 200, 20, "6307"})
{
}
