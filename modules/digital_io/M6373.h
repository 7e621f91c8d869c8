// The digital I/O dialog over ASCII: the lamps of the module's status, the input counters in
// turn, output switching by clicks, the input latch, safe and power-on values, and the module's
// configuration.
#pragma once

#include "DioDlg.h"
#include "DioIdlePoll.h"

class CM6373 : public CDioDlg {
public:
    enum : int {
        kCmdPollAfterAnswer = -2, // one idle read without an interleaved status read
        kCmdConfigure = 1,
        kCmdClearLatch = 3,
        kCmdReadPowerOn = 4,
        kCmdReadSafe = 5,
        kCmdSetPowerOn = 6,
        kCmdSetSafe = 7,
    };

    explicit CM6373(CWnd* pParent = nullptr);

    BOOL OnInitDialog() override;
    void PollStep() override;
    // Any plain left click on the dialog's surface writes the outputs at the next tick; a click
    // on an output lamp first toggles that output.
    void OnLButtonDown(UINT nFlags, CPoint point) override;
    // The mouse moving over the dialog polls as a tick does.
    void OnMouseMove(UINT nFlags, CPoint point) override;

    void OnSetting();
    void OnClearLatch();
    void OnSetSafe();
    void OnReadSafe() { QueueCommand(kCmdReadSafe); }
    void OnSetPowerOn() { QueueCommand(kCmdSetPowerOn); }
    void OnReadPowerOn() { QueueCommand(kCmdReadPowerOn); }

    CDioIdlePoll m_poll;
    int m_nDoValue = 0;
    int m_nNewChecksum = -1;
    std::string m_strLatchCommand;

    DECLARE_MESSAGE_MAP()

private:
    // Disables the controls of the kDio... flags.
    void DisableControls(unsigned flags);
    void ReadAnswer();
    void ReadIdleReply();
    // False when the configuration answer closed the dialog.
    bool ReadLastReply();
    void ReadConfigurationAnswer();
    std::string NextRequest();
    std::string IdleRequest(bool afterAnswer);
    std::string DoText(int value) const;
    int DoValue() const;
    bool OwnRequests() const;

    bool m_bLineOpen = false;
    bool m_bSwitchToModbus = false; // the configuration sent is the switch to Modbus RTU
    bool m_bPolling = false;
};
