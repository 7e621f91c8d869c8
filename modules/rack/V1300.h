// The analog input slot dialog for the 1300 (3 RTD channels), 1384 (8 voltage/current channels)
// and 1386 (7 thermocouple channels): the range, integration time and data format (written only
// with the main unit at address 00), each channel's value and unit, the enable mask, and the
// alarm group. After the configuration and mask reads it polls value and lamps channel by channel.
#pragma once

#include "AnalogSlotDlg.h"
#include "SlotAi.h"

class CV1300 : public CAnalogSlotDlg {
public:
    // The steps of m_nCommand and m_nLastCommand.
    enum : int {
        kReadMask = -1,
        kValue0 = 1, // to 7: the values of channels 0 to 6
        kConfigure = 8,
        kWriteMask = 9,
        kValue7 = 10,
        kReadHighLimit = 11,
        kReadLowLimit = 12,
        kReadHighType = 13,
        kReadLowType = 14,
        kStatus0 = 15, // to 22: the lamps of channels 0 to 7
        kSetHighType = 25,
        kSetLowType = 26,
        kSetHighLimit = 27,
        kSetLowLimit = 28,
        kEnableHigh = 30,
        kEnableLow = 31,
        kClearHigh = 32,
        kClearLow = 33,
        kWait = 35,
        kReadConfiguration = 50,
    };

    explicit CV1300(CWnd* pParent = nullptr);

    BOOL OnInitDialog() override;

    void OnUpdateSetting();
    void OnUpdateEnable();

    int m_nChannelsRead = 0;

    DECLARE_MESSAGE_MAP()

private:
    bool ReadReply(int step) override;
    std::string StepRequest() override;
    int NextAfterStatus(int channel) override;
    void SetUpModel();
    // A channel row past the model's channels, as its slot model has them shown.
    void GreySpareRow(int channel);
    void HideSpareRow(int channel);
    void EnableConfiguration();
    // The configuration reply's data after "!AA" into the lists and units.
    void ReadConfiguration(const std::string& configuration);
    std::optional<std::string> ConfigurationBody() const;
    int Row(int id) const;
    static int ValueStep(int channel);

    const SAiSlotModel* m_pModel = nullptr;
    int m_nRangeList = 0;
};
