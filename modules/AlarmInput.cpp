#include "AlarmInput.h"

#include "AlarmLimit.h"
#include "Strings.h"

#include <algorithm>

namespace {

inline constexpr int kChannels = 8;
// Alarm-mode rows and the command each sends.
const char* const kAlarmModeBodies[] = {"DA", "EAM", "EAL"};
// The outputs' two digits of "@AADI" by their bits (bit 0 output 0, bit 1 output 1).
const CodeTable kOutputPairs = {"00", "01", "02", "03"};
// "@AADI" answers "!AA", the status digit (the alarm mode), the outputs' two digits and the
// inputs' two. A read takes the state up to what it reads; the inputs need not follow.
inline constexpr size_t kModeLength = 1;
inline constexpr size_t kOutputsLength = 3;
// What the reply text holds after a missed exchange.
inline constexpr const char* kNoReply = "ERROR";

} // namespace

CAlarmInputDlg::CAlarmInputDlg(const SModuleDescriptor& descriptor, const SAlarmInputSetup& setup)
    : CModuleDlg(descriptor), m_setup(setup)
{
}

void CAlarmInputDlg::DoDataExchange(CDataExchange* pDX)
{
    for (size_t k = 0; k < kChannels; ++k)
        DDX_Check(pDX, m_setup.checkIds[k], m_bChannelEnabled[k]);
}

void CAlarmInputDlg::AttachLamps()
{
    m_lamps.Attach(*this, {m_setup.lampIds[0], m_setup.lampIds[1]});
}

// ---- the enable mask

void CAlarmInputDlg::ToggleChannel(int k)
{
    auto i = static_cast<size_t>(k);
    // Without the module's own mask, a write would change channels nobody touched.
    if (!m_mask.Toggle(k)) {
        CheckDlgButton(m_setup.checkIds[i], static_cast<UINT>(m_bChannelEnabled[i]));
        SetDlgItemText(m_setup.nMaskStatus, kMaskNotRead);
        return;
    }
    BuildEnableMask();
}

void CAlarmInputDlg::BuildEnableMask()
{
    m_strEnableMask = m_mask.Text();
    QueueWrite(kCmdWriteMask);
}

void CAlarmInputDlg::ReadMaskWrite(bool ack)
{
    EWriteAnswer answer = SettleWrite(kCmdWriteMask, AsciiWriteAnswer(ack));
    ShowOutcome(m_setup.nMaskStatus, answer == EWriteAnswer::Heard);
    if (answer == EWriteAnswer::Heard) {
        m_mask.Heard();
    } else if (answer == EWriteAnswer::Refused && !WritePending(kCmdWriteMask)) {
        m_mask.Refused();
        UpdateData(FALSE);
    }
    m_nCommand = kCmdBackToPoll;
}

void CAlarmInputDlg::ForgetEnableMask()
{
    bool dropped = QueuedCommand() == kCmdWriteMask;
    if (dropped) DropQueuedCommand();
    m_mask.Forget(dropped);
    if (dropped) {
        UpdateData(FALSE);
        SetDlgItemText(m_setup.nMaskStatus, kMaskNotRead);
    }
}

void CAlarmInputDlg::ShowEnableMask(const std::array<bool, 8>& bits)
{
    m_mask.Read(bits);
    UpdateData(FALSE);
    SetDlgItemText(m_setup.nAddressBox, m_strAddressDecimal);
    // The boxes are usable now: a refused click's excuse no longer holds.
    if (GetDlgItemText(m_setup.nMaskStatus) == kMaskNotRead)
        SetDlgItemText(m_setup.nMaskStatus, "");
}

void CAlarmInputDlg::ReadMaskReply()
{
    if (std::optional<std::array<bool, 8>> bits = MaskOfReply()) {
        ShowEnableMask(*bits);
    } else if (ReplyFits('?', 0)) {
        // The module's refusal is its answer: it marks no channel, and the boxes are the
        // operator's to tick (the write then sets the mask).
        ShowEnableMask({});
    } else {
        ForgetEnableMask();
    }
}

std::string CAlarmInputDlg::MaskReadAgain()
{
    return AsciiMaskReadAgain(m_mask, kCmdReadMask);
}

// ---- channel types and "FOLLOW CH0"

