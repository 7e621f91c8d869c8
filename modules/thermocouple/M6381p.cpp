#include "M6381p.h"

#include "ModuleDialogs.h"
#include "TcChannelTypes.h"
#include "ThermocoupleIds.h"

REGISTER_MODULE_DIALOG(CM6381p)

BEGIN_MESSAGE_MAP(CM6381p, CPerChannelAsciiDlg)
ON_CHANNEL_BOXES(kPcCheckIds, OnToggleChannel)
END_MESSAGE_MAP()

CM6381p::CM6381p(CWnd*)
    : CPerChannelAsciiDlg({
          .nTemplate = IDD_M6381P,
          .pBlock = &CMainFrame::m_strUniversalInputParams,
          .pTypes = &CMainFrame::m_strChannelTypes6381,
          .pChanged = &CMainFrame::m_bUniversalInputChanged,
          .typeCodes = UniversalTypes().codes,
          .rows = {8, kPcCheckIds},
          .config = {.pszType = "00", .modbus = {false, "FF", "80"}},
          .nPeriod = 600,
          .bFormatSelectsProtocol = false,
          .bChecksumOffAtZero = false,
          .bBoxBehindPolling = true,
      })
{
}
