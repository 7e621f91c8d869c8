// Templates 245 (the Modbus rack window), 246 (its main page), 247 (the analog slot page) and
// 248 (the digital slot page). The pages are child windows without caption.
#include "DialogTemplate.h"
#include "Resource.h"
#include "Shell.h"
#include "Strings.h"
#include "rack/RackModbusIds.h"

namespace {

using Controls = std::vector<ControlTemplate>;
constexpr unsigned kReadOnly = CS_READONLY | CS_BORDER;
constexpr unsigned kUnitStyle = CS_READONLY | CS_NOBORDER; // the unit columns have no frame

DialogTemplate Window()
{
    Controls c = {
        {IDCANCEL, CtlKind::Button, "Cancel", 286, 10, 50, 14},
        {IDC_RACK_TAB, CtlKind::Tab, "", 5, 68, 327, 187},
        {-1, CtlKind::GroupBox, "Setting", 5, 2, 270, 60},
        {-1, CtlKind::Static, "Module:", 14, 16, 50, 9},
        {IDC_RACK_MODULE, CtlKind::Edit, "", 70, 14, 70, 12, kReadOnly},
        {IDC_RACK_FIRMWARE_LABEL, CtlKind::Static, "FirmWare Ver.", 14, 38, 54, 9},
        {IDC_RACK_FIRMWARE, CtlKind::Edit, "", 70, 36, 70, 12, kReadOnly},
        {IDC_RACK_SLOT_LABEL, CtlKind::Static, "Slot Number:", 14, 38, 54, 9, CS_HIDDEN},
        {IDC_RACK_SLOT, CtlKind::Edit, "", 70, 36, 70, 12, kReadOnly},
        {IDC_RACK_START_LABEL, CtlKind::Static, "Start Address:", 150, 16, 54, 9, CS_HIDDEN},
        {IDC_RACK_START, CtlKind::Edit, "", 206, 14, 60, 12, kReadOnly | CS_HIDDEN},
        {IDC_RACK_END_LABEL, CtlKind::Static, "End Address:", 150, 38, 54, 9, CS_HIDDEN},
        {IDC_RACK_END, CtlKind::Edit, "", 206, 36, 60, 12, kReadOnly | CS_HIDDEN},
    };
    return {IDD_V1333M, "Dialog", 346, 270, c};
}

DialogTemplate MainPage()
{
    Controls c = {
        {-1, CtlKind::GroupBox, "Setting", 2, 2, 280, 160},
        {-1, CtlKind::Static, "Module Name", 50, 12, 80, 9},
        {-1, CtlKind::Static, "Start Address", 140, 12, 60, 9},
        {-1, CtlKind::Static, "End Address", 210, 12, 60, 9},
    };
    for (int k = 0; k < 8; ++k) {
        int y = 24 + 16 * k;
        size_t i = static_cast<size_t>(k);
        c.push_back({-1, CtlKind::Static, Format("Slot%d", k), 12, y + 2, 30, 9});
        c.push_back({kRackMainModuleIds[i], CtlKind::Edit, "", 50, y, 80, 12, kReadOnly});
        c.push_back({kRackMainStartIds[i], CtlKind::Edit, "", 140, y, 60, 12, kReadOnly});
        c.push_back({kRackMainEndIds[i], CtlKind::Edit, "", 210, y, 60, 12, kReadOnly});
    }
    return {IDD_V1333MAIN, "", 284, 165, c, true};
}

// Narrow enough to fit the page rectangle of the tab control, Send buttons included.
DialogTemplate AnalogPage()
{
    const std::string grey = std::to_string(IDI_DOT_CLEAR);
    Controls c = {
        {-1, CtlKind::GroupBox, "", 2, 2, 292, 158},
        {-1, CtlKind::Static, "Hi", 9, 10, 12, 9},
        {-1, CtlKind::Static, "Lo", 23, 10, 12, 9},
        {IDC_RACK_AI_VIEW, CtlKind::Button, "", 38, 8, 34, 12},
        {-1, CtlKind::Static, "Input Range", 76, 10, 60, 9},
        {IDC_RACK_AI_HEX, CtlKind::Button, "", 138, 8, 48, 12},
    };
    for (size_t r = 0; r < 8; ++r) {
        int y = 24 + 16 * static_cast<int>(r);
        c.push_back({kRackAiHighLampIds[r], CtlKind::Icon, grey, 9, y + 1, 10, 10});
        c.push_back({kRackAiLowLampIds[r], CtlKind::Icon, grey, 23, y + 1, 10, 10});
        c.push_back({kRackAiLabelIds[r], CtlKind::Static, "", 38, y + 2, 34, 9});
        c.push_back({kRackAiRangeIds[r], CtlKind::Edit, "", 76, y, 60, 12, kReadOnly});
        c.push_back({kRackAiValueIds[r], CtlKind::Edit, "", 138, y, 48, 12, kReadOnly});
        c.push_back({kRackAiUnitIds[r], CtlKind::Edit, "", 188, y + 2, 18, 9, kUnitStyle});
        if (r < 4) {
            c.push_back({kRackAoEntryIds[r], CtlKind::Edit, "", 208, y, 36, 12, CS_DISABLED});
            c.push_back({kRackAoUnitIds[r], CtlKind::Edit, "", 246, y + 2, 14, 9, kUnitStyle});
            c.push_back({kRackAoSendIds[r], CtlKind::Button, "Send", 262, y, 28, 12, CS_DISABLED});
        }
    }
    return {IDD_V1384HM, "", 323, 163, c, true};
}

DialogTemplate DigitalPage()
{
    Controls c = {{-1, CtlKind::GroupBox, "", 2, 2, 282, 130}};
    for (size_t ch = 0; ch < 16; ++ch) {
        int x = ch < 8 ? 30 : 160;
        int y = 12 + 15 * static_cast<int>(ch % 8);
        c.push_back({kRackIoLabelIds[ch], CtlKind::Static, "", x, y + 2, 36, 11});
        c.push_back({kRackIoLampIds[ch], CtlKind::Button, "", x + 40, y, 22, 13});
    }
    c.push_back({IDC_RACK_IO_VIEW, CtlKind::Button, "", 230, 138, 52, 14});
    return {IDD_V1333RTUIO, "", 286, 157, c, true};
}

const bool g_registered = [] {
    RegisterDialogTemplate(Window());
    RegisterDialogTemplate(MainPage());
    RegisterDialogTemplate(AnalogPage());
    RegisterDialogTemplate(DigitalPage());
    return true;
}();

} // namespace
