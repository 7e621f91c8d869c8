#include "M6373.h"

#include "AsciiCommand.h"
#include "Clock.h"
#include "DigitalIoIds.h"
#include "ModuleDialogs.h"
#include "SettingRequest.h"
#include "Strings.h"

REGISTER_MODULE_DIALOG(CM6373)

namespace {

inline constexpr WORD kTimeout = 100;
inline constexpr UINT kPeriod = 100;
inline constexpr DWORD kOpenPause = 100;
inline constexpr DWORD kPause = 150;
// A power-on or safe value as the module reports it: four hex digits.
inline constexpr size_t kValueDigits = 4;

// Texts of the safe-value and power-on requests when the module does not acknowledge.
struct SAnswerError {
    int nCommand;
    const char* pszText;
};
const SAnswerError kAnswerErrors[] = {
    {CM6373::kCmdReadPowerOn, "Read PowerOn Value Error!"},
    {CM6373::kCmdReadSafe, "Read Safe Value Error!"},
    {CM6373::kCmdSetPowerOn, "Set PowerOn Value Error!"},
    {CM6373::kCmdSetSafe, "Set Safe Value Error!"},
};

const char* AnswerErrorOf(int command)
{
    for (const SAnswerError& e : kAnswerErrors)
        if (e.nCommand == command) return e.pszText;
    return "";
}

struct SDisabled {
    unsigned nFlag;
    std::vector<int> ids;
};
const SDisabled kDisabledControls[] = {
    {kDioSafe, {IDC_DIO_SET_SAFE, IDC_DIO_READ_SAFE}},
    {kDioPowerOn, {IDC_DIO_SET_POWERON, IDC_DIO_READ_POWERON}},
    {kDioLatch, {IDC_DIO_CLEAR_LATCH, IDC_DIO_LATCH_LOW, IDC_DIO_LATCH_HIGH}},
};

const SModuleDescriptor kDescriptor = {
    .nTemplate = IDD_M6373,
    .pBlock = &CMainFrame::m_strDioParams,
    .pChanged = &CMainFrame::m_bDioChanged,
    .eLink = ELinkKind::Ascii,
    .boxes = {IDC_DIO_ADDRESS, IDC_DIO_BAUD, IDC_DIO_CHECKSUM, 0, 0, IDC_DIO_PROTOCOL},
    .bCheckIsHexDigit = true,
};

} // namespace

BEGIN_MESSAGE_MAP(CM6373, CDioDlg)
ON_BN_CLICKED(IDC_DIO_SETTING, OnSetting)
ON_BN_CLICKED(IDC_DIO_CLEAR_LATCH, OnClearLatch)
ON_BN_CLICKED(IDC_DIO_SET_SAFE, OnSetSafe)
ON_BN_CLICKED(IDC_DIO_READ_SAFE, OnReadSafe)
ON_BN_CLICKED(IDC_DIO_SET_POWERON, OnSetPowerOn)
ON_BN_CLICKED(IDC_DIO_READ_POWERON, OnReadPowerOn)
END_MESSAGE_MAP()

CM6373::CM6373(CWnd*) : CDioDlg(kDescriptor, EDioDialog::Ascii) {}

bool CM6373::OwnRequests() const
{
    const SDioModelRow* rules = DioFindRow(m_strModuleName, EDioTest::Rules);
    return rules && rules->bOwnRequests;
}

void CM6373::DisableControls(unsigned flags)
{
    for (const SDisabled& d : kDisabledControls) {
        if (!(flags & d.nFlag)) continue;
        for (int id : d.ids) GetDlgItem(id)->EnableWindow(FALSE);
    }
}

BOOL CM6373::OnInitDialog()
{
    CDialog::OnInitDialog();
    InitFromBlock();
    bool addressZero = IsAddressZero();
    if (DioSwitchesByConfiguration(m_strModuleName))
        GetDlgItem(IDC_DIO_PROTOCOL)->EnableWindow(addressZero);
    GetDlgItemAs<CComboBox>(IDC_DIO_PROTOCOL)->SetCurSel(0);
    const SDioModelRow* rules = DioFindRow(m_strModuleName, EDioTest::Rules);
    if (rules) DisableControls(rules->nDisabled);
    FillSettingsBoxes(true);
    InitModel();
    // The rows of outputs only have no input latch, by their counts as well.
    const SDioModelRow* counts = DioFindRow(m_strModuleName, EDioTest::Counts);
    if (counts && counts->nRow >= 8 && counts->nRow <= 10) {
        DisableControls(kDioLatch);
        m_nLatchLevel = kLatchKept;
    }

    Sleep(kOpenPause);
    // The INIT state answers at 9600 without checksum.
    DWORD baud = addressZero ? 9600 : BlockBaudRate();
    // Without a line there is nothing to poll: no request, no timer.
    m_bLineOpen = OpenAsciiLine(baud);
    if (!m_bLineOpen) return TRUE;
    SendAscii(Request('$', "6"), kTimeout);
    m_nLastCommand = kCmdPoll;
    SetTimer(m_nTimerId, kPeriod);
    return TRUE;
}

