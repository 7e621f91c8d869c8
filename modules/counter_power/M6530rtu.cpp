#include "M6530rtu.h"

#include "Clock.h"
#include "CounterPowerIds.h"
#include "HexText.h"
#include "ModelName.h"
#include "ModuleDialogs.h"
#include "Strings.h"

REGISTER_MODULE_DIALOG(CM6530rtu)

namespace {

// A Modbus RTU row fills the block with Module, Address and the Baudrate text.
const SModuleDescriptor kDescriptor = {
    .nTemplate = IDD_M6530RTU,
    .pBlock = &CMainFrame::m_strPowerMeterParams,
    .pChanged = &CMainFrame::m_bPowerMeterChanged,
    .eLink = ELinkKind::Rtu,
    .boxes = {.nAddress = IDC_PM_ADDRESS},
    .layout = {.address = kBrate, .brate = kCheck, .module = kAddress},
    .bSetsDialogClosed = true,
};

inline constexpr WORD kTimeout = 100;
inline constexpr UINT kPollPeriod = 200;
inline constexpr DWORD kSwitchPause = 100;
inline constexpr int kCrcRow = 2;
inline constexpr int kLastGroup = 5;

// The new address is taken only when echoed; the switch carries no address, so the meter keeps
// the one it answers to, and so does the row.
constexpr SRtuSettingForm kSetting = {.eAddressVerdict = ERtuVerdict::Echo,
                                      .pszSwitchOk = "Setting ASCII OK!"};

} // namespace

BEGIN_MESSAGE_MAP(CM6530rtu, CPowerMeterDlg)
ON_BN_CLICKED(IDC_PM_SETTING, OnSetting)
END_MESSAGE_MAP()

CM6530rtu::CM6530rtu(CWnd*)
    : CPowerMeterDlg(kDescriptor, kTimeout,
                     {{kCmdAddress, kLastAddress}, {kCmdSwitch, kLastSwitch}})
{
}

void CM6530rtu::DoDataExchange(CDataExchange* pDX)
{
    DDX_Text(pDX, IDC_PM_MODEL, m_strModuleName);
    DDX_Check(pDX, IDC_PM_PROTOCOL_SWITCH, m_bAscii);
}

BOOL CM6530rtu::OnInitDialog()
{
    CDialog::OnInitDialog();
    InitFromBlock();
    DisableCalibrationSteps();
    CheckRadioButton(IDC_PM_COMMAND_ASCII, IDC_PM_COMMAND_MODBUS, IDC_PM_COMMAND_MODBUS);
    GetDlgItemAs<CComboBox>(IDC_PM_CHECKSUM)->SetCurSel(kCrcRow);
    // Nothing carries a new baud rate or checksum to the meter over Modbus RTU: the boxes show the
    // line's and cannot be changed, so the row is never rewritten with a rate the meter lacks.
    GetDlgItem(IDC_PM_BAUD)->EnableWindow(FALSE);
    GetDlgItem(IDC_PM_CHECKSUM)->EnableWindow(FALSE);
    // No register of the meter is known to hold its digital I/O state over Modbus RTU, and no
    // request to set its outputs: the lamps would only show guesses.
    InitLamps(false);
    // The baud entry is the rate as text; one that is none of the rows selects none.
    auto* baudBox = GetDlgItemAs<CComboBox>(IDC_PM_BAUD);
    int baudRow = baudBox->FindStringExact(-1, Entry(kBrate));
    baudBox->SetCurSel(baudRow);
    DWORD baud = BaudRateOfRow(baudRow);

    bool open = OpenRtuLine(baud, m_pMainFrame->m_nParity);
    m_strOldAddress = m_strAddress;
    if (!open) return TRUE;
    SendRtu(GroupRequest(0), kTimeout);
    SetTimer(m_nTimerId, kPollPeriod);
    return TRUE;
}

void CM6530rtu::ReadSettingReply()
{
    if (m_nLastCommand == kLastAddress) {
        EndRtuSetting(kSetting, m_strConfigRequest);
        return;
    }
    // The switch: a meter that has gone over to ASCII may no longer answer in Modbus RTU. Its
    // verdict comes from this exchange only.
    m_nLastCommand = kLastCycle;
    bool accepted = RtuSettingAccepted(kSetting, m_strConfigRequest);
    ConfigurationAnswered(accepted);
    if (accepted) {
        Sleep(kSwitchPause);
        TickMessageBox(kSetting.pszSwitchOk, "Setting", MB_ICONEXCLAMATION);
        return; // the dialog stays open without polling
    }
    BoxBehindPolling(kConfigurationError, "Setting", MB_ICONEXCLAMATION);
    SendPoll(RestartCycle());
}

bool CM6530rtu::CycleReplyFits() const
{
    return m_nPollStep > kLastGroup || RtuDataCame();
}

// One step of the reading cycle. Names with 539 read three registers from 0x0000 after group 5,
// and a 6539 three more from 0x0300; neither reply is shown.
std::string CM6530rtu::NextCycleRequest()
{
    int step = m_nPollStep;
    if (step <= kLastGroup) ShowReadingGroup(std::to_string(step), ModbusDataText());
    if (step == kLastGroup && ModelHas(m_strModuleName, "539")) {
        m_nPollStep = step + 1;
        return m_strAddress + "0300000003";
    }
    if (step == kLastGroup + 1 && Is6539()) {
        m_nPollStep = step + 1;
        return m_strAddress + "0303000003";
    }
    if (step >= kLastGroup) {
        m_nPollStep = 0;
        return GroupRequest(0);
    }
    m_nPollStep = step + 1;
    return GroupRequest(step + 1);
}

void CM6530rtu::OnSetting()
{
    UpdateData(TRUE);
    std::optional<SSettingsChoice> choice = ReadSettings({});
    if (!choice) return;
    bool toAscii = m_bAscii;
    QueueConfiguration(toAscii ? kCmdSwitch : kCmdAddress,
                       RtuSettingOf(kSetting, m_strOldAddress, toAscii, choice->strAddress,
                                    {m_strModuleName, choice->strAddress, SelectedText(IDC_PM_BAUD),
                                     SelectedText(IDC_PM_CHECKSUM), ""},
                                    {choice->strAddress, "", "", "", ""}));
}
