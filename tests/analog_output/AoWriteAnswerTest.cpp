// Every write of the analog-output dialogs is judged by the module's answer. Heard: it is done.
// Refused: it goes out no more, the dialog says so where it has a text for it, and the control
// shows the module's value again. Not heard (silence, noise, a reply of another shape or address,
// a late reply, a bad checksum or CRC, a module that never got it): it waits, goes out again once
// the module has answered a read, once per such answer, and its control keeps the operator's value
// meanwhile.
#include "ModuleDescriptor.h"
#include "ModuleDialogs.h"
#include "ModuleFixture.h"
#include "analog_output/AnalogOutputIds.h"
#include "analog_output/OutputDiIds.h"

#include "AsciiCommand.h"
#include "RtuFrame.h"
#include "SimAnalogOutput.h"
#include "SimOutputDi.h"
#include "SpoiltLine.h"
#include "Strings.h"

#include <algorithm>
#include <functional>
#include <memory>

namespace {

using Requests = std::vector<std::string>;
using Texts = std::vector<std::string>;

// One control's write: how the operator asks for it, what goes on the wire, what the module holds
// and what the dialog shows.
struct SOpening {
    const char* dialog;
    UINT nTemplate;
    ELinkKind eLink;
    const char* bus; // the module as bus-file text, its checksum off
    ModuleParamBlock block;
    int nOpenTicks; // the start-up reads
};

struct SWriteCase {
    const char* name;
    SOpening open;
    std::function<void(CDialog&)> ask;
    // ASCII as sent (without checksum digits), RTU as hex digits without the CRC.
    std::string write;
    // The module's value of what the write sets: before, and once written.
    std::function<std::string(CSimBus&)> module;
    std::string before;
    std::string after;
    // The control: the operator's value while the write waits and once it is heard, and the
    // module's value after a refusal.
    std::function<std::string(CDialog&)> control;
    std::string asked;
    std::string heard;
    std::string refusedShows;
    // What the dialog says of the outcome (null: nothing), heard and refused.
    std::function<std::string(CDialog&, const Texts& boxes)> says = {};
    std::string saysHeard = {};
    std::string saysRefused = {};
};

void PrintTo(const SWriteCase& c, std::ostream* os)
{
    *os << c.name;
}

// ---- what the operator does

std::function<void(CDialog&)> Drag(int slider, int position)
{
    return [=](CDialog& dlg) { ASSERT_TRUE(ui::DragSlider(dlg, slider, position)); };
}

std::function<void(CDialog&)> TypeInto(int edit, const char* text, int button = 0)
{
    return [=](CDialog& dlg) {
        ASSERT_TRUE(ui::Type(dlg, edit, text));
        if (button) {
            ASSERT_TRUE(ui::Click(dlg, button));
        }
    };
}

std::function<void(CDialog&)> Choose(int list, int row)
{
    return [=](CDialog& dlg) { ASSERT_TRUE(ui::ChooseRow(dlg, list, row)); };
}

// ---- what the dialog and the module show

std::function<std::string(CDialog&)> TextOf(int id)
{
    return [=](CDialog& dlg) { return dlg.GetDlgItemText(id); };
}

std::string RowOf(CDialog& dlg, int list)
{
    return Format("%d", dlg.GetDlgItemAs<CComboBox>(list)->GetCurSel());
}

std::function<std::string(CDialog&, const Texts&)> Says(int id)
{
    return [=](CDialog& dlg, const Texts&) { return dlg.GetDlgItemText(id); };
}

std::string LastBox(CDialog&, const Texts& boxes)
{
    return boxes.empty() ? std::string() : boxes.back();
}

CSimAnalogOutput& Ao(CSimBus& bus)
{
    return bus.ModuleAs<CSimAnalogOutput>(0);
}

CSimOutputDi& OutputDi(CSimBus& bus)
{
    return bus.ModuleAs<CSimOutputDi>(0);
}

constexpr auto kAscii = ELinkKind::Ascii;
constexpr auto kRtu = ELinkKind::Rtu;

// The dialogs on their modules.
const SOpening kFourAscii = {
    "CM6359", IDD_M6359, kAscii, "6359 1 9600 ascii", {"01", "06", "0", "30", "0", "6359"}, 5};
const SOpening kOneAscii = {
    "CM6359", IDD_M6359, kAscii, "6358 1 9600 ascii", {"01", "06", "0", "30", "0", "6358"}, 2};
const SOpening kTwoAscii = {
    "CM6359", IDD_M6359, kAscii, "6355 1 9600 ascii", {"01", "06", "0", "3F", "0", "6355"}, 2};
const SOpening kFourRtu = {"CM6359Modbus",
                           IDD_M6359_MODBUS,
                           kRtu,
                           "6359 1 9600 rtu",
                           {"01", "06", "0", "30", "0", "6359"},
                           3};
const SOpening kTwoRtu = {"CM6359Modbus",
                          IDD_M6359_MODBUS,
                          kRtu,
                          "6355 1 9600 rtu",
                          {"01", "06", "0", "3F", "0", "6355"},
                          5};
const SOpening kOutputDiAscii = {
    "CM6359p", IDD_M6359P, kAscii, "9359 7 9600 ascii", {"07", "06", "0", "0", "0", "4359A"}, 16};
const SOpening kOutputDiRtu = {"CM6359pModbus",
                               IDD_M6359P_MODBUS,
                               kRtu,
                               "9359 7 9600 rtu",
                               {"07", "06", "0", "8", "0", "4359A"},
                               3};

const std::vector<SWriteCase>& WriteCases()
{
    static const std::vector<SWriteCase> cases = {
        {.name = "CM6359_SliderCh2",
         .open = kFourAscii,
         .ask = Drag(kAoChannels[2].nSlider, 5000),
         .write = "#012+05.000",
         .module = [](CSimBus& bus) { return Format("%.3f", Ao(bus).Output(2)); },
         .before = "0.000",
         .after = "5.000",
         .control = TextOf(kAoChannels[2].nOutput),
         .asked = "+05.000",
         .heard = "+05.000",
         .refusedShows = "+00.000"},
        {.name = "CM6359_TypedOneChannel",
         .open = kOneAscii,
         .ask = TypeInto(kAoChannels[0].nOutput, "7.5"),
         .write = "#0107.500",
         .module = [](CSimBus& bus) { return Format("%.3f", Ao(bus).Output(0)); },
         .before = "0.000",
         .after = "7.500",
         .control = TextOf(kAoChannels[0].nOutput),
         .asked = "7.5",
         .heard = "7.5",
         .refusedShows = "00.000"},
        {.name = "CM6359_RangeCh1",
         .open = kTwoAscii,
         .ask =
             [](CDialog& dlg) {
                 ASSERT_TRUE(ui::ChooseRow(dlg, IDC_AO_RANGE_CH1, 2));
                 ASSERT_TRUE(ui::ChooseRow(dlg, IDC_AO_SLEW_CH1, 3));
                 ASSERT_TRUE(ui::Click(dlg, IDC_AO_CH1_SET));
             },
         .write = "$019123",
         .module =
             [](CSimBus& bus) {
                 return Format("%d/%d", Ao(bus).ChannelType(1) - 0x30, Ao(bus).SlewIndex(1));
             },
         .before = "0/0",
         .after = "2/3",
         .control =
             [](CDialog& dlg) {
                 return RowOf(dlg, IDC_AO_RANGE_CH1) + "/" + RowOf(dlg, IDC_AO_SLEW_CH1);
             },
         .asked = "2/3",
         .heard = "2/3",
         .refusedShows = "0/0",
         .says = Says(IDC_AO_STATUS),
         .saysHeard = "CH1 Ready!",
         .saysRefused = "CH1 Error!"},
        {.name = "CM6359Modbus_SliderCh2",
         .open = kFourRtu,
         .ask = Drag(kAoChannels[2].nSlider, 20000),
         .write = "010600024e20",
         .module = [](CSimBus& bus) { return Format("%d", Ao(bus).OutputRegister(2)); },
         .before = "0",
         .after = "20000",
         .control = TextOf(kAoChannels[2].nOutput),
         .asked = "4e20",
         .heard = "4e20",
         .refusedShows = "0000"},
        {.name = "CM6359Modbus_TypedCh1",
         .open = kTwoRtu,
         .ask = TypeInto(kAoChannels[1].nOutput, "7.5"),
         .write = "010600011D4C",
         .module = [](CSimBus& bus) { return Format("%d", Ao(bus).OutputRegister(1)); },
         .before = "0",
         .after = "7500",
         .control = TextOf(kAoChannels[1].nOutput),
         .asked = "7.5",
         .heard = "7.5",
         .refusedShows = "+00.000"},
        {.name = "CM6359p_OutputCh0",
         .open = kOutputDiAscii,
         .ask = TypeInto(IDC_ODI_VALUE, "+05.000", IDC_ODI_OUTPUT),
         .write = "#07C0+05.000",
         .module = [](CSimBus& bus) { return Format("%.3f", OutputDi(bus).Output(0)); },
         .before = "0.000",
         .after = "5.000",
         .control = TextOf(IDC_ODI_VALUE),
         .asked = "+05.000",
         .heard = "+05.000",
         .refusedShows = "+00.000"},
        {.name = "CM6359p_RangeCh1",
         .open = kOutputDiAscii,
         .ask = Choose(kOdiRangeIds[1], 1),
         .write = "$077C1R31",
         .module = [](CSimBus& bus) { return Format("%02X", OutputDi(bus).ChannelType(1)); },
         .before = "30",
         .after = "31",
         .control = [](CDialog& dlg) { return RowOf(dlg, kOdiRangeIds[1]); },
         .asked = "1",
         .heard = "1",
         .refusedShows = "0",
         .says = Says(IDC_ODI_RESPOND),
         .saysHeard = "Change Successful",
         .saysRefused = "Change UnSuccessful"},
        // Update writes all four startup values; the one of CH2 is the one tried.
        {.name = "CM6359p_StartupCh2",
         .open = kOutputDiAscii,
         .ask = TypeInto(kOdiStartupIds[2], "6", IDC_ODI_UPDATE_STARTUP),
         .write = "#07SC2+06.000",
         .module = [](CSimBus& bus) { return Format("%.3f", OutputDi(bus).Startup(2)); },
         .before = "0.000",
         .after = "6.000",
         .control = TextOf(kOdiStartupIds[2]),
         .asked = "6",
         .heard = "+06.000", // read back once all four are settled
         .refusedShows = "+00.000",
         .says = LastBox,
         .saysHeard = "Update Channel Setup Succeeded",
         .saysRefused = ""},
        {.name = "CM6359pModbus_OutputCh0",
         .open = kOutputDiRtu,
         .ask = TypeInto(IDC_ODI_CODE, "100", IDC_ODI_OUTPUT),
         .write = "070600000064",
         .module = [](CSimBus& bus) { return Format("%d", OutputDi(bus).OutputCode(0)); },
         .before = "0",
         .after = "100",
         .control = TextOf(IDC_ODI_CODE),
         .asked = "100",
         .heard = "100",
         .refusedShows = "0"},
        {.name = "CM6359pModbus_RangeCh2",
         .open = kOutputDiRtu,
         .ask = Choose(kOdiRangeIds[2], 2),
         .write = "070600CA0032",
         .module = [](CSimBus& bus) { return Format("%02X", OutputDi(bus).ChannelType(2)); },
         .before = "30",
         .after = "32",
         .control = [](CDialog& dlg) { return RowOf(dlg, kOdiRangeIds[2]); },
         .asked = "2",
         .heard = "2",
         .refusedShows = "0"},
    };
    return cases;
}

class CAoWriteFixture : public CModuleFixture {
protected:
    // The case's dialog on its module; the checksum on where asked (ASCII).
    std::unique_ptr<CDialog> Open(const SWriteCase& c, bool checksum = false)
    {
        m_bChecksum = checksum;
        ModuleParamBlock block = c.open.block;
        if (checksum) block[kCheck] = "4";
        m_bus.Load(std::string(c.open.bus) + (checksum ? " checksum=on" : ""));
        m_frame.m_strAnalogOutputParams = block;
        std::unique_ptr<CDialog> dlg = CreateModuleDialog(c.open.dialog);
        dlg->Create(c.open.nTemplate);
        Tick(*dlg, c.open.nOpenTicks);
        TakeRequests();
        m_boxes.m_boxes.clear();
        return dlg;
    }
    // A write as the wire shows it.
    std::string Wire(const SWriteCase& c, const std::string& write) const
    {
        if (c.open.eLink == kRtu) return RtuFrame(write);
        return m_bChecksum ? write + AppendChecksum(write) : write;
    }
    std::string Wire(const SWriteCase& c) const { return Wire(c, c.write); }
    std::string Says(const SWriteCase& c, CDialog& dlg) const
    {
        return c.says ? c.says(dlg, m_boxes.Texts()) : "";
    }
    static int Count(const Requests& requests, const std::string& request)
    {
        return static_cast<int>(std::ranges::count(requests, request));
    }
    // No two sends of the request stand side by side: a read stands between them.
    static void ExpectReadsBetween(const Requests& requests, const std::string& request)
    {
        for (size_t i = 1; i < requests.size(); ++i)
            EXPECT_FALSE(requests[i] == request && requests[i - 1] == request) << i;
    }

