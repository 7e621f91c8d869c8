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
    int m_nSetupChannel = 0;
    std::array<std::string, 10> m_strReadBack;
    std::array<std::string, 4> m_strValue;
    std::string m_strRangeCode;
    std::string m_strChannel;

    DECLARE_MESSAGE_MAP()

private:
    enum : int {
        kCmdRangeRead = -1,
        kCmdValueCycle = 0,
        kCmdFirstValue = 2,
        kCmdConfigure = 3,
        kCmdOutput0 = 4, // 4 to 7: the output of CH0 to CH3
        kCmdRangeWrite = 10,
        kCmdStartupWrite = 11,
        kCmdFirstRange = 12,
    };
    enum : int {
        kLastNone = 0,
        kLastRangeWrite = 2,
        kLastConfigure = 3,
        kLastRangesRead = 4,
        kLastValuesRead = 5,
        kLastOutput = 6,
        kLastStartupWrite = 11,
    };
    // The range read: four ranges, then four startup values; the value cycle: four values, then
    // the inputs.
    enum : int { kRangeSteps = 8, kValueSteps = 5, kInputsStep = 4, kAllSetUp = 5 };

    void QueueRangeWrite(int channel);
    void ReadReply();
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

    CLamps m_lamps;
    bool m_bSequenceMissed = false; // a reply of the sequence under way fitted no step
};
