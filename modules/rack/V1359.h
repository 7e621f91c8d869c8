// The analog output slot dialog for the 1359: per channel its range, the value to send (typed or
// set with a slider) and the value read back; the chosen channel's slew rate, start-up value and
// the 4 mA and 20 mA trims. Configuration reads, then read-backs one channel a tick.
#pragma once

#include "RackDlg.h"
#include "SlotAo.h"

#include <array>

class CV1359 : public CRackDlg {
public:
    // The steps of m_nCommand and m_nLastCommand.
    enum : int {
        kConfiguration0 = 1, // to 4: the configuration of channels 0 to 3
        kReadBack0 = 5,      // to 8: the output of channels 0 to 3
        kUpdateGeneral = 10,
        kUpdateChannel0 = 11, // to 14
        kSendAsInitial = 15,
        kDrive4mA = 17,
        kDrive20mA = 18,
        kSendOutput0 = 20, // to 23: the output value of channels 0 to 3, one control a channel
    };

    explicit CV1359(CWnd* pParent = nullptr);

    BOOL OnInitDialog() override;
    void OnTimerEnded(UINT_PTR nIDEvent) override;
    void OnHScroll(UINT nSBCode, UINT nPos, CWnd* pScrollBar) override;

    void OnSelchangeChannel();
    void OnUpdateGeneral();
    template <int n> void OnUpdateChannel() { UpdateChannel(n); }
    template <int n> void OnSendAsInitial() { SendAsInitial(n); }
    template <int n> void OnSend() { SendOutput(n); }
    void OnTrim4mA();
    void OnTrim20mA();

    std::string m_strChannel = "0";
    std::string m_strNewSlewCode;
    std::string m_strCurRangeDigit;
    std::array<std::string, 4> m_strChRange;
    std::array<std::string, 4> m_strChSlew;
    std::string m_strSendChannel;
    int m_nOutputFills = 0;
    std::array<float, 4> m_fSliderPos{};
    std::array<std::string, 4> m_strOutValue;
    std::array<std::string, 4> m_strSliderText;
    std::array<float, 4> m_fOutValue{};

    DECLARE_MESSAGE_MAP()

private:
    bool ReadReply(int step) override;
    // A channel's configuration after "!AA", and its output as the module reports it.
    void ReadConfiguration(int channel, const std::string& configuration);
    void ReadBack(int channel, const std::string& text);
    // The channel's output edit, value and slider take a value the module reports.
    void ShowOutput(int channel, const std::string& text);
    void ShowOutcome(int step, bool accepted);
    static bool IsSend(int step) { return step >= kSendOutput0 && step < kSendOutput0 + 4; }
    // A Send heard shows its success and the values sent; refused, its error and the channel's
    // output as the module reports it; not heard, it stays pending and shows nothing.
    void SettleSend(int step);
    void HandOverToTrim(const STrimVariant& variant);
    std::string StepRequest() override;
    void UpdateChannel(int channel);
    void SendAsInitial(int channel);
    void SendOutput(int channel);
    void Command(int step);
    int RangeRow(int channel) const;
    void MoveSlider(int channel, float value);
    CSliderCtrl* Slider(int channel) const;

    const STrimVariant* m_pPendingTrim = nullptr;
    // Per channel: a refused Send left the output showing a read-back that may be older than the
    // refusal; the next read-back shows the module's value.
    std::array<bool, 4> m_bModuleValueDue{};
};
