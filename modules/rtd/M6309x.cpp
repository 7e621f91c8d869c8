#include "M6309x.h"

#include "AsciiCommand.h"
#include "Clock.h"
#include "ModelName.h"
#include "ModuleDialogs.h"
#include "Strings.h"
#include "rtd/RtdIds.h"
#include "rtd/RtdRanges.h"
#include "rtd/RtdReadings.h"

REGISTER_MODULE_DIALOG(CM6309x)

namespace {

inline constexpr WORD kFirstTimeout = 100;
inline constexpr WORD kPollTimeout = 200;
inline constexpr DWORD kPause = 150;
inline constexpr UINT kPeriod = 250;
inline constexpr const char* kModbusOk = "Setting Modbus/RTU OK!";

// The range box and its codes follow the model (UseRangeBox).
const SModuleDescriptor kDescriptor = {
    .nTemplate = IDD_M6309X,
    .pBlock = &CMainFrame::m_strRtdInputParams,
    .pChanged = &CMainFrame::m_bRtdInputChanged,
    .eLink = ELinkKind::Ascii,
    .boxes = {IDC_RTD_ADDRESS, IDC_RTD_BAUD, IDC_RTD_CHECKSUM, 0, IDC_RTD_FORMAT, IDC_RTD_PROTOCOL},
    .pFormatCodes = &FormatDigitTable,
    .bSetsDialogClosed = true,
};

// The typed text "0" closes the dialog; "00" is an address.
const SAddressZeroRule kAddressZero = {
    .bRefuse = true,
    .pszText = "地址不能为0!",
    .pszCaption = "",
    .bCloseAfter = true,
    .nType = MB_ICONEXCLAMATION,
    .bTextZeroOnly = true,
};

// Channel count by a number the name contains.
struct SChannelRule {
    const char* pszNumber;
    int nChannels;
};
const SChannelRule kChannelRules[] = {
    {"6308", 1}, {"4308", 1}, {"6300", 3}, {"4300", 3}, {"6309", 4},
    {"4309", 4}, {"6307", 6}, {"4307", 6}, {"4382", 6},
};

int ChannelsOf(const std::string& name)
{
    for (const SChannelRule& rule : kChannelRules)
        if (ModelHas(name, rule.pszNumber)) return rule.nChannels;
    return 0;
}

} // namespace

BEGIN_MESSAGE_MAP(CM6309x, CModuleDlg)
ON_BN_CLICKED(IDC_RTD_SETTING, OnSetting)
ON_BN_CLICKED(IDC_RTD_CANCEL, OnCancel)
END_MESSAGE_MAP()

CM6309x::CM6309x(CWnd*) : CModuleDlg(kDescriptor) {}

void CM6309x::DoDataExchange(CDataExchange* pDX)
{
    DDX_Text(pDX, IDC_RTD_MODEL, m_strModelText);
}

const SCodedList* CM6309x::Ranges() const
{
    if (ModelIsAny(m_strModuleName, {"6308", "4308", "6300", "4300", "6307", "4307"}))
        return &RtdRanges13();
    if (ModelIsAny(m_strModuleName, {"6308A", "4308A", "6300A", "4300A", "6309", "4309"}))
        return &RtdRanges6();
    return nullptr;
}

BOOL CM6309x::OnInitDialog()
{
    CDialog::OnInitDialog();
    m_strModelText = Block()[kModule];
    GetDlgItemAs<CComboBox>(IDC_RTD_PROTOCOL)->SetCurSel(0);
    InitFromBlock();
    GetDlgItemAs<CComboBox>(IDC_RTD_CHANNEL)->SelectString(-1, "0");
    SetDlgItemText(IDC_RTD_ZERO_VALUE, "+000.00");
    SetDlgItemText(IDC_RTD_SPAN_VALUE, "0.0000");

    const SCodedList* ranges = Ranges();
    if (ranges) {
        bool six = ranges == &RtdRanges6();
        GetDlgItem(IDC_RTD_RANGE13)->ShowWindow(six ? SW_HIDE : SW_SHOW);
        GetDlgItem(IDC_RTD_RANGE6)->ShowWindow(six ? SW_SHOW : SW_HIDE);
        UseRangeBox(six ? IDC_RTD_RANGE6 : IDC_RTD_RANGE13, &ranges->codes);
    }
    FillSettingsBoxes(true);
    // A name in neither range group leaves the shown list without a row; the operator may choose.
    if (!ranges) UseRangeBox(IDC_RTD_RANGE13, &RtdRanges13().codes);
    // The INIT state answers at 9600; so does a module whose baud code is none of the table's.
    DWORD baud = IsAddressZero() ? 9600 : BlockBaudRate(9600);

    m_nChannels = ChannelsOf(m_strModuleName);
    for (int ch = std::max(m_nChannels, 1); ch < 6; ++ch) {
        GetDlgItem(kRtdInputIds[ch])->EnableWindow(FALSE);
        GetDlgItem(kRtdOhmIds[ch])->EnableWindow(FALSE);
    }

    if (!OpenAsciiLine(baud)) return TRUE;
    SendAscii(Request('#', ""), kFirstTimeout);
    SetTimer(m_nTimerId, kPeriod);
    return TRUE;
}

void CM6309x::ShowChannelValue(int channel, int kind, const std::string& text)
{
    if (channel < 0 || channel >= 6) return;
    SetDlgItemText(RtdReadingId(channel, kind), text);
}

void CM6309x::ShowReadings()
{
    std::vector<std::string> fields =
        RtdReadingFields(ReplyData('>'), m_nChannels, m_nPollPhase, Entry(kFormat));
    for (int ch = 0; ch < m_nChannels; ++ch)
        ShowChannelValue(ch, m_nPollPhase, fields[static_cast<size_t>(ch)]);
}

void CM6309x::PollStep()
{
    TakeReply();
    if (m_nLastCommand == kLastSetting) {
        // A module that took the switch answers no more in ASCII: nothing at all coming back is
        // its answer, noise is none. A late reply to a poll confirms nothing.
        ESettingOutcome outcome = SettingOutcome(SettingAcknowledged(), ConfigurationRefused(),
                                                 m_bSwitchSent && NothingCame());
        ConfigurationAnswered(outcome != ESettingOutcome::Refused);
        ShowSettingOutcome(outcome, kModbusOk);
        OnCancel();
        return;
    }
    std::string request;
    ApplyQueuedCommand();
    if (m_nCommand == kCmdSetting) {
        request = ConfigurationGoesOut();
        m_nLastCommand = kLastSetting;
    } else {
        ShowReadings();
        m_nPollPhase = m_nPollPhase == kInputRead ? kResistanceRead : kInputRead;
        request = m_nPollPhase == kResistanceRead ? Request('$', "A") : Request('#', "");
    }
    SendAscii(request, kPollTimeout);
    Sleep(kPause);
}

void CM6309x::OnSetting()
{
    UpdateData(TRUE);
    std::optional<SSettingsChoice> choice =
        ReadSettings(kAddressZero, EModbusRow::SwitchesByDollar);
    if (!choice) return;
    m_bSwitchSent = choice->bModbus;
    QueueConfiguration(kCmdSetting, SettingOfChoice(*choice, m_bSwitchSent));
}
