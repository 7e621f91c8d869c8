// The power-meter dialog over Modbus RTU: the six reading groups in a cycle, a new slave address,
// and the switch to the ASCII command set.
#pragma once

#include "PowerMeterDlg.h"

class CM6530rtu : public CPowerMeterDlg {
public:
    explicit CM6530rtu(CWnd* pParent = nullptr);

    BOOL OnInitDialog() override;
    void DoDataExchange(CDataExchange* pDX) override;

    void OnSetting();

    bool m_bAscii = false; // the "ASCII" box: Setting switches the meter to the ASCII command set

    DECLARE_MESSAGE_MAP()

private:
    // m_nCommand: what the next tick sends, besides the cycle and its restart.
    enum : int { kCmdAddress = 1, kCmdSwitch = 88 };
    // m_nLastCommand: whose reply the next tick reads.
    enum : int { kLastSwitch = 88, kLastAddress = 100 };

    // The verdict on the address write or the protocol switch, from that request's own exchange.
    void ReadSettingReply() override;
    // A group's read: its data came, no exception. The reads after group 5 show nothing.
    bool CycleReplyFits() const override;
    std::string NextCycleRequest() override;
};