    bool m_bChecksum = false;
};

// ---- one fault on the write's first send

struct SFault {
    ESpoil eSpoil;
    bool bRefusal;
};

const SFault kFaults[] = {
    {ESpoil::Silent, false},       {ESpoil::Garbled, false}, {ESpoil::Padded, false},
    {ESpoil::OtherAddress, false}, {ESpoil::Late, false},    {ESpoil::WrongDigits, false},
    {ESpoil::BadCrc, false},       {ESpoil::Unheard, false}, {ESpoil::Declined, true},
};

struct SFaultRow {
    SWriteCase write;
    SFault fault;
};

void PrintTo(const SFaultRow& row, std::ostream* os)
{
    *os << row.write.name << " " << SpoilName(row.fault.eSpoil);
}

std::vector<SFaultRow> FaultRows()
{
    std::vector<SFaultRow> rows;
    for (const SWriteCase& c : WriteCases()) {
        for (const SFault& f : kFaults) {
            // A bad checksum on an ASCII line, a bad CRC on a Modbus one.
            if (f.eSpoil == (c.open.eLink == kRtu ? ESpoil::WrongDigits : ESpoil::BadCrc)) continue;
            rows.push_back({c, f});
        }
    }
    return rows;
}

std::string FaultRowName(const ::testing::TestParamInfo<SFaultRow>& info)
{
    std::string name =
        std::string(info.param.write.name) + "_" + SpoilName(info.param.fault.eSpoil);
    std::ranges::replace(name, ' ', '_');
    return name;
}

class AoWriteAnswer : public CAoWriteFixture, public ::testing::WithParamInterface<SFaultRow> {};

} // namespace

