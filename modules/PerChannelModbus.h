// The Modbus RTU dialog of a multi-channel input module. It makes the module's start-up reads once
// (enable mask at 0x00DC, channel types from 0x00C8, burn-out coils from 0x00C8, or the module's
// one range at 0x00C8; a mask or types read that was lost, not refused, is asked for again between
// the polls), then polls the input registers from 0x0000 and shows each as its raw value in a list
// and scaled by its channel's type (or the module's range) in the channel's field. A type list or
// "follow CH0" writes type registers, an enable box the mask, and a setting handler the module's
// slave address or protocol. A dialog class gives it its template, block, type codes, the scaling
// of each type and the parameters below.
#pragma once

#include "PerChannelTypes.h"
#include "RawScaling.h"

#include <vector>

// The reads a dialog makes once, in its order, before it polls.
enum class EStartRead { Mask, Types, BurnOut, Range };

// The engine's controls in a dialog's template; 0 where it has none. Its buttons are bound in the
// dialog's own message map: Refresh to OnRefresh, FOLLOW CH0 to OnFollowCh0, Cancel to OnCancel.
struct SPerChannelModbusIds {
    int nList = 0;     // the references with their raw values
    int nProtocol = 0; // a Protocol list, which shows Modbus RTU
    int nRespond = 0;  // the Respond field, never enabled
};
// Those of the per-channel-type templates that have all three.
inline constexpr SPerChannelModbusIds kPcModbusIds = {IDC_PC_LIST, IDC_PC_PROTOCOL, IDC_PC_RESPOND};

// The settings of the engine a dialog chooses.
struct SPerChannelModbusSetup {
    SModuleDescriptor descriptor;
    CodeTable typeCodes;  // by row of the type lists (or of the range list)
    RawScaleTable scales; // by row of the type lists (or of the range list)
    SChannelRows rows;
    SPerChannelModbusIds ids;
    std::vector<EStartRead> startReads = {EStartRead::Mask, EStartRead::Types};
    UINT nPeriod = 200;
    // The pause after every answered exchange of a tick.
    DWORD dwSleepAfterAnswer = 0;
    // The reply data (hex digits) the type read and the readings need; 0: 4 × channels − 2.
    int nMinData = 0;
    // Blanks after the reference number and after the channel in a row of the list.
    int nBlanksAfterReference = 6;
    int nBlanksAfterChannel = 9;
    // One range list scales every channel (its rows are typeCodes); 0: each channel's type list.
    int nRangeBox = 0;
    // Readings too short to show leave the list and fields as they are, rather than empty.
    bool bKeepOnShortData = false;
    // An unanswered exchange is followed by a poll; what was pending waits for an answered one.
    bool bPollAfterSilence = false;
    // Every enable box starts ticked (the module's mask is not read).
    bool bAllEnabledAtStart = false;
    // Where the outcome of an enable-mask write is shown; 0: nowhere.
    int nMaskStatusField = 0;
    // The setting handler's writes (sent to the address the module answers to now) and their
    // outcome.
    SRtuSettingForm setting;
};

class CPerChannelModbusDlg : public CPerChannelTypeDlg {
public:
    BOOL OnInitDialog() override;
    void PollStep() override;

    void OnRefresh();
    // Gives every channel CH0's type: CH5 is written first, then CH0 to CH7 in turn.
    void OnFollowCh0();

    // The engineering value of a register by the channel's type row; nothing without a type.
    std::optional<float> RawToEngineering(int raw, int row) const;

    SSequence m_follow; // its step: the next of the nine writes of "follow CH0"
    std::string m_strReplyData;
    int m_byBurnOutMask = 0; // bit k: channel k was burnt out when the dialog opened

protected:
    explicit CPerChannelModbusDlg(const SPerChannelModbusSetup& setup);

    enum : int { kCmdConfigure = 3 };

    // The register value of channel k in the last poll reply, as four hex digits; the reply is
    // long enough for every channel when Complete().
    std::string RegisterText(int channel) const;
    bool Complete() const;
    // What a tick of polling shows of the reply in hand.
    virtual void ShowReadings();
    // The request of a polling tick after the readings were shown; empty sends nothing.
    virtual std::string PollRequest() const;
    // The settings boxes' enabling at start; by default only a module at address 0 offers baud
    // rate and checksum.
    virtual void EnableSettingsBoxes();
    // The setting handler's write (RtuSettingOf) goes out on the next tick.
    void QueueSetting(bool bToAscii, const std::string& newAddress, Texts rowTexts, Texts params);

private:
    enum : int { kCmdStartRead = -1 };
    // m_nLastCommand: whose reply the next step checks.
    enum : int {
        kNothing = 0,
        kStartReadDone = 1,
        kMaskWritten = 2,
        kTypeWritten = 3,
        kConfigured = 4,
        kStartReadAgain = 5
    };

    bool ReplyEndsTick();
    void ReadStart(EStartRead read);
    // The reply to an enable-mask read: one register, or no mask.
    void ReadMask();
    void ReadTypes();
    // The start-up read the channels need that was lost (neither its data nor a refusal came).
    std::optional<EStartRead> LostStartRead() const;
    void NextFollowWrite();
    std::string TypeWriteRequest(int channel);
    // The answer to the write in hand (a type or the mask) by its request as it went out.
    EWriteAnswer WriteAnswer(const std::string& request) const;
    std::string NextRequest();
    bool Exchange(const std::string& request);
    std::string StartRequest(EStartRead read) const;
    int ScaleRow(int channel) const;

    SPerChannelModbusSetup m_setup;
    size_t m_nStartRead = 0;                    // the start-up read whose reply comes next
    EStartRead m_eReadAgain = EStartRead::Mask; // the lost start-up read asked for again
    bool m_bTypesMissing = false;               // the types read was lost
    std::string m_strLastRequest;
    std::string m_strMaskRequest; // the last enable-mask write sent
    std::string m_strTypeRequest; // the last type write sent
};
