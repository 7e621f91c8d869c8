#include "M6363.h"

#include "AsciiCommand.h"
#include "Clock.h"
#include "CounterPowerIds.h"
#include "ModelName.h"
#include "ModuleDialogs.h"
#include "Strings.h"

#include <algorithm>
#include <cctype>

REGISTER_MODULE_DIALOG(CM6363)

namespace {

// Gate Mode rows by the type code, Freq.Gate rows by the Format digit (0x04: the 1.0 s gate).
const CodeTable kTypeCodes = {"50", "51"};
const CodeTable kGateTimeDigits = {"0", "4"};

const SModuleDescriptor kDescriptor = {
    .nTemplate = IDD_M6363,
    .pBlock = &CMainFrame::m_strCounterParams,
    .pChanged = &CMainFrame::m_bCounterChanged,
    .eLink = ELinkKind::Ascii,
    .boxes = {IDC_CNT_ADDRESS, IDC_CNT_BAUD, IDC_CNT_CHECKSUM, IDC_CNT_TYPE, IDC_CNT_GATE_TIME,
              IDC_CNT_PROTOCOL},
    .pRangeCodes = &kTypeCodes,
    .pFormatCodes = &kGateTimeDigits,
    .pszRangeField = "Gate Mode",
    .pszFormatField = "Freq.Gate",
    .bSetsDialogClosed = true,
};

inline constexpr WORD kTimeout = 100;
inline constexpr UINT kPeriod = 100;
inline constexpr DWORD kPause = 150;
inline constexpr int kModbusRow = 1;

// The poll cycle: step s reads the reply to the request of step s - 1 and sends its own.
enum : int {
    kStepCount0 = 1,
    kStepCount1,
    kStepSignalModes,
    kStepGate,
    kStepPreset0,
    kStepOutputs,
    kStepMax0,
    kStepMax1,
    kStepAlarmMode,
    kStepPreset1,
    kStepAlarmEnables,
    kStepAlarmValue0,
    kStepAlarmValue1,
};
struct SPollRequest {
    char lead;
    const char* body;
};
// By step: what it sends.
const SPollRequest kPollRequests[] = {
    {'#', "1"}, {'$', "B"},  {'$', "A"},  {'@', "G0"}, {'@', "DI"}, {'$', "30"}, {'$', "31"},
    {'~', "B"}, {'@', "G1"}, {'@', "DI"}, {'@', "RP"}, {'@', "RA"}, {'#', "0"}};
bool AllHexDigits(const std::string& data)
{
    return std::all_of(data.begin(), data.end(), IsUpperHexDigit);
}
// A count of 32 bits: eight hex digits, or up to ten decimal ones.
bool IsCount(const std::string& data)
{
    return data.size() >= 8 && data.size() <= 10 && AllHexDigits(data);
}
// A preset, maximum or alarm value: the eight characters from position 3.
bool IsValue(const std::string& data)
{
    return data.size() == 8 && AllHexDigits(data);
}
// A setting: its one digit.
bool IsSettingDigit(const std::string& data)
{
    return data.size() == 1 && data[0] >= '0' && data[0] <= '9';
}
// The @AADI state: the status digit at position 3 (the alarm enables or mode), the outputs'
// digits at 4 and 5; each step takes it as far as it reads.
bool IsAlarmState(const std::string& data)
{
    return IsDioState(data, 1);
}
bool IsOutputState(const std::string& data)
{
    return IsDioState(data, 3);
}
// By step: the reply it reads, its lead and the shape of its data (after "!" the address).
struct SPollReply {
    char lead;
    bool (*pShape)(const std::string& data);
};
const SPollReply kPollReplies[] = {
    {'>', IsCount},        {'>', IsCount},       {'!', IsSettingDigit}, {'!', IsSettingDigit},
    {'!', IsValue},        {'!', IsOutputState}, {'!', IsValue},        {'!', IsValue},
    {'!', IsSettingDigit}, {'!', IsValue},       {'!', IsAlarmState},   {'!', IsValue},
    {'!', IsValue}};

// Steps that fill an edit with the eight characters from position 3, until the settings are
// loaded: the edit in alarm mode A and in mode B.
struct SValueStep {
    int step;
    int editModeA;
    int editModeB;
};
const SValueStep kValueSteps[] = {
    {kStepPreset0, IDC_CNT_PRESET0, IDC_CNT_PRESET0},
    {kStepMax0, IDC_CNT_MAX0, IDC_CNT_MAX0},
    {kStepMax1, IDC_CNT_MAX1, IDC_CNT_MAX1},
    {kStepPreset1, IDC_CNT_PRESET1, IDC_CNT_PRESET1},
    {kStepAlarmValue0, IDC_CNT_A_VALUE0, IDC_CNT_B_HIGH},
    {kStepAlarmValue1, IDC_CNT_A_VALUE1, IDC_CNT_B_HIGHHIGH},
};

// The controls of the other alarm mode, disabled for good once the mode is read.
const int kModeBControls[] = {IDC_CNT_B_ALARM,        IDC_CNT_B_SET_ALARM, IDC_CNT_B_SET_HIGH,
                              IDC_CNT_B_SET_HIGHHIGH, IDC_CNT_B_HIGH,      IDC_CNT_B_HIGHHIGH};
const int kModeAControls[] = {IDC_CNT_A_ENABLE0,     IDC_CNT_A_ENABLE1,     IDC_CNT_A_VALUE0,
                              IDC_CNT_A_VALUE1,      IDC_CNT_A_SET_ENABLE0, IDC_CNT_A_SET_VALUE1,
                              IDC_CNT_A_SET_ENABLE1, IDC_CNT_A_SET_VALUE0};

// Signal modes of CH0 and CH1 by the module's digit: 0 TTL, 1 isolated.
const std::array<int, 2> kSignalModes[] = {{0, 0}, {1, 1}, {0, 1}, {1, 0}};
// The gate digit of each Gate Mode row ("None", "Low", "High"), and the row of each digit.
const char kGateDigits[] = {'2', '0', '1'};
const char* const kModeBCommands[] = {"DA", "EAM", "EAL"};

// Values travel as the module shows them: eight hex digits.
std::optional<std::string> ModuleValue(const std::string& typed)
{
    std::string text = Trim(typed);
    if (text.size() != 8 || !std::all_of(text.begin(), text.end(), [](char c) {
            return std::isxdigit(static_cast<unsigned char>(c));
        }))
        return std::nullopt;
    return MakeUpper(text);
}
inline constexpr const char* kValueRefused = "Value must be 8 hex digits (00000000 to FFFFFFFF)!";

} // namespace

