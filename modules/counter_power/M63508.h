// The power-meter dialog over the meter's ASCII command set: six reading groups in a cycle, the
// 6539's digital I/O, the PT and CT ratios, and the configuration with one "%" command.
#pragma once

#include "PowerMeterDlg.h"

class CM63508 : public CPowerMeterDlg {
public:
    explicit CM63508(CWnd* pParent = nullptr);

    BOOL OnInitDialog() override;
    void DoDataExchange(CDataExchange* pDX) override;
    void PollStep() override;
    void OnLButtonDown(UINT nFlags, CPoint point) override;

    void OnSetting();
    void OnReadPt() { QueueCommand(31); }
    void OnSetPt();
    void OnReadCt() { QueueCommand(33); }
    void OnSetCt();

    int m_bModbusRtu = 0;  // the "MODBUS/RTU" box: Setting switches the meter to Modbus RTU
    int m_nAsciiGroup = 0; // the step of the reading cycle whose reply comes next
    int m_bSwitchSent = 0; // the configuration that went out switches to Modbus RTU
    std::string m_strPtDigits;
    std::string m_strCtDigits;

    DECLARE_MESSAGE_MAP()

private:
    void ReadLastReply();
    void ReadRatio(int nBox);
    void ShowConfigurationOutcome();
    std::string RunCommand();
    std::string NextCycleRequest();
    std::string GroupRequest(int group) const;
    // The typed ratio of a box as its request's digits; false after the refusal.
    bool TakeRatio(int nBox, std::string& digits);
    void SetStatus(const std::string& text);
};
