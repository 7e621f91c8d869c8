#include "M6359.h"

#include "AnalogOutputIds.h"
#include "AsciiCommand.h"
#include "Clock.h"
#include "ModuleDialogs.h"
#include "Strings.h"

REGISTER_MODULE_DIALOG(CM6359)

namespace {

const SModuleDescriptor kDescriptor = {
    .nTemplate = IDD_M6359,
    .pBlock = &CMainFrame::m_strAnalogOutputParams,
    .pChanged = &CMainFrame::m_bAnalogOutputChanged,
    .eLink = ELinkKind::Ascii,
    .boxes = {IDC_AO_ADDRESS, IDC_AO_BAUD, IDC_AO_CHECKSUM, 0, IDC_AO_FORMAT, IDC_AO_PROTOCOL},
    .pRangeCodes = &kAoRangeCodes,
    .pFormatCodes = &kAoFormatCodes,
    .pszRangeField = "Output Range",
    .nFormatMask = 0x3,
    .bSetsDialogClosed = true,
};
// The typed text "0" is refused at Setting, and the dialog closes; "00" is an address, but not with
// a new baud rate.
const SAddressZeroRule kZeroRule = {
    .bRefuse = true, .pszText = "地址不能为零!", .bCloseAfter = true, .bTextZeroOnly = true};

inline constexpr WORD kInitTimeout = 100;
inline constexpr WORD kPollTimeout = 200;
inline constexpr DWORD kPause = 150;
inline constexpr const char* kSwitchedToModbus = "Setting Modbus/RTU OK!";
inline constexpr size_t kRangeRowsLength = 2;
// A read-back: "+05.000" on the four-channel models, "05.000" on the others.
inline constexpr size_t kSignedValueLength = 7;
inline constexpr size_t kValueLength = 6;

// Controls the two-channel models hide: the watchdog line and the four-channel range list.
const int kTwoChannelHidden[] = {IDC_AO_TIME_LABEL,    IDC_AO_HEX_LABEL,      IDC_AO_WATCHDOG,
                                 IDC_AO_WATCHDOG_TIME, IDC_AO_WATCHDOG_LABEL, IDC_AO_RESETTING,
                                 IDC_AO_RANGE4};
// The two-channel range and slew panel, hidden on the other models.
const int kTwoChannelPanel[] = {IDC_AO_RANGE_CH0,    IDC_AO_RANGE_CH1,    IDC_AO_SLEW_CH0,
                                IDC_AO_SLEW_CH1,     IDC_AO_CH0_LABEL,    IDC_AO_CH1_LABEL,
                                IDC_AO_RANGE_LABEL0, IDC_AO_RANGE_LABEL1, IDC_AO_SLEW_LABEL0,
                                IDC_AO_SLEW_LABEL1,  IDC_AO_CH0_SET,      IDC_AO_CH1_SET};

} // namespace

BEGIN_MESSAGE_MAP(CM6359, CAnalogOutputDlg)
ON_BN_CLICKED(IDC_AO_SETTING, OnSetting)
ON_BN_CLICKED(IDC_AO_CH0_SET, OnCh0)
ON_BN_CLICKED(IDC_AO_CH1_SET, OnCh1)
ON_AO_CHANNEL_CONTROLS()
END_MESSAGE_MAP()

CM6359::CM6359(CWnd*) : CAnalogOutputDlg(kDescriptor) {}

// The module's range on the one- and four-channel models: the range list, the labels of every
// channel, the sliders the model has (and CH1's on the one-channel model) and the output kind.
void CM6359::ApplyModuleRange(const std::string& code, bool pageSize)
{
    const SAoRange* range = AoRangeOfCode(code);
    if (!range) return;
    bool one = m_eKind == EAoKind::One;
    GetDlgItemAs<CComboBox>(one ? IDC_AO_RANGE : IDC_AO_RANGE4)->SetCurSel(range->nRow);
    for (int k = 0; k < 4; ++k) ShowRangeLabels(*range, k);
    for (int k = 0; k <= (one ? 1 : 3); ++k) SetSliderRange(*range, k, pageSize);
    m_nOutputKind = range->nOutputKind;
}

