#include "M6380.h"

#include "AsciiCommand.h"
#include "Clock.h"
#include "ModelName.h"
#include "ModuleDialogs.h"
#include "Strings.h"
#include "rtd/RtdIds.h"
#include "rtd/RtdRanges.h"
#include "rtd/RtdReadings.h"

REGISTER_MODULE_DIALOG(CM6380)

namespace {

inline constexpr WORD kTimeout = 100;
inline constexpr DWORD kPause = 150;
inline constexpr UINT kPeriod = 400;
inline constexpr int kChannels = 3;
inline constexpr const char* kOneDigitAddress = "地址为1位数的前面需加0,例如05";

const SModuleDescriptor kDescriptor = {
    .nTemplate = IDD_M6380,
    .pBlock = &CMainFrame::m_strThreeChannelRtdParams,
    .pChanged = &CMainFrame::m_bThreeChannelRtdChanged,
    .eLink = ELinkKind::Ascii,
    .boxes = {.nAddress = IDC_RTD_ADDRESS,
              .nBaud = IDC_RTD_BAUD,
              .nChecksum = IDC_RTD_CHECKSUM,
              .nRange = IDC_RTD3_RANGE,
              .nFormat = IDC_RTD_FORMAT,
              .bHexAddress = true},
    .pRangeCodes = &RtdRanges3Ch().codes,
    .pFormatCodes = &FormatDigitTable,
    .bSetsDialogClosed = true,
};

// "00" is an address like any other, but not with a new baud rate.
const SAddressZeroRule kAddressZero = {.bRefuse = false};

// The three calibration steps: the request, the status of the reply, and whether the step pauses
// before polling resumes.
struct SCalibrationStep {
    int nCommand;
    char cLead;
    const char* pszBody;
    const char* pszDone;
    const char* pszFailed;
    bool bPause;
};
const SCalibrationStep kCalibrationSteps[] = {
    {CM6380::kCalibrationEnable, '~', "E1", "校准准备完成.", "校准没准备好!", false},
    {CM6380::kZeroCalibration, '$', "1", "零点校准完毕.", "零点校准失败!", true},
    {CM6380::kSpanCalibration, '$', "0", "满量程校准完毕.", "满量程校准失败!", true},
};

const SCalibrationStep* StepOf(int command)
{
    for (const SCalibrationStep& step : kCalibrationSteps)
        if (step.nCommand == command) return &step;
    return nullptr;
}

} // namespace

BEGIN_MESSAGE_MAP(CM6380, CModuleDlg)
ON_BN_CLICKED(IDC_RTD_SETTING, OnSetting)
ON_BN_CLICKED(IDC_RTD_CALIBRATION, OnCalibrationEnable)
ON_BN_CLICKED(IDC_RTD_ZERO_CALIBRATION, OnZeroCalibration)
ON_BN_CLICKED(IDC_RTD_SPAN_CALIBRATION, OnSpanCalibration)
END_MESSAGE_MAP()

CM6380::CM6380(CWnd*) : CModuleDlg(kDescriptor) {}

void CM6380::DoDataExchange(CDataExchange* pDX)
{
    DDX_Text(pDX, IDC_RTD_MODEL, m_strModelText);
}

BOOL CM6380::OnInitDialog()
{
    CDialog::OnInitDialog();
    m_strModelText = Block()[kModule];
    InitFromBlock();
    GetDlgItem(IDC_RTD_ZERO_CALIBRATION)->EnableWindow(FALSE);
    GetDlgItem(IDC_RTD_SPAN_CALIBRATION)->EnableWindow(FALSE);
    FillSettingsBoxes();
    if (ModelHasAny(m_strModuleName, {"6380", "4380"})) {
        for (int ch = 1; ch < kChannels; ++ch) {
            GetDlgItem(kRtdInputIds[ch])->EnableWindow(FALSE);
            GetDlgItem(kRtdOhmIds[ch])->EnableWindow(FALSE);
        }
    }
    // A baud code none of the rows stands for: the rate the module answers at in its INIT state.
    OpenAsciiLine(BlockBaudRate(9600));
    SendAscii(Request('#', ""), kTimeout);
    SetTimer(m_nTimerId, kPeriod);
    return TRUE;
}

