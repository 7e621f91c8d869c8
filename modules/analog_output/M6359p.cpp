#include "M6359p.h"

#include "AoCodes.h"
#include "AsciiCommand.h"
#include "ModelName.h"
#include "ModuleDialogs.h"
#include "OutputDiCodes.h"
#include "OutputDiIds.h"
#include "Strings.h"

#include <algorithm>
#include <cctype>

REGISTER_MODULE_DIALOG(CM6359p)

namespace {

// The protocol and checksum of the new data-format byte's high digit: bit 7 is Modbus RTU.
inline constexpr char kAsciiDigits[2] = {'4', '0'};  // checksum on, off
inline constexpr char kModbusDigits[2] = {'C', '8'}; // the same with the RTU flag
inline constexpr int kModbusRow = 1;

const SModuleDescriptor kDescriptor = {
    .nTemplate = IDD_M6359P,
    .pBlock = &CMainFrame::m_strAnalogOutputParams,
    .pChanged = &CMainFrame::m_bAnalogOutputChanged,
    .eLink = ELinkKind::Ascii,
    .boxes = {IDC_ODI_ADDRESS, IDC_ODI_BAUD, IDC_ODI_CHECKSUM, 0, IDC_ODI_FORMAT, IDC_ODI_PROTOCOL},
    .pFormatCodes = &FormatDigitTable,
};

inline constexpr WORD kFirstTimeout = 100;
inline constexpr WORD kTimeout = 200;
// A value text: "+05.000".
inline constexpr size_t kValueLength = 7;
inline constexpr UINT kPeriod = 200;

// The module's digit of its inputs: a character up to "9" as its value, any other as its code
// less 0x37 (so "A" is 10).
int InputBits(char digit)
{
    return digit <= '9' ? digit - '0' : digit - 0x37;
}

bool IsInputsDigit(const std::string& data)
{
    return data.size() == 1 && std::isxdigit(static_cast<unsigned char>(data[0]));
}

} // namespace

BEGIN_MESSAGE_MAP(CM6359p, CModuleDlg)
ON_CBN_SELCHANGE(kOdiRangeIds[0], OnSelchangeRange<0>)
ON_CBN_SELCHANGE(kOdiRangeIds[1], OnSelchangeRange<1>)
ON_CBN_SELCHANGE(kOdiRangeIds[2], OnSelchangeRange<2>)
ON_CBN_SELCHANGE(kOdiRangeIds[3], OnSelchangeRange<3>)
ON_BN_CLICKED(IDC_ODI_REFRESH, OnRefresh)
ON_BN_CLICKED(IDC_ODI_UPDATE, OnUpdate)
ON_BN_CLICKED(IDC_ODI_UPDATE_STARTUP, OnUpdateStartup)
ON_CBN_SELCHANGE(IDC_ODI_CHANNEL, OnSelchangeChannel)
ON_NOTIFY(NM_RELEASEDCAPTURE, IDC_ODI_SLIDER, OnReleasedcaptureSlider)
ON_BN_CLICKED(IDC_ODI_OUTPUT, OnOutput)
ON_BN_CLICKED(IDC_ODI_CANCEL, OnCancel)
END_MESSAGE_MAP()

CM6359p::CM6359p(CWnd*) : CModuleDlg(kDescriptor) {}

BOOL CM6359p::OnInitDialog()
{
    CDialog::OnInitDialog();
    m_nStep = 0;
    InitFromBlock();
    for (int id : {IDC_ODI_BAUD, IDC_ODI_CHECKSUM, IDC_ODI_PROTOCOL})
        GetDlgItem(id)->EnableWindow(IsAddressZero());
    SetDlgItemText(IDC_ODI_VALUE, "+00.000");
    // A module at address 0 (INIT) answers at 9600 without checksum.
    FillSettingsBoxes(true);
    DWORD baud = IsAddressZero() ? 9600 : BlockBaudRate();
    if (ModelHas(m_strModuleName, "4359A")) {
        bool modbus = HexDigitOrZero(CharAt(Block()[kScript], 0)) & 0x8;
        GetDlgItemAs<CComboBox>(IDC_ODI_PROTOCOL)->SetCurSel(modbus ? kModbusRow : 0);
    }
    m_lamps.Attach(*this, {kOdiLampIds[0], kOdiLampIds[1], kOdiLampIds[2], kOdiLampIds[3]});
    OpenAsciiLine(baud);
    // Names without the module's own numbers get no opening request; the range read follows.
    std::string first = ModelHasAny(m_strModuleName, {"9359", "6359"}) ? Request('$', "8C0") : "";
    SendAscii(first, kFirstTimeout);
    SetTimer(m_nTimerId, kPeriod);
    m_nCommand = kCmdFirstRange;
    return TRUE;
}

