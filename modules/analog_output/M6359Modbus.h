// The one-, two- and four-channel analog-output dialog over Modbus RTU: the output registers as
// the module reports them, outputs set with a slider (or typed on CH1 of the two-channel models),
// and one configuration change: a new slave address or the switch to ASCII.
#pragma once

#include "AoCodes.h"
#include "ModuleDlg.h"

#include <array>

class CM6359Modbus : public CModuleDlg {
public:
    explicit CM6359Modbus(CWnd* pParent = nullptr);

    BOOL OnInitDialog() override;
    void DoDataExchange(CDataExchange* pDX) override;
    void PollStep() override;
    void OnHScroll(UINT nSBCode, UINT nPos, CWnd* pScrollBar) override;

    void OnSetting();
    template <int k> void OnReleasedcaptureSlider() { QueueSliderWrite(k); }
    template <int k> void OnKillfocusOutput() { QueueTypedWrite(k); }

    // What the next tick sends (m_nCommand) and whose reply it reads (m_nLastCommand).
    enum : int {
        kCmdRead = 0,
        kCmdConfigure = 1,
        kCmdRestart = 2, // the value cycle starts again at channel 0
        kCmdReadCh1Range = 3,
        kCmdWriteCh0 = 10, // to 13: the output of channel 0 to 3
        kLastCycle = 1,
        kLastCh1Range = 3,
        kLastConfigure = 100,
    };

    EAoKind m_eKind = EAoKind::Four;
    int m_nChannelCount = 4;
    int m_nReadChannel = 0;
    int m_nSyncedChannels = 0;
    int m_nOutputKind = -1; // not set until a range code is read
    int m_bRestartCycle = 0;
    // The register value a queued write of each channel sends.
    std::array<int, 4> m_nOutputRegister{};
    std::string m_strModelText;

    DECLARE_MESSAGE_MAP()

private:
    void ShowRange(const SAoRange& range, int channel);
    void SetSliderRange(const SAoRange& range, int channel);
    // A range code for every channel's labels and the given sliders; other codes change nothing.
    void ApplyRangeCode(const std::string& code, int sliders);
    void RawSetUp();
    void QueueSliderWrite(int k);
    void QueueTypedWrite(int k);
    std::string ValueRead() const;
    std::string FourChannelStep();
    std::string CycleStep();
    void ShowFourValues();
    void ShowCycleValue();
    std::string OutputWrite(int channel) const;
    std::string SettingRequest();
    void ShowOutcome(const char* text);
    void Send(const std::string& request);

    bool m_bKeepReply = false; // the last exchange was a write: its echo is no reading
    bool m_bAsciiSwitch = false;
    bool m_bRefusing = false;
    CModuleDlg::Texts m_rowTexts; // the write-back, made when the configuration goes out
    CModuleDlg::Texts m_params;
};
