#include "M63508.h"

#include "AsciiCommand.h"
#include "CounterPowerIds.h"
#include "ModelName.h"
#include "ModuleDialogs.h"
#include "PowerMeterReadings.h"
#include "Strings.h"

#include <algorithm>

REGISTER_MODULE_DIALOG(CM63508)

namespace {

const SModuleDescriptor kDescriptor = {
    .nTemplate = IDD_M63508,
    .pBlock = &CMainFrame::m_strPowerMeterParams,
    .pChanged = &CMainFrame::m_bPowerMeterChanged,
    .eLink = ELinkKind::Ascii,
    .boxes = {.nAddress = IDC_PM_ADDRESS, .nBaud = IDC_PM_BAUD, .nChecksum = IDC_PM_CHECKSUM},
    .bSetsDialogClosed = true,
};

inline constexpr WORD kFirstTimeout = 100;
inline constexpr WORD kPollTimeout = 200;
inline constexpr UINT kPollPeriod = 150;
inline constexpr int kLastGroup = 5;
inline constexpr int kDioStep = kLastGroup + 2; // the reply a 6539 shows
inline constexpr size_t kRatioDigits = 4;
inline constexpr size_t kDioDigits = 2;

inline constexpr const char* kSwitchOk = "Setting Modbus/RTU OK!";
inline constexpr const char* kDioError = "DIO Error!";
inline constexpr const char* kReadError = "Read Error!";
inline constexpr const char* kRatioRefused = "The ratio must be a number from 0 to 65535!";
inline constexpr const char* kDescription = "智能电量模块";

} // namespace

BEGIN_MESSAGE_MAP(CM63508, CPowerMeterDlg)
ON_BN_CLICKED(IDC_PM_SETTING, OnSetting)
ON_BN_CLICKED(IDC_PM_READ_PT, OnReadPt)
ON_BN_CLICKED(IDC_PM_SET_PT, OnSetPt)
ON_BN_CLICKED(IDC_PM_READ_CT, OnReadCt)
ON_BN_CLICKED(IDC_PM_SET_CT, OnSetCt)
END_MESSAGE_MAP()

CM63508::CM63508(CWnd*)
    : CPowerMeterDlg(kDescriptor, kPollTimeout, {{kCmdConfigure, kLastConfigure}})
{
}

void CM63508::DoDataExchange(CDataExchange* pDX)
{
    DDX_Text(pDX, IDC_PM_MODEL, m_strModuleName);
    DDX_Check(pDX, IDC_PM_PROTOCOL_SWITCH, m_bModbusRtu);
}

BOOL CM63508::OnInitDialog()
{
    CDialog::OnInitDialog();
    InitFromBlock();
    FillSettingsBoxes();
    DisableCalibrationSteps();
    CheckRadioButton(IDC_PM_COMMAND_ASCII, IDC_PM_COMMAND_MODBUS, IDC_PM_COMMAND_ASCII);
    InitLamps(Is6539());

    // A line that does not open leaves the dialog polling into silence until it is closed.
    OpenAsciiLine(BlockBaudRate());
    SendAscii(GroupRequest(0), kFirstTimeout);
    SetTimer(m_nTimerId, kPollPeriod);
    return TRUE;
}

// Replies to the operator's requests; the cycle starts again at group 0 after each.
void CM63508::ReadLastReply()
{
    switch (m_nLastCommand) {
    case kLastReadPt:
        ReadRatio(IDC_PM_PT_READ);
        break;
    case kLastReadCt:
        ReadRatio(IDC_PM_CT_READ);
        break;
    default:
        return;
    }
    m_nLastCommand = kLastCycle;
    m_nCommand = kCmdRestartCycle;
}

bool CM63508::SettleLastWrite()
{
    // Each write's reply mark, its command, and the status a write not made shows (none for the
    // ratios).
    struct SWrite {
        int nLast;
        int nCommand;
        const char* pszNotMade;
    };
    static const SWrite kWrites[] = {{kLastOutputs, kCmdOutputs, kDioError},
                                     {kLastSetPt, kCmdSetPt, nullptr},
                                     {kLastSetCt, kCmdSetCt, nullptr}};
    const SWrite* write = std::ranges::find(kWrites, m_nLastCommand, &SWrite::nLast);
    if (write == std::end(kWrites)) return false;
    EWriteAnswer answer = SettleWrite(write->nCommand, AsciiWriteAnswer(Acknowledged()));
    if (write->pszNotMade && answer != EWriteAnswer::Heard)
        SetStatus(write->pszNotMade);
    else if (write->pszNotMade && GetDlgItemText(IDC_PM_STATUS) == write->pszNotMade)
        SetStatus(""); // heard after all: what an attempt not heard said is taken back
    // Refused, the lamps show the meter's outputs again.
    if (answer == EWriteAnswer::Refused) ShowReportedOutputs();
    return true;
}

void CM63508::ReadRatio(int nBox)
{
    std::optional<std::string> ratio;
    if (std::optional<std::string> data = FittingData('!', kRatioDigits))
        ratio = RatioFromData(*data);
    if (ratio)
        SetDlgItemText(nBox, *ratio);
    else
        SetStatus(kReadError);
}

