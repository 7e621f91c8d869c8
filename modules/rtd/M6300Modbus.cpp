#include "M6300Modbus.h"

#include "ModuleDialogs.h"
#include "rtd/RtdIds.h"

REGISTER_MODULE_DIALOG(CM6300Modbus)

CM6300Modbus::CM6300Modbus(CWnd*)
    : CRtdRangeModbusDlg(
          {IDD_M6300_MODBUS, &CMainFrame::m_strM6300ModbusParams, 3, 400, 12, "6300"})
{
}
