// What every dialog with an output does with a write the operator asks for while the module's
// replies fail (silence, garbage, or replies that come one request late): the write reaches the
// module, if not at once then once the line answers again, or the dialog reports that it was not
// made and its control shows the module's value. A write is never dropped without a word.
#include "EveryDialog.h"

#include "LateLine.h"
#include "Presses.h"
#include "RtuFrame.h"
#include "Strings.h"
#include "UiDriver.h"
#include "analog_input/AnalogInputIds.h"
#include "analog_output/AnalogOutputIds.h"
#include "analog_output/OutputDiIds.h"
#include "counter_power/CounterPowerIds.h"
#include "digital_io/DioModel.h"
#include "rack/RackIds.h"
#include "rack/RackModbusIds.h"
#include "rack/V1333M.h"
#include "rack/V1333RTUIO.h"
#include "rack/V1384HM.h"
#include "thermocouple/ThermocoupleIds.h"

#include <algorithm>
#include <functional>
#include <map>

namespace {

// The window whose ticks carry the writes: the dialog itself, or a page it shows.
using Prepare = std::function<CDialog&(CDialog&)>;
using Ask = std::function<void(CDialog&)>;

// One way an operator asks a dialog for an output write.
struct SWriteCase {
    const char* pszHow;
    // A model of its own where the row's module has no such output: its bus text and Module entry.
    const char* pszBus = nullptr;
    const char* pszModule = nullptr;
    Ask ask;
    // The write on the wire: ASCII as text, Modbus RTU as hex digits without the CRC.
    std::string strWrite;
    // Where the dialog says a write was not made (checked after every tick), and the control that
    // shows the module's value then. None: the dialog never reports one, so the write must go out.
    std::function<bool(CDialog&, const std::vector<std::string>& boxes)> reported = {};
    std::function<std::string(CDialog&)> control = {};
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

// ---- how a dialog reports a write that was not made

std::function<bool(CDialog&, const std::vector<std::string>&)> StatusShows(int id, const char* text)
{
    return [=](CDialog& dlg, const std::vector<std::string>&) {
        return dlg.GetDlgItemText(id) == text;
    };
}

std::function<bool(CDialog&, const std::vector<std::string>&)> BoxShows(const char* text)
{
    return [=](CDialog&, const std::vector<std::string>& boxes) {
        return std::find(boxes.begin(), boxes.end(), text) != boxes.end();
    };
}

std::function<std::string(CDialog&)> TextOf(int id)
{
    return [=](CDialog& dlg) { return dlg.GetDlgItemText(id); };
}

std::function<std::string(CDialog&)> IconOf(int id)
{
    return [=](CDialog& dlg) { return Format("%d", dlg.GetDlgItemAs<CStatic>(id)->GetIcon()); };
}

// Every registered dialog and the writes an operator can ask of it; none for a dialog without
// an output.
const std::map<std::string, std::vector<SWriteCase>>& WriteCases()
{
    static const std::map<std::string, std::vector<SWriteCase>> cases = {
        {"CM6530rtu", {}},
        {"CM63508",
         {{.pszHow = "lamp",
           .pszBus = "6539 1 9600 ascii",
           .pszModule = "6539",
           .ask = ClickLamp(IDC_PM_OUTPUT0),
           .strWrite = "@01O1"}}},
        {"CM6363", {{.pszHow = "lamp", .ask = ClickLamp(IDC_CNT_LAMP0), .strWrite = "@0ADO01"}}},
        {"CM6380", {}},
        {"CM6309x", {}},
        {"CM6307p", {}},
        {"CM6382p", {}},
        {"CM63828p", {}},
        {"CM6307pModbus", {}},
        {"CM6300Modbus", {}},
        {"CM6382pModbus", {}},
        {"CM6382TModbus", {}},
        // The lamp's write goes out at once; unanswered, "Error!" says so and the lamps keep
        // following the module.
        {"CM6384",
         {{.pszHow = "lamp",
           .pszBus = "6385 1 9600 ascii",
           .pszModule = "4385",
           .ask = ClickLamp(IDC_AI_LAMP0),
           .strWrite = "@01DO01",
           .reported = StatusShows(IDC_AI_STATUS, "Error!"),
           .control = IconOf(IDC_AI_LAMP0)}}},
        {"CM6384Modbus", {}},
        {"CM6387",
         {{.pszHow = "lamp", .ask = ClickLamp(kBridgeDoLampIds[0]), .strWrite = "@06DO01"},
          {.pszHow = "excitation",
           .ask = Drag(IDC_BRIDGE_SLIDER, 5000),
           .strWrite = "$067+05.000"}}},
        {"CM6384P", {}},
        {"CM6384pModbus", {}},
        {"C6385pModbus",
         {{.pszHow = "lamp", .ask = ClickLamp(IDC_6385_DIO0_LAMP), .strWrite = "01050010FF00"}}},
        {"CM6386",
         {{.pszHow = "lamp",
           .pszBus = "4388 0x10 9600 ascii",
           .pszModule = "4388",
           .ask = ClickLamp(IDC_TC_LOW_LAMP),
           .strWrite = "@10DO01",
           .reported = StatusShows(IDC_TC_STATUS, "Error!"),
           .control = IconOf(IDC_TC_LOW_LAMP)}}},
        {"CM6386Modbus", {}},
        {"CM6386P", {}},
        {"CM6386PModbus", {}},
        {"CM6381p", {}},
        {"CM6359",
         {{.pszHow = "slider",
           .ask = Drag(kAoChannels[2].nSlider, 5000),
           .strWrite = "#012+05.000"},
          {.pszHow = "typed",
           .ask = TypeInto(kAoChannels[0].nOutput, "+7.5"),
           .strWrite = "#010+07.500"},
          {.pszHow = "slider",
           .pszBus = "6355 1 9600 ascii",
           .pszModule = "6355",
           .ask = Drag(kAoChannels[1].nSlider, 5000),
           .strWrite = "#01105.000"},
          {.pszHow = "slider",
           .pszBus = "6358 1 9600 ascii",
           .pszModule = "6358",
           .ask = Drag(kAoChannels[0].nSlider, 5000),
           .strWrite = "#0105.000"}}},
        {"CM6359Modbus",
         {{.pszHow = "slider",
           .ask = Drag(kAoChannels[2].nSlider, 20000),
           .strWrite = "010600024e20"},
          {.pszHow = "slider",
           .pszBus = "6355 1 9600 rtu",
           .pszModule = "6355",
           .ask = Drag(kAoChannels[0].nSlider, 5000),
           .strWrite = "010600001388"}}},
        {"CM6359p",
         {{.pszHow = "Output",
           .ask = TypeAndClick(IDC_ODI_VALUE, "+05.000", IDC_ODI_OUTPUT),
           .strWrite = "#07C0+05.000"}}},
        {"CM6359pModbus",
         {{.pszHow = "Setting",
           .ask = TypeAndClick(IDC_ODI_CODE, "100", IDC_ODI_OUTPUT),
           .strWrite = "070600000064"}}},
        {"CM6373",
         {{.pszHow = "lamp", .ask = ClickLamp(DioChannelControls[0].nDoLamp), .strWrite = "@011"}}},
        {"CM6373Modbus",
         {{.pszHow = "lamp",
           .ask = ClickLamp(DioChannelControls[0].nDoLamp),
           .strWrite = "01050010FF00"}}},
        {"CV1333E", {}},
        // Slot 3 holds a digital output module, slot 4 an analog output module (4 to 20 mA).
        {"CV1333M",
         {{.pszHow = "lamp",
           .ask = Clicks(kRackIoLampIds[0]),
           .strWrite = "01050030FF00",
           .prepare = RackPage(4, true)},
          {.pszHow = "Send",
           .ask = TypeAndClick(kRackAoEntryIds[0], "12", kRackAoSendIds[0]),
           .strWrite = "0106002007FF",
           .prepare = RackPage(5, false)}}},
        {"CV1327",
         {{.pszHow = "lamp",
           .ask = ClickLamp(rack_dio::kOutputLampIds[0]),
           .strWrite = "#50S01001"}}},
        // An unanswered Send shows its error, and the channel's output shows the module's again.
        {"CV1359",
         {{.pszHow = "Send",
           .ask =
               TypeAndClick(rack_ao::kChannelIds[0].nOutput, "12", rack_ao::kChannelIds[0].nSend),
           .strWrite = "#50S1C012.000",
           .reported = BoxShows("Update Output Value Error!"),
           .control = TextOf(rack_ao::kChannelIds[0].nOutput)}}},
        {"CV1300", {}},
        {"CV1384H", {}},
    };
    return cases;
}

TEST(EveryOutputWriteTable, HasOneEntryPerDialog)
{
    ExpectOneEntryPerRow(WriteCases());
}

enum class EFault { None, Silent, Garbled, Late };

struct SWriteRow {
    SDialogRow row;
    SWriteCase write;
    EFault eFault;
    std::string strName;
};

void PrintTo(const SWriteRow& row, std::ostream* os)
{
    *os << row.strName;
}

std::vector<SWriteRow> WriteRows()
{
    static const std::pair<EFault, const char*> kFaults[] = {{EFault::None, "Answered"},
                                                             {EFault::Silent, "Silent"},
                                                             {EFault::Garbled, "Garbled"},
                                                             {EFault::Late, "Late"}};
    std::vector<SWriteRow> rows;
    for (const SDialogRow& row : EveryDialogRows()) {
        auto found = WriteCases().find(row.name);
        if (found == WriteCases().end()) continue;
        for (const SWriteCase& write : found->second) {
            SDialogRow dialog = row;
            if (write.pszBus) dialog.bus = write.pszBus;
            if (write.pszModule) dialog.block[kModule] = write.pszModule;
            for (const auto& [fault, name] : kFaults) {
                // A late reply is what the ASCII link delivers; a late Modbus frame is silence.
                if (fault == EFault::Late && row.eLink != ELinkKind::Ascii) continue;
                std::string model = write.pszModule ? write.pszModule : "";
                rows.push_back(
                    {dialog, write, fault, row.name + "_" + write.pszHow + model + "_" + name});
            }
        }
    }
    return rows;
}

// The write as the wire shows it: ASCII the text itself, Modbus RTU the frame of those hex digits
// with its CRC.
std::string WriteOnTheWire(const SWriteRow& row)
{
    return row.row.eLink == ELinkKind::Rtu ? RtuFrame(row.write.strWrite) : row.write.strWrite;
}

class EveryOutputWrite : public CEveryDialogFixture,
                         public ::testing::WithParamInterface<SWriteRow> {
protected:
    void SetFault(EFault fault, bool on, CLateLine& line)
    {
        for (size_t i = 0; i < m_bus.Count(); ++i) {
            SSimFaults& faults = m_bus.Module(i).Faults();
            if (fault == EFault::Silent) faults.nSilentAfter = on ? 0 : -1;
            if (fault == EFault::Garbled) faults.nGarbage = on ? 6 : 0;
        }
        if (fault == EFault::Late) line.SetLate(on);
    }
};

TEST_P(EveryOutputWrite, ReachesTheModuleOrIsReported)
{
    const SWriteRow& param = GetParam();
    const SWriteCase& write = param.write;
    CLateLine line;
    std::unique_ptr<CDialog> dlg = Open(param.row);
    ASSERT_NE(dlg, nullptr);
    Tick(*dlg, 6);
    CDialog& target = write.prepare ? write.prepare(*dlg) : *dlg;
    Tick(target, 6);
    std::string before = write.control ? write.control(target) : "";

    SetFault(param.eFault, true, line);
    Tick(target, 3);
    TakeRequests();
    m_boxes.m_boxes.clear();
    write.ask(target);
    bool reported = false;
    auto tick = [&](int n) {
        for (int i = 0; i < n && target.IsRunning(); ++i) {
            Tick(target);
            reported = reported || (write.reported && write.reported(target, m_boxes.Texts()));
        }
    };
    tick(4);
    // Nothing sent into silence reached the module.
    if (param.eFault == EFault::Silent) TakeRequests();
    SetFault(param.eFault, false, line);
    tick(10);

    std::vector<std::string> heard = TakeRequests();
    bool reached = std::ranges::find(heard, WriteOnTheWire(param)) != heard.end();
    if (!reached) {
        EXPECT_TRUE(reported) << "the write neither reached the module nor was reported";
        if (write.control) {
            EXPECT_EQ(write.control(target), before) << "the control must show the module's value";
        }
    }
    if (param.eFault == EFault::None) {
        EXPECT_TRUE(reached) << "on a line that answers the write goes out";
    }
    if (dlg->IsRunning()) dlg->OnCancel();
}

INSTANTIATE_TEST_SUITE_P(, EveryOutputWrite, ::testing::ValuesIn(WriteRows()),
                         [](const ::testing::TestParamInfo<SWriteRow>& info) {
                             return info.param.strName;
                         });

} // namespace
