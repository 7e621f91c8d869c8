#include "V1359.h"

#include "AsciiCommand.h"
#include "ModuleDialogs.h"
#include "RackIds.h"
#include "SlotAi.h"
#include "Strings.h"
#include "Trim.h"

#include <algorithm>
#include <cmath>
#include <utility>

REGISTER_MODULE_DIALOG(CV1359)

namespace {

constexpr UINT kPollPeriod = 100;
constexpr int kChannels = 4;
constexpr int kSlewStep = 4;
// The furthest a slider is ever moved; keeps a typed value of any size a valid position.
constexpr float kSliderLimit = 1000.0f;
// What a channel's configuration carries after "!AA" ("3" and the type code's range digit, then
// the slew code), whatever follows it.
constexpr size_t kRangeAt = 1;
constexpr size_t kSlewAt = 2;

const char* const kUpdateChannelTexts[kChannels][2] = {
    {"Update Channel0 Succeeded!", "Update Channel0 Error!"},
    {"Update Channel1 Succeeded!", "Update Channel1 Error!"},
    {"Update Channel2 Succeeded!", "Update Channel2 Error!"},
    {"Update Channel3 Succeeded!", "Update Channel3 Error!"},
};

inline constexpr const char* kOutputRange = "Output Range";

std::string ChannelDigit(int channel)
{
    return Format("%d", channel);
}

} // namespace

BEGIN_MESSAGE_MAP(CV1359, CRackDlg)
ON_CBN_SELCHANGE(rack_ao::IDC_CHANNEL, OnSelchangeChannel)
ON_BN_CLICKED(rack_ao::IDC_UPDATE, OnUpdateGeneral)
ON_BN_CLICKED(rack_ao::kChannelIds[0].nUpdate, OnUpdateChannel<0>)
ON_BN_CLICKED(rack_ao::kChannelIds[1].nUpdate, OnUpdateChannel<1>)
ON_BN_CLICKED(rack_ao::kChannelIds[2].nUpdate, OnUpdateChannel<2>)
ON_BN_CLICKED(rack_ao::kChannelIds[3].nUpdate, OnUpdateChannel<3>)
ON_BN_CLICKED(rack_ao::kChannelIds[0].nInitial, OnSendAsInitial<0>)
ON_BN_CLICKED(rack_ao::kChannelIds[1].nInitial, OnSendAsInitial<1>)
ON_BN_CLICKED(rack_ao::kChannelIds[2].nInitial, OnSendAsInitial<2>)
ON_BN_CLICKED(rack_ao::kChannelIds[3].nInitial, OnSendAsInitial<3>)
ON_BN_CLICKED(rack_ao::kChannelIds[0].nSend, OnSend<0>)
ON_BN_CLICKED(rack_ao::kChannelIds[1].nSend, OnSend<1>)
ON_BN_CLICKED(rack_ao::kChannelIds[2].nSend, OnSend<2>)
ON_BN_CLICKED(rack_ao::kChannelIds[3].nSend, OnSend<3>)
ON_BN_CLICKED(rack_ao::IDC_TRIM4, OnTrim4mA)
ON_BN_CLICKED(rack_ao::IDC_TRIM20, OnTrim20mA)
END_MESSAGE_MAP()

CV1359::CV1359(CWnd*) : CRackDlg(IDD_RACK_AO, &CMainFrame::m_strSlotAoParams) {}

CSliderCtrl* CV1359::Slider(int channel) const
{
    return GetDlgItemAs<CSliderCtrl>(rack_ao::kChannelIds[channel].nSlider);
}

int CV1359::RangeRow(int channel) const
{
    return GetDlgItemAs<CComboBox>(rack_ao::kChannelIds[channel].nRange)->GetCurSel();
}

