// Template 183 "Module": the RTD dialog. Left, the settings with its two range lists in one place
// and the "Channel" group the dialog never enables; right, an Input and an Ohm field per channel.
#include "DialogTemplate.h"
#include "Strings.h"
#include "TemplateRows.h"
#include "rtd/RtdIds.h"
#include "rtd/RtdRanges.h"

namespace {

using Controls = std::vector<ControlTemplate>;

void AddSettingGroup(Controls& c)
{
    c.push_back({-1, CtlKind::Static, "Module (", 10, 8, 32, 9});
    c.push_back({IDC_RTD_MODEL, CtlKind::Static, "", 44, 8, 50, 9});
    c.push_back({-1, CtlKind::Static, ")", 96, 8, 8, 9});
    c.push_back({-1, CtlKind::GroupBox, "Setting", 6, 22, 184, 128});
    // 18 units between the rows but 20 from the range lists to Data Format.
    const SSettingColumns columns = {.nLabelX = 12,
                                     .nLabelWidth = 50,
                                     .nBoxX = 66,
                                     .nBoxWidth = 116,
                                     .nListHeight = 90,
                                     .nPitch = 18};
    AddSettingRows(
        c,
        {{"Address", IDC_RTD_ADDRESS, CtlKind::Edit},
         {"Range", IDC_RTD_RANGE13, CtlKind::DropList, RtdRanges13().rows, CS_NONE, 0, 100},
         {nullptr, IDC_RTD_RANGE6, CtlKind::DropList, RtdRanges6().rows, CS_HIDDEN, 0, 100}},
        columns, 36);
    AddSettingRows(c,
                   {{"Data Format",
                     IDC_RTD_FORMAT,
                     CtlKind::DropList,
                     {"Engineer Unit", "% of FSR", "2's complement HEX", "Ohm"}},
                    {"Baudrate", IDC_RTD_BAUD, CtlKind::DropList, BaudRows()},
                    {"Checksum", IDC_RTD_CHECKSUM, CtlKind::DropList, {"Enable", "Disable"}},
                    {"Protocol", IDC_RTD_PROTOCOL, CtlKind::DropList, {"ASCII", "Modbus RTU"}}},
                   columns, 74);
}

void AddChannelGroup(Controls& c)
{
    const unsigned off = CS_DISABLED;
    c.push_back({-1, CtlKind::GroupBox, "Channel", 6, 156, 184, 150});
    c.push_back({-1, CtlKind::Static, "Channel", 12, 172, 40, 9});
    c.push_back({IDC_RTD_CHANNEL,
                 CtlKind::DropDown,
                 "",
                 66,
                 170,
                 40,
                 80,
                 off | CS_SORT,
                 {"0", "1", "2", "3", "4", "5"}});
    c.push_back({IDC_RTD_CALIBRATION, CtlKind::Button, "Calibration", 12, 190, 80, 14, off});
    c.push_back(
        {IDC_RTD_ZERO_CALIBRATION, CtlKind::Button, "Zero Calibration", 12, 208, 80, 14, off});
    c.push_back(
        {IDC_RTD_SPAN_CALIBRATION, CtlKind::Button, "Span Calibration", 98, 208, 84, 14, off});
    c.push_back({IDC_RTD_ZERO_ADJUST, CtlKind::Button, "Zero Adjust", 12, 228, 80, 14, off});
    c.push_back({IDC_RTD_ZERO_VALUE, CtlKind::Edit, "+000.00", 98, 228, 84, 12, off});
    c.push_back({IDC_RTD_SPAN_ADJUST, CtlKind::Button, "Span Adjust", 12, 246, 80, 14, off});
    c.push_back({IDC_RTD_SPAN_VALUE, CtlKind::Edit, "0.0000", 98, 246, 84, 12, off});
    c.push_back({IDC_RTD_READ_ZERO, CtlKind::Button, "Read Zero", 12, 266, 80, 14, off});
    c.push_back({IDC_RTD_READ_SPAN, CtlKind::Button, "Read Span", 98, 266, 84, 14, off});
    c.push_back({IDC_RTD_STATUS, CtlKind::Edit, "", 12, 286, 170, 12, CS_READONLY});
}

void AddChannelFields(Controls& c)
{
    for (int ch = 0; ch < 6; ++ch) {
        int y = 8 + ch * 54;
        c.push_back({-1, CtlKind::GroupBox, Format("CH%d", ch), 198, y, 182, 50});
        c.push_back({-1, CtlKind::Static, "Input", 206, y + 14, 30, 9});
        c.push_back({kRtdInputIds[ch], CtlKind::Edit, "", 240, y + 12, 132, 12});
        c.push_back({-1, CtlKind::Static, "Ohm", 206, y + 32, 30, 9});
        c.push_back({kRtdOhmIds[ch], CtlKind::Edit, "", 240, y + 30, 132, 12});
    }
}

Controls RtdControls()
{
    Controls c;
    AddSettingGroup(c);
    AddChannelGroup(c);
    AddChannelFields(c);
    c.push_back({IDC_RTD_SETTING, CtlKind::Button, "Setting", 20, 316, 70, 16});
    c.push_back({IDC_RTD_CANCEL, CtlKind::Button, "Cancel", 106, 316, 70, 16});
    return c;
}

const bool g_registered = RegisterDialogTemplate({IDD_M6309X, "Module", 387, 342, RtdControls()});

} // namespace