void CM6373::OnMouseMove(UINT, CPoint)
{
    // A poll already under way (its exchange or its message box) is not entered again.
    if (m_bLineOpen && IsRunning() && !m_bPolling) PollStep();
}

void CM6373::PollStep()
{
    m_bPolling = true;
    TakeReply();
    if (ReadLastReply()) {
        ApplyQueuedCommand();
        SendAscii(NextRequest(), kTimeout);
        Sleep(kPause);
    }
    m_bPolling = false;
}

bool CM6373::ReadLastReply()
{
    switch (m_nLastCommand) {
    case kCmdPoll:
        // With the operator's request waiting, the reply in hand is not read; a pending write
        // keeps its outputs from any reply read later.
        if (!HasQueuedCommand()) ReadIdleReply();
        return true;
    case kCmdReadPowerOn:
    case kCmdReadSafe:
    case kCmdSetPowerOn:
    case kCmdSetSafe:
        ReadAnswer();
        return true;
    case kCmdConfigure:
        ReadConfigurationAnswer();
        return false;
    case kCmdWriteOutputs:
        // The module takes the outputs with ">"; refused, the lamps show its outputs again.
        if (SettleLastWrite(ReplyFits('>', 0)) == EWriteAnswer::Refused) ShowReportedOutputs();
        return true;
    case kCmdClearLatch:
        SettleLastWrite(Acknowledged());
        return true;
    default:
        if (IsClearCounter(m_nLastCommand)) SettleLastWrite(Acknowledged());
        return true;
    }
}

EWriteAnswer CM6373::SettleLastWrite(bool bAcknowledged)
{
    return SettleWrite(m_nLastCommand, AsciiWriteAnswer(bAcknowledged));
}

void CM6373::ReadAnswer()
{
    // A read's answer carries the value's four hex digits, a set's nothing. A set that was not
    // heard shows its error and goes out again once the module answers a poll.
    bool read = m_nLastCommand == kCmdReadPowerOn || m_nLastCommand == kCmdReadSafe;
    bool ack = read ? ReplyFits('!', kValueDigits)
                    : SettleLastWrite(Acknowledged()) == EWriteAnswer::Heard;
    std::optional<std::string> reply = ReplyOf('!');
    SetDlgItemText(IDC_DIO_ANSWER, ack && reply ? *reply : AnswerErrorOf(m_nLastCommand));
    m_nCommand = kCmdPollAfterAnswer;
}

void CM6373::ReadIdleReply()
{
    // A failed exchange or a refusal shows nothing: the lamps, the output states and the
    // counters keep what the module last reported.
    int channel = m_poll.ReplyChannel();
    if (channel < 0) {
        // The status follows the "!" with no address.
        std::optional<std::string> data = ReplyData('!', "");
        if (std::optional<WORD> status = data ? DioParseStatus(*data) : std::nullopt)
            ShowStatus(*status);
        return;
    }
    std::optional<std::string> data = ReplyData('!');
    if (std::optional<std::string> count = data ? DioParseCounter(*data) : std::nullopt)
        SetDlgItemText(DioChannelControls[static_cast<size_t>(channel)].nCounter, *count);
}

std::string CM6373::IdleRequest(bool afterAnswer)
{
    auto form = CDioIdlePoll::FormOf(m_strModuleName, m_bChecksum, afterAnswer);
    int channel = m_poll.Next(form, m_nDiCount);
    return channel < 0 ? Request('$', "6") : Request('#', ValueToHexChar(channel));
}

int CM6373::DoValue() const
{
    int value = 0;
    for (int ch = 0; ch < m_nDoCount; ++ch) value |= m_bDoState[static_cast<size_t>(ch)] << ch;
    return value;
}

std::string CM6373::DoText(int value) const
{
    return BuildDoHexString(m_strModuleName, value);
}