int CAlarmInputDlg::SelectedChannel() const
{
    int row = GetDlgItemAs<CComboBox>(m_setup.nChannelNumber)->GetCurSel();
    return m_setup.bChannelWithoutRowIsCh0 ? std::max(row, 0) : row;
}

void CAlarmInputDlg::ReadSelectedChannel()
{
    m_nReadChannel = SelectedChannel();
    m_nCommand = kCmdChannelRead;
}

std::string CAlarmInputDlg::ChannelTypeWrite(int channel, int typeRow) const
{
    return Request('$', Format("7C%dR", channel) + CodeOfRow(*m_setup.pTypeCodes, typeRow));
}

void CAlarmInputDlg::OnChannelRead()
{
    m_nReadChannel = SelectedChannel();
    QueueCommand(kCmdChannelRead);
}

void CAlarmInputDlg::OnChannelConfigure()
{
    int typeRow = GetDlgItemAs<CComboBox>(m_setup.nChannelType)->GetCurSel();
    if (typeRow < 0) return; // no type chosen: nothing valid to write
    m_nChannelWriteChannel = SelectedChannel();
    m_nChannelWriteRow = typeRow;
    QueueWrite(kCmdChannelWrite);
}

void CAlarmInputDlg::OnFollowChannel0()
{
    if (!FollowStartsAtCh0(m_setup.nChannelNumber)) return;
    int typeRow = GetDlgItemAs<CComboBox>(m_setup.nChannelType)->GetCurSel();
    if (typeRow < 0) return;
    m_nFollowTypeRow = typeRow;
    m_follow.Start();
    QueueWrite(kCmdFollowWrite);
}

// A heard channel-type write carries a running chain on: the chain's own write moves it to the
// next channel (a reply to a write of an earlier run moves nothing). A write not heard waits for
// the module to answer a poll, the chain with it.
void CAlarmInputDlg::ReadChannelWrite(int last, bool ack)
{
    m_nCommand = kCmdBackToPoll;
    bool follow = last == kCmdFollowWrite;
    int channel = follow ? m_nFollowSentChannel : m_nChannelWriteChannel;
    EWriteAnswer answer = SettleWrite(last, AsciiWriteAnswer(ack));
    if (answer == EWriteAnswer::NotHeard) return;
    // Refused: the list shows the channel's type as the module reads it.
    if (answer == EWriteAnswer::Refused && !WritePending(last) && channel == SelectedChannel()) {
        m_nReadChannel = channel;
        QueueCommand(kCmdChannelRead);
    }
    if (!m_follow.bActive) return;
    if (answer == EWriteAnswer::Refused) {
        if (follow && m_setup.eFollowRefusal == EFollowRefusal::Stops) m_follow.Stop();
        return;
    }
    if (follow && m_follow.Answers() && ++m_follow.nStep == kChannels) {
        m_follow.Stop();
        return;
    }
    // The chain's next write, unless its write waits already.
    if (!WritePending(kCmdFollowWrite)) QueueWrite(kCmdFollowWrite);
}

// ---- the alarm group

void CAlarmInputDlg::OnAlarmValueSetting()
{
    if (GetDlgItemText(m_setup.nHighLimit).empty() || GetDlgItemText(m_setup.nLowLimit).empty())
        return;
    // Both limits as the module shows them, or neither goes out.
    std::optional<std::string> high = CheckedAlarmLimit(*this, m_setup.nHighLimit);
    if (!high) return;
    std::optional<std::string> low = CheckedAlarmLimit(*this, m_setup.nLowLimit);
    if (!low) return;
    m_strHighLimit = *high;
    m_strLowLimit = *low;
    QueueCommand(kCmdWriteHighLimit);
}

void CAlarmInputDlg::OnAlarmHighSetting()
{
    if (std::optional<std::string> limit = CheckedAlarmLimit(*this, m_setup.nHighLimit)) {
        m_strHighLimit = *limit;
        QueueWrite(kCmdWriteHighLimit);
    }
}

void CAlarmInputDlg::OnAlarmLowSetting()
{
    if (std::optional<std::string> limit = CheckedAlarmLimit(*this, m_setup.nLowLimit)) {
        m_strLowLimit = *limit;
        QueueWrite(kCmdWriteLowLimit);
    }
}

