#include "M6384pModbus.h"

#include "AiChannelTypes.h"
#include "ModuleDialogs.h"

REGISTER_MODULE_DIALOG(CM6384pModbus)

BEGIN_MESSAGE_MAP(CM6384pModbus, CPerChannelModbusDlg)
ON_CHANNEL_BOXES(kPcCheckIds, OnToggleChannel)
END_MESSAGE_MAP()

CM6384pModbus::CM6384pModbus(CWnd*)
    : CPerChannelModbusDlg(
          {222, &CMainFrame::m_strAnalogInputParams, kAiTypeCodes, kAiTypeScales, {8, kPcCheckIds}})
{
}
