#include "M6384.h"

#include "AiChannelTypes.h"
#include "AiModels.h"
#include "AnalogInputIds.h"
#include "AsciiCommand.h"
#include "Clock.h"
#include "ModelName.h"
#include "ModuleDialogs.h"
#include "Resource.h"
#include "Resources.h"
#include "SettingRequest.h"
#include "Strings.h"

REGISTER_MODULE_DIALOG(CM6384)

namespace {

// Input Range rows; the blank last row stands for one type per channel.
const CodeTable kRangeCodes = {"08", "09", "0A", "0B", "0C", "0D", "07", "FF"};
// The protocol bit of the Format digit: set when a 4384A speaks Modbus RTU.
inline constexpr int kModbusFormatBit = 0x4;

const SModuleDescriptor kDescriptor = {
    .nTemplate = IDD_M6384,
    .pBlock = &CMainFrame::m_strAnalogInputParams,
    .pChanged = &CMainFrame::m_bAnalogInputChanged,
    .eLink = ELinkKind::Ascii,
    .boxes = {IDC_AI_ADDRESS, IDC_AI_BAUD, IDC_AI_CHECKSUM, IDC_AI_RANGE, IDC_AI_FORMAT,
              IDC_AI_PROTOCOL},
    .pRangeCodes = &kRangeCodes,
    .pFormatCodes = &FormatDigitTable,
    .nFormatMask = 0x3,
    .bSetsDialogClosed = true,
};

const int kAlarmControls[] = {IDC_AI_HIGH_LIMIT,   IDC_AI_LOW_LIMIT,   IDC_AI_ALARMH_LABEL,
                              IDC_AI_ALARML_LABEL, IDC_AI_HIGH_LABEL,  IDC_AI_LOW_LABEL,
                              IDC_AI_ALARM_VALUE,  IDC_AI_ALARM_CLEAR, IDC_AI_ALARM_TYPE};
const int kChannelTypeControls[] = {IDC_AI_CH_NUMBER, IDC_AI_CH_TYPE, IDC_AI_CH_READ,
                                    IDC_AI_CH_CONF, IDC_AI_FOLLOW_CH0};

// One button writes both limits; lamp 0 stands beside "Low Limit".
const SAlarmInputSetup kAlarmSetup = {
    .checkIds = kAiCheckIds,
    .nAddressBox = IDC_AI_ADDRESS,
    .nMaskStatus = IDC_AI_STATUS,
    .nChannelNumber = IDC_AI_CH_NUMBER,
    .nChannelType = IDC_AI_CH_TYPE,
    .pTypeCodes = &kAiTypeCodes,
    .nHighLimit = IDC_AI_HIGH_LIMIT,
    .nLowLimit = IDC_AI_LOW_LIMIT,
    .nAlarmMode = IDC_AI_ALARM_MODE,
    .nStatus = IDC_AI_STATUS,
    .lampIds = {IDC_AI_LAMP0, IDC_AI_LAMP1},
    .bChannelWithoutRowIsCh0 = false,
    .eFollowRefusal = EFollowRefusal::Stops,
    .eLimitWrite = ELimitWrite::BothInTurn,
    .eModeRead = EModeRead::OnceWithOutputs,
    .eClearReply = EClearReply::RereadsLowLimitOnRefusal,
    .bOtherOutputsDarkenLamps = true,
};

inline constexpr WORD kPollTimeout = 300;
inline constexpr DWORD kPause = 150;
// "$AA2" answers "!AA" with the type, baud code and format byte, two digits each; the format
// byte's high digit holds the conversion mode.
inline constexpr size_t kConfigurationLength = 6;
inline constexpr size_t kFormatHighDigit = 4;

} // namespace

BEGIN_MESSAGE_MAP(CM6384, CAlarmInputDlg)
ON_BN_CLICKED(IDC_AI_SETTING, OnSetting)
ON_CHANNEL_BOXES(kAiCheckIds, OnChannelCheck)
ON_BN_CLICKED(IDC_AI_CH_READ, OnChannelRead)
ON_BN_CLICKED(IDC_AI_CH_CONF, OnChannelConfigure)
ON_BN_CLICKED(IDC_AI_FOLLOW_CH0, OnFollowChannel0)
ON_BN_CLICKED(IDC_AI_ALARM_VALUE, OnAlarmValueSetting)
ON_BN_CLICKED(IDC_AI_ALARM_TYPE, OnAlarmTypeSetting)
ON_BN_CLICKED(IDC_AI_ALARM_CLEAR, OnAlarmClear)
END_MESSAGE_MAP()

CM6384::CM6384(CWnd*) : CAlarmInputDlg(kDescriptor, kAlarmSetup) {}

void CM6384::DoDataExchange(CDataExchange* pDX)
{
    DDX_Text(pDX, IDC_AI_MODEL, m_strModelText);
    CAlarmInputDlg::DoDataExchange(pDX);
}

