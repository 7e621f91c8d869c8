#include "M6384.h"

#include "AiChannelTypes.h"
#include "AiModels.h"
#include "AlarmLimit.h"
#include "AnalogInputIds.h"
#include "AsciiCommand.h"
#include "Clock.h"
#include "ModelName.h"
#include "ModuleDialogs.h"
#include "ReadingFields.h"
#include "Resource.h"
#include "Resources.h"
#include "SettingRequest.h"
#include "Strings.h"

#include <algorithm>

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
// The outputs' two digits of "@AADI" by their bits (bit 0 output 0, bit 1 output 1).
const CodeTable kOutputCodes = {"00", "01", "02", "03"};
// Alarm-mode rows and the command each sends.
const char* const kAlarmModeCommands[] = {"DA", "EAM", "EAL"};

inline constexpr WORD kPollTimeout = 300;
inline constexpr DWORD kPause = 150;

// Readings come at most eight to a reply: a ninth sign ends the eighth value, and what follows
// it is not shown.
inline constexpr int kReadingSigns = 9;

} // namespace

BEGIN_MESSAGE_MAP(CM6384, CModuleDlg)
ON_BN_CLICKED(IDC_AI_SETTING, OnSetting)
ON_CHANNEL_BOXES(kAiCheckIds, OnChannelCheck)
ON_BN_CLICKED(IDC_AI_CH_READ, OnChannelRead)
ON_BN_CLICKED(IDC_AI_CH_CONF, OnChannelConfigure)
ON_BN_CLICKED(IDC_AI_FOLLOW_CH0, OnFollowChannel0)
ON_BN_CLICKED(IDC_AI_ALARM_VALUE, OnAlarmValueSetting)
ON_BN_CLICKED(IDC_AI_ALARM_TYPE, OnAlarmTypeSetting)
ON_BN_CLICKED(IDC_AI_ALARM_CLEAR, OnAlarmClear)
END_MESSAGE_MAP()

CM6384::CM6384(CWnd*) : CModuleDlg(kDescriptor) {}

void CM6384::DoDataExchange(CDataExchange* pDX)
{
    DDX_Text(pDX, IDC_AI_MODEL, m_strModelText);
    for (int k = 0; k < 8; ++k)
        DDX_Check(pDX, kAiCheckIds[k], m_bChannelCheck[static_cast<size_t>(k)]);
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
    m_doLamps.Attach(*this, {IDC_AI_LAMP0, IDC_AI_LAMP1});
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
        m_nCommand = kCmdStartMask;
    }
    SetTimer(m_nTimerId, 500);
    return TRUE;
}

void CM6384::ToggleChannel(int k)
{
    auto i = static_cast<size_t>(k);
    // Without the module's own mask, a write would change channels nobody touched.
    if (m_bMaskMissing) {
        CheckDlgButton(kAiCheckIds[k], static_cast<UINT>(m_bChannelCheck[i]));
        return;
    }
    m_bChannelCheck[i] = m_bChannelCheck[i] == 1 ? 0 : 1;
    m_bChannelEnabled[i] = m_bChannelCheck[i];
    BuildEnableMask();
}

void CM6384::BuildEnableMask()
{
    m_strEnableMask = ChannelMaskText(m_bChannelEnabled);
    QueueCommand(kCmdWriteMask);
}

void CM6384::ForgetEnableMask()
{
    m_bMaskMissing = true;
    if (QueuedCommand() == kCmdWriteMask) {
        DropQueuedCommand();
        m_bChannelCheck.fill(0);
        m_bChannelEnabled.fill(0);
        UpdateData(FALSE);
    }
}

void CM6384::ShowEnableMask(const std::array<bool, 8>& bits)
{
    for (size_t k = 0; k < bits.size(); ++k) {
        if (bits[k]) m_bChannelEnabled[k] = m_bChannelCheck[k] = 1;
    }
    UpdateData(FALSE);
    SetDlgItemText(IDC_AI_ADDRESS, m_strAddressDecimal);
}

