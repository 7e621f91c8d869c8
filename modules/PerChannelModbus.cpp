#include "PerChannelModbus.h"

#include "AsciiCommand.h"
#include "Clock.h"
#include "HexText.h"
#include "Strings.h"

#include <algorithm>
#include <iterator>

namespace {

inline constexpr WORD kTimeout = 100;
// The follow-CH0 writes: CH5 first, then CH0 to CH7.
inline constexpr int kFollowChannels[] = {5, 0, 1, 2, 3, 4, 5, 6, 7};
inline constexpr int kFollowWrites = static_cast<int>(std::size(kFollowChannels));

} // namespace

CPerChannelModbusDlg::CPerChannelModbusDlg(const SPerChannelModbusSetup& setup)
    : CPerChannelTypeDlg(setup.descriptor, setup.rows, setup.typeCodes), m_setup(setup)
{
    if (setup.bAllEnabledAtStart) m_bChannelEnabled.fill(1);
    TakeMarksAsModuleMask();
    m_nMaskStatus = setup.nMaskStatusField ? setup.nMaskStatusField : setup.ids.nRespond;
}

std::string CPerChannelModbusDlg::PollRequest() const
{
    return m_strAddress + Format("03000000%02X", Channels());
}

std::string CPerChannelModbusDlg::StartRequest(EStartRead read) const
{
    switch (read) {
    case EStartRead::Mask:
        return "0300DC0001";
    case EStartRead::Types:
        return Format("0300C800%02X", Channels());
    case EStartRead::BurnOut:
        return Format("0100C800%02X", Channels());
    default:
        return "0300C80001";
    }
}

void CPerChannelModbusDlg::EnableSettingsBoxes()
{
    const SSettingsBoxes& boxes = Descriptor().boxes;
    bool addressZero = IsAddressZero();
    GetDlgItem(boxes.nBaud)->EnableWindow(addressZero);
    GetDlgItem(boxes.nChecksum)->EnableWindow(addressZero);
    if (!addressZero) GetDlgItem(boxes.nFormat)->EnableWindow(FALSE);
}

BOOL CPerChannelModbusDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    if (CWnd* respond = GetDlgItem(m_setup.ids.nRespond)) respond->EnableWindow(FALSE);
    InitFromBlock();
    FillSettingsBoxes();
    // These dialogs speak Modbus RTU: a Protocol list shows it.
    if (auto* protocol = GetDlgItemAs<CComboBox>(m_setup.ids.nProtocol)) protocol->SetCurSel(1);
    EnableSettingsBoxes();

    if (!OpenRtuLine(BlockBaudRate(), m_pMainFrame->m_nParity)) return TRUE;
    if (m_setup.startReads.empty()) {
        // The register read, whatever a dialog's polling ticks send.
        m_nCommand = kCmdPoll;
        Exchange(CPerChannelModbusDlg::PollRequest());
    } else {
        if (std::ranges::find(m_setup.startReads, EStartRead::Mask) != m_setup.startReads.end())
            AwaitMask();
        BeginStartup();
        m_nCommand = kCmdStartRead;
        Exchange(NextRequest());
    }
    SetTimer(m_nTimerId, m_setup.nPeriod);
    return TRUE;
}

bool CPerChannelModbusDlg::Exchange(const std::string& request)
{
    m_strLastRequest = request;
    return SendRtu(request, kTimeout);
}

void CPerChannelModbusDlg::PollStep()
{
    TakeReply();
    // An exception answers a read but brings none of its data: the read was missed, as under
    // silence. To a write it is the module's refusal.
    bool came = RtuDataCame();
    m_strReplyData = came ? ModbusDataText() : "ERROR";
    bool missed = NothingCame() || (IsRtuRead(HexTextToBytes(m_strLastRequest)) && !came);
    // A write is settled by its own reply whatever came: not heard, it waits for an answered poll.
    if (m_nLastCommand == kTypeWritten || m_nLastCommand == kMaskWritten) {
        if (m_nLastCommand == kTypeWritten) {
            SettleTypeWrite(WriteAnswer(m_strTypeRequest));
        } else {
            bool heard = SettleMaskWrite(WriteAnswer(m_strMaskRequest)) == EWriteAnswer::Heard;
            if (m_setup.nMaskStatusField)
                SetDlgItemText(m_setup.nMaskStatusField, heard ? "Ready!" : "Error!");
        }
        m_nLastCommand = kNothing;
        m_nCommand = kCmdBackToPoll;
    }
    if (missed && m_setup.bPollAfterSilence) {
        // What was asked for and the reply awaited wait for an answered exchange; the register
        // read goes out meanwhile.
        Exchange(CPerChannelModbusDlg::PollRequest());
        return;
    }
    if (ReplyEndsTick()) return;
    // The start-up reads go out before anything the operator asks for; the operator's requests go
    // out before the next write of "follow CH0".
    if (!ApplyQueuedCommand() && SequenceMayContinue(m_follow)) NextFollowWrite();
    if (Exchange(NextRequest()) && m_setup.dwSleepAfterAnswer) Sleep(m_setup.dwSleepAfterAnswer);
}