BOOL CM6384::OnInitDialog()
{
    CDialog::OnInitDialog();
    m_strModelText = Block()[kModule];
    InitFromBlock();
    m_bChannelEnabled.fill(0);
    GetDlgItem(IDC_AI_ZERO)->EnableWindow(FALSE);
    GetDlgItem(IDC_AI_SPAN)->EnableWindow(FALSE);

    FillSettingsBoxes(true);
    DWORD baud = BlockBaudRate();
    GetDlgItemAs<CComboBox>(IDC_AI_PROTOCOL)->SetCurSel(0);
    const ModuleParamBlock& block = Block();

    if (ModelHas(m_strModuleName, "4384A")) {
        bool modbus = HexDigitOrZero(CharAt(block[kFormat], 0)) & kModbusFormatBit;
        GetDlgItemAs<CComboBox>(IDC_AI_PROTOCOL)->SetCurSel(modbus ? 1 : 0);
        GetDlgItemAs<CComboBox>(IDC_AI_CH_NUMBER)->SelectString(-1, "CH0");
        for (int id : kChannelTypeControls) GetDlgItem(id)->EnableWindow(TRUE);
        GetDlgItem(IDC_AI_RANGE)->EnableWindow(FALSE);
    }
    if (IsAddressZero()) baud = 9600; // the INIT state answers at 9600 without checksum
    AttachLamps();
    if (IsSingleChannelAi(m_strModuleName)) {
        for (int k = 1; k < 8; ++k) GetDlgItem(kAiValueIds[k])->EnableWindow(FALSE);
        for (int id : kAiCheckIds) GetDlgItem(id)->EnableWindow(FALSE);
        for (int id : kAlarmControls) GetDlgItem(id)->EnableWindow(TRUE);
        GetDlgItem(IDC_AI_ALARM_MODE)->EnableWindow(TRUE);
        m_nCommand = kCmdReadAlarmMode;
    }
    if (HasConversionMode(m_strModuleName)) {
        GetDlgItem(IDC_AI_MODE)->EnableWindow(TRUE);
        GetDlgItem(IDC_AI_MODE_LABEL)->EnableWindow(TRUE);
    }
    if (IsEightChannelAi(m_strModuleName)) {
        for (int id : kAlarmControls) GetDlgItem(id)->EnableWindow(FALSE);
        if (!ModelHas(m_strModuleName, "4384A")) {
            for (int id : kChannelTypeControls) GetDlgItem(id)->EnableWindow(FALSE);
            GetDlgItem(IDC_AI_RANGE)->EnableWindow(TRUE);
        }
        if (HasFixedAiRange(m_strModuleName)) {
            GetDlgItem(IDC_AI_RANGE)->EnableWindow(FALSE);
        }
    }

    OpenAsciiLine(baud);
    // What the operator asks for before the start-up reads are done waits for them.
    BeginStartup();
    if (IsSingleChannelAi(m_strModuleName)) {
        SendAscii(Request('#', ""), 100); // its reply is not read
    } else {
        SendAscii(Request('$', "6"), 100);
        m_nCommand = kCmdReadMask;
    }
    SetTimer(m_nTimerId, 500);
    return TRUE;
}

void CM6384::ShowChannelValue(int channel, const std::string& text)
{
    SetDlgItemText(kAiValueIds[channel], text);
}

void CM6384::SetStatus(const std::string& text)
{
    SetDlgItemText(IDC_AI_STATUS, text);
}

void CM6384::OnSetting()
{
    UpdateData(TRUE);
    bool perChannel = ModelHas(m_strModuleName, "4384A");
    std::optional<SSettingsChoice> choice = ReadSettings(
        {.bRefuse = true}, perChannel ? EModbusRow::Configures : EModbusRow::SwitchesByDollar);
    if (!choice) return;
    std::string rangeCode = perChannel ? "FF" : choice->strRangeCode;
    int format = choice->nFormat;
    if (perChannel && choice->bModbus) format |= kModbusFormatBit;
    std::string formatDigit = Format("%d", format);
    SConfigurationFields fields = ConfigurationFieldsOf(*choice);
    fields.strType = rangeCode;
    fields.strFormat = formatDigit;

    // The per-channel model takes the protocol in its format digit; the others switch by "$AAR1",
    // which goes to the address the module answers to now.
    m_bProtocolSwitch = choice->bModbus && !perChannel;
    if (!perChannel && !choice->bModbus && HasConversionMode(m_strModuleName)) {
        // The conversion mode takes the checksum digit's place.
        int high = HexDigitOrZero(CharAt(m_strFormatHighDigit, 0));
        bool fast = GetDlgItemAs<CComboBox>(IDC_AI_MODE)->GetCurSel() == 1;
        m_strFormatHighDigit = ValueToHexChar(fast ? (high | 0x2) : (high & 0x8));
        fields.strCheck = m_strFormatHighDigit;
    }
    SConfiguration configuration = SettingOfFields(*choice, fields);
    configuration.params[kScript] = rangeCode;
    configuration.params[kFormat] = formatDigit;
    if (m_bProtocolSwitch) {
        // The switch leaves the module at its address, and the row with it.
        configuration.strRequest = SettingOfChoice(*choice, true).strRequest;
        configuration.strNewAddress = m_strOldAddress;
        configuration.rowTexts[kAddressText] = std::nullopt;
        configuration.params[kAddress] = std::nullopt;
    }
    QueueConfiguration(kCmdConfigure, std::move(configuration));
}

