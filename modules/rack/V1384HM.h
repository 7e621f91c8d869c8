// The analog slot page of the Modbus rack window: per channel the range, the live value, the unit
// and the two alarm lamps of the selected slot, and the output values of the analog-output module.
#pragma once

#include "RackModbusTables.h"
#include "RackPage.h"

#include <array>

class CV1384HM : public CRackPage {
public:
    enum : int { kCmdReadTypes = 1, kCmdReadValues = 2, kCmdReadAlarms = 3, kCmdWriteOutput = 4 };

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

    int m_bChannelView = 0;
    int m_bShowHex = 0;
    SAnalogTypes m_types; // range texts, units and conversion types the type codes set
    std::array<std::string, kAnalogRows> m_strLabel;
    std::array<std::string, kAnalogRows> m_strValue;

    DECLARE_MESSAGE_MAP()

protected:
    bool Serves(const std::string& module) const override;

private:
    void SendAo(int channel);
    void ShowRows(const std::string& module);
    // What the reply to the last request ends or shows; slot is the one shown.
    void ReadReply(int slot);
    std::string ReadBody(int slot) const;
};

inline constexpr const char* kInvalidOutputValue = "Please Input Valid Value!";
