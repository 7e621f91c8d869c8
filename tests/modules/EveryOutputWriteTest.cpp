// Every write an operator can ask of every registered dialog, tried under every fault of the line
// or the module: it goes out once, and again once per poll the module answered, until the module
// hears or refuses it; its control keeps the operator's value meanwhile and shows the module's
// after a refusal; the dialog's text says what came of it; and the module ends with the operator's
// value, or keeps its own after a refusal. On a line that answers, each write goes out once, and
// two controls written before one tick both reach the module.
#include "EveryDialog.h"

#include "ModuleDialogs.h"
#include "PerChannelIds.h"
#include "Presses.h"
#include "SimAnalogInput.h"
#include "SimAnalogOutput.h"
#include "SimBridgeInput.h"
#include "SimCodec.h"
#include "SimCounter.h"
#include "SimDigitalIo.h"
#include "SimOutputDi.h"
#include "SimPowerMeter.h"
#include "SimRack.h"
#include "SimRackModbus.h"
#include "SimThermocouple.h"
#include "Strings.h"
#include "UiDriver.h"
#include "WriteFaults.h"
#include "analog_input/6385pModbus.h"
#include "analog_input/AnalogInputIds.h"
#include "analog_output/AnalogOutputIds.h"
#include "analog_output/OutputDiIds.h"
#include "counter_power/CounterPowerIds.h"
#include "digital_io/DigitalIoIds.h"
#include "digital_io/DioModel.h"
#include "rack/RackIds.h"
#include "rack/RackModbusIds.h"
#include "rack/V1333M.h"
#include "rack/V1333RTUIO.h"
#include "rack/V1384HM.h"
#include "thermocouple/ThermocoupleIds.h"

#include <algorithm>
#include <cctype>
#include <functional>
#include <map>
#include <set>