TEST_P(AoWriteAnswer, HeardOnceNotHeardAgainAfterAReadRefusedShowsTheModule)
{
    const SWriteCase& c = GetParam().write;
    const SFault& fault = GetParam().fault;
    std::unique_ptr<CDialog> dlg = Open(c, fault.eSpoil == ESpoil::WrongDigits);
    ASSERT_EQ(c.module(m_bus), c.before);
    const std::string wire = Wire(c);
    {
        CSpoiltLine line(fault.eSpoil, wire, 1);
        line.HideFrom(m_bus);
        c.ask(*dlg);
        for (int i = 0; i < 10 && line.Spoilt() == 0; ++i) Tick(*dlg);
        ASSERT_EQ(line.Spoilt(), 1) << "the write did not go out";
        Tick(*dlg); // its reply is read
        EXPECT_EQ(Count(m_link.Requests(), wire), 1) << "during the fault";
        if (!fault.bRefusal) {
            EXPECT_EQ(c.control(*dlg), c.asked) << "the control keeps the operator's value";
            if (!c.saysHeard.empty()) {
                EXPECT_NE(Says(c, *dlg), c.saysHeard);
            }
        }
        Tick(*dlg, 14);
    }
    Requests wired = TakeRequests();
    EXPECT_EQ(Count(wired, wire), fault.bRefusal ? 1 : 2) << "once, and once after a read";
    ExpectReadsBetween(wired, wire);
    EXPECT_EQ(c.module(m_bus), fault.bRefusal ? c.before : c.after);
    EXPECT_EQ(c.control(*dlg), fault.bRefusal ? c.refusedShows : c.heard);
    if (c.says) {
        EXPECT_EQ(Says(c, *dlg), fault.bRefusal ? c.saysRefused : c.saysHeard);
    }
    if (dlg->IsRunning()) dlg->OnCancel();
}

