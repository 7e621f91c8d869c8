#include "AnalogSlotDlg.h"

#include "AsciiCommand.h"
#include "RackIds.h"
#include "RackSlots.h"
#include "Resource.h"
#include "SlotAi.h"
#include "Strings.h"

#include <algorithm>

namespace {

constexpr const char* kCaption = "Setting";
constexpr const char* kInvalidLimit = "Please Input Valid Value!";

// The update chain: each link, the link that follows an acknowledgement (none: the chain is done),
// the text of a refusal and the link the chain goes on with after it (none: the poll restarts).
const CAnalogSlotDlg::SChainLink kChain[] = {
    {&SAlarmSteps::nEnableHigh, &SAlarmSteps::nSetHighType, "Setting High AlarmType Fail!",
     nullptr},
    {&SAlarmSteps::nSetHighType, &SAlarmSteps::nSetLowType, "Setting AlarmHType Fail!",
     &SAlarmSteps::nSetLowType},
    {&SAlarmSteps::nEnableLow, &SAlarmSteps::nSetLowType, "Setting Low AlarmType Fail!", nullptr},
    {&SAlarmSteps::nSetLowType, &SAlarmSteps::nSetHighLimit, "Setting AlarmLType Fail!",
     &SAlarmSteps::nSetHighLimit},
    // A refused high limit is reported with the module's own text, which names the low one.
    {&SAlarmSteps::nSetHighLimit, &SAlarmSteps::nSetLowLimit, "Setting AlarmLValue Fail!",
     &SAlarmSteps::nSetLowLimit},
    {&SAlarmSteps::nSetLowLimit, nullptr, "Setting Alarm Fail!", nullptr},
};

} // namespace

BEGIN_MESSAGE_MAP(CAnalogSlotDlg, CRackDlg)
ON_CHANNEL_BOXES(rack_analog::kEnableBoxIds, OnChannelCheck)
ON_CBN_SELCHANGE(rack_alarm::IDC_CHANNEL, OnSelchangeAlarmChannel)
ON_CBN_SELCHANGE(rack_alarm::IDC_HIGH_TYPE, OnSelchangeHighAlarmType)
ON_CBN_SELCHANGE(rack_alarm::IDC_LOW_TYPE, OnSelchangeLowAlarmType)
ON_BN_CLICKED(rack_alarm::IDC_UPDATE, OnAlarmUpdate)
ON_BN_CLICKED(rack_alarm::IDC_CLEAR_HIGH, OnClearHighLatch)
ON_BN_CLICKED(rack_alarm::IDC_CLEAR_LOW, OnClearLowLatch)
ON_BN_CLICKED(rack_analog::IDC_CANCEL, OnCancel)
END_MESSAGE_MAP()

CAnalogSlotDlg::CAnalogSlotDlg(UINT nIDTemplate, const SAlarmSteps& steps)
    : CRackDlg(nIDTemplate, &CMainFrame::m_strSlotAiParams), m_steps(steps)
{
}

void CAnalogSlotDlg::DoDataExchange(CDataExchange* pDX)
{
    for (size_t ch = 0; ch < 8; ++ch)
        DDX_Check(pDX, rack_analog::kChannelIds[ch].nEnable, m_bChannel[ch]);
    DDX_Text(pDX, rack_analog::IDC_MODEL, m_strModule);
}

void CAnalogSlotDlg::InitAnalogSlot(int channels)
{
    m_bHighTypeChanged = m_bLowTypeChanged = false;
    InitRackContext();
    m_strModule = SlotBlock()[kSlotAnalogModule];
    UpdateData(FALSE);
    m_nChannelCount = channels;
    m_nAlarmChannel = 0;
    CComboBox* channel = Combo(rack_alarm::IDC_CHANNEL);
    for (int ch = 0; ch < channels; ++ch) channel->AddString(Format("CH %d", ch));
    channel->SetCurSel(0);
}

CComboBox* CAnalogSlotDlg::Combo(int id) const
{
    return GetDlgItemAs<CComboBox>(id);
}

bool CAnalogSlotDlg::ChannelOn(int channel) const
{
    return m_bChannel[static_cast<size_t>(channel)] == 1;
}

void CAnalogSlotDlg::Command(int step)
{
    m_nCommand = step;
    m_nLastCommand = kNone;
}

