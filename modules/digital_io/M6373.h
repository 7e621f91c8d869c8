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
        kCmdClearCounter0 = 20, // + channel: each Clear button's own write
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
    void OnSetPowerOn() { QueueWrite(kCmdSetPowerOn); }
    void OnReadPowerOn() { QueueCommand(kCmdReadPowerOn); }

    CDioIdlePoll m_poll;
    int m_nDoValue = 0; // the outputs the last click asked for
    int m_nNewChecksum = -1;
    std::string m_strLatchCommand;
    std::string m_strSafeDo; // the DO text the own form's Set Safe writes

    DECLARE_MESSAGE_MAP()

protected:
    bool OutputPending(int channel) const override;
    void ClearCounter(int channel) override;

private:
    static bool IsClearCounter(int command)
    {
        return command >= kCmdClearCounter0 && command < kCmdClearCounter0 + 16;
    }
    // Disables the controls of the kDio... flags.
    void DisableControls(unsigned flags);
    void ReadAnswer();
    // The answer to a write of the outputs, a clear, or a safe or power-on value settles it.
    EWriteAnswer SettleLastWrite(bool bAcknowledged);
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