BOOL CV1359::OnInitDialog()
{
    CDialog::OnInitDialog();
    m_strChannel = "0";
    InitRackContext();
    GetDlgItemAs<CComboBox>(rack_ao::IDC_CHANNEL)->SetCurSel(0);
    SetDlgItemText(rack_ao::IDC_FORMAT, "Engineering Units");
    for (int ch = 0; ch < kChannels; ++ch) Slider(ch)->SetPageSize(1);
    m_nLastCommand = kConfiguration0;
    SendAscii(SlotRequest('$', "C0B"), kOpenTimeout);
    SetTimer(m_nTimerId, kPollPeriod);
    return TRUE;
}

void CV1359::OnTimerEnded(UINT_PTR nIDEvent)
{
    CRackDlg::OnTimerEnded(nIDEvent);
    // The trim dialog runs once the tick has ended, so this dialog's ticks go on behind it and the
    // two dialogs take turns on the line.
    if (const STrimVariant* variant = std::exchange(m_pPendingTrim, nullptr)) {
        CTrim trim(*variant);
        trim.DoModal();
    }
}

bool CV1359::ReadReply(int step)
{
    if (IsSend(step)) {
        SettleSend(step);
        return true;
    }
    // Step numbers past the read-backs and before the updates belong to no step.
    bool noStep = step >= kReadBack0 + kChannels && step < kUpdateGeneral;
    if (step < kConfiguration0 || step > kDrive20mA || noStep) return true;
    if (step < kReadBack0) {
        if (std::optional<std::string> configuration = DataReaching('!', kSlewAt + 2))
            ReadConfiguration(step - kConfiguration0, *configuration);
        m_nCommand = step == kConfiguration0 + kChannels - 1 ? kReadBack0 : step + 1;
    } else if (step < kUpdateGeneral) {
        // An output of whatever width, with its point: a late configuration reply is no value.
        if (std::optional<std::string> value = ReplyDataOf('!', IsSlotValue))
            ReadBack(step - kReadBack0, *value);
        m_nCommand = step == kReadBack0 + kChannels - 1 ? kReadBack0 : step + 1;
    } else if (step == kDrive4mA || step == kDrive20mA) {
        m_nCommand = kReadBack0;
        if (DataAcknowledged()) HandOverToTrim(step == kDrive4mA ? kTrim4mA : kTrim20mA);
    } else {
        m_nCommand = step == kUpdateGeneral ? kReadBack0 : kConfiguration0;
        ShowOutcome(step, Acknowledged());
    }
    return true;
}

void CV1359::SettleSend(int step)
{
    m_nCommand = kReadBack0;
    EWriteAnswer answer = SettleWrite(step, AsciiWriteAnswer(DataAcknowledged()));
    // A newer Send of the channel waits: it tells its own outcome.
    if (answer == EWriteAnswer::NotHeard || WritePending(step)) return;
    ShowOutcome(step, answer == EWriteAnswer::Heard);
}

void CV1359::ReadConfiguration(int channel, const std::string& configuration)
{
    const rack_ao::SChannelIds& ids = rack_ao::kChannelIds[channel];
    SetDlgItemText(ids.nOutputUnit, "mA");
    SetDlgItemText(ids.nReadBackUnit, "mA");
    std::string digit = configuration.substr(kRangeAt, 1);
    if (const SAoSlotRange* range = AoRangeOfDigit(digit)) {
        GetDlgItemAs<CComboBox>(ids.nRange)->SetCurSel(RowOfCode(kAoRangeDigits, digit));
        Slider(channel)->SetRangeMin(range->nMin);
        Slider(channel)->SetRangeMax(range->nMax);
        SetDlgItemText(ids.nOutputUnit, range->pszUnit);
        SetDlgItemText(ids.nReadBackUnit, range->pszUnit);
    }
    m_strChRange[static_cast<size_t>(channel)] = digit;
    std::string slew = configuration.substr(kSlewAt, 2);
    if (m_strChannel == ChannelDigit(channel)) {
        auto* combo = GetDlgItemAs<CComboBox>(rack_ao::IDC_SLEW);
        combo->ResetContent();
        for (const std::string& row : AoSlewRows(digit)) combo->AddString(row);
        combo->SetCurSel(RowOfCode(kAoSlewCodes, slew));
        bool trims = digit == "1" && m_strAddress == "00";
        GetDlgItem(rack_ao::IDC_TRIM4)->EnableWindow(trims);
        GetDlgItem(rack_ao::IDC_TRIM20)->EnableWindow(trims);
    }
    m_strChSlew[static_cast<size_t>(channel)] = slew;
}

