// The eight-channel analog-input dialog over ASCII, which also serves the single-channel models
// with alarm limits and two digital outputs.
#pragma once

#include "Lamps.h"
#include "ModuleDlg.h"

#include <array>

class CM6384 : public CModuleDlg {
public:
    explicit CM6384(CWnd* pParent = nullptr);

    BOOL OnInitDialog() override;
    void DoDataExchange(CDataExchange* pDX) override;
    void PollStep() override;
    void OnLButtonDown(UINT nFlags, CPoint point) override;

    void OnSetting();
    template <int k> void OnChannelCheck() { ToggleChannel(k); }
    void OnChannelRead();
    void OnChannelConfigure();
    void OnFollowChannel0();
    void OnAlarmValueSetting();
    void OnAlarmTypeSetting();
    void OnAlarmClear();

    void BuildEnableMask();
    void ParseEnableMask(char low, char high);
    void ShowChannelValue(int channel, const std::string& text);

    std::array<int, 8> m_bChannelEnabled{};
    std::array<int, 8> m_bChannelCheck{};
    std::string m_strEnableMask;
    std::string m_strChannelRequest;
    int m_bTypeRead = 0;
    std::string m_strFormatHighDigit;
    int m_bFollowCh0 = 0;
    int m_nFollowChannel = 0;
    int m_nFollowType = 0;
    std::string m_strModelText;
    // Alarm limits and outputs of the single-channel models.
    int m_nLastReadCommand = 0;
    int m_nLimitWriteStep = 0;
    int m_nLimitReads = 0;
    std::string m_strHighLimitRequest;
    std::string m_strLowLimitRequest;
    std::array<int, 2> m_bDoState{};
    CLamps m_doLamps; // output 0 (beside "Low Limit") and output 1
    // Whether the configuration that went out was the switch to Modbus RTU.
    int m_bProtocolSwitch = 0;

    DECLARE_MESSAGE_MAP()

private:
    bool IsSingleChannel() const;
    void ToggleChannel(int k);
    void ShowFailureTexts();
    void ReadReadings();
    void ReadLimitWrites();
    void ReadAlarmReads();
    // False when the reply closed the dialog.
    bool ReadLastCommand();
    void ReadChannelTypeReply();
    void ReadFollowReply();
    void ReadConfigurationMode();
    std::string ChannelTypeRequest(char op, int channel, int typeRow) const;
    std::string NextRequest(const std::string& poll);
    void SetStatus(const std::string& text);
    void ShowLamps(const std::string& outputs);
};
