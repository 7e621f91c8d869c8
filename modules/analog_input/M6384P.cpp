#include "M6384P.h"

#include "AiChannelTypes.h"
#include "ModuleDialogs.h"

REGISTER_MODULE_DIALOG(CM6384P)

BEGIN_MESSAGE_MAP(CM6384P, CPerChannelAsciiDlg)
ON_CHANNEL_BOXES(kPcCheckIds, OnToggleChannel)
END_MESSAGE_MAP()

CM6384P::CM6384P(CWnd*)
    : CPerChannelAsciiDlg({202,
                           &CMainFrame::m_strAnalogInputParams,
                           &CMainFrame::m_strChannelTypes6384P,
                           &CMainFrame::m_bAnalogInputChanged,
                           kAiTypeCodes,
                           {8, kPcCheckIds}})
{
}
