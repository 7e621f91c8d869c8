#include "M6384Modbus.h"

#include "AiChannelTypes.h"
#include "AiModels.h"
#include "AnalogInputIds.h"
#include "AsciiCommand.h"
#include "ModuleDialogs.h"
#include "Strings.h"

REGISTER_MODULE_DIALOG(CM6384Modbus)

namespace {

inline constexpr int kCrcRow = 2;

const SModuleDescriptor kDescriptor = {
    .nTemplate = IDD_M6384_MODBUS,
    .pBlock = &CMainFrame::m_strAnalogInputParams,
    .pChanged = &CMainFrame::m_bAnalogInputChanged,
    .eLink = ELinkKind::Rtu,
    .boxes = {IDC_AI_ADDRESS, IDC_AI_BAUD, IDC_AI_CHECKSUM, IDC_AI_RANGE, IDC_AI_FORMAT,
              IDC_AI_PROTOCOL},
    .pRangeCodes = &kAiRangeCodes,
    .pFormatCodes = &FormatDigitTable,
    .bSetsDialogClosed = true,
};
inline constexpr int kModbusRow = 1;
inline constexpr WORD kTimeout = 100;

// Either write is taken when echoed, or unanswered where it moves the module; both write back.
constexpr SRtuSettingForm kSetting;

const int kAlarmGroup[] = {IDC_AI_ALARMH_LABEL, IDC_AI_ALARML_LABEL, IDC_AI_HIGH_LABEL,
                           IDC_AI_LOW_LABEL,    IDC_AI_HIGH_LIMIT,   IDC_AI_LOW_LIMIT,
                           IDC_AI_ALARM_VALUE,  IDC_AI_ALARM_TYPE,   IDC_AI_ALARM_CLEAR};

} // namespace

BEGIN_MESSAGE_MAP(CM6384Modbus, CModuleDlg)
ON_BN_CLICKED(IDC_AI_SETTING, OnSetting)
ON_CHANNEL_BOXES(kAiCheckIds, OnToggleChannel)
END_MESSAGE_MAP()

CM6384Modbus::CM6384Modbus(CWnd*) : CModuleDlg(kDescriptor) {}

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
    m_strModelText = Block()[kModule];
    InitFromBlock();
    m_bChannelHidden.fill(false);
    FillSettingsBoxes();
    // The module's checksum is its CRC here: the box shows that and cannot be changed.
    auto* checksumBox = GetDlgItemAs<CComboBox>(IDC_AI_CHECKSUM);
    checksumBox->SetCurSel(kCrcRow);
    checksumBox->EnableWindow(FALSE);
    GetDlgItemAs<CComboBox>(IDC_AI_PROTOCOL)->SetCurSel(kModbusRow);

    if (IsSingleChannelAi(m_strModuleName)) {
        for (int k = 1; k < 8; ++k) {
            GetDlgItem(kAiValueIds[k])->EnableWindow(FALSE);
            GetDlgItem(kAiCheckIds[k])->EnableWindow(FALSE);
        }
        GetDlgItemAs<CComboBox>(IDC_AI_ALARM_MODE)->SetCurSel(0);
    }
    if (IsEightChannelAi(m_strModuleName)) {
        for (int id : kAlarmGroup) GetDlgItem(id)->EnableWindow(FALSE);
        for (int id :
             {IDC_AI_RANGE, IDC_AI_FORMAT, IDC_AI_BAUD, IDC_AI_CHECKSUM, IDC_AI_ALARM_MODE}) {
            GetDlgItem(id)->EnableWindow(FALSE);
        }
    }
    if (HasFixedAiRange(m_strModuleName)) {
        GetDlgItem(IDC_AI_RANGE)->EnableWindow(FALSE);
    }

    if (!OpenRtuLine(BlockBaudRate(), m_pMainFrame->m_nParity)) return TRUE;
    SendRtu(Poll(), kTimeout);
    SetTimer(m_nTimerId, 200);
    return TRUE;
}