void CV1359::ReadBack(int channel, const std::string& text)
{
    const rack_ao::SChannelIds& ids = rack_ao::kChannelIds[channel];
    SetDlgItemText(ids.nReadBack, text);
    if (std::exchange(m_bModuleValueDue[static_cast<size_t>(channel)], false) &&
        !WritePending(kSendOutput0 + channel))
        ShowOutput(channel, text);
    if (m_nOutputFills > channel) return;
    // A channel whose Send is pending keeps the operator's value.
    if (!WritePending(kSendOutput0 + channel)) ShowOutput(channel, text);
    ++m_nOutputFills;
}

void CV1359::ShowOutput(int channel, const std::string& text)
{
    auto i = static_cast<size_t>(channel);
    int output = rack_ao::kChannelIds[channel].nOutput;
    SetDlgItemText(output, text);
    m_strOutValue[i] = GetDlgItemText(output);
    m_fOutValue[i] = LeadingNumber(m_strOutValue[i]);
    MoveSlider(channel, m_fOutValue[i]);
}

void CV1359::MoveSlider(int channel, float value)
{
    float bounded = std::clamp(value, -kSliderLimit, kSliderLimit);
    Slider(channel)->SetPos(static_cast<int>(std::trunc(bounded)));
}

void CV1359::ShowOutcome(int step, bool accepted)
{
    std::string text;
    if (step == kUpdateGeneral) {
        text = accepted ? "Update Setting Succeeded!" : "Update Setting Error!";
    } else if (step == kSendAsInitial) {
        text = accepted ? "Startup Calibration Succeeded!" : "Startup Calibration Error!";
    } else if (IsSend(step)) {
        text = accepted ? "Update Output Value Succeeded!" : "Update Output Value Error!";
    } else {
        text = kUpdateChannelTexts[step - kUpdateChannel0][accepted ? 0 : 1];
    }
    BoxBehindPolling(text, "Setting", MB_ICONEXCLAMATION);
    if (!IsSend(step)) return;
    // A value the module did not take leaves its channel showing the value read back.
    if (!accepted) {
        int channel = step - kSendOutput0;
        ShowOutput(channel, GetDlgItemText(rack_ao::kChannelIds[channel].nReadBack));
        m_bModuleValueDue[static_cast<size_t>(channel)] = true;
    } else {
        for (int ch = 0; ch < kChannels; ++ch)
            SetDlgItemText(rack_ao::kChannelIds[ch].nOutput,
                           m_strOutValue[static_cast<size_t>(ch)]);
    }
}

void CV1359::HandOverToTrim(const STrimVariant& variant)
{
    m_pMainFrame->m_strSlotAoParams[kSlotModule] = m_strChannel;
    m_pPendingTrim = &variant;
}

std::string CV1359::StepRequest()
{
    if (m_nCommand >= kConfiguration0 && m_nCommand < kReadBack0)
        return SlotRequest('$', "C" + ChannelDigit(m_nCommand - kConfiguration0) + "B");
    if (m_nCommand >= kReadBack0 && m_nCommand < kUpdateGeneral)
        return SlotRequest('$', "C" + ChannelDigit(m_nCommand - kReadBack0) + "6");
    if (m_nCommand >= kUpdateChannel0 && m_nCommand < kSendAsInitial) {
        int channel = m_nCommand - kUpdateChannel0;
        int row = RangeRow(channel);
        if (row < 0) return {};
        return SlotRequest('$', "C" + ChannelDigit(channel) + "A3" + ChannelDigit(row) +
                                    m_strChSlew[static_cast<size_t>(channel)]);
    }
    switch (m_nCommand) {
    case kUpdateGeneral:
        return SlotRequest('$', "C" + m_strChannel + "A3" + m_strCurRangeDigit + m_strNewSlewCode);
    case kSendAsInitial:
        return SlotRequest('$', "C" + m_strSendChannel + "4");
    case kDrive4mA:
        return SlotRequest('#', "C" + m_strChannel + "04.000");
    case kDrive20mA:
        return SlotRequest('#', "C" + m_strChannel + "20.000");
    default:
        break;
    }
    if (!IsSend(m_nCommand)) return {};
    int channel = m_nCommand - kSendOutput0;
    return SlotRequest('#',
                       "C" + ChannelDigit(channel) + m_strOutValue[static_cast<size_t>(channel)]);
}

