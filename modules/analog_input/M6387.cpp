#include "M6387.h"

#include "AnalogInputIds.h"
#include "AsciiCommand.h"
#include "ModuleDialogs.h"
#include "Resource.h"
#include "Strings.h"

REGISTER_MODULE_DIALOG(CM6387)

namespace {

// Range rows "+/-15mV" to "+/-20mA".
const CodeTable kRangeCodes = {"00", "01", "02", "03", "04", "05", "06"};

const SModuleDescriptor kDescriptor = {
    .nTemplate = IDD_M6387,
    .pBlock = &CMainFrame::m_strBridgeInputParams,
    .pChanged = &CMainFrame::m_bBridgeInputChanged,
    .eLink = ELinkKind::Ascii,
    .boxes = {IDC_AI_ADDRESS, IDC_AI_BAUD, IDC_AI_CHECKSUM, IDC_AI_RANGE, IDC_AI_FORMAT, 0},
    .pRangeCodes = &kRangeCodes,
    .pFormatCodes = &FormatDigitTable,
    .bSetsDialogClosed = true,
};

const int kCalibrationIds[] = {IDC_BRIDGE_CALIBRATION, IDC_BRIDGE_ZERO,      IDC_BRIDGE_SPAN,
                               IDC_BRIDGE_VOLT_ZERO,   IDC_BRIDGE_VOLT_SPAN, IDC_BRIDGE_VOLT_TRIM};

inline constexpr WORD kFirstTimeout = 100;
inline constexpr WORD kTimeout = 200;
inline constexpr UINT kPeriod = 200;
inline constexpr int kExcitationMax = 10000; // millivolts

// m_nCommand values.
enum : int {
    kPoll = 0,
    kConfigure = 1,
    kAfterOneShot = 2,
    kWriteBank0 = 30, // + bank: each bank of two outputs is written on its own
    kSelectChannel = 32,
    kSetExcitation = 34,
};

bool IsWrite(int command)
{
    return command == kWriteBank0 || command == kWriteBank0 + 1 || command == kSelectChannel ||
           command == kSetExcitation;
}

// m_nLastCommand beyond the one-shot commands themselves.
enum : int { kLastNone = 0, kConfigurationWrite = 100 };
// m_nPollPhase: whose reply the next poll tick reads.
enum : int { kPhaseValue = 0, kPhaseExcitation = 1, kPhaseDio = 2, kPhases = 3 };

inline constexpr const char* kChooseChannel = "Number must be CH0 or CH1!";

// The @AADI data: five characters, the DO digit at 2 and the DI character at 4.
inline constexpr size_t kDioDataLength = 5;
inline constexpr int kDoAt = 2;
inline constexpr int kDiAt = 4;

} // namespace

BEGIN_MESSAGE_MAP(CM6387, CModuleDlg)
ON_BN_CLICKED(IDC_AI_SETTING, OnSetting)
ON_BN_CLICKED(IDC_BRIDGE_SELECT, OnSelect)
ON_BN_CLICKED(IDC_BRIDGE_CANCEL, OnCancel)
ON_NOTIFY(NM_RELEASEDCAPTURE, IDC_BRIDGE_SLIDER, OnSliderReleased)
END_MESSAGE_MAP()

CM6387::CM6387(CWnd*) : CModuleDlg(kDescriptor) {}

void CM6387::DoDataExchange(CDataExchange* pDX)
{
    DDX_Text(pDX, IDC_BRIDGE_MODEL, m_strModuleName);
}

BOOL CM6387::OnInitDialog()
{
    CDialog::OnInitDialog();
    InitFromBlock();
    for (int id : kCalibrationIds) GetDlgItem(id)->EnableWindow(FALSE);
    SetDlgItemText(IDC_BRIDGE_TRIM, "00"); // nothing reads it

    FillSettingsBoxes();

    m_doLamps.Attach(*this, {kBridgeDoLampIds[0], kBridgeDoLampIds[1], kBridgeDoLampIds[2],
                             kBridgeDoLampIds[3]});
    m_diLamps.Attach(*this, {kBridgeDiLampIds[0], kBridgeDiLampIds[1], kBridgeDiLampIds[2],
                             kBridgeDiLampIds[3]});
    for (int k = 1; k < m_diLamps.Count(); ++k) m_diLamps.ShowIcon(k, IDI_LAMP_UNUSED);
    Combo(IDC_BRIDGE_NUMBER)->SelectString(-1, "CH0");
    m_bDoState.fill(0);
    auto* slider = GetDlgItemAs<CSliderCtrl>(IDC_BRIDGE_SLIDER);
    slider->SetRange(0, kExcitationMax);
    slider->SetPos(0);
    slider->SetTicFreq(1000); // a tick a volt, under the 0, 5 and 10V labels

    m_strPollRequest = Request('#', "");
    // An unknown baud code opens at no rate, which the link refuses: "Open Com Error!".
    OpenAsciiLine(BlockBaudRate());
    SendAscii(m_strPollRequest, kFirstTimeout);
    m_nCommand = kPoll;
    SetTimer(m_nTimerId, kPeriod);
    return TRUE;
}