// "$AA9i" at opening: the channel's range row and slew row ("!AA" and a digit of each). False when
// the module is silent or its reply is no such answer.
bool CM6359::ReadChannelRange(int channel)
{
    SendAscii(Request('$', Format("9%d", channel)), kInitTimeout);
    std::optional<std::string> rows = FittingData('!', kRangeRowsLength);
    if (!rows) return false;
    int rangeRow = CharAt(*rows, 0) - '0';
    char slew = CharAt(*rows, 1);
    // The slew row stands in one character: rows 10 to 15 as the hex digits A to F.
    int slewRow = HexCharToValue(slew) == 0xCC ? -1 : HexCharToValue(slew);
    m_moduleRows[static_cast<size_t>(channel)] = {rangeRow, slewRow};
    ShowRangeRows(channel, {rangeRow, slewRow});
    ApplyChannelRange(channel, rangeRow);
    return true;
}

void CM6359::ShowRangeRows(int channel, const SRangeRows& rows)
{
    GetDlgItemAs<CComboBox>(channel == 0 ? IDC_AO_RANGE_CH0 : IDC_AO_RANGE_CH1)
        ->SetCurSel(rows.nRange);
    GetDlgItemAs<CComboBox>(channel == 0 ? IDC_AO_SLEW_CH0 : IDC_AO_SLEW_CH1)
        ->SetCurSel(rows.nSlew);
}

// A two-channel model's range row on one channel's labels and slider.
void CM6359::ApplyChannelRange(int channel, int row)
{
    if (const SAoRange* range = AoRangeOfRow(row)) {
        ShowRangeLabels(*range, channel);
        SetSliderRange(*range, channel, true);
    }
}

BOOL CM6359::OnInitDialog()
{
    CDialog::OnInitDialog();
    GetDlgItemAs<CComboBox>(IDC_AO_PROTOCOL)->SetCurSel(0);
    m_strModelText = Block()[kModule];
    InitFromBlock();
    TakeModelKind();
    bool one = m_eKind == EAoKind::One;
    GetDlgItem(IDC_AO_CAL_ZERO)->EnableWindow(!one);
    GetDlgItem(IDC_AO_CAL_SPAN)->EnableWindow(!one);

    const ModuleParamBlock& block = Block();
    GetDlgItemAs<CComboBox>(IDC_AO_CHANNEL)->SetCurSel(0);
    GetDlgItemAs<CComboBox>(IDC_AO_WATCHDOG)->SetCurSel(0);
    FillSettingsBoxes(true);
    // The INIT state answers at 9600 baud without checksum.
    DWORD baud = IsAddressZero() ? 9600 : BlockBaudRate();

    // The model decides which list holds the module's range; the two-channel models keep their
    // ranges per channel and have none to read back.
    if (m_eKind != EAoKind::Two) UseRangeBox(one ? IDC_AO_RANGE : IDC_AO_RANGE4, &kAoRangeCodes);
    if (m_eKind == EAoKind::Four) {
        GetDlgItem(IDC_AO_RANGE4)->ShowWindow(SW_SHOW);
        GetDlgItem(IDC_AO_RANGE)->ShowWindow(SW_HIDE);
        ApplyModuleRange(block[kScript], true);
    } else if (one) {
        GetDlgItem(IDC_AO_RANGE4)->ShowWindow(SW_HIDE);
        GetDlgItem(IDC_AO_RANGE)->ShowWindow(SW_SHOW);
        for (int k = 1; k < 4; ++k) EnableChannel(k, false);
        ApplyModuleRange(block[kScript], true);
    }
    SAoFormat format = AoFormatOfBlock(block[kCheck], block[kFormat]);
    bool voltage = m_nOutputKind == kAoVoltage;
    GetDlgItem(IDC_AO_SLEW_V)->ShowWindow(voltage ? SW_SHOW : SW_HIDE);
    GetDlgItem(IDC_AO_SLEW_MA)->ShowWindow(voltage ? SW_HIDE : SW_SHOW);
    GetDlgItemAs<CComboBox>(voltage ? IDC_AO_SLEW_V : IDC_AO_SLEW_MA)->SetCurSel(format.nSlew);

    if (!OpenAsciiLine(baud)) return TRUE;
    if (m_eKind == EAoKind::Two) {
        for (int id : kTwoChannelHidden) GetDlgItem(id)->ShowWindow(SW_HIDE);
        for (int id : {IDC_AO_RANGE, IDC_AO_SLEW_V, IDC_AO_SLEW_MA})
            GetDlgItem(id)->EnableWindow(FALSE);
        for (int k = 2; k < 4; ++k) EnableChannel(k, false, false);
        // Without both ranges the sliders would not match the module: no polling then.
        if (!ReadChannelRange(0) || !ReadChannelRange(1)) return TRUE;
    } else {
        for (int id : kTwoChannelPanel) GetDlgItem(id)->ShowWindow(SW_HIDE);
    }
    GetDlgItem(IDC_AO_CAL_ZERO)->EnableWindow(FALSE);
    GetDlgItem(IDC_AO_CAL_SPAN)->EnableWindow(FALSE);
    SendAscii(FirstReadRequest(), kInitTimeout);
    SetTimer(m_nTimerId, 300);
    return TRUE;
}