BEGIN_MESSAGE_MAP(CM6363, CModuleDlg)
ON_BN_CLICKED(IDC_CNT_SETTING, OnSetting)
ON_BN_CLICKED(IDC_CNT_A_SET_ENABLE0, OnOperation<CM6363::kOpEnableA0>)
ON_BN_CLICKED(IDC_CNT_A_SET_ENABLE1, OnOperation<CM6363::kOpEnableA1>)
ON_BN_CLICKED(IDC_CNT_A_SET_VALUE0, OnOperation<CM6363::kOpValueA0>)
ON_BN_CLICKED(IDC_CNT_A_SET_VALUE1, OnOperation<CM6363::kOpValueA1>)
ON_BN_CLICKED(IDC_CNT_B_SET_ALARM, OnOperation<CM6363::kOpAlarmB>)
ON_BN_CLICKED(IDC_CNT_B_SET_HIGH, OnOperation<CM6363::kOpHighB>)
ON_BN_CLICKED(IDC_CNT_B_SET_HIGHHIGH, OnOperation<CM6363::kOpHighHighB>)
ON_BN_CLICKED(IDC_CNT_SET_MODE1, OnOperation<CM6363::kOpSignalModes1>)
ON_BN_CLICKED(IDC_CNT_SET_MODE0, OnOperation<CM6363::kOpSignalModes0>)
ON_BN_CLICKED(IDC_CNT_SET_ALARM_MODE, OnOperation<CM6363::kOpAlarmMode>)
ON_BN_CLICKED(IDC_CNT_CLEAR0, OnOperation<CM6363::kOpClear0>)
ON_BN_CLICKED(IDC_CNT_CLEAR1, OnOperation<CM6363::kOpClear1>)
ON_BN_CLICKED(IDC_CNT_SET_GATE, OnOperation<CM6363::kOpGate>)
ON_BN_CLICKED(IDC_CNT_SET_PRESET0, OnOperation<CM6363::kOpPreset0>)
ON_BN_CLICKED(IDC_CNT_SET_MAX0, OnOperation<CM6363::kOpMax0>)
ON_BN_CLICKED(IDC_CNT_SET_PRESET1, OnOperation<CM6363::kOpPreset1>)
ON_BN_CLICKED(IDC_CNT_SET_MAX1, OnOperation<CM6363::kOpMax1>)
END_MESSAGE_MAP()