INSTANTIATE_TEST_SUITE_P(, AoWriteAnswer, ::testing::ValuesIn(FaultRows()), FaultRowName);

namespace {

class AoWriteWaits : public CAoWriteFixture, public ::testing::WithParamInterface<SWriteCase> {};

std::string WriteCaseName(const ::testing::TestParamInfo<SWriteCase>& info)
{
    return info.param.name;
}

} // namespace

// A module that stays silent gets the write once; noise on every reply to the write sends it
// again once per answered read, never twice in a row. Meanwhile the control keeps the operator's
// value and the dialog claims no success.
TEST_P(AoWriteWaits, OnceIntoSilenceThenOncePerAnsweredRead)
{
    const SWriteCase& c = GetParam();
    std::unique_ptr<CDialog> dlg = Open(c);
    const std::string wire = Wire(c);
    auto tick = [&](int n) {
        for (int i = 0; i < n; ++i) {
            Tick(*dlg);
            EXPECT_EQ(c.control(*dlg), c.asked) << "tick " << i;
            if (!c.saysHeard.empty()) {
                EXPECT_NE(Says(c, *dlg), c.saysHeard) << "tick " << i;
            }
        }
    };
    m_bus.Module(0).Faults().nSilentAfter = 0;
    c.ask(*dlg);
    tick(10);
    EXPECT_EQ(Count(TakeRequests(), wire), 1) << "into silence";
    EXPECT_EQ(c.module(m_bus), c.before);

    m_bus.Module(0).Faults().nSilentAfter = -1;
    {
        CSpoiltLine line(ESpoil::Garbled, wire, 3);
        for (int i = 0; i < 20 && line.Left() > 0; ++i) tick(1);
        EXPECT_EQ(line.Left(), 0);
        Tick(*dlg);
    }
    Requests wired = TakeRequests();
    EXPECT_EQ(Count(wired, wire), 3) << "once per answered read";
    ExpectReadsBetween(wired, wire);
    Tick(*dlg, 14);
    Requests after = TakeRequests();
    EXPECT_EQ(Count(after, wire), 1);
    EXPECT_EQ(c.module(m_bus), c.after);
    EXPECT_EQ(c.control(*dlg), c.heard);
    if (c.says) {
        EXPECT_EQ(Says(c, *dlg), c.saysHeard);
    }
    Tick(*dlg, 8);
    EXPECT_EQ(Count(TakeRequests(), wire), 0) << "heard, it goes out no more";
    if (dlg->IsRunning()) dlg->OnCancel();
}

