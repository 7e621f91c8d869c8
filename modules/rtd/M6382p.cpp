#include "M6382p.h"

#include "ModuleDialogs.h"
#include "RtdChannelTypes.h"
#include "RtdIds.h"

REGISTER_MODULE_DIALOG(CM6382p)

BEGIN_MESSAGE_MAP(CM6382p, CPerChannelAsciiDlg)
ON_CHANNEL_BOXES(kPcCheckIds, OnToggleChannel)
END_MESSAGE_MAP()

CM6382p::CM6382p(CWnd*)
    : CPerChannelAsciiDlg({
          .nTemplate = IDD_M6382P,
          .pBlock = &CMainFrame::m_strSixChannelTempParams,
          .pTypes = &CMainFrame::m_strChannelTypes6382,
          .pChanged = &CMainFrame::m_bSixChannelTempChanged,
          .typeCodes = Rtd6382Types().codes,
          .rows = {6, kPcCheckIds},
          .config = {.modbus = {false, "00", "04"}},
          .nPeriod = 400,
          .nFirstTimeout = 200,
          .dwBaudAtZero = 9600,
          .bBoxBehindPolling = true,
      })
{
}
