#include "V1300.h"

#include "ModelName.h"
#include "ModuleDialogs.h"
#include "RackIds.h"
#include "Strings.h"

REGISTER_MODULE_DIALOG(CV1300)

namespace {

constexpr UINT kPollPeriod = 50;
// The configuration after "!AA": the range code, the integration time and the data format,
// whatever follows them.
constexpr size_t kIntegrationAt = 2;
constexpr size_t kFormatAt = 3;

const SAlarmSteps kAlarmSteps = {
    .nRead = {CV1300::kReadHighLimit, CV1300::kReadLowLimit, CV1300::kReadHighType,
              CV1300::kReadLowType},
    .eRead = {SAlarmSteps::ERead::HighLimit, SAlarmSteps::ERead::LowLimit,
              SAlarmSteps::ERead::HighType, SAlarmSteps::ERead::LowType},
    .nAfterRead = CV1300::kValue0,
    .nRestart = CV1300::kValue0,
    .nWait = CV1300::kWait,
    .nEnableHigh = CV1300::kEnableHigh,
    .nSetHighType = CV1300::kSetHighType,
    .nEnableLow = CV1300::kEnableLow,
    .nSetLowType = CV1300::kSetLowType,
    .nSetHighLimit = CV1300::kSetHighLimit,
    .nSetLowLimit = CV1300::kSetLowLimit,
    .nClearHigh = CV1300::kClearHigh,
    .nClearLow = CV1300::kClearLow,
    .nAfterClear = CV1300::kValue0,
    .nAfterMaskEdit = CV1300::kReadMask,
    .bCloseAfterAlarmOk = false,
    .nFirstStatus = CV1300::kStatus0,
    .nStatusStride = 1,
};

// The range list each model shows.
struct SModelRangeBox {
    const char* pszModel;
    int nList;
};
const SModelRangeBox kModelRangeBoxes[] = {
    {"1300", rack_ai::IDC_RTD_RANGE},
    {"1386", rack_ai::IDC_THERMOCOUPLE_RANGE},
    {"1384", rack_ai::IDC_VOLTAGE_RANGE},
};

} // namespace

BEGIN_MESSAGE_MAP(CV1300, CAnalogSlotDlg)
ON_BN_CLICKED(rack_ai::IDC_UPDATE_SETTING, OnUpdateSetting)
ON_BN_CLICKED(rack_analog::IDC_UPDATE_ENABLE, OnUpdateEnable)
END_MESSAGE_MAP()

CV1300::CV1300(CWnd*) : CAnalogSlotDlg(IDD_RACK_AI, kAlarmSteps) {}

int CV1300::ValueStep(int channel)
{
    return channel < 7 ? kValue0 + channel : kValue7;
}

int CV1300::Row(int id) const
{
    return id ? GetDlgItemAs<CComboBox>(id)->GetCurSel() : -1;
}

BOOL CV1300::OnInitDialog()
{
    CDialog::OnInitDialog();
    m_nChannelsRead = 0;
    m_pModel = AiSlotModel(SlotBlock()[kSlotAnalogModule]);
    InitAnalogSlot(m_pModel ? m_pModel->nChannels : 8);
    SetUpModel();
    if (m_strAddress == "00") EnableConfiguration();
    // The integration time shows no row until the module has told it.
    m_nCommand = kReadMask;
    m_nLastCommand = kReadConfiguration;
    SendAscii(SlotRequest('$', "B"), kOpenTimeout);
    SetTimer(m_nTimerId, kPollPeriod);
    return TRUE;
}

void CV1300::SetUpModel()
{
    if (!m_pModel) return;
    for (const SModelRangeBox& list : kModelRangeBoxes)
        if (ModelIs(m_pModel->pszModel, list.pszModel)) m_nRangeList = list.nList;
    GetDlgItem(m_nRangeList)->ShowWindow(SW_SHOW);
    for (int ch = m_pModel->nChannels; ch < 8; ++ch) {
        if (m_pModel->eSpareRows == ESpareRows::Disabled)
            GreySpareRow(ch);
        else
            HideSpareRow(ch);
    }
    if (m_pModel->bFixedFormatShown) GetDlgItemAs<CComboBox>(rack_ai::IDC_FORMAT)->SetCurSel(0);
}

void CV1300::GreySpareRow(int channel)
{
    const rack_analog::SChannelIds& ids = rack_analog::kChannelIds[channel];
    GetDlgItem(ids.nEnable)->EnableWindow(FALSE);
    GetDlgItem(ids.nValue)->EnableWindow(FALSE);
    // Channel 7's unit edit stays enabled, as the module's dialog always had it.
    if (channel < 7) GetDlgItem(ids.nUnit)->EnableWindow(FALSE);
    GetDlgItem(ids.nHighLamp)->ShowWindow(SW_HIDE);
    GetDlgItem(ids.nLowLamp)->ShowWindow(SW_HIDE);
}