int CM6359p::ChannelRow(int channel) const
{
    return GetDlgItemAs<CComboBox>(kOdiRangeIds[channel])->GetCurSel();
}

int CM6359p::SelectedChannel() const
{
    return GetDlgItemAs<CComboBox>(IDC_ODI_CHANNEL)->GetCurSel();
}

// ---- handlers ----

void CM6359p::QueueRangeWrite(int channel)
{
    std::string code = CodeOfRow(kAoRangeCodes, ChannelRow(channel));
    if (code.empty()) return;
    m_strRangeCode[static_cast<size_t>(channel)] = code;
    QueueWrite(kCmdRangeWrite0 + channel);
}

void CM6359p::OnRefresh()
{
    m_nStep = 0;
    QueueCommand(kCmdFirstRange);
}

void CM6359p::OnSelchangeChannel()
{
    int channel = SelectedChannel();
    const SOutputDiRange* range = channel < 0 ? nullptr : OutputDiRangeOfRow(ChannelRow(channel));
    if (!range) return;
    GetDlgItemAs<CSliderCtrl>(IDC_ODI_SLIDER)->SetRange(range->nSliderMin, range->nSliderMax);
    SetDlgItemText(IDC_ODI_SCALE, range->pszScale);
}

void CM6359p::OnReleasedcaptureSlider()
{
    int channel = SelectedChannel();
    if (channel < 0) return; // no channel, no value
    int position = GetDlgItemAs<CSliderCtrl>(IDC_ODI_SLIDER)->GetPos();
    SetDlgItemText(IDC_ODI_VALUE,
                   SignedOutputValue(OutputDiSliderValue(ChannelRow(channel), position)));
}

void CM6359p::OnOutput()
{
    int channel = SelectedChannel();
    if (channel < 0) return;
    std::optional<int> value =
        ParseOutputDiValue(GetDlgItemText(IDC_ODI_VALUE), ChannelRow(channel));
    if (!value) {
        MessageBox("Please Input Valid Value!", "", MB_ICONEXCLAMATION);
        return;
    }
    m_strValue[static_cast<size_t>(channel)] = SignedOutputValue(*value);
    QueueWrite(kCmdOutput0 + channel);
}

void CM6359p::OnUpdateStartup()
{
    std::array<std::string, 4> values;
    for (int ch = 0; ch < 4; ++ch) {
        std::optional<int> value =
            ParseOutputDiValue(GetDlgItemText(kOdiStartupIds[ch]), ChannelRow(ch));
        if (!value) {
            MessageBox("Please Input Valid Value!", "", MB_ICONEXCLAMATION);
            return;
        }
        values[static_cast<size_t>(ch)] = SignedOutputValue(*value);
    }
    m_strStartupValue = values;
    SetDlgItemText(IDC_ODI_RESPOND, "");
    m_bStartupUnderway = true;
    m_nStartupHeard = 0;
    for (int ch = 0; ch < 4; ++ch) QueueWrite(kCmdStartupWrite0 + ch);
}

void CM6359p::OnUpdate()
{
    UpdateData(TRUE);
    std::optional<SSettingsChoice> choice = ReadSettings(kAddressZeroNotAllowed);
    if (!choice) return;
    bool modbus = ModelHas(m_strModuleName, "4359A") && choice->bModbus;
    char high = (modbus ? kModbusDigits : kAsciiDigits)[choice->bChecksumOn ? 0 : 1];
    std::string format =
        ModelHas(m_strModuleName, "4359A") ? Block()[kFormat] : choice->strFormatDigit;
    // "%AANN00CCFF": type 00, and the protocol and checksum in the high digit of the format.
    SConfigurationFields fields = ConfigurationFieldsOf(*choice);
    fields.strType = "00";
    fields.strCheck = std::string(1, high);
    fields.strFormat = format;
    SConfiguration configuration = SettingOfFields(*choice, fields);
    // Polls stay on the module's address until the configuration goes out; the row is written
    // back only when the module acknowledges.
    configuration.bNewChecksum = m_bChecksum;
    configuration.rowTexts[kDescriptionText] = std::nullopt;
    configuration.params[kScript] = std::nullopt;
    configuration.params[kFormat] = format;
    configuration.eWriteBack = EWriteBack::OnAcknowledge;
    QueueConfiguration(kCmdConfigure, std::move(configuration));
}

// ---- the tick ----

void CM6359p::PollStep()
{
    TakeReply();
    // After a write a read goes out, so that no write is judged by the late reply of another.
    bool wrote = m_nLastCommand == kLastWrite;
    ReadReply();
    if (!IsRunning()) return;
    TakeStepReading();
    if (!wrote) ApplyQueuedCommand();
    SendAscii(NextRequest(), kTimeout);
}

