#include "M6386.h"

#include "AsciiCommand.h"
#include "Clock.h"
#include "ModelName.h"
#include "ModuleDialogs.h"
#include "Strings.h"
#include "thermocouple/MvTcRanges.h"
#include "thermocouple/TcCalibration.h"
#include "thermocouple/ThermocoupleIds.h"

#include <initializer_list>

REGISTER_MODULE_DIALOG(CM6386)

namespace {

inline constexpr WORD kFirstTimeout = 100;
inline constexpr WORD kPollTimeout = 300;
inline constexpr DWORD kPause = 150;
inline constexpr DWORD kSettingPause = 200;
inline constexpr UINT kPeriod = 500;
inline constexpr int kChannels = 8;
inline constexpr const char* kModbusOk = "Setting MODBUS/RTU OK!";
inline constexpr const char* kReadFailed = "ERROR!!";
// A zero or span reply counts only this long after the click: the module needs the time.
inline constexpr DWORD kCalibrationSettle = 100;
inline constexpr const char* kNoteCaption = "Note";
inline constexpr const char* kCoefficientRange = "The number is 0 ~ 50000!";
inline constexpr const char* kOffsetRange =
    "The offset must be a sign and 0 ~ 589.81, eg.(+00.02)!";
inline constexpr const char* kRawOffsetForm =
    "The offset must be a sign and 4 hex digits, eg.(+0000)!";

// The Data Format digits are those of every thermocouple dialog (FormatDigitTable); only on the
// 4386A is bit 2 of the digit the protocol, and bits 0 and 1 the format.
inline constexpr int kProtocolBit = 0x4;
inline constexpr int kPerChannelFormatBits = 0x3;

const SModuleDescriptor kDescriptor = {
    .nTemplate = IDD_M6386,
    .pBlock = &CMainFrame::m_strThermocoupleInputParams,
    .pChanged = &CMainFrame::m_bThermocoupleInputChanged,
    .eLink = ELinkKind::Ascii,
    .boxes = {IDC_TC_ADDRESS, IDC_TC_BAUD, IDC_TC_CHECKSUM, IDC_TC_RANGE, IDC_TC_FORMAT,
              IDC_TC_PROTOCOL},
    .pRangeCodes = &MvTcRanges().codes,
    .pFormatCodes = &FormatDigitTable,
};

// The typed text "0" is refused and polling goes on; "00" is an address, but not with a new baud
// rate.
const SAddressZeroRule kAddressZero = {
    .bRefuse = true,
    .pszText = "重新设置时地址不能为0!",
    .pszCaption = "",
    .bCloseAfter = false,
    .nType = MB_ICONEXCLAMATION,
    .bTextZeroOnly = true,
};

const std::initializer_list<int> kChannelTypeControls = {
    IDC_TC_CH_NUMBER, IDC_TC_CH_TYPE, IDC_TC_CH_READ, IDC_TC_CH_CONF, IDC_TC_FOLLOW_CH0};
const std::initializer_list<int> kAlarmControls = {IDC_TC_HIGH_LIMIT,     IDC_TC_LOW_LIMIT,
                                                   IDC_TC_ALARMH_SETTING, IDC_TC_ALARML_SETTING,
                                                   IDC_TC_CLEAR_ALARM,    IDC_TC_ALARM_TYPE};
const std::initializer_list<int> kAlarmModeControls = {IDC_TC_ALARM_MODE, IDC_TC_ALARMH_LABEL,
                                                       IDC_TC_ALARML_LABEL, IDC_TC_HIGH_LAMP_LABEL,
                                                       IDC_TC_LOW_LAMP_LABEL};
const std::initializer_list<int> kColdJunctionControls = {
    IDC_TC_CJC_ZERO_VALUE,    IDC_TC_COEFFICIENT_VALUE, IDC_TC_COEFFICIENT_READ, IDC_TC_CJC_ZERO,
    IDC_TC_COEFFICIENT_WRITE, IDC_TC_TEMPERATURE,       IDC_TC_READ_CJC};

// Requests whose reply only shows an outcome in a status field: the success text (or the reply
// itself where there is none) for the module's own reply of the lead and shape awaited; else the
// failure text.
struct SOneShot {
    int nCommand;
    int nStatus;
    char cLead;
    bool (*pShape)(const std::string& data);
    const char* pszOk;
    const char* pszFailed;
};
// An acknowledgement carries nothing after the address.
bool IsAcknowledgement(const std::string& data)
{
    return data.empty();
}
// The cold-junction temperature ("$AA3"): one signed reading in engineering units.
bool IsTemperature(const std::string& data)
{
    return IsReading(data, EReadingForm::Decimal);
}
const SOneShot kOneShots[] = {
    {CM6386::kCmdCjcZero, IDC_TC_CJC_STATUS, '!', IsAcknowledgement, "Ready.", "Error!"},
    {CM6386::kCmdCoefficientWrite, IDC_TC_CJC_STATUS, '!', IsAcknowledgement, "Ready.", "Error!"},
    {CM6386::kCmdTemperature, IDC_TC_CJC_STATUS, '>', IsTemperature, nullptr, "Error!"},
    {CM6386::kCmdReadCjc, IDC_TC_CJC_STATUS, '!', IsRawCjcOffset, nullptr, "Error!"},
    {CM6386::kCmdCoefficientRead, IDC_TC_CJC_STATUS, '!', IsCoefficientHex, nullptr, "Error!"},
};

// A mask write shows its outcome beside the cold junction; a limit has a button of its own; the
// follow chain waits at a refused channel.
const SAlarmInputSetup kAlarmSetup = {
    .checkIds = kTcCheckIds,
    .nAddressBox = IDC_TC_ADDRESS,
    .nMaskStatus = IDC_TC_CJC_STATUS,
    .nChannelNumber = IDC_TC_CH_NUMBER,
    .nChannelType = IDC_TC_CH_TYPE,
    .pTypeCodes = &TcChannelTypes().codes,
    .nHighLimit = IDC_TC_HIGH_LIMIT,
    .nLowLimit = IDC_TC_LOW_LIMIT,
    .nAlarmMode = IDC_TC_ALARM_MODE,
    .nStatus = IDC_TC_STATUS,
    .lampIds = {IDC_TC_LOW_LAMP, IDC_TC_HIGH_LAMP},
    .bChannelWithoutRowIsCh0 = true,
    .eFollowRefusal = EFollowRefusal::Waits,
    .eLimitWrite = ELimitWrite::EachAlone,
    .eModeRead = EModeRead::UntilAcknowledged,
    .eClearReply = EClearReply::ShowsOutcome,
    .bOtherOutputsDarkenLamps = false,
};

} // namespace