CM6363::CM6363(CWnd*) : CModuleDlg(kDescriptor) {}

void CM6363::DoDataExchange(CDataExchange* pDX)
{
    DDX_Text(pDX, IDC_CNT_MODEL, m_strModelText);
}

BOOL CM6363::OnInitDialog()
{
    CDialog::OnInitDialog();
    m_strModelText = Block()[kModule];
    InitFromBlock();
    SetRow(IDC_CNT_PROTOCOL, 0);
    FillSettingsBoxes();
    // A counter has no gate time.
    if (Block()[kScript] == "50") GetDlgItem(IDC_CNT_GATE_TIME)->EnableWindow(FALSE);
    m_lamps.Attach(*this, {IDC_CNT_LAMP0, IDC_CNT_LAMP1});
    if (!OpenAsciiLine(BlockBaudRate())) return TRUE;
    SendAscii(Request('#', "0"), kTimeout);
    SetTimer(m_nTimerId, kPeriod);
    return TRUE;
}

int CM6363::Row(int nCombo) const
{
    return GetDlgItemAs<CComboBox>(nCombo)->GetCurSel();
}

void CM6363::SetRow(int nCombo, int row)
{
    GetDlgItemAs<CComboBox>(nCombo)->SetCurSel(row);
}

void CM6363::ShowChannelValue(int channel, const std::string& text)
{
    SetDlgItemText(channel == 0 ? IDC_CNT_VALUE0 : IDC_CNT_VALUE1, text);
}

std::optional<std::string> CM6363::PollReplyData() const
{
    const SPollReply& expected = kPollReplies[m_nPollStep - 1];
    return ReplyDataOf(expected.lead, expected.pShape);
}

bool CM6363::PollReplyFits() const
{
    // The module's refusal answers the step too: the cycle goes on without what it asked for.
    return PollReplyData() || ReplyFits('?', 0);
}

void CM6363::SetStatus(bool ack)
{
    SetDlgItemText(IDC_CNT_STATUS, ack ? "Ready." : "Error!");
}

// ---- operations ----

void CM6363::QueueOperation(int op)
{
    std::optional<std::string> request = OperationRequest(op);
    if (!request) return;
    m_operationRequests[op] = *request;
    QueueWrite(op);
}

void CM6363::SettleOperation(bool answered)
{
    EWriteAnswer answer = SettleWrite(m_nLastCommand, AsciiWriteAnswer(Acknowledged()));
    SetStatus(answer == EWriteAnswer::Heard);
    // Refused, the lamps show the module's outputs again.
    if (answer == EWriteAnswer::Refused && m_nLastCommand == kOpLampClick) ShowReportedLamps();
    m_nLastCommand = kLastNone;
    m_nCommand = answered ? kCmdResync : kCmdPoll;
}

std::optional<std::string> CM6363::ValueRequest(char lead, const std::string& body, int nEdit)
{
    std::optional<std::string> value = ModuleValue(GetDlgItemText(nEdit));
    if (!value) {
        MessageBox(kValueRefused, "", MB_ICONEXCLAMATION);
        return std::nullopt;
    }
    return Request(lead, body + *value);
}

