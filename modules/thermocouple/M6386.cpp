#include "M6386.h"

#include "AlarmLimit.h"
#include "AsciiCommand.h"
#include "Clock.h"
#include "ModelName.h"
#include "ModuleDialogs.h"
#include "ReadingFields.h"
#include "Strings.h"
#include "thermocouple/MvTcRanges.h"
#include "thermocouple/TcCalibration.h"
#include "thermocouple/ThermocoupleIds.h"

#include <algorithm>
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
// Alarm-mode rows and the command each sends.
const char* const kAlarmModeBodies[] = {"DA", "EAM", "EAL"};

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
    .pRangeCodes = &kMvTcRanges.codes,
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

// The alarm reads of the single-channel models: the request kind, what it leaves outstanding and
// its body.
struct SAlarmRead {
    int nCommand;
    int nState;
    const char* pszBody;
};
const SAlarmRead kAlarmReads[] = {
    {CM6386::kAlarmModeRead, CM6386::kModeRead, "DI"},
    {CM6386::kHighLimitRead, CM6386::kHighRead, "RH"},
    {CM6386::kLowLimitRead, CM6386::kLowRead, "RL"},
    {CM6386::kOutputRead, CM6386::kOutputsRead, "DI"},
};

// ">" and one value with its sign, as the cold-junction temperature comes.
bool IsOneSignedValue(const std::string& reply)
{
    char sign = CharAt(reply, 1);
    return CharAt(reply, 0) == '>' && (sign == '+' || sign == '-') &&
           reply.find_first_of("+-", 2) == std::string::npos;
}

bool StartsWithAck(const std::string& reply)
{
    return CharAt(reply, 0) == '!';
}

// Requests whose reply only shows an outcome in a status field: the success text, or the reply
// itself where there is none, when the reply begins with the lead; else the failure text.
struct SOneShot {
    int nCommand;
    int nStatus;
    char cLead;
    const char* pszOk;
    const char* pszFailed;
};
const SOneShot kOneShots[] = {
    {CM6386::kCjcZero, IDC_TC_CJC_STATUS, '!', "Ready.", "Error!"},
    {CM6386::kCoefficientWrite, IDC_TC_CJC_STATUS, '!', "Ready.", "Error!"},
    {CM6386::kTemperature, IDC_TC_CJC_STATUS, '>', nullptr, "Error!"},
    {CM6386::kReadCjc, IDC_TC_CJC_STATUS, '!', nullptr, "Error!"},
    {CM6386::kCoefficientRead, IDC_TC_CJC_STATUS, '!', nullptr, "Error!"},
    {CM6386::kEnableWrite, IDC_TC_CJC_STATUS, '!', "Ready!", "Error!"},
    {CM6386::kHighLimitWrite, IDC_TC_STATUS, '!', "Ready!", "Error!"},
    {CM6386::kLowLimitWrite, IDC_TC_STATUS, '!', "Ready!", "Error!"},
    {CM6386::kAlarmModeWrite, IDC_TC_STATUS, '!', "Ready!", "Error!"},
    {CM6386::kOutputWrite, IDC_TC_STATUS, '!', "Ready!", "Error!"},
    {CM6386::kClearAlarm, IDC_TC_STATUS, '!', "报警清除成功!", "报警清除失败!"},
};

} // namespace

BEGIN_MESSAGE_MAP(CM6386, CModuleDlg)
ON_BN_CLICKED(IDC_TC_SETTING, OnSetting)
ON_CHANNEL_BOXES(kTcCheckIds, OnEnableChannel)
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
ON_BN_CLICKED(IDC_TC_CH_CONF, OnChannelConfig)
ON_BN_CLICKED(IDC_TC_FOLLOW_CH0, OnFollowCh0)
ON_BN_CLICKED(IDC_TC_ALARMH_SETTING, OnAlarmHighSetting)
ON_BN_CLICKED(IDC_TC_ALARML_SETTING, OnAlarmLowSetting)
ON_BN_CLICKED(IDC_TC_ALARM_TYPE, OnAlarmTypeSetting)
ON_BN_CLICKED(IDC_TC_CLEAR_ALARM, OnClearAlarm)
END_MESSAGE_MAP()

CM6386::CM6386(CWnd*) : CModuleDlg(kDescriptor) {}