void CAnalogSlotDlg::ToggleChannel(int channel)
{
    ToggleFlag(m_bChannel[static_cast<size_t>(channel)]);
    BuildEnableMask();
}

void CAnalogSlotDlg::BuildEnableMask()
{
    m_strEnableMask = FlagsToHex(m_bChannel);
    m_nCommand = m_steps.nAfterMaskEdit;
}

bool CAnalogSlotDlg::ReadEnableMask()
{
    std::optional<std::string> mask = MaskOfReply() ? ReplyData('!') : std::nullopt;
    if (mask) ParseEnableMask((*mask)[0], (*mask)[1]);
    return mask.has_value();
}

void CAnalogSlotDlg::ParseEnableMask(char high, char low)
{
    m_strEnableMask = {high, low};
    SetFlagsFromHex(m_strEnableMask, m_bChannel);
    UpdateData(FALSE);
    if (m_bChannel[0] == 0) {
        for (int id : {rack_alarm::IDC_HIGH_LIMIT, rack_alarm::IDC_LOW_LIMIT,
                       rack_alarm::IDC_HIGH_TYPE, rack_alarm::IDC_LOW_TYPE})
            GetDlgItem(id)->EnableWindow(FALSE);
    }
}

void CAnalogSlotDlg::ShowValue(int channel, int maxChars)
{
    std::optional<std::string> reading = ReplyDataOf('>', IsSlotReading);
    if (!reading) return;
    std::string text = maxChars < 0 ? *reading : Left(*reading, maxChars);
    SetDlgItemText(rack_analog::kChannelIds[channel].nValue, ChannelOn(channel) ? text : "");
}

void CAnalogSlotDlg::SetUnit(int channel, const std::string& unit)
{
    SetDlgItemText(rack_analog::kChannelIds[channel].nUnit, unit);
}

void CAnalogSlotDlg::ShowLamps(int channel)
{
    const rack_analog::SChannelIds& ids = rack_analog::kChannelIds[channel];
    // "!AA", then the high alarm's and the low alarm's state.
    std::optional<std::string> status = DataReaching('!', 2);
    bool shown = status && ChannelOn(channel);
    GetDlgItem(ids.nHighLamp)->ShowWindow(shown ? SW_SHOW : SW_HIDE);
    GetDlgItem(ids.nLowLamp)->ShowWindow(shown ? SW_SHOW : SW_HIDE);
    if (!shown) return;
    GetDlgItemAs<CStatic>(ids.nHighLamp)
        ->SetIcon((*status)[0] == '1' ? IDI_DOT_SET : IDI_DOT_CLEAR);
    GetDlgItemAs<CStatic>(ids.nLowLamp)->SetIcon((*status)[1] == '1' ? IDI_DOT_SET : IDI_DOT_CLEAR);
}

// ---- the operator's controls

void CAnalogSlotDlg::OnSelchangeAlarmChannel()
{
    int row = Combo(rack_alarm::IDC_CHANNEL)->GetCurSel();
    m_nAlarmChannel = std::clamp(row, 0, m_nChannelCount - 1);
    bool on = ChannelOn(m_nAlarmChannel);
    GetDlgItem(rack_alarm::IDC_HIGH_TYPE)->EnableWindow(on);
    GetDlgItem(rack_alarm::IDC_LOW_TYPE)->EnableWindow(on);
    GetDlgItem(rack_alarm::IDC_HIGH_LIMIT)
        ->EnableWindow(on && Combo(rack_alarm::IDC_HIGH_TYPE)->GetCurSel() != kAlarmDisableRow);
    GetDlgItem(rack_alarm::IDC_LOW_LIMIT)
        ->EnableWindow(on && Combo(rack_alarm::IDC_LOW_TYPE)->GetCurSel() != kAlarmDisableRow);
    Command(m_steps.nRead[0]);
}

void CAnalogSlotDlg::OnSelchangeHighAlarmType()
{
    m_bHighTypeChanged = true;
    Command(m_steps.nWait);
}

void CAnalogSlotDlg::OnSelchangeLowAlarmType()
{
    m_bLowTypeChanged = true;
    Command(m_steps.nWait);
}