BEGIN_MESSAGE_MAP(CM6386, CAlarmInputDlg)
ON_BN_CLICKED(IDC_TC_SETTING, OnSetting)
ON_CHANNEL_BOXES(kTcCheckIds, OnChannelCheck)
ON_BN_CLICKED(IDC_TC_CALIBRATE, OnCalibrate)
ON_BN_CLICKED(IDC_TC_ZERO, OnZeroCalibration)
ON_BN_CLICKED(IDC_TC_SPAN, OnSpanCalibration)
ON_BN_CLICKED(IDC_TC_CJC_ZERO, OnCjcZero)
ON_BN_CLICKED(IDC_TC_COEFFICIENT_WRITE, OnCoefficientWrite)
ON_BN_CLICKED(IDC_TC_TEMPERATURE, OnTemperature)
ON_BN_CLICKED(IDC_TC_READ_CJC, OnReadCjc)
ON_BN_CLICKED(IDC_TC_COEFFICIENT_READ, OnCoefficientRead)
ON_BN_CLICKED(IDC_TC_READ, OnReadCjcTemperature)
ON_BN_CLICKED(IDC_TC_CH_READ, OnChannelRead)
ON_BN_CLICKED(IDC_TC_CH_CONF, OnChannelConfigure)
ON_BN_CLICKED(IDC_TC_FOLLOW_CH0, OnFollowChannel0)
ON_BN_CLICKED(IDC_TC_ALARMH_SETTING, OnAlarmHighSetting)
ON_BN_CLICKED(IDC_TC_ALARML_SETTING, OnAlarmLowSetting)
ON_BN_CLICKED(IDC_TC_ALARM_TYPE, OnAlarmTypeSetting)
ON_BN_CLICKED(IDC_TC_CLEAR_ALARM, OnAlarmClear)
END_MESSAGE_MAP()