void CM6359::OnOK()
{
    GetDlgItem(IDCANCEL)->SetFocus();
}

std::string CM6359::FirstReadRequest()
{
    if (m_eKind == EAoKind::One) return Request('$', "6");
    m_nReadChannel = 0;
    return Request('$', "60");
}

std::string CM6359::SliderText(int position) const
{
    return m_eKind == EAoKind::Four ? SignedOutputValue(position) : FormatOutputValue(position);
}

// "$AA9i" + range row + slew row; only with both rows chosen, so the module gets a command it
// can take.
void CM6359::QueueRangeCommand(int channel, int rangeBox, int slewBox)
{
    int range = GetDlgItemAs<CComboBox>(rangeBox)->GetCurSel();
    int slew = GetDlgItemAs<CComboBox>(slewBox)->GetCurSel();
    if (range < 0 || slew < 0) return;
    m_askedRows[static_cast<size_t>(channel)] = {range, slew};
    QueueWrite(kCmdRangeCh0 + channel);
}

void CM6359::OnCh0()
{
    QueueRangeCommand(0, IDC_AO_RANGE_CH0, IDC_AO_SLEW_CH0);
}

void CM6359::OnCh1()
{
    QueueRangeCommand(1, IDC_AO_RANGE_CH1, IDC_AO_SLEW_CH1);
}

void CM6359::OnSetting()
{
    UpdateData(TRUE);
    std::optional<SSettingsChoice> choice = ReadSettings(kZeroRule, EModbusRow::SwitchesByDollar);
    if (!choice || RefuseNewBaudAtZero(*choice)) return;
    const ModuleParamBlock& block = Block();
    std::string rangeCode = m_eKind == EAoKind::Two ? "3F" : choice->strRangeCode;
    int slewBox = m_nOutputKind == kAoCurrent ? IDC_AO_SLEW_MA : IDC_AO_SLEW_V;
    int slew = GetDlgItemAs<CComboBox>(slewBox)->GetCurSel();
    if (slew < 0) slew = AoFormatOfBlock(block[kCheck], block[kFormat]).nSlew;
    SAoFormatDigits digits =
        AoFormatDigits(block[kCheck], choice->bChecksumOn, slew, choice->nFormat);

    m_bProtocolSwitch = choice->bModbus;
    // To the address the module answers to now.
    SConfigurationFields fields = ConfigurationFieldsOf(*choice);
    fields.strType = rangeCode;
    fields.strCheck = digits.strHigh;
    fields.strFormat = digits.strLow;
    std::string request = choice->bModbus ? SettingOfChoice(*choice, true).strRequest
                                          : SettingOfFields(*choice, fields).strRequest;
    QueueConfiguration(kCmdConfigure, AoConfiguration(request, *choice, rangeCode, digits,
                                                      m_eKind == EAoKind::Two, choice->bModbus));
    if (m_eKind != EAoKind::Two) ApplyModuleRange(rangeCode, false);
}

// The module answers an output write with ">", a range command with "!AA".
bool CM6359::SettleLastWrite()
{
    if (IsOutputWrite(m_nLastCommand)) {
        SettleOutputWrite(m_nLastCommand, AsciiWriteAnswer(ReplyFits('>', 0)));
    } else if (m_nLastCommand == kCmdRangeCh0 || m_nLastCommand == kCmdRangeCh1) {
        SettleRangeCommand(m_nLastCommand - kCmdRangeCh0);
    } else {
        return false;
    }
    // The reading starts again at channel 0.
    m_nLastCommand = kLastNone;
    m_nCommand = kCmdFirstRead;
    return true;
}

