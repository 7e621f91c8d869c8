// The analog-output templates as the dialogs rely on them.
#include "DialogTemplate.h"
#include "analog_output/AnalogOutputIds.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

const ControlTemplate* Control(const DialogTemplate& t, int id)
{
    auto it = std::find_if(t.controls.begin(), t.controls.end(),
                           [id](const ControlTemplate& c) { return c.nID == id; });
    return it == t.controls.end() ? nullptr : &*it;
}

} // namespace

TEST(AoTemplates, InertControlsStandDisabledAndTheCalibrationButtonsHidden)
{
    const DialogTemplate* ascii = FindDialogTemplate(IDD_M6359);
    ASSERT_TRUE(ascii);
    for (int id : {IDC_AO_CALIBRATION, IDC_AO_CAL_ZERO, IDC_AO_CAL_SPAN, IDC_AO_TRIM,
                   IDC_AO_TRIM_VALUE, IDC_AO_SET_POWERON, IDC_AO_SET_SAFE, IDC_AO_READ_POWERON,
                   IDC_AO_READ_SAFE, IDC_AO_WATCHDOG, IDC_AO_WATCHDOG_TIME, IDC_AO_WATCHDOG_LABEL,
                   IDC_AO_RESETTING, IDC_AO_TIME_LABEL, IDC_AO_HEX_LABEL}) {
        const ControlTemplate* c = Control(*ascii, id);
        ASSERT_NE(c, nullptr) << id;
        EXPECT_TRUE(c->style & CS_DISABLED) << id;
    }
    for (int id : {IDC_AO_ZERO_HIDDEN, IDC_AO_SPAN_HIDDEN}) {
        EXPECT_TRUE(Control(*ascii, id)->style & CS_HIDDEN) << id;
    }
    EXPECT_EQ(Control(*ascii, IDC_AO_ZERO_HIDDEN)->text, "零点校准");
    EXPECT_EQ(Control(*ascii, IDC_AO_SPAN_HIDDEN)->text, "满量程校准");
    EXPECT_FALSE(Control(*ascii, IDC_AO_CHANNEL)->style & CS_DISABLED);
    // Every channel control stands in both templates; the Modbus Output edits start disabled.
    const DialogTemplate* modbus = FindDialogTemplate(IDD_M6359_MODBUS);
    for (const SAoChannelIds& ids : kAoChannels) {
        for (int id : {ids.nSlider, ids.labels[0], ids.labels[1], ids.labels[2], ids.nUnit,
                       ids.nOutput, ids.nReadBack}) {
            EXPECT_NE(Control(*ascii, id), nullptr) << id;
            EXPECT_NE(Control(*modbus, id), nullptr) << id;
        }
        EXPECT_TRUE(Control(*modbus, ids.nOutput)->style & CS_DISABLED);
        EXPECT_EQ(Control(*ascii, ids.nUnit)->text, "v/a");
    }
}

// The Modbus template's two slew lists, which it shows one at a time, each beside its own label.
TEST(AoTemplates, TheModbusSlewListsStandEachBesideItsLabel)
{
    const DialogTemplate* modbus = FindDialogTemplate(IDD_M6359_MODBUS);
    ASSERT_TRUE(modbus);
    for (auto [id, label] : {std::pair{int{IDC_AO_SLEW_MA_MODBUS}, "SlewmA:"},
                             std::pair{int{IDC_AO_SLEW_V}, "SlewV:"}}) {
        const ControlTemplate* list = Control(*modbus, id);
        ASSERT_NE(list, nullptr) << id;
        bool labelled = std::any_of(modbus->controls.begin(), modbus->controls.end(),
                                    [&](const ControlTemplate& c) {
                                        return c.kind == CtlKind::Static && c.text == label &&
                                               c.y == list->y + 2 && c.x + c.cx <= list->x;
                                    });
        EXPECT_TRUE(labelled) << label;
    }
}
