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

    void OnSetting();
    template <int k> void OnEnableChannel() { ToggleChannel(k); }

    // Marks the channels the enable reply's mask digits set (a digit that is not a hex digit marks
    // none), never unmarks one, and shows the marks.
    void ParseEnableMask(char low, char high);
    void BuildEnableMask();
    // Kind 0 is a channel's reading field; other kinds and channels show nothing.
    void ShowChannelValue(int channel, int kind, const std::string& text);

    // Request kinds (m_nCommand) and the one-shot replies they leave outstanding (m_nLastCommand).
    enum : int {
        kPoll = 0,
        kConfigure = 1,
        kResume = 2,
        kHighLimitRead = 7,
        kLowLimitRead = 8,
        kOutputRead = 9,
        kEnableWrite = 20,
        kChannelRead = 28,
        kAlarmModeRead = 30,
        kCjcTemperatureRead = 31,
        kEnableRead = -1,
    };
    // Which alarm read is outstanding (m_nAlarmReadState).
    enum : int { kNoAlarmRead = 0, kHighRead = 1, kLowRead = 2, kOutputsRead = 3, kModeRead = 4 };

    std::array<int, 8> m_bChannelEnabled{};
    std::string m_strEnableMask;
    std::string m_strSendCommand;
    std::string m_strChannelRequest;
    int m_nAutoReadStep = 0;
    int m_nAlarmReadState = kNoAlarmRead;
    int m_nLimitReads = 0;
    int m_bLowLampOn = 0;
    int m_bHighLampOn = 0;

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
    void ShowReadings();
    void ShowLamps(const std::string& outputs);
    std::string NextRequest();
    std::string PollOrAutomaticRequest();
    void SendConfiguration();

    std::string m_strModelText;
    bool m_bModbusChosen = false;   // the setting asked for Modbus RTU
    std::string m_strSwitchAddress; // where the module answers once the setting request is done
    bool m_bSettingRefused = false;
    CLamps m_lamps; // the low-limit lamp, then the high-limit lamp
};