void CM6387::ShowChannelValue(const std::string& text)
{
    SetDlgItemText(IDC_BRIDGE_INPUT, text);
}

void CM6387::ShowDioLamps(char di, char doDigit)
{
    // A character that is no hex digit (or that a short reply does not reach) reads as 0.
    m_nReportedOutputs = HexDigitOrZero(doDigit);
    ShowOutputLamps();
    m_diLamps.Show(0, (static_cast<unsigned char>(di) & 1) != 0);
}

void CM6387::ShowOutputLamps()
{
    for (int i = 0; i < m_doLamps.Count(); ++i) {
        auto k = static_cast<size_t>(i);
        if (!WritePending(kWriteBank0 + i / 2)) m_bDoState[k] = (m_nReportedOutputs >> i) & 1;
        m_doLamps.Show(i, m_bDoState[k] != 0);
    }
}

std::string CM6387::FormatVolts(int n)
{
    // Two integer digits after any sign: 5000 gives 05.000, -500 gives -00.500.
    return Format(n >= 0 ? "%06.3f" : "%07.3f", n / 1000.0);
}

void CM6387::OnSetting()
{
    UpdateData(TRUE);
    std::optional<SSettingsChoice> choice = ReadSettings({});
    if (!choice) return;
    // Framed as the module checks it now, before a checksum switch takes effect; the polls stay
    // on the address the module answers to until the configuration goes out.
    QueueConfiguration(kConfigure, SettingOfChoice(*choice, false));
}

void CM6387::OnSelect()
{
    // The row the box shows, also when the operator typed its text.
    int row = Combo(IDC_BRIDGE_NUMBER)->FindStringExact(-1, GetDlgItemText(IDC_BRIDGE_NUMBER));
    if (row < 0) {
        MessageBox(kChooseChannel, "", MB_ICONEXCLAMATION);
        return;
    }
    m_nSelectedChannel = row;
    QueueWrite(kSelectChannel);
}

void CM6387::OnLButtonDown(UINT nFlags, CPoint point)
{
    // Only a lamp writes the outputs: a click elsewhere must not switch anything.
    int lamp = m_doLamps.HitTest(point);
    if (lamp < 0) return;
    if (nFlags == MK_LBUTTON) m_bDoState[static_cast<size_t>(lamp)] ^= 1;
    // The clicked lamp's bank, from the state as last read and toggled.
    QueueWrite(kWriteBank0 + lamp / 2);
}

void CM6387::OnHScroll(UINT nSBCode, UINT nPos, CWnd* pScrollBar)
{
    CModuleDlg::OnHScroll(nSBCode, nPos, pScrollBar);
    auto* slider = GetDlgItemAs<CSliderCtrl>(IDC_BRIDGE_SLIDER);
    if (pScrollBar != slider) return;
    m_strExcitation = FormatVolts(slider->GetPos());
    SetDlgItemText(IDC_BRIDGE_EXCITATION, "+" + m_strExcitation);
    m_bSliderActive = true;
}

void CM6387::OnSliderReleased()
{
    // Taken now: a failure shown before the request goes out must not become the set-point.
    m_strSetPoint = GetDlgItemText(IDC_BRIDGE_EXCITATION);
    m_bSliderActive = false;
    QueueWrite(kSetExcitation);
}

void CM6387::ShowFailure()
{
    ShowChannelValue("ERROR!");
    // A pending excitation write keeps the operator's set-point in the field.
    if (!WritePending(kSetExcitation)) SetDlgItemText(IDC_BRIDGE_EXCITATION, "ERROR!");
}

bool CM6387::SettleLastWrite()
{
    if (!IsWrite(m_nLastCommand)) return false;
    // Refusals are not reported: the lamps and the excitation field show the module's state
    // again, the lamps at once and the field with its next read.
    if (SettleWrite(m_nLastCommand, AsciiWriteAnswer(Acknowledged())) == EWriteAnswer::Refused)
        ShowOutputLamps();
    m_nLastCommand = kLastNone;
    return true;
}

