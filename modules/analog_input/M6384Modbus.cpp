#include "M6384Modbus.h"

#include "AnalogInputIds.h"
#include "AsciiCommand.h"
#include "HexText.h"
#include "ModelName.h"
#include "ModuleDialogs.h"
#include "Strings.h"

REGISTER_MODULE_DIALOG(CM6384Modbus)

namespace {

const CodeTable kRangeCodes = {"08", "09", "0A", "0B", "0C", "0D"};
const CodeTable kFormatDigits = {"0", "1", "2", "3"};
inline constexpr int kCrcRow = 2;
inline constexpr int kModbusRow = 1;
inline constexpr WORD kTimeout = 100;

const int kAlarmGroup[] = {IDC_AI_ALARMH_LABEL, IDC_AI_ALARML_LABEL, IDC_AI_HIGH_LABEL,
                           IDC_AI_LOW_LABEL,    IDC_AI_HIGH_LIMIT,   IDC_AI_LOW_LIMIT,
                           IDC_AI_ALARM_VALUE,  IDC_AI_ALARM_TYPE,   IDC_AI_ALARM_CLEAR};

} // namespace

BEGIN_MESSAGE_MAP(CM6384Modbus, CModuleDlg)
ON_BN_CLICKED(IDC_AI_SETTING, OnSetting)
ON_CHANNEL_BOXES(kAiCheckIds, OnToggleChannel)
END_MESSAGE_MAP()

CM6384Modbus::CM6384Modbus(CWnd*)
    : CModuleDlg(227, &CMainFrame::m_strAnalogInputParams, ELinkKind::Rtu)
{
}

void CM6384Modbus::DoDataExchange(CDataExchange* pDX)
{
    DDX_Text(pDX, IDC_AI_MODEL, m_strModelText);
    for (int k = 0; k < 8; ++k)
        DDX_Check(pDX, kAiCheckIds[k], m_bChannelEnabled[static_cast<size_t>(k)]);
}

std::string CM6384Modbus::Poll() const
{
    return m_strAddress + "0300000008";
}

BOOL CM6384Modbus::OnInitDialog()
{
    CDialog::OnInitDialog();
    auto* checksumBox = GetDlgItemAs<CComboBox>(IDC_AI_CHECKSUM);
    checksumBox->SetCurSel(kCrcRow);
    checksumBox->EnableWindow(FALSE);
    m_strModelText = Block()[kModule];
    InitFromBlock(IDC_AI_ADDRESS);
    m_bChannelHidden.fill(0);

    const ModuleParamBlock& block = Block();
    int baudRow = RowOfCode(BaudCodeTable, block[kBrate]);
    GetDlgItemAs<CComboBox>(IDC_AI_BAUD)->SetCurSel(baudRow);
    GetDlgItemAs<CComboBox>(IDC_AI_PROTOCOL)->SetCurSel(kModbusRow);
    GetDlgItemAs<CComboBox>(IDC_AI_RANGE)->SetCurSel(RowOfCode(kRangeCodes, block[kScript]));
    GetDlgItemAs<CComboBox>(IDC_AI_FORMAT)->SetCurSel(RowOfCode(kFormatDigits, block[kFormat]));

    if (ModelHasAny(m_strModuleName, {"4385", "6385", "4389", "6389"})) {
        for (int k = 1; k < 8; ++k) {
            GetDlgItem(kAiValueIds[k])->EnableWindow(FALSE);
            GetDlgItem(kAiCheckIds[k])->EnableWindow(FALSE);
        }
        GetDlgItemAs<CComboBox>(IDC_AI_ALARM_MODE)->SetCurSel(0);
    }
    if (ModelHasAny(m_strModuleName, {"4384", "6384"})) {
        for (int id : kAlarmGroup) GetDlgItem(id)->EnableWindow(FALSE);
        for (int id :
             {IDC_AI_RANGE, IDC_AI_FORMAT, IDC_AI_BAUD, IDC_AI_CHECKSUM, IDC_AI_ALARM_MODE}) {
            GetDlgItem(id)->EnableWindow(FALSE);
        }
    }
    if (ModelHasAny(m_strModuleName, {"4384C", "6384C", "4384c", "6384c"})) {
        GetDlgItem(IDC_AI_RANGE)->EnableWindow(FALSE);
    }

    if (!OpenRtuLine(BaudRateOfRow(baudRow), m_pMainFrame->m_nParity)) return TRUE;
    SendRtu(Poll(), kTimeout);
    SetTimer(m_nTimerId, 200);
    return TRUE;
}

