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

    // What the next tick sends (m_nCommand) and whose reply it reads (m_nLastCommand); output
    // writes are kCmdWriteCh0 + channel, and are their own m_nLastCommand, as are the range
    // commands.
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
    bool m_bProtocolSwitch = false; // the configuration request is the switch to Modbus RTU

    DECLARE_MESSAGE_MAP()

protected:
    std::string SliderText(int position) const override;

private:
    // A two-channel model's range and slew rows of one channel.
    struct SRangeRows {
        int nRange = -1;
        int nSlew = -1;
    };

    void ApplyModuleRange(const std::string& code, bool pageSize);
    bool ReadChannelRange(int channel);
    void ApplyChannelRange(int channel, int row);
    void QueueRangeCommand(int channel, int rangeBox, int slewBox);
    void ShowRangeRows(int channel, const SRangeRows& rows);
    std::string FirstReadRequest();
    // The value of a read-back's reply: "!AA" and one value of the model's shape.
    std::optional<std::string> ReadBackValue() const;
    std::string ReadBack();
    std::string OutputWrite(int channel) const;
    // The reply to an output write or a range command settles it; false when the last request
    // was none.
    bool SettleLastWrite();
    void SettleRangeCommand(int channel);
    // The configuration's outcome closes the dialog.
    void EndConfiguration();
    std::string NextRequest();

    // Per channel (CH0, CH1): the rows the module works in, those of the last click and those of
    // the range command in flight.
    std::array<SRangeRows, 2> m_moduleRows;
    std::array<SRangeRows, 2> m_askedRows;
    std::array<SRangeRows, 2> m_sentRows;
};
