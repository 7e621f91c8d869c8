// The four-channel output dialogs with digital inputs: "4359A" (ASCII) and "4359A Modbus".
// Both share the general setting, the channel rows with their range lists, and the lamps.
#include "DialogTemplate.h"
#include "ModbusChannelRows.h"
#include "Strings.h"
#include "TemplateRows.h"
#include "analog_output/OutputDiIds.h"

namespace {

using Controls = std::vector<ControlTemplate>;
using Rows = std::vector<std::string>;

const Rows kRangeRows = {"0~20mA", "4~20mA", "+/-10V"};
const Rows kChannelRows = {"CH0", "CH1", "CH2", "CH3"};

// Address, baud, data format (hidden), checksum, protocol and "&Update"; the boxes but the address
// are enabled at address 0 only.
void AddGeneralSetting(Controls& c, unsigned protocolStyle)
{
    c.push_back({-1, CtlKind::GroupBox, "General Setting", 6, 6, 140, 116});
    AddSettingRows(c, {{"Address", IDC_ODI_ADDRESS, CtlKind::Edit}}, {12, 44, 60, 40}, 18);
    c.push_back({-1, CtlKind::Static, "HEX", 104, 20, 20, 9});
    int y = AddSettingRows(
        c,
        {{"Baudrate", IDC_ODI_BAUD, CtlKind::DropList, BaudRows()},
         {"Data Format", IDC_ODI_FORMAT, CtlKind::DropList, kModbusFormatRows,
          CS_HIDDEN | CS_DISABLED},
         {"Checksum", IDC_ODI_CHECKSUM, CtlKind::DropList, {"Enable", "Disable"}, CS_DISABLED},
         {"Protocol", IDC_ODI_PROTOCOL, CtlKind::DropList, {"ASCII", "Modbus RTU"}, protocolStyle}},
        {10, 46, 58, 84}, 36);
    c.push_back({IDC_ODI_UPDATE, CtlKind::Button, "&Update", 48, y + 2, 50, 14});
}

// The "protocol" box, never shown: beside "&Update".
void AddProtocolBox(Controls& c, unsigned style)
{
    c.push_back({IDC_ODI_PROTOCOL_BOX, CtlKind::AutoCheckBox, "protocol", 102, 104, 40, 10,
                 CS_HIDDEN | style});
}

// Range list and current value of each channel; the startup values only in the ASCII template.
void AddChannels(Controls& c, bool startup)
{
    c.push_back({-1, CtlKind::GroupBox, "Channel Setting", 150, 6, 194, 116});
    c.push_back({-1, CtlKind::Static, "Range", 180, 18, 50, 9});
    c.push_back({-1, CtlKind::Static, "Current Val.", 236, 18, 50, 9});
    if (startup) c.push_back({-1, CtlKind::Static, "Startup Val.", 290, 18, 50, 9});
    for (int ch = 0; ch < 4; ++ch) {
        int y = 30 + ch * 16;
        c.push_back({kOdiCheckIds[ch], CtlKind::AutoCheckBox, "", 152, y + 1, 10, 10,
                     startup ? CS_HIDDEN : CS_NONE});
        c.push_back({-1, CtlKind::Static, Format("CH%d", ch), 164, y + 2, 16, 9});
        c.push_back({kOdiRangeIds[ch], CtlKind::DropList, "", 180, y, 52, 60, CS_NONE, kRangeRows});
        c.push_back({kOdiCurrentIds[ch], CtlKind::Edit, "", 236, y, 50, 12,
                     startup ? CS_READONLY : CS_NONE});
        if (startup) c.push_back({kOdiStartupIds[ch], CtlKind::Edit, "", 290, y, 50, 12});
    }
    c.push_back({IDC_ODI_REFRESH, CtlKind::Button, "&Refresh", 180, 98, 50, 14});
    if (startup) c.push_back({IDC_ODI_UPDATE_STARTUP, CtlKind::Button, "&Update", 290, 98, 50, 14});
}

void AddLamps(Controls& c, int x, int y)
{
    c.push_back({-1, CtlKind::GroupBox, "DI", x, y, 56, 84});
    for (int k = 0; k < 4; ++k) {
        c.push_back({-1, CtlKind::Static, Format("DI%d", k), x + 6, y + 16 + k * 16, 16, 9});
        c.push_back({kOdiLampIds[k], CtlKind::Icon, "144", x + 26, y + 12 + k * 16, 16, 16});
    }
}

Controls AsciiControls()
{
    Controls c;
    AddGeneralSetting(c, CS_NONE);
    AddProtocolBox(c, CS_DISABLED);
    AddChannels(c, true);
    c.push_back({-1, CtlKind::GroupBox, "Set Current Value", 6, 126, 276, 64});
    c.push_back({IDC_ODI_CHANNEL, CtlKind::DropList, "", 12, 140, 40, 60, CS_NONE, kChannelRows});
    c.push_back({IDC_ODI_SLIDER, CtlKind::Slider, "", 56, 138, 150, 16});
    c.push_back({IDC_ODI_SCALE, CtlKind::Static, "", 60, 156, 150, 9});
    c.push_back({IDC_ODI_VALUE, CtlKind::Edit, "+00.000", 212, 140, 40, 12});
    c.push_back({IDC_ODI_OUTPUT, CtlKind::Button, "&Output", 212, 158, 40, 14});
    // The "Direct Output Value" group, never shown: one place each for the sliders and the labels,
    // in the free room under the Respond field.
    for (int k = 0; k < 4; ++k) {
        c.push_back({kOdiHiddenSliderIds[k], CtlKind::Slider, "", 10, 216, 20, 10, CS_HIDDEN});
        c.push_back({kOdiHiddenLabelIds[k], CtlKind::Static, "", 34, 216, 20, 9, CS_HIDDEN});
    }
    AddLamps(c, 288, 126);
    c.push_back({-1, CtlKind::Static, "Respond", 6, 198, 34, 9});
    c.push_back({IDC_ODI_RESPOND, CtlKind::Edit, "", 42, 196, 180, 12, CS_DISABLED});
    c.push_back({IDC_ODI_CANCEL, CtlKind::Button, "&Cancel", 288, 214, 56, 14});
    return c;
}

Controls ModbusControls()
{
    Controls c;
    AddGeneralSetting(c, CS_HIDDEN);
    AddProtocolBox(c, CS_NONE);
    AddChannels(c, false);
    c.push_back({-1, CtlKind::GroupBox, "Set Startup Value", 6, 126, 226, 44});
    c.push_back({IDC_ODI_CHANNEL, CtlKind::DropList, "", 12, 140, 40, 60, CS_NONE, kChannelRows});
    c.push_back({IDC_ODI_SLIDER_MODBUS, CtlKind::Slider, "", 56, 138, 100, 16});
    c.push_back({IDC_ODI_CODE, CtlKind::Edit, "0", 160, 140, 30, 12});
    c.push_back({IDC_ODI_OUTPUT, CtlKind::Button, "&Setting", 194, 139, 34, 14});
    c.push_back({-1, CtlKind::Static, "Location", 10, 174, 40, 9});
    c.push_back({-1, CtlKind::Static, "Channel", 70, 174, 40, 9});
    c.push_back({-1, CtlKind::Static, "Value", 140, 174, 40, 9});
    c.push_back({IDC_ODI_LIST, CtlKind::ListBox, "", 6, 184, 226, 74, CS_VSCROLL});
    AddLamps(c, 288, 126);
    c.push_back({-1, CtlKind::Static, "Respond", 238, 214, 34, 9});
    c.push_back({IDC_ODI_RESPOND, CtlKind::Edit, "", 238, 226, 106, 12});
    c.push_back({IDC_ODI_CANCEL, CtlKind::Button, "&Cancel", 288, 244, 56, 14});
    return c;
}

const bool g_registered =
    RegisterDialogTemplate({IDD_M6359P, "4359A", 350, 234, AsciiControls()}) &&
    RegisterDialogTemplate({IDD_M6359P_MODBUS, "4359A Modbus", 350, 264, ModbusControls()});

} // namespace
