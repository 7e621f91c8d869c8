// The eight-channel analog-input dialog over ASCII, which also serves the single-channel models
// with alarm limits and two digital outputs.
#pragma once

#include "AlarmInput.h"

class CM6384 : public CAlarmInputDlg {
public:
    explicit CM6384(CWnd* pParent = nullptr);

    BOOL OnInitDialog() override;
    void DoDataExchange(CDataExchange* pDX) override;
    void PollStep() override;

    void OnSetting();

    void ShowChannelValue(int channel, const std::string& text);

    bool m_bTypeRead = false;
    std::string m_strFormatHighDigit;
    std::string m_strModelText;
    // Whether the configuration that went out was the switch to Modbus RTU.
    bool m_bProtocolSwitch = false;

    DECLARE_MESSAGE_MAP()

private:
    // m_nCommand beyond the requests of the base: the start-up read of the configuration.
    enum : int { kCmdReadConfiguration = 31 };

    void ShowFailureTexts();
    // The poll's readings in the channels' fields.
    void ShowReadings();
    // After a poll: a single-channel model's alarm read, or the one channel-type read.
    void ChooseAfterPoll();
    // False when the reply closed the dialog.
    bool ReadLastCommand();
    // The conversion mode of a "$AA2" reply; false when the reply is none.
    bool ReadConfigurationMode();
    // The "$AA2" read, whose reply the next tick reads.
    std::string ConfigurationRead();
    std::string NextRequest(const std::string& poll);
    void SetStatus(const std::string& text);

    // The start-up "$AA2" got neither its reply nor a refusal: it is asked again between the polls.
    bool m_bConfigurationMissing = false;
};
