// Templates of the ASCII rack dialogs: 233 "Vektral-1333E" (main unit), 234 "DIO Module" (digital
// slot), 235 and 236 (analog input and speed input slots, no caption), 237 "Vektral-1359 Module"
// (analog output slot), 243 and 244 (the 4 mA and 20 mA trims).
#include "DialogTemplate.h"
#include "Resource.h"
#include "Shell.h"
#include "Strings.h"
#include "TemplateRows.h"
#include "rack/RackIds.h"
#include "rack/SlotAi.h"
#include "rack/SlotAo.h"

namespace {

using Controls = std::vector<ControlTemplate>;

Controls MainUnitControls()
{
    Controls c;
    c.push_back({-1, CtlKind::GroupBox, "General Setting", 6, 4, 200, 120});
    const SSettingColumns columns = {12, 44, 60, 90, 40};
    AddSettingRows(c, {{"Address:", rack_main::IDC_ADDRESS, CtlKind::Edit, {}, CS_NONE, 60}},
                   columns, 16);
    c.push_back({-1, CtlKind::Static, "HEX", 124, 18, 20, 9});
    int y = AddSettingRows(
        c,
        {{"BaudRate:", rack_main::IDC_BAUD, CtlKind::DropList, BaudRows(), CS_NONE, 0, 80},
         {"CheckSum:", rack_main::IDC_CHECKSUM, CtlKind::DropList, {"Enable", "Disable"}},
         {"Protocol:", rack_main::IDC_PROTOCOL, CtlKind::DropList, {"Vekt ASCII", "MODBUS"}}},
        columns, 32);
    // A wider label and list.
    AddSettingRows(c,
                   {{"Modbus Only:",
                     rack_main::IDC_MODBUS_PARITY,
                     CtlKind::DropDown,
                     {"None Parity, 8 Bits, 1 Stop", "Even Parity, 8 Bits, 1 Stop",
                      "Odd Parity, 8 Bits, 1 Stop", "None Parity, 8 Bits, 2 Stop"}}},
                   {12, 46, 60, 140, 60}, y);
    c.push_back({rack_main::IDC_UPDATE, CtlKind::Button, "&Update", 60, 100, 50, 14});

    c.push_back({-1, CtlKind::GroupBox, "Comunication WDT", 212, 4, 180, 120});
    for (int slot = 0; slot < 8; ++slot) {
        c.push_back({rack_main::kWdtBoxIds[slot], CtlKind::AutoCheckBox,
                     Format("Enable Slot-%d WDT", slot), 218 + (slot / 4) * 86,
                     16 + (slot % 4) * 14, 84, 10});
    }
    c.push_back({-1, CtlKind::Static, "TimeOut Value:", 218, 78, 54, 9});
    c.push_back({rack_main::IDC_WDT_TIMEOUT, CtlKind::Edit, "", 274, 76, 40, 12});
    c.push_back({-1, CtlKind::Static, "Second(s)", 318, 78, 40, 9});
    c.push_back({rack_main::IDC_REFRESH, CtlKind::Button, "&Refresh", 218, 100, 50, 14});
    c.push_back({rack_main::IDC_CANCEL, CtlKind::Button, "&Cancel", 336, 100, 50, 14});

    c.push_back({-1, CtlKind::GroupBox, "Description", 6, 128, 386, 110});
    c.push_back({rack_main::IDC_LIST, CtlKind::ListCtrl, "", 12, 140, 374, 92, CS_BORDER});
    return c;
}

Controls DioControls()
{
    Controls c;
    c.push_back({-1, CtlKind::Static, "Module(", 8, 6, 30, 9});
    c.push_back({rack_dio::IDC_MODEL, CtlKind::Static, "", 40, 6, 30, 9});
    c.push_back({-1, CtlKind::Static, ")", 72, 6, 8, 9});
    c.push_back({-1, CtlKind::GroupBox, "DataArea", 6, 18, 463, 92});
    // Channel 0 at the right end of its row; inputs above outputs.
    for (int ch = 0; ch < 16; ++ch) {
        int x = 440 - 28 * ch;
        c.push_back({-1, CtlKind::Static, Format("DI%d", ch), x, 28, 24, 9, CS_CENTER});
        c.push_back({rack_dio::kInputLampIds[ch], CtlKind::Icon, "144", x + 2, 38, 20, 20});
        c.push_back({-1, CtlKind::Static, Format("DO%d", ch), x, 64, 24, 9, CS_CENTER});
        c.push_back({rack_dio::kOutputLampIds[ch], CtlKind::Icon, "144", x + 2, 74, 20, 20});
    }
    c.push_back({-1, CtlKind::GroupBox, "Comunication WDT", 6, 114, 463, 92});
    for (int ch = 0; ch < 16; ++ch) {
        c.push_back({rack_dio::kWdtBoxIds[ch], CtlKind::AutoCheckBox, Format("Turn On DO%d", ch),
                     12 + (ch % 8) * 57, 128 + (ch / 8) * 16, 56, 10});
    }
    c.push_back({-1, CtlKind::Static, "Heigh Byte(Hex)", 12, 166, 60, 9, CS_HIDDEN});
    c.push_back({rack_dio::IDC_HIGH_BYTE, CtlKind::Edit, "", 74, 164, 40, 12, CS_HIDDEN});
    c.push_back({-1, CtlKind::Static, "Low Byte(Hex)", 120, 166, 60, 9, CS_HIDDEN});
    c.push_back({rack_dio::IDC_LOW_BYTE, CtlKind::Edit, "", 182, 164, 40, 12, CS_HIDDEN});
    c.push_back({rack_dio::IDC_UPDATA, CtlKind::Button, "Updata", 340, 184, 56, 14});
    c.push_back({IDCANCEL, CtlKind::Button, "Cancel", 406, 214, 56, 14});
    return c;
}

Controls AnalogOutputControls()
{
    Controls c;
    c.push_back({-1, CtlKind::GroupBox, "General Setting", 6, 4, 270, 52});
    c.push_back({-1, CtlKind::Static, "Change CH:", 12, 16, 40, 9});
    c.push_back({rack_ao::IDC_CHANNEL,
                 CtlKind::DropDown,
                 "",
                 54,
                 14,
                 40,
                 60,
                 CS_NONE,
                 {"CH0", "CH1", "CH2", "CH3"}});
    c.push_back({-1, CtlKind::Static, "Data &Format:", 98, 16, 49, 9});
    c.push_back({rack_ao::IDC_FORMAT, CtlKind::Edit, "", 148, 14, 72, 12});
    c.push_back({-1, CtlKind::Static, "&Slew Rate:", 12, 34, 50, 9});
    c.push_back({rack_ao::IDC_SLEW, CtlKind::DropDown, "", 64, 32, 70, 100});
    c.push_back({rack_ao::IDC_UPDATE, CtlKind::Button, "Update", 136, 32, 34, 14});
    c.push_back(
        {rack_ao::IDC_TRIM4, CtlKind::Button, "Trim For &4mA", 172, 32, 50, 14, CS_DISABLED});
    c.push_back(
        {rack_ao::IDC_TRIM20, CtlKind::Button, "Trim For &20mA", 224, 32, 50, 14, CS_DISABLED});
    c.push_back({IDCANCEL, CtlKind::Button, "Cancel", 222, 14, 50, 14});

    c.push_back({-1, CtlKind::GroupBox, "Data Area", 6, 60, 270, 196});
    const std::vector<std::string> ranges = {"0 ~ 20 mA", "4 ~ 20 mA", "0 ~ 10 V"};
    for (int ch = 0; ch < 4; ++ch) {
        const rack_ao::SChannelIds& id = rack_ao::kChannelIds[ch];
        int y = 70 + ch * 46;
        c.push_back({-1, CtlKind::GroupBox, Format("Channel %d", ch), 10, y, 262, 44});
        c.push_back({id.nRange, CtlKind::DropDown, "", 14, y + 10, 60, 60, CS_NONE, ranges});
        c.push_back({id.nUpdate, CtlKind::Button, "Update", 76, y + 10, 30, 12});
        c.push_back({-1, CtlKind::Static, "Output Data:", 110, y + 12, 50, 9});
        c.push_back({id.nOutput, CtlKind::Edit, "", 162, y + 10, 38, 12});
        c.push_back({id.nOutputUnit, CtlKind::Edit, "", 202, y + 10, 16, 12, CS_READONLY});
        c.push_back({id.nSend, CtlKind::Button, "Send", 222, y + 10, 30, 12});
        c.push_back({-1, CtlKind::Static, "ReadBack:", 14, y + 28, 36, 9});
        c.push_back({id.nReadBack, CtlKind::Edit, "", 52, y + 26, 40, 12, CS_READONLY});
        c.push_back({id.nReadBackUnit, CtlKind::Edit, "", 94, y + 26, 16, 12, CS_READONLY});
        c.push_back({id.nInitial, CtlKind::Button, "Send As Initial", 114, y + 26, 62, 12});
        c.push_back({id.nSlider, CtlKind::Slider, "", 180, y + 26, 88, 14});
    }
    return c;
}

// "Module (" model ")" and the settings group frame with its Cancel button.
void AnalogSlotHeader(Controls& c)
{
    c.push_back({-1, CtlKind::Static, "Module (", 8, 6, 32, 9});
    c.push_back({rack_analog::IDC_MODEL, CtlKind::Static, "", 42, 6, 30, 9});
    c.push_back({-1, CtlKind::Static, ")", 74, 6, 8, 9});
    c.push_back({-1, CtlKind::GroupBox, "Setting&&Calibration", 6, 18, 440, 52});
    c.push_back({rack_analog::IDC_CANCEL, CtlKind::Button, "Cancel", 386, 48, 50, 14});
}

// One row a channel in "DataArea": enable box, (the 1384H's range combo,) value, unit, lamp pair.
void AnalogSlotChannels(Controls& c, bool speedRanges)
{
    const std::string grey = std::to_string(IDI_DOT_CLEAR);
    c.push_back({-1, CtlKind::GroupBox, "DataArea", 6, 72, 440, 160});
    int x = speedRanges ? 126 : 50;
    for (int ch = 0; ch < 8; ++ch) {
        const rack_analog::SChannelIds& id = rack_analog::kChannelIds[ch];
        int y = 84 + ch * 16;
        c.push_back({id.nEnable, CtlKind::AutoCheckBox, Format("CH%d", ch), 12, y + 2, 34, 10});
        if (speedRanges)
            c.push_back(
                {id.nSpeedRange, CtlKind::DropDown, "", 50, y, 72, 120, CS_NONE, kSpeedRangeTexts});
        c.push_back({id.nValue, CtlKind::Edit, "", x, y, 70, 12});
        c.push_back({id.nUnit, CtlKind::Edit, "", x + 72, y, 24, 12, CS_READONLY});
        if (ch == 7 && !speedRanges)
            c.push_back({rack_ai::IDC_CH7_FRAME, CtlKind::GroupBox, "", x + 100, y - 4, 128, 18});
        c.push_back({id.nHighLabel, CtlKind::Static, "AlarmH", x + 104, y + 2, 30, 9});
        c.push_back({id.nHighLamp, CtlKind::Icon, grey, x + 136, y + 1, 10, 10});
        c.push_back({id.nLowLabel, CtlKind::Static, "AlarmL", x + 164, y + 2, 30, 9});
        c.push_back({id.nLowLamp, CtlKind::Icon, grey, x + 196, y + 1, 10, 10});
    }
    c.push_back({rack_analog::IDC_UPDATE_ENABLE, CtlKind::Button, "Update", 386, 214, 50, 14});
}

// The "Alarm Setting" group both analog slot templates carry.
void AlarmGroup(Controls& c)
{
    c.push_back({-1, CtlKind::GroupBox, "Alarm Setting", 6, 236, 440, 58});
    c.push_back({-1, CtlKind::Static, "Channel:", 12, 250, 34, 9});
    c.push_back({rack_alarm::IDC_CHANNEL, CtlKind::DropDown, "", 48, 248, 44, 100, CS_SORT});
    c.push_back({-1, CtlKind::Static, "Alarm Type", 100, 240, 44, 9});
    c.push_back({-1, CtlKind::Static, "High:", 100, 252, 22, 9});
    c.push_back({rack_alarm::IDC_HIGH_TYPE, CtlKind::DropDown, "", 124, 250, 60, 60, CS_NONE,
                 kAlarmTypeTexts});
    c.push_back({-1, CtlKind::Static, "Low:", 100, 270, 22, 9});
    c.push_back({rack_alarm::IDC_LOW_TYPE, CtlKind::DropDown, "", 124, 268, 60, 60, CS_NONE,
                 kAlarmTypeTexts});
    c.push_back({-1, CtlKind::Static, "Alarm &Limit", 192, 240, 50, 9});
    c.push_back({rack_alarm::IDC_HIGH_LIMIT, CtlKind::Edit, "", 192, 250, 60, 12});
    c.push_back({rack_alarm::IDC_LOW_LIMIT, CtlKind::Edit, "", 192, 268, 60, 12});
    c.push_back({rack_alarm::IDC_UPDATE, CtlKind::Button, "&Update", 262, 250, 50, 14});
    c.push_back({rack_alarm::IDC_CLEAR_HIGH, CtlKind::Button, "Clear &H Latch", 318, 250, 60, 14});
    c.push_back({rack_alarm::IDC_CLEAR_LOW, CtlKind::Button, "Clear &L Latch", 318, 268, 60, 14});
}

Controls AnalogInputControls()
{
    Controls c;
    AnalogSlotHeader(c);
    c.push_back({-1, CtlKind::Static, "Input Range:", 12, 32, 50, 9});
    unsigned hidden = CS_HIDDEN | CS_DISABLED;
    c.push_back({rack_ai::IDC_RTD_RANGE, CtlKind::DropList, "", 64, 30, 100, 120, hidden,
                 *AiSlotModel("1300")->pRangeTexts});
    c.push_back({rack_ai::IDC_VOLTAGE_RANGE, CtlKind::DropDown, "", 64, 30, 100, 120, hidden,
                 *AiSlotModel("1384")->pRangeTexts});
    c.push_back({rack_ai::IDC_THERMOCOUPLE_RANGE, CtlKind::DropDown, "", 64, 30, 100, 120, hidden,
                 *AiSlotModel("1386")->pRangeTexts});
    c.push_back({-1, CtlKind::Static, "Data Format:", 172, 32, 50, 9});
    c.push_back(
        {rack_ai::IDC_FORMAT, CtlKind::DropList, "", 224, 30, 70, 60, CS_DISABLED, kAiFormatTexts});
    c.push_back({-1, CtlKind::Static, "Integration Time:", 12, 52, 72, 9});
    c.push_back({rack_ai::IDC_INTEGRATION, CtlKind::DropList, "", 86, 50, 70, 60, CS_DISABLED,
                 kAiIntegrationTexts});
    c.push_back(
        {rack_ai::IDC_UPDATE_SETTING, CtlKind::Button, "Update", 330, 48, 50, 14, CS_DISABLED});
    AnalogSlotChannels(c, false);
    AlarmGroup(c);
    return c;
}

Controls SpeedInputControls()
{
    Controls c;
    AnalogSlotHeader(c);
    c.push_back({-1, CtlKind::Static, "Data Format:", 12, 32, 50, 9});
    c.push_back({rack_speed::IDC_FORMAT, CtlKind::DropList, "", 64, 30, 80, 60, CS_DISABLED,
                 kSpeedFormatTexts});
    c.push_back({-1, CtlKind::Static, "Integration Time:", 12, 52, 72, 9});
    c.push_back({rack_speed::IDC_INTEGRATION,
                 CtlKind::DropList,
                 "",
                 86,
                 50,
                 70,
                 60,
                 CS_DISABLED,
                 {"50ms(60Hz)"}});
    c.push_back(
        {rack_speed::IDC_UPDATE_SETTING, CtlKind::Button, "Update", 330, 48, 50, 14, CS_DISABLED});
    AnalogSlotChannels(c, true);
    AlarmGroup(c);
    return c;
}

Controls TrimControls(const STrimVariant& variant)
{
    return {
        {-1, CtlKind::GroupBox, variant.pszGroup, 6, 4, 224, 40},
        {-1, CtlKind::Static, "Attach meter to output terminal of the module", 12, 16, 210, 9},
        {-1, CtlKind::Static, variant.pszNote, 12, 28, 210, 9},
        {-1, CtlKind::GroupBox, "Trim:", 6, 46, 224, 38},
        {rack_trim::IDC_DOWN10, CtlKind::Button, "<<", 12, 60, 28, 14},
        {rack_trim::IDC_DOWN1, CtlKind::Button, "<", 44, 60, 28, 14},
        {rack_trim::IDC_UP1, CtlKind::Button, ">", 76, 60, 28, 14},
        {rack_trim::IDC_UP10, CtlKind::Button, ">>", 108, 60, 28, 14},
        {rack_trim::IDC_SAVE, CtlKind::Button, "SAVE", 142, 60, 40, 14},
        {IDCANCEL, CtlKind::Button, "EXIT", 186, 60, 40, 14},
    };
}

const bool g_registered =
    RegisterDialogTemplate({IDD_RACK_MAIN, "Vektral-1333E", 398, 244, MainUnitControls()}) &&
    RegisterDialogTemplate({IDD_RACK_DIO, "DIO Module", 475, 234, DioControls()}) &&
    RegisterDialogTemplate({IDD_RACK_AI, "", 452, 300, AnalogInputControls()}) &&
    RegisterDialogTemplate({IDD_RACK_SPEED, "", 452, 300, SpeedInputControls()}) &&
    RegisterDialogTemplate(
        {IDD_RACK_AO, "Vektral-1359 Module", 282, 260, AnalogOutputControls()}) &&
    RegisterDialogTemplate(
        {IDD_RACK_TRIM4, kTrim4mA.pszCaption, 236, 89, TrimControls(kTrim4mA)}) &&
    RegisterDialogTemplate(
        {IDD_RACK_TRIM20, kTrim20mA.pszCaption, 236, 89, TrimControls(kTrim20mA)});

} // namespace