void CAlarmInputDlg::OnAlarmTypeSetting()
{
    // Typed text that is none of the three modes has no command.
    int row = GetDlgItemAs<CComboBox>(m_setup.nAlarmMode)->GetCurSel();
    if (row < 0 || row >= static_cast<int>(std::size(kAlarmModeBodies))) return;
    m_strAlarmModeBody = kAlarmModeBodies[row];
    m_nAlarmModeSent = row;
    QueueWrite(kCmdWriteAlarmMode);
}

void CAlarmInputDlg::OnAlarmClear()
{
    QueueWrite(kCmdClearAlarm);
}

void CAlarmInputDlg::OnLButtonDown(UINT nFlags, CPoint point)
{
    int lamp = m_lamps.HitTest(point);
    if (lamp < 0) return;
    int& on = m_bDoState[static_cast<size_t>(lamp)];
    if (nFlags == MK_LBUTTON) on = on ? 0 : 1;
    // The outputs as the click leaves them, whatever a read in flight reports meanwhile; the lamps
    // follow the module at the next output read, not the click.
    m_strOutputBody = Format("DO0%d", m_bDoState[0] + 2 * m_bDoState[1]);
    QueueWrite(kCmdWriteOutputs);
}

void CAlarmInputDlg::ShowLamps(const std::string& outputs)
{
    int bits = RowOfCode(kOutputPairs, outputs);
    if (bits < 0) {
        if (!m_setup.bOtherOutputsDarkenLamps) return;
        bits = 0;
    }
    m_nModuleOutputs = bits;
    // While a click's write is pending, the lamps and the states it goes from stay the operator's.
    if (!WritePending(kCmdWriteOutputs)) ShowModuleOutputs();
}

void CAlarmInputDlg::ShowModuleOutputs()
{
    for (size_t i = 0; i < m_bDoState.size(); ++i) {
        m_bDoState[i] = (m_nModuleOutputs >> i) & 1;
        m_lamps.Show(static_cast<int>(i), m_bDoState[i] != 0);
    }
}

// The outputs and the alarm mode: "Ready!" once heard, else "Error!"; refused, their controls
// show the module's state again.
void CAlarmInputDlg::ReadOutputWrite(int last, bool ack)
{
    EWriteAnswer answer = SettleWrite(last, AsciiWriteAnswer(ack));
    ShowOutcome(m_setup.nStatus, answer == EWriteAnswer::Heard);
    m_nCommand = kCmdBackToPoll;
    bool outputs = last == kCmdWriteOutputs;
    if (answer == EWriteAnswer::Heard && !outputs) m_nModuleMode = m_nAlarmModeSent;
    if (answer != EWriteAnswer::Refused || WritePending(last)) return;
    if (outputs) {
        ShowModuleOutputs();
    } else if (m_nModuleMode >= 0) {
        GetDlgItemAs<CComboBox>(m_setup.nAlarmMode)->SetCurSel(m_nModuleMode);
    }
}

void CAlarmInputDlg::ShowOutcome(int nField, bool ack)
{
    SetDlgItemText(nField, ack ? "Ready!" : "Error!");
}

std::optional<std::string> CAlarmInputDlg::DioState(size_t length) const
{
    return ReplyDataOf('!', [length](const std::string& data) { return IsDioState(data, length); });
}

void CAlarmInputDlg::NoteRead(bool fits)
{
    // Silence too: the dialogs show for it what they show for a missed exchange.
    m_bReadMissed = !fits && !ReplyFits('?', 0);
}

void CAlarmInputDlg::ReadAlarmModeReply()
{
    std::optional<std::string> state = DioState(kModeLength);
    NoteRead(state.has_value());
    int mode = state ? CharAt(*state, 0) - '0' : -1;
    if (mode >= 0 && mode <= 2) {
        m_nModuleMode = mode;
        if (!WritePending(kCmdWriteAlarmMode))
            GetDlgItemAs<CComboBox>(m_setup.nAlarmMode)->SetCurSel(mode);
    }
    if (m_setup.eModeRead == EModeRead::UntilAcknowledged) {
        m_nCommand = state ? kCmdBackToPoll : kCmdReadAlarmMode;
        if (state) EndStartup();
        return;
    }
    // The same "@AADI" reply carries the outputs, where it goes on to them.
    if (state && state->size() >= kOutputsLength) ShowLamps(state->substr(1, 2));
    ShowOutcome(m_setup.nStatus, state.has_value());
    m_nCommand = kCmdBackToPoll;
    EndStartup();
}