// Heard, the channel works in the range it took: its scale and what may be typed follow. Refused,
// its lists show the module's rows again. Not heard, the command waits to go out again.
void CM6359::SettleRangeCommand(int channel)
{
    int command = kCmdRangeCh0 + channel;
    EWriteAnswer answer = SettleWrite(command, AsciiWriteAnswer(Acknowledged()));
    if (answer == EWriteAnswer::NotHeard) return;
    bool heard = answer == EWriteAnswer::Heard;
    SetDlgItemText(IDC_AO_STATUS, Format("CH%d %s", channel, heard ? "Ready!" : "Error!"));
    SRangeRows& rows = m_moduleRows[static_cast<size_t>(channel)];
    if (heard) {
        rows = m_sentRows[static_cast<size_t>(channel)];
        ApplyChannelRange(channel, rows.nRange);
    } else if (!WritePending(command)) {
        ShowRangeRows(channel, rows);
    }
}

void CM6359::EndConfiguration()
{
    // A late reply to a poll confirms nothing. A module that took the switch to Modbus RTU no
    // longer answers in ASCII, so nothing at all coming back is its answer (noise is none); a "%"
    // without an answer was not taken.
    bool acknowledged = SettingAcknowledged();
    ConfigurationAnswered(acknowledged);
    bool switched = NothingCame() && m_bProtocolSwitch;
    ShowOutcome(acknowledged ? kConfigurationOk
                : switched   ? kSwitchedToModbus
                             : kConfigurationError);
}

std::optional<std::string> CM6359::ReadBackValue() const
{
    bool four = m_eKind == EAoKind::Four;
    return ReadingOfReply('!', four ? kSignedValueLength : kValueLength,
                          four ? EReadingSign::Signed : EReadingSign::Unsigned);
}

// Shows the value the last read brought and returns the read of the next channel.
std::string CM6359::ReadBack()
{
    // PollStep has taken a reply that is no value as a missed exchange.
    std::string text = ReadBackValue().value_or("");
    if (m_eKind == EAoKind::One) {
        ShowValue(0, text);
        return Request('$', "6");
    }
    ShowValue(m_nReadChannel, text);
    m_nReadChannel = (m_nReadChannel + 1) % m_nChannelCount;
    return Request('$', Format("6%d", m_nReadChannel));
}

std::string CM6359::OutputWrite(int channel) const
{
    int value = m_nOutputValue[static_cast<size_t>(channel)];
    std::string text = FormatOutputValue(value);
    switch (m_eKind) {
    case EAoKind::One:
        return Request('#', text);
    case EAoKind::Two:
        return Request('#', Format("%d", channel) + text);
    default:
        return Request('#', Format("%d", channel) + SignedOutputValue(value));
    }
}

void CM6359::PollStep()
{
    TakeReply();
    // After a write a read goes out whatever came back, so that no write is ever judged by the
    // late reply of the one before.
    bool wrote = SettleLastWrite();
    if (m_nLastCommand == kLastConfigure) {
        EndConfiguration();
        return;
    }
    // After a write, and after a read-back's reply that carries no value of the model's shape (a
    // missed exchange), the reading starts again at channel 0.
    std::string request;
    if (wrote || !ReadBackValue()) {
        // What the operator asked for meanwhile stays queued, and a write the module did not
        // hear waits: they go out once the module answers a read again.
        request = FirstReadRequest();
        m_nCommand = kCmdReadBack;
    } else {
        ApplyQueuedCommand();
        request = NextRequest();
    }
    SendAscii(request, kPollTimeout);
    Sleep(kPause);
}

std::string CM6359::NextRequest()
{
    switch (m_nCommand) {
    case kCmdConfigure:
        m_nCommand = kCmdFirstRead;
        m_nLastCommand = kLastConfigure;
        return ConfigurationGoesOut();
    case kCmdFirstRead:
        m_nCommand = kCmdReadBack;
        return FirstReadRequest();
    case kCmdRangeCh0:
    case kCmdRangeCh1: {
        int channel = m_nCommand - kCmdRangeCh0;
        const SRangeRows& rows = m_sentRows[static_cast<size_t>(channel)] =
            m_askedRows[static_cast<size_t>(channel)];
        m_nLastCommand = m_nCommand;
        return Request('$', Format("9%d%d%d", channel, rows.nRange, rows.nSlew));
    }
    case kCmdReadBack:
        return ReadBack();
    default:
        m_nLastCommand = m_nCommand;
        return OutputWrite(m_nCommand - kCmdWriteCh0);
    }
}
