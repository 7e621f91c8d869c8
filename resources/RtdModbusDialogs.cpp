// Templates 226 "V-6307P Modbus" and 228 "V-6300 Modbus" (the RTD dialogs over Modbus RTU: one
// range for the module), and 220 "4382A Modbus" and 231 "V-6382T Modbus" (six channels with a
// type each).
#include "DialogTemplate.h"
#include "ModbusChannelRows.h"
#include "PerChannelIds.h"
#include "Strings.h"
#include "TemplateRows.h"
#include "rtd/RtdIds.h"
#include "rtd/RtdModbusTables.h"

namespace {

using Controls = std::vector<ControlTemplate>;
using Rows = std::vector<std::string>;

Controls RangeModbusControls()
{
    Controls c;
    c.push_back({-1, CtlKind::Static, "Module (", 10, 6, 32, 9});
    c.push_back({IDC_RTDM_MODEL, CtlKind::Static, "", 44, 6, 50, 9});
    c.push_back({-1, CtlKind::Static, ")", 96, 6, 8, 9});
    c.push_back({-1, CtlKind::GroupBox, "General Setting", 6, 18, 166, 130});
    int y = AddSettingRows(
        c,
        {{"Address:", IDC_PC_ADDRESS, CtlKind::Edit, {}, CS_NONE, 76},
         {"DataFormat:", IDC_PC_FORMAT, CtlKind::DropList, kModbusFormatRows},
         {"Range:", IDC_RTDM_RANGE, CtlKind::DropDown, Rtd6307Ranges().rows},
         {"BaudRate:", IDC_PC_BAUD, CtlKind::DropList, BaudRows()},
         {"CheckSum:", IDC_PC_CHECKSUM, CtlKind::DropList, {"Enable", "Disable", "CRC"}},
         {"Protocol:", IDC_PC_PROTOCOL, CtlKind::DropList, {"ASCII", "Modbus RTU"}}},
        {12, 42, 54, 112, 90}, 30);
    c.push_back({-1, CtlKind::Static, "HEX", 132, 32, 20, 9});
    c.push_back({IDC_PC_UPDATE, CtlKind::Button, "Setting", 54, y + 2, 50, 14});
    // As wide as the list below, whose rows run to the value after the channel.
    c.push_back({-1, CtlKind::GroupBox, "Channel Setting", 176, 18, 146, 100});
    for (int ch = 0; ch < 6; ++ch) {
        c.push_back({-1, CtlKind::Static, Format("CH%d", ch), 182, 32 + ch * 14, 16, 9});
        c.push_back({kRtdmValueIds[static_cast<size_t>(ch)], CtlKind::Edit, "", 202, 30 + ch * 14,
                     114, 12});
    }
    AddModbusReferenceList(c, {176, 120, 146, 50, CS_SORT});
    c.push_back({IDC_PC_CANCEL, CtlKind::Button, "Cancel", 54, 160, 50, 14});
    return c;
}

Controls SixChannelModbusControls(const Rows& protocolRows, const Rows& typeRows, int typeWidth,
                                  int listHeight)
{
    Controls c;
    int y = AddModbusGeneralSettings(
        c, {.protocolRows = protocolRows, .protocolStyle = CS_DISABLED, .bFormatFirst = true});
    c.push_back({IDC_PC_UPDATE, CtlKind::Button, "&Update", 40, y + 2, 56, 14});
    AddModbusReferenceList(c, {6, y + 24, 140, listHeight, CS_SORT});
    AddModbusChannelRows(c, {140, 4, 6, kPcCheckIds, typeRows, typeWidth});
    c.push_back({IDC_PC_REFRESH, CtlKind::Button, "&Refresh", 190, 114, 56, 14});
    c.push_back({IDC_PC_CANCEL, CtlKind::Button, "&Cancel", 260, 114, 56, 14});
    c.push_back({-1, CtlKind::Static, "Respond", 150, 140, 32, 9});
    c.push_back({IDC_PC_RESPOND, CtlKind::Edit, "", 184, 138, 132, 12, CS_DISABLED});
    return c;
}

const bool g_registered =
    RegisterDialogTemplate(
        {IDD_M6307P_MODBUS, "V-6307P Modbus", 328, 183, RangeModbusControls()}) &&
    RegisterDialogTemplate({IDD_M6300_MODBUS, "V-6300 Modbus", 328, 200, RangeModbusControls()}) &&
    RegisterDialogTemplate(
        {IDD_M6382P_MODBUS, "4382A Modbus", 399, 242,
         SixChannelModbusControls({"ASCII", "Modbus RTU"}, Rtd6382ModbusTypes().rows, 136, 84)}) &&
    RegisterDialogTemplate({IDD_M6382T_MODBUS, "V-6382T Modbus", 356, 206,
                            SixChannelModbusControls({"Vekt ASCII", "Modbus RTU"},
                                                     Thermistor6382TTypes().rows, 118, 68)});

} // namespace