void CM6384::ShowChannelValue(int channel, const std::string& text)
{
    SetDlgItemText(kAiValueIds[channel], text);
}

void CM6384::SetStatus(const std::string& text)
{
    SetDlgItemText(IDC_AI_STATUS, text);
}

std::string CM6384::ChannelTypeRequest(char op, int channel, int typeRow) const
{
    std::string body = std::string(1, op) + "C" + Format("%d", channel);
    if (op == '7') body += "R" + CodeOfRow(kAiTypeCodes, typeRow);
    return Request('$', body);
}

void CM6384::OnChannelRead()
{
    m_strChannelRequest =
        ChannelTypeRequest('8', GetDlgItemAs<CComboBox>(IDC_AI_CH_NUMBER)->GetCurSel(), 0);
    QueueCommand(kCmdChannelRead);
}

void CM6384::OnChannelConfigure()
{
    int typeRow = GetDlgItemAs<CComboBox>(IDC_AI_CH_TYPE)->GetCurSel();
    if (typeRow < 0) return; // no type chosen: nothing valid to write
    m_strChannelRequest =
        ChannelTypeRequest('7', GetDlgItemAs<CComboBox>(IDC_AI_CH_NUMBER)->GetCurSel(), typeRow);
    QueueCommand(kCmdChannelWrite);
}

void CM6384::OnFollowChannel0()
{
    if (!FollowStartsAtCh0(IDC_AI_CH_NUMBER)) return;
    int type = GetDlgItemAs<CComboBox>(IDC_AI_CH_TYPE)->GetCurSel();
    if (type < 0) return;
    m_nFollowType = type;
    m_follow.Start();
    QueueCommand(kCmdFollowWrite);
}

void CM6384::OnAlarmValueSetting()
{
    if (GetDlgItemText(IDC_AI_HIGH_LIMIT).empty() || GetDlgItemText(IDC_AI_LOW_LIMIT).empty())
        return;
    // Both limits as the module shows them, or neither goes out.
    std::optional<std::string> high = CheckedAlarmLimit(*this, IDC_AI_HIGH_LIMIT);
    if (!high) return;
    std::optional<std::string> low = CheckedAlarmLimit(*this, IDC_AI_LOW_LIMIT);
    if (!low) return;
    m_strHighLimitRequest = Request('@', "HI" + *high);
    m_strLowLimitRequest = Request('@', "LO" + *low);
    QueueCommand(kCmdWriteHighLimit);
}

void CM6384::OnAlarmTypeSetting()
{
    // Typed text that is none of the three modes has no command.
    if (GetDlgItemAs<CComboBox>(IDC_AI_ALARM_MODE)->GetCurSel() >= 0) QueueCommand(kCmdAlarmMode);
}

void CM6384::OnAlarmClear()
{
    QueueCommand(kCmdAlarmClear);
}

void CM6384::OnLButtonDown(UINT nFlags, CPoint point)
{
    int lamp = m_doLamps.HitTest(point);
    if (lamp < 0) return;
    auto i = static_cast<size_t>(lamp);
    if (nFlags == MK_LBUTTON) m_bDoState[i] = m_bDoState[i] ? 0 : 1;
    QueueCommand(kCmdWriteOutputs);
    m_nLastReadCommand = kReadNone;
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
    SConfigurationFields fields = {m_strOldAddress,     choice->strAddress,    rangeCode,
                                   choice->strBaudCode, choice->strCheckDigit, formatDigit};

    // The per-channel model takes the protocol in its format digit; the others switch by "$AAR1",
    // which goes to the address the module answers to now.
    m_bProtocolSwitch = choice->bModbus && !perChannel ? 1 : 0;
    if (!perChannel && !choice->bModbus && HasConversionMode(m_strModuleName)) {
        // The conversion mode takes the checksum digit's place.
        int high = HexDigitOrZero(CharAt(m_strFormatHighDigit, 0));
        bool fast = GetDlgItemAs<CComboBox>(IDC_AI_MODE)->GetCurSel() == 1;
        m_strFormatHighDigit = ValueToHexChar(fast ? (high | 0x2) : (high & 0x8));
        fields.strCheck = m_strFormatHighDigit;
    }
    std::string command =
        m_bProtocolSwitch ? ModbusSwitchText(kSwitchDollarR1, fields) : ConfigurationText(fields);
    SConfiguration configuration{FrameAsciiCommand(command, m_bChecksum != 0), choice->strAddress,
                                 choice->bChecksumOn, RowTextsOf(*choice), ParamsOf(*choice)};
    configuration.params[kScript] = rangeCode;
    configuration.params[kFormat] = formatDigit;
    if (m_bProtocolSwitch) {
        // The switch leaves the module at its address, and the row with it.
        configuration.strNewAddress = m_strOldAddress;
        configuration.rowTexts[kAddressText] = std::nullopt;
        configuration.params[kAddress] = std::nullopt;
    }
    m_nLastReadCommand = kReadNone;
    QueueConfiguration(kCmdConfigure, std::move(configuration));
}

