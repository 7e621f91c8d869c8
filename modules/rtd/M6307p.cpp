#include "M6307p.h"

#include "ModuleDialogs.h"
#include "RtdChannelTypes.h"
#include "RtdIds.h"

REGISTER_MODULE_DIALOG(CM6307p)

CM6307p::CM6307p(CWnd*)
    : CPerChannelAsciiDlg({
          .nTemplate = IDD_M6307P,
          .pBlock = &CMainFrame::m_strRtdInputParams,
          .pTypes = nullptr,
          .pChanged = &CMainFrame::m_bRtdInputChanged,
          .typeCodes = Rtd6307Ranges().codes,
          .rows = {6, kPcCheckIds},
          .config = {.pszType = "20"},
          .nPeriod = 200,
          .eStart = EChannelStart::TypeRead,
          .bFormatSelectsProtocol = false,
          .bChecksumOffAtZero = false,
          .bProtocolAlwaysEnabled = true,
          .bBoxBehindPolling = true,
          .bClearsDescription = true,
      })
{
}
