// Templates 140 "DIO Module" (ASCII) and 224 "DIO Module Modbus" of the digital I/O dialogs. Both
// have sixteen channel columns, labelled CH15 on the left to CH0 on the right, the module settings,
// the input latch and the safe and power-on buttons; the Modbus one adds the list of references.
#include "DialogTemplate.h"
#include "Shell.h"
#include "Strings.h"
#include "TemplateRows.h"
#include "digital_io/DigitalIoIds.h"
#include "digital_io/DioModel.h"

namespace {

using Controls = std::vector<ControlTemplate>;

// Wide enough for a counter's five digits.
constexpr int kColumnWidth = 26;

// Channel 0 stands in the rightmost column.
int ColumnX(int channel)
{
    return 12 + (15 - channel) * kColumnWidth;
}

void AddHeader(Controls& c)
{
    c.push_back({-1, CtlKind::Static, "DIO Module(", 8, 6, 42, 9});
    c.push_back({IDC_DIO_MODEL, CtlKind::Static, "", 50, 6, 40, 9});
    c.push_back({-1, CtlKind::Static, ")", 90, 6, 8, 9});
}

void AddChannels(Controls& c)
{
    const int width = 12 + 16 * kColumnWidth;
    c.push_back({-1, CtlKind::GroupBox, "Input", 6, 18, width, 86});
    c.push_back({-1, CtlKind::GroupBox, "Output", 6, 108, width, 44});
    for (int ch = 0; ch < 16; ++ch) {
        const SDioChannelControls& ids = DioChannelControls[static_cast<size_t>(ch)];
        int x = ColumnX(ch);
        std::string label = Format("CH%d", ch);
        c.push_back({-1, CtlKind::Static, label, x, 28, 20, 9});
        c.push_back({ids.nDiLamp, CtlKind::Icon, "144", x + 4, 38, 16, 16});
        c.push_back({ids.nCounter, CtlKind::Edit, "", x, 58, 24, 12, CS_READONLY});
        c.push_back({ids.nClear, CtlKind::Button, "Clear", x, 74, 24, 12});
        c.push_back({-1, CtlKind::Static, label, x, 118, 20, 9});
        c.push_back({ids.nDoLamp, CtlKind::Icon, "144", x + 4, 130, 16, 16});
    }
}

void AddModuleSet(Controls& c, const std::vector<std::string>& protocolRows)
{
    c.push_back({-1, CtlKind::GroupBox, "Module Set", 6, 156, 150, 92});
    const std::vector<SSettingRow> rows = {
        {"Address", IDC_DIO_ADDRESS, CtlKind::Edit, {}},
        {"Baudrate", IDC_DIO_BAUD, CtlKind::DropList, BaudRows()},
        {"CheckSum", IDC_DIO_CHECKSUM, CtlKind::DropList, {"Enable", "Disable"}},
        {"Protocol", IDC_DIO_PROTOCOL, CtlKind::DropList, protocolRows},
    };
    int y = AddSettingRows(c, rows, {12, 40, 56, 64}, 168);
    c.push_back({IDC_DIO_SETTING, CtlKind::Button, "Setting", 56, y + 2, 50, 14});
}

void AddLatchAndValues(Controls& c, unsigned clearLatchStyle)
{
    c.push_back({-1, CtlKind::GroupBox, "Input Latch", 162, 156, 90, 62});
    c.push_back({IDC_DIO_LATCH_LOW, CtlKind::Radio, "Low", 170, 168, 34, 10, CS_GROUP});
    c.push_back({IDC_DIO_LATCH_HIGH, CtlKind::Radio, "High", 208, 168, 34, 10});
    c.push_back(
        {IDC_DIO_CLEAR_LATCH, CtlKind::Button, "Clear Latch", 176, 190, 62, 14, clearLatchStyle});
    struct Button {
        int id;
        const char* text;
        int x;
        int y;
    };
    const Button buttons[] = {{IDC_DIO_SET_SAFE, "Set Safe", 258, 160},
                              {IDC_DIO_READ_SAFE, "Read Safe", 312, 160},
                              {IDC_DIO_SET_POWERON, "Set PowerOn", 258, 178},
                              {IDC_DIO_READ_POWERON, "Read PowerOn", 312, 178}};
    for (const Button& b : buttons) c.push_back({b.id, CtlKind::Button, b.text, b.x, b.y, 52, 14});
    c.push_back({IDC_DIO_ANSWER, CtlKind::Edit, "", 258, 198, 106, 12, CS_READONLY});
}

Controls DioControls(const std::vector<std::string>& protocolRows, unsigned clearLatchStyle)
{
    Controls c;
    AddHeader(c);
    AddChannels(c);
    AddModuleSet(c, protocolRows);
    AddLatchAndValues(c, clearLatchStyle);
    return c;
}

Controls AsciiControls()
{
    Controls c = DioControls({"ASCII", "Modbus RTU"}, CS_DEFAULT);
    c.push_back({IDCANCEL, CtlKind::Button, "Cancel", 314, 232, 50, 14});
    return c;
}

Controls ModbusControls()
{
    Controls c = DioControls({"Modbus RTU", "Vekt ASCII"}, CS_NONE);
    c.push_back({-1, CtlKind::Static, "Location", 12, 254, 40, 9});
    c.push_back({-1, CtlKind::Static, "Channel", 64, 254, 40, 9});
    c.push_back({-1, CtlKind::Static, "Value", 124, 254, 30, 9});
    c.push_back({IDC_DIO_LIST, CtlKind::ListBox, "", 6, 264, 246, 80, CS_SORT | CS_VSCROLL});
    c.push_back({IDCANCEL, CtlKind::Button, "Cancel", 314, 330, 50, 14});
    return c;
}

const bool g_ascii = RegisterDialogTemplate({140, "DIO Module", 436, 252, AsciiControls()});
const bool g_modbus =
    RegisterDialogTemplate({224, "DIO Module Modbus", 436, 350, ModbusControls()});

} // namespace
