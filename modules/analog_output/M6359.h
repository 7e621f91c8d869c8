// The one-, two- and four-channel analog-output dialog over ASCII: read-back of every channel in
// turn, outputs set with a slider or typed, range and slew rate per channel on the two-channel
// models, and one configuration change ("%" or the switch to Modbus RTU).
#pragma once

#include "AoCodes.h"
#include "ModuleDlg.h"

#include <array>

class CM6359 : public CModuleDlg {
public:
    explicit CM6359(CWnd* pParent = nullptr);

    BOOL OnInitDialog() override;
    void DoDataExchange(CDataExchange* pDX) override;
    void PollStep() override;
    void OnHScroll(UINT nSBCode, UINT nPos, CWnd* pScrollBar) override;
    // Enter keeps the dialog open and moves the focus to Cancel.
    void OnOK() override;
    void OnEnterKey() override { OnOK(); }

    void OnSetting();
    template <int k> void OnReleasedcaptureSlider() { QueueSliderWrite(k); }
    template <int k> void OnKillfocusOutput() { QueueTypedWrite(k); }
    void OnCh0();
    void OnCh1();

    // What the next tick sends (m_nCommand) and whose reply it reads (m_nLastCommand).
    enum : int {
        kCmdReadBack = 0,
        kCmdConfigure = 1,
        kCmdFirstRead = 2,
        kCmdWriteCh0 = 10, // to 13: the output of channel 0 to 3
        kCmdRangeCh0 = 30,
        kCmdRangeCh1 = 31,
        kLastConfigure = 100,
    };

    EAoKind m_eKind = EAoKind::Four;
    int m_nChannelCount = 4;
    int m_nReadChannel = 0;
    int m_nSyncedChannels = 0;
    int m_nOutputKind = kAoCurrent;
    std::array<int, 4> m_nOutputValue{}; // the output a queued write sends, in thousandths
    int m_bRestartCycle = 0;
    int m_bProtocolSwitch = 0; // the configuration request is the switch to Modbus RTU
    std::string m_strModelText;
    std::string m_strRangeRequest; // "$AA9i..." of the last CH0 or CH1 click

    DECLARE_MESSAGE_MAP()

private:
    void ApplyRange(const SAoRange& range, int firstChannel, int lastChannel, bool pageSize);
    void ApplyModuleRange(const std::string& code, bool pageSize);
    bool ReadChannelRange(int channel);
    void QueueSliderWrite(int k);
    void QueueTypedWrite(int k);
    void QueueRangeCommand(int channel, int rangeBox, int slewBox, int command);
    std::string FirstReadRequest();
    std::string ReadBack();
    std::string OutputWrite(int channel) const;
    void ShowValue(int channel, const std::string& text);
    // False when the reply closed the dialog.
    bool ReadLastCommand();
    std::string NextRequest();
    void ShowOutcome(const char* text);

    CModuleDlg::Texts m_rowTexts; // the write-back, made when the configuration goes out
    CModuleDlg::Texts m_params;
    bool m_bRefusing = false; // a refused output's message is up
};