void CM6359p::ReadReply()
{
    int last = m_nLastCommand;
    if (last == kLastNone) return;
    int sent = m_nCommand;
    m_nLastCommand = kLastNone;
    m_nCommand = kCmdFirstValue;
    switch (last) {
    case kLastWrite:
        SettleChannelWrite(sent);
        break;
    case kLastConfigure:
        // A late reply to a poll confirms nothing.
        ConfigurationAnswered(SettingAcknowledged());
        ShowConfigurationResult(SettingAcknowledged());
        OnCancel();
        break;
    case kLastRangesRead:
        ShowRanges();
        break;
    case kLastValuesRead:
        ShowValues();
        break;
    default:
        break;
    }
}

// ---- the writes of a channel ----

std::string CM6359p::WriteRequest(int nCommand)
{
    if (nCommand >= kCmdStartupWrite0) {
        int channel = nCommand - kCmdStartupWrite0;
        m_strSent = m_strStartupValue[static_cast<size_t>(channel)];
        return Request('#', Format("SC%d", channel) + m_strSent);
    }
    if (nCommand >= kCmdRangeWrite0) {
        int channel = nCommand - kCmdRangeWrite0;
        m_strSent = m_strRangeCode[static_cast<size_t>(channel)];
        return Request('$', Format("7C%dR", channel) + m_strSent);
    }
    int channel = nCommand - kCmdOutput0;
    m_strSent = m_strValue[static_cast<size_t>(channel)];
    return Request('#', Format("C%d", channel) + m_strSent);
}

void CM6359p::SettleChannelWrite(int nCommand)
{
    if (nCommand >= kCmdStartupWrite0)
        SettleStartupWrite(nCommand - kCmdStartupWrite0);
    else if (nCommand >= kCmdRangeWrite0)
        SettleRangeWrite(nCommand - kCmdRangeWrite0);
    else
        SettleOutputWrite(nCommand - kCmdOutput0);
}

// The module answers an output value with ">". Refused, the value field shows the channel's
// output again while the channel is the one chosen.
void CM6359p::SettleOutputWrite(int channel)
{
    int command = kCmdOutput0 + channel;
    auto k = static_cast<size_t>(channel);
    EWriteAnswer answer = SettleWrite(command, AsciiWriteAnswer(ReplyFits('>', 0)));
    if (answer == EWriteAnswer::Heard) {
        m_strModuleValue[k] = m_strSent;
    } else if (answer == EWriteAnswer::Refused && !WritePending(command) &&
               SelectedChannel() == channel && !m_strModuleValue[k].empty()) {
        SetDlgItemText(IDC_ODI_VALUE, m_strModuleValue[k]);
    }
}

// A range the module refuses shows in its list no longer: the list shows the module's range.
void CM6359p::SettleRangeWrite(int channel)
{
    int command = kCmdRangeWrite0 + channel;
    EWriteAnswer answer = SettleWrite(command, AsciiWriteAnswer(Acknowledged()));
    if (answer == EWriteAnswer::NotHeard) return;
    bool heard = answer == EWriteAnswer::Heard;
    SetDlgItemText(IDC_ODI_RESPOND, heard ? "Change Successful" : "Change UnSuccessful");
    if (heard)
        m_nModuleRange[static_cast<size_t>(channel)] = OutputDiRowOfCode(m_strSent);
    else if (!WritePending(command))
        ShowModuleRange(channel);
}

void CM6359p::ShowModuleRange(int channel)
{
    GetDlgItemAs<CComboBox>(kOdiRangeIds[channel])
        ->SetCurSel(m_nModuleRange[static_cast<size_t>(channel)]);
    if (SelectedChannel() == channel) OnSelchangeChannel();
}

// Each startup value is its own write. Once all four of an Update are settled the range read
// starts again (the edits then show what the module holds), behind the success box when the
// module heard all four.
void CM6359p::SettleStartupWrite(int channel)
{
    int command = kCmdStartupWrite0 + channel;
    auto k = static_cast<size_t>(channel);
    EWriteAnswer answer = SettleWrite(command, AsciiWriteAnswer(Acknowledged()));
    bool latest = !WritePending(command);
    if (answer == EWriteAnswer::Heard) {
        m_strModuleStartup[k] = m_strSent;
        if (latest) m_nStartupHeard |= 1 << channel;
    } else if (answer == EWriteAnswer::Refused && latest) {
        m_nStartupHeard &= ~(1 << channel);
        SetDlgItemText(kOdiStartupIds[channel], m_strModuleStartup[k]);
    }
    if (!m_bStartupUnderway || StartupWritePending()) return;
    m_bStartupUnderway = false;
    if (m_nStartupHeard == 0xF) BoxBehindPolling("Update Channel Setup Succeeded", nullptr, MB_OK);
    m_nStep = 0;
    m_nCommand = kCmdFirstRange;
}

