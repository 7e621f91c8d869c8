// Single facts the dialogs' descriptions fix about a template: a control's kind and style, the
// order of two settings, the least width, and list rows as the modules' documentation names them.
#include "DialogTemplate.h"
#include "PerChannelIds.h"
#include "analog_output/AnalogOutputIds.h"
#include "analog_output/OutputDiIds.h"
#include "counter_power/CounterPowerIds.h"
#include "rack/RackIds.h"
#include "rtd/RtdIds.h"
#include "thermocouple/ThermocoupleIds.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

const ControlTemplate* Control(int templateId, int controlId)
{
    const DialogTemplate* t = FindDialogTemplate(templateId);
    if (!t) return nullptr;
    auto it = std::find_if(t->controls.begin(), t->controls.end(),
                           [controlId](const ControlTemplate& c) { return c.nID == controlId; });
    return it == t->controls.end() ? nullptr : &*it;
}

TEST(TemplateFacts, ControlStyles)
{
    struct Case {
        int templateId;
        int controlId;
        unsigned style;
        bool set;
    } cases[] = {
        // The status of the enable-mask write of the thermocouple dialog over Modbus RTU.
        {IDD_M6386_MODBUS, IDC_TCM_MASK_STATUS, CS_DISABLED, true},
        {IDD_M6386_MODBUS, IDC_TCM_MASK_STATUS, CS_READONLY, true},
        // Plain edits: the rack output slot's data format, the counter's two count fields.
        {IDD_RACK_AO, rack_ao::IDC_FORMAT, CS_READONLY, false},
        {IDD_M6363, IDC_CNT_VALUE0, CS_READONLY, false},
        {IDD_M6363, IDC_CNT_VALUE1, CS_READONLY, false},
        // Both four-channel output templates hide the data format list.
        {IDD_M6359P, IDC_ODI_FORMAT, CS_HIDDEN, true},
        {IDD_M6359P_MODBUS, IDC_ODI_FORMAT, CS_HIDDEN, true},
    };
    for (const Case& c : cases) {
        const ControlTemplate* control = Control(c.templateId, c.controlId);
        ASSERT_NE(control, nullptr) << c.templateId << " " << c.controlId;
        EXPECT_EQ((control->style & c.style) != 0, c.set)
            << "template " << c.templateId << " control " << c.controlId << " style " << c.style;
    }
}

// The per-channel thermocouple template over Modbus RTU: its settings are combos with an edit.
TEST(TemplateFacts, ThePerChannelThermocoupleSettingsAreDropDownCombos)
{
    for (int id : {IDC_PC_BAUD, IDC_PC_CHECKSUM, IDC_PC_FORMAT}) {
        const ControlTemplate* control = Control(IDD_M6386P_MODBUS, id);
        ASSERT_NE(control, nullptr) << id;
        EXPECT_EQ(control->kind, CtlKind::DropDown) << id;
    }
}

// The six-channel temperature templates over Modbus RTU: the data format above the baud rate, and
// the RTD one at least as wide as its description.
TEST(TemplateFacts, TheSixChannelModbusTemplatesShowTheFormatAboveTheBaudRate)
{
    for (int templateId : {IDD_M6382P_MODBUS, IDD_M6382T_MODBUS}) {
        const ControlTemplate* format = Control(templateId, IDC_PC_FORMAT);
        const ControlTemplate* baud = Control(templateId, IDC_PC_BAUD);
        ASSERT_TRUE(format && baud) << templateId;
        EXPECT_LT(format->y, baud->y) << templateId;
    }
    EXPECT_GE(FindDialogTemplate(IDD_M6382P_MODBUS)->cx, 399);
}

// Captions the dialogs' titles read.
TEST(TemplateFacts, Captions)
{
    EXPECT_EQ(FindDialogTemplate(IDD_M6359)->caption, "AO  Module");
    EXPECT_EQ(FindDialogTemplate(IDD_M6359_MODBUS)->caption, "AO  Module Modbus");
}