void CM6380::ShowChannelValue(int channel, int kind, const std::string& text)
{
    if (channel < 0 || channel >= kChannels) return;
    SetDlgItemText(RtdReadingId(channel, kind), text);
}

// One value per channel, cut from the reply as the other RTD dialogs cut theirs.
void CM6380::ShowReadings()
{
    std::vector<std::string> fields =
        RtdReadingFields(ReplyData('>'), kChannels, m_nReadPhase, Entry(kFormat));
    for (int ch = 0; ch < kChannels; ++ch)
        ShowChannelValue(ch, m_nReadPhase, fields[static_cast<size_t>(ch)]);
}

void CM6380::OnCalibrationEnable()
{
    QueueCommand(kCalibrationEnable);
}

void CM6380::OnZeroCalibration()
{
    QueueCommand(kZeroCalibration);
}

void CM6380::OnSpanCalibration()
{
    QueueCommand(kSpanCalibration);
}

// Nothing of a refused setting stays: the address, the checksum and the row change only when the
// request goes out.
void CM6380::OnSetting()
{
    if (GetDlgItemText(IDC_RTD_ADDRESS).size() == 1) {
        MessageBox(kOneDigitAddress);
        return;
    }
    std::optional<SSettingsChoice> choice = ReadSettings(kAddressZero);
    if (!choice) return;
    if (RefuseNewBaudAtZero(*choice)) return;
    // Framed as the module speaks now; the new checksum holds once the request has gone out.
    QueueConfiguration(kConfigure, SettingOfFields(*choice, ConfigurationFieldsOf(*choice)));
}

std::string CM6380::SendConfiguration()
{
    m_nLastCommand = kLastConfigure;
    m_nCommand = kResume;
    return ConfigurationGoesOut();
}

void CM6380::ReadCalibrationReply(int last)
{
    const SCalibrationStep* step = StepOf(last);
    if (!step) return;
    m_nLastCommand = kLastNone;
    m_nCommand = kResume;
    bool ack = Acknowledged();
    SetDlgItemText(IDC_RTD_STATUS, ack ? step->pszDone : step->pszFailed);
    if (last == kCalibrationEnable) {
        GetDlgItem(IDC_RTD_ZERO_CALIBRATION)->EnableWindow(ack ? TRUE : FALSE);
        GetDlgItem(IDC_RTD_SPAN_CALIBRATION)->EnableWindow(ack ? TRUE : FALSE);
    }
    if (step->bPause) Sleep(kPause);
}

// The configuration's reply shows nothing: the dialog closes on the tick after it went out. A
// refusal leaves the row with the module's values.
bool CM6380::ReadLastCommand()
{
    if (m_nLastCommand == kLastConfigure) {
        ConfigurationAnswered(SettingAcknowledged());
        OnCancel();
        return false;
    }
    ReadCalibrationReply(m_nLastCommand);
    return true;
}

std::string CM6380::NextRequest()
{
    switch (m_nCommand) {
    case kConfigure:
        return SendConfiguration();
    case kResume:
        Sleep(kPause);
        m_nReadPhase = kInputRead;
        m_nCommand = kPoll;
        return Request('#', "");
    case kPoll:
        ShowReadings();
        m_nReadPhase = m_nReadPhase == kInputRead ? kResistanceRead : kInputRead;
        return m_nReadPhase == kInputRead ? Request('#', "") : Request('$', "A");
    default:
        break;
    }
    const SCalibrationStep* step = StepOf(m_nCommand);
    if (!step) return "";
    m_nLastCommand = m_nCommand;
    return Request(step->cLead, step->pszBody);
}

void CM6380::PollStep()
{
    TakeReply();
    if (!ReadLastCommand()) return;
    ApplyQueuedCommand();
    SendAscii(NextRequest(), kTimeout);
}
