// What both analog-output dialogs share: the model kind, the four channel panels (range labels,
// sliders, Output and ReadBack edits), the writes the sliders and Output edits queue, one per
// channel, and the configuration's write-back, made when the request goes out.
#pragma once

#include "AoCodes.h"
#include "ModuleDlg.h"

#include <array>

class CAnalogOutputDlg : public CModuleDlg {
public:
    using CModuleDlg::CModuleDlg;

    void DoDataExchange(CDataExchange* pDX) override;
    // The Output edits follow the sliders; nothing is sent until a slider is released.
    void OnHScroll(UINT nSBCode, UINT nPos, CWnd* pScrollBar) override;
    template <int k> void OnReleasedcaptureSlider() { QueueSliderWrite(k); }
    template <int k> void OnKillfocusOutput() { QueueTypedWrite(k); }

    // m_nCommand of the write of channel k's output.
    static constexpr int kCmdWriteCh0 = 10;
    static bool IsOutputWrite(int nCommand)
    {
        return nCommand >= kCmdWriteCh0 && nCommand < kCmdWriteCh0 + 4;
    }

    EAoKind m_eKind = EAoKind::Four;
    int m_nChannelCount = 4;
    int m_nReadChannel = 0;
    int m_nSyncedChannels = 0;
    // What the write of each channel sends: thousandths of the unit, or a raw code.
    std::array<int, 4> m_nOutputValue{};
    std::string m_strModelText;

protected:
    // The kind and channel count of the block's model.
    void TakeModelKind();
    CSliderCtrl* Slider(int channel) const;
    // Enables or disables a channel's panel; its scale labels too unless scaleLabels is false.
    void EnableChannel(int channel, bool enable, bool scaleLabels = true);
    void ShowRangeLabels(const SAoRange& range, int channel);
    void SetSliderRange(const SAoRange& range, int channel, bool pageSize);
    // The ReadBack edit of the channel; its first value, and the first after a refused write,
    // also set the Output edit and slider.
    void ShowValue(int channel, const std::string& text);
    // The module's value in the channel's Output edit and slider, unless the operator's write to
    // the channel waits: the controls keep the operator's value until the module hears it.
    void ShowModuleValue(int channel, const std::string& text, int position);
    // The module refused the channel's write: its next value shows in the Output edit and slider.
    bool ModuleValueDue(int channel) const
    {
        return m_bModuleValueDue[static_cast<size_t>(channel)];
    }
    // The answer to the write of an output (its command) settles it.
    void SettleOutputWrite(int nCommand, EWriteAnswer answer);
    // The configuration outcome from a tick, then the dialog closes.
    void ShowOutcome(const char* text);
    // The write-back of a configuration: the choice with the range code and the new data-format
    // digits, and an empty Description when asked.
    Texts AoRowTexts(const SSettingsChoice& choice, bool clearDescription) const;
    Texts AoParams(const SSettingsChoice& choice, const std::string& rangeCode,
                   const SAoFormatDigits& digits) const;
    // A configuration request with that write-back. A protocol switch goes to the address the
    // module answers to, so the polls and the row keep that address.
    SConfiguration AoConfiguration(std::string request, const SSettingsChoice& choice,
                                   const std::string& rangeCode, const SAoFormatDigits& digits,
                                   bool clearDescription, bool protocolSwitch) const;

    // The text an Output edit shows for a slider position.
    virtual std::string SliderText(int position) const = 0;

private:
    void QueueSliderWrite(int k);
    void QueueTypedWrite(int k);

    bool m_bRefusing = false; // a refused output's message is up
    std::array<bool, 4> m_bModuleValueDue{};
};

// Message-map entries of the four sliders' releases and the four Output edits' focus losses.
#define ON_AO_CHANNEL_CONTROLS()                                                                   \
    ON_NOTIFY(NM_RELEASEDCAPTURE, kAoChannels[0].nSlider, OnReleasedcaptureSlider<0>)              \
    ON_NOTIFY(NM_RELEASEDCAPTURE, kAoChannels[1].nSlider, OnReleasedcaptureSlider<1>)              \
    ON_NOTIFY(NM_RELEASEDCAPTURE, kAoChannels[2].nSlider, OnReleasedcaptureSlider<2>)              \
    ON_NOTIFY(NM_RELEASEDCAPTURE, kAoChannels[3].nSlider, OnReleasedcaptureSlider<3>)              \
    ON_EN_KILLFOCUS(kAoChannels[0].nOutput, OnKillfocusOutput<0>)                                  \
    ON_EN_KILLFOCUS(kAoChannels[1].nOutput, OnKillfocusOutput<1>)                                  \
    ON_EN_KILLFOCUS(kAoChannels[2].nOutput, OnKillfocusOutput<2>)                                  \
    ON_EN_KILLFOCUS(kAoChannels[3].nOutput, OnKillfocusOutput<3>)
