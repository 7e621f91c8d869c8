#include "ModbusChannelRows.h"

#include "PerChannelIds.h"
#include "Strings.h"
#include "TemplateRows.h"

int AddModbusGeneralSettings(std::vector<ControlTemplate>& c, const SModbusGeneral& general)
{
    const CtlKind list = general.listKind;
    SSettingRow baud = {"BaudRate:", IDC_PC_BAUD, list, BaudRows()};
    SSettingRow format = {"DataFormat:", IDC_PC_FORMAT, list, kModbusFormatRows,
                          general.formatStyle};
    std::vector<SSettingRow> rows = {
        {"Address:", IDC_PC_ADDRESS, CtlKind::Edit, {}, general.addressStyle},
        general.bFormatFirst ? format : baud,
        general.bFormatFirst ? baud : format,
        {"CheckSum:", IDC_PC_CHECKSUM, list, {"Enable", "Disable"}},
    };
    if (!general.protocolRows.empty()) {
        rows.push_back(
            {"Protocol:", IDC_PC_PROTOCOL, list, general.protocolRows, general.protocolStyle});
    }
    c.push_back({-1, CtlKind::GroupBox, "General Setting", 6, 4, 130,
                 static_cast<int>(rows.size()) * 16 + 34});
    return AddSettingRows(c, rows, {12, 42, 54, 80, 90}, 16);
}

void AddModbusReferenceList(std::vector<ControlTemplate>& c, const SModbusList& list)
{
    c.push_back({-1, CtlKind::Static, "Location", list.x + 2, list.y, 36, 9});
    c.push_back({-1, CtlKind::Static, "Channel", list.x + 42, list.y, 36, 9});
    c.push_back({-1, CtlKind::Static, "Value", list.x + 82, list.y, 30, 9});
    c.push_back({IDC_PC_LIST, CtlKind::ListBox, "", list.x, list.y + 10, list.cx, list.cy,
                 CS_VSCROLL | list.style});
}

void AddModbusChannelRows(std::vector<ControlTemplate>& c, const SModbusChannels& channels)
{
    int x = channels.x;
    int y = channels.y;
    int w = channels.typeWidth;
    c.push_back(
        {-1, CtlKind::GroupBox, "Channel Setting", x, y, w + 94, channels.nChannels * 15 + 18});
    for (int ch = 0; ch < channels.nChannels; ++ch) {
        int row = y + 12 + ch * 15;
        c.push_back({channels.checkIds[static_cast<size_t>(ch)], CtlKind::AutoCheckBox, "", x + 6,
                     row + 1, 10, 10});
        c.push_back({-1, CtlKind::Static, Format("CH%d", ch), x + 18, row + 2, 16, 9});
        c.push_back({IDC_PC_TYPE0 + ch, channels.typeKind, "", x + 36, row, w, 80, CS_NONE,
                     channels.typeRows});
        c.push_back({IDC_PC_VALUE0 + ch, CtlKind::Edit, "", x + w + 40, row, 50, 12});
    }
}
