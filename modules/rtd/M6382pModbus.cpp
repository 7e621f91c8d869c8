#include "M6382pModbus.h"

#include "ModuleDialogs.h"
#include "rtd/RtdIds.h"
#include "rtd/RtdModbusTables.h"

REGISTER_MODULE_DIALOG(CM6382pModbus)

namespace {

// The general settings are only shown; nothing is written back.
const SModuleDescriptor kDescriptor = {
    .nTemplate = IDD_M6382P_MODBUS,
    .pBlock = &CMainFrame::m_strSixChannelTempParams,
    .eLink = ELinkKind::Rtu,
    .boxes = {IDC_PC_ADDRESS, IDC_PC_BAUD, IDC_PC_CHECKSUM, 0, IDC_PC_FORMAT, 0},
    .pFormatCodes = &FormatDigitTable,
};

} // namespace

BEGIN_MESSAGE_MAP(CM6382pModbus, CPerChannelModbusDlg)
ON_CHANNEL_BOXES(kPcCheckIds, OnToggleChannel)
ON_BN_CLICKED(IDC_PC_REFRESH, OnRefresh)
ON_BN_CLICKED(IDC_PC_CANCEL, OnCancel)
END_MESSAGE_MAP()

CM6382pModbus::CM6382pModbus(CWnd*)
    : CPerChannelModbusDlg(
          {.descriptor = kDescriptor,
           .typeCodes = Rtd6382ModbusTypes().codes,
           .scales = kSixRtdTypeScales,
           .rows = {6, kPcCheckIds},
           .ids = kPcModbusIds,
           .startReads = {EStartRead::Mask, EStartRead::Types, EStartRead::BurnOut},
           .nMinData = 20,
           .nBlanksAfterReference = 9,
           .nBlanksAfterChannel = 13})
{
}