namespace {

using Texts = std::vector<std::string>;
// The window whose ticks carry the writes: the dialog itself, or a page it shows.
using Prepare = std::function<CDialog&(CDialog&)>;
using Ask = std::function<void(CDialog&)>;
using Shown = std::function<std::string(CDialog&)>;
using Says = std::function<std::string(CDialog&, const Texts& boxes)>;
using Done = std::function<bool(CSimModule&)>;

// One write an operator asks of a dialog.
struct SWriteCase {
    const char* pszHow; // unique within the dialog's rows
    // A model of its own where the row's module has no such write: its bus text and Module entry.
    const char* pszBus = nullptr;
    const char* pszModule = nullptr;
    Ask ask;
    // The write on the wire: ASCII as text (without checksum digits), Modbus RTU as hex digits
    // without the CRC.
    std::string strWrite;
    // The module holds the operator's value.
    Done done;
    // The module before the dialog opens.
    std::function<void(CSimModule&)> prepareModule = {};
    // The write's control (none: nothing shows it): what it shows while the write is pending,
    // once it is heard (empty: the same), and after a refusal.
    Shown control = {};
    std::string strAsked = {};
    std::string strHeard = {};
    std::string strRefused = {};
    // What the dialog says of the outcome (none: it says nothing): heard, and refused.
    Says says = {};
    std::string strSaysHeard = {};
    std::string strSaysRefused = {};
    // The request goes without checksum digits: a module whose checksum is on never hears it.
    bool bPlain = false;
    // The dialog itself sends it again on every second tick until it is acknowledged.
    bool bRepeated = false;
    Prepare prepare = {};
};

// ---- what the operator does

Ask Drag(int id, int position)
{
    return [=](CDialog& dlg) { ASSERT_TRUE(ui::DragSlider(dlg, id, position)); };
}

Ask TypeInto(int id, const char* text)
{
    return [=](CDialog& dlg) { ASSERT_TRUE(ui::Type(dlg, id, text)); };
}

Ask Choose(int list, int row)
{
    return [=](CDialog& dlg) { ASSERT_TRUE(ui::ChooseRow(dlg, list, row)); };
}

// Chooses a channel, types a value for it and clicks a button.
Ask ForChannel(int channelList, int channel, int edit, const char* text, int button)
{
    return [=](CDialog& dlg) {
        ASSERT_TRUE(ui::ChooseRow(dlg, channelList, channel));
        ASSERT_TRUE(ui::Type(dlg, edit, text));
        ASSERT_TRUE(ui::Click(dlg, button));
    };
}

// The Modbus rack window: the table read, then the tab of a slot, whose page carries the writes.
Prepare RackPage(int tab, bool digital)
{
    return [=](CDialog& dlg) -> CDialog& {
        auto& rack = dynamic_cast<CV1333M&>(dlg);
        EXPECT_TRUE(ui::SelectTab(rack, IDC_RACK_TAB, tab));
        CDialog* page = digital ? static_cast<CDialog*>(rack.m_tab.m_pDigitalPage.get())
                                : static_cast<CDialog*>(rack.m_tab.m_pAnalogPage.get());
        return page ? *page : dlg;
    };
}

// ---- what the dialog and the module show

Shown TextOf(int id)
{
    return [=](CDialog& dlg) { return dlg.GetDlgItemText(id); };
}

// A lamp: "R" lit, "W" dark, "G" not in use.
Shown Lamp(int id)
{
    return [=](CDialog& dlg) { return LampShown(dlg, id)(); };
}

Shown RowOf(int list)
{
    return
        [=](CDialog& dlg) { return Format("%d", dlg.GetDlgItemAs<CComboBox>(list)->GetCurSel()); };
}

// A check box: "1" ticked, "0" not.
Shown BoxOf(int id)
{
    return [=](CDialog& dlg) { return std::string(dlg.IsDlgButtonChecked(id) ? "1" : "0"); };
}

// A lamp of the Modbus rack's digital page: "R" set, "W" clear.
Shown RackDot(size_t channel)
{
    return [=](CDialog& dlg) {
        return dynamic_cast<CV1333RTUIO&>(dlg).m_btnChannel[channel].GetIcon() == IDI_DOT_SET ? "R"
                                                                                              : "W";
    };
}

Says StatusOf(int id)
{
    return [=](CDialog& dlg, const Texts&) { return dlg.GetDlgItemText(id); };
}

std::string LastBox(CDialog&, const Texts& boxes)
{
    return boxes.empty() ? std::string() : boxes.back();
}

// The module's channels measure in the type.
Done TypesAre(std::vector<int> channels, BYTE type)
{
    return [=](CSimModule& module) {
        return std::ranges::all_of(channels, [&](int k) { return module.ChannelType(k) == type; });
    };
}

// The module, as its family, holds what test says.
template <class Module> Done Holds(std::function<bool(Module&)> test)
{
    return [test](CSimModule& module) { return test(dynamic_cast<Module&>(module)); };
}

template <class Module> std::function<void(CSimModule&)> Before(std::function<void(Module&)> set)
{
    return [set](CSimModule& module) { set(dynamic_cast<Module&>(module)); };
}

std::string Fixed3(double value)
{
    return Format("%.3f", value);
}

// A 6385P lamp with the output flag its next click toggles from.
Shown CoilLamp(int id, int output)
{
    return [=](CDialog& dlg) {
        return LampShown(dlg, id)() +
               Format("%d", dynamic_cast<C6385pModbus&>(dlg).m_bOutputOn[output]);
    };
}

// A type list of the ASCII per-channel engine: the row chosen, the code it sends, and the row the
// list shows again after a refusal (the module's type).
SWriteCase PerChannelType(const char* how, int channel, int row, const char* code, int moduleRow)
{
    return {.pszHow = how,
            .ask = Choose(IDC_PC_TYPE0 + channel, row),
            .strWrite = Format("$017C%dR%s", channel, code),
            .done = Holds<CSimModule>(
                [=](CSimModule& m) { return SimHexPair(m.ChannelType(channel)) == code; }),
            .control = RowOf(IDC_PC_TYPE0 + channel),
            .strAsked = std::to_string(row),
            .strRefused = std::to_string(moduleRow),
            .says = StatusOf(IDC_PC_RESPOND),
            .strSaysHeard = "Change Successful",
            .strSaysRefused = "Change UnSuccessful"};
}

// CH1's enable box of the ASCII per-channel engine cleared, every other channel on.
SWriteCase PerChannelMaskCh1()
{
    return {.pszHow = "MaskCh1",
            .ask = Clicks(kPcCheckIds[1]),
            .strWrite = "$015FD",
            .done =
                Holds<CSimAnalogInput8>([](CSimAnalogInput8& m) { return m.EnableMask() == 0xFD; }),
            .control = BoxOf(kPcCheckIds[1]),
            .strAsked = "0",
            .strRefused = "1",
            .says = StatusOf(IDC_PC_RESPOND),
            .strSaysHeard = "Enable/Disable Channels Successful",
            .strSaysRefused = "Enable/Disable Channels UnSuccessful"};
}

// Every registered dialog and the writes an operator can ask of it; none for a dialog without
// one. A row states how the operator asks, the request on the wire, what the module then holds,
// and what shows the write in the dialog; a rack page's write names the page its ticks run on.
const std::map<std::string, std::vector<SWriteCase>>& WriteCases()
{
    using Pm = CSimPowerMeter;
    using Counter = CSimCounter;
    using Bridge = CSimBridgeInput;
    using Ao = CSimAnalogOutput;
    using Odi = CSimOutputDi;
    using Dio = CSimDigitalIo;
    static const std::map<std::string, std::vector<SWriteCase>> cases = {
        {"CM6530rtu", {}},
        // An output write not made says "DIO Error!"; the ratios have no word for it.
        {"CM63508",
         {{.pszHow = "Lamp0",
           .pszBus = "6539 1 9600 ascii",
           .pszModule = "6539",
           .ask = ClickLamp(IDC_PM_OUTPUT0),
           .strWrite = "@01O1",
           .done = Holds<Pm>([](const Pm& m) { return (m.Outputs() & 0x1) != 0; }),
           .control = Lamp(IDC_PM_OUTPUT0),
           .strAsked = "R",
           .strRefused = "W",
           .says = StatusOf(IDC_PM_STATUS),
           .strSaysRefused = "DIO Error!"},
          {.pszHow = "SetPT",
           .pszBus = "6539 1 9600 ascii",
           .pszModule = "6539",
           .ask = TypeAndClick(IDC_PM_PT_SET, "250", IDC_PM_SET_PT),
           .strWrite = "$01500fa",
           .done = Holds<Pm>([](const Pm& m) { return m.PtRatio() == 250; }),
           .says = StatusOf(IDC_PM_STATUS),
           .bPlain = true},
          {.pszHow = "SetCT",
           .pszBus = "6539 1 9600 ascii",
           .pszModule = "6539",
           .ask = TypeAndClick(IDC_PM_CT_SET, "5", IDC_PM_SET_CT),
           .strWrite = "$0160005",
           .done = Holds<Pm>([](const Pm& m) { return m.CtRatio() == 5; }),
           .says = StatusOf(IDC_PM_STATUS),
           .bPlain = true}}},
        // Each operation says "Ready." once heard and "Error!" once refused.
        {"CM6363",
         {{.pszHow = "Lamp0",
           .ask = ClickLamp(IDC_CNT_LAMP0),
           .strWrite = "@0ADO01",
           .done = Holds<Counter>([](const Counter& m) { return (m.Outputs() & 0x1) != 0; }),
           .control = Lamp(IDC_CNT_LAMP0),
           .strAsked = "R",
           .strRefused = "W",
           .says = StatusOf(IDC_CNT_STATUS),
           .strSaysHeard = "Ready.",
           .strSaysRefused = "Error!"},
          {.pszHow = "Lamp1",
           .ask = ClickLamp(IDC_CNT_LAMP1),
           .strWrite = "@0ADO02",
           .done = Holds<Counter>([](const Counter& m) { return (m.Outputs() & 0x2) != 0; }),
           .control = Lamp(IDC_CNT_LAMP1),
           .strAsked = "R",
           .strRefused = "W",
           .says = StatusOf(IDC_CNT_STATUS),
           .strSaysHeard = "Ready.",
           .strSaysRefused = "Error!"},
          {.pszHow = "MaxCount",
           .ask = TypeAndClick(IDC_CNT_MAX0, "00000010", IDC_CNT_SET_MAX0),
           .strWrite = "$0A3000000010",
           .done = Holds<Counter>([](const Counter& m) { return m.MaxCount(0) == 0x10; }),
           .says = StatusOf(IDC_CNT_STATUS),
           .strSaysHeard = "Ready.",
           .strSaysRefused = "Error!"},
          {.pszHow = "Gate",
           .ask = ChooseAndClick(IDC_CNT_GATE, 2, IDC_CNT_SET_GATE),
           .strWrite = "$0AA1",
           .done = Holds<Counter>([](const Counter& m) { return m.Gate() == 1; }),
           .says = StatusOf(IDC_CNT_STATUS),
           .strSaysHeard = "Ready.",
           .strSaysRefused = "Error!"}}},
        {"CM6380", {}},
        {"CM6309x", {}},
        {"CM6307p", {PerChannelType("TypeCh5", 5, 12, "2F", 0)}},
        {"CM6382p", {PerChannelType("TypeCh5", 5, 10, "2A", -1)}},
        {"CM63828p", {PerChannelType("TypeCh2", 2, 1, "31", 0)}},
        {"CM6307pModbus", {}},
        {"CM6300Modbus", {}},
        {"CM6382pModbus", {}},
        {"CM6382TModbus", {}},
        {"CM6384",
         {{.pszHow = "Lamp0",
           .pszBus = "6385 1 9600 ascii",
           .pszModule = "4385",
           .ask = ClickLamp(IDC_AI_LAMP0),
           .strWrite = "@01DO01",
           .done = Holds<CSimAnalogInputAlarm>(
               [](CSimAnalogInputAlarm& m) { return (m.Outputs(0) & 0x1) != 0; }),
           .control = Lamp(IDC_AI_LAMP0),
           .strAsked = "R",
           .strRefused = "W"},
          {.pszHow = "MaskCh1",
           .pszBus = "9384P 1 9600 ascii",
           .pszModule = "4384A",
           .ask = Clicks(kAiCheckIds[1]),
           .strWrite = "$015FD",
           .done =
               Holds<CSimAnalogInput8>([](CSimAnalogInput8& m) { return m.EnableMask() == 0xFD; }),
           .control = BoxOf(kAiCheckIds[1]),
           .strAsked = "0",
           .strRefused = "1"},
          {.pszHow = "ChConf",
           .pszBus = "9384P 1 9600 ascii",
           .pszModule = "4384A",
           .ask =
               [](CDialog& dlg) {
                   ASSERT_TRUE(ui::ChooseRow(dlg, IDC_AI_CH_NUMBER, 6));
                   ASSERT_TRUE(ui::ChooseRow(dlg, IDC_AI_CH_TYPE, 2));
                   ASSERT_TRUE(ui::Click(dlg, IDC_AI_CH_CONF));
               },
           .strWrite = "$017C6R09",
           .done = TypesAre({6}, 0x09),
           .prepareModule = Before<CSimModule>([](CSimModule& m) { m.SetChannelType(6, 0x07); }),
           .control = RowOf(IDC_AI_CH_TYPE),
           .strAsked = "2",
           .strRefused = "0"},
          {.pszHow = "FollowCh0",
           .pszBus = "9384P 1 9600 ascii",
           .pszModule = "4384A",
           .ask = ChooseAndClick(IDC_AI_CH_TYPE, 2, IDC_AI_FOLLOW_CH0),
           .strWrite = "$017C0R09",
           .done = TypesAre({0, 1, 2, 3, 4, 5, 6, 7}, 0x09),
           .prepareModule = Before<CSimModule>([](CSimModule& m) { m.SetChannelType(0, 0x07); }),
           .control = RowOf(IDC_AI_CH_TYPE),
           .strAsked = "2",
           .strRefused = "0"}}},
        {"CM6384Modbus",
         {{.pszHow = "MaskCh0",
           .ask = Clicks(kAiCheckIds[0]),
           .strWrite = "010600DC00FE",
           .done =
               Holds<CSimAnalogInput8>([](CSimAnalogInput8& m) { return m.EnableMask() == 0xFE; }),
           .control = BoxOf(kAiCheckIds[0]),
           .strAsked = "0",
           .strRefused = "1"}}},
        {"CM6387",
         {{.pszHow = "Lamp0",
           .ask = ClickLamp(kBridgeDoLampIds[0]),
           .strWrite = "@06DO01",
           .done = Holds<Bridge>([](const Bridge& m) { return (m.Outputs() & 0x1) != 0; }),
           .control = Lamp(kBridgeDoLampIds[0]),
           .strAsked = "R",
           .strRefused = "W"},
          {.pszHow = "Excitation",
           .ask = Drag(IDC_BRIDGE_SLIDER, 5000),
           .strWrite = "$067+05.000",
           .done = Holds<Bridge>([](const Bridge& m) { return m.Excitation() == 5.0; }),
           .control = TextOf(IDC_BRIDGE_EXCITATION),
           .strAsked = "+05.000",
           .strRefused = "+00.000"},
          {.pszHow = "Select",
           .ask = ChooseAndClick(IDC_BRIDGE_NUMBER, 1, IDC_BRIDGE_SELECT),
           .strWrite = "$0631",
           .done = Holds<Bridge>([](const Bridge& m) { return m.SelectedChannel() == 1; })}}},
        {"CM6384P", {PerChannelType("TypeCh3", 3, 2, "09", 3), PerChannelMaskCh1()}},
        {"CM6384pModbus",
         {{.pszHow = "TypeCh2",
           .ask = Choose(IDC_PC_TYPE0 + 2, 3),
           .strWrite = "010600CA000A",
           .done = TypesAre({2}, 0x0A),
           .control = RowOf(IDC_PC_TYPE0 + 2),
           .strAsked = "3",
           .strRefused = "1"},
          {.pszHow = "MaskCh1",
           .ask = Clicks(kPcCheckIds[1]),
           .strWrite = "010600DC00FD",
           .done =
               Holds<CSimAnalogInput8>([](CSimAnalogInput8& m) { return m.EnableMask() == 0xFD; }),
           .control = BoxOf(kPcCheckIds[1]),
           .strAsked = "0",
           .strRefused = "1"}}},
        {"C6385pModbus",
         {{.pszHow = "Lamp0",
           .ask = ClickLamp(IDC_6385_DIO0_LAMP),
           .strWrite = "01050010FF00",
           .done = Holds<CSimAnalogInputDio>(
               [](const CSimAnalogInputDio& m) { return (m.Outputs() & 0x1) != 0; }),
           .control = CoilLamp(IDC_6385_DIO0_LAMP, 0),
           .strAsked = "R1",
           .strRefused = "W0"},
          {.pszHow = "Lamp1",
           .ask = ClickLamp(IDC_6385_DIO1_LAMP),
           .strWrite = "01050011FF00",
           .done = Holds<CSimAnalogInputDio>(
               [](const CSimAnalogInputDio& m) { return (m.Outputs() & 0x2) != 0; }),
           .control = CoilLamp(IDC_6385_DIO1_LAMP, 1),
           .strAsked = "R1",
           .strRefused = "W0"}}},
        {"CM6386",
         {{.pszHow = "LowLamp",
           .pszBus = "4388 0x10 9600 ascii",
           .pszModule = "4388",
           .ask = ClickLamp(IDC_TC_LOW_LAMP),
           .strWrite = "@10DO01",
           .done = Holds<CSimThermocoupleAlarm>(
               [](CSimThermocoupleAlarm& m) { return (m.Outputs(0) & 0x1) != 0; }),
           .control = Lamp(IDC_TC_LOW_LAMP),
           .strAsked = "R",
           .strRefused = "W"}}},
        {"CM6386Modbus",
         {{.pszHow = "MaskCh6",
           .ask = Clicks(kTcCheckIds[6]),
           .strWrite = "0A0600DC00BF",
           .done =
               Holds<CSimAnalogInput8>([](CSimAnalogInput8& m) { return m.EnableMask() == 0xBF; }),
           .control = BoxOf(kTcCheckIds[6]),
           .strAsked = "0",
           .strRefused = "1",
           .says = StatusOf(IDC_TCM_MASK_STATUS),
           .strSaysHeard = "Ready!",
           .strSaysRefused = "Error!"}}},
        {"CM6386P", {PerChannelType("TypeCh7", 7, 8, "14", -1), PerChannelMaskCh1()}},
        {"CM6386PModbus", {}},
        {"CM6381p", {PerChannelType("TypeCh6", 6, 14, "14", -1), PerChannelMaskCh1()}},
        {"CM6359",
         {{.pszHow = "SliderCh2",
           .ask = Drag(kAoChannels[2].nSlider, 5000),
           .strWrite = "#012+05.000",
           .done = Holds<Ao>([](const Ao& m) { return Fixed3(m.Output(2)) == "5.000"; }),
           .control = TextOf(kAoChannels[2].nOutput),
           .strAsked = "+05.000",
           .strRefused = "+00.000"},
          {.pszHow = "TypedCh0",
           .ask = TypeInto(kAoChannels[0].nOutput, "+7.5"),
           .strWrite = "#010+07.500",
           .done = Holds<Ao>([](const Ao& m) { return Fixed3(m.Output(0)) == "7.500"; }),
           .control = TextOf(kAoChannels[0].nOutput),
           .strAsked = "+7.5",
           .strRefused = "+00.000"},
          {.pszHow = "Slider6355",
           .pszBus = "6355 1 9600 ascii",
           .pszModule = "6355",
           .ask = Drag(kAoChannels[1].nSlider, 5000),
           .strWrite = "#01105.000",
           .done = Holds<Ao>([](const Ao& m) { return Fixed3(m.Output(1)) == "5.000"; }),
           .control = TextOf(kAoChannels[1].nOutput),
           .strAsked = "05.000",
           .strRefused = "00.000"},
          {.pszHow = "Range6355Ch1",
           .pszBus = "6355 1 9600 ascii",
           .pszModule = "6355",
           .ask =
               [](CDialog& dlg) {
                   ASSERT_TRUE(ui::ChooseRow(dlg, IDC_AO_RANGE_CH1, 2));
                   ASSERT_TRUE(ui::ChooseRow(dlg, IDC_AO_SLEW_CH1, 3));
                   ASSERT_TRUE(ui::Click(dlg, IDC_AO_CH1_SET));
               },
           .strWrite = "$019123",
           .done = Holds<Ao>(
               [](const Ao& m) { return m.ChannelType(1) == 0x32 && m.SlewIndex(1) == 3; }),
           .control =
               [](CDialog& dlg) {
                   return RowOf(IDC_AO_RANGE_CH1)(dlg) + "/" + RowOf(IDC_AO_SLEW_CH1)(dlg);
               },
           .strAsked = "2/3",
           .strRefused = "0/0",
           .says = StatusOf(IDC_AO_STATUS),
           .strSaysHeard = "CH1 Ready!",
           .strSaysRefused = "CH1 Error!"},
          {.pszHow = "Slider6358",
           .pszBus = "6358 1 9600 ascii",
           .pszModule = "6358",
           .ask = Drag(kAoChannels[0].nSlider, 5000),
           .strWrite = "#0105.000",
           .done = Holds<Ao>([](const Ao& m) { return Fixed3(m.Output(0)) == "5.000"; }),
           .control = TextOf(kAoChannels[0].nOutput),
           .strAsked = "05.000",
           .strRefused = "00.000"},
          {.pszHow = "Typed6358",
           .pszBus = "6358 1 9600 ascii",
           .pszModule = "6358",
           .ask = TypeInto(kAoChannels[0].nOutput, "7.5"),
           .strWrite = "#0107.500",
           .done = Holds<Ao>([](const Ao& m) { return Fixed3(m.Output(0)) == "7.500"; }),
           .control = TextOf(kAoChannels[0].nOutput),
           .strAsked = "7.5",
           .strRefused = "00.000"}}},
        {"CM6359Modbus",
         {{.pszHow = "SliderCh2",
           .ask = Drag(kAoChannels[2].nSlider, 20000),
           .strWrite = "010600024e20",
           .done = Holds<Ao>([](const Ao& m) { return m.OutputRegister(2) == 20000; }),
           .control = TextOf(kAoChannels[2].nOutput),
           .strAsked = "4e20",
           .strRefused = "0000"},
          {.pszHow = "SliderCh0",
           .ask = Drag(kAoChannels[0].nSlider, 4096),
           .strWrite = "010600001000",
           .done = Holds<Ao>([](const Ao& m) { return m.OutputRegister(0) == 4096; }),
           .control = TextOf(kAoChannels[0].nOutput),
           .strAsked = "1000",
           .strRefused = "0000"},
          {.pszHow = "Slider6355",
           .pszBus = "6355 1 9600 rtu",
           .pszModule = "6355",
           .ask = Drag(kAoChannels[0].nSlider, 5000),
           .strWrite = "010600001388",
           .done = Holds<Ao>([](const Ao& m) { return m.OutputRegister(0) == 5000; })},
          {.pszHow = "Typed6355Ch1",
           .pszBus = "6355 1 9600 rtu",
           .pszModule = "6355",
           .ask = TypeInto(kAoChannels[1].nOutput, "7.5"),
           .strWrite = "010600011D4C",
           .done = Holds<Ao>([](const Ao& m) { return m.OutputRegister(1) == 7500; }),
           .control = TextOf(kAoChannels[1].nOutput),
           .strAsked = "7.5",
           .strRefused = "+00.000"}}},
        {"CM6359p",
         {{.pszHow = "OutputCh0",
           .ask = TypeAndClick(IDC_ODI_VALUE, "+05.000", IDC_ODI_OUTPUT),
           .strWrite = "#07C0+05.000",
           .done = Holds<Odi>([](const Odi& m) { return Fixed3(m.Output(0)) == "5.000"; }),
           .control = TextOf(IDC_ODI_VALUE),
           .strAsked = "+05.000",
           .strRefused = "+00.000"},
          {.pszHow = "OutputCh3",
           .ask = ForChannel(IDC_ODI_CHANNEL, 3, IDC_ODI_VALUE, "12.5", IDC_ODI_OUTPUT),
           .strWrite = "#07C3+12.500",
           .done = Holds<Odi>([](const Odi& m) { return Fixed3(m.Output(3)) == "12.500"; }),
           .control = TextOf(IDC_ODI_VALUE),
           .strAsked = "12.5",
           .strRefused = "+00.000"},
          {.pszHow = "RangeCh1",
           .ask = Choose(kOdiRangeIds[1], 1),
           .strWrite = "$077C1R31",
           .done = Holds<Odi>([](const Odi& m) { return m.ChannelType(1) == 0x31; }),
           .control = RowOf(kOdiRangeIds[1]),
           .strAsked = "1",
           .strRefused = "0",
           .says = StatusOf(IDC_ODI_RESPOND),
           .strSaysHeard = "Change Successful",
           .strSaysRefused = "Change UnSuccessful"},
          // Update writes all four startup values; the one of CH2 is the one tried. The field
          // shows the module's form once all four are settled.
          {.pszHow = "StartupCh2",
           .ask = TypeAndClick(kOdiStartupIds[2], "6", IDC_ODI_UPDATE_STARTUP),
           .strWrite = "#07SC2+06.000",
           .done = Holds<Odi>([](const Odi& m) { return Fixed3(m.Startup(2)) == "6.000"; }),
           .control = TextOf(kOdiStartupIds[2]),
           .strAsked = "6",
           .strHeard = "+06.000",
           .strRefused = "+00.000",
           .says = LastBox,
           .strSaysHeard = "Update Channel Setup Succeeded"}}},
        {"CM6359pModbus",
         {{.pszHow = "SettingCh0",
           .ask = TypeAndClick(IDC_ODI_CODE, "100", IDC_ODI_OUTPUT),
           .strWrite = "070600000064",
           .done = Holds<Odi>([](const Odi& m) { return m.OutputCode(0) == 100; }),
           .control = TextOf(IDC_ODI_CODE),
           .strAsked = "100",
           .strRefused = "0"},
          {.pszHow = "SettingCh1",
           .ask = ForChannel(IDC_ODI_CHANNEL, 1, IDC_ODI_CODE, "200", IDC_ODI_OUTPUT),
           .strWrite = "0706000100C8",
           .done = Holds<Odi>([](const Odi& m) { return m.OutputCode(1) == 200; }),
           .control = TextOf(IDC_ODI_CODE),
           .strAsked = "200",
           .strRefused = "0"},
          {.pszHow = "RangeCh2",
           .ask = Choose(kOdiRangeIds[2], 2),
           .strWrite = "070600CA0032",
           .done = Holds<Odi>([](const Odi& m) { return m.ChannelType(2) == 0x32; }),
           .control = RowOf(kOdiRangeIds[2]),
           .strAsked = "2",
           .strRefused = "0"}}},
        {"CM6373",
         {{.pszHow = "Lamp0",
           .ask = ClickLamp(DioChannelControls[0].nDoLamp),
           .strWrite = "@011",
           .done = Holds<Dio>([](const Dio& m) { return (m.Outputs() & 0x1) != 0; }),
           .control = Lamp(DioChannelControls[0].nDoLamp),
           .strAsked = "R",
           .strRefused = "W"},
          {.pszHow = "Clear",
           .ask = Clicks(DioChannelControls[1].nClear),
           .strWrite = "$01C1",
           .done = Holds<Dio>([](const Dio& m) { return m.Counter(1) == 0; }),
           .prepareModule = Before<Dio>([](Dio& m) { m.SetCounter(1, 7); })},
          {.pszHow = "ClearLatch",
           .ask = Clicks(IDC_DIO_CLEAR_LATCH),
           .strWrite = "$01C",
           .done = Holds<Dio>([](const Dio& m) { return m.Latched() == 0; }),
           .prepareModule = Before<Dio>([](Dio& m) {
               m.SetDigitalInput(1, true);
               m.SetDigitalInput(1, false);
           })},
          {.pszHow = "SetPowerOn",
           .ask = Clicks(IDC_DIO_SET_POWERON),
           .strWrite = "~015P",
           .done = Holds<Dio>([](const Dio& m) { return m.PowerOnValue() == 0x5; }),
           .prepareModule = Before<Dio>([](Dio& m) { m.SetOutputs(0x5); }),
           .control = TextOf(IDC_DIO_ANSWER),
           .strAsked = "!01",
           .strRefused = "Set PowerOn Value Error!"},
          // The 6322 writes its safe value in a form of its own.
          {.pszHow = "SetSafe6322",
           .pszBus = "6322 1 9600 ascii",
           .pszModule = "6322",
           .ask = Clicks(IDC_DIO_SET_SAFE),
           .strWrite = "$01X0000005",
           .done = Holds<Dio>([](const Dio& m) { return m.SafeValue() == 0x5; }),
           .prepareModule = Before<Dio>([](Dio& m) { m.SetOutputs(0x5); }),
           .control = TextOf(IDC_DIO_ANSWER),
           .strAsked = "!01",
           .strRefused = "Set Safe Value Error!"}}},
        {"CM6373Modbus",
         {{.pszHow = "Lamp0",
           .ask = ClickLamp(DioChannelControls[0].nDoLamp),
           .strWrite = "01050010FF00",
           .done = Holds<Dio>([](const Dio& m) { return (m.Outputs() & 0x1) != 0; }),
           .control = Lamp(DioChannelControls[0].nDoLamp),
           .strAsked = "R",
           .strRefused = "W"},
          {.pszHow = "Lamp2",
           .ask = ClickLamp(DioChannelControls[2].nDoLamp),
           .strWrite = "01050012FF00",
           .done = Holds<Dio>([](const Dio& m) { return (m.Outputs() & 0x4) != 0; }),
           .control = Lamp(DioChannelControls[2].nDoLamp),
           .strAsked = "R",
           .strRefused = "W"}}},
        {"CV1333E", {}},
        // Slot 3 holds a digital output module, slot 4 an analog output module (4 to 20 mA).
        {"CV1333M",
         {{.pszHow = "Lamp0",
           .ask = Clicks(kRackIoLampIds[0]),
           .strWrite = "01050030FF00",
           .done = Holds<CSimRackModbus>(
               [](CSimRackModbus& m) { return (m.Slot(3).nCoils & 0x1) != 0; }),
           .control = RackDot(0),
           .strAsked = "R",
           .strRefused = "W",
           .prepare = RackPage(4, true)},
          {.pszHow = "Send",
           .ask = TypeAndClick(kRackAoEntryIds[0], "12", kRackAoSendIds[0]),
           .strWrite = "0106002007FF",
           .done =
               Holds<CSimRackModbus>([](CSimRackModbus& m) { return m.Slot(4).nRaw[0] == 0x07FF; }),
           .control = TextOf(kRackAoEntryIds[0]),
           .strAsked = "12",
           .strRefused = "4.000",
           .prepare = RackPage(5, false)}}},
        {"CV1327",
         {{.pszHow = "Lamp0",
           .ask = ClickLamp(rack_dio::kOutputLampIds[0]),
           .strWrite = "#50S01001",
           .done = Holds<CSimRack>(
               [](CSimRack& m) { return (m.SlotAs<CSimDigitalSlot>(0).Outputs() & 0x1) != 0; }),
           .control = Lamp(rack_dio::kOutputLampIds[0]),
           .strAsked = "R",
           .strRefused = "W",
           .bRepeated = true}}},
        {"CV1359",
         {{.pszHow = "Send",
           .ask =
               TypeAndClick(rack_ao::kChannelIds[0].nOutput, "12", rack_ao::kChannelIds[0].nSend),
           .strWrite = "#50S1C012.000",
           .done = Holds<CSimRack>([](CSimRack& m) {
               return Fixed3(m.SlotAs<CSimAnalogOutputSlot>(1).Channel(0).dOutput) == "12.000";
           }),
           .control = TextOf(rack_ao::kChannelIds[0].nOutput),
           .strAsked = "12",
           .strHeard = "12.000",
           .strRefused = "04.000",
           .says = LastBox,
           .strSaysHeard = "Update Output Value Succeeded!",
           .strSaysRefused = "Update Output Value Error!"}}},
        {"CV1300", {}},
        {"CV1384H", {}},
    };
    return cases;
}

// Two writes of one dialog, asked for before one tick (and one while the other waits).
struct STwoWrites {
    const char* pszDialog;
    const char* pszFirst; // as SWriteCase::pszHow
    const char* pszSecond;
    // One field shows the selected channel's value: it shows the second write's.
    bool bOneField = false;
};

const STwoWrites kTwoWrites[] = {
    {"CM63508", "Lamp0", "SetPT"},
    {"CM6363", "Lamp0", "MaxCount"},
    {"CM6384", "MaskCh1", "ChConf"},
    {"CM6384P", "TypeCh3", "MaskCh1"},
    {"CM6384pModbus", "TypeCh2", "MaskCh1"},
    {"CM6387", "Lamp0", "Excitation"},
    {"C6385pModbus", "Lamp0", "Lamp1"},
    {"CM6359", "SliderCh2", "TypedCh0"},
    {"CM6359Modbus", "SliderCh2", "SliderCh0"},
    {"CM6359p", "OutputCh0", "OutputCh3", true},
    {"CM6359pModbus", "SettingCh0", "SettingCh1", true},
    {"CM6373", "Lamp0", "Clear"},
    {"CM6373Modbus", "Lamp0", "Lamp2"},
};

TEST(EveryOutputWriteTable, HasOneEntryPerDialogAndNamesEachWriteOnce)
{
    ExpectOneEntryPerRow(WriteCases());
    std::set<std::string> names;
    for (const auto& [dialog, writes] : WriteCases()) {
        for (const SWriteCase& write : writes)
            EXPECT_TRUE(names.insert(dialog + "_" + write.pszHow).second) << write.pszHow;
    }
}

// One write of one dialog.
struct SWriteRow {
    SDialogRow row;
    SWriteCase write;
    std::string strName;
};

void PrintTo(const SWriteRow& row, std::ostream* os)
{
    *os << row.strName;
}

std::vector<SWriteRow> WriteRows()
{
    std::vector<SWriteRow> rows;
    for (const SDialogRow& row : EveryDialogRows()) {
        auto found = WriteCases().find(row.name);
        if (found == WriteCases().end()) continue;
        for (const SWriteCase& write : found->second)
            rows.push_back({row, write, row.name + "_" + write.pszHow});
    }
    return rows;
}

const SWriteRow& WriteRow(const std::string& name)
{
    static const std::vector<SWriteRow> rows = WriteRows();
    return *std::ranges::find(rows, name, &SWriteRow::strName);
}

// One write under one fault.
struct SFaultRow {
    SWriteRow write;
    SWriteFault fault;
    std::string strName;
};

void PrintTo(const SFaultRow& row, std::ostream* os)
{
    *os << row.strName;
}

std::vector<SFaultRow> FaultRows()
{
    std::vector<SFaultRow> rows;
    for (const SWriteRow& write : WriteRows()) {
        for (const SWriteFault& fault : WriteFaults(write.row.eLink)) {
            // A rack slot's checksum is the rack's own setting, and a plain request never carries
            // one.
            bool rack = write.row.eLine == ELineOwnership::Borrowed || !write.row.pBlock;
            if (fault.bChecksum && (write.write.bPlain || rack)) continue;
            std::string name = write.strName + "_" + fault.pszName;
            std::ranges::replace_if(
                name, [](char c) { return !std::isalnum(c); }, '_');
            rows.push_back({write, fault, name});
        }
    }
    return rows;
}

class CWriteTableFixture : public CEveryDialogFixture {
protected:
    ~CWriteTableFixture() override
    {
        if (m_dlg && m_dlg->IsRunning()) m_dlg->OnCancel();
    }
    // The row's dialog on the writes' module (the checksum on where asked) after its start-up,
    // and the window that carries the writes.
    CDialog& Open(SDialogRow row, const std::vector<const SWriteCase*>& writes, bool checksum)
    {
        const SWriteCase& first = *writes.front();
        if (first.pszBus) row.bus = first.pszBus;
        if (first.pszModule) row.block[kModule] = first.pszModule;
        if (checksum) {
            row.bus += " checksum=on";
            row.block[kCheck] = "4";
        }
        Prepare(row);
        for (const SWriteCase* write : writes) {
            if (write->prepareModule) write->prepareModule(Module());
        }
        m_dlg = CreateModuleDialog(row.name);
        EXPECT_NE(m_dlg, nullptr);
        m_dlg->Create(row.nTemplate);
        Tick(*m_dlg, kOpenTicks);
        CDialog& target = first.prepare ? first.prepare(*m_dlg) : *m_dlg;
        Tick(target, kPageTicks);
        TakeRequests();
        m_boxes.m_boxes.clear();
        return target;
    }
    CSimModule& Module() { return m_bus.Module(0); }
    static std::function<std::string()> Watch(const SWriteCase& write, CDialog& target)
    {
        if (!write.control) return {};
        return [&write, &target] { return write.control(target); };
    }
    std::function<std::string()> Said(const SWriteCase& write, CDialog& target)
    {
        if (!write.says) return {};
        return [this, &write, &target] { return write.says(target, m_boxes.Texts()); };
    }
    static int Count(const std::vector<std::string>& wire, const SWriteRow& row)
    {
        return static_cast<int>(std::ranges::count_if(wire, [&](const std::string& r) {
            return IsTheWrite(r, row.write.strWrite, row.row.eLink);
        }));
    }

