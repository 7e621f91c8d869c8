#include "M6386PModbus.h"

#include "ModuleDialogs.h"
#include "thermocouple/TcModbusTables.h"
#include "thermocouple/ThermocoupleIds.h"

REGISTER_MODULE_DIALOG(CM6386PModbus)

namespace {

// The general settings are only shown; nothing is written back.
const SModuleDescriptor kDescriptor = {
    .nTemplate = IDD_M6386P_MODBUS,
    .pBlock = &CMainFrame::m_strThermocoupleInputParams,
    .eLink = ELinkKind::Rtu,
    .boxes = {IDC_PC_ADDRESS, IDC_PC_BAUD, IDC_PC_CHECKSUM, 0, IDC_PC_FORMAT, 0},
    .pFormatCodes = &FormatDigitTable,
};
inline constexpr DWORD kPauseAfterAnswer = 150;

} // namespace

BEGIN_MESSAGE_MAP(CM6386PModbus, CPerChannelModbusDlg)
ON_CHANNEL_BOXES(kTcpCheckIds, OnToggleChannel)
ON_BN_CLICKED(IDC_PC_REFRESH, OnRefresh)
ON_BN_CLICKED(IDC_PC_FOLLOW_CH0, OnFollowCh0)
ON_BN_CLICKED(IDC_PC_CANCEL, OnCancel)
END_MESSAGE_MAP()

CM6386PModbus::CM6386PModbus(CWnd*)
    : CPerChannelModbusDlg({.descriptor = kDescriptor,
                            .typeCodes = TcModbusTypes().codes,
                            .scales = kTcModbusTypeScales,
                            .rows = {8, kTcpCheckIds},
                            .ids = {.nList = IDC_PC_LIST, .nRespond = IDC_PC_RESPOND},
                            .dwSleepAfterAnswer = kPauseAfterAnswer})
{
}