void CM6384Modbus::ToggleChannel(int k)
{
    auto i = static_cast<size_t>(k);
    m_bChannelEnabled[i] = m_bChannelEnabled[i] == 1 ? 0 : 1;
    m_bChannelHidden[i] = m_bChannelEnabled[i] ? 0 : 1;
    BuildEnableMask();
}

void CM6384Modbus::BuildEnableMask()
{
    m_strEnableMask = ChannelMaskText(m_bChannelEnabled);
    QueueCommand(20);
}

void CM6384Modbus::ShowChannelValue(int channel, int, const std::string& text)
{
    SetDlgItemText(kAiValueIds[channel], text);
}

void CM6384Modbus::ShowReadings()
{
    std::string data = ModbusDataText();
    // The single-channel models show their one register in CH0.
    int channels = ModelHasAny(m_strModuleName, {"4384", "6384"}) ? 8 : 1;
    for (int k = 0; k < channels; ++k) {
        std::string text =
            Format("%02x", static_cast<unsigned>(StrToLong(Mid(data, 4 * k, 4), 16)));
        ShowChannelValue(k, 0, m_bChannelHidden[static_cast<size_t>(k)] ? "" : text);
    }
}

void CM6384Modbus::OnSetting()
{
    m_pMainFrame = GetMainFrame();
    std::optional<int> typed = ReadTypedAddress(IDC_AI_ADDRESS);
    if (!typed) return;
    UpdateData(TRUE);
    const ModuleParamBlock& block = Block();
    std::string newAddress = Format("%02X", *typed);
    std::string baudCode =
        CodeOfRow(BaudCodeTable, GetDlgItemAs<CComboBox>(IDC_AI_BAUD)->GetCurSel());
    if (baudCode != block[kBrate] && *typed == 0) {
        RefuseAddressZero();
        return;
    }
    int rangeRow = GetDlgItemAs<CComboBox>(IDC_AI_RANGE)->GetCurSel();
    int formatRow = GetDlgItemAs<CComboBox>(IDC_AI_FORMAT)->GetCurSel();
    // A list without a chosen row keeps the module's current code.
    std::string rangeCode = rangeRow >= 0 ? CodeOfRow(kRangeCodes, rangeRow) : block[kScript];
    std::string formatDigit = formatRow >= 0
                                  ? Format("%d", formatRow)
                                  : ValueToHexChar(HexDigitOrZero(CharAt(block[kFormat], 0)));
    std::string checkDigit = ValueToHexChar(HexDigitOrZero(CharAt(block[kCheck], 0)));

    bool toModbus = GetDlgItemAs<CComboBox>(IDC_AI_PROTOCOL)->GetCurSel() == kModbusRow;
    m_strConfigRequest = m_strOldAddress + (toModbus ? "06081200" + newAddress : "06080D0001");
    WriteBack({m_strModuleName, newAddress, GetDlgItemText(IDC_AI_BAUD),
               GetDlgItemText(IDC_AI_CHECKSUM), SelectedText(IDC_AI_RANGE)},
              {newAddress, baudCode, checkDigit, rangeCode, formatDigit},
              &CMainFrame::m_bAnalogInputChanged);
    // The polls keep going to the address the module answers to until the write has gone out.
    QueueCommand(1);
}

void CM6384Modbus::ReadConfigurationReply()
{
    // A module that takes the write answers with an echo of it; one that has already moved to
    // its new address or protocol may not answer at all.
    std::string echo = Remove(BytesToHexText(HexTextToBytes(m_strConfigRequest)), ' ');
    bool accepted =
        m_nLastResult != 1 || Left(Remove(m_strReply, ' '), static_cast<int>(echo.size())) == echo;
    ShowConfigurationResult(accepted);
    OnCancel();
}

void CM6384Modbus::PollStep()
{
    TakeReply();
    if (m_nLastCommand == 100) {
        ReadConfigurationReply();
        return;
    }
    std::string request = Poll();
    if (m_nLastResult == 1) {
        if (m_nLastCommand == 20) {
            m_nLastCommand = 0;
            m_nCommand = 2;
        }
        ApplyQueuedCommand();
        switch (m_nCommand) {
        case 0:
            ShowReadings();
            break;
        case 20:
            request = m_strAddress + "0600DC00" + m_strEnableMask;
            m_nLastCommand = 20;
            break;
        case 2:
            m_nCommand = 0;
            break;
        case 1:
            request = m_strConfigRequest;
            m_nLastCommand = 100;
            break;
        default:
            break;
        }
    } else if (m_nCommand == 1) {
        // A Setting made after a missed reply still goes out on the next tick.
        ApplyQueuedCommand();
        request = m_strConfigRequest;
        m_nLastCommand = 100;
    }
    SendRtu(request, kTimeout);
}
