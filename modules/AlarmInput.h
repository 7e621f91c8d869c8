// What the ASCII analog-input and thermocouple dialogs share: the channel enable mask (read at the
// start, written by the boxes), the channel-type read and write with the "FOLLOW CH0" chain, and
// the single-channel models' alarm group (limits, alarm mode, alarm clear, and two outputs shown as
// lamps that a click switches). Each dialog hands it the controls of its template and the rules in
// which the two dialogs differ.
#pragma once

#include "EnableMask.h"
#include "Lamps.h"
#include "ModuleDlg.h"

#include <array>
#include <span>

// What a refused write of the "FOLLOW CH0" chain does to the chain. A write of it the module did
// not hear waits, the chain with it, and goes out again once the module has answered a poll; a
// request the operator slipped in between two writes only delays the chain.
enum class EFollowRefusal {
    // The chain ends.
    Stops,
    // The chain waits at the refused channel: the next channel-type write ("CH CONF") the module
    // hears resumes it there.
    Waits,
};

// How a limit write goes out.
enum class ELimitWrite {
    // One press writes the high limit, then the low one: each is sent again while unanswered,
    // "Ready" follows each acknowledgement, and a refusal ends the write with "Error!".
    BothInTurn,
    // A press writes one limit, its outcome "Ready!" or "Error!"; one the module did not hear goes
    // out again once it has answered a poll.
    EachAlone,
};

// What the reply to the start-up alarm-mode read ("@AADI") does.
enum class EModeRead {
    // It also lights the lamps and shows "Ready!" or "Error!"; it is asked once, and whatever it
    // says ends the start-up reads.
    OnceWithOutputs,
    // Only the mode: it is asked again until acknowledged, which ends the start-up reads.
    UntilAcknowledged,
};

// What the reply to an alarm clear ("@AACA") does.
enum class EClearReply {
    // Shows nothing; after a refusal the low limit is read again.
    RereadsLowLimitOnRefusal,
    // Shows "报警清除成功!" or "报警清除失败!".
    ShowsOutcome,
};

// The controls of a dialog's template and the rules it keeps.
struct SAlarmInputSetup {
    std::span<const int, 8> checkIds; // the channel enable boxes, CH0 first
    int nAddressBox;
    int nMaskStatus; // where a mask write's outcome shows
    int nChannelNumber;
    int nChannelType;
    const CodeTable* pTypeCodes; // the codes of the CH Type rows
    int nHighLimit;
    int nLowLimit;
    int nAlarmMode;
    int nStatus;                  // where the alarm group's outcomes and output replies show
    std::array<int, 2> lampIds;   // the lamps of output 0 and output 1
    bool bChannelWithoutRowIsCh0; // a CH Number text that is no row: CH0, or "-1" as it reads
    EFollowRefusal eFollowRefusal;
    ELimitWrite eLimitWrite;
    EModeRead eModeRead;
    EClearReply eClearReply;
    bool bOtherOutputsDarkenLamps; // an output pair that is none of "00" to "03": both lamps off,
                                   // or the lamps as they are
};

class CAlarmInputDlg : public CModuleDlg {
public:
    // m_nCommand: the requests both dialogs make. Each dialog numbers its own apart from these.
    enum : int {
        kCmdReadMask = -1, // the reply to a "$AA6" is due
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
        kCmdWriteAlarmMode = 24,
        kCmdClearAlarm = 25,
        kCmdChannelRead = 28,
        kCmdChannelWrite = 29,
        kCmdReadAlarmMode = 30,
        kCmdFollowWrite = 32,
    };
    // m_nLastCommand beyond the commands themselves.
    enum : int { kLastNone = 0, kLastConfigure = 100 };

    void DoDataExchange(CDataExchange* pDX) override;
    // A click on a lamp switches its output (Shift or Ctrl held: the outputs are sent unchanged).
    void OnLButtonDown(UINT nFlags, CPoint point) override;

    template <int k> void OnChannelCheck() { ToggleChannel(k); }
    void OnChannelRead();
    void OnChannelConfigure();
    void OnFollowChannel0();
    // Both limits (ELimitWrite::BothInTurn), or one of them (EachAlone).
    void OnAlarmValueSetting();
    void OnAlarmHighSetting();
    void OnAlarmLowSetting();
    void OnAlarmTypeSetting();
    void OnAlarmClear();

