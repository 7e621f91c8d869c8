#include "M6530rtu.h"

#include "Clock.h"
#include "HexText.h"
#include "ModelName.h"
#include "ModuleDialogs.h"
#include "PowerMeterIds.h"
#include "PowerMeterReadings.h"
#include "Strings.h"

REGISTER_MODULE_DIALOG(CM6530rtu)

namespace {

inline constexpr WORD kTimeout = 100;
inline constexpr UINT kPollPeriod = 200;
inline constexpr DWORD kSwitchPause = 100;
inline constexpr int kCrcRow = 2;
inline constexpr int kLastGroup = 5;
inline constexpr int kAddressWrite = 100;
inline constexpr int kProtocolSwitch = 88;

inline constexpr const char* kSwitchOk = "Setting ASCII OK!";

} // namespace

BEGIN_MESSAGE_MAP(CM6530rtu, CPowerMeterDlg)
ON_BN_CLICKED(IDC_PM_SETTING, OnSetting)
END_MESSAGE_MAP()

CM6530rtu::CM6530rtu(CWnd*) : CPowerMeterDlg(232, ELinkKind::Rtu) {}

void CM6530rtu::DoDataExchange(CDataExchange* pDX)
{
    DDX_Text(pDX, IDC_PM_MODEL, m_strModuleName);
    DDX_Check(pDX, IDC_PM_PROTOCOL_SWITCH, m_bAscii);
}

BOOL CM6530rtu::OnInitDialog()
{
    CDialog::OnInitDialog();
    // A Modbus RTU row fills the block with Module, Address and the Baudrate text.
    InitFromBlock(IDC_PM_ADDRESS, 1, 0);
    DisableCalibrationSteps();
    CheckRadioButton(IDC_PM_COMMAND_ASCII, IDC_PM_COMMAND_MODBUS, IDC_PM_COMMAND_MODBUS);
    GetDlgItemAs<CComboBox>(IDC_PM_CHECKSUM)->SetCurSel(kCrcRow);
    // No register of the meter is known to hold its digital I/O state over Modbus RTU, and no
    // request to set its outputs: the lamps would only show guesses.
    InitLamps(false);
    int baudRow = GetDlgItemAs<CComboBox>(IDC_PM_BAUD)->FindStringExact(-1, Block()[2]);
    DWORD baud = SelectBaudRow(baudRow);

    bool open = OpenRtuLine(baud, m_pMainFrame->m_nParity);
    m_strOldAddress = m_strAddress;
    if (!open) return TRUE;
    SendRtu(GroupRequest(0), kTimeout);
    SetTimer(m_nTimerId, kPollPeriod);
    return TRUE;
}

std::string CM6530rtu::GroupRequest(int group) const
{
    return m_strAddress + kPmGroups[static_cast<size_t>(group)].pszRtu;
}

void CM6530rtu::PollStep()
{
    TakeReply();
    if (m_nLastCommand == kAddressWrite || m_nLastCommand == kProtocolSwitch) {
        ReadSettingReply();
        return;
    }
    std::string request;
    if (m_nLastResult != 1) {
        // The cycle starts again; a pending request waits for an answered tick.
        request = GroupRequest(0);
        m_nPollStep = 0;
    } else {
        ApplyQueuedCommand();
        request = RunCommand();
    }
    SendRtu(request, kTimeout);
}

// A meter that takes a write answers with its echo; an exception reply refuses it.
bool CM6530rtu::WriteEchoed() const
{
    if (m_nLastResult != 1) return false;
    std::string echo = Remove(BytesToHexText(HexTextToBytes(m_strConfigRequest)), ' ');
    std::string reply = Remove(m_strReply, ' ');
    return Left(reply, static_cast<int>(echo.size())) == echo;
}

void CM6530rtu::ReadSettingReply()
{
    if (m_nLastCommand == kAddressWrite) {
        ShowConfigurationResult(WriteEchoed());
        OnCancel();
        return;
    }
    // The switch: a meter that has gone over to ASCII may no longer answer in Modbus RTU.
    m_nLastCommand = 0;
    if (m_nLastResult != 1 || WriteEchoed()) {
        Sleep(kSwitchPause);
        TickMessageBox(kSwitchOk, "Setting", MB_ICONEXCLAMATION);
        return; // the dialog stays open without polling
    }
    ShowConfigurationResult(false);
    m_nPollStep = 0;
    m_nCommand = 0;
    SendRtu(GroupRequest(0), kTimeout);
    SetTimer(m_nTimerId, kPollPeriod);
}

std::string CM6530rtu::RunCommand()
{
    switch (m_nCommand) {
    case 1:
        m_nLastCommand = kAddressWrite;
        m_nCommand = 2;
        return m_strConfigRequest;
    case kProtocolSwitch:
        m_nLastCommand = kProtocolSwitch;
        m_nCommand = 2;
        return m_strConfigRequest;
    case 2:
        m_nCommand = 0;
        m_nPollStep = 0;
        return GroupRequest(0);
    default:
        return NextCycleRequest();
    }
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
    m_pMainFrame = GetMainFrame();
    std::optional<int> typed = ReadTypedAddress(IDC_PM_ADDRESS);
    if (!typed) return;
    UpdateData(TRUE);
    std::string newAddress = Format("%02X", *typed);
    if (m_bAscii) {
        // The switch carries no address: the meter keeps the one it answers to.
        newAddress = m_strOldAddress;
        m_strConfigRequest = m_strOldAddress + "06080D0001";
        QueueCommand(kProtocolSwitch);
    } else {
        m_strConfigRequest = m_strOldAddress + "06081200" + newAddress;
        QueueCommand(1);
    }
    m_strAddress = newAddress;
    WriteBack({m_strModuleName, newAddress, GetDlgItemText(IDC_PM_BAUD),
               GetDlgItemText(IDC_PM_CHECKSUM), ""},
              {newAddress, "", "", "", ""}, &CMainFrame::m_bPowerMeterChanged);
}
