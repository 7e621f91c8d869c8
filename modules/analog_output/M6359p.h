// The ASCII dialog of the four-channel output module with four digital inputs (4359A): each
// channel's range, current value and startup value, the inputs as lamps, one output written from
// the slider or the value edit, the startup values written in turn, and the configuration.
#pragma once

#include "Lamps.h"
#include "ModuleDlg.h"

#include <array>

class CM6359p : public CModuleDlg {
public:
    explicit CM6359p(CWnd* pParent = nullptr);

    BOOL OnInitDialog() override;
    void PollStep() override;

    template <int ch> void OnSelchangeRange() { QueueRangeWrite(ch); }
    void OnRefresh();
    void OnUpdate();
    void OnUpdateStartup();
    void OnSelchangeChannel();
    void OnReleasedcaptureSlider();
    void OnOutput();

    int m_nStep = 0;
    std::array<std::string, 10> m_strReadBack;
    // Per channel, what its last write asks for: the output value, the range code, the startup
    // value.
    std::array<std::string, 4> m_strValue;
    std::array<std::string, 4> m_strRangeCode;
    std::array<std::string, 4> m_strStartupValue;

    DECLARE_MESSAGE_MAP()

private:
    enum : int {
        kCmdRangeRead = -1,
        kCmdValueCycle = 0,
        kCmdFirstValue = 2,
        kCmdConfigure = 3,
        kCmdOutput0 = 4, // 4 to 7: the output of CH0 to CH3
        kCmdFirstRange = 12,
        kCmdRangeWrite0 = 20,   // 20 to 23: the range of CH0 to CH3
        kCmdStartupWrite0 = 30, // 30 to 33: the startup value of CH0 to CH3
    };
    enum : int {
        kLastNone = 0,
        kLastWrite = 2, // m_nCommand tells which
        kLastConfigure = 3,
        kLastRangesRead = 4,
        kLastValuesRead = 5,
    };
    // The range read: four ranges, then four startup values; the value cycle: four values, then
    // the inputs.
    enum : int { kRangeSteps = 8, kValueSteps = 5, kInputsStep = 4 };

    void QueueRangeWrite(int channel);
    void ReadReply();
    // The reading the reply to a read of the range read or the value cycle brings, taken before
    // an operator's request may interrupt the sequence: a module that answers a read lets a write
    // it did not hear go out again.
    void TakeStepReading();
    std::string NextRequest();
    // The reading of the step in hand, or nothing, which marks the sequence as missed.
    void TakeReading(const std::optional<std::string>& reading);
    // The end of the range read or the value cycle: its first steps entries are shown next.
    void EndSequence(int steps, int nLastCommand);
    std::string RangeReadStep();
    std::string ValueCycleStep();
    void ShowRanges();
    void ShowValues();
    int ChannelRow(int channel) const;
    int SelectedChannel() const;

    // The request of a channel's write (its command), which keeps what it sends.
    std::string WriteRequest(int nCommand);
    void SettleChannelWrite(int nCommand);
    void SettleOutputWrite(int channel);
    void SettleRangeWrite(int channel);
    void SettleStartupWrite(int channel);
    bool StartupWritePending() const;
    void ShowModuleRange(int channel);

    CLamps m_lamps;
    bool m_bSequenceMissed = false; // a reply of the sequence under way fitted no step
    std::string m_strSent;          // what the write in flight sends
    // What the module holds, as far as the dialog knows: read, or written and heard.
    std::array<std::string, 4> m_strModuleValue;
    std::array<int, 4> m_nModuleRange{-1, -1, -1, -1};
    std::array<std::string, 4> m_strModuleStartup;
    // The startup values of the last Update: underway until all four are settled, and which
    // of them the module has heard.
    bool m_bStartupUnderway = false;
    int m_nStartupHeard = 0;
};
