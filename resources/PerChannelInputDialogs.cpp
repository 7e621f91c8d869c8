// Templates 202 "Vekt-6384P" and 222 "4384A Modbus" of the per-channel-type analog-input dialogs,
// and 225 "Vekt 6385P Modbus" of the single-channel Modbus input dialog with digital I/O.
#include "PerChannelLayout.h"
#include "analog_input/AnalogInputIds.h"

namespace {

using namespace per_channel_layout;

const Rows kProtocolRows = {"Vekt ASCII", "Modbus RTU"};
const Rows kTypeRows = {"+4~20mA", "+/-10V", "+/-5V", "+/-1V", "+/-500mV", "+/-150mV", "+/-20mA"};
const Rows kRangeRows = {"-10 to +10V",    "-5 to +5V",      "-1 to +1V",
                         "-500 to +500mV", "-150 to +150mV", "-20 to +20mA"};

// The channel rows of the analog-input templates: every list with the seven types.
void AddChannelRows(Controls& c, int x, int y)
{
    per_channel_layout::AddChannelRows(c, x, y, 8, [](int) { return kTypeRows; });
}

void AddListHeadings(Controls& c, int x, int y)
{
    c.push_back({-1, CtlKind::Static, "Location", x, y, 40, 9});
    c.push_back({-1, CtlKind::Static, "Channel", x + 46, y, 40, 9});
    c.push_back({-1, CtlKind::Static, "Value", x + 92, y, 40, 9});
}

Controls Ascii6384P()
{
    return AsciiControls(
        {.nChannels = 8, .typeRows = [](int) { return kTypeRows; }, .protocolRows = kProtocolRows});
}

Controls Modbus6384P()
{
    Controls c;
    c.push_back({-1, CtlKind::GroupBox, "General Setting", 6, 4, 130, 116});
    AddSettingRows(c,
                   {{"Address:", IDC_PC_ADDRESS, CtlKind::Edit, {}, CS_DISABLED},
                    {"BaudRate:", IDC_PC_BAUD, CtlKind::DropList, BaudRows()},
                    {"DataFormat:", IDC_PC_FORMAT, CtlKind::DropList, kFormatRows},
                    {"CheckSum:", IDC_PC_CHECKSUM, CtlKind::DropList, kChecksumRows}},
                   kGeneralColumns, 16);
    NarrowAddressForHexLabel(c);
    // Hidden, in the places the ASCII template gives the protocol list and the button.
    c.push_back({IDC_PC_PROTOCOL, CtlKind::DropList, "", 54, 80, 80, 40, CS_HIDDEN, kProtocolRows});
    c.push_back(
        {IDC_PC_UPDATE, CtlKind::Button, "&Update", 40, 100, 56, 14, CS_HIDDEN | CS_DISABLED});
    AddListHeadings(c, 8, 124);
    c.push_back({IDC_PC_LIST, CtlKind::ListBox, "", 6, 134, 128, 70, CS_VSCROLL});
    AddChannelRows(c, 140, 4);
    c.push_back({IDC_PC_REFRESH, CtlKind::Button, "&Refresh", 190, 140, 56, 14});
    c.push_back({IDC_PC_FOLLOW_CH0, CtlKind::Button, "&FollowCH0", 250, 140, 56, 14});
    c.push_back({-1, CtlKind::Static, "Respond", 140, 168, 34, 9});
    c.push_back({IDC_PC_RESPOND, CtlKind::Edit, "", 176, 166, 148, 12, CS_DISABLED});
    c.push_back({IDC_PC_CANCEL, CtlKind::Button, "&Cancel", 268, 190, 56, 14});
    return c;
}

Controls Modbus6385P()
{
    Controls c;
    c.push_back({-1, CtlKind::GroupBox, "Setting", 6, 4, 130, 130});
    int y = AddSettingRows(c,
                           {{"Address", IDC_6385_ADDRESS, CtlKind::Edit},
                            {"Input Range", IDC_6385_RANGE, CtlKind::DropList, kRangeRows},
                            {"Data Format", IDC_6385_FORMAT, CtlKind::DropList, kFormatRows},
                            {"Baudrate", IDC_6385_BAUD, CtlKind::DropList, BaudRows()},
                            {"CheckSum", IDC_6385_CHECKSUM, CtlKind::DropList, kChecksumRows}},
                           kGeneralColumns, 16);
    c.push_back({IDC_6385_ASCII, CtlKind::AutoCheckBox, "ASCII", 12, y + 2, 40, 10});
    c.push_back({IDC_6385_UPDATA, CtlKind::Button, "&Updata", 70, y, 56, 14, CS_DEFAULT});
    c.push_back({-1, CtlKind::GroupBox, "Channel Input", 140, 4, 150, 36});
    c.push_back({-1, CtlKind::Static, "Current Val.", 166, 12, 60, 9});
    c.push_back({-1, CtlKind::Static, "CH0", 146, 24, 18, 9});
    c.push_back({IDC_6385_VALUE, CtlKind::Edit, "", 166, 22, 80, 12});
    c.push_back({-1, CtlKind::GroupBox, "DI Status", 140, 44, 150, 40});
    const struct {
        const char* label;
        int id;
    } lamps[] = {
        {"DIO", IDC_6385_INPUT_LAMP}, {"DIO0", IDC_6385_DIO0_LAMP}, {"DIO1", IDC_6385_DIO1_LAMP}};
    int x = 146;
    for (const auto& lamp : lamps) {
        c.push_back({-1, CtlKind::Static, lamp.label, x, 60, 20, 9});
        c.push_back({lamp.id, CtlKind::Icon, "144", x + 20, 56, 16, 16});
        x += 48;
    }
    c.push_back({IDC_6385_REFRESH, CtlKind::Button, "&Refresh", 140, 90, 56, 14});
    AddListHeadings(c, 8, 140);
    c.push_back({IDC_6385_LIST, CtlKind::ListBox, "", 6, 150, 184, 44, CS_SORT});
    c.push_back({IDC_6385_RESPOND, CtlKind::Edit, "", 200, 110, 90, 12, CS_READONLY | CS_DISABLED});
    c.push_back({IDC_6385_CANCEL, CtlKind::Button, "Cancel", 234, 180, 56, 14});
    return c;
}

const bool g_registered =
    RegisterDialogTemplate({IDD_M6384P, "Vekt-6384P", 330, 206, Ascii6384P()}) &&
    RegisterDialogTemplate({IDD_M6384P_MODBUS, "4384A Modbus", 330, 210, Modbus6384P()}) &&
    RegisterDialogTemplate({IDD_6385P_MODBUS, "Vekt 6385P Modbus", 296, 200, Modbus6385P()});

} // namespace
