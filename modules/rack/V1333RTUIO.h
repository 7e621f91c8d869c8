// The digital slot page of the Modbus rack window: the sixteen coils of the selected slot as
// lamps, read on every tick, and one output switched per lamp press.
#pragma once

#include "RackModbusTables.h"
#include "RackPage.h"

#include <array>

class CV1333RTUIO : public CRackPage {
public:
    // A coil write is one control a coil: kCmdWriteCoil0 + 16 x slot + channel.
    enum : int { kCmdReadCoils = 1, kCmdWriteCoil0 = 0x100 };
    static constexpr int kCoils = kRackSlots * kDigitalChannels;

    explicit CV1333RTUIO(CWnd* pParent = nullptr);

    BOOL OnInitDialog() override;
    void DoDataExchange(CDataExchange* pDX) override;
    void PollStep() override;

    // Four hex digits of a coil reply: lamps, and flags as the module's rules say.
    void ParseStatusReply(const std::string& digits);
    template <int c> void OnToggleDo() { ToggleDo(c); }
    void OnViewMode();

    std::string m_strData;
    std::array<int, kDigitalChannels> m_bOutputOn{};
    bool m_bChannelView = false;
    CButton m_btnViewMode;
    std::array<CButton, kDigitalChannels> m_btnChannel;
    std::array<std::string, kDigitalChannels> m_strLabel;

    DECLARE_MESSAGE_MAP()

protected:
    bool Serves(const std::string& module) const override;

private:
    void ToggleDo(int channel);
    void ShowLabels();
    static bool IsCoilWrite(int nCommand)
    {
        return nCommand >= kCmdWriteCoil0 && nCommand < kCmdWriteCoil0 + kCoils;
    }
    // A write heard or refused; refused, its lamp and flag show the module's state again.
    void SettleCoilWrite(int nCommand);
    // Lamp and flag of a channel of the shown slot.
    void ShowChannel(int channel, bool on);

    // Per coil: the state the operator asked for, and the state the module last reported.
    std::array<bool, kCoils> m_bCoilAsked{};
    std::array<bool, kCoils> m_bCoilRead{};
};
