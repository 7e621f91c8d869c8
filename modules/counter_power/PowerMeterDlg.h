// What the two power-meter dialogs share: the polling tick (the reading cycle, the operator's
// requests after an answered tick, a Setting also after a missed one, the restart of the cycle),
// the reading boxes filled from a reading group, the 6539's lamps, the disabled calibration steps,
// and Enter taking the close path.
#pragma once

#include "Lamps.h"
#include "ModuleDlg.h"

#include <array>
#include <optional>
#include <vector>

// A request that carries a Setting: its m_nCommand value, and the m_nLastCommand value that marks
// its reply.
struct SPmSettingCommand {
    int nCommand;
    int nLastCommand;
};

class CPowerMeterDlg : public CModuleDlg {
public:
    // pollTimeout: of each polling tick's exchange, over the descriptor's link.
    CPowerMeterDlg(const SModuleDescriptor& descriptor, WORD pollTimeout,
                   std::vector<SPmSettingCommand> settings);

    // The reply to a Setting ends the tick with its verdict. Otherwise an answered tick reads the
    // reply and sends what is queued or next; a missed one sends a queued Setting, or starts the
    // cycle again.
    void PollStep() override;
    // Writes the boxes of a reading group ("0" to "5"; anything else writes nothing) from the
    // register digits of its reply.
    void ShowReadingGroup(const std::string& group, const std::string& data);
    // The input lamp, the output lamps and the output bits from a "!AAio" reply; a pending write
    // of the outputs keeps the operator's bits.
    void ShowDioState(const std::string& data);

    // Output bit 0 (lamp 1208) and bit 1 (lamp 1207).
    std::array<int, 2> m_bDoState{};
    int m_nPollStep = 0; // the step of the reading cycle whose reply comes next

protected:
    // m_nCommand values both dialogs use: the next step of the cycle, and the cycle from group 0.
    enum : int { kCmdCycle = 0, kCmdRestartCycle = 2 };
    // m_nLastCommand while the reply in hand is the cycle's.
    enum : int { kLastCycle = 0 };

    // The model with digital I/O.
    bool Is6539() const;
    // The steps of the calibration group stay disabled; the template disables the rest.
    void DisableCalibrationSteps();
    // Lamps that show the digital I/O start grey and their outputs take clicks; otherwise all
    // four are disabled.
    void InitLamps(bool bDigitalIo);
    // Red for each output bit that is 1, white for 0.
    void ShowOutputLamps();
    // The output bits and lamps as the meter last reported them, unless a write of the outputs is
    // pending.
    void ShowReportedOutputs();
    virtual bool OutputsPending() const { return false; }

    // The request of a reading group in the descriptor's protocol.
    std::string GroupRequest(int group) const;
    // The restart step: the cycle goes on from group 0.
    std::string RestartCycle();
    void SendPoll(const std::string& request);

    // The verdict on a Setting from its reply (m_nLastCommand tells which Setting it was).
    virtual void ReadSettingReply() = 0;
    // Whether the reply in hand has the shape of what the cycle's step asked for (m_nPollStep).
    virtual bool CycleReplyFits() const = 0;
    // An answered tick reads the reply to an operator's request here; by default there is none.
    virtual void ReadLastReply() {}
    // The answer to a write that went out last settles it, whether a reply came or not; false
    // when the last request was no write. By default there are none.
    virtual bool SettleLastWrite() { return false; }
    // The request of a command that is neither a Setting nor the restart; by default the next
    // step of the reading cycle.
    virtual std::string RunOtherCommand() { return NextCycleRequest(); }
    // One step of the reading cycle: the reply in hand is shown, the next request chosen.
    virtual std::string NextCycleRequest() = 0;

    CLamps m_outputLamps; // 1208 (bit 0), 1207 (bit 1)

private:
    std::string RunCommand();
    // The cycle from group 0, whatever command is in hand.
    std::string CycleFromStart();
    const SPmSettingCommand* SettingCommandOf(int nCommand) const;
    bool AwaitsSettingReply() const;
    bool AwaitsCycleReply() const
    {
        return m_nLastCommand == kLastCycle && m_nCommand == kCmdCycle;
    }

    WORD m_nPollTimeout;
    std::vector<SPmSettingCommand> m_settings;
    std::optional<std::array<int, 2>> m_reportedOutputs; // the bits of the last "!AAio" reply
};
