// What the two analog slot dialogs (the analog input slot and the speed input slot) share: the
// channel rows (enable box, value, unit, alarm lamps), the channel enable mask, and the "Alarm
// Setting" group with its reads, its update chain, its latch clears and the lamp refresh. Each
// dialog numbers these steps and decides what follows them by its own SAlarmSteps.
#pragma once

#include "RackDlg.h"

#include <array>
#include <optional>
#include <vector>

struct SAlarmSteps {
    enum class ERead { HighType, HighLimit, LowType, LowLimit };
    std::array<int, 4> nRead;   // the links of the alarm read, in the dialog's order
    std::array<ERead, 4> eRead; // what each link reads
    int nAfterRead;             // the first value read of the poll loop
    int nRestart;               // where the update chain restarts the dialog's poll
    int nWait;                  // the step without request after a type change
    int nEnableHigh, nSetHighType, nEnableLow, nSetLowType, nSetHighLimit, nSetLowLimit;
    int nClearHigh, nClearLow;
    int nAfterClear;                 // the step after a latch clear
    int nAfterMaskEdit;              // the step a click on a channel box sets
    bool bCloseAfterAlarmOk;         // "Setting Alarm OK!" closes the dialog
    int nFirstStatus, nStatusStride; // the lamp step of channel i: first + stride * i
};

class CAnalogSlotDlg : public CRackDlg {
public:
    CAnalogSlotDlg(UINT nIDTemplate, const SAlarmSteps& steps);

    void DoDataExchange(CDataExchange* pDX) override;

    template <int k> void OnChannelCheck() { ToggleChannel(k); }
    void OnSelchangeAlarmChannel();
    void OnSelchangeHighAlarmType();
    void OnSelchangeLowAlarmType();
    void OnAlarmUpdate();
    void OnClearHighLatch();
    void OnClearLowLatch();

    std::string m_strEnableMask;
    std::vector<int> m_bChannel = std::vector<int>(8, 0);
    std::string m_strModule;
    int m_nChannelCount = 8;
    int m_nAlarmChannel = 0;
    std::string m_strLowAlarmCode;
    std::string m_strHighAlarmCode;
    std::string m_strHighAlarmMark;
    std::string m_strLowAlarmMark;
    bool m_bHighTypeChanged = false;
    bool m_bLowTypeChanged = false;

    DECLARE_MESSAGE_MAP()

protected:
    // The rack context, the model text shown, and one alarm channel row a channel, row 0 chosen.
    void InitAnalogSlot(int channels);
    // The enable mask from the eight flags; the next step the one after a mask edit.
    void BuildEnableMask();
    // A mask reply ("!AA" and two hex digits) read into the flags; false for any other reply.
    bool ReadEnableMask();
    // A mask reply's digits (channels 7-4, channels 3-0): sets the flags of the enabled channels.
    void ParseEnableMask(char high, char low);
    // A value reply: its reading after ">", of whatever width (at most maxChars of it; -1: all),
    // when the channel is enabled, nothing when it is not; any other reply leaves the edit as it
    // is.
    void ShowValue(int channel, int maxChars = -1);
    void SetUnit(int channel, const std::string& unit);

    // The request of an alarm, latch or lamp step; nothing for the dialog's other steps.
    std::optional<std::string> AlarmRequest();
    // The rule of an alarm, latch or lamp step (the result as ReadReply's); nothing for others.
    std::optional<bool> ReadAlarmReply(int step);
    // The step after channel's lamp step.
    virtual int NextAfterStatus(int channel) = 0;

private:
    void ToggleChannel(int channel);
    bool ChannelOn(int channel) const;
    CComboBox* Combo(int id) const;
    void Command(int step);
    std::string AlarmBody(const std::string& tail) const;
    void ReadType(bool high);
    void ReadLimit(bool high);
    void ShowLamps(int channel);
    // The first step of setting a type: enabling the alarm first where the module reported it
    // disabled and the operator changed it, else setting the type.
    int TypeLink(bool high) const;

public:
    struct SChainLink {
        int SAlarmSteps::*pStep;
        int SAlarmSteps::*pNext;
        const char* pszFailure;
        int SAlarmSteps::*pAfterFailure;
    };

private:
    // The limit a limit edit holds at Update; nothing when it holds none.
    std::optional<std::string> LimitIn(int id) const;
    // Whether Update is refused for that limit: the operator can change its edit and it holds none.
    bool Refused(int id, const std::optional<std::string>& limit) const;
    // The chain's step of a link, past the limits it leaves out; kNone when the chain is done.
    int ChainStep(int SAlarmSteps::*link) const;
    bool ReadChainReply(const SChainLink& link, bool ack);

    const SAlarmSteps& m_steps;
    // The limits the update chain sends, as checked when it was started; nothing for a limit it
    // leaves out.
    std::optional<std::string> m_strHighLimit;
    std::optional<std::string> m_strLowLimit;
};
