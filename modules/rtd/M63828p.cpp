#include "M63828p.h"

#include "ModuleDialogs.h"
#include "RtdChannelTypes.h"
#include "RtdIds.h"

REGISTER_MODULE_DIALOG(CM63828p)

BEGIN_MESSAGE_MAP(CM63828p, CPerChannelAsciiDlg)
ON_CHANNEL_BOXES(kPcCheckIds, OnToggleChannel)
END_MESSAGE_MAP()

CM63828p::CM63828p(CWnd*)
    : CPerChannelAsciiDlg({
          .nTemplate = IDD_M63828P,
          .pBlock = &CMainFrame::m_strSixChannelTempParams,
          .pTypes = &CMainFrame::m_strChannelTypes6382,
          .pChanged = &CMainFrame::m_bSixChannelTempChanged,
          .typeCodes = Thermistor6382TTypes().codes,
          .rows = {6, kPcCheckIds},
          .config = {.modbus = {false, "00", "04"}, .pszInitType = "00", .pszInitFormat = "00"},
          .bFormatSelectsProtocol = false,
          .bChecksumOffAtZero = false,
          .bBoxBehindPolling = true,
      })
{
}
