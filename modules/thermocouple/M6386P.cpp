#include "M6386P.h"

#include "ModuleDialogs.h"
#include "TcChannelTypes.h"
#include "ThermocoupleIds.h"

REGISTER_MODULE_DIALOG(CM6386P)

BEGIN_MESSAGE_MAP(CM6386P, CPerChannelAsciiDlg)
ON_CHANNEL_BOXES(kPcCheckIds, OnToggleChannel)
END_MESSAGE_MAP()

CM6386P::CM6386P(CWnd*)
    : CPerChannelAsciiDlg({
          .nTemplate = IDD_M6386P,
          .pBlock = &CMainFrame::m_strThermocoupleInputParams,
          .pTypes = &CMainFrame::m_strChannelTypes6386P,
          .pChanged = &CMainFrame::m_bThermocoupleInputChanged,
          .typeCodes = Tc6386PTypes().codes,
          .rows = {8, kPcCheckIds},
          .bFormatSelectsProtocol = false,
          .bChecksumOffAtZero = false,
          .bBoxBehindPolling = true,
      })
{
}