CM6386::CM6386(CWnd*) : CAlarmInputDlg(kDescriptor, kAlarmSetup) {}

void CM6386::DoDataExchange(CDataExchange* pDX)
{
    DDX_Text(pDX, IDC_TC_MODEL, m_strModelText);
    CAlarmInputDlg::DoDataExchange(pDX);
}

bool CM6386::IsEightChannel() const
{
    return ModelHasAny(m_strModuleName, {"4386", "6386"});
}

bool CM6386::IsPerChannelModel() const
{
    return ModelHas(m_strModuleName, "4386A");
}

bool CM6386::IsSingleChannel() const
{
    return ModelHasAny(m_strModuleName, {"4388", "6388"});
}

BOOL CM6386::OnInitDialog()
{
    CDialog::OnInitDialog();
    m_strModelText = Block()[kModule];
    InitFromBlock();
    GetDlgItemAs<CComboBox>(IDC_TC_PROTOCOL)->SetCurSel(0);
    SetControlStates();
    DWORD baud = SelectSettings();
    AttachLamps();
    SetDlgItemText(IDC_TC_CJC_ZERO_VALUE, m_strCjcZero);
    SetDlgItemText(IDC_TC_COEFFICIENT_VALUE, Format("%d", 10000));

    // A press before the alarm mode (single channel) or the channel mask is known waits for it.
    BeginStartup();
    bool single = IsSingleChannel();
    std::string first = single ? Request('#', "") : Request('$', "6");
    m_nCommand = single ? kCmdReadAlarmMode : kCmdReadMask;
    OpenAsciiLine(baud);
    SendAscii(first, kFirstTimeout);
    SetTimer(m_nTimerId, kPeriod);
    return TRUE;
}

void CM6386::SetControlStates()
{
    auto enable = [this](std::initializer_list<int> ids, bool on) {
        for (int id : ids) GetDlgItem(id)->EnableWindow(on ? TRUE : FALSE);
    };
    if (IsEightChannel()) {
        enable({IDC_TC_RANGE}, true);
        enable({IDC_TC_PROTOCOL}, !IsAddressZero());
        enable(kChannelTypeControls, false);
        enable({IDC_TC_ZERO, IDC_TC_SPAN}, false);
        enable(kAlarmControls, false);
        enable(kAlarmModeControls, false);
    }
    if (IsPerChannelModel()) {
        enable({IDC_TC_RANGE}, false);
        enable({IDC_TC_PROTOCOL}, true);
        enable(kChannelTypeControls, true);
        GetDlgItemAs<CComboBox>(IDC_TC_CH_NUMBER)->SelectString(-1, "CH0");
        enable({IDC_TC_ZERO, IDC_TC_SPAN, IDC_TC_CALIBRATE, IDC_TC_STATUS, IDC_TC_READ}, true);
        enable(kColdJunctionControls, false);
        enable({IDC_TC_CJC_TEMP, IDC_TC_CJC_OFFSET}, true);
        SetDlgItemText(IDC_TC_CJC_OFFSET, "+00.00");
    }
    if (IsSingleChannel()) {
        for (int id : kTcCheckIds) GetDlgItem(id)->EnableWindow(FALSE);
        for (int k = 1; k < kChannels; ++k) GetDlgItem(kTcValueIds[k])->EnableWindow(FALSE);
        enable({IDC_TC_ZERO, IDC_TC_SPAN}, false);
        enable(kAlarmControls, true);
    }
}