bool CM6359p::StartupWritePending() const
{
    for (int ch = 0; ch < 4; ++ch) {
        if (WritePending(kCmdStartupWrite0 + ch)) return true;
    }
    return false;
}

// ---- what the reads show ----

// A control whose write is pending keeps the operator's value.
void CM6359p::ShowRanges()
{
    for (int ch = 0; ch < 4; ++ch) {
        auto k = static_cast<size_t>(ch);
        int row = OutputDiRowOfCode(m_strReadBack[k]);
        if (row >= 0) m_nModuleRange[k] = row;
        if (row >= 0 && !WritePending(kCmdRangeWrite0 + ch))
            GetDlgItemAs<CComboBox>(kOdiRangeIds[ch])->SetCurSel(row);
        const std::string& startup = m_strReadBack[k + 4];
        if (!startup.empty()) m_strModuleStartup[k] = startup;
        if (!WritePending(kCmdStartupWrite0 + ch)) SetDlgItemText(kOdiStartupIds[ch], startup);
    }
    GetDlgItemAs<CComboBox>(IDC_ODI_CHANNEL)->SelectString(-1, "CH0");
    OnSelchangeChannel();
}

void CM6359p::ShowValues()
{
    for (int ch = 0; ch < 4; ++ch) {
        const std::string& value = m_strReadBack[static_cast<size_t>(ch)];
        SetDlgItemText(kOdiCurrentIds[ch], value);
        if (!value.empty()) m_strModuleValue[static_cast<size_t>(ch)] = value;
    }
    // Without a reading of the inputs in this cycle the lamps stay as they are.
    const std::string& digit = m_strReadBack[kInputsStep];
    if (digit.empty()) return;
    int bits = InputBits(digit[0]);
    for (int k = 0; k < 4; ++k) m_lamps.Show(k, (bits >> k) & 1);
}

void CM6359p::TakeReading(const std::optional<std::string>& reading)
{
    m_strReadBack[static_cast<size_t>(m_nStep)] = reading.value_or("");
    if (!reading) m_bSequenceMissed = true;
    ++m_nStep;
}

void CM6359p::TakeStepReading()
{
    if (m_nCommand == kCmdRangeRead && m_nStep < kRangeSteps) {
        // "!AACiRrr" gives the range after its "R"; "!AA+05.000" the startup value. A reply of
        // another shape, or none, gives nothing.
        TakeReading(m_nStep < 4 ? ChannelCodeOfReply(m_nStep)
                                : ReadingOfReply('!', kValueLength, EReadingSign::Signed));
    } else if (m_nCommand == kCmdValueCycle && m_nStep < kValueSteps) {
        // A value, then "!AA" and one hex digit of the inputs.
        TakeReading(m_nStep < kInputsStep ? ReadingOfReply('!', kValueLength, EReadingSign::Signed)
                                          : ReplyDataOf('!', IsInputsDigit));
    }
}

void CM6359p::EndSequence(int steps, int nLastCommand)
{
    // One reply out of step may mean the replies before it were too (each the late reply of the
    // request before): a sequence with a missed exchange shows as silence, whole.
    if (m_bSequenceMissed)
        std::fill(m_strReadBack.begin(), m_strReadBack.begin() + steps, std::string());
    m_nStep = 0;
    m_nLastCommand = nLastCommand;
}

std::string CM6359p::RangeReadStep()
{
    if (m_nStep == kRangeSteps) {
        EndSequence(kRangeSteps, kLastRangesRead);
        return {};
    }
    return m_nStep < 4 ? Request('$', Format("8C%d", m_nStep))
                       : Request('$', Format("DC%d", m_nStep - 4));
}

std::string CM6359p::ValueCycleStep()
{
    if (m_nStep == kValueSteps) {
        EndSequence(kValueSteps, kLastValuesRead);
        return {};
    }
    return m_nStep < kInputsStep ? Request('$', Format("6C%d", m_nStep)) : Request('$', "I");
}

std::string CM6359p::NextRequest()
{
    switch (m_nCommand) {
    case kCmdFirstRange:
        m_nCommand = kCmdRangeRead;
        m_nStep = 0;
        m_bSequenceMissed = false;
        return Request('$', "8C0");
    case kCmdRangeRead:
        return RangeReadStep();
    case kCmdFirstValue:
        // The cycle starts over, so each value lands in its own channel's field.
        m_nCommand = kCmdValueCycle;
        m_nStep = 0;
        m_bSequenceMissed = false;
        return Request('$', "6C0");
    case kCmdValueCycle:
        return ValueCycleStep();
    case kCmdConfigure:
        m_nLastCommand = kLastConfigure;
        return ConfigurationGoesOut();
    default:
        m_nLastCommand = kLastWrite;
        return WriteRequest(m_nCommand);
    }
}