void CM6384::ShowFailureTexts()
{
    for (int k = 0; k < 8; ++k)
        ShowChannelValue(k, m_bChannelEnabled[static_cast<size_t>(k)] ? "ERROR!!" : "");
}

void CM6384::ReadReadings()
{
    bool answered = m_nLastResult == 1;
    if (IsSingleChannelAi(m_strModuleName)) {
        if (answered && !m_strReply.empty()) ShowChannelValue(0, Mid(m_strReply, 1));
        m_nCommand = m_nLimitReads == 0 ? kCmdReadHighLimit : kCmdReadOutputs;
        return;
    }
    if (answered) {
        std::vector<std::string> values = SplitReadings(Mid(m_strReply, 1), 8, kReadingSigns);
        for (size_t k = 0; k < values.size(); ++k)
            ShowChannelValue(static_cast<int>(k), m_bChannelEnabled[k] ? values[k] : "");
    }
    if (!m_bTypeRead) {
        // One type read after the first readings, for the channel the CH Number box shows.
        m_bTypeRead = 1;
        m_strChannelRequest =
            ChannelTypeRequest('8', GetDlgItemAs<CComboBox>(IDC_AI_CH_NUMBER)->GetCurSel(), 0);
        m_nCommand = kCmdChannelRead;
    }
}

void CM6384::ReadLimitWrites()
{
    if (m_nLimitWriteStep == kLimitWriteNone) return;
    bool ack = CharAt(m_strReply, 0) == '!';
    if (!ack && m_nLastResult == 1) {
        // The module answered and refused the limit: sending it again would stop the readings for
        // good, so the write ends here and polling resumes.
        m_nLimitWriteStep = kLimitWriteNone;
        m_nCommand = kCmdBackToPoll;
        SetStatus("Error!");
        return;
    }
    if (m_nLimitWriteStep == kLimitWriteHigh) {
        m_nCommand = ack ? kCmdWriteLowLimit : kCmdWriteHighLimit;
        if (ack) SetStatus("Ready");
    } else if (m_nLimitWriteStep == kLimitWriteLow) {
        m_nLimitWriteStep = kLimitWriteNone;
        m_nCommand = ack ? kCmdBackToPoll : kCmdWriteLowLimit;
        if (ack) SetStatus("Ready");
    }
}

void CM6384::ShowLamps(const std::string& outputs)
{
    // Any other text lights neither.
    int bits = std::max(RowOfCode(kOutputCodes, outputs), 0);
    for (size_t i = 0; i < m_bDoState.size(); ++i) {
        m_bDoState[i] = (bits >> i) & 1;
        m_doLamps.Show(static_cast<int>(i), m_bDoState[i] != 0);
    }
}

