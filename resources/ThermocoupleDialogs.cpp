// Templates 159 "Module" and 229 "Module Modbus": the thermocouple dialog over ASCII and over
// Modbus RTU with its channel grid, settings, calibration and cold-junction groups, channel types
// and the alarm group of the single-channel models. Over Modbus RTU the calibration, cold-junction,
// alarm and channel-type controls have no function: they are created disabled or hidden.
// Template 219 "4386A Modbus": the dialog over Modbus RTU with one type per channel.
#include "DialogTemplate.h"
#include "ModbusChannelRows.h"
#include "PerChannelIds.h"
#include "Shell.h"
#include "Strings.h"
#include "TemplateRows.h"
#include "thermocouple/MvTcRanges.h"
#include "thermocouple/TcModbusTables.h"
#include "thermocouple/ThermocoupleIds.h"

namespace {

using Controls = std::vector<ControlTemplate>;
using Rows = std::vector<std::string>;

void AddInputGroup(Controls& c)
{
    c.push_back({-1, CtlKind::Static, "Module(", 8, 6, 28, 9});
    c.push_back({IDC_TC_MODEL, CtlKind::Static, "", 38, 6, 44, 9});
    c.push_back({-1, CtlKind::Static, ")", 84, 6, 8, 9});
    c.push_back({-1, CtlKind::GroupBox, "Input", 6, 18, 206, 72});
    for (int ch = 0; ch < 8; ++ch) {
        int x = ch % 2 ? 110 : 12;
        int y = 30 + (ch / 2) * 14;
        c.push_back({kTcCheckIds[ch], CtlKind::AutoCheckBox, "", x, y + 1, 10, 10});
        c.push_back({-1, CtlKind::Static, Format("CH%d", ch), x + 12, y + 2, 16, 9});
        c.push_back({kTcValueIds[ch], CtlKind::Edit, "", x + 30, y, 60, 12});
    }
}

void AddSettingGroup(Controls& c, const Rows& rangeRows)
{
    c.push_back({-1, CtlKind::GroupBox, "Setting", 218, 18, 140, 140});
    int y =
        AddSettingRows(c,
                       {{"Address", IDC_TC_ADDRESS, CtlKind::Edit},
                        {"Range", IDC_TC_RANGE, CtlKind::DropList, rangeRows},
                        {"Baudrate", IDC_TC_BAUD, CtlKind::DropList, BaudRows()},
                        {"CheckSum", IDC_TC_CHECKSUM, CtlKind::DropList, {"Enable", "Disable"}},
                        {"Data Format", IDC_TC_FORMAT, CtlKind::DropList, kModbusFormatRows},
                        {"Protocol", IDC_TC_PROTOCOL, CtlKind::DropDown, {"ASCII", "Modbus RTU"}}},
                       {224, 48, 272, 80, 90}, 30);
    c.push_back({IDC_TC_SETTING, CtlKind::Button, "Setting", 252, y + 4, 60, 14, CS_DEFAULT});
}

// The buttons take the style given.
void AddCalibrationButtons(Controls& c, unsigned buttons)
{
    c.push_back({-1, CtlKind::GroupBox, "Calibrate", 6, 94, 206, 64});
    c.push_back({IDC_TC_CALIBRATE, CtlKind::Button, "Calibrate", 12, 106, 44, 14, buttons});
    c.push_back({IDC_TC_ZERO, CtlKind::Button, "Zero", 60, 106, 36, 14, buttons});
    c.push_back({IDC_TC_SPAN, CtlKind::Button, "Span", 100, 106, 36, 14, buttons});
    c.push_back({IDC_TC_STATUS, CtlKind::Edit, "", 140, 106, 66, 12, CS_READONLY});
}

void AddCalibrationGroup(Controls& c)
{
    AddCalibrationButtons(c, CS_NONE);
    c.push_back({-1, CtlKind::Static, "CJC.offset", 12, 126, 38, 9});
    c.push_back({IDC_TC_CJC_OFFSET, CtlKind::Edit, "", 52, 124, 44, 12, CS_DISABLED});
    c.push_back({-1, CtlKind::Static, "eg.(+00.02)", 100, 126, 44, 9});
    c.push_back({-1, CtlKind::Static, "CJC.temp", 12, 142, 38, 9});
    c.push_back({IDC_TC_CJC_TEMP, CtlKind::Edit, "", 52, 140, 44, 12, CS_DISABLED});
    c.push_back({IDC_TC_READ, CtlKind::Button, "READ", 100, 140, 36, 14});
}

// The controls take the style given; the two value fields start with the texts given.
void AddColdJunctionGroup(Controls& c, unsigned controls = CS_NONE, const char* zero = "",
                          const char* coefficient = "")
{
    c.push_back({-1, CtlKind::GroupBox, "CJC", 6, 162, 206, 66});
    c.push_back({IDC_TC_CJC_ZERO, CtlKind::Button, "CJC Zero", 12, 174, 44, 14, controls});
    c.push_back({IDC_TC_CJC_ZERO_VALUE, CtlKind::Edit, zero, 60, 174, 40, 12, controls});
    c.push_back({-1, CtlKind::Static, "[HEX]", 102, 176, 21, 9});
    c.push_back(
        {IDC_TC_COEFFICIENT_WRITE, CtlKind::Button, "Cofficient", 12, 192, 44, 14, controls});
    c.push_back({IDC_TC_COEFFICIENT_VALUE, CtlKind::Edit, coefficient, 60, 192, 40, 12, controls});
    c.push_back({-1, CtlKind::Static, "[DEC]", 102, 194, 21, 9});
    c.push_back({IDC_TC_TEMPERATURE, CtlKind::Button, "temperature", 124, 174, 44, 14, controls});
    c.push_back({IDC_TC_READ_CJC, CtlKind::Button, "Read CJC", 124, 192, 44, 14, controls});
    c.push_back(
        {IDC_TC_COEFFICIENT_READ, CtlKind::Button, "Cofficient", 170, 174, 40, 14, controls});
    c.push_back({IDC_TC_CJC_STATUS, CtlKind::Edit, "", 12, 210, 194, 12, CS_READONLY | controls});
}

void AddChannelTypeGroup(Controls& c)
{
    c.push_back({-1, CtlKind::GroupBox, "Channel", 218, 162, 140, 66});
    AddSettingRows(c,
                   {{"CH Number",
                     IDC_TC_CH_NUMBER,
                     CtlKind::DropDown,
                     {"CH0", "CH1", "CH2", "CH3", "CH4", "CH5", "CH6", "CH7"},
                     CS_SORT,
                     40},
                    {"CH Type", IDC_TC_CH_TYPE, CtlKind::DropList, TcChannelTypes().rows}},
                   {224, 40, 266, 76, 90}, 174);
    c.push_back({IDC_TC_CH_READ, CtlKind::Button, "CH READ", 224, 208, 36, 14});
    c.push_back({IDC_TC_CH_CONF, CtlKind::Button, "CH CONF", 264, 208, 36, 14});
    c.push_back({IDC_TC_FOLLOW_CH0, CtlKind::Button, "FOLLOW CH0", 302, 208, 42, 14});
}

void AddAlarmGroup(Controls& c)
{
    const unsigned off = CS_DISABLED;
    c.push_back({-1, CtlKind::GroupBox, "Alarm", 364, 18, 130, 140});
    c.push_back({IDC_TC_ALARMH_LABEL, CtlKind::Static, "AlarmH", 370, 32, 30, 9});
    c.push_back({IDC_TC_HIGH_LIMIT, CtlKind::Edit, "", 402, 30, 50, 12, off});
    c.push_back({IDC_TC_ALARML_LABEL, CtlKind::Static, "AlarmL", 370, 48, 30, 9});
    c.push_back({IDC_TC_LOW_LIMIT, CtlKind::Edit, "", 402, 46, 50, 12, off});
    c.push_back(
        {IDC_TC_ALARMH_SETTING, CtlKind::Button, "AlarmValueH Setting", 370, 64, 118, 14, off});
    c.push_back(
        {IDC_TC_ALARML_SETTING, CtlKind::Button, "AlarmValueL Setting", 370, 80, 118, 14, off});
    c.push_back({IDC_TC_ALARM_MODE,
                 CtlKind::DropDown,
                 "",
                 370,
                 98,
                 60,
                 60,
                 CS_NONE,
                 {"Disable", "Momentary", "Latch"}});
    c.push_back({IDC_TC_ALARM_TYPE, CtlKind::Button, "AlarmType Setting", 370, 114, 70, 14, off});
    c.push_back({IDC_TC_CLEAR_ALARM, CtlKind::Button, "Clear Alrm", 442, 114, 46, 14, off});
    c.push_back({IDC_TC_HIGH_LAMP_LABEL, CtlKind::Static, "Limit(High)", 370, 138, 44, 9});
    c.push_back({IDC_TC_HIGH_LAMP, CtlKind::Icon, "144", 416, 134, 16, 16});
    c.push_back({IDC_TC_LOW_LAMP_LABEL, CtlKind::Static, "Limit(Low)", 436, 138, 40, 9});
    c.push_back({IDC_TC_LOW_LAMP, CtlKind::Icon, "144", 476, 134, 16, 16});
}

Controls ThermocoupleControls()
{
    Controls c;
    AddInputGroup(c);
    AddSettingGroup(c, MvTcRanges().rows);
    AddCalibrationGroup(c);
    AddColdJunctionGroup(c);
    AddChannelTypeGroup(c);
    AddAlarmGroup(c);
    c.push_back({IDC_TC_CHANNEL, CtlKind::Button, "Channel ", 370, 170, 56, 14, CS_DISABLED});
    c.push_back({IDC_TC_SET, CtlKind::Button, "Set", 430, 170, 56, 14, CS_DISABLED | CS_HIDDEN});
    c.push_back({IDCANCEL, CtlKind::Button, "Cancel", 430, 212, 60, 14});
    return c;
}

// The channel-type controls the Modbus dialog never uses.
void AddUnusedChannelTypeControls(Controls& c)
{
    const unsigned hidden = CS_HIDDEN;
    c.push_back({-1, CtlKind::GroupBox, "Channel", 218, 162, 140, 66});
    AddSettingRows(c,
                   {{"CH_NUM", IDC_TC_CH_NUMBER, CtlKind::DropDown, {}, hidden, 40},
                    {"CH_TYPE", IDC_TC_CH_TYPE, CtlKind::DropDown, {}, hidden}},
                   {224, 36, 262, 76, 90}, 174);
    c.push_back({IDC_TCM_CH_READ, CtlKind::Button, "CH Read", 224, 208, 48, 14, hidden});
    c.push_back({IDC_TCM_CH_CONFIG, CtlKind::Button, "CH Config", 276, 208, 48, 14, hidden});
}

Controls ThermocoupleModbusControls()
{
    Controls c;
    AddInputGroup(c);
    AddSettingGroup(c, TcModbusRanges().rows);
    AddCalibrationButtons(c, CS_DISABLED);
    AddColdJunctionGroup(c, CS_DISABLED, "+0000", "10000");
    AddUnusedChannelTypeControls(c);
    AddAlarmGroup(c);
    c.push_back({IDC_TC_CHANNEL, CtlKind::Button, "Channel ", 370, 170, 56, 14, CS_DISABLED});
    c.push_back({IDC_TC_SET, CtlKind::Button, "Set", 430, 170, 56, 14, CS_DISABLED | CS_HIDDEN});
    c.push_back({IDCANCEL, CtlKind::Button, "Cancel", 430, 212, 60, 14});
    return c;
}

Controls PerChannelThermocoupleModbusControls()
{
    Controls c;
    AddModbusGeneralSettings(
        c, {.addressStyle = CS_DISABLED, .formatStyle = CS_HIDDEN, .listKind = CtlKind::DropDown});
    c.push_back(
        {IDC_PC_UPDATE, CtlKind::Button, "&Update", 40, 84, 56, 14, CS_HIDDEN | CS_DISABLED});
    AddModbusReferenceList(c, {6, 110});
    AddModbusChannelRows(c, {140, 4, 8, kTcpCheckIds, TcModbusTypes().rows, 70, CtlKind::DropDown});
    // Below the channel rows' group.
    c.push_back({IDC_PC_REFRESH, CtlKind::Button, "&Refresh", 190, 146, 56, 14});
    c.push_back({IDC_PC_FOLLOW_CH0, CtlKind::Button, "FOLLOW CH0", 250, 146, 60, 14});
    c.push_back({-1, CtlKind::Static, "Respond", 140, 168, 34, 9});
    c.push_back({IDC_PC_RESPOND, CtlKind::Edit, "", 176, 166, 148, 12});
    c.push_back({IDC_PC_CANCEL, CtlKind::Button, "&Cancel", 268, 190, 56, 14});
    return c;
}

const bool g_registered =
    RegisterDialogTemplate({IDD_M6386, "Module", 500, 234, ThermocoupleControls()}) &&
    RegisterDialogTemplate(
        {IDD_M6386_MODBUS, "Module Modbus", 500, 234, ThermocoupleModbusControls()}) &&
    RegisterDialogTemplate(
        {IDD_M6386P_MODBUS, "4386A Modbus", 330, 210, PerChannelThermocoupleModbusControls()});

} // namespace
