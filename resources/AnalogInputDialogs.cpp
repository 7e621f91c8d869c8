// The templates "AI  Module" (ASCII) and "AI  Module Modbus" of the eight-channel
// analog-input dialogs. Both share the channel grid, the setting block and the alarm group.
#include "DialogTemplate.h"
#include "Shell.h"
#include "Strings.h"
#include "TemplateRows.h"
#include "analog_input/AnalogInputIds.h"

namespace {

using Controls = std::vector<ControlTemplate>;

const std::vector<std::string> kFormatRows = {"Engineer Unit", "% of FSR", "2's complement HEX"};
const std::vector<std::string> kModeRows = {"Normal(16Bits)", "Fast(12Bits)"};

// The two templates spell the header differently.
void AddHeader(Controls& c, const char* title)
{
    c.push_back({-1, CtlKind::Static, title, 8, 6, 46, 9});
    c.push_back({IDC_AI_MODEL, CtlKind::Static, "", 54, 6, 40, 9});
    c.push_back({-1, CtlKind::Static, ")", 94, 6, 8, 9});
}

// Value fields and enable boxes: even channels on the left, odd on the right.
void AddChannelGrid(Controls& c, unsigned checkStyle)
{
    c.push_back({-1, CtlKind::GroupBox, "Input", 6, 18, 206, 72});
    for (int ch = 0; ch < 8; ++ch) {
        int x = ch % 2 ? 110 : 12;
        int y = 30 + (ch / 2) * 14;
        c.push_back({kAiCheckIds[ch], CtlKind::AutoCheckBox, "", x, y + 1, 10, 10, checkStyle});
        c.push_back({-1, CtlKind::Static, Format("CH%d", ch), x + 12, y + 2, 16, 9});
        c.push_back({kAiValueIds[ch], CtlKind::Edit, "", x + 30, y, 60, 12});
    }
}

void AddSettingBlock(Controls& c, const std::vector<std::string>& rangeRows,
                     const std::vector<std::string>& checksumRows,
                     const std::vector<std::string>& protocolRows, CtlKind protocolKind,
                     unsigned settingStyle)
{
    c.push_back({-1, CtlKind::GroupBox, "Setting", 218, 18, 140, 166});
    int y = AddSettingRows(c,
                           {{"Address", IDC_AI_ADDRESS, CtlKind::Edit},
                            {"Input Range", IDC_AI_RANGE, CtlKind::DropList, rangeRows},
                            {"Baudrate", IDC_AI_BAUD, CtlKind::DropList, BaudRows()},
                            {"CheckSum", IDC_AI_CHECKSUM, CtlKind::DropList, checksumRows},
                            {"Data Format", IDC_AI_FORMAT, CtlKind::DropList, kFormatRows},
                            {"Protocol", IDC_AI_PROTOCOL, protocolKind, protocolRows}},
                           {224, 46, 272, 80}, 30);
    c.push_back({IDC_AI_MODE_LABEL, CtlKind::Static, "Mode", 224, y + 2, 46, 9, CS_DISABLED});
    c.push_back({IDC_AI_MODE, CtlKind::DropDown, "", 272, y, 80, 60, CS_DISABLED, kModeRows});
    c.push_back({IDC_AI_SETTING, CtlKind::Button, "Setting", 258, y + 20, 60, 14, settingStyle});
    c.push_back({IDC_AI_STATUS, CtlKind::Edit, "", 224, y + 40, 128, 12, CS_READONLY});
}

// The ASCII template's lamps show the outputs; the Modbus template's are disabled with the group.
void AddAlarmGroup(Controls& c, unsigned lampStyle)
{
    const unsigned off = CS_DISABLED;
    c.push_back({-1, CtlKind::GroupBox, "Alarm", 6, 124, 206, 86});
    c.push_back({IDC_AI_ALARMH_LABEL, CtlKind::Static, "AlarmH", 12, 138, 30, 9, off});
    c.push_back({IDC_AI_HIGH_LIMIT, CtlKind::Edit, "", 44, 136, 54, 12, off});
    c.push_back({IDC_AI_ALARML_LABEL, CtlKind::Static, "AlarmL", 12, 154, 30, 9, off});
    c.push_back({IDC_AI_LOW_LIMIT, CtlKind::Edit, "", 44, 152, 54, 12, off});
    c.push_back({IDC_AI_ALARM_VALUE, CtlKind::Button, "AlarmValue Setting", 12, 170, 86, 14, off});
    c.push_back({IDC_AI_ALARM_MODE,
                 CtlKind::DropDown,
                 "",
                 110,
                 136,
                 96,
                 60,
                 off,
                 {"Disable", "Momentary", "Latch"}});
    c.push_back({IDC_AI_ALARM_TYPE, CtlKind::Button, "AlarmType Setting", 110, 152, 96, 14, off});
    c.push_back({IDC_AI_ALARM_CLEAR, CtlKind::Button, "Alarm Clear", 110, 170, 96, 14, off});
    c.push_back({IDC_AI_LOW_LABEL, CtlKind::Static, "Low Limit", 12, 192, 40, 9, off});
    c.push_back({IDC_AI_LAMP0, CtlKind::Icon, "144", 54, 188, 16, 16, lampStyle});
    c.push_back({IDC_AI_HIGH_LABEL, CtlKind::Static, "High Limit", 110, 192, 40, 9, off});
    c.push_back({IDC_AI_LAMP1, CtlKind::Icon, "144", 152, 188, 16, 16, lampStyle});
}

Controls AsciiControls()
{
    Controls c;
    AddHeader(c, "AI _Module (");
    AddChannelGrid(c, CS_NONE);
    c.push_back({-1, CtlKind::GroupBox, "Channel", 6, 92, 206, 30});
    c.push_back({IDC_AI_CH_NUMBER,
                 CtlKind::DropDown,
                 "",
                 12,
                 103,
                 34,
                 80,
                 CS_SORT,
                 {"CH0", "CH1", "CH2", "CH3", "CH4", "CH5", "CH6", "CH7"}});
    c.push_back({IDC_AI_CH_TYPE,
                 CtlKind::DropList,
                 "",
                 48,
                 103,
                 44,
                 80,
                 CS_NONE,
                 {"4-20mA", "+/-10V", "+/-5V", "+/-1V", "+/-500mV", "+/-150mV", "+/-20mA"}});
    c.push_back({IDC_AI_CH_READ, CtlKind::Button, "CH READ", 94, 103, 34, 14});
    c.push_back({IDC_AI_CH_CONF, CtlKind::Button, "CH CONF", 130, 103, 34, 14});
    c.push_back({IDC_AI_FOLLOW_CH0, CtlKind::Button, "FOIIOW CHO", 166, 103, 40, 14});
    AddSettingBlock(c,
                    {"-10 to +10V", "-5 to +5V", "-1 to +1V", "-500 to +500mV", "-150 to +150mV",
                     "-20 to +20mA", "4-20mA", " "},
                    {"Enable", "Disable"}, {"ASCII", "Modbus RTU"}, CtlKind::DropDown, CS_NONE);
    AddAlarmGroup(c, CS_NONE);
    // Never shown: they keep to the free room beside the header.
    c.push_back({IDC_AI_ZERO, CtlKind::Button, "Zero", 176, 3, 30, 14, CS_HIDDEN});
    c.push_back({IDC_AI_SPAN, CtlKind::Button, "Span", 208, 3, 30, 14, CS_HIDDEN});
    c.push_back(
        {IDC_AI_ALARML_SETTING, CtlKind::Button, "AlarmL Setting", 240, 3, 60, 14, CS_HIDDEN});
    c.push_back(
        {IDC_AI_ALARMH_SETTING, CtlKind::Button, "AlarmH Setting", 302, 3, 60, 14, CS_HIDDEN});
    c.push_back({IDCANCEL, CtlKind::Button, "Cancel", 298, 196, 60, 14});
    return c;
}

Controls ModbusControls()
{
    Controls c;
    AddHeader(c, "AI  Module (");
    AddChannelGrid(c, CS_NONE);
    AddSettingBlock(c,
                    {"-10 to +10V", "-5 to +5V", "-1 to +1V", "-500 to +500mV", "-150 to +150mV",
                     "-20 to +20mA"},
                    {"Enable", "Disable", "CRC"}, {"Vekt ASCII", "Modbus RTU"}, CtlKind::DropList,
                    CS_DEFAULT);
    AddAlarmGroup(c, CS_DISABLED);
    c.push_back({IDCANCEL, CtlKind::Button, "Cancel", 298, 196, 60, 14});
    return c;
}

const bool g_registered =
    RegisterDialogTemplate({IDD_M6384, "AI  Module", 364, 216, AsciiControls()}) &&
    RegisterDialogTemplate({IDD_M6384_MODBUS, "AI  Module Modbus", 364, 216, ModbusControls()});

} // namespace