// Selects the rows of the block's codes and gives the rate to open the line at.
DWORD CM6386::SelectSettings()
{
    FillSettingsBoxes(true);
    const ModuleParamBlock& block = Block();
    if (IsPerChannelModel()) {
        GetDlgItemAs<CComboBox>(IDC_TC_RANGE)->SetCurSel(MvTcRangeRow(block[kScript], true));
        int digit = HexDigitOrZero(CharAt(block[kFormat], 0));
        if (!block[kFormat].empty()) {
            GetDlgItemAs<CComboBox>(IDC_TC_PROTOCOL)->SetCurSel(digit & kProtocolBit ? 1 : 0);
            GetDlgItemAs<CComboBox>(IDC_TC_FORMAT)
                ->SetCurSel(
                    RowOfCode(FormatDigitTable, ValueToHexChar(digit & kPerChannelFormatBits)));
        }
    }
    // A module whose baud code is none of the table's is tried at 9600, as in its INIT state.
    return BlockBaudRate(9600);
}

void CM6386::ShowChannelValue(int channel, int kind, const std::string& text)
{
    if (kind == 0 && channel >= 0 && channel < kChannels)
        SetDlgItemText(kTcValueIds[channel], text);
}

// A reply of another shape is a missed exchange: the fields show what silence shows, "ERROR!!" in
// a single channel's field, every field of eight channels empty.
void CM6386::ShowReadings()
{
    if (IsSingleChannel()) {
        std::optional<std::vector<std::string>> reading = PollReadings(1);
        ShowChannelValue(0, 0, reading ? reading->front() : kReadFailed);
        return;
    }
    std::optional<std::vector<std::string>> fields = PollReadings(kChannels);
    for (int k = 0; k < kChannels; ++k) {
        bool enabled = m_bChannelEnabled[static_cast<size_t>(k)] != 0;
        ShowChannelValue(k, 0, enabled && fields ? (*fields)[static_cast<size_t>(k)] : "");
    }
}

bool CM6386::EvaluateReply()
{
    if (m_nCommand == kCmdReadMask) {
        ReadMaskReply();
        m_nCommand = kCmdPoll;
        EndStartup();
    }
    if (ReadSharedReply()) return true;
    int last = m_nLastCommand;
    m_nLastCommand = kLastNone;
    switch (last) {
    case kLastConfigure: {
        // A module that took the switch answers no more in ASCII: nothing at all coming back to
        // the last request is its answer, noise is none. A late reply to a poll confirms nothing.
        ESettingOutcome outcome = SettingOutcome(SettingAcknowledged(), m_bSettingRefused,
                                                 m_bModbusChosen && NothingCame());
        ConfigurationAnswered(outcome != ESettingOutcome::Refused, m_bSettingRefused);
        ShowSettingOutcome(outcome, kModbusOk);
        OnCancel();
        return false;
    }
    case kCmdCalibrate:
    case kCmdZeroCalibration:
    case kCmdSpanCalibration:
        ReadCalibrationReply(last);
        break;
    case kCmdCjcTemperatureRead:
        // One value: a late reply of the readings is none.
        if (std::optional<std::string> temperature = ReplyDataOf('>', IsTemperature))
            SetDlgItemText(IDC_TC_CJC_TEMP, *temperature);
        m_nCommand = kCmdBackToPoll;
        break;
    default:
        if (ShowOneShotOutcome(last)) m_nCommand = kCmdBackToPoll;
        break;
    }
    return true;
}