    // Marks the channels the module's mask reply sets (never unmarks one) and shows the marks;
    // from then on a click writes the mask.
    void ShowEnableMask(const std::array<bool, 8>& bits);
    // The mask read was lost (silence, or a reply that is neither a mask nor the module's
    // refusal): a box ticked while it was awaited is cleared and its write dropped, and until a
    // mask is read a click writes nothing and says so.
    void ForgetEnableMask();
    void BuildEnableMask();

    // A forgotten mask leaves no box ticked: the dialogs start with none.
    CEnableMask m_mask{EForgottenMask::NoChannel};
    std::array<int, 8>& m_bChannelEnabled = m_mask.m_bBoxes;
    std::string m_strEnableMask;
    // Outputs 0 and 1 as the last output read showed them, switched by lamp clicks.
    std::array<int, 2> m_bDoState{};

protected:
    CAlarmInputDlg(const SModuleDescriptor& descriptor, const SAlarmInputSetup& setup);

    // The lamps' rectangles; after the template is built.
    void AttachLamps();
    // The reply to a "$AA6": the module's marks; a refusal marks none and leaves the boxes to the
    // operator; after a lost read, none until a later read brings them.
    void ReadMaskReply();
    // While the mask read is lost, the "$AA6" that asks for it again in place of a readings poll
    // (its reply is read with the shared replies); empty once the module answered it.
    std::string MaskReadAgain();
    // The reply to a request of this class, when m_nLastCommand names one: shown, and the next
    // request chosen. False when the reply is another request's.
    bool ReadSharedReply();
    // The request of this class that m_nCommand names; empty for the dialog's own.
    std::string SharedRequest();
    // After a poll of a single-channel model: its limits once, then its outputs.
    void ChooseAlarmRead()
    {
        m_nCommand = m_nLimitReads == 0 ? kCmdReadHighLimit : kCmdReadOutputs;
    }
    // The "$AA8Cn" read of the channel the CH Number box shows goes out next.
    void ReadSelectedChannel();
    // The readings of the last reply when it answers a "#AA": ">" and count readings in the form
    // of the block's data format, a single channel's too (ReadingsOfShape); nothing for a reply of
    // any other shape.
    std::optional<std::vector<std::string>> PollReadings(int count) const;
    // The reply to the read the last shared reader took was neither the module's own nor its
    // refusal: a missed exchange.
    bool ReadMissed() const { return m_bReadMissed; }

private:
    void ToggleChannel(int k);
    int SelectedChannel() const;
    std::string ChannelTypeWrite(int channel, int typeRow) const;
    // The "@AADI" reply's hex digits after "!AA": the status (the alarm mode), the outputs' two
    // digits and the inputs' two, at least length of them; nothing for any other reply.
    std::optional<std::string> DioState(size_t length) const;
    // Records whether a read's reply was a missed exchange.
    void NoteRead(bool fits);
    void ReadAlarmModeReply();
    void ReadLimitReply(int last);
    void ReadOutputsReply();
    void ReadLimitWrite(int last, bool ack);
    void ReadOneLimitWrite(int last, bool ack);
    void ReadClearReply(bool ack);
    void ReadChannelType();
    void ReadChannelWrite(int last, bool ack);
    void ReadOutputWrite(int last, bool ack);
    void ReadMaskWrite(bool ack);
    void ShowLamps(const std::string& outputs);
    void ShowModuleOutputs();
    void ShowOutcome(int nField, bool ack);
    std::string AlarmRequest() const;

    const SAlarmInputSetup& m_setup;
    bool m_bReadMissed = false;
    // "FOLLOW CH0": CH0's type written to CH0 to CH7 in turn, one write per acknowledged reply.
    SSequence m_follow;
    int m_nFollowTypeRow = 0;
    int m_nReadChannel = 0; // the channel whose type the "$AA8Cn" read asks for
    int m_nFollowSentChannel = 0;
    // The "CH CONF" write: the channel and the row of its type.
    int m_nChannelWriteChannel = 0;
    int m_nChannelWriteRow = 0;
    int m_nLimitReads = 0;
    // What the module was last known to hold, as its replies and heard writes told it (-1: not
    // known), and the mode of the write in hand.
    std::array<std::string, 2> m_strModuleLimits; // high, low; empty: not known
    int m_nModuleOutputs = 0;
    int m_nModuleMode = -1;
    int m_nAlarmModeSent = 0;
    // Limits, mode and outputs as checked at the click.
    std::string m_strHighLimit;
    std::string m_strLowLimit;
    std::string m_strAlarmModeBody;
    std::string m_strOutputBody;
    CLamps m_lamps;
};