std::optional<std::string> CAnalogSlotDlg::LimitIn(int id) const
{
    std::string text = GetDlgItemText(id);
    return IsAlarmLimit(text) ? std::optional(text) : std::nullopt;
}

bool CAnalogSlotDlg::Refused(int id, const std::optional<std::string>& limit) const
{
    return !limit && GetDlgItem(id)->IsWindowEnabled();
}

void CAnalogSlotDlg::OnAlarmUpdate()
{
    std::optional<std::string> high = LimitIn(rack_alarm::IDC_HIGH_LIMIT);
    std::optional<std::string> low = LimitIn(rack_alarm::IDC_LOW_LIMIT);
    // A limit the operator can change must be one the module takes, or nothing is sent. One he
    // cannot change (its edit disabled) that holds none is left out of the chain.
    if (Refused(rack_alarm::IDC_HIGH_LIMIT, high) || Refused(rack_alarm::IDC_LOW_LIMIT, low)) {
        MessageBox(kInvalidLimit, kCaption, MB_ICONEXCLAMATION);
        return;
    }
    m_strHighLimit = high;
    m_strLowLimit = low;
    Command(TypeLink(true));
}

void CAnalogSlotDlg::OnClearHighLatch()
{
    Command(m_steps.nClearHigh);
}

void CAnalogSlotDlg::OnClearLowLatch()
{
    Command(m_steps.nClearLow);
}

// ---- requests

std::string CAnalogSlotDlg::AlarmBody(const std::string& tail) const
{
    return "C" + Format("%d", m_nAlarmChannel) + tail;
}

std::optional<std::string> CAnalogSlotDlg::AlarmRequest()
{
    const SAlarmSteps& s = m_steps;
    int step = m_nCommand;
    for (int ch = 0; ch < m_nChannelCount; ++ch)
        if (step == s.nFirstStatus + s.nStatusStride * ch)
            return SlotRequest('$', "C" + Format("%d", ch) + "S");
    static const char* const kReadTails[] = {"AH", "RHU", "AL", "RLU"};
    for (size_t link = 0; link < 4; ++link)
        if (step == s.nRead[link])
            return SlotRequest('$', AlarmBody(kReadTails[static_cast<int>(s.eRead[link])]));
    std::string tail;
    if (step == s.nEnableHigh) {
        tail = "AHEE";
    } else if (step == s.nEnableLow) {
        tail = "ALEE";
    } else if (step == s.nSetHighType || step == s.nSetLowType) {
        bool high = step == s.nSetHighType;
        // No row chosen: the code taken last time (none the first time).
        std::string& code = high ? m_strHighAlarmCode : m_strLowAlarmCode;
        int row = Combo(high ? rack_alarm::IDC_HIGH_TYPE : rack_alarm::IDC_LOW_TYPE)->GetCurSel();
        if (row >= 0) code = CodeOfRow(kAlarmTypeSetCodes, row);
        tail = (high ? "AH" : "AL") + code;
    } else if (step == s.nSetHighLimit || step == s.nSetLowLimit) {
        UpdateData(FALSE);
        tail = step == s.nSetHighLimit ? "AHU" + m_strHighLimit.value_or("")
                                       : "ALU" + m_strLowLimit.value_or("");
    } else if (step == s.nClearHigh) {
        tail = "CH";
    } else if (step == s.nClearLow) {
        tail = "CL";
    } else {
        return std::nullopt;
    }
    return SlotRequest('$', AlarmBody(tail));
}

// ---- replies

void CAnalogSlotDlg::ReadType(bool high)
{
    int limitId = high ? rack_alarm::IDC_HIGH_LIMIT : rack_alarm::IDC_LOW_LIMIT;
    if (ChannelOn(m_nAlarmChannel)) GetDlgItem(limitId)->EnableWindow(TRUE);
    // The type's letter after "!AA", whatever follows it.
    std::optional<std::string> type = DataReaching('!', 1);
    int row = type ? RowOfCode(kAlarmTypeReadLetters, type->substr(0, 1)) : -1;
    if (row < 0) return;
    Combo(high ? rack_alarm::IDC_HIGH_TYPE : rack_alarm::IDC_LOW_TYPE)->SetCurSel(row);
    if (row == kAlarmDisableRow) {
        (high ? m_strHighAlarmMark : m_strLowAlarmMark) = "EE";
        GetDlgItem(limitId)->EnableWindow(FALSE);
    }
}