std::optional<std::string> CM6363::OperationRequest(int op)
{
    auto enable = [this](int nCombo, const char* channel) -> std::optional<std::string> {
        int row = Row(nCombo);
        if (row < 0) return std::nullopt;
        return Request('@', std::string(row == 1 ? "EA" : "DA") + channel);
    };
    switch (op) {
    case kOpEnableA0:
        return enable(IDC_CNT_A_ENABLE0, "0");
    case kOpEnableA1:
        return enable(IDC_CNT_A_ENABLE1, "1");
    case kOpValueA0:
        return ValueRequest('@', "PA", IDC_CNT_A_VALUE0);
    case kOpValueA1:
        return ValueRequest('@', "SA", IDC_CNT_A_VALUE1);
    case kOpAlarmB: {
        int row = Row(IDC_CNT_B_ALARM);
        if (row < 0) return std::nullopt;
        return Request('@', kModeBCommands[row]);
    }
    case kOpHighB:
        return ValueRequest('@', "PA", IDC_CNT_B_HIGH);
    case kOpHighHighB:
        return ValueRequest('@', "SA", IDC_CNT_B_HIGHHIGH);
    case kOpSignalModes1:
    case kOpSignalModes0: {
        int ch0 = Row(IDC_CNT_MODE0);
        int ch1 = Row(IDC_CNT_MODE1);
        if (ch0 < 0 || ch1 < 0) return std::nullopt;
        auto digit = std::find(std::begin(kSignalModes), std::end(kSignalModes),
                               std::array<int, 2>{ch0, ch1}) -
                     std::begin(kSignalModes);
        return Request('$', "B" + Format("%d", static_cast<int>(digit)));
    }
    case kOpAlarmMode: {
        int row = Row(IDC_CNT_ALARM_MODE);
        if (row < 0) return std::nullopt;
        return Request('~', Format("A%d", row));
    }
    case kOpClear0:
        return Request('$', "60");
    case kOpClear1:
        return Request('$', "61");
    case kOpGate: {
        int row = Row(IDC_CNT_GATE);
        if (row < 0) return std::nullopt;
        return Request('$', std::string("A") + kGateDigits[row]);
    }
    case kOpLampClick:
        return Request('@', "DO0" + Format("%d", m_bDoState[0] + 2 * m_bDoState[1]));
    case kOpPreset0:
        return ValueRequest('@', "P0", IDC_CNT_PRESET0);
    case kOpMax0:
        return ValueRequest('$', "30", IDC_CNT_MAX0);
    case kOpPreset1:
        return ValueRequest('@', "P1", IDC_CNT_PRESET1);
    case kOpMax1:
        return ValueRequest('$', "31", IDC_CNT_MAX1);
    default:
        return std::nullopt;
    }
}

void CM6363::OnLButtonDown(UINT nFlags, CPoint point)
{
    int lamp = m_lamps.HitTest(point);
    if (lamp >= 0) {
        auto k = static_cast<size_t>(lamp);
        // Shift or Ctrl held: the outputs are sent again as they stand.
        if (nFlags == MK_LBUTTON) m_bDoState[k] = m_bDoState[k] ? 0 : 1;
        QueueOperation(kOpLampClick);
    }
    CModuleDlg::OnLButtonDown(nFlags, point);
}

// ---- configuration ----

void CM6363::OnSetting()
{
    UpdateData(TRUE);
    std::optional<SSettingsChoice> choice = ReadSettings({}, EModbusRow::SwitchesByDollar);
    if (!choice) return;
    m_bBaudChanged = choice->strBaudCode != Block()[kBrate];
    // The switch to Modbus RTU goes to the address the module answers to now.
    SConfiguration configuration = SettingOfChoice(*choice, choice->bModbus);
    if (choice->bModbus) {
        // The switch leaves the module at its address, and the row with it; the row takes the
        // other settings as the dialog shows them.
        configuration.rowTexts = RowTextsOf(*choice);
        configuration.params = ParamsOf(*choice);
        configuration.rowTexts[kAddressText] = std::nullopt;
        configuration.params[kAddress] = std::nullopt;
    }
    QueueConfiguration(kCmdConfigure, std::move(configuration));
}

// A module that took the switch answers no more in ASCII: nothing at all coming back is its
// answer, noise is none. A late reply to a poll confirms nothing.
void CM6363::FinishConfiguration()
{
    ESettingOutcome outcome = SettingOutcome(SettingAcknowledged(), ConfigurationRefused(),
                                             Row(IDC_CNT_PROTOCOL) == kModbusRow && NothingCame());
    ConfigurationAnswered(outcome != ESettingOutcome::Refused);
    ShowSettingOutcome(outcome, "Setting MODBUS/RTU OK!");
    OnCancel();
}

// ---- the poll ----

std::string CM6363::Resync()
{
    // The cycle starts again with the reply to #AA0, so every step reads what it asked for.
    m_nPollStep = kFirstPollStep;
    return Request('#', "0");
}

void CM6363::PollStep()
{
    TakeReply();
    if (m_nLastCommand == kLastConfigure) {
        FinishConfiguration();
        return;
    }
    // Only the module's own reply answers: an operation's acknowledgement or refusal, a poll's
    // reply of the lead and shape its step reads (or a refusal); anything else is a missed
    // exchange.
    bool answered = IsOperation(m_nLastCommand) ? ModuleReplied() : PollReplyFits();
    // "!" and the address: "Ready."; anything else or nothing: "Error!", and the operation goes
    // out again once the module has answered a poll (refused: never).
    if (IsOperation(m_nLastCommand)) SettleOperation(answered);
    std::string request;
    if (!answered) {
        // Framed as the line was opened: the checksum may be what changed.
        Resync();
        request = Request('#', "0", m_bOpenChecksum);
    } else {
        ApplyQueuedCommand();
        switch (m_nCommand) {
        case kCmdConfigure:
            m_nLastCommand = kLastConfigure;
            request = ConfigurationGoesOut();
            break;
        case kCmdResync:
            m_nCommand = kCmdPoll;
            if (m_bBaudChanged) {
                OnCancel();
                return;
            }
            request = Resync();
            break;
        case kCmdPoll:
            if (ModelHasAny(m_strModelText, {"6363", "4363"})) request = PollCycle();
            break;
        default:
            m_nLastCommand = m_nCommand;
            request = m_operationRequests[m_nCommand];
            break;
        }
    }
    SendAscii(request, kTimeout);
    Sleep(kPause);
}

