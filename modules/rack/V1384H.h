// The speed input slot dialog for the 1384H: the data format (written only with the main unit at
// address 00), each channel's range (written as soon as it is chosen), value and unit, the enable
// mask, and the alarm group. After reading format, mask, ranges and the alarm channel's alarms it
// polls value and lamps channel by channel.
#pragma once

#include "AnalogSlotDlg.h"

class CV1384H : public CAnalogSlotDlg {
public:
    // The steps of m_nCommand and m_nLastCommand.
    enum : int {
        kMaskEdited = -1, // an edited enable mask waits for "Update": nothing is sent
        kReadConfiguration = 1,
        kReadMask = 2,
        kReadRange0 = 3, // to 10: the ranges of channels 0 to 7
        kValue0 = 11,    // value of channel i: 11 + 2i; its lamps 12 + 2i
        kStatus0 = 12,
        kReadHighType = 27,
        kReadHighLimit = 28,
        kReadLowType = 29,
        kReadLowLimit = 30,
        kWait = 31,
        kClearHigh = 32,
        kClearLow = 33,
        kWriteFormat = 34,
        kWriteMask = 35,
        kEnableHigh = 36,
        kSetHighType = 37,
        kEnableLow = 38,
        kSetLowType = 39,
        kSetHighLimit = 40,
        kSetLowLimit = 41,
        kWriteRange0 = 42, // to 49
    };

    explicit CV1384H(CWnd* pParent = nullptr);

    BOOL OnInitDialog() override;

    template <int k> void OnRangeChange() { RangeChange(k); }
    void OnUpdateSetting();
    void OnUpdateEnable();

    int m_nTypeReads = 0;

    DECLARE_MESSAGE_MAP()

private:
    bool ReadReply(int step) override;
    std::string StepRequest() override;
    int NextAfterStatus(int channel) override;
    void RangeChange(int channel);
    // A channel's range code read into its list and unit.
    void ReadRange(int channel, char code);
    int RangeRow(int channel) const;
};
