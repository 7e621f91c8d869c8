// The one-, two- and four-channel analog-output dialog over ASCII: read-back of every channel in
// turn, outputs set with a slider or typed, range and slew rate per channel on the two-channel
// models, and one configuration change ("%" or the switch to Modbus RTU).
#pragma once

#include "AnalogOutputDlg.h"

class CM6359 : public CAnalogOutputDlg {
public:
    explicit CM6359(CWnd* pParent = nullptr);

    BOOL OnInitDialog() override;
    void PollStep() override;
    // Enter keeps the dialog open and moves the focus to Cancel.
    void OnOK() override;

    void OnSetting();
    void OnCh0();
    void OnCh1();

    // What the next tick sends (m_nCommand) and whose reply it reads (m_nLastCommand); writes are
    // kCmdWriteCh0 + channel.
    enum : int {
        kCmdReadBack = 0,
        kCmdConfigure = 1,
        kCmdFirstRead = 2,
        kCmdRangeCh0 = 30,
        kCmdRangeCh1 = 31,
        kLastNone = 0,
        kLastConfigure = 100,
    };

    int m_nOutputKind = kAoCurrent;
    int m_bProtocolSwitch = 0;     // the configuration request is the switch to Modbus RTU
    std::string m_strRangeRequest; // "$AA9i..." of the last CH0 or CH1 click
    int m_nRangeRow = -1;          // the range row that request carries
    int m_nRangeSent = -1;         // the range row of the range command in flight

    DECLARE_MESSAGE_MAP()

protected:
    std::string SliderText(int position) const override;

private:
    void ApplyModuleRange(const std::string& code, bool pageSize);
    bool ReadChannelRange(int channel);
    void ApplyChannelRange(int channel, int row);
    void QueueRangeCommand(int channel, int rangeBox, int slewBox, int command);
    std::string FirstReadRequest();
    // The value of a read-back's reply: "!AA" and one value of the model's shape.
    std::optional<std::string> ReadBackValue() const;
    std::string ReadBack();
    std::string OutputWrite(int channel) const;
    // False when the reply closed the dialog.
    bool ReadLastCommand();
    std::string NextRequest();
};
