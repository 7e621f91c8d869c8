// Layout pieces of the per-channel-type templates, which several families' dialogs share: the
// columns of the settings group and the channel rows (enable box, label, type list, value field).
#pragma once

#include "DialogTemplate.h"
#include "PerChannelIds.h"
#include "Strings.h"
#include "TemplateRows.h"

#include <functional>
#include <string>
#include <vector>

namespace per_channel_layout {

using Controls = std::vector<ControlTemplate>;
using Rows = std::vector<std::string>;

inline const Rows kFormatRows = {"Engineer Unit", "% of FSR", "2's complement HEX"};
inline const Rows kChecksumRows = {"Enable", "Disable"};

// Where the settings group at the top left puts its labels and boxes.
inline const SSettingColumns kGeneralColumns = {12, 42, 54, 80};

// "Channel Setting": per channel an enable box, its label, the type list (typeRows(channel),
// typeWidth wide) and the value field. Returns the group's height.
inline int AddChannelRows(Controls& c, int x, int y, int channels,
                          const std::function<Rows(int)>& typeRows, int typeWidth = 70)
{
    int height = 10 + channels * 15 + 24;
    c.push_back({-1, CtlKind::GroupBox, "Channel Setting", x, y, typeWidth + 114, height});
    for (int ch = 0; ch < channels; ++ch) {
        int row = y + 12 + ch * 15;
        c.push_back({kPcCheckIds[static_cast<size_t>(ch)], CtlKind::AutoCheckBox, "Check1", x + 6,
                     row + 1, 10, 10});
        c.push_back({-1, CtlKind::Static, Format("CH%d", ch), x + 18, row + 2, 16, 9});
        c.push_back({IDC_PC_TYPE0 + ch, CtlKind::DropList, "", x + 36, row, typeWidth, 80, CS_NONE,
                     typeRows(ch)});
        c.push_back({IDC_PC_VALUE0 + ch, CtlKind::Edit, "", x + 40 + typeWidth, row, 68, 12});
    }
    return height;
}

// "HEX" to the right of the address, which makes room for it.
inline void NarrowAddressForHexLabel(Controls& c)
{
    for (ControlTemplate& control : c) {
        if (control.nID == IDC_PC_ADDRESS) control.cx = 54;
    }
    c.push_back({-1, CtlKind::Static, "HEX", 112, 18, 20, 9});
}

// What sets one ASCII per-channel-type template apart.
struct SAsciiLayout {
    int nChannels;
    std::function<Rows(int)> typeRows; // the rows of a channel's type list
    Rows protocolRows;
    int nTypeWidth = 70;
    bool bHexLabel = false;              // "HEX" to the right of the address
    unsigned nFirstValueStyle = CS_NONE; // channel 0's value field
};

// The width of the ASCII template.
inline int AsciiWidth(const SAsciiLayout& layout)
{
    return 140 + layout.nTypeWidth + 114 + 6;
}

// The ASCII template: "General Setting" (address, baud rate, data format, checksum, protocol,
// "&Update"), "AI Calibration" (three buttons), "Respond", the channel rows, "&Refresh" and
// "&Cancel".
inline Controls AsciiControls(const SAsciiLayout& layout)
{
    Controls c;
    c.push_back({-1, CtlKind::GroupBox, "General Setting", 6, 4, 130, 118});
    AddSettingRows(c,
                   {{"Address:", IDC_PC_ADDRESS, CtlKind::Edit},
                    {"BaudRate:", IDC_PC_BAUD, CtlKind::DropList, BaudRows()},
                    {"DataFormat:", IDC_PC_FORMAT, CtlKind::DropList, kFormatRows},
                    {"CheckSum:", IDC_PC_CHECKSUM, CtlKind::DropList, kChecksumRows},
                    {"Protocol:", IDC_PC_PROTOCOL, CtlKind::DropList, layout.protocolRows}},
                   kGeneralColumns, 16);
    if (layout.bHexLabel) NarrowAddressForHexLabel(c);
    c.push_back({IDC_PC_UPDATE, CtlKind::Button, "&Update", 40, 100, 56, 14});
    c.push_back({-1, CtlKind::GroupBox, "AI Calibration", 6, 126, 128, 32});
    c.push_back({IDC_PC_ZERO, CtlKind::Button, "Zero", 12, 138, 36, 14});
    c.push_back({IDC_PC_SPAN, CtlKind::Button, "Span", 52, 138, 36, 14});
    c.push_back({IDC_PC_CJC, CtlKind::Button, "CJC", 92, 138, 36, 14});
    c.push_back({-1, CtlKind::Static, "Respond", 6, 168, 34, 9});
    c.push_back({IDC_PC_RESPOND, CtlKind::Edit, "", 42, 166, 150, 12, CS_DISABLED});
    int height = AddChannelRows(c, 140, 4, layout.nChannels, layout.typeRows, layout.nTypeWidth);
    for (ControlTemplate& control : c) {
        if (control.nID == IDC_PC_VALUE0) control.style |= layout.nFirstValueStyle;
    }
    int right = AsciiWidth(layout) - 6;
    c.push_back({IDC_PC_REFRESH, CtlKind::Button, "&Refresh", right - 74, 4 + height - 18, 56, 14});
    c.push_back({IDC_PC_CANCEL, CtlKind::Button, "&Cancel", right - 56, 186, 56, 14});
    return c;
}

} // namespace per_channel_layout