std::string CM6373::NextRequest()
{
    int step = m_nCommand;
    // Every step but the idle poll goes out once.
    m_nCommand = kCmdPoll;
    m_nLastCommand = step == kCmdPollAfterAnswer ? kCmdPoll : step;
    bool own = OwnRequests();
    if (IsClearCounter(step)) return Request('$', "C" + ValueToHexChar(step - kCmdClearCounter0));
    switch (step) {
    case kCmdPollAfterAnswer:
        return IdleRequest(true);
    case kCmdWriteOutputs:
        return own ? Request('#', "00" + DoText(m_nDoValue)) : Request('@', DoText(m_nDoValue));
    case kCmdConfigure:
        return ConfigurationGoesOut();
    case kCmdClearLatch:
        return m_strLatchCommand;
    case kCmdReadPowerOn:
        return Request('~', "4P");
    case kCmdReadSafe:
        return own ? Request('$', "X1") : Request('~', "4S");
    case kCmdSetPowerOn:
        return Request('~', "5P");
    case kCmdSetSafe:
        return own ? Request('$', "X00000" + m_strSafeDo) : Request('~', "5S");
    default:
        return IdleRequest(false);
    }
}

void CM6373::OnLButtonDown(UINT nFlags, CPoint point)
{
    // Until the outputs have been shown there is no state to write back.
    if (!m_bOutputsShown) return;
    int channel = HitOutputLamp(nFlags, point);
    if (channel >= 0) {
        int& state = m_bDoState[static_cast<size_t>(channel)];
        state = state ? 0 : 1;
    }
    m_nDoValue = DoValue();
    QueueWrite(kCmdWriteOutputs);
}

bool CM6373::OutputPending(int) const
{
    // The outputs are written whole: a pending write holds every one.
    return WritePending(kCmdWriteOutputs);
}

void CM6373::ClearCounter(int channel)
{
    QueueWrite(kCmdClearCounter0 + channel);
}

void CM6373::OnSetSafe()
{
    // The own form writes the outputs as shown: nothing before they have been.
    if (OwnRequests()) {
        if (!m_bOutputsShown) return;
        m_strSafeDo = DoText(DoValue());
    }
    QueueWrite(kCmdSetSafe);
}

void CM6373::OnClearLatch()
{
    m_strLatchCommand = Request('$', "C");
    QueueWrite(kCmdClearLatch);
}

void CM6373::OnSetting()
{
    UpdateData(TRUE);
    std::optional<SSettingsChoice> choice = ReadSettings(kAddressZeroNotAllowed);
    if (!choice) return;
    m_nNewChecksum = choice->bChecksumOn ? 1 : 0;
    // "%AANN40CCFF": the latch level in the Check digit, format "0".
    SConfigurationFields fields = ConfigurationFieldsOf(*choice);
    fields.strType = "40";
    fields.strCheck = CheckDigitWithLatch(*choice);
    fields.strFormat = "0";
    SConfiguration configuration = SettingOfFields(*choice, fields);
    // The models that keep their protocol in the format byte switch by a "%" request to 00.
    bool byConfiguration = DioSwitchesByConfiguration(m_strModuleName);
    SModbusSwitchForm form =
        byConfiguration ? SModbusSwitchForm{false, "00", "04"} : kSwitchDollarR1;
    if (choice->bModbus)
        configuration.strRequest = FrameAsciiCommand(ModbusSwitchText(form, fields), m_bChecksum);
    // Written back once the module has acknowledged. The "$" switch leaves the module at its
    // address, and the row with it.
    configuration.bNewChecksum = m_bChecksum;
    configuration.rowTexts = DioRowTexts(*choice);
    configuration.params = DioParams(*choice);
    configuration.eWriteBack = EWriteBack::OnAcknowledge;
    if (choice->bModbus && !byConfiguration) {
        configuration.strNewAddress = m_strAddress;
        configuration.rowTexts[kAddressText] = std::nullopt;
        configuration.params[kAddress] = std::nullopt;
    }
    m_bSwitchToModbus = choice->bModbus;
    QueueConfiguration(kCmdConfigure, std::move(configuration));
}

void CM6373::ReadConfigurationAnswer()
{
    if (m_nNewChecksum == 0 || m_nNewChecksum == 1) m_bChecksum = m_nNewChecksum == 1;
    // A late reply to a poll confirms nothing.
    bool accepted = SettingAcknowledged();
    ConfigurationAnswered(accepted);
    if (accepted || !m_bSwitchToModbus) ShowConfigurationResult(accepted);
    OnCancel();
}
