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
    // Marks the channels the module's mask reply sets (never unmarks one) and shows the marks.
    void ShowEnableMask(const std::array<bool, 8>& bits);
    // The mask read brought no mask: a box ticked while it was awaited is cleared and its write
    // dropped, and from now on a click writes nothing.
    void ForgetEnableMask();
    void ShowChannelValue(int channel, const std::string& text);

    std::array<int, 8> m_bChannelEnabled{};
    std::array<int, 8> m_bChannelCheck{};
    std::string m_strEnableMask;
    bool m_bMaskMissing = false; // the mask read was answered by no reply of its shape
    std::string m_strChannelRequest;
    int m_bTypeRead = 0;
    std::string m_strFormatHighDigit;
    // "FOIIOW CHO": CH0's type written to CH0 to CH7 in turn, one write per acknowledged reply.
    SSequence m_follow;
    int m_nFollowType = 0;
    std::string m_strModelText;
    // Alarm limits and outputs of the single-channel models.
    int m_nLastReadCommand = 0; // a read of the single-channel cycle whose reply is due
    int m_nLimitWriteStep = 0;  // 1 or 2 while the high or the low limit write is answered
    int m_nLimitReads = 0;
    std::string m_strHighLimitRequest;
    std::string m_strLowLimitRequest;
    std::array<int, 2> m_bDoState{};
    CLamps m_doLamps; // output 0 (beside "Low Limit") and output 1
    // Whether the configuration that went out was the switch to Modbus RTU.
    int m_bProtocolSwitch = 0;
    // The checksum setting the configuration gives the module, in force once it has gone out.

    DECLARE_MESSAGE_MAP()

private:
    // m_nCommand: the request the next tick sends.
    enum : int {
        kCmdStartMask = -1, // the reply to the opening "$AA6" is due
        kCmdPoll = 0,
        kCmdConfigure = 1,
        kCmdBackToPoll = 2,
        kCmdReadHighLimit = 7,
        kCmdReadLowLimit = 8,
        kCmdReadOutputs = 9,
        kCmdWriteHighLimit = 11,
        kCmdWriteLowLimit = 12,
        kCmdWriteOutputs = 19,
        kCmdWriteMask = 20,
        kCmdAlarmMode = 24,
        kCmdAlarmClear = 25,
        kCmdChannelRead = 28,
        kCmdChannelWrite = 29,
        kCmdReadAlarmMode = 30,
        kCmdReadConfiguration = 31,
        kCmdFollowWrite = 32,
    };
    // m_nLastCommand beyond the commands themselves.
    enum : int { kLastNone = 0, kLastConfigure = 100 };
    // m_nLastReadCommand: the read of the alarm cycle whose reply is due.
    enum : int {
        kReadNone = 0,
        kReadHighLimit = 1,
        kReadLowLimit = 2,
        kReadOutputs = 3,
        kReadAlarmMode = 4,
        kReadConfiguration = 5,
        kReadClear = 25,
    };
    enum : int { kLimitWriteNone = 0, kLimitWriteHigh = 1, kLimitWriteLow = 2 };

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