void CM6384Modbus::ToggleChannel(int k)
{
    auto i = static_cast<size_t>(k);
    m_mask.Toggle(k);
    m_bChannelHidden[i] = !m_bChannelEnabled[i];
    BuildEnableMask();
}

void CM6384Modbus::BuildEnableMask()
{
    // The marks of the write are those of the click.
    m_strEnableMask = m_mask.Send();
    QueueWrite(kCmdWriteMask);
}

void CM6384Modbus::SettleMaskWrite()
{
    EWriteAnswer answer = SettleWrite(kCmdWriteMask, RtuWriteAnswer(m_strMaskRequest));
    if (answer == EWriteAnswer::Heard) {
        m_mask.Heard();
    } else if (answer == EWriteAnswer::Refused && !WritePending(kCmdWriteMask)) {
        m_mask.Refused();
        for (size_t k = 0; k < m_bChannelEnabled.size(); ++k)
            m_bChannelHidden[k] = !m_bChannelEnabled[k];
        UpdateData(FALSE);
    }
}

void CM6384Modbus::ShowChannelValue(int channel, int, const std::string& text)
{
    SetDlgItemText(kAiValueIds[channel], text);
}

void CM6384Modbus::ShowReadings()
{
    std::string data = ModbusDataText();
    // The single-channel models show their one register in CH0.
    int channels = IsEightChannelAi(m_strModuleName) ? 8 : 1;
    for (int k = 0; k < channels; ++k) {
        std::string text =
            Format("%02x", static_cast<unsigned>(StrToLong(Mid(data, 4 * k, 4), 16)));
        ShowChannelValue(k, 0, m_bChannelHidden[static_cast<size_t>(k)] ? "" : text);
    }
}

void CM6384Modbus::OnSetting()
{
    UpdateData(TRUE);
    std::optional<SSettingsChoice> choice = ReadSettings({});
    // Address 0 is refused only together with a new baud rate.
    if (!choice || RefuseNewBaudAtZero(*choice)) return;
    // The polls keep going to the address the module answers to until the write has gone out.
    QueueConfiguration(kCmdConfigure,
                       RtuSettingOf(kSetting, m_strOldAddress, !choice->bModbus, choice->strAddress,
                                    RowTextsOf(*choice), ParamsOf(*choice)));
}

void CM6384Modbus::PollStep()
{
    TakeReply();
    if (m_nLastCommand == kLastConfigure) {
        EndRtuSetting(kSetting, m_strConfigRequest);
        return;
    }
    std::string request = Poll();
    // The mask write's own reply settles it, whatever came; a poll's, when the module gave its
    // data or its refusal.
    bool answered = true;
    if (m_nLastCommand == kLastMask) {
        SettleMaskWrite();
        m_nLastCommand = kLastNone;
        m_nCommand = kCmdBackToPoll;
    } else {
        answered = RtuDataCame() || RtuRefused();
    }
    if (answered) {
        ApplyQueuedCommand();
        switch (m_nCommand) {
        case kCmdPoll:
            // An exception carries no value: the fields keep theirs, as under silence.
            if (RtuDataCame()) ShowReadings();
            break;
        case kCmdWriteMask:
            m_strMaskRequest = m_strAddress + "0600DC00" + m_strEnableMask;
            request = m_strMaskRequest;
            m_nLastCommand = kLastMask;
            break;
        case kCmdBackToPoll:
            m_nCommand = kCmdPoll;
            break;
        case kCmdConfigure:
            request = ConfigurationGoesOut();
            m_nLastCommand = kLastConfigure;
            break;
        default:
            break;
        }
    } else if (QueuedCommand() == kCmdConfigure) {
        // A Setting made after a missed reply still goes out on the next tick.
        ApplyQueuedCommand();
        request = ConfigurationGoesOut();
        m_nLastCommand = kLastConfigure;
    }
    SendRtu(request, kTimeout);
}
