// Template 185 "Module": the bridge-input dialog with its excitation output and digital lamps.
#include "DialogTemplate.h"
#include "Strings.h"
#include "TemplateRows.h"
#include "analog_input/AnalogInputIds.h"

namespace {

using Controls = std::vector<ControlTemplate>;

void AddInputGroup(Controls& c)
{
    c.push_back({-1, CtlKind::GroupBox, "Input", 6, 18, 200, 50});
    c.push_back({-1, CtlKind::Static, "Input", 12, 32, 26, 9});
    c.push_back({IDC_BRIDGE_INPUT, CtlKind::Edit, "", 40, 30, 60, 12});
    c.push_back({-1, CtlKind::Static, "Ohm", 12, 50, 26, 9});
    c.push_back({IDC_BRIDGE_OHM, CtlKind::Edit, "", 40, 48, 60, 12, CS_DISABLED});
    c.push_back({-1, CtlKind::Static, "Number", 108, 32, 28, 9});
    c.push_back(
        {IDC_BRIDGE_NUMBER, CtlKind::DropDown, "", 138, 30, 40, 60, CS_SORT, {"CH0", "CH1"}});
    c.push_back({IDC_BRIDGE_SELECT, CtlKind::Button, "Select", 138, 48, 40, 14});
}

void AddOutputGroup(Controls& c)
{
    c.push_back({-1, CtlKind::GroupBox, "Output", 6, 72, 200, 44});
    c.push_back({IDC_BRIDGE_SLIDER, CtlKind::Slider, "", 10, 84, 132, 16});
    c.push_back({-1, CtlKind::Static, "0", 14, 102, 10, 9});
    c.push_back({-1, CtlKind::Static, "5", 74, 102, 10, 9});
    c.push_back({-1, CtlKind::Static, "10V", 128, 102, 16, 9});
    c.push_back({IDC_BRIDGE_EXCITATION, CtlKind::Edit, "", 148, 86, 52, 12});
}

// Four icon lamps with their labels CH1 to CH4 in a group.
void AddLampGroup(Controls& c, const char* title, int x, const int (&ids)[4])
{
    c.push_back({-1, CtlKind::GroupBox, title, x, 120, 98, 44});
    for (int k = 0; k < 4; ++k) {
        int lampX = x + 8 + k * 22;
        c.push_back({ids[k], CtlKind::Icon, "144", lampX, 130, 16, 16});
        c.push_back({-1, CtlKind::Static, Format("CH%d", k + 1), lampX, 150, 18, 9});
    }
}

void AddSettingGroup(Controls& c)
{
    c.push_back({-1, CtlKind::GroupBox, "Setting", 212, 18, 140, 120});
    const std::vector<SSettingRow> rows = {
        {"Address", IDC_AI_ADDRESS, CtlKind::Edit, {}},
        {"Range",
         IDC_AI_RANGE,
         CtlKind::DropList,
         {"+/-15mV", "+/-50mV", "+/-100mV", "+/-500mV", "+/-1V", "+/-2.5V", "+/-20mA"}},
        {"Data Format",
         IDC_AI_FORMAT,
         CtlKind::DropList,
         {"Engineer Unit", "% of FSR", "2's complement HEX", "Ohm"}},
        {"Baudrate", IDC_AI_BAUD, CtlKind::DropList, BaudRows()},
        {"CheckSum", IDC_AI_CHECKSUM, CtlKind::DropList, {"Enable", "Disable"}},
    };
    int y = AddSettingRows(c, rows, {218, 46, 266, 80}, 30);
    c.push_back({IDC_AI_SETTING, CtlKind::Button, "Setting", 252, y + 4, 60, 14});
}

// Calibration is not offered: the dialog keeps these disabled.
void AddCalibrationRow(Controls& c)
{
    struct Button {
        int id;
        const char* text;
        int x;
        int cx;
    };
    const Button buttons[] = {{IDC_BRIDGE_CALIBRATION, "Calibration", 6, 44},
                              {IDC_BRIDGE_ZERO, "Zero", 52, 30},
                              {IDC_BRIDGE_SPAN, "Span", 84, 30},
                              {IDC_BRIDGE_VOLT_ZERO, "Volt Zero", 116, 40},
                              {IDC_BRIDGE_VOLT_SPAN, "Volt Span", 158, 40},
                              {IDC_BRIDGE_VOLT_TRIM, "Volt Trim", 200, 40}};
    for (const Button& b : buttons)
        c.push_back({b.id, CtlKind::Button, b.text, b.x, 168, b.cx, 14});
    c.push_back({-1, CtlKind::Static, "(FF)", 244, 171, 18, 9});
    c.push_back({IDC_BRIDGE_TRIM, CtlKind::Edit, "", 264, 168, 20, 12});
    c.push_back({IDC_BRIDGE_STATUS, CtlKind::Edit, "", 6, 186, 278, 12, CS_READONLY});
}

Controls BridgeControls()
{
    Controls c;
    c.push_back({-1, CtlKind::Static, "Module (", 8, 6, 32, 9});
    c.push_back({IDC_BRIDGE_MODEL, CtlKind::Static, "", 40, 6, 40, 9});
    c.push_back({-1, CtlKind::Static, ")", 80, 6, 8, 9});
    AddInputGroup(c);
    AddOutputGroup(c);
    AddLampGroup(c, "DO", 6, kBridgeDoLampIds);
    AddLampGroup(c, "DI", 108, kBridgeDiLampIds);
    AddSettingGroup(c);
    AddCalibrationRow(c);
    c.push_back({IDC_BRIDGE_CANCEL, CtlKind::Button, "Cancel", 304, 184, 48, 14});
    return c;
}

const bool g_registered = RegisterDialogTemplate({IDD_M6387, "Module", 358, 204, BridgeControls()});

} // namespace
