#include "M6384P.h"

#include "AiChannelTypes.h"
#include "AnalogInputIds.h"
#include "ModuleDialogs.h"

REGISTER_MODULE_DIALOG(CM6384P)

BEGIN_MESSAGE_MAP(CM6384P, CPerChannelAsciiDlg)
ON_CHANNEL_BOXES(kPcCheckIds, OnToggleChannel)
END_MESSAGE_MAP()

CM6384P::CM6384P(CWnd*)
    : CPerChannelAsciiDlg({
          .nTemplate = IDD_M6384P,
          .pBlock = &CMainFrame::m_strAnalogInputParams,
          .pTypes = &CMainFrame::m_strChannelTypes6384P,
          .pChanged = &CMainFrame::m_bAnalogInputChanged,
          .typeCodes = kAiTypeCodes,
          .rows = {8, kPcCheckIds},
      })
{
}
