#include "AnalogOutputDlg.h"

#include "AnalogOutputIds.h"
#include "Strings.h"

void CAnalogOutputDlg::DoDataExchange(CDataExchange* pDX)
{
    DDX_Text(pDX, IDC_AO_MODEL, m_strModelText);
}

void CAnalogOutputDlg::TakeModelKind()
{
    m_eKind = AoKindOfModel(m_strModuleName);
    m_nChannelCount = AoChannelCount(m_eKind);
}

CSliderCtrl* CAnalogOutputDlg::Slider(int channel) const
{
    return GetDlgItemAs<CSliderCtrl>(kAoChannels[static_cast<size_t>(channel)].nSlider);
}

void CAnalogOutputDlg::EnableChannel(int channel, bool enable, bool scaleLabels)
{
    const SAoChannelIds& ids = kAoChannels[static_cast<size_t>(channel)];
    for (int id : {ids.nSlider, ids.nUnit, ids.nOutput, ids.nReadBack})
        GetDlgItem(id)->EnableWindow(enable);
    if (scaleLabels) {
        for (int id : ids.labels) GetDlgItem(id)->EnableWindow(enable);
    }
}

void CAnalogOutputDlg::ShowRangeLabels(const SAoRange& range, int channel)
{
    const SAoChannelIds& ids = kAoChannels[static_cast<size_t>(channel)];
    for (size_t i = 0; i < 3; ++i) SetDlgItemText(ids.labels[i], range.labels[i]);
    SetDlgItemText(ids.nUnit, range.pszUnit);
}

void CAnalogOutputDlg::SetSliderRange(const SAoRange& range, int channel, bool pageSize)
{
    CSliderCtrl* slider = Slider(channel);
    slider->SetRange(range.nSliderMin, range.nSliderMax);
    if (pageSize) slider->SetPageSize(kAoPageSize);
}

void CAnalogOutputDlg::ShowValue(int channel, const std::string& text)
{
    SetDlgItemText(kAoChannels[static_cast<size_t>(channel)].nReadBack, text);
    bool first = m_nSyncedChannels == channel;
    if (first) ++m_nSyncedChannels;
    if (first || ModuleValueDue(channel))
        ShowModuleValue(channel, text, OutputPositionOfText(text));
}

void CAnalogOutputDlg::ShowModuleValue(int channel, const std::string& text, int position)
{
    if (WritePending(kCmdWriteCh0 + channel)) return;
    m_bModuleValueDue[static_cast<size_t>(channel)] = false;
    SetDlgItemText(kAoChannels[static_cast<size_t>(channel)].nOutput, text);
    Slider(channel)->SetPos(position);
}

void CAnalogOutputDlg::SettleOutputWrite(int nCommand, EWriteAnswer answer)
{
    if (SettleWrite(nCommand, answer) == EWriteAnswer::Refused)
        m_bModuleValueDue[static_cast<size_t>(nCommand - kCmdWriteCh0)] = true;
}

void CAnalogOutputDlg::ShowOutcome(const char* text)
{
    TickMessageBox(text, "Setting", MB_ICONEXCLAMATION);
    OnCancel();
}

CModuleDlg::Texts CAnalogOutputDlg::AoRowTexts(const SSettingsChoice& choice,
                                               bool clearDescription) const
{
    Texts rowTexts = RowTextsOf(choice);
    if (clearDescription) rowTexts[kDescriptionText] = "";
    return rowTexts;
}

CModuleDlg::Texts CAnalogOutputDlg::AoParams(const SSettingsChoice& choice,
                                             const std::string& rangeCode,
                                             const SAoFormatDigits& digits) const
{
    Texts params = ParamsOf(choice);
    params[kCheck] = digits.strHigh;
    params[kScript] = rangeCode;
    params[kFormat] = digits.strLow;
    return params;
}

CModuleDlg::SConfiguration
CAnalogOutputDlg::AoConfiguration(std::string request, const SSettingsChoice& choice,
                                  const std::string& rangeCode, const SAoFormatDigits& digits,
                                  bool clearDescription, bool protocolSwitch) const
{
    SConfiguration c{std::move(request), protocolSwitch ? m_strAddress : choice.strAddress,
                     choice.bChecksumOn, AoRowTexts(choice, clearDescription),
                     AoParams(choice, rangeCode, digits)};
    if (protocolSwitch) {
        c.rowTexts[kAddressText] = std::nullopt;
        c.params[kAddress] = std::nullopt;
    }
    return c;
}

void CAnalogOutputDlg::OnHScroll(UINT nSBCode, UINT nPos, CWnd* pScrollBar)
{
    CModuleDlg::OnHScroll(nSBCode, nPos, pScrollBar);
    for (int k = 0; k < m_nChannelCount; ++k)
        SetDlgItemText(kAoChannels[static_cast<size_t>(k)].nOutput,
                       SliderText(Slider(k)->GetPos()));
}

void CAnalogOutputDlg::QueueSliderWrite(int k)
{
    m_nOutputValue[static_cast<size_t>(k)] = Slider(k)->GetPos();
    QueueWrite(kCmdWriteCh0 + k);
}

// A typed output goes out only as a number inside the channel's range; anything else is refused
// with a message and sends nothing. (The four-channel Modbus models, whose outputs are raw codes,
// keep their Output edits disabled.)
void CAnalogOutputDlg::QueueTypedWrite(int k)
{
    if (m_bRefusing) return; // the message itself takes the focus from the edit
    CSliderCtrl* slider = Slider(k);
    int low = slider->GetRangeMin();
    int high = slider->GetRangeMax();
    std::string text = GetDlgItemText(kAoChannels[static_cast<size_t>(k)].nOutput);
    std::optional<int> value = ParseOutputValue(text, low, high);
    if (!value) {
        m_bRefusing = true;
        MessageBox(Format("Output must be a number from %s to %s!", OutputLimitText(low).c_str(),
                          OutputLimitText(high).c_str()),
                   "", MB_ICONEXCLAMATION);
        m_bRefusing = false;
        return;
    }
    slider->SetPos(*value);
    m_nOutputValue[static_cast<size_t>(k)] = *value;
    QueueWrite(kCmdWriteCh0 + k);
}