void CV1359::Command(int step)
{
    // Queued, so a Send still pending keeps its turn; a Send's answer is always read.
    QueueCommand(step);
    if (!IsSend(m_nLastCommand)) m_nLastCommand = kNone;
}

void CV1359::OnSelchangeChannel()
{
    m_strChannel = ChannelDigit(GetDlgItemAs<CComboBox>(rack_ao::IDC_CHANNEL)->GetCurSel());
    Command(kConfiguration0);
}

void CV1359::OnUpdateGeneral()
{
    int slewRow = GetDlgItemAs<CComboBox>(rack_ao::IDC_SLEW)->GetCurSel();
    int channel = static_cast<int>(StrToLong(m_strChannel, 10));
    std::string range = m_strChRange[static_cast<size_t>(std::clamp(channel, 0, kChannels - 1))];
    // Without a slew row or a range read from the module there is nothing sound to send.
    if (!ListsChosen({{rack_ao::IDC_SLEW, "Slew Rate"}})) return;
    if (range.empty()) {
        RefuseUnchosen(kOutputRange);
        return;
    }
    Command(kUpdateGeneral);
    m_strNewSlewCode = ByteToHexPair(slewRow * kSlewStep);
    m_strCurRangeDigit = range;
}

void CV1359::UpdateChannel(int channel)
{
    if (!ListsChosen({{rack_ao::kChannelIds[channel].nRange, kOutputRange}})) return;
    Command(kUpdateChannel0 + channel);
    m_nOutputFills = 0;
}

void CV1359::SendAsInitial(int channel)
{
    Command(kSendAsInitial);
    m_strSendChannel = ChannelDigit(channel);
}

void CV1359::SendOutput(int channel)
{
    auto i = static_cast<size_t>(channel);
    float value = LeadingNumber(GetDlgItemText(rack_ao::kChannelIds[channel].nOutput));
    // A value outside the channel's range is not taken: the slider and the value to send stay as
    // they were.
    if (!AoValueFits(RangeRow(channel), value)) {
        MessageBox("Please Input Valid Value!", "Setting", MB_ICONEXCLAMATION);
        return;
    }
    m_fOutValue[i] = value;
    MoveSlider(channel, value);
    m_strOutValue[i] = AoValueText(value);
    QueueWrite(kSendOutput0 + channel);
    if (!IsSend(m_nLastCommand)) m_nLastCommand = kNone;
}

void CV1359::OnTrim4mA()
{
    Command(kDrive4mA);
}

void CV1359::OnTrim20mA()
{
    Command(kDrive20mA);
}

void CV1359::OnHScroll(UINT nSBCode, UINT nPos, CWnd* pScrollBar)
{
    CRackDlg::OnHScroll(nSBCode, nPos, pScrollBar);
    for (int ch = 0; ch < kChannels; ++ch) {
        auto i = static_cast<size_t>(ch);
        m_fSliderPos[i] = static_cast<float>(Slider(ch)->GetPos());
        m_strSliderText[i] = AoSliderText(m_fSliderPos[i]);
        SetDlgItemText(rack_ao::kChannelIds[ch].nOutput, m_strSliderText[i]);
    }
}