void CM6387::EndConfiguration()
{
    // A late reply to a poll confirms nothing.
    ConfigurationAnswered(SettingAcknowledged());
    ShowConfigurationResult(SettingAcknowledged());
    OnCancel();
}

std::string CM6387::RestartPoll(bool checksum)
{
    m_nPollPhase = kPhaseValue;
    return Request('#', "", checksum);
}

std::optional<std::string> CM6387::PollReplyData() const
{
    std::optional<std::string> data = ReplyData(m_nPollPhase == kPhaseValue ? '>' : '!');
    if (!data) return std::nullopt;
    switch (m_nPollPhase) {
    case kPhaseValue:
        // The input in whichever form the module writes it; the excitation in volts.
        if (!IsReading(*data, EReadingForm::AsData)) return std::nullopt;
        break;
    case kPhaseExcitation:
        if (!IsReading(*data, EReadingForm::Decimal)) return std::nullopt;
        break;
    default:
        if (data->size() != kDioDataLength) return std::nullopt;
        break;
    }
    return data;
}

std::string CM6387::PollCycle()
{
    // PollStep has taken a reply that does not fit as a miss.
    std::string data = PollReplyData().value_or("");
    std::string request;
    switch (m_nPollPhase) {
    case kPhaseValue:
        if (m_bAfterMiss)
            m_strHeldValue = data;
        else
            ShowChannelValue(data);
        request = Request('$', "6");
        break;
    case kPhaseExcitation:
        if (m_bAfterMiss) {
            // A reply in step: the reading before it was no late one.
            ShowChannelValue(m_strHeldValue);
            m_bAfterMiss = false;
        }
        if (!m_bSliderActive && !WritePending(kSetExcitation))
            SetDlgItemText(IDC_BRIDGE_EXCITATION, data);
        request = Request('@', "DI");
        break;
    default:
        ShowDioLamps(CharAt(data, kDiAt), CharAt(data, kDoAt));
        request = m_strPollRequest;
        break;
    }
    m_nPollPhase = (m_nPollPhase + 1) % kPhases;
    return request;
}

std::string CM6387::NextRequest()
{
    switch (m_nCommand) {
    case kConfigure:
        m_nLastCommand = kConfigurationWrite;
        m_nCommand = kAfterOneShot;
        return ConfigurationGoesOut();
    case kAfterOneShot:
        m_nCommand = kPoll;
        return RestartPoll(m_bChecksum);
    case kWriteBank0:
    case kWriteBank0 + 1: {
        // The bank digit, then the states of its two lamps as the operator asked.
        int bank = m_nCommand - kWriteBank0;
        auto first = static_cast<size_t>(bank * 2);
        m_strDoValue = Format("%d%d", bank, m_bDoState[first] + 2 * m_bDoState[first + 1]);
        m_nLastCommand = m_nCommand;
        return Request('@', "DO" + m_strDoValue);
    }
    case kSelectChannel:
        m_nLastCommand = kSelectChannel;
        return Request('$', "3" + ValueToHexChar(m_nSelectedChannel));
    case kSetExcitation:
        m_nLastCommand = kSetExcitation;
        return Request('$', "7" + m_strSetPoint);
    default:
        return PollCycle();
    }
}

void CM6387::PollStep()
{
    TakeReply();
    // The configuration's answer, whatever came: not heard, it is reported, not sent again.
    if (m_nLastCommand == kConfigurationWrite) {
        EndConfiguration();
        return;
    }
    // A write the module did not hear, or a poll's reply of another shape than its request gets
    // (silence, noise), is a missed exchange.
    bool missed = IsWrite(m_nLastCommand)
                      ? AsciiWriteAnswer(Acknowledged()) == EWriteAnswer::NotHeard
                      : !PollReplyData();
    if (missed) {
        // A write whose reply did not come was not heard: it goes out again once the module has
        // answered a poll, and the cycle starts again meanwhile.
        if (SettleLastWrite()) m_nCommand = kPoll;
        // The reading that comes right after a miss may be the late reply of the request before
        // it: it is shown once the reply after it fits too.
        m_bAfterMiss = true;
        ShowFailure();
        SendAscii(RestartPoll(m_bOpenChecksum), kTimeout);
        return;
    }
    if (SettleLastWrite()) m_nCommand = kAfterOneShot;
    // A request the operator queued meanwhile goes out before the #AA a reply reader chose.
    ApplyQueuedCommand();
    SendAscii(NextRequest(), kTimeout);
}
