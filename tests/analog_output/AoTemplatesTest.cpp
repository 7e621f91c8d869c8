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

TEST(AoTemplates, CaptionsAndListRows)
{
    const DialogTemplate* ascii = FindDialogTemplate(IDD_M6359);
    const DialogTemplate* modbus = FindDialogTemplate(IDD_M6359_MODBUS);
    ASSERT_TRUE(ascii && modbus);
    EXPECT_EQ(ascii->caption, "AO  Module");
    EXPECT_EQ(modbus->caption, "AO  Module Modbus");
    struct Rows {
        const DialogTemplate* t;
        int id;
        size_t count;
        size_t at;
        const char* text;
    } rows[] = {
        {ascii, IDC_AO_SLEW_V, 16, 15, "1024.0 V/S(6359)"},
        {ascii, IDC_AO_SLEW_MA, 16, 15, "2048.0 mA/S(6359)"},
        {ascii, IDC_AO_SLEW_CH0, 16, 1, "0.0625 V/S"},
        {ascii, IDC_AO_SLEW_CH1, 16, 0, "immediate"},
        {ascii, IDC_AO_RANGE, 3, 2, "0 to 10 V"},
        {ascii, IDC_AO_RANGE4, 4, 2, "0 to 10V"},
        {ascii, IDC_AO_RANGE_CH1, 3, 1, "4 to 20 mA"},
        {ascii, IDC_AO_FORMAT, 4, 0, "Enagineer Unit"},
        {ascii, IDC_AO_CHECKSUM, 2, 1, "Disable"},
        {ascii, IDC_AO_BAUD, 8, 7, "115200"},
        {ascii, IDC_AO_CHANNEL, 4, 3, "3"},
        {ascii, IDC_AO_WATCHDOG, 2, 1, "Start WatchDog"},
        {modbus, IDC_AO_CHECKSUM, 3, 2, "CRC"},
        {modbus, IDC_AO_PROTOCOL, 2, 1, "Modbus RTU"},
        {modbus, IDC_AO_SLEW_MA_MODBUS, 0, 0, nullptr},
        {modbus, IDC_AO_SLEW_V, 0, 0, nullptr},
    };
    for (const Rows& r : rows) {
        const ControlTemplate* c = Control(*r.t, r.id);
        ASSERT_NE(c, nullptr) << r.id;
        EXPECT_EQ(c->items.size(), r.count) << r.id;
        if (r.text) {
            EXPECT_EQ(c->items.at(r.at), r.text) << r.id;
        }
    }
}

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
