// The eight-channel analog-input dialog over Modbus RTU: raw register readings, channel enable,
// and the module's slave address or the switch back to ASCII.
#pragma once

#include "EnableMask.h"
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
    // The dialog starts with every channel on, and reads no mask.
    CEnableMask m_mask{EForgottenMask::NoChannel, {1, 1, 1, 1, 1, 1, 1, 1}};
    std::array<int, 8>& m_bChannelEnabled = m_mask.m_bBoxes;
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
};