std::string CM6363::PollCycle()
{
    int step = m_nPollStep;
    ReadPollReply(step);
    m_nPollStep = step == kPollSteps ? kFirstPollStep : step + 1;
    const SPollRequest& next = kPollRequests[step - 1];
    return Request(next.lead, next.body);
}

void CM6363::ReadPollReply(int step)
{
    std::optional<std::string> reply = PollReplyData();
    if (!reply) return;
    const std::string& data = *reply;
    switch (step) {
    case kStepCount0:
    case kStepCount1:
        ShowChannelValue(step - kStepCount0, data);
        return;
    case kStepOutputs:
        ShowLamps(data);
        return;
    default:
        break;
    }
    if (m_bSettingsLoaded) return;
    for (const SValueStep& v : kValueSteps) {
        if (v.step == step)
            SetDlgItemText(m_nAlarmMode == 0 ? v.editModeA : v.editModeB, Mid(data, 0, 8));
    }
    switch (step) {
    case kStepSignalModes:
        ReadSignalModes(data);
        break;
    case kStepGate:
        ReadGate(data);
        break;
    case kStepAlarmMode:
        ReadAlarmMode(data);
        break;
    case kStepAlarmEnables:
        ReadAlarmEnables(data);
        break;
    case kStepAlarmValue1:
        m_bSettingsLoaded = true;
        break;
    default:
        break;
    }
}

void CM6363::ReadSignalModes(const std::string& data)
{
    int digit = CharAt(data, 0) - '0';
    if (digit < 0 || digit > 3) return;
    SetRow(IDC_CNT_MODE0, kSignalModes[digit][0]);
    SetRow(IDC_CNT_MODE1, kSignalModes[digit][1]);
}

void CM6363::ReadGate(const std::string& data)
{
    const char* found = std::find(std::begin(kGateDigits), std::end(kGateDigits), CharAt(data, 0));
    if (found != std::end(kGateDigits))
        SetRow(IDC_CNT_GATE, static_cast<int>(found - std::begin(kGateDigits)));
}

void CM6363::ReadAlarmMode(const std::string& data)
{
    char mode = CharAt(data, 0);
    if (mode != '0' && mode != '1') return;
    m_nAlarmMode = mode - '0';
    SetRow(IDC_CNT_ALARM_MODE, m_nAlarmMode);
    if (m_nAlarmMode == 0) {
        for (int id : kModeBControls) GetDlgItem(id)->EnableWindow(FALSE);
    } else {
        for (int id : kModeAControls) GetDlgItem(id)->EnableWindow(FALSE);
    }
}

void CM6363::ReadAlarmEnables(const std::string& data)
{
    int digit = CharAt(data, 0) - '0';
    if (m_nAlarmMode == 0 && digit >= 0 && digit <= 3) {
        SetRow(IDC_CNT_A_ENABLE0, digit & 1);
        SetRow(IDC_CNT_A_ENABLE1, (digit >> 1) & 1);
    } else if (m_nAlarmMode == 1 && digit >= 0 && digit <= 2) {
        SetRow(IDC_CNT_B_ALARM, digit);
    }
}

void CM6363::ShowLamps(const std::string& data)
{
    int digit = CharAt(data, 2) - '0';
    if (digit < 0 || digit > 3) return;
    m_nReportedOutputs = digit;
    ShowReportedLamps();
}

void CM6363::ShowReportedLamps()
{
    if (m_nReportedOutputs < 0) return;
    for (size_t k = 0; k < m_bDoState.size(); ++k) {
        if (!WritePending(kOpLampClick)) m_bDoState[k] = (m_nReportedOutputs >> k) & 1;
        m_lamps.Show(static_cast<int>(k), m_bDoState[k] != 0);
    }
}
