// The Modbus RTU dialog of the four-channel output module with digital inputs (4359A): the four
// output codes as engineering values, the inputs as lamps, the registers and coils as a list,
// each channel's range and one channel's output code. It changes no configuration and writes
// nothing back.
#pragma once

#include "Lamps.h"
#include "ModuleDlg.h"

#include <array>

class CM6359pModbus : public CModuleDlg {
public:
    explicit CM6359pModbus(CWnd* pParent = nullptr);

    BOOL OnInitDialog() override;
    void PollStep() override;

    template <int ch> void OnSelchangeRange() { QueueRangeWrite(ch); }
    void OnSelchangeChannel();
    void OnReleasedcaptureSlider();
    void OnSetting();
    void OnRefresh();

    int m_bReadInputs = 0;
    std::array<std::string, 4> m_strRawCode;
    std::array<std::string, 4> m_strValueText;
    std::array<std::string, 4> m_strInputState;
    std::string m_strRegisterDigit;
    std::string m_strRegisterValue;
    int m_nSliderSpan = 20000;

    DECLARE_MESSAGE_MAP()

private:
    enum : int { kCmdFirstReply = -1, kCmdPoll = 0, kCmdRangeWrite = 10, kCmdOutputWrite = 11 };
    enum : int { kLastNone = 0, kLastRead = 2, kLastWrite = 3 };

    void QueueRangeWrite(int channel);
    void ReadRanges(const std::string& data);
    void ReadPoll(const std::string& data);
    void ShowReadings();
    std::string NextRequest();
    int ChannelRow(int channel) const;

    CLamps m_lamps;
};
