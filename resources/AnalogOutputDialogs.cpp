// Templates 163 "AO  Module" (ASCII) and 230 "AO  Module Modbus" of the one-, two- and
// four-channel analog-output dialogs. Both share the four channel panels and the setting block.
#include "DialogTemplate.h"
#include "Shell.h"
#include "Strings.h"
#include "TemplateRows.h"
#include "analog_output/AnalogOutputIds.h"
#include "analog_output/AoCodes.h"

namespace {

using Controls = std::vector<ControlTemplate>;
using Rows = std::vector<std::string>;

const Rows kRangeRows = {"0 to 20 mA", "4 to 20 mA", "0 to 10 V"};
const Rows kRange4Rows = {"0 to 20 mA", "4 to 20 mA", "0 to 10V", ""};
const Rows kFormatRows = {"Enagineer Unit", "% Of FSR", "2's Complement HEX", ""};
const Rows kProtocolRows = {"ASCII", "Modbus RTU"};
const Rows kNoRows = {};

Rows RowsOf(const std::array<const char*, 16>& texts)
{
    return Rows(texts.begin(), texts.end());
}

void AddHeader(Controls& c)
{
    c.push_back({-1, CtlKind::Static, "AO  Module (", 8, 6, 46, 9});
    c.push_back({IDC_AO_MODEL, CtlKind::Static, "", 54, 6, 40, 9});
    c.push_back({-1, CtlKind::Static, ")", 94, 6, 8, 9});
}

// Slider, scale and unit labels, Output and ReadBack edits of CH0 to CH3, side by side.
void AddChannelPanels(Controls& c, unsigned outputStyle)
{
    for (int k = 0; k < 4; ++k) {
        const SAoChannelIds& ids = kAoChannels[static_cast<size_t>(k)];
        int x = 6 + k * 102;
        c.push_back({-1, CtlKind::GroupBox, Format("CH%d", k), x, 18, 98, 110});
        c.push_back({ids.nSlider, CtlKind::Slider, "", x + 4, 30, 90, 16});
        c.push_back({ids.labels[0], CtlKind::Static, "0", x + 6, 48, 16, 9});
        c.push_back({ids.labels[1], CtlKind::Static, "1", x + 42, 48, 16, 9});
        c.push_back({ids.labels[2], CtlKind::Static, "2", x + 78, 48, 16, 9});
        c.push_back({ids.nUnit, CtlKind::Static, "v/a", x + 42, 60, 20, 9});
        c.push_back({-1, CtlKind::Static, "Output", x + 6, 76, 34, 9});
        c.push_back({ids.nOutput, CtlKind::Edit, "", x + 42, 74, 50, 12, outputStyle});
        c.push_back({-1, CtlKind::Static, "ReadBack", x + 6, 94, 34, 9});
        c.push_back({ids.nReadBack, CtlKind::Edit, "", x + 42, 92, 50, 12, CS_READONLY});
    }
}

// Range and slew of channels 0 and 1 of the two-channel models.
void AddTwoChannelPanel(Controls& c, const Rows& slewRows)
{
    c.push_back({IDC_AO_CH0_LABEL, CtlKind::Static, "CH0", 154, 134, 20, 9});
    c.push_back({IDC_AO_CH1_LABEL, CtlKind::Static, "CH1", 154, 170, 20, 9});
    c.push_back({IDC_AO_RANGE_LABEL0, CtlKind::Static, "Range", 176, 134, 24, 9});
    c.push_back({IDC_AO_RANGE_CH0, CtlKind::DropList, "", 202, 132, 80, 80, CS_NONE, kRangeRows});
    c.push_back({IDC_AO_SLEW_LABEL0, CtlKind::Static, "Slew", 176, 150, 24, 9});
    c.push_back({IDC_AO_SLEW_CH0, CtlKind::DropList, "", 202, 148, 80, 120, CS_NONE, slewRows});
    c.push_back({IDC_AO_CH0_SET, CtlKind::Button, "CH0", 286, 140, 24, 14});
    c.push_back({IDC_AO_RANGE_LABEL1, CtlKind::Static, "Range", 176, 170, 24, 9});
    c.push_back({IDC_AO_RANGE_CH1, CtlKind::DropList, "", 202, 168, 80, 80, CS_NONE, kRangeRows});
    c.push_back({IDC_AO_SLEW_LABEL1, CtlKind::Static, "Slew", 176, 186, 24, 9});
    c.push_back({IDC_AO_SLEW_CH1, CtlKind::DropList, "", 202, 184, 80, 120, CS_NONE, slewRows});
    c.push_back({IDC_AO_CH1_SET, CtlKind::Button, "CH1", 286, 176, 24, 14});
}

// Calibration, trim, power-on and safe values and the watchdog: in the template, never acting.
void AddInertControls(Controls& c)
{
    const unsigned off = CS_DISABLED;
    c.push_back({IDC_AO_CALIBRATION, CtlKind::GroupBox, "Calibration", 316, 130, 150, 62, off});
    c.push_back({-1, CtlKind::Static, "Channel", 322, 144, 30, 9, off});
    c.push_back({IDC_AO_CHANNEL, CtlKind::DropList, "", 354, 142, 28, 60, CS_NONE,
                 Rows{"0", "1", "2", "3"}});
    c.push_back({IDC_AO_CAL_ZERO, CtlKind::Button, "0V/4mA", 386, 142, 34, 14, off});
    c.push_back({IDC_AO_CAL_SPAN, CtlKind::Button, "+10V/20mA", 422, 142, 42, 14, off});
    c.push_back({IDC_AO_TRIM_VALUE, CtlKind::Edit, "", 322, 158, 30, 12, off});
    c.push_back({IDC_AO_TRIM, CtlKind::Button, "Trim Output", 354, 158, 50, 14, off});
    c.push_back({IDC_AO_ZERO_HIDDEN, CtlKind::Button, "零点校准", 322, 174, 48, 14, CS_HIDDEN});
    c.push_back({IDC_AO_SPAN_HIDDEN, CtlKind::Button, "满量程校准", 374, 174, 56, 14, CS_HIDDEN});
    c.push_back({IDC_AO_SET_POWERON, CtlKind::Button, "Set PowerOn", 316, 198, 58, 14, off});
    c.push_back({IDC_AO_SET_SAFE, CtlKind::Button, "Set Safe", 378, 198, 50, 14, off});
    c.push_back({IDC_AO_READ_POWERON, CtlKind::Button, "Read PowerOn", 316, 214, 58, 14, off});
    c.push_back({IDC_AO_READ_SAFE, CtlKind::Button, "Read Safe", 378, 214, 50, 14, off});
    c.push_back({IDC_AO_WATCHDOG, CtlKind::DropList, "", 316, 232, 72, 40, off,
                 Rows{"Stop WatchDog", "Start WatchDog"}});
    c.push_back({IDC_AO_TIME_LABEL, CtlKind::Static, "Time", 392, 234, 18, 9, off});
    c.push_back({IDC_AO_WATCHDOG_TIME, CtlKind::Edit, "", 412, 232, 22, 12, off});
    c.push_back({IDC_AO_HEX_LABEL, CtlKind::Static, "HEX(FF)", 436, 234, 32, 9, off});
    c.push_back({IDC_AO_WATCHDOG_LABEL, CtlKind::Button, "Watch Dog", 316, 250, 58, 14, off});
    c.push_back({IDC_AO_RESETTING, CtlKind::Button, "Resetting", 378, 250, 50, 14, off});
}

// The setting block; the range lists of the one- and four-channel models share a place. The two
// slew lists share a place beside one label, or stand one under the other, each beside its own.
struct SSlewLists {
    const char* label;
    int firstId;
    const Rows* firstRows;
    int secondId;
    const Rows* secondRows;
    const char* secondLabel = nullptr; // none: the second list shares the first's place
};

void AddSettingBlock(Controls& c, const Rows& checksumRows, const SSlewLists& slew)
{
    c.push_back({-1, CtlKind::GroupBox, "Setting", 6, 130, 142, 166});
    int y =
        AddSettingRows(c,
                       {{"Address", IDC_AO_ADDRESS, CtlKind::Edit},
                        {"Range", IDC_AO_RANGE, CtlKind::DropList, kRangeRows},
                        {nullptr, IDC_AO_RANGE4, CtlKind::DropList, kRange4Rows, CS_NONE, 0, 80},
                        {"Baudrate", IDC_AO_BAUD, CtlKind::DropList, BaudRows()},
                        {"CheckSum", IDC_AO_CHECKSUM, CtlKind::DropList, checksumRows},
                        {"Format", IDC_AO_FORMAT, CtlKind::DropList, kFormatRows},
                        {slew.label, slew.firstId, CtlKind::DropList, *slew.firstRows},
                        {slew.secondLabel, slew.secondId, CtlKind::DropList, *slew.secondRows},
                        {"Protocol", IDC_AO_PROTOCOL, CtlKind::DropList, kProtocolRows}},
                       {10, 40, 52, 90, 120}, 142);
    c.push_back({IDC_AO_SETTING, CtlKind::Button, "Setting", 10, y + 4, 50, 14});
    c.push_back({IDCANCEL, CtlKind::Button, "Cancel", 406, 276, 60, 14});
}

Controls AsciiControls()
{
    static const Rows slewV = RowsOf(kAoSlewVoltageRows);
    static const Rows slewMa = RowsOf(kAoSlewCurrentRows);
    Controls c;
    AddHeader(c);
    AddChannelPanels(c, CS_NONE);
    AddSettingBlock(c, {"Enable", "Disable"},
                    {"Slew Rate", IDC_AO_SLEW_V, &slewV, IDC_AO_SLEW_MA, &slewMa});
    c.push_back({IDC_AO_STATUS, CtlKind::Edit, "", 10, 276, 132, 12, CS_READONLY});
    AddTwoChannelPanel(c, slewV);
    AddInertControls(c);
    return c;
}

// The slew lists have no rows here; SlewmA stands above SlewV.
Controls ModbusControls()
{
    Controls c;
    AddHeader(c);
    AddChannelPanels(c, CS_DISABLED);
    AddSettingBlock(
        c, {"Enable", "Disable", "CRC"},
        {"SlewmA:", IDC_AO_SLEW_MA_MODBUS, &kNoRows, IDC_AO_SLEW_V, &kNoRows, "SlewV:"});
    return c;
}

const bool g_registered =
    RegisterDialogTemplate({IDD_M6359, "AO  Module", 472, 300, AsciiControls()}) &&
    RegisterDialogTemplate({IDD_M6359_MODBUS, "AO  Module Modbus", 472, 300, ModbusControls()});

} // namespace