// True when the tick ends here: the reply was judged and nothing goes out.
bool CPerChannelModbusDlg::ReplyEndsTick()
{
    int last = m_nLastCommand;
    m_nLastCommand = kNothing;
    switch (last) {
    case kStartReadDone:
        ReadStart(m_setup.startReads[m_nStartRead]);
        if (++m_nStartRead < m_setup.startReads.size()) {
            m_nCommand = kCmdStartRead;
            return false;
        }
        EndStartup();
        break;
    case kStartReadAgain:
        ReadStart(m_eReadAgain);
        break;
    case kConfigured:
        // The module may also answer only the polls that follow the write, at its new address.
        EndRtuSetting(m_setup.setting, m_strConfigRequest, m_strLastRequest != m_strConfigRequest);
        // The tick that judges the write sends nothing; behind the box the next ticks poll.
        if (m_setup.setting.bBoxBehindPolling) m_nCommand = kCmdPoll;
        return true;
    default:
        return false;
    }
    m_nCommand = kCmdBackToPoll;
    return false;
}

void CPerChannelModbusDlg::ReadStart(EStartRead read)
{
    switch (read) {
    case EStartRead::Mask:
        ReadMask();
        break;
    case EStartRead::Types:
        ReadTypes();
        break;
    case EStartRead::BurnOut:
        if (RtuDataCame() && !m_strReplyData.empty())
            m_byBurnOutMask = static_cast<int>(StrToLong(Left(m_strReplyData, 2), 16));
        break;
    case EStartRead::Range: {
        // The low byte of the register; a code of no row leaves the list as it is.
        int row = RowOfCode(m_setup.typeCodes, Mid(m_strReplyData, 2, 2));
        if (row >= 0) GetDlgItemAs<CComboBox>(m_setup.nRangeBox)->SetCurSel(row);
        break;
    }
    }
}

void CPerChannelModbusDlg::ReadMask()
{
    std::optional<std::array<bool, 8>> bits;
    if (RtuDataCame() && m_strReplyData.size() == 4 &&
        std::ranges::all_of(m_strReplyData, IsUpperHexDigit))
        bits = ChannelMaskBits(m_strReplyData[3], m_strReplyData[2]);
    ReadMaskAnswer(bits, RtuRefused());
}

bool CPerChannelModbusDlg::Complete() const
{
    int need = m_setup.nMinData ? m_setup.nMinData : 4 * Channels() - 2;
    return static_cast<int>(m_strReplyData.size()) >= need;
}

void CPerChannelModbusDlg::ReadTypes()
{
    bool types = RtuDataCame() && Complete();
    m_bTypesMissing = !types && !RtuRefused();
    if (!types) return;
    // The low byte of each register; a list whose write is pending keeps the operator's choice.
    for (int k = 0; k < Channels(); ++k) ShowModuleType(k, Mid(m_strReplyData, 4 * k + 2, 2));
}

std::optional<EStartRead> CPerChannelModbusDlg::LostStartRead() const
{
    if (MaskMissing()) return EStartRead::Mask;
    if (m_bTypesMissing) return EStartRead::Types;
    return std::nullopt;
}

void CPerChannelModbusDlg::OnFollowCh0()
{
    int row = TypeRow(0);
    if (row < 0) return; // CH0 shows no type to give the others
    for (int k = 1; k < Channels(); ++k) SelectTypeRow(k, row);
    m_follow.Start();
}

void CPerChannelModbusDlg::NextFollowWrite()
{
    // Called with nothing queued: the write is pending like an operator's and goes out now.
    QueueWrite(TypeWriteCommand(kFollowChannels[m_follow.nStep]));
    ApplyQueuedCommand();
    if (++m_follow.nStep == kFollowWrites) m_follow.Stop();
}

