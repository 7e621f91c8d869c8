#include "M6384pModbus.h"

#include "AiChannelTypes.h"
#include "ModuleDialogs.h"

REGISTER_MODULE_DIALOG(CM6384pModbus)

BEGIN_MESSAGE_MAP(CM6384pModbus, CPerChannelModbusDlg)
ON_BN_CLICKED(kPcCheckIds[0], OnToggleChannel<0>)
ON_BN_CLICKED(kPcCheckIds[1], OnToggleChannel<1>)
ON_BN_CLICKED(kPcCheckIds[2], OnToggleChannel<2>)
ON_BN_CLICKED(kPcCheckIds[3], OnToggleChannel<3>)
ON_BN_CLICKED(kPcCheckIds[4], OnToggleChannel<4>)
ON_BN_CLICKED(kPcCheckIds[5], OnToggleChannel<5>)
ON_BN_CLICKED(kPcCheckIds[6], OnToggleChannel<6>)
ON_BN_CLICKED(kPcCheckIds[7], OnToggleChannel<7>)
END_MESSAGE_MAP()

CM6384pModbus::CM6384pModbus(CWnd*)
    : CPerChannelModbusDlg(
          {222, &CMainFrame::m_strAnalogInputParams, kAiTypeCodes, kAiTypeScales, {8, kPcCheckIds}})
{
}