void CM6384::ReadConfigurationMode()
{
    if (CharAt(m_strReply, 0) == '!') m_strFormatHighDigit = Mid(m_strReply, 7, 1);
    bool fast = HexCharToValue(CharAt(m_strFormatHighDigit, 0)) & 0x2;
    GetDlgItemAs<CComboBox>(IDC_AI_MODE)->SetCurSel(fast ? 1 : 0);
}

void CM6384::ReadAlarmReads()
{
    bool ack = CharAt(m_strReply, 0) == '!';
    switch (m_nLastReadCommand) {
    case kReadHighLimit:
        m_nCommand = ack ? kCmdReadLowLimit : kCmdReadHighLimit;
        if (ack) SetDlgItemText(IDC_AI_HIGH_LIMIT, Mid(m_strReply, 3, 7));
        return;
    case kReadLowLimit:
        m_nCommand = ack ? kCmdBackToPoll : kCmdReadLowLimit;
        m_nLastReadCommand = kReadNone;
        ++m_nLimitReads;
        if (ack) SetDlgItemText(IDC_AI_LOW_LIMIT, Mid(m_strReply, 3, 7));
        return;
    case kReadAlarmMode: {
        // The same @AADI reply also carries the outputs: the output reader reads it next.
        m_nCommand = ack ? kCmdBackToPoll : kCmdReadAlarmMode;
        m_nLastReadCommand = kReadOutputs;
        EndStartup();
        int mode = CharAt(m_strReply, 3) - '0';
        if (ack && mode >= 0 && mode <= 2)
            GetDlgItemAs<CComboBox>(IDC_AI_ALARM_MODE)->SetCurSel(mode);
        break;
    }
    case kReadClear:
        m_nLastReadCommand = kReadNone;
        m_nCommand = ack ? kCmdBackToPoll : kCmdReadLowLimit;
        return;
    case kReadConfiguration:
        m_nLastReadCommand = kReadNone;
        ReadConfigurationMode();
        ++m_nLimitReads;
        return;
    default:
        break;
    }
    if (m_nLastReadCommand == kReadOutputs) {
        m_nLastReadCommand = kReadNone;
        m_nCommand = ack ? kCmdBackToPoll : kCmdReadOutputs;
        if (ack) ShowLamps(Mid(m_strReply, 4, 2));
        SetStatus(m_strReply);
    }
}

void CM6384::ReadChannelTypeReply()
{
    if (CharAt(m_strReply, 0) != '!') return;
    int row = RowOfCode(kAiTypeCodes, Mid(m_strReply, 6, 2));
    if (row >= 0) GetDlgItemAs<CComboBox>(IDC_AI_CH_TYPE)->SetCurSel(row);
}

void CM6384::ReadFollowReply()
{
    // A refusal ends the chain; a reply to a write of an earlier run moves nothing.
    if (CharAt(m_strReply, 0) != '!') {
        m_follow.Stop();
    } else if (m_follow.Answers() && ++m_follow.nStep == 8) {
        m_follow.Stop();
    }
}

bool CM6384::ReadLastCommand()
{
    int last = m_nLastCommand;
    if (last == kLastNone) return true;
    if (last == kLastConfigure) {
        // A module that took the switch may answer no more in ASCII: only "?" refuses it. A late
        // reply to a poll confirms nothing.
        bool refused = m_nLastResult == 1 && CharAt(m_strReply, 0) == '?';
        ESettingOutcome outcome =
            SettingOutcome(SettingAcknowledged(), refused, m_bProtocolSwitch != 0);
        ConfigurationAnswered(outcome != ESettingOutcome::Refused);
        ShowSettingOutcome(outcome, "Setting MODBUS/RTU OK!");
        OnCancel();
        return false;
    }
    m_nLastCommand = kLastNone;
    m_nCommand = kCmdBackToPoll;
    switch (last) {
    case kCmdChannelRead:
        ReadChannelTypeReply();
        break;
    case kCmdChannelWrite:
        break;
    case kCmdFollowWrite:
        ReadFollowReply();
        break;
    case kCmdReadConfiguration:
        EndStartup();
        [[fallthrough]];
    default:
        SetStatus(CharAt(m_strReply, 0) == '!' ? "Ready!" : "Error!");
        break;
    }
    return true;
}

