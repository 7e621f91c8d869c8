// Single facts the dialogs' descriptions fix about a template: a control's kind and style, the
// order of two settings, the least width.
#include "DialogTemplate.h"
#include "PerChannelIds.h"
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

} // namespace
