// The per-channel Modbus engine's type write under a spoilt line: heard, the new type stands;
// refused, the list shows the module's type again; not heard, it goes out again once per answered
// poll. Readings are never scaled by a type the module has not confirmed.
#include "ModuleFixture.h"
#include "RtuFrame.h"
#include "SpoiltLine.h"
#include "analog_input/AnalogInputIds.h"
#include "analog_input/M6384pModbus.h"

#include "SimAnalogInput.h"

#include <algorithm>
#include <cmath>
#include <optional>

namespace {

constexpr int kChannel = 2;
constexpr int kOldRow = 2;     // "+/-5V", code 09
constexpr int kNewRow = 3;     // "+/-1V", code 0A
constexpr double kInput = 0.5; // within both ranges: both show the same volts
const char* const kWrite = "010600CA000A";

struct SFault {
    std::optional<ESpoil> spoil; // none: the write is heard at once
    bool bModuleHears;           // the module takes the request (it changes its type)
    bool bRefusal;
};

const SFault kFaults[] = {
    {std::nullopt, true, false},   {ESpoil::Declined, false, true},
    {ESpoil::Silent, true, false}, {ESpoil::Garbled, true, false},
    {ESpoil::BadCrc, true, false}, {ESpoil::Unheard, false, false},
};

std::string FaultName(const ::testing::TestParamInfo<SFault>& info)
{
    std::string name = info.param.spoil ? SpoilName(*info.param.spoil) : "heard";
    std::ranges::replace(name, ' ', '_');
    return name;
}

class PerChannelModbusTypeWrite : public CModuleFixture,
                                  public ::testing::WithParamInterface<SFault> {
protected:
    PerChannelModbusTypeWrite()
        : m_module(static_cast<CSimAnalogInputPerChannel&>(
              m_bus.Add("6384P", 1, 9600, ESimProtocol::Rtu)))
    {
        m_module.SetChannelType(kChannel, 0x09);
        m_module.SetInput(kChannel, kInput);
        m_frame.m_strAnalogInputParams = {"01", "06", "0", "FF", "0", "4384A"};
        m_dlg.Create(IDD_M6384P_MODBUS);
        Tick(m_dlg, 3);
    }
    int TypeRow() { return m_dlg.GetDlgItemAs<CComboBox>(IDC_PC_TYPE0 + kChannel)->GetCurSel(); }
    // The channel's field as volts; NaN when it is empty.
    double Volts()
    {
        std::string text = m_dlg.GetDlgItemText(IDC_PC_VALUE0 + kChannel);
        return text.empty() ? std::nan("") : std::stod(text);
    }
    int Writes(const std::vector<std::string>& requests)
    {
        return static_cast<int>(std::ranges::count(requests, RtuFrame(kWrite)));
    }

    CSimAnalogInputPerChannel& m_module;
    CM6384pModbus m_dlg;
};

} // namespace

TEST_P(PerChannelModbusTypeWrite, ListAndScalingFollowTheModulesAnswer)
{
    const SFault& fault = GetParam();
    ASSERT_NEAR(Volts(), kInput, 1e-3);
    TakeRequests();
    {
        // Two writes spoilt in a row: each goes out once, then waits for an answered poll.
        std::optional<CSpoiltLine> line;
        if (fault.spoil) {
            line.emplace(*fault.spoil, RtuFrame(kWrite).substr(0, 17), 2);
            line->HideFrom(m_bus);
        }
        ASSERT_TRUE(ui::ChooseRow(m_dlg, IDC_PC_TYPE0 + kChannel, kNewRow));
        Tick(m_dlg, 2); // the write goes out, its reply is read
        EXPECT_EQ(TypeRow(), fault.bRefusal ? kOldRow : kNewRow);
        Tick(m_dlg, 2); // a poll is shown
        if (!fault.bModuleHears) {
            EXPECT_NEAR(Volts(), kInput, 1e-3) << "scaled by the module's own type";
        }
        Tick(m_dlg, 6);
        std::vector<std::string> wired = m_link.Requests();
        if (line) {
            EXPECT_EQ(line->Spoilt(), fault.bRefusal ? 1 : 2);
        }
        // Never two writes without an answered poll between them.
        for (size_t i = 1; i < wired.size(); ++i) {
            EXPECT_FALSE(wired[i] == RtuFrame(kWrite) && wired[i - 1] == RtuFrame(kWrite)) << i;
        }
    }
    Tick(m_dlg, 6);
    std::vector<std::string> wired = TakeRequests();
    int expected = fault.bRefusal ? 1 : (fault.spoil ? 3 : 1);
    EXPECT_EQ(Writes(wired), expected);
    EXPECT_EQ(m_module.ChannelType(kChannel), fault.bRefusal ? 0x09 : 0x0A);
    EXPECT_EQ(TypeRow(), fault.bRefusal ? kOldRow : kNewRow);
    EXPECT_NEAR(Volts(), kInput, 1e-3) << "scaled by the type the module measures in";
}

INSTANTIATE_TEST_SUITE_P(, PerChannelModbusTypeWrite, ::testing::ValuesIn(kFaults), FaultName);
