// The counter/frequency dialog: the counts (or frequencies) of both channels and the two output
// lamps, the module's settings read once by a thirteen-step poll cycle, one request per setting,
// lamp clicks that switch the outputs, and the module's configuration.
#pragma once

#include "Lamps.h"
#include "ModuleDlg.h"

#include <array>
#include <map>

class CM6363 : public CModuleDlg {
public:
    enum : int { kFirstPollStep = 1, kPollSteps = 13 };

    explicit CM6363(CWnd* pParent = nullptr);

    BOOL OnInitDialog() override;
    void DoDataExchange(CDataExchange* pDX) override;
    void PollStep() override;
    void OnLButtonDown(UINT nFlags, CPoint point) override;

    void OnSetting();
    // The operation buttons: each builds its request and queues it.
    template <int op> void OnOperation() { QueueOperation(op); }

    void ShowChannelValue(int channel, const std::string& text);

    std::string m_strModelText;
    bool m_bSettingsLoaded = false;
    int m_nAlarmMode = 0; // 0 ModeA, 1 ModeB
    std::array<int, 2> m_bDoState{};
    bool m_bBaudChanged = false;
    int m_nPollStep = kFirstPollStep;

    // m_nCommand: the poll, the configuration, the resync, and the operations by their buttons.
    enum : int {
        kCmdPoll = 0,
        kCmdConfigure = 1,
        kCmdResync = 2,
        kOpEnableA0 = 6,
        kOpEnableA1,
        kOpValueA0,
        kOpValueA1,
        kOpAlarmB,
        kOpHighB,
        kOpHighHighB,
        kOpSignalModes1,
        kOpSignalModes0,
        kOpAlarmMode,
        kOpClear0,
        kOpClear1,
        kOpGate,
        kOpLampClick,
        kOpPreset0,
        kOpMax0,
        kOpPreset1,
        kOpMax1,
    };

    DECLARE_MESSAGE_MAP()

private:
    enum : int { kLastNone = 0, kLastConfigure = 100 };

    static bool IsOperation(int command) { return command >= kOpEnableA0 && command <= kOpMax1; }
    // Each operation is a write of its own, the request taken from its controls when asked.
    void QueueOperation(int op);
    // The answer to the operation that went out last settles it; the cycle starts again (at once
    // when no reply came).
    void SettleOperation(bool answered);
    // The request of an operation from the controls as they stand; nothing when a list it needs
    // has no row, or a value is not one the module takes (after a message).
    std::optional<std::string> OperationRequest(int op);
    std::optional<std::string> ValueRequest(char lead, const std::string& body, int nEdit);
    void FinishConfiguration();
    std::string Resync();
    // The data of the reply in hand when it is what the poll step in hand reads.
    std::optional<std::string> PollReplyData() const;
    // Whether it answers the step: the module's own reply or its refusal.
    bool PollReplyFits() const;
    std::string PollCycle();
    void ReadPollReply(int step);
    void ReadSignalModes(const std::string& data);
    void ReadGate(const std::string& data);
    void ReadAlarmMode(const std::string& data);
    void ReadAlarmEnables(const std::string& data);
    void ShowLamps(const std::string& data);
    // The lamps and output states as the module last reported them; while the outputs' write is
    // pending, the operator's.
    void ShowReportedLamps();
    int Row(int nCombo) const;
    void SetRow(int nCombo, int row);
    void SetStatus(bool ack);

    CLamps m_lamps;
    std::map<int, std::string> m_operationRequests; // by operation, as last asked
    int m_nReportedOutputs = -1; // the output digit of the last @AADI reply; -1 before one
};