std::string CM6384::NextRequest(const std::string& poll)
{
    switch (m_nCommand) {
    case kCmdConfigure:
        m_nLastCommand = kLastConfigure;
        return ConfigurationGoesOut();
    case kCmdBackToPoll:
        m_nCommand = kCmdPoll;
        return Request('#', "");
    case kCmdReadHighLimit:
        m_nLastReadCommand = kReadHighLimit;
        return Request('@', "RH");
    case kCmdReadLowLimit:
        m_nLastReadCommand = kReadLowLimit;
        return Request('@', "RL");
    case kCmdReadOutputs:
        m_nLastReadCommand = kReadOutputs;
        return Request('@', "DI");
    case kCmdWriteHighLimit:
        m_nLimitWriteStep = kLimitWriteHigh;
        return m_strHighLimitRequest;
    case kCmdWriteLowLimit:
        m_nLimitWriteStep = kLimitWriteLow;
        return m_strLowLimitRequest;
    case kCmdWriteOutputs:
        m_nLastCommand = kCmdWriteOutputs;
        return Request('@', "DO0" + Format("%d", 2 * m_bDoState[1] + m_bDoState[0]));
    case kCmdWriteMask:
        // The boxes as they stand when the write goes out (after the module's mask was read).
        m_strEnableMask = ChannelMaskText(m_bChannelEnabled);
        m_nLastCommand = kCmdWriteMask;
        return Request('$', "5" + m_strEnableMask);
    case kCmdAlarmMode: {
        m_nLastCommand = kCmdAlarmMode;
        int mode = GetDlgItemAs<CComboBox>(IDC_AI_ALARM_MODE)->GetCurSel();
        return Request('@', kAlarmModeCommands[std::clamp(mode, 0, 2)]);
    }
    case kCmdAlarmClear:
        m_nLastReadCommand = kReadClear;
        return Request('@', "CA");
    case kCmdChannelRead:
    case kCmdChannelWrite:
        m_nLastCommand = m_nCommand;
        return m_strChannelRequest;
    case kCmdFollowWrite:
        m_nLastCommand = kCmdFollowWrite;
        m_follow.Sent();
        return ChannelTypeRequest('7', m_follow.nStep, m_nFollowType);
    case kCmdReadAlarmMode:
        m_nLastCommand = kCmdReadAlarmMode;
        m_nLastReadCommand = kReadAlarmMode;
        return Request('@', "DI");
    case kCmdReadConfiguration:
        m_nLastCommand = kCmdReadConfiguration;
        m_nLastReadCommand = kReadConfiguration;
        return Request('$', "2");
    default:
        return poll;
    }
}

void CM6384::PollStep()
{
    TakeReply();
    bool answered = m_nLastResult == 1;
    // After a miss the poll is framed as the line was opened.
    std::string poll = Request('#', "", (answered ? m_bChecksum : m_bOpenChecksum) != 0);
    if (!answered) ShowFailureTexts();
    if (m_nCommand == kCmdStartMask) {
        if (std::optional<std::array<bool, 8>> bits = MaskOfReply()) {
            ShowEnableMask(*bits);
        } else {
            ForgetEnableMask();
        }
        m_nCommand = kCmdReadConfiguration;
    }
    ReadLimitWrites();
    ReadAlarmReads();
    if (!ReadLastCommand()) return;
    // The operator's request goes out now; a read it interrupts is not taken from its reply.
    if (ApplyQueuedCommand()) {
        m_nLastReadCommand = kReadNone;
    } else if (SequenceMayContinue(m_follow) &&
               (m_nCommand == kCmdPoll || m_nCommand == kCmdBackToPoll)) {
        m_nCommand = kCmdFollowWrite;
    }
    if (m_nCommand == kCmdPoll) ReadReadings();
    SendAscii(NextRequest(poll), kPollTimeout);
    Sleep(kPause);
}
