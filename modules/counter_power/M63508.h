// The power-meter dialog over the meter's ASCII command set: six reading groups in a cycle, the
// 6539's digital I/O, the PT and CT ratios, and the configuration with one "%" command.
#pragma once

#include "PowerMeterDlg.h"

class CM63508 : public CPowerMeterDlg {
public:
    explicit CM63508(CWnd* pParent = nullptr);

    BOOL OnInitDialog() override;
    void DoDataExchange(CDataExchange* pDX) override;
    void OnLButtonDown(UINT nFlags, CPoint point) override;

    void OnSetting();
    void OnReadPt() { QueueCommand(kCmdReadPt); }
    void OnSetPt();
    void OnReadCt() { QueueCommand(kCmdReadCt); }
    void OnSetCt();

    bool m_bModbusRtu = false;  // the "MODBUS/RTU" box: Setting switches the meter to Modbus RTU
    bool m_bSwitchSent = false; // the configuration that went out switches to Modbus RTU
    std::string m_strPtDigits;
    std::string m_strCtDigits;

    DECLARE_MESSAGE_MAP()

private:
    // m_nCommand: what the next tick sends, besides the cycle and its restart.
    enum : int {
        kCmdConfigure = 1,
        kCmdOutputs = 30,
        kCmdReadPt = 31,
        kCmdSetPt = 32,
        kCmdReadCt = 33,
        kCmdSetCt = 34,
    };
    // m_nLastCommand: whose reply the next tick reads.
    enum : int {
        kLastOutputs = 30,
        kLastReadPt = 50,
        kLastSetPt = 51,
        kLastReadCt = 52,
        kLastSetCt = 53,
        kLastConfigure = 100,
    };

    void ReadSettingReply() override;
    bool SettleLastWrite() override;
    bool OutputsPending() const override { return WritePending(kCmdOutputs); }
    // A group's register digits and nothing more; the two digits of the digital I/O where they
    // are shown.
    bool CycleReplyFits() const override;
    void ReadLastReply() override;
    std::string RunOtherCommand() override;
    std::string NextCycleRequest() override;
    void ReadRatio(int nBox);
    // The typed ratio of a box as its request's digits; false after the refusal.
    bool TakeRatio(int nBox, std::string& digits);
    void SetStatus(const std::string& text);
};