void CAnalogSlotDlg::ReadLimit(bool high)
{
    // The limit as the module writes it, whatever its width.
    std::optional<std::string> limit = ReplyData('!');
    if (limit && IsAlarmLimit(*limit))
        SetDlgItemText(high ? rack_alarm::IDC_HIGH_LIMIT : rack_alarm::IDC_LOW_LIMIT, *limit);
}

int CAnalogSlotDlg::TypeLink(bool high) const
{
    // An alarm the module has reported disabled is enabled first, once the operator changed it.
    bool enable = high ? m_strHighAlarmMark == "EE" && m_bHighTypeChanged
                       : m_strLowAlarmMark == "EE" && m_bLowTypeChanged;
    if (high) return enable ? m_steps.nEnableHigh : m_steps.nSetHighType;
    return enable ? m_steps.nEnableLow : m_steps.nSetLowType;
}

int CAnalogSlotDlg::ChainStep(int SAlarmSteps::*link) const
{
    if (!link) return kNone;
    int step = m_steps.*link;
    if (step == m_steps.nSetHighLimit && !m_strHighLimit) step = m_steps.nSetLowLimit;
    if (step == m_steps.nSetLowLimit && !m_strLowLimit) return kNone;
    return step;
}

bool CAnalogSlotDlg::ReadChainReply(const SChainLink& link, bool ack)
{
    const SAlarmSteps& s = m_steps;
    m_nCommand = s.nRestart;
    int afterFailure = ChainStep(link.pAfterFailure);
    if (!ack && afterFailure != kNone) {
        // The chain goes on once the box is dismissed; no tick runs under it.
        BoxHoldingTicks(link.pszFailure, kCaption, MB_ICONEXCLAMATION,
                        [this, afterFailure] { Command(afterFailure); });
        return false;
    }
    bool lowTypeNext = link.pStep == &SAlarmSteps::nSetHighType;
    int next = lowTypeNext ? TypeLink(false) : ChainStep(link.pNext);
    if (!ack) {
        BoxBehindPolling(link.pszFailure, kCaption, MB_ICONEXCLAMATION);
    } else if (next != kNone) {
        m_nCommand = next;
    } else if (s.bCloseAfterAlarmOk) {
        TickMessageBox("Setting Alarm OK!", kCaption, MB_ICONEXCLAMATION);
        OnCancel();
        return false;
    } else {
        BoxBehindPolling("Setting Alarm OK!", kCaption, MB_ICONEXCLAMATION);
    }
    return true;
}

std::optional<bool> CAnalogSlotDlg::ReadAlarmReply(int step)
{
    const SAlarmSteps& s = m_steps;
    for (int ch = 0; ch < m_nChannelCount; ++ch) {
        if (step != s.nFirstStatus + s.nStatusStride * ch) continue;
        ShowLamps(ch);
        m_nCommand = NextAfterStatus(ch);
        return true;
    }
    for (size_t link = 0; link < 4; ++link) {
        if (step != s.nRead[link]) continue;
        SAlarmSteps::ERead read = s.eRead[link];
        bool high = read == SAlarmSteps::ERead::HighType || read == SAlarmSteps::ERead::HighLimit;
        if (read == SAlarmSteps::ERead::HighType || read == SAlarmSteps::ERead::LowType)
            ReadType(high);
        else
            ReadLimit(high);
        m_nCommand = link == 3 ? s.nAfterRead : s.nRead[link + 1];
        return true;
    }
    bool ack = Acknowledged();
    if (step == s.nClearHigh || step == s.nClearLow) {
        m_nCommand = s.nAfterClear;
        bool high = step == s.nClearHigh;
        const char* text = high ? (ack ? "Clear High Latch Succeeded!" : "Clear High Latch Error!")
                                : (ack ? "Clear Low Latch Succeeded!" : "Clear Low Latch Error!");
        BoxBehindPolling(text, kCaption, MB_ICONEXCLAMATION);
        return true;
    }
    for (const SChainLink& link : kChain)
        if (step == s.*link.pStep) return ReadChainReply(link, ack);
    return std::nullopt;
}