void CM6386::DoDataExchange(CDataExchange* pDX)
{
    DDX_Text(pDX, IDC_TC_MODEL, m_strModelText);
    for (int k = 0; k < kChannels; ++k)
        DDX_Check(pDX, kTcCheckIds[k], m_bChannelEnabled[static_cast<size_t>(k)]);
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
    m_lamps.Attach(*this, {IDC_TC_LOW_LAMP, IDC_TC_HIGH_LAMP});
    SetDlgItemText(IDC_TC_CJC_ZERO_VALUE, m_strCjcZero);
    SetDlgItemText(IDC_TC_COEFFICIENT_VALUE, Format("%d", 10000));

    // A press before the alarm mode (single channel) or the channel mask is known waits for it.
    BeginStartup();
    bool single = IsSingleChannel();
    std::string first = single ? Request('#', "") : Request('$', "6");
    m_nCommand = single ? kAlarmModeRead : kEnableRead;
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

void CM6386::ToggleChannel(int k)
{
    int& flag = m_bChannelEnabled[static_cast<size_t>(k)];
    // Without the module's own mask, a write would change channels nobody touched.
    if (m_bMaskMissing) {
        CheckDlgButton(kTcCheckIds[k], static_cast<UINT>(flag));
        return;
    }
    flag = flag == 1 ? 0 : 1;
    BuildEnableMask();
}

void CM6386::BuildEnableMask()
{
    m_strEnableMask = ChannelMaskText(m_bChannelEnabled);
    QueueCommand(kEnableWrite);
}

void CM6386::ForgetEnableMask()
{
    m_bMaskMissing = true;
    if (QueuedCommand() == kEnableWrite) {
        DropQueuedCommand();
        m_bChannelEnabled.fill(0);
        UpdateData(FALSE);
    }
}

void CM6386::ShowEnableMask(const std::array<bool, 8>& channels)
{
    for (size_t k = 0; k < channels.size(); ++k)
        if (channels[k]) m_bChannelEnabled[k] = 1;
    UpdateData(FALSE);
    SetDlgItemText(IDC_TC_ADDRESS, m_strAddressDecimal);
}

void CM6386::ShowChannelValue(int channel, int kind, const std::string& text)
{
    if (kind == 0 && channel >= 0 && channel < kChannels)
        SetDlgItemText(kTcValueIds[channel], text);
}

void CM6386::ShowReadings()
{
    bool answered = m_nLastResult == 1;
    if (IsSingleChannel()) {
        if (!answered) {
            ShowChannelValue(0, 0, kReadFailed);
        } else if (!m_strReply.empty()) {
            ShowChannelValue(0, 0, Mid(m_strReply, 1));
        }
        return;
    }
    std::vector<std::string> fields = SplitReadings(Mid(m_strReply, 1), kChannels, kChannels);
    for (int k = 0; k < kChannels; ++k) {
        bool enabled = m_bChannelEnabled[static_cast<size_t>(k)] != 0;
        ShowChannelValue(k, 0, enabled ? fields[static_cast<size_t>(k)] : "");
    }
}

void CM6386::ShowLamps(const std::string& outputs)
{
    // Any other pair leaves the lamps as they are.
    static const CodeTable kOutputPairs = {"00", "01", "02", "03"};
    int bits = RowOfCode(kOutputPairs, outputs);
    if (bits < 0) return;
    m_bLowLampOn = bits & 1;
    m_bHighLampOn = (bits >> 1) & 1;
    m_lamps.Show(0, m_bLowLampOn != 0);
    m_lamps.Show(1, m_bHighLampOn != 0);
}

void CM6386::ReadAlarmReply()
{
    bool ack = StartsWithAck(m_strReply);
    switch (m_nAlarmReadState) {
    case kModeRead: {
        int mode = CharAt(m_strReply, 3) - '0';
        if (ack && mode >= 0 && mode <= 2)
            GetDlgItemAs<CComboBox>(IDC_TC_ALARM_MODE)->SetCurSel(mode);
        m_nCommand = ack ? kResume : kAlarmModeRead;
        if (ack) EndStartup();
        break;
    }
    case kHighRead:
        if (ack) SetDlgItemText(IDC_TC_HIGH_LIMIT, Mid(m_strReply, 3, 7));
        m_nCommand = ack ? kLowLimitRead : kHighLimitRead;
        break;
    case kLowRead:
        ++m_nLimitReads;
        if (ack) SetDlgItemText(IDC_TC_LOW_LIMIT, Mid(m_strReply, 3, 7));
        m_nCommand = ack ? kResume : kLowLimitRead;
        break;
    case kOutputsRead:
        if (ack) ShowLamps(Mid(m_strReply, 4, 2));
        SetDlgItemText(IDC_TC_STATUS, m_strReply);
        m_nCommand = ack ? kResume : kOutputRead;
        break;
    default:
        break;
    }
    m_nAlarmReadState = kNoAlarmRead;
}

void CM6386::ReadChannelType()
{
    if (!StartsWithAck(m_strReply)) return;
    int row = RowOfCode(kTcChannelTypes.codes, Mid(m_strReply, 6, 2));
    if (row >= 0) GetDlgItemAs<CComboBox>(IDC_TC_CH_TYPE)->SetCurSel(row);
}

bool CM6386::EvaluateReply()
{
    if (m_nCommand == kEnableRead) {
        if (std::optional<std::array<bool, 8>> bits = MaskOfReply()) {
            ShowEnableMask(*bits);
        } else {
            ForgetEnableMask();
        }
        m_nCommand = kPoll;
        EndStartup();
    }
    ReadAlarmReply();
    int last = m_nLastCommand;
    m_nLastCommand = kLastNone;
    switch (last) {
    case kConfigure: {
        // A late reply to a poll confirms nothing.
        ESettingOutcome outcome =
            SettingOutcome(SettingAcknowledged(), m_bSettingRefused, m_bModbusChosen);
        ConfigurationAnswered(outcome != ESettingOutcome::Refused);
        ShowSettingOutcome(outcome, kModbusOk);
        OnCancel();
        return false;
    }
    case kCalibrate:
    case kZeroCalibration:
    case kSpanCalibration:
        ReadCalibrationReply(last);
        break;
    case kChannelConfig:
    case kFollowWrite:
        ReadChannelWrite(last);
        break;
    case kChannelRead:
        ReadChannelType();
        m_nCommand = kResume;
        break;
    case kCjcTemperatureRead:
        // One signed value: a late reply of the readings is none.
        if (IsOneSignedValue(m_strReply)) SetDlgItemText(IDC_TC_CJC_TEMP, Mid(m_strReply, 1));
        m_nCommand = kResume;
        break;
    default:
        if (ShowOneShotOutcome(last)) m_nCommand = kResume;
        break;
    }
    return true;
}

bool CM6386::ShowOneShotOutcome(int last)
{
    for (const SOneShot& shot : kOneShots) {
        if (shot.nCommand != last) continue;
        bool ok = CharAt(m_strReply, 0) == shot.cLead;
        SetDlgItemText(shot.nStatus, ok ? (shot.pszOk ? shot.pszOk : m_strReply) : shot.pszFailed);
        return true;
    }
    return false;
}

void CM6386::ReadCalibrationReply(int last)
{
    bool ack = StartsWithAck(m_strReply);
    if (last == kCalibrate) {
        // Refused: the same offset goes out again at every tick until the module takes it.
        SetDlgItemText(IDC_TC_STATUS, ack ? "Ready." : "Error!");
        for (int id : {IDC_TC_ZERO, IDC_TC_SPAN}) GetDlgItem(id)->EnableWindow(ack ? TRUE : FALSE);
        m_nCommand = ack ? kResume : kCalibrate;
        return;
    }
    bool settled = GetTickCount() - m_dwCalibrationTick >= kCalibrationSettle;
    SetDlgItemText(IDC_TC_STATUS, ack && settled ? "Ready." : "Error!");
    m_nCommand = kResume;
}

// An acknowledged channel-type write carries a running copy of CH0's type on. The chain's own
// write moves it to the next channel; after a refusal it waits, and the next acknowledged write
// ("CH CONF") resumes it at the channel that was refused, so no channel is skipped.
void CM6386::ReadChannelWrite(int last)
{
    m_nCommand = kResume;
    if (!StartsWithAck(m_strReply) || !m_follow.bActive) return;
    if (last == kFollowWrite && m_follow.Answers() && ++m_follow.nStep == kChannels) {
        m_follow.Stop();
        return;
    }
    if (SequenceMayContinue(m_follow)) m_nCommand = kFollowWrite;
}

// After the readings: the 4386A reads its channel type once, then its cold-junction temperature
// after every poll; the single-channel models read their limits once, then their outputs.
std::string CM6386::PollOrAutomaticRequest()
{
    if (IsPerChannelModel()) {
        if (!m_bChannelTypeAsked) {
            m_bChannelTypeAsked = true;
            m_strChannelRequest = Request('$', Format("8C%d", SelectedChannel()));
            m_nLastCommand = m_nCommand = kChannelRead;
            return m_strChannelRequest;
        }
        m_nLastCommand = m_nCommand = kCjcTemperatureRead;
        return Request('$', "3");
    }
    if (IsSingleChannel()) {
        m_nCommand = m_nLimitReads == 0 ? kHighLimitRead : kOutputRead;
        return NextRequest();
    }
    return Request('#', "");
}

std::string CM6386::NextRequest()
{
    switch (m_nCommand) {
    case kResume:
        m_nCommand = kPoll;
        return Request('#', "");
    case kPoll:
        ShowReadings();
        return PollOrAutomaticRequest();
    default:
        break;
    }
    for (const SAlarmRead& read : kAlarmReads) {
        if (m_nCommand != read.nCommand) continue;
        m_nAlarmReadState = read.nState;
        return Request('@', read.pszBody);
    }
    std::string request = OneShotRequest();
    if (!request.empty()) {
        m_nLastCommand = m_nCommand;
        return request;
    }
    m_nCommand = kPoll;
    return Request('#', "");
}

std::string CM6386::OneShotRequest()
{
    switch (m_nCommand) {
    case kCalibrate:
        return Request('$', "9" + m_strCjcSign + m_strCjcOffsetHex);
    case kZeroCalibration:
        return Request('$', "1");
    case kSpanCalibration:
        return Request('$', "0");
    case kCjcZero:
        return Request('$', "9" + m_strCjcZero);
    case kCoefficientWrite:
        return Request('~', "L" + m_strCoefficientHex);
    case kTemperature:
    case kCjcTemperatureRead:
        return Request('$', "3");
    case kReadCjc:
        return Request('$', "J");
    case kCoefficientRead:
        return Request('$', "L");
    case kEnableWrite:
        // The mask as it stands now, with the module's own marks read at start.
        m_strEnableMask = ChannelMaskText(m_bChannelEnabled);
        return Request('$', "5" + m_strEnableMask);
    case kHighLimitWrite:
        return Request('@', "HI" + m_strHighLimit);
    case kLowLimitWrite:
        return Request('@', "LO" + m_strLowLimit);
    case kAlarmModeWrite:
        return Request('@', m_strAlarmModeBody);
    case kClearAlarm:
        return Request('@', "CA");
    case kOutputWrite:
        return Request('@', Format("DO0%d", m_nOutputRequest));
    case kChannelRead:
    case kChannelConfig:
        return m_strChannelRequest;
    case kFollowWrite:
        m_follow.Sent();
        return ChannelWriteRequest(m_follow.nStep, m_nFollowTypeRow);
    default:
        return "";
    }
}

void CM6386::SendConfiguration()
{
    m_nLastCommand = kConfigure;
    m_bSettingRefused = false;
    bool answered = SendAscii(ConfigurationGoesOut(), kPollTimeout);
    Sleep(kPause);
    if (!answered) return;
    m_bSettingRefused = m_szReply[0] == '?';
    if (!m_bModbusChosen) return;
    // The switch once more without checksum digits: the module may have dropped its checksum.
    std::string again = FrameAsciiCommand("$" + m_strSwitchAddress + "R1", false);
    if (SendAscii(again, kPollTimeout)) {
        m_bSettingRefused = m_bSettingRefused || m_szReply[0] == '?';
        Sleep(kPause);
    }
    m_nLastResult = 1;
}

void CM6386::PollStep()
{
    TakeReply();
    if (!EvaluateReply()) return;
    // The operator's request goes out now; an alarm read it interrupts is asked again later.
    ApplyQueuedCommand();
    if (m_nCommand == kConfigure) {
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
    QueueConfiguration(kConfigure, SettingOf(*choice, dollarSwitch));
}

int CM6386::SelectedChannel() const
{
    // A typed text that is no row of the box reads as CH0.
    return std::max(GetDlgItemAs<CComboBox>(IDC_TC_CH_NUMBER)->GetCurSel(), 0);
}

std::string CM6386::ChannelWriteRequest(int channel, int typeRow) const
{
    return Request('$', Format("7C%dR", channel) + CodeOfRow(kTcChannelTypes.codes, typeRow));
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
    QueueCommand(kCalibrate);
}

void CM6386::OnZeroCalibration()
{
    m_dwCalibrationTick = GetTickCount();
    QueueCommand(kZeroCalibration);
}

void CM6386::OnSpanCalibration()
{
    m_dwCalibrationTick = GetTickCount();
    QueueCommand(kSpanCalibration);
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
    QueueCommand(kCjcZero);
}

void CM6386::OnCoefficientWrite()
{
    std::optional<std::string> code = CoefficientCode(GetDlgItemText(IDC_TC_COEFFICIENT_VALUE));
    if (!code) {
        MessageBox(kCoefficientRange, kNoteCaption, MB_ICONEXCLAMATION);
        return;
    }
    m_strCoefficientHex = *code;
    QueueCommand(kCoefficientWrite);
}

void CM6386::OnTemperature()
{
    QueueCommand(kTemperature);
}

void CM6386::OnReadCjc()
{
    QueueCommand(kReadCjc);
}

void CM6386::OnCoefficientRead()
{
    QueueCommand(kCoefficientRead);
}

void CM6386::OnReadCjcTemperature()
{
    QueueCommand(kCjcTemperatureRead);
}

void CM6386::OnChannelRead()
{
    m_strChannelRequest = Request('$', Format("8C%d", SelectedChannel()));
    QueueCommand(kChannelRead);
}

void CM6386::OnChannelConfig()
{
    int typeRow = GetDlgItemAs<CComboBox>(IDC_TC_CH_TYPE)->GetCurSel();
    if (typeRow < 0) return; // no type chosen: nothing to write
    m_strChannelRequest = ChannelWriteRequest(SelectedChannel(), typeRow);
    QueueCommand(kChannelConfig);
}

void CM6386::OnFollowCh0()
{
    if (!FollowStartsAtCh0(IDC_TC_CH_NUMBER)) return;
    int typeRow = GetDlgItemAs<CComboBox>(IDC_TC_CH_TYPE)->GetCurSel();
    if (typeRow < 0) return;
    m_nFollowTypeRow = typeRow;
    m_follow.Start();
    QueueCommand(kFollowWrite);
}

void CM6386::OnAlarmHighSetting()
{
    if (std::optional<std::string> limit = CheckedAlarmLimit(*this, IDC_TC_HIGH_LIMIT)) {
        m_strHighLimit = *limit;
        QueueCommand(kHighLimitWrite);
    }
}

void CM6386::OnAlarmLowSetting()
{
    if (std::optional<std::string> limit = CheckedAlarmLimit(*this, IDC_TC_LOW_LIMIT)) {
        m_strLowLimit = *limit;
        QueueCommand(kLowLimitWrite);
    }
}

void CM6386::OnAlarmTypeSetting()
{
    // Typed text that is none of the three modes has no command.
    int row = GetDlgItemAs<CComboBox>(IDC_TC_ALARM_MODE)->GetCurSel();
    if (row < 0) return;
    m_strAlarmModeBody = kAlarmModeBodies[row];
    QueueCommand(kAlarmModeWrite);
}

void CM6386::OnClearAlarm()
{
    QueueCommand(kClearAlarm);
}

void CM6386::OnLButtonDown(UINT nFlags, CPoint point)
{
    int lamp = m_lamps.HitTest(point);
    if (lamp >= 0) {
        if (nFlags == MK_LBUTTON) {
            int& on = lamp == 0 ? m_bLowLampOn : m_bHighLampOn;
            on = on ? 0 : 1;
        }
        // The outputs as the click leaves them, whatever a read in flight reports meanwhile; the
        // lamps follow the module at the next output read, not the click.
        m_nOutputRequest = m_bLowLampOn + 2 * m_bHighLampOn;
        QueueCommand(kOutputWrite);
    }
    CModuleDlg::OnLButtonDown(nFlags, point);
}
