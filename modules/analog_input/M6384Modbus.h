// The eight-channel analog-input dialog over Modbus RTU: raw register readings, channel enable,
// and the module's slave address or the switch back to ASCII.
#pragma once

#include "ModuleDlg.h"

#include <array>

class CM6384Modbus : public CModuleDlg {
public:
    explicit CM6384Modbus(CWnd* pParent = nullptr);

    BOOL OnInitDialog() override;
    void DoDataExchange(CDataExchange* pDX) override;
    void PollStep() override;

    void OnSetting();
    template <int k> void OnToggleChannel() { ToggleChannel(k); }
    void BuildEnableMask();
    void ShowChannelValue(int channel, int row, const std::string& text);

    std::string m_strEnableMask;
    std::array<bool, 8> m_bChannelHidden{};
    std::array<int, 8> m_bChannelEnabled{1, 1, 1, 1, 1, 1, 1, 1};
    std::string m_strModelText;

    DECLARE_MESSAGE_MAP()

private:
    enum : int { kCmdPoll = 0, kCmdConfigure = 1, kCmdBackToPoll = 2, kCmdWriteMask = 20 };
    // m_nLastCommand: whose reply the next tick reads.
    enum : int { kLastNone = 0, kLastMask = 20, kLastConfigure = 100 };

    void ToggleChannel(int k);
    // The answer to the mask write: heard, the module holds the mask; refused, the boxes show the
    // module's mask again; not heard, the write stays pending.
    void SettleMaskWrite();
    void ShowReadings();
    std::string Poll() const;

    std::string m_strMaskRequest; // the mask write as it went out
    // The mask the module was last known to hold (the dialog starts with every channel on), and
    // the marks of the write in hand.
    std::array<int, 8> m_bModuleMask{1, 1, 1, 1, 1, 1, 1, 1};
    std::array<int, 8> m_bMaskSent{};
};