    // Enough for every dialog's start-up reads, the analog output's startup values among them.
    static constexpr int kOpenTicks = 16;
    static constexpr int kPageTicks = 6;
    std::unique_ptr<CDialog> m_dlg;
};

class EveryWrite : public CWriteTableFixture, public ::testing::WithParamInterface<SFaultRow> {};

TEST_P(EveryWrite, GoesOutOncePerAnswerUntilHeardOrRefused)
{
    const SWriteRow& row = GetParam().write;
    const SWriteFault& fault = GetParam().fault;
    const SWriteCase& write = row.write;
    CDialog& target = Open(row.row, {&write}, fault.bChecksum);
    SWriteRun run = RunWrite(
        target, Module(), m_link, fault, write.strWrite, row.row.eLink, [&] { write.ask(target); },
        Watch(write, target), Said(write, target));
    if (write.bRepeated)
        ExpectRepeatedWriteRun(run, fault, write.strAsked, write.strRefused);
    else
        ExpectWriteRun(run, fault, write.strAsked, write.strRefused, write.strHeard);
    if (write.says) ExpectWriteText(run, fault, write.strSaysHeard, write.strSaysRefused);
    EXPECT_EQ(write.done(Module()), fault.eKind != EWriteFault::Refused);
}

INSTANTIATE_TEST_SUITE_P(, EveryWrite, ::testing::ValuesIn(FaultRows()),
                         [](const ::testing::TestParamInfo<SFaultRow>& info) {
                             return info.param.strName;
                         });

class EveryWriteAnswered : public CWriteTableFixture,
                           public ::testing::WithParamInterface<SWriteRow> {};

// On a line that answers, the write goes out once and is done.
TEST_P(EveryWriteAnswered, GoesOutOnce)
{
    const SWriteRow& row = GetParam();
    const SWriteCase& write = row.write;
    CDialog& target = Open(row.row, {&write}, false);
    write.ask(target);
    Tick(target, kTicksAfter);
    EXPECT_EQ(Count(TakeRequests(), row), 1);
    EXPECT_TRUE(write.done(Module()));
    if (write.control) {
        EXPECT_EQ(write.control(target), write.strHeard.empty() ? write.strAsked : write.strHeard);
    }
    if (write.says) {
        EXPECT_EQ(write.says(target, m_boxes.Texts()), write.strSaysHeard);
    }
}

INSTANTIATE_TEST_SUITE_P(, EveryWriteAnswered, ::testing::ValuesIn(WriteRows()),
                         [](const ::testing::TestParamInfo<SWriteRow>& info) {
                             return info.param.strName;
                         });

class TwoWritesInOneTick : public CWriteTableFixture,
                           public ::testing::WithParamInterface<STwoWrites> {};

void PrintTo(const STwoWrites& two, std::ostream* os)
{
    *os << two.pszDialog;
}

// Two controls written before one tick both reach the module, the first once; and so do two
// whose second is asked while the first, sent into a silent module, waits: the first goes out
// once more once the module answers.
TEST_P(TwoWritesInOneTick, BothReachTheModule)
{
    const STwoWrites& two = GetParam();
    const SWriteRow& first = WriteRow(std::string(two.pszDialog) + "_" + two.pszFirst);
    const SWriteRow& second = WriteRow(std::string(two.pszDialog) + "_" + two.pszSecond);
    auto bus = [](const SWriteRow& row) {
        return std::string(row.write.pszBus ? row.write.pszBus : "");
    };
    ASSERT_EQ(bus(first), bus(second)) << "one module for both";
    for (bool firstWaits : {false, true}) {
        SCOPED_TRACE(firstWaits ? "the first waits" : "one tick");
        m_bus = CSimBus{};
        CDialog& target = Open(first.row, {&first.write, &second.write}, false);
        first.write.ask(target);
        if (firstWaits) {
            Module().Faults().nSilentAfter = 0;
            for (int i = 0; i < 10 && Count(m_link.Requests(), first) == 0; ++i) Tick(target);
            ASSERT_EQ(Count(m_link.Requests(), first), 1);
        }
        second.write.ask(target);
        if (firstWaits) {
            Tick(target, 2);
            Module().Faults() = {};
        }
        Tick(target, 12);
        std::vector<std::string> wire = TakeRequests();
        EXPECT_EQ(Count(wire, first), firstWaits ? 2 : 1);
        EXPECT_GE(Count(wire, second), 1);
        EXPECT_TRUE(first.write.done(Module()));
        EXPECT_TRUE(second.write.done(Module()));
        for (const SWriteCase* write : {&first.write, &second.write}) {
            if (write->control && !(two.bOneField && write == &first.write)) {
                EXPECT_EQ(write->control(target),
                          write->strHeard.empty() ? write->strAsked : write->strHeard)
                    << write->pszHow;
            }
        }
        m_dlg->OnCancel();
        m_dlg.reset();
    }
}

INSTANTIATE_TEST_SUITE_P(, TwoWritesInOneTick, ::testing::ValuesIn(kTwoWrites),
                         [](const ::testing::TestParamInfo<STwoWrites>& info) {
                             return std::string(info.param.pszDialog) + "_" + info.param.pszFirst;
                         });

} // namespace
