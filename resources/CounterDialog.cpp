// The counter/frequency dialog "counter ": the two channels with their settings, the gate, the
// alarms of both alarm modes, the two output lamps and the module's configuration.
#include "DialogTemplate.h"
#include "Shell.h"
#include "TemplateRows.h"
#include "counter_power/CounterPowerIds.h"

namespace {

using Controls = std::vector<ControlTemplate>;
using Rows = std::vector<std::string>;

const Rows kSignalRows = {"TTL", "Isolated"};
const Rows kEnableRows = {"Disable", "Enable"};

struct SChannelIds {
    const char* title;
    int value, clear, mode, setMode, preset, setPreset, max, setMax;
};

void AddChannel(Controls& c, const SChannelIds& ids, int x)
{
    c.push_back({-1, CtlKind::GroupBox, ids.title, x, 18, 150, 94});
    c.push_back({-1, CtlKind::Static, "Input", x + 6, 32, 40, 9});
    c.push_back({ids.value, CtlKind::Edit, "", x + 48, 30, 56, 12});
    c.push_back({ids.clear, CtlKind::Button, "Clear Counting", x + 6, 46, 66, 14});
    c.push_back({-1, CtlKind::Static, "Mode", x + 6, 66, 24, 9});
    c.push_back({ids.mode, CtlKind::DropList, "", x + 30, 64, 52, 60, CS_NONE, kSignalRows});
    c.push_back({ids.setMode, CtlKind::Button, "Set Signal Mode", x + 84, 64, 62, 14});
    c.push_back({-1, CtlKind::Static, "Preset Count", x + 6, 82, 49, 9});
    c.push_back({ids.preset, CtlKind::Edit, "", x + 56, 80, 46, 12});
    c.push_back({ids.setPreset, CtlKind::Button, "Setting", x + 106, 80, 40, 14});
    c.push_back({-1, CtlKind::Static, "Max Count", x + 6, 98, 49, 9});
    c.push_back({ids.max, CtlKind::Edit, "", x + 56, 96, 46, 12});
    c.push_back({ids.setMax, CtlKind::Button, "Setting", x + 106, 96, 40, 14});
}

void AddAlarms(Controls& c)
{
    c.push_back({-1, CtlKind::GroupBox, "Alarm", 6, 116, 306, 100});
    c.push_back({-1, CtlKind::Static, "AlarmMode", 12, 130, 40, 9});
    c.push_back({IDC_CNT_ALARM_MODE, CtlKind::DropList, "", 54, 128, 48, 60, CS_NONE,
                 Rows{"ModeA", "ModeB"}});
    c.push_back({IDC_CNT_SET_ALARM_MODE, CtlKind::Button, "Set", 106, 128, 30, 14});
    // ModeA: an alarm value per counter.
    c.push_back({-1, CtlKind::GroupBox, "ModeA", 12, 146, 148, 66});
    struct SRow {
        const char* label;
        int enable, value, setEnable, setValue, y;
    } rows[] = {{"Counter0", IDC_CNT_A_ENABLE0, IDC_CNT_A_VALUE0, IDC_CNT_A_SET_ENABLE0,
                 IDC_CNT_A_SET_VALUE0, 158},
                {"Counter1", IDC_CNT_A_ENABLE1, IDC_CNT_A_VALUE1, IDC_CNT_A_SET_ENABLE1,
                 IDC_CNT_A_SET_VALUE1, 184}};
    for (const SRow& r : rows) {
        c.push_back({-1, CtlKind::Static, r.label, 16, r.y + 2, 34, 9});
        c.push_back({r.enable, CtlKind::DropList, "", 52, r.y, 46, 60, CS_NONE, kEnableRows});
        c.push_back({r.setEnable, CtlKind::Button, "Mode Setting", 100, r.y, 56, 12});
        // Below the list's closed box.
        c.push_back({-1, CtlKind::Static, "Value", 16, r.y + 15, 30, 9});
        c.push_back({r.value, CtlKind::Edit, "", 52, r.y + 14, 46, 11});
        c.push_back({r.setValue, CtlKind::Button, "Val Setting", 100, r.y + 14, 56, 11});
    }
    // ModeB: one alarm on counter 0 with two limits.
    c.push_back({-1, CtlKind::GroupBox, "ModeB", 164, 146, 144, 66});
    c.push_back({-1, CtlKind::Static, "Counter0", 168, 160, 34, 9});
    c.push_back({IDC_CNT_B_ALARM, CtlKind::DropList, "", 204, 158, 56, 60, CS_NONE,
                 Rows{"Disable", "Momentary", "Latch"}});
    c.push_back({IDC_CNT_B_SET_ALARM, CtlKind::Button, "Setting", 264, 158, 40, 12});
    c.push_back({-1, CtlKind::Static, "ValH", 168, 176, 34, 9});
    c.push_back({IDC_CNT_B_HIGH, CtlKind::Edit, "", 204, 174, 50, 12});
    c.push_back({IDC_CNT_B_SET_HIGH, CtlKind::Button, "ValH Setting", 256, 174, 50, 12});
    c.push_back({-1, CtlKind::Static, "ValHH", 168, 194, 34, 9});
    c.push_back({IDC_CNT_B_HIGHHIGH, CtlKind::Edit, "", 204, 192, 50, 12});
    c.push_back({IDC_CNT_B_SET_HIGHHIGH, CtlKind::Button, "ValHH Setting", 256, 192, 50, 12});
}

void AddSetting(Controls& c)
{
    c.push_back({-1, CtlKind::GroupBox, "Setting", 316, 18, 124, 150});
    int y = AddSettingRows(
        c,
        {{"Address", IDC_CNT_ADDRESS, CtlKind::Edit},
         {"Gate Mode", IDC_CNT_TYPE, CtlKind::DropList, {"Counter", "Frequency"}},
         {"Freq.Gate ", IDC_CNT_GATE_TIME, CtlKind::DropList, {"0.1S", "1.0S"}},
         {"Baudrate", IDC_CNT_BAUD, CtlKind::DropList, BaudRows()},
         {"Checksum", IDC_CNT_CHECKSUM, CtlKind::DropList, {"Enable", "Disable"}},
         {"Protocol", IDC_CNT_PROTOCOL, CtlKind::DropList, {"Vekt ASCII", "Modbus RTU"}}},
        {.nLabelX = 320, .nLabelWidth = 44, .nBoxX = 366, .nBoxWidth = 70, .nPitch = 18}, 30);
    c.push_back({IDC_CNT_SETTING, CtlKind::Button, "Setting", 348, y + 2, 60, 14});
}

Controls CounterControls()
{
    Controls c;
    c.push_back({-1, CtlKind::Static, "Counter ( ", 8, 6, 40, 9});
    c.push_back({IDC_CNT_MODEL, CtlKind::Static, "", 48, 6, 40, 9});
    c.push_back({-1, CtlKind::Static, ")", 88, 6, 8, 9});
    AddChannel(c,
               {"CH0", IDC_CNT_VALUE0, IDC_CNT_CLEAR0, IDC_CNT_MODE0, IDC_CNT_SET_MODE0,
                IDC_CNT_PRESET0, IDC_CNT_SET_PRESET0, IDC_CNT_MAX0, IDC_CNT_SET_MAX0},
               6);
    AddChannel(c,
               {"CH1", IDC_CNT_VALUE1, IDC_CNT_CLEAR1, IDC_CNT_MODE1, IDC_CNT_SET_MODE1,
                IDC_CNT_PRESET1, IDC_CNT_SET_PRESET1, IDC_CNT_MAX1, IDC_CNT_SET_MAX1},
               160);
    AddAlarms(c);
    AddSetting(c);
    c.push_back({-1, CtlKind::GroupBox, "Gate", 316, 172, 124, 28});
    c.push_back({-1, CtlKind::Static, "Gate Mode", 320, 184, 40, 9});
    c.push_back({IDC_CNT_GATE, CtlKind::DropList, "", 362, 182, 44, 60, CS_NONE,
                 Rows{"None", "Low", "High"}});
    c.push_back({IDC_CNT_SET_GATE, CtlKind::Button, "Set", 408, 182, 28, 14});
    c.push_back({-1, CtlKind::GroupBox, "DO", 316, 202, 124, 30});
    c.push_back({-1, CtlKind::Static, "CH0", 322, 216, 16, 9});
    c.push_back({IDC_CNT_LAMP0, CtlKind::Icon, "144", 340, 211, 16, 16});
    c.push_back({-1, CtlKind::Static, "CH1", 372, 216, 16, 9});
    c.push_back({IDC_CNT_LAMP1, CtlKind::Icon, "144", 390, 211, 16, 16});
    c.push_back({IDC_CNT_STATUS, CtlKind::Edit, "", 6, 222, 150, 12, CS_READONLY});
    c.push_back({IDCANCEL, CtlKind::Button, "Cancel", 380, 238, 60, 14});
    // Created hidden and never shown; Enter still reaches the default OK.
    c.push_back({IDOK, CtlKind::Button, "OK", 316, 238, 60, 14, CS_HIDDEN | CS_DEFAULT});
    // Never shown: one place in the free room beside the status field.
    for (int id : kCntHiddenButtons)
        c.push_back({id, CtlKind::Button, "", 170, 238, 10, 10, CS_HIDDEN});
    for (int id : kCntHiddenEdits)
        c.push_back({id, CtlKind::Edit, "", 170, 238, 10, 10, CS_HIDDEN});
    return c;
}

const bool g_registered =
    RegisterDialogTemplate({IDD_M6363, "counter ", 446, 258, CounterControls()});

} // namespace
