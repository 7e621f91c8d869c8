#include "PerChannelModbus.h"

#include "AsciiCommand.h"
#include "Strings.h"

#include <iterator>

namespace {

inline constexpr WORD kTimeout = 100;
inline constexpr UINT kPeriod = 200;
// The follow-CH0 writes: CH5 first, then CH0 to CH7.
inline constexpr int kFollowChannels[] = {5, 0, 1, 2, 3, 4, 5, 6, 7};
inline constexpr int kFollowWrites = static_cast<int>(std::size(kFollowChannels));

// The general settings are only shown.
SModuleDescriptor DescriptorOf(const SPerChannelModbusSetup& setup)
{
    return {
        .nTemplate = setup.nTemplate,
        .pBlock = setup.pBlock,
        .eLink = ELinkKind::Rtu,
        .boxes = {IDC_PC_ADDRESS, IDC_PC_BAUD, IDC_PC_CHECKSUM, 0, IDC_PC_FORMAT, 0},
        .pFormatCodes = &FormatDigitTable,
        .eMask = setup.eMask,
    };
}

} // namespace

BEGIN_MESSAGE_MAP(CPerChannelModbusDlg, CPerChannelTypeDlg)
ON_BN_CLICKED(IDC_PC_REFRESH, OnRefresh)
ON_BN_CLICKED(IDC_PC_FOLLOW_CH0, OnFollowCh0)
ON_BN_CLICKED(IDC_PC_CANCEL, OnCancel)
END_MESSAGE_MAP()

CPerChannelModbusDlg::CPerChannelModbusDlg(const SPerChannelModbusSetup& setup)
    : CPerChannelTypeDlg(DescriptorOf(setup), setup.rows, setup.typeCodes), m_scales(setup.scales)
{
}

std::string CPerChannelModbusDlg::Poll() const
{
    return Format("03000000%02X", Channels());
}

BOOL CPerChannelModbusDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    GetDlgItem(IDC_PC_RESPOND)->EnableWindow(FALSE);
    InitFromBlock();
    bool addressZero = IsAddressZero();
    GetDlgItem(IDC_PC_BAUD)->EnableWindow(addressZero);
    GetDlgItem(IDC_PC_CHECKSUM)->EnableWindow(addressZero);
    if (!addressZero) GetDlgItem(IDC_PC_FORMAT)->EnableWindow(FALSE);

    FillSettingsBoxes();

    if (!OpenRtuLine(BlockBaudRate(), m_pMainFrame->m_nParity)) return TRUE;
    SendRtu(m_strAddress + "0300DC0001", kTimeout);
    BeginStartup();
    m_nCommand = kCmdStart;
    m_nLastCommand = kMaskRead;
    SetTimer(m_nTimerId, kPeriod);
    return TRUE;
}

void CPerChannelModbusDlg::PollStep()
{
    TakeReply();
    m_strReplyData = m_nLastResult == 1 ? ModbusDataText() : "ERROR";
    CheckReply();
    // The start-up reads go out before anything the operator asks for; the operator's requests go
    // out before the next write of "follow CH0".
    if (!ApplyQueuedCommand() && SequenceMayContinue(m_follow)) NextFollowWrite();
    SendRtu(m_strAddress + NextRequest(), kTimeout);
}

void CPerChannelModbusDlg::CheckReply()
{
    switch (m_nLastCommand) {
    case kMaskRead:
        if (m_nLastResult == 1)
            ParseEnableMask(CharAt(m_strReplyData, 3), CharAt(m_strReplyData, 2));
        m_nLastCommand = kNothing;
        m_nCommand = kCmdReadTypes;
        return;
    case kTypesRead:
        ReadTypes();
        EndStartup();
        break;
    case kMaskWritten: // write replies are not examined
    case kTypeWritten:
        break;
    default:
        return;
    }
    m_nLastCommand = kNothing;
    m_nCommand = kCmdBackToPoll;
}

void CPerChannelModbusDlg::ReadTypes()
{
    if (static_cast<int>(m_strReplyData.size()) < 4 * Channels() - 2) return;
    // The low byte of each register.
    for (int k = 0; k < Channels(); ++k) SelectTypeCode(k, Mid(m_strReplyData, 4 * k + 2, 2));
}

void CPerChannelModbusDlg::OnFollowCh0()
{
    int row = TypeRow(0);
    if (row < 0) return; // CH0 shows no type to give the others
    for (int k = 1; k < Channels(); ++k) GetDlgItemAs<CComboBox>(IDC_PC_TYPE0 + k)->SetCurSel(row);
    m_follow.Start();
}

void CPerChannelModbusDlg::NextFollowWrite()
{
    // Each with the type its list shows when the write goes out.
    PrepareTypeWrite(kFollowChannels[m_follow.nStep]);
    m_nCommand = kCmdWriteType;
    if (++m_follow.nStep == kFollowWrites) m_follow.Stop();
}

std::string CPerChannelModbusDlg::NextRequest()
{
    switch (m_nCommand) {
    case kCmdReadTypes:
        m_nLastCommand = kTypesRead;
        return Format("0300C800%02X", Channels());
    case kCmdWriteMask:
        // The boxes as they stand when the write goes out.
        m_strEnableMask = ChannelMaskText(m_bChannelEnabled);
        m_nLastCommand = kMaskWritten;
        return "0600DC00" + m_strEnableMask;
    case kCmdWriteType:
        m_nLastCommand = kTypeWritten;
        return "0600C" + ValueToHexChar(0x8 + m_nTypeChannel) + "00" + m_strTypeCode;
    case kCmdBackToPoll:
        // The reply in hand answers a read of the types or a write: it holds no readings.
        m_nCommand = kCmdPoll;
        return Poll();
    default:
        ShowReadings();
        return Poll();
    }
}

std::optional<float> CPerChannelModbusDlg::RawToEngineering(int raw, int row) const
{
    return ::RawToEngineering(raw, row, m_scales);
}

void CPerChannelModbusDlg::ShowReadings()
{
    bool full = static_cast<int>(m_strReplyData.size()) >= 4 * Channels() - 2;
    auto* list = GetDlgItemAs<CListBox>(IDC_PC_LIST);
    list->ResetContent();
    for (int k = 0; k < Channels(); ++k) {
        std::string rawText;
        std::string valueText;
        if (full) {
            int raw = static_cast<int>(StrToLong(Mid(m_strReplyData, 4 * k, 4), 16));
            rawText = Format("%d", raw);
            valueText = EngineeringText(RawToEngineering(raw, TypeRow(k)));
        }
        list->AddString(Format("%d      CH%d         ", 40001 + k, k) + rawText);
        ShowChannelValue(k, 0, m_bChannelEnabled[static_cast<size_t>(k)] == 1 ? valueText : "");
    }
}

void CPerChannelModbusDlg::OnRefresh()
{
    QueueCommand(kCmdBackToPoll);
}
