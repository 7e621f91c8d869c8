// The thermocouple dialog's test world: simulated thermocouple modules on COM1 and the dialog on
// a block of the frame.
#pragma once

#include "thermocouple/M6386.h"
#include "ModuleFixture.h"
#include "thermocouple/ThermocoupleIds.h"

#include "AsciiCommand.h"
#include "Resource.h"
#include "SimThermocouple.h"
#include "Strings.h"
#include "UiDriver.h"

#include <memory>


using Requests = std::vector<std::string>;
using Texts = std::vector<std::string>;

inline constexpr const char* kInitText = "Setting Configuration Error! \r\n Please Connect Init* to GND!";

inline std::string WithChecksum(const std::string& text)
{
    return text + AppendChecksum(text);
}

// A thermocouple module that acknowledges the switch to Modbus RTU and stays in ASCII.
class CSimAckingSwitch : public CSimThermocouple8 {
public:
    CSimAckingSwitch() : CSimThermocouple8("6386") {}

protected:
    std::optional<std::string> OnAscii(char lead, std::string_view body, DWORD now) override
    {
        if (lead == '$' && body == "R1") return Ack();
        return CSimThermocouple8::OnAscii(lead, body, now);
    }
};

class M6386 : public CModuleFixture {
protected:
    // A 6386 at 0x10 (K type) with CH0..CH7 at 100..800 degrees and the given enable mask.
    CSimModule& AddEightChannels(BYTE mask = 0xFF)
    {
        CSimModule& m = m_bus.Add("6386", 0x10, 9600);
        for (int ch = 0; ch < 8; ++ch) m.SetInput(ch, 100.0 * (ch + 1));
        static_cast<CSimAnalogInput8&>(m).SetEnableMask(mask);
        return m;
    }
    // Opens the dialog on a block: address, baud code, check, range, format, model.
    void Open(ModuleParamBlock block)
    {
        m_frame.m_strThermocoupleInputParams = block;
        m_dlg.Create(IDD_M6386);
    }
    // One more dialog on a block, for tables of cases; it lives as long as the test.
    CM6386& OpenAnother(const ModuleParamBlock& block)
    {
        m_frame.m_strThermocoupleInputParams = block;
        m_others.push_back(std::make_unique<CM6386>());
        m_others.back()->Create(IDD_M6386);
        return *m_others.back();
    }
    std::string Value(int ch) { return m_dlg.GetDlgItemText(kTcValueIds[ch]); }
    bool Enabled(int id) { return m_dlg.GetDlgItem(id)->IsWindowEnabled(); }
    int Row(int id) { return m_dlg.GetDlgItemAs<CComboBox>(id)->GetCurSel(); }
    void Setting(const char* address)
    {
        ui::Type(m_dlg, IDC_TC_ADDRESS, address);
        ui::Click(m_dlg, IDC_TC_SETTING);
    }

    CM6386 m_dlg;
    std::vector<std::unique_ptr<CM6386>> m_others;
};

