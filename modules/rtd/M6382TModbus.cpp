#include "M6382TModbus.h"

#include "ModuleDialogs.h"
#include "rtd/RtdIds.h"
#include "rtd/RtdModbusTables.h"

REGISTER_MODULE_DIALOG(CM6382TModbus)

namespace {

// The new address is written back without the family's flag, so the result row stays as it is.
const SModuleDescriptor kDescriptor = {
    .nTemplate = IDD_M6382T_MODBUS,
    .pBlock = &CMainFrame::m_strSixChannelTempParams,
    .eLink = ELinkKind::Rtu,
    .boxes = {IDC_PC_ADDRESS, IDC_PC_BAUD, IDC_PC_CHECKSUM, 0, IDC_PC_FORMAT, 0},
    .pFormatCodes = &FormatDigitTable,
};

// The new address only; its outcome in a plain box under the application title.
constexpr SRtuSettingForm kSetting = {
    .pszAddressOk = "Setting OK!", .pszCaption = nullptr, .nBoxType = MB_OK};

} // namespace

BEGIN_MESSAGE_MAP(CM6382TModbus, CPerChannelModbusDlg)
ON_CHANNEL_BOXES(kPcCheckIds, OnToggleChannel)
ON_BN_CLICKED(IDC_PC_UPDATE, OnSetting)
ON_BN_CLICKED(IDC_PC_REFRESH, OnRefresh)
ON_BN_CLICKED(IDC_PC_CANCEL, OnCancel)
END_MESSAGE_MAP()

CM6382TModbus::CM6382TModbus(CWnd*)
    : CPerChannelModbusDlg({.descriptor = kDescriptor,
                            .typeCodes = Thermistor6382TTypes().codes,
                            .scales = kThermistorTypeScales,
                            .rows = {6, kPcCheckIds},
                            .ids = kPcModbusIds,
                            .nPeriod = 300,
                            .nMinData = 20,
                            .nBlanksAfterReference = 9,
                            .nBlanksAfterChannel = 13,
                            .setting = kSetting})
{
}

void CM6382TModbus::OnSetting()
{
    UpdateData(TRUE);
    std::optional<SSettingsChoice> choice = ReadSettings(kAddressZeroNotAllowed);
    if (!choice) return;
    // The row's model name is left empty and its description as it is.
    Texts rowTexts = RowTextsOf(*choice);
    rowTexts[0] = "";
    rowTexts.resize(4);
    Texts params = ParamsOf(*choice);
    params[3] = std::nullopt;
    QueueSetting(false, choice->strAddress, rowTexts, params);
}
