#include "M6386Modbus.h"

#include "ModelName.h"
#include "ModuleDialogs.h"
#include "Strings.h"
#include "thermocouple/TcModbusTables.h"
#include "thermocouple/ThermocoupleIds.h"

REGISTER_MODULE_DIALOG(CM6386Modbus)

namespace {

const SModuleDescriptor kDescriptor = {
    .nTemplate = IDD_M6386_MODBUS,
    .pBlock = &CMainFrame::m_strThermocoupleInputParams,
    .pChanged = &CMainFrame::m_bThermocoupleInputChanged,
    .eLink = ELinkKind::Rtu,
    .boxes = {IDC_TC_ADDRESS, IDC_TC_BAUD, IDC_TC_CHECKSUM, IDC_TC_RANGE, IDC_TC_FORMAT,
              IDC_TC_PROTOCOL},
    .pRangeCodes = &TcModbusRanges().codes,
    .pFormatCodes = &FormatDigitTable,
};

const int kAlarmControls[] = {IDC_TC_ALARM_TYPE,      IDC_TC_CLEAR_ALARM,    IDC_TC_ALARMH_SETTING,
                              IDC_TC_ALARM_MODE,      IDC_TC_ALARMH_LABEL,   IDC_TC_ALARML_LABEL,
                              IDC_TC_HIGH_LAMP_LABEL, IDC_TC_LOW_LAMP_LABEL, IDC_TC_HIGH_LIMIT,
                              IDC_TC_LOW_LIMIT};
// Writing 0 to the protocol register is what this dialog sends for ASCII.
constexpr SRtuSettingForm kSetting = {.nAsciiValue = 0, .pszSwitchOk = "Setting Modbus/RTU OK!"};
// Shown for information only.
const int kFixedControls[] = {IDC_TC_ZERO,  IDC_TC_SPAN,   IDC_TC_CHECKSUM,
                              IDC_TC_RANGE, IDC_TC_FORMAT, IDC_TC_BAUD};

} // namespace

BEGIN_MESSAGE_MAP(CM6386Modbus, CPerChannelModbusDlg)
ON_BN_CLICKED(IDC_TC_SETTING, OnSetting)
ON_CHANNEL_BOXES(kTcCheckIds, OnToggleChannel)
END_MESSAGE_MAP()

CM6386Modbus::CM6386Modbus(CWnd*)
    : CPerChannelModbusDlg({.descriptor = kDescriptor,
                            .rows = {8, std::to_array(kTcCheckIds), std::to_array(kTcValueIds)},
                            .ids = {.nProtocol = IDC_TC_PROTOCOL},
                            .startReads = {},
                            .nPeriod = 400,
                            .bPollAfterSilence = true,
                            .bAllEnabledAtStart = true,
                            .nMaskStatusField = IDC_TCM_MASK_STATUS,
                            .setting = kSetting})
{
}

bool CM6386Modbus::SingleChannel() const
{
    return ModelHasAny(m_strModuleName, {"4388", "6388"});
}

void CM6386Modbus::EnableSettingsBoxes()
{
    SetDlgItemText(IDC_TC_MODEL, m_strModuleName);
    if (SingleChannel()) {
        for (int k = 0; k < 8; ++k) GetDlgItem(kTcCheckIds[k])->EnableWindow(FALSE);
        GetDlgItemAs<CComboBox>(IDC_TC_ALARM_MODE)->SetCurSel(0);
        for (int k = 1; k < 8; ++k) GetDlgItem(kTcValueIds[k])->EnableWindow(FALSE);
    }
    if (ModelHasAny(m_strModuleName, {"4386", "6386"})) {
        for (int id : kAlarmControls) GetDlgItem(id)->EnableWindow(FALSE);
    }
    for (int id : kFixedControls) GetDlgItem(id)->EnableWindow(FALSE);
}

std::string CM6386Modbus::PollRequest() const
{
    // The register read has no meaning for the single-channel models: their polling ticks send
    // nothing rather than a frame without content.
    return SingleChannel() ? std::string() : CPerChannelModbusDlg::PollRequest();
}

void CM6386Modbus::ShowReadings()
{
    // An exception carries no value: the fields keep theirs, as under silence.
    // The single-channel models poll nothing, so no reply comes to them.
    if (!RtuDataCame()) return;
    // Raw: four hex digits per register.
    for (int k = 0; k < 8; ++k) ShowChannelValue(k, 0, ChannelShown(k) ? RegisterText(k) : "");
}

void CM6386Modbus::OnSetting()
{
    UpdateData(TRUE);
    std::optional<SSettingsChoice> choice = ReadSettings({});
    if (!choice) return;
    Texts rowTexts = RowTextsOf(*choice);
    rowTexts[4] = "";
    Texts params = ParamsOf(*choice);
    params[2] = Entry(kCheck);
    params[4] = "";
    QueueSetting(!choice->bModbus, choice->strAddress, rowTexts, params);
}