std::string CPerChannelModbusDlg::TypeWriteRequest(int channel)
{
    // The type its list shows when the write goes out.
    PrepareTypeWrite(channel);
    m_nLastCommand = kTypeWritten;
    m_strTypeRequest =
        m_strAddress + "0600C" + ValueToHexChar(0x8 + channel) + "00" + m_strTypeCode;
    return m_strTypeRequest;
}

EWriteAnswer CPerChannelModbusDlg::WriteAnswer(const std::string& request) const
{
    return m_strLastRequest == request ? RtuWriteAnswer(request) : EWriteAnswer::NotHeard;
}

void CPerChannelModbusDlg::QueueSetting(bool bToAscii, const std::string& newAddress,
                                        Texts rowTexts, Texts params)
{
    QueueConfiguration(kCmdConfigure,
                       RtuSettingOf(m_setup.setting, m_strAddress, bToAscii, newAddress,
                                    std::move(rowTexts), std::move(params)));
}

std::string CPerChannelModbusDlg::NextRequest()
{
    if (int typeChannel = TypeWriteChannel(m_nCommand); typeChannel >= 0)
        return TypeWriteRequest(typeChannel);
    switch (m_nCommand) {
    case kCmdStartRead:
        m_nLastCommand = kStartReadDone;
        return m_strAddress + StartRequest(m_setup.startReads[m_nStartRead]);
    case kCmdWriteMask:
        // The boxes as they stand when the write goes out.
        m_nLastCommand = kMaskWritten;
        m_strMaskRequest = m_strAddress + "0600DC00" + MaskWriteGoesOut();
        return m_strMaskRequest;
    case kCmdConfigure:
        // Sent to the address the module answers to now; polled at its new one from then on.
        m_nLastCommand = kConfigured;
        m_nCommand = kCmdPoll;
        return ConfigurationGoesOut();
    case kCmdBackToPoll:
        // The reply in hand answers a start-up read or a write: it holds no readings.
        m_nCommand = kCmdPoll;
        return PollRequest();
    default:
        ShowReadings();
        // A start-up read that was lost is asked for again, between the polls.
        if (std::optional<EStartRead> lost = LostStartRead()) {
            m_nLastCommand = kStartReadAgain;
            m_eReadAgain = *lost;
            return m_strAddress + StartRequest(*lost);
        }
        return PollRequest();
    }
}

std::optional<float> CPerChannelModbusDlg::RawToEngineering(int raw, int row) const
{
    return ::RawToEngineering(raw, row, m_setup.scales);
}

int CPerChannelModbusDlg::ScaleRow(int channel) const
{
    if (m_setup.nRangeBox) return GetDlgItemAs<CComboBox>(m_setup.nRangeBox)->GetCurSel();
    // Until the module hears a type written to it, it measures in the one it had.
    int moduleRow = ModuleTypeRow(channel);
    if (moduleRow >= 0 || WritePending(TypeWriteCommand(channel))) return moduleRow;
    return TypeRow(channel);
}

std::string CPerChannelModbusDlg::RegisterText(int channel) const
{
    return Mid(m_strReplyData, 4 * channel, 4);
}

void CPerChannelModbusDlg::ShowReadings()
{
    bool full = Complete();
    if (!full && m_setup.bKeepOnShortData) return;
    auto* list = GetDlgItemAs<CListBox>(m_setup.ids.nList);
    list->ResetContent();
    for (int k = 0; k < Channels(); ++k) {
        std::string rawText;
        std::string valueText;
        if (full) {
            int raw = static_cast<int>(StrToLong(RegisterText(k), 16));
            rawText = Format("%d", raw);
            valueText = EngineeringText(RawToEngineering(raw, ScaleRow(k)));
        }
        list->AddString(Format("%d", 40001 + k) +
                        std::string(static_cast<size_t>(m_setup.nBlanksAfterReference), ' ') +
                        Format("CH%d", k) +
                        std::string(static_cast<size_t>(m_setup.nBlanksAfterChannel), ' ') +
                        rawText);
        if (!ChannelShown(k)) {
            ShowChannelValue(k, 0, "");
        } else {
            bool burntOut = (m_byBurnOutMask >> k) & 1;
            ShowChannelValue(k, 0, burntOut ? "Burn-Out" : valueText);
        }
    }
}

void CPerChannelModbusDlg::OnRefresh()
{
    QueueCommand(kCmdBackToPoll);
}