void CM6384::ShowFailureTexts()
{
    for (int k = 0; k < 8; ++k)
        ShowChannelValue(k, m_bChannelEnabled[static_cast<size_t>(k)] ? "ERROR!!" : "");
}

void CM6384::ShowReadings()
{
    bool single = IsSingleChannelAi(m_strModuleName);
    std::optional<std::vector<std::string>> values = PollReadings(single ? 1 : 8);
    // A reply of another shape is a missed exchange: the fields show what silence shows.
    if (!values) {
        ShowFailureTexts();
    } else {
        for (size_t k = 0; k < values->size(); ++k) {
            // The single channel's field shows its reading whatever the enable marks say.
            bool shown = single || m_bChannelEnabled[k];
            ShowChannelValue(static_cast<int>(k), shown ? (*values)[k] : "");
        }
    }
}

void CM6384::ChooseAfterPoll()
{
    if (IsSingleChannelAi(m_strModuleName)) {
        ChooseAlarmRead();
        return;
    }
    if (!m_bTypeRead) {
        // One type read after the first readings, for the channel the CH Number box shows.
        m_bTypeRead = true;
        ReadSelectedChannel();
    }
}

bool CM6384::ReadConfigurationMode()
{
    std::optional<std::string> configuration = FittingData('!', kConfigurationLength);
    if (configuration) m_strFormatHighDigit = configuration->substr(kFormatHighDigit, 1);
    bool fast = HexCharToValue(CharAt(m_strFormatHighDigit, 0)) & 0x2;
    GetDlgItemAs<CComboBox>(IDC_AI_MODE)->SetCurSel(fast ? 1 : 0);
    return configuration.has_value();
}

bool CM6384::ReadLastCommand()
{
    if (ReadSharedReply()) return true;
    int last = m_nLastCommand;
    if (last == kLastConfigure) {
        // A module that took the switch answers no more in ASCII: nothing at all coming back is
        // its answer, noise is none. A late reply to a poll confirms nothing.
        ESettingOutcome outcome = SettingOutcome(SettingAcknowledged(), ConfigurationRefused(),
                                                 m_bProtocolSwitch && NothingCame());
        ConfigurationAnswered(outcome != ESettingOutcome::Refused);
        ShowSettingOutcome(outcome, "Setting MODBUS/RTU OK!");
        OnCancel();
        return false;
    }
    if (last == kCmdReadConfiguration) {
        m_nLastCommand = kLastNone;
        m_nCommand = kCmdBackToPoll;
        EndStartup();
        bool read = ReadConfigurationMode();
        // Lost (no reply, or one of another shape): asked again between the polls. The module's
        // refusal ends it.
        m_bConfigurationMissing = !read && !ReplyFits('?', 0);
        SetStatus(read ? "Ready!" : "Error!");
    }
    return true;
}

std::string CM6384::NextRequest(const std::string& poll)
{
    switch (m_nCommand) {
    case kCmdConfigure:
        m_nLastCommand = kLastConfigure;
        return ConfigurationGoesOut();
    case kCmdReadConfiguration:
        return ConfigurationRead();
    default:
        break;
    }
    std::string request = SharedRequest();
    if (request.empty()) request = MaskReadAgain();
    if (request.empty() && m_bConfigurationMissing) request = ConfigurationRead();
    return request.empty() ? poll : request;
}

std::string CM6384::ConfigurationRead()
{
    m_nLastCommand = kCmdReadConfiguration;
    return Request('$', "2");
}

void CM6384::PollStep()
{
    TakeReply();
    // Only the module's own reply answers: noise is a miss as silence is. After a miss the poll is
    // framed as the line was opened.
    bool answered = ModuleReplied();
    std::string poll = Request('#', "", answered ? m_bChecksum : m_bOpenChecksum);
    if (!answered) ShowFailureTexts();
    if (m_nCommand == kCmdReadMask) {
        ReadMaskReply();
        m_nCommand = kCmdReadConfiguration;
    }
    if (!ReadLastCommand()) return;
    // A read's reply that is neither the module's own nor its refusal is a missed exchange.
    if (ReadMissed()) ShowFailureTexts();
    // The poll's reply is read before the operator's request takes the tick: a write the module
    // did not hear goes out again once it has answered a poll.
    bool atPoll = m_nCommand == kCmdPoll;
    if (atPoll) ShowReadings();
    // The operator's request goes out now.
    if (!ApplyQueuedCommand() && atPoll) ChooseAfterPoll();
    SendAscii(NextRequest(poll), kPollTimeout);
    Sleep(kPause);
}
