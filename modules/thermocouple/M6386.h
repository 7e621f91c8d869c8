// The thermocouple dialog over ASCII. It serves the eight-channel modules (one range for the
// module, channel enable), the per-channel-type 4386A (types per channel, cold-junction reads)
// and the single-channel modules with alarm limits and two outputs shown as lamps. Each tick
// reads the reply to the last request and sends one more; the setting writes one "%" request, or
// switches the module to Modbus RTU, shows the outcome and closes.
#pragma once

#include "Lamps.h"
#include "ModuleDlg.h"
#include "SettingRequest.h"

#include <array>

class CM6386 : public CModuleDlg {
public:
    explicit CM6386(CWnd* pParent = nullptr);

    BOOL OnInitDialog() override;
    void DoDataExchange(CDataExchange* pDX) override;
    void PollStep() override;
    // A click on a lamp switches its output (Shift or Ctrl held: the outputs are sent unchanged).
    void OnLButtonDown(UINT nFlags, CPoint point) override;

    void OnSetting();
    template <int k> void OnEnableChannel() { ToggleChannel(k); }
    void OnCalibrate();
    void OnZeroCalibration();
    void OnSpanCalibration();
    void OnCjcZero();
    void OnCoefficientWrite();
    void OnTemperature();
    void OnReadCjc();
    void OnCoefficientRead();
    void OnReadCjcTemperature();
    void OnChannelRead();
    void OnChannelConfig();
    void OnFollowCh0();
    void OnAlarmHighSetting();
    void OnAlarmLowSetting();
    void OnAlarmTypeSetting();
    void OnClearAlarm();

    // Marks the channels the module's mask reply sets (never unmarks one) and shows the marks.
    void ShowEnableMask(const std::array<bool, 8>& channels);
    // The mask read brought no mask: a box ticked while it was awaited is cleared and its write
    // dropped, and from now on a click writes nothing.
    void ForgetEnableMask();
    void BuildEnableMask();
    // Kind 0 is a channel's reading field; other kinds and channels show nothing.
    void ShowChannelValue(int channel, int kind, const std::string& text);

    // Request kinds (m_nCommand) and the one-shot replies they leave outstanding (m_nLastCommand).
    enum : int {
        kLastNone = 0, // no one-shot reply outstanding
        kPoll = 0,
        kConfigure = 1,
        kResume = 2,
        kCalibrate = 3,
        kZeroCalibration = 4,
        kSpanCalibration = 5,
        kCjcZero = 6,
        kHighLimitRead = 7,
        kLowLimitRead = 8,
        kOutputRead = 9,
        kCoefficientWrite = 10,
        kHighLimitWrite = 11,
        kLowLimitWrite = 12,
        kTemperature = 13,
        kReadCjc = 14,
        kCoefficientRead = 15,
        kOutputWrite = 19,
        kEnableWrite = 20,
        kAlarmModeWrite = 24,
        kClearAlarm = 25,
        kChannelRead = 28,
        kChannelConfig = 29,
        kAlarmModeRead = 30,
        kCjcTemperatureRead = 31,
        kFollowWrite = 32,
        kEnableRead = -1,
    };
    // Which alarm read is outstanding (m_nAlarmReadState).
    enum : int { kNoAlarmRead = 0, kHighRead = 1, kLowRead = 2, kOutputsRead = 3, kModeRead = 4 };

    std::array<int, 8> m_bChannelEnabled{};
    std::string m_strEnableMask;
    bool m_bMaskMissing = false; // the mask read was answered by no reply of its shape
    std::string m_strChannelRequest;
    bool m_bChannelTypeAsked = false; // the 4386A reads its channel type once
    int m_nAlarmReadState = kNoAlarmRead;
    int m_nLimitReads = 0;
    int m_bLowLampOn = 0;
    int m_bHighLampOn = 0;
    int m_nOutputRequest = 0; // the output digit the last lamp click asks for
    // Cold junction and calibration.
    std::string m_strCjcSign;
    std::string m_strCjcOffsetHex;
    DWORD m_dwCalibrationTick = 0;
    std::string m_strCjcZero = "+0000";
    std::string m_strCoefficientHex;
    // "FOLLOW CH0": CH0's type written to CH0 to CH7 in turn, one write per acknowledgement.
    SSequence m_follow;
    int m_nFollowTypeRow = 0;
    // Alarm limits and mode as checked at the click.
    std::string m_strHighLimit;
    std::string m_strLowLimit;
    std::string m_strAlarmModeBody;

    DECLARE_MESSAGE_MAP()

private:
    bool IsEightChannel() const;
    bool IsPerChannelModel() const;
    bool IsSingleChannel() const;
    void SetControlStates();
    DWORD SelectSettings();
    void ToggleChannel(int k);

    // False when the reply was the configuration's and the dialog has closed.
    bool EvaluateReply();
    void ReadAlarmReply();
    void ReadChannelType();
    void ReadCalibrationReply(int last);
    void ReadChannelWrite(int last);
    // Shows the outcome of a one-shot request of the status table; false for any other request.
    bool ShowOneShotOutcome(int last);
    int SelectedChannel() const;
    std::string ChannelWriteRequest(int channel, int typeRow) const;
    void ShowReadings();
    void ShowLamps(const std::string& outputs);
    std::string NextRequest();
    std::string OneShotRequest();
    std::string PollOrAutomaticRequest();
    void SendConfiguration();

    std::string m_strModelText;
    bool m_bModbusChosen = false;   // the setting asked for Modbus RTU
    std::string m_strSwitchAddress; // where the module answers once the setting request is done
    bool m_bSettingRefused = false;
    CLamps m_lamps; // the low-limit lamp, then the high-limit lamp
};
