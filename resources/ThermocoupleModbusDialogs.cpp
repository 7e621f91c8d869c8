// Templates 229 "Module Modbus" (the eight-channel thermocouple dialog over Modbus RTU, with the
// calibration, cold-junction, alarm and channel-type controls it never uses) and 219 "4386A Modbus"
// (one type per channel).
#include "DialogTemplate.h"
#include "ModbusChannelRows.h"
#include "PerChannelIds.h"
#include "Shell.h"
#include "Strings.h"
#include "thermocouple/TcModbusTables.h"
#include "thermocouple/ThermocoupleIds.h"

namespace {

using Controls = std::vector<ControlTemplate>;
using Rows = std::vector<std::string>;

inline constexpr unsigned kOff = CS_DISABLED;

void AddInputGroup(Controls& c)
{
    c.push_back({-1, CtlKind::Static, "Module(", 8, 6, 30, 9});
    c.push_back({IDC_TC_MODEL, CtlKind::Static, "", 40, 6, 44, 9});
    c.push_back({-1, CtlKind::Static, ")", 86, 6, 8, 9});
    c.push_back({-1, CtlKind::GroupBox, "Input", 6, 18, 206, 72});
    for (int ch = 0; ch < 8; ++ch) {
        int x = ch % 2 ? 110 : 12;
        int y = 30 + (ch / 2) * 14;
        c.push_back({kTcCheckIds[ch], CtlKind::AutoCheckBox, "", x, y + 1, 10, 10});
        c.push_back({-1, CtlKind::Static, Format("CH%d", ch), x + 12, y + 2, 16, 9});
        c.push_back({kTcValueIds[ch], CtlKind::Edit, "", x + 30, y, 60, 12});
    }
}

void AddSettingGroup(Controls& c)
{
    c.push_back({-1, CtlKind::GroupBox, "Setting", 218, 18, 138, 140});
    struct Row {
        const char* label;
        int id;
        CtlKind kind;
        Rows rows;
    };
    const Row rows[] = {
        {"Address", IDC_TC_ADDRESS, CtlKind::Edit, {}},
        {"Range", IDC_TC_RANGE, CtlKind::DropList, kTcModbusRanges.rows},
        {"Data Format",
         IDC_TC_FORMAT,
         CtlKind::DropList,
         {"Engineer Unit", "% of FSR", "2's complement HEX"}},
        {"Baudrate", IDC_TC_BAUD, CtlKind::DropList, kModbusBaudRows},
        {"CheckSum", IDC_TC_CHECKSUM, CtlKind::DropList, {"Enable", "Disable"}},
        {"Protocol", IDC_TC_PROTOCOL, CtlKind::DropDown, {"ASCII", "Modbus RTU"}},
    };
    int y = 30;
    for (const Row& r : rows) {
        c.push_back({-1, CtlKind::Static, r.label, 224, y + 2, 46, 9});
        c.push_back({r.id, r.kind, "", 272, y, 80, r.rows.empty() ? 12 : 90, CS_NONE, r.rows});
        y += 16;
    }
    c.push_back({IDC_TC_SETTING, CtlKind::Button, "Setting", 252, y + 4, 60, 14, CS_DEFAULT});
}

void AddUnusedGroups(Controls& c)
{
    c.push_back({-1, CtlKind::GroupBox, "Calibrate", 6, 94, 206, 30});
    c.push_back({IDC_TC_CALIBRATE, CtlKind::Button, "Calibrate", 12, 106, 44, 14, kOff});
    c.push_back({IDC_TC_ZERO, CtlKind::Button, "Zero", 60, 106, 36, 14, kOff});
    c.push_back({IDC_TC_SPAN, CtlKind::Button, "Span", 100, 106, 36, 14, kOff});
    c.push_back({IDC_TC_STATUS, CtlKind::Edit, "", 140, 106, 66, 12, CS_READONLY});
    c.push_back({-1, CtlKind::GroupBox, "CJC", 6, 128, 206, 84});
    c.push_back({IDC_TC_CJC_ZERO, CtlKind::Button, "CJC Zero", 12, 140, 44, 14, kOff});
    c.push_back({IDC_TC_CJC_ZERO_VALUE, CtlKind::Edit, "+0000", 60, 140, 40, 12, kOff});
    c.push_back({-1, CtlKind::Static, "[HEX]", 102, 142, 22, 9});
    c.push_back({IDC_TC_COEFFICIENT_WRITE, CtlKind::Button, "Cofficient", 12, 158, 44, 14, kOff});
    c.push_back({IDC_TC_COEFFICIENT_VALUE, CtlKind::Edit, "10000", 60, 158, 40, 12, kOff});
    c.push_back({-1, CtlKind::Static, "[DEC]", 102, 160, 22, 9});
    c.push_back({IDC_TC_TEMPERATURE, CtlKind::Button, "temperature", 128, 140, 48, 14, kOff});
    c.push_back({IDC_TC_READ_CJC, CtlKind::Button, "Read CJC", 128, 158, 48, 14, kOff});
    c.push_back({IDC_TC_COEFFICIENT_READ, CtlKind::Button, "Cofficient", 128, 176, 48, 14, kOff});
    c.push_back({IDC_TCM_MASK_STATUS, CtlKind::Edit, "", 12, 194, 194, 12, kOff | CS_READONLY});
}

void AddAlarmGroup(Controls& c)
{
    const int x = 362;
    c.push_back({-1, CtlKind::GroupBox, "Alarm", x - 4, 18, 132, 140});
    c.push_back({IDC_TC_ALARMH_LABEL, CtlKind::Static, "AlarmH", x, 32, 30, 9});
    c.push_back({IDC_TC_HIGH_LIMIT, CtlKind::Edit, "", x + 32, 30, 50, 12, kOff});
    c.push_back({IDC_TC_ALARML_LABEL, CtlKind::Static, "AlarmL", x, 48, 30, 9});
    c.push_back({IDC_TC_LOW_LIMIT, CtlKind::Edit, "", x + 32, 46, 50, 12, kOff});
    c.push_back(
        {IDC_TC_ALARMH_SETTING, CtlKind::Button, "AlarmValueH Setting", x, 64, 118, 14, kOff});
    c.push_back(
        {IDC_TC_ALARML_SETTING, CtlKind::Button, "AlarmValueL Setting", x, 80, 118, 14, kOff});
    c.push_back({IDC_TC_ALARM_MODE, CtlKind::DropDown, "", x, 98, 60, 60, CS_NONE,
                 Rows{"Disable", "Momentary", "Latch"}});
    c.push_back({IDC_TC_ALARM_TYPE, CtlKind::Button, "AlarmType Setting", x, 114, 70, 14, kOff});
    c.push_back({IDC_TC_CLEAR_ALARM, CtlKind::Button, "Clear Alrm", x + 72, 114, 46, 14, kOff});
    c.push_back({IDC_TC_HIGH_LAMP_LABEL, CtlKind::Static, "Limit(High)", x, 138, 44, 9});
    c.push_back({IDC_TC_HIGH_LAMP, CtlKind::Icon, "144", x + 44, 134, 16, 16});
    c.push_back({IDC_TC_LOW_LAMP_LABEL, CtlKind::Static, "Limit(Low)", x + 62, 138, 42, 9});
    c.push_back({IDC_TC_LOW_LAMP, CtlKind::Icon, "144", x + 104, 134, 16, 16});
}

void AddChannelTypeGroup(Controls& c)
{
    const unsigned hidden = CS_HIDDEN;
    c.push_back({IDC_TC_CHANNEL, CtlKind::Button, "Channel ", 218, 164, 56, 14, kOff});
    c.push_back({IDC_TC_SET, CtlKind::Button, "Set", 278, 164, 56, 14, kOff | hidden});
    c.push_back({-1, CtlKind::Static, "CH_NUM", 218, 184, 34, 9, hidden});
    c.push_back({IDC_TC_CH_NUMBER, CtlKind::DropDown, "", 254, 182, 40, 90, hidden});
    c.push_back({-1, CtlKind::Static, "CH_TYPE", 298, 184, 34, 9, hidden});
    c.push_back({IDC_TC_CH_TYPE, CtlKind::DropDown, "", 334, 182, 60, 90, hidden});
    c.push_back({IDC_TCM_CH_READ, CtlKind::Button, "CH Read", 218, 198, 48, 14, hidden});
    c.push_back({IDC_TCM_CH_CONFIG, CtlKind::Button, "CH Config", 270, 198, 48, 14, hidden});
}

Controls ThermocoupleModbusControls()
{
    Controls c;
    AddInputGroup(c);
    AddSettingGroup(c);
    AddUnusedGroups(c);
    AddAlarmGroup(c);
    AddChannelTypeGroup(c);
    c.push_back({IDCANCEL, CtlKind::Button, "Cancel", 424, 198, 60, 14});
    return c;
}

Controls PerChannelThermocoupleModbusControls()
{
    Controls c;
    AddModbusGeneralSettings(c, kModbusFormatHidden);
    c.push_back(
        {IDC_PC_UPDATE, CtlKind::Button, "&Update", 40, 84, 56, 14, CS_HIDDEN | CS_DISABLED});
    AddModbusReferenceList(c, {6, 110});
    AddModbusChannelRows(c, {140, 4, 8, kTcpCheckIds, kTcModbusTypes.rows});
    c.push_back({IDC_PC_REFRESH, CtlKind::Button, "&Refresh", 190, 140, 56, 14});
    c.push_back({IDC_PC_FOLLOW_CH0, CtlKind::Button, "FOLLOW CH0", 250, 140, 60, 14});
    c.push_back({-1, CtlKind::Static, "Respond", 140, 168, 34, 9});
    c.push_back({IDC_PC_RESPOND, CtlKind::Edit, "", 176, 166, 148, 12});
    c.push_back({IDC_PC_CANCEL, CtlKind::Button, "&Cancel", 268, 190, 56, 14});
    return c;
}

const bool g_registered = RegisterDialogTemplate({IDD_M6386_MODBUS, "Module Modbus", 496, 220,
                                                  ThermocoupleModbusControls()}) &&
                          RegisterDialogTemplate({IDD_M6386P_MODBUS, "4386A Modbus", 330, 210,
                                                  PerChannelThermocoupleModbusControls()});

} // namespace
