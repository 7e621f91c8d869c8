#include "M6384pModbus.h"

#include "AiChannelTypes.h"
#include "AnalogInputIds.h"
#include "ModuleDialogs.h"

REGISTER_MODULE_DIALOG(CM6384pModbus)

BEGIN_MESSAGE_MAP(CM6384pModbus, CPerChannelModbusDlg)
ON_CHANNEL_BOXES(kPcCheckIds, OnToggleChannel)
ON_BN_CLICKED(IDC_PC_REFRESH, OnRefresh)
ON_BN_CLICKED(IDC_PC_FOLLOW_CH0, OnFollowCh0)
ON_BN_CLICKED(IDC_PC_CANCEL, OnCancel)
END_MESSAGE_MAP()

namespace {

// The general settings are only shown.
const SModuleDescriptor kDescriptor = {
    .nTemplate = IDD_M6384P_MODBUS,
    .pBlock = &CMainFrame::m_strAnalogInputParams,
    .eLink = ELinkKind::Rtu,
    .boxes = {IDC_PC_ADDRESS, IDC_PC_BAUD, IDC_PC_CHECKSUM, 0, IDC_PC_FORMAT, 0},
    .pFormatCodes = &FormatDigitTable,
};

} // namespace

CM6384pModbus::CM6384pModbus(CWnd*)
    : CPerChannelModbusDlg({.descriptor = kDescriptor,
                            .typeCodes = kAiTypeCodes,
                            .scales = kAiTypeScales,
                            .rows = {8, kPcCheckIds},
                            .ids = kPcModbusIds})
{
}