bool CM6386::ShowOneShotOutcome(int last)
{
    for (const SOneShot& shot : kOneShots) {
        if (shot.nCommand != last) continue;
        bool ok = ReplyDataOf(shot.cLead, shot.pShape).has_value();
        std::string reply = ReplyOf(shot.cLead).value_or("");
        SetDlgItemText(shot.nStatus, ok ? (shot.pszOk ? shot.pszOk : reply) : shot.pszFailed);
        return true;
    }
    return false;
}

void CM6386::ReadCalibrationReply(int last)
{
    bool ack = Acknowledged();
    if (last == kCmdCalibrate) {
        // Refused: the same offset goes out again at every tick until the module takes it.
        SetDlgItemText(IDC_TC_STATUS, ack ? "Ready." : "Error!");
        for (int id : {IDC_TC_ZERO, IDC_TC_SPAN}) GetDlgItem(id)->EnableWindow(ack ? TRUE : FALSE);
        m_nCommand = kCmdBackToPoll;
        if (!ack) m_nCommand = kCmdCalibrate;
        return;
    }
    bool settled = GetTickCount() - m_dwCalibrationTick >= kCalibrationSettle;
    SetDlgItemText(IDC_TC_STATUS, ack && settled ? "Ready." : "Error!");
    m_nCommand = kCmdBackToPoll;
}

// After the readings: the enable mask while it is unknown (between the polls); the 4386A reads its
// channel type once, then its cold-junction temperature after every poll; the single-channel
// models read their limits once, then their outputs.
std::string CM6386::PollOrAutomaticRequest()
{
    if (std::string again = MaskReadAgain(); !again.empty()) return again;
    if (IsPerChannelModel()) {
        if (!m_bChannelTypeAsked) {
            m_bChannelTypeAsked = true;
            ReadSelectedChannel();
            return SharedRequest();
        }
        m_nLastCommand = m_nCommand = kCmdCjcTemperatureRead;
        return Request('$', "3");
    }
    if (IsSingleChannel()) {
        ChooseAlarmRead();
        return SharedRequest();
    }
    return Request('#', "");
}

std::string CM6386::NextRequest()
{
    if (m_nCommand == kCmdPoll) return PollOrAutomaticRequest();
    std::string request = SharedRequest();
    if (!request.empty()) return request;
    request = OneShotRequest();
    if (!request.empty()) {
        m_nLastCommand = m_nCommand;
        return request;
    }
    m_nCommand = kCmdPoll;
    return Request('#', "");
}

std::string CM6386::OneShotRequest()
{
    switch (m_nCommand) {
    case kCmdCalibrate:
        return Request('$', "9" + m_strCjcSign + m_strCjcOffsetHex);
    case kCmdZeroCalibration:
        return Request('$', "1");
    case kCmdSpanCalibration:
        return Request('$', "0");
    case kCmdCjcZero:
        return Request('$', "9" + m_strCjcZero);
    case kCmdCoefficientWrite:
        return Request('~', "L" + m_strCoefficientHex);
    case kCmdTemperature:
    case kCmdCjcTemperatureRead:
        return Request('$', "3");
    case kCmdReadCjc:
        return Request('$', "J");
    case kCmdCoefficientRead:
        return Request('$', "L");
    default:
        return "";
    }
}

void CM6386::SendConfiguration()
{
    m_nLastCommand = kLastConfigure;
    // A refusal comes from the address the request went to.
    std::string sentTo = m_strOldAddress;
    bool answered = SendAscii(ConfigurationGoesOut(), kPollTimeout);
    Sleep(kPause);
    m_bSettingRefused = ReplyFits('?', sentTo, 0);
    if (!answered || !m_bModbusChosen) return;
    // The switch once more without checksum digits: the module may have dropped its checksum.
    std::string again = FrameAsciiCommand("$" + m_strSwitchAddress + "R1", false);
    if (SendAscii(again, kPollTimeout)) {
        m_bSettingRefused = m_bSettingRefused || ReplyFits('?', m_strSwitchAddress, 0);
        Sleep(kPause);
    }
}