std::string CM63508::RunOtherCommand()
{
    switch (m_nCommand) {
    case kCmdOutputs:
        ShowOutputLamps();
        m_nLastCommand = kLastOutputs;
        return Request('@', std::string("O") + OutputDigit(m_bDoState));
    // The ratio requests carry no checksum, whatever the module's setting.
    case kCmdReadPt:
        m_nLastCommand = kLastReadPt;
        return Request('$', "3", false);
    case kCmdSetPt:
        m_nLastCommand = kLastSetPt;
        return Request('$', "5" + m_strPtDigits, false);
    case kCmdReadCt:
        m_nLastCommand = kLastReadCt;
        return Request('$', "4", false);
    case kCmdSetCt:
        m_nLastCommand = kLastSetCt;
        return Request('$', "6" + m_strCtDigits, false);
    default:
        return NextCycleRequest();
    }
}

bool CM63508::CycleReplyFits() const
{
    if (m_nPollStep == kDioStep) return ReplyFits('!', kDioDigits);
    if (m_nPollStep > kLastGroup) return true; // the first digital I/O read: not shown
    std::optional<std::string> data = ReplyData('>');
    return data && IsGroupData(m_nPollStep, *data);
}

// One step of the reading cycle: the reply goes to its group, the next group is asked for. Names
// with 539 read the digital I/O after group 5; only a 6539 shows the second reply.
std::string CM63508::NextCycleRequest()
{
    int step = m_nPollStep;
    // The tick took the reply only when it fits the step.
    if (std::optional<std::string> data = ReplyData(step == kDioStep ? '!' : '>')) {
        if (step <= kLastGroup) ShowReadingGroup(std::to_string(step), *data);
        if (step == kDioStep) ShowDioState(*data);
    }
    bool more = step < kLastGroup || (step == kLastGroup && ModelHas(m_strModuleName, "539")) ||
                (step == kLastGroup + 1 && Is6539());
    if (!more) {
        m_nPollStep = 0;
        return GroupRequest(0);
    }
    m_nPollStep = step + 1;
    return step < kLastGroup ? GroupRequest(step + 1) : Request('@', "S");
}

void CM63508::ReadSettingReply()
{
    // Silence means success only for the switch, after which the meter no longer speaks ASCII;
    // noise or a spoilt reply is no answer.
    bool switched = NothingCame() && m_bSwitchSent;
    bool accepted = SettingAcknowledged();
    ConfigurationAnswered(switched || accepted);
    if (switched)
        TickMessageBox(kSwitchOk, "Setting", MB_ICONEXCLAMATION);
    else
        ShowConfigurationResult(accepted);
    OnCancel();
}

void CM63508::OnLButtonDown(UINT nFlags, CPoint point)
{
    int lamp = m_outputLamps.HitTest(point);
    if (lamp >= 0 && nFlags == MK_LBUTTON) {
        auto i = static_cast<size_t>(lamp);
        m_bDoState[i] = m_bDoState[i] ? 0 : 1;
        QueueWrite(kCmdOutputs);
    }
    CPowerMeterDlg::OnLButtonDown(nFlags, point);
}

bool CM63508::TakeRatio(int nBox, std::string& digits)
{
    std::optional<std::string> typed = RatioDigits(GetDlgItemText(nBox));
    if (!typed) {
        MessageBox(kRatioRefused, "", MB_ICONEXCLAMATION);
        return false;
    }
    digits = *typed;
    return true;
}

void CM63508::OnSetPt()
{
    if (TakeRatio(IDC_PM_PT_SET, m_strPtDigits)) QueueWrite(kCmdSetPt);
}

void CM63508::OnSetCt()
{
    if (TakeRatio(IDC_PM_CT_SET, m_strCtDigits)) QueueWrite(kCmdSetCt);
}

void CM63508::OnSetting()
{
    UpdateData(TRUE);
    std::optional<SSettingsChoice> choice = ReadSettings({});
    if (!choice) return;
    // Type "01" keeps the ASCII command set, "02" switches to Modbus RTU; the format is "0".
    SConfigurationFields fields = ConfigurationFieldsOf(*choice);
    fields.strType = m_bModbusRtu ? "02" : "01";
    fields.strFormat = "0";
    SConfiguration configuration = SettingOfFields(*choice, fields);
    m_bSwitchSent = m_bModbusRtu;
    // A typed checksum text that is neither row keeps the module's setting, and the row says which.
    configuration.rowTexts[kChecksumText] = choice->bChecksumOn ? "Enable" : "Disable";
    configuration.rowTexts[kDescriptionText] = kDescription;
    // The Script entry stays "01" also for the switch to Modbus RTU.
    configuration.params[kScript] = "01";
    configuration.params[kFormat] = "0";
    QueueConfiguration(kCmdConfigure, std::move(configuration));
}

void CM63508::SetStatus(const std::string& text)
{
    SetDlgItemText(IDC_PM_STATUS, text);
}
