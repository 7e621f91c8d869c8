// The RTD-input dialog over ASCII: one, three, four or six channels, each read in turn as an input
// value ("#AA") and as a resistance ("$AAA"); the setting writes one "%" request or switches the
// module to Modbus RTU, shows the outcome and closes.
#pragma once

#include "ModuleCodes.h"
#include "ModuleDlg.h"
#include "rtd/RtdIds.h"

class CM6309x : public CModuleDlg {
public:
    explicit CM6309x(CWnd* pParent = nullptr);

    BOOL OnInitDialog() override;
    void DoDataExchange(CDataExchange* pDX) override;
    void PollStep() override;

    void OnSetting();
    // Kind is the ERtdRead of the reading: the channel's "Input" field or its "Ohm" field.
    void ShowChannelValue(int channel, int kind, const std::string& text);

    int m_nPollPhase = kInputRead; // what the outstanding reply holds

    DECLARE_MESSAGE_MAP()

private:
    enum : int { kCmdPoll = 0, kCmdSetting = 1 };
    enum : int { kLastPoll = 0, kLastSetting = 100 };

    // The range list the model shows, null for a name in neither range group.
    const SCodedList* Ranges() const;
    void ShowReadings();

    std::string m_strModelText;
    int m_nChannels = 0;
    bool m_bSwitchSent = false; // the setting request is the switch to Modbus RTU
};