// How many rows a list starts with; none where the dialog fills it.
TEST(TemplateFacts, ListRowCounts)
{
    struct Case {
        int templateId;
        int controlId;
        size_t rows;
    } cases[] = {
        {IDD_M6359, IDC_AO_SLEW_V, 16},
        {IDD_M6359, IDC_AO_SLEW_MA, 16},
        {IDD_M6359, IDC_AO_SLEW_CH0, 16},
        {IDD_M6359, IDC_AO_SLEW_CH1, 16},
        {IDD_M6359, IDC_AO_RANGE, 3},
        {IDD_M6359, IDC_AO_RANGE4, 4},
        {IDD_M6359, IDC_AO_RANGE_CH1, 3},
        {IDD_M6359, IDC_AO_FORMAT, 4},
        {IDD_M6359, IDC_AO_CHECKSUM, 2},
        {IDD_M6359, IDC_AO_BAUD, 8},
        {IDD_M6359, IDC_AO_CHANNEL, 4},
        {IDD_M6359, IDC_AO_WATCHDOG, 2},
        {IDD_M6359_MODBUS, IDC_AO_CHECKSUM, 3},
        {IDD_M6359_MODBUS, IDC_AO_PROTOCOL, 2},
        {IDD_M6359_MODBUS, IDC_AO_SLEW_MA_MODBUS, 0},
        {IDD_M6359_MODBUS, IDC_AO_SLEW_V, 0},
    };
    for (const Case& c : cases) {
        const ControlTemplate* control = Control(c.templateId, c.controlId);
        ASSERT_NE(control, nullptr) << c.templateId << " " << c.controlId;
        EXPECT_EQ(control->items.size(), c.rows) << c.templateId << " " << c.controlId;
    }
}

// List rows whose texts the modules' documentation fixes, spelling and blanks included.
TEST(TemplateFacts, ListRowsStandAsTheModulesNameThem)
{
    struct Case {
        int templateId;
        int controlId;
        size_t row;
        const char* text;
    } cases[] = {
        {IDD_M6359, IDC_AO_RANGE, 2, "0 to 10 V"},
        {IDD_M6359, IDC_AO_RANGE4, 2, "0 to 10V"},
        {IDD_M6359, IDC_AO_RANGE_CH1, 1, "4 to 20 mA"},
        {IDD_M6359, IDC_AO_FORMAT, 0, "Enagineer Unit"},
        {IDD_M6359, IDC_AO_WATCHDOG, 1, "Start WatchDog"},
        {IDD_M6359_MODBUS, IDC_AO_CHECKSUM, 2, "CRC"},
        {IDD_M6359_MODBUS, IDC_AO_PROTOCOL, 1, "Modbus RTU"},
        {IDD_M6359, IDC_AO_SLEW_V, 0, "immediate"},
        {IDD_M6359, IDC_AO_SLEW_V, 1, "0.0625 V/S"},
        {IDD_M6359, IDC_AO_SLEW_V, 15, "1024.0 V/S(6359)"},
        {IDD_M6359, IDC_AO_SLEW_MA, 1, "0.125 mA/S"},
        {IDD_M6359, IDC_AO_SLEW_MA, 14, "1024.0 mA/S"},
        {IDD_M6359, IDC_AO_SLEW_MA, 15, "2048.0 mA/S(6359)"},
        {IDD_M6386P, IDC_PC_TYPE0, 0, "+/- 0~20mA"},
        {IDD_M6386P, IDC_PC_TYPE0, 7, "S TyPe"},
        {IDD_M6381P, IDC_PC_TYPE0, 13, "S Type"},
        {IDD_M6382P, IDC_PC_TYPE0, 0, "PT100(IEC)  -50℃ to 150℃"},
        {IDD_M6382P, IDC_PC_TYPE0, 6, "PT100(JIS)    0℃ to 100℃"},
        // The other channels' lists carry two more blanks in rows 6 to 8 only.
        {IDD_M6382P, IDC_PC_TYPE0 + 1, 6, "PT100(JIS)      0℃ to 100℃"},
        {IDD_M6382P, IDC_PC_TYPE0 + 5, 8, "PT100(JIS)      0℃ to 400℃"},
        {IDD_M6382P, IDC_PC_TYPE0 + 5, 0, "PT100(IEC)  -50℃ to 150℃"},
        {IDD_M63828P, IDC_PC_TYPE0, 1, "Thermi.  10K  0℃ to 100℃"},
        {IDD_M6307P, IDC_PC_TYPE0 + 3, 8, "Cu100 -50-150C"},
    };
    for (const Case& c : cases) {
        const ControlTemplate* control = Control(c.templateId, c.controlId);
        ASSERT_NE(control, nullptr) << c.templateId << " " << c.controlId;
        ASSERT_GT(control->items.size(), c.row) << c.templateId << " " << c.controlId;
        EXPECT_EQ(control->items[c.row], c.text) << c.templateId << " " << c.controlId;
    }
}

} // namespace