void CM6386::PollStep()
{
    TakeReply();
    if (!EvaluateReply()) return;
    // The poll's reply is read before the operator's request takes the tick: a write the module
    // did not hear goes out again once it has answered a poll.
    if (m_nCommand == kCmdPoll) ShowReadings();
    // The operator's request goes out now; an alarm read it interrupts is asked again later.
    ApplyQueuedCommand();
    if (m_nCommand == kCmdConfigure) {
        SendConfiguration();
        return;
    }
    if (!SendAscii(NextRequest(), kPollTimeout)) Sleep(kPause);
}

void CM6386::OnSetting()
{
    UpdateData(TRUE);
    bool perChannel = IsPerChannelModel();
    std::optional<SSettingsChoice> choice = ReadSettings(
        kAddressZero, perChannel ? EModbusRow::Configures : EModbusRow::SwitchesByDollar);
    if (!choice) return;
    if (RefuseNewBaudAtZero(*choice)) return;
    m_bModbusChosen = choice->bModbus;
    if (perChannel) {
        // One type per channel; the protocol rides in bit 2 of the format digit.
        choice->strRangeCode = kPerChannelRangeCode;
        choice->strRangeText = SelectedText(IDC_TC_RANGE);
        choice->strFormatDigit = Format("%d", (choice->nFormat & kPerChannelFormatBits) |
                                                  (m_bModbusChosen ? kProtocolBit : 0));
    }
    bool dollarSwitch = m_bModbusChosen && !perChannel;
    m_strSwitchAddress = dollarSwitch ? m_strOldAddress : choice->strAddress;
    Sleep(kSettingPause);
    QueueConfiguration(kCmdConfigure, SettingOfChoice(*choice, dollarSwitch));
}

void CM6386::OnCalibrate()
{
    std::optional<SCjcOffsetCode> code = CjcOffsetCode(GetDlgItemText(IDC_TC_CJC_OFFSET));
    if (!code) {
        MessageBox(kOffsetRange, kNoteCaption, MB_ICONEXCLAMATION);
        return;
    }
    m_strCjcSign = code->strSign;
    m_strCjcOffsetHex = code->strHex;
    QueueCommand(kCmdCalibrate);
}

void CM6386::OnZeroCalibration()
{
    m_dwCalibrationTick = GetTickCount();
    QueueCommand(kCmdZeroCalibration);
}

void CM6386::OnSpanCalibration()
{
    m_dwCalibrationTick = GetTickCount();
    QueueCommand(kCmdSpanCalibration);
}

// Takes its own field only: an address typed but not yet set stays out of the requests.
void CM6386::OnCjcZero()
{
    std::string text = GetDlgItemText(IDC_TC_CJC_ZERO_VALUE);
    if (!IsRawCjcOffset(text)) {
        MessageBox(kRawOffsetForm, kNoteCaption, MB_ICONEXCLAMATION);
        return;
    }
    m_strCjcZero = text;
    QueueCommand(kCmdCjcZero);
}

void CM6386::OnCoefficientWrite()
{
    std::optional<std::string> code = CoefficientCode(GetDlgItemText(IDC_TC_COEFFICIENT_VALUE));
    if (!code) {
        MessageBox(kCoefficientRange, kNoteCaption, MB_ICONEXCLAMATION);
        return;
    }
    m_strCoefficientHex = *code;
    QueueCommand(kCmdCoefficientWrite);
}

void CM6386::OnTemperature()
{
    QueueCommand(kCmdTemperature);
}

void CM6386::OnReadCjc()
{
    QueueCommand(kCmdReadCjc);
}

void CM6386::OnCoefficientRead()
{
    QueueCommand(kCmdCoefficientRead);
}

void CM6386::OnReadCjcTemperature()
{
    QueueCommand(kCmdCjcTemperatureRead);
}