void CAlarmInputDlg::ReadLimitReply(int last)
{
    std::optional<std::string> limit = ReplyDataOf('!', IsFixedWidthValue);
    NoteRead(limit.has_value());
    bool high = last == kCmdReadHighLimit;
    if (!high) ++m_nLimitReads;
    if (!limit) {
        m_nCommand = last; // asked again until the module gives it
        return;
    }
    m_strModuleLimits[high ? 0 : 1] = *limit;
    if (!WritePending(high ? kCmdWriteHighLimit : kCmdWriteLowLimit))
        SetDlgItemText(high ? m_setup.nHighLimit : m_setup.nLowLimit, *limit);
    m_nCommand = high ? kCmdReadLowLimit : kCmdBackToPoll;
}

void CAlarmInputDlg::ReadOutputsReply()
{
    std::optional<std::string> state = DioState(kOutputsLength);
    NoteRead(state.has_value());
    if (state) ShowLamps(state->substr(1, 2));
    // The module's own reply shows as it came (a refusal too); any other, as silence.
    std::optional<std::string> own = state               ? ReplyOf('!')
                                     : ReplyFits('?', 0) ? ReplyOf('?')
                                                         : std::nullopt;
    SetDlgItemText(m_setup.nStatus, own.value_or(kNoReply));
    m_nCommand = state ? kCmdBackToPoll : kCmdReadOutputs;
}

void CAlarmInputDlg::ReadLimitWrite(int last, bool ack)
{
    m_nCommand = kCmdBackToPoll;
    if (m_setup.eLimitWrite == ELimitWrite::EachAlone) {
        ReadOneLimitWrite(last, ack);
        return;
    }
    EWriteAnswer answer = AsciiWriteAnswer(ack);
    if (answer == EWriteAnswer::Refused) {
        // Sent again, a refused limit would stop the readings for good: the write ends here and
        // polling resumes.
        SetDlgItemText(m_setup.nStatus, "Error!");
        return;
    }
    if (answer == EWriteAnswer::NotHeard) {
        m_nCommand = last; // the same limit again
        return;
    }
    SetDlgItemText(m_setup.nStatus, "Ready");
    if (last == kCmdWriteHighLimit) m_nCommand = kCmdWriteLowLimit;
}

// A limit written alone: "Ready!" once heard, else "Error!"; refused, its field shows the module's
// limit again.
void CAlarmInputDlg::ReadOneLimitWrite(int last, bool ack)
{
    EWriteAnswer answer = SettleWrite(last, AsciiWriteAnswer(ack));
    ShowOutcome(m_setup.nStatus, answer == EWriteAnswer::Heard);
    bool high = last == kCmdWriteHighLimit;
    std::string& moduleLimit = m_strModuleLimits[high ? 0 : 1];
    if (answer == EWriteAnswer::Heard) {
        moduleLimit = high ? m_strHighLimit : m_strLowLimit;
    } else if (answer == EWriteAnswer::Refused && !WritePending(last) && !moduleLimit.empty()) {
        SetDlgItemText(high ? m_setup.nHighLimit : m_setup.nLowLimit, moduleLimit);
    }
}

// Not heard, the clear goes out again once the module has answered a poll.
void CAlarmInputDlg::ReadClearReply(bool ack)
{
    bool heard = SettleWrite(kCmdClearAlarm, AsciiWriteAnswer(ack)) == EWriteAnswer::Heard;
    if (m_setup.eClearReply == EClearReply::ShowsOutcome) {
        SetDlgItemText(m_setup.nStatus, heard ? "报警清除成功!" : "报警清除失败!");
        m_nCommand = kCmdBackToPoll;
        return;
    }
    m_nCommand = heard ? kCmdBackToPoll : kCmdReadLowLimit;
}