INSTANTIATE_TEST_SUITE_P(, AoWriteWaits, ::testing::ValuesIn(WriteCases()), WriteCaseName);

namespace {

// Two controls of one dialog written before the next tick, or the second asked while the first,
// sent into a silent module, waits: both reach the module.
struct STwoWrites {
    const char* name;
    const SWriteCase& first;
    std::function<void(CDialog&)> askSecond;
    std::string second; // as SWriteCase::write
    std::function<std::string(CSimBus&)> module;
    std::string after; // the module's value of the second
};

const SWriteCase& Case(const char* name)
{
    return *std::ranges::find_if(
        WriteCases(), [name](const SWriteCase& c) { return c.name == std::string(name); });
}

std::vector<STwoWrites> TwoWrites()
{
    return {
        {"CM6359", Case("CM6359_SliderCh2"), TypeInto(kAoChannels[1].nOutput, "8"), "#011+08.000",
         [](CSimBus& bus) { return Format("%.3f", Ao(bus).Output(1)); }, "8.000"},
        {"CM6359Modbus", Case("CM6359Modbus_SliderCh2"), Drag(kAoChannels[0].nSlider, 4096),
         "010600001000", [](CSimBus& bus) { return Format("%d", Ao(bus).OutputRegister(0)); },
         "4096"},
        {"CM6359p", Case("CM6359p_OutputCh0"),
         [](CDialog& dlg) {
             ASSERT_TRUE(ui::ChooseRow(dlg, IDC_ODI_CHANNEL, 3));
             ASSERT_TRUE(ui::Type(dlg, IDC_ODI_VALUE, "12.5"));
             ASSERT_TRUE(ui::Click(dlg, IDC_ODI_OUTPUT));
         },
         "#07C3+12.500", [](CSimBus& bus) { return Format("%.3f", OutputDi(bus).Output(3)); },
         "12.500"},
        {"CM6359pModbus", Case("CM6359pModbus_OutputCh0"),
         [](CDialog& dlg) {
             ASSERT_TRUE(ui::ChooseRow(dlg, IDC_ODI_CHANNEL, 1));
             ASSERT_TRUE(ui::Type(dlg, IDC_ODI_CODE, "200"));
             ASSERT_TRUE(ui::Click(dlg, IDC_ODI_OUTPUT));
         },
         "0706000100C8", [](CSimBus& bus) { return Format("%d", OutputDi(bus).OutputCode(1)); },
         "200"},
    };
}

class AoTwoWrites : public CAoWriteFixture {};

} // namespace

TEST_F(AoTwoWrites, BothReachTheModule)
{
    for (bool firstUnheard : {false, true}) {
        for (const STwoWrites& t : TwoWrites()) {
            SCOPED_TRACE(std::string(t.name) + (firstUnheard ? " first unheard" : " one tick"));
            m_bus = CSimBus{};
            std::unique_ptr<CDialog> dlg = Open(t.first);
            t.first.ask(*dlg);
            if (firstUnheard) {
                m_bus.Module(0).Faults().nSilentAfter = 0;
                Tick(*dlg, 2);
                ASSERT_EQ(Count(m_link.Requests(), Wire(t.first)), 1);
            }
            t.askSecond(*dlg);
            if (firstUnheard) {
                Tick(*dlg, 2);
                m_bus.Module(0).Faults().nSilentAfter = -1;
            }
            Tick(*dlg, 10);
            Requests wired = TakeRequests();
            EXPECT_EQ(Count(wired, Wire(t.first)), firstUnheard ? 2 : 1);
            EXPECT_GE(Count(wired, Wire(t.first, t.second)), 1);
            EXPECT_EQ(t.first.module(m_bus), t.first.after);
            EXPECT_EQ(t.module(m_bus), t.after);
            dlg->OnCancel();
        }
    }
}
