// The analog slot page of the Modbus rack window: per channel the range, the live value, the unit
// and the two alarm lamps of the selected slot, and the output values of the analog-output module.
#pragma once

#include "RackModbusTables.h"
#include "RackPage.h"

#include <array>

class CV1384HM : public CRackPage {
public:
    // An output write is one control an output channel: kCmdWriteOutput0 + 8 x slot + channel.
    enum : int {
        kCmdReadTypes = 1,
        kCmdReadValues = 2,
        kCmdReadAlarms = 3,
        kCmdWriteOutput0 = 0x100
    };
    static constexpr int kOutputs = kRackSlots * kAnalogRows;

    explicit CV1384HM(CWnd* pParent = nullptr);

    BOOL OnInitDialog() override;
    void DoDataExchange(CDataExchange* pDX) override;
    void PollStep() override;

    void ParseInputTypes(const std::string& digits);
    void ParseChannelValues(const std::string& digits);
    // The alarm lamps from the 8 digits of the slot's two alarm registers.
    void ParseStatusReply(const std::string& digits);
    void OnViewMode();
    void OnValueMode();
    template <int c> void OnSendAo() { SendAo(c); }

    bool m_bChannelView = false;
    bool m_bShowHex = false;
    SAnalogTypes m_types; // range texts, units and conversion types the type codes set
    std::array<std::string, kAnalogRows> m_strLabel;
    std::array<std::string, kAnalogRows> m_strValue;

    DECLARE_MESSAGE_MAP()

protected:
    bool Serves(const std::string& module) const override;

private:
    void SendAo(int channel);
    void ShowRows(const std::string& module);
    // What the reply to the last read ends or shows; slot is the one shown.
    void ReadReply(int slot);
    std::string ReadBody(int slot) const;
    static bool IsOutputWrite(int nCommand)
    {
        return nCommand >= kCmdWriteOutput0 && nCommand < kCmdWriteOutput0 + kOutputs;
    }
    // A write heard or refused; refused, its entry shows the module's output again.
    void SettleOutputWrite(int nCommand);

    // Per output (8 x slot + channel): the count the operator asked for, as four hex digits.
    std::array<std::string, kOutputs> m_strAoAsked;
    // The outputs of the shown slot as the module last reported them, in engineering units.
    std::array<std::string, kAnalogOutputs> m_strModuleOutput;
};

inline constexpr const char* kInvalidOutputValue = "Please Input Valid Value!";
