// The Modbus RTU dialog of the four-channel output module with digital inputs (4359A): the four
// output codes as engineering values, the inputs as lamps, the registers and coils as a list,
// each channel's range and one channel's output code. It changes no configuration and writes
// nothing back.
#pragma once

#include "Lamps.h"
#include "ModuleDlg.h"

#include <array>
#include <optional>
#include <string>

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

    bool m_bReadInputs = false;
    std::array<std::string, 4> m_strRawCode;
    std::array<std::string, 4> m_strValueText;
    std::array<std::string, 4> m_strInputState;
    int m_nSliderSpan = 20000;

    DECLARE_MESSAGE_MAP()

private:
    enum : int {
        kCmdFirstReply = -1,
        kCmdPoll = 0,
        kCmdRangeWrite0 = 10,  // 10 to 13: the range of CH0 to CH3
        kCmdOutputWrite0 = 20, // 20 to 23: the output code of CH0 to CH3
    };
    enum : int { kLastNone = 0, kLastRead = 2, kLastWrite = 3 };

    void QueueRangeWrite(int channel);
    void ReadRanges(const std::string& data);
    void ReadPoll(const std::string& data);
    void ShowReadings();
    std::string NextRequest();
    int ChannelRow(int channel) const;
    // The request of a channel's write (its command), which keeps the value it sends.
    std::string WriteRequest(int nCommand);
    // The echo of the write in flight settles it.
    void SettleChannelWrite();
    // The module's value in the control of a write (its command).
    void ShowModuleValue(int nCommand);

    CLamps m_lamps;
    // Per channel, what its last write asks for: the range row, the output code.
    std::array<int, 4> m_nRangeRow{};
    std::array<int, 4> m_nOutputCode{};
    // The write in flight: its command, request and value.
    int m_nWriteSent = 0;
    std::string m_strWriteRequest;
    int m_nWriteValue = 0;
    // What the module holds, as far as the dialog knows: read, or written and heard. Its
    // readings are scaled by its own range, not by a range still waiting to be written.
    std::array<int, 4> m_nModuleRange{-1, -1, -1, -1};
    std::array<std::optional<int>, 4> m_nModuleCode;
};