void CAlarmInputDlg::ReadChannelType()
{
    // A code of no row leaves the row.
    std::optional<std::string> code = ChannelCodeOfReply(m_nReadChannel);
    NoteRead(code.has_value());
    int row = code ? RowOfCode(*m_setup.pTypeCodes, *code) : -1;
    m_nCommand = kCmdBackToPoll;
    if (row < 0) return;
    // A type the operator is writing to that channel stays shown.
    bool writing = (WritePending(kCmdChannelWrite) && m_nChannelWriteChannel == m_nReadChannel) ||
                   WritePending(kCmdFollowWrite);
    if (!writing) GetDlgItemAs<CComboBox>(m_setup.nChannelType)->SetCurSel(row);
}

bool CAlarmInputDlg::ReadSharedReply()
{
    m_bReadMissed = false;
    int last = m_nLastCommand;
    bool ack = Acknowledged();
    switch (last) {
    case kCmdReadMask:
        ReadMaskReply();
        m_nCommand = kCmdBackToPoll;
        break;
    case kCmdReadAlarmMode:
        ReadAlarmModeReply();
        break;
    case kCmdReadHighLimit:
    case kCmdReadLowLimit:
        ReadLimitReply(last);
        break;
    case kCmdReadOutputs:
        ReadOutputsReply();
        break;
    case kCmdWriteHighLimit:
    case kCmdWriteLowLimit:
        ReadLimitWrite(last, ack);
        break;
    case kCmdWriteOutputs:
    case kCmdWriteAlarmMode:
        ReadOutputWrite(last, ack);
        break;
    case kCmdWriteMask:
        ReadMaskWrite(ack);
        break;
    case kCmdClearAlarm:
        ReadClearReply(ack);
        break;
    case kCmdChannelRead:
        ReadChannelType();
        break;
    case kCmdChannelWrite:
    case kCmdFollowWrite:
        ReadChannelWrite(last, ack);
        break;
    default:
        return false;
    }
    m_nLastCommand = kLastNone;
    return true;
}

std::optional<std::vector<std::string>> CAlarmInputDlg::PollReadings(int count) const
{
    return ReadingsOfReply('>', count, FormOfFormat(Entry(kFormat)));
}

std::string CAlarmInputDlg::AlarmRequest() const
{
    // The "@AA" requests: a fixed part, then the member that holds the rest (none: nothing more).
    static const struct {
        int nCommand;
        const char* pszBody;
        std::string CAlarmInputDlg::*pTail;
    } kRequests[] = {
        {kCmdReadHighLimit, "RH", nullptr},
        {kCmdReadLowLimit, "RL", nullptr},
        {kCmdReadOutputs, "DI", nullptr},
        {kCmdReadAlarmMode, "DI", nullptr},
        {kCmdWriteHighLimit, "HI", &CAlarmInputDlg::m_strHighLimit},
        {kCmdWriteLowLimit, "LO", &CAlarmInputDlg::m_strLowLimit},
        {kCmdWriteOutputs, "", &CAlarmInputDlg::m_strOutputBody},
        {kCmdWriteAlarmMode, "", &CAlarmInputDlg::m_strAlarmModeBody},
        {kCmdClearAlarm, "CA", nullptr},
    };
    for (const auto& request : kRequests) {
        if (request.nCommand == m_nCommand)
            return Request('@', request.pszBody + (request.pTail ? this->*request.pTail : ""));
    }
    return "";
}

std::string CAlarmInputDlg::SharedRequest()
{
    std::string request = AlarmRequest();
    switch (m_nCommand) {
    case kCmdBackToPoll:
        m_nCommand = kCmdPoll;
        return Request('#', "");
    case kCmdWriteMask:
        // The boxes as they stand when the write goes out (after the module's mask was read).
        m_strEnableMask = m_mask.Send();
        request = Request('$', "5" + m_strEnableMask);
        break;
    case kCmdChannelRead:
        request = Request('$', Format("8C%d", m_nReadChannel));
        break;
    case kCmdChannelWrite:
        request = ChannelTypeWrite(m_nChannelWriteChannel, m_nChannelWriteRow);
        break;
    case kCmdFollowWrite:
        m_follow.Sent();
        m_nFollowSentChannel = m_follow.nStep;
        request = ChannelTypeWrite(m_follow.nStep, m_nFollowTypeRow);
        break;
    default:
        break;
    }
    if (!request.empty()) m_nLastCommand = m_nCommand;
    return request;
}