void CV1300::HideSpareRow(int channel)
{
    const rack_analog::SChannelIds& ids = rack_analog::kChannelIds[channel];
    GetDlgItem(ids.nEnable)->EnableWindow(FALSE);
    for (int id : {ids.nEnable, ids.nValue, ids.nUnit, ids.nHighLamp, ids.nLowLamp, ids.nHighLabel,
                   ids.nLowLabel})
        GetDlgItem(id)->ShowWindow(SW_HIDE);
    if (channel == 7) GetDlgItem(rack_ai::IDC_CH7_FRAME)->ShowWindow(SW_HIDE);
}

void CV1300::EnableConfiguration()
{
    if (m_pModel) {
        GetDlgItem(m_nRangeList)->EnableWindow(TRUE);
        if (m_pModel->bFormat)
            GetDlgItem(rack_ai::IDC_FORMAT)->EnableWindow(TRUE);
        else
            GetDlgItemAs<CComboBox>(rack_ai::IDC_FORMAT)->SetCurSel(0);
    }
    GetDlgItem(rack_ai::IDC_INTEGRATION)->EnableWindow(TRUE);
    GetDlgItem(rack_ai::IDC_UPDATE_SETTING)->EnableWindow(TRUE);
}

void CV1300::ReadConfiguration(const std::string& configuration)
{
    if (!m_pModel) return;
    int range = AiRangeRowOfReply(*m_pModel, ReplyOf('!').value_or(""));
    if (range >= 0) GetDlgItemAs<CComboBox>(m_nRangeList)->SetCurSel(range);
    if (m_pModel->bFormat) {
        int format = RowOfCode(kAiFormatDigits, configuration.substr(kFormatAt, 1));
        if (format >= 0) GetDlgItemAs<CComboBox>(rack_ai::IDC_FORMAT)->SetCurSel(format);
    }
    int integration = RowOfCode(kAiIntegrationDigits, configuration.substr(kIntegrationAt, 1));
    if (integration >= 0) GetDlgItemAs<CComboBox>(rack_ai::IDC_INTEGRATION)->SetCurSel(integration);
    if (auto unit = AiUnit(*m_pModel, Row(m_nRangeList), Row(rack_ai::IDC_FORMAT)))
        for (int ch = 0; ch < m_pModel->nChannels; ++ch) SetUnit(ch, *unit);
}

std::optional<std::string> CV1300::ConfigurationBody() const
{
    if (!m_pModel) return std::nullopt;
    return AiConfigurationBody(*m_pModel, Row(m_nRangeList), Row(rack_ai::IDC_INTEGRATION),
                               Row(rack_ai::IDC_FORMAT));
}

bool CV1300::ReadReply(int step)
{
    if (auto alarm = ReadAlarmReply(step)) return *alarm;
    int valueChannel = step == kValue7 ? 7 : step - kValue0;
    if (step == kValue7 || (step >= kValue0 && step < kConfigure)) {
        ++m_nChannelsRead;
        ShowValue(valueChannel);
        m_nCommand = kStatus0 + valueChannel;
        return true;
    }
    switch (step) {
    case kReadConfiguration:
        if (std::optional<std::string> configuration = DataReaching('!', kFormatAt + 1))
            ReadConfiguration(*configuration);
        else
            m_nCommand = kReadMask;
        return true;
    case kReadMask:
        m_nCommand = ReadEnableMask() ? kReadHighLimit : kReadMask;
        return true;
    case kConfigure:
        ShowConfigurationResult(Acknowledged());
        OnCancel();
        return false;
    case kWriteMask:
        TickMessageBox(Acknowledged() ? "Setting WDT OK!" : "Setting WDT Error!", "Setting",
                       MB_ICONEXCLAMATION);
        OnCancel();
        return false;
    default:
        return true;
    }
}

int CV1300::NextAfterStatus(int channel)
{
    if (channel < 7 && m_nChannelsRead < m_nChannelCount) return ValueStep(channel + 1);
    m_nChannelsRead = 0;
    return kValue0;
}

std::string CV1300::StepRequest()
{
    if (auto alarm = AlarmRequest()) return *alarm;
    if (m_nCommand == kValue7 || (m_nCommand >= kValue0 && m_nCommand < kConfigure))
        return SlotRequest('#', Format("C%d", m_nCommand == kValue7 ? 7 : m_nCommand - kValue0));
    switch (m_nCommand) {
    case kReadMask:
        return SlotRequest('$', "6");
    case kConfigure:
        if (auto body = ConfigurationBody()) return SlotRequest('$', *body);
        return {};
    case kWriteMask:
        return SlotRequest('$', "5" + m_strEnableMask);
    default:
        return {};
    }
}

void CV1300::OnUpdateSetting()
{
    // A list without a chosen row has no code to write: nothing is sent.
    bool format = m_pModel && m_pModel->bFormat;
    if (!ListsChosen(
            {{m_nRangeList, "Input Range"}, {rack_ai::IDC_INTEGRATION, "Integration Time"}}) ||
        (format && !ListsChosen({{rack_ai::IDC_FORMAT, "Data Format"}})))
        return;
    m_nCommand = kConfigure;
    m_nLastCommand = kNone;
}

void CV1300::OnUpdateEnable()
{
    m_nCommand = kWriteMask;
    m_nLastCommand = kNone;
}
