// The thermocouple dialog over ASCII. It serves the eight-channel modules (one range for the
// module, channel enable), the per-channel-type 4386A (types per channel, cold-junction reads)
// and the single-channel modules with alarm limits and two outputs shown as lamps. Each tick
// reads the reply to the last request and sends one more; the setting writes one "%" request, or
// switches the module to Modbus RTU, shows the outcome and closes.
#pragma once

#include "AlarmInput.h"
#include "SettingRequest.h"

class CM6386 : public CAlarmInputDlg {
public:
    explicit CM6386(CWnd* pParent = nullptr);

    BOOL OnInitDialog() override;
    void DoDataExchange(CDataExchange* pDX) override;
    void PollStep() override;

    void OnSetting();
    void OnCalibrate();
    void OnZeroCalibration();
    void OnSpanCalibration();
    void OnCjcZero();
    void OnCoefficientWrite();
    void OnTemperature();
    void OnReadCjc();
    void OnCoefficientRead();
    void OnReadCjcTemperature();

    // Kind 0 is a channel's reading field; other kinds and channels show nothing.
    void ShowChannelValue(int channel, int kind, const std::string& text);

    // m_nCommand beyond the requests of the base: calibration and the cold junction.
    enum : int {
        kCmdCalibrate = 3,
        kCmdZeroCalibration = 4,
        kCmdSpanCalibration = 5,
        kCmdCjcZero = 6,
        kCmdCoefficientWrite = 10,
        kCmdTemperature = 13,
        kCmdReadCjc = 14,
        kCmdCoefficientRead = 15,
        kCmdCjcTemperatureRead = 31,
    };

    bool m_bChannelTypeAsked = false; // the 4386A reads its channel type once
    // Cold junction and calibration.
    std::string m_strCjcSign;
    std::string m_strCjcOffsetHex;
    DWORD m_dwCalibrationTick = 0;
    std::string m_strCjcZero = "+0000";
    std::string m_strCoefficientHex;

    DECLARE_MESSAGE_MAP()

private:
    bool IsEightChannel() const;
    bool IsPerChannelModel() const;
    bool IsSingleChannel() const;
    void SetControlStates();
    DWORD SelectSettings();

    // False when the reply was the configuration's and the dialog has closed.
    bool EvaluateReply();
    void ReadCalibrationReply(int last);
    // Shows the outcome of a one-shot request of the status table; false for any other request.
    bool ShowOneShotOutcome(int last);
    void ShowReadings();
    std::string NextRequest();
    std::string OneShotRequest();
    std::string PollOrAutomaticRequest();
    void SendConfiguration();

    std::string m_strModelText;
    bool m_bModbusChosen = false;   // the setting asked for Modbus RTU
    std::string m_strSwitchAddress; // where the module answers once the setting request is done
    bool m_bSettingRefused = false;
};
