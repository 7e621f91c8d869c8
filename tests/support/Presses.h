// What the operator does, kept in a table to be done later: each fails the test where a control it
// needs refuses (disabled or hidden).
#pragma once

#include "UiDriver.h"

#include <gtest/gtest.h>

#include <functional>

// Clicks a button.
inline std::function<void(CDialog&)> Clicks(int button)
{
    return [=](CDialog& dlg) { ASSERT_TRUE(ui::Click(dlg, button)); };
}

// Types into an edit, then clicks a button.
inline std::function<void(CDialog&)> TypeAndClick(int edit, const char* text, int button)
{
    return [=](CDialog& dlg) {
        ASSERT_TRUE(ui::Type(dlg, edit, text));
        ASSERT_TRUE(ui::Click(dlg, button));
    };
}

// Chooses a row of a list, then clicks a button.
inline std::function<void(CDialog&)> ChooseAndClick(int list, int row, int button)
{
    return [=](CDialog& dlg) {
        ASSERT_TRUE(ui::ChooseRow(dlg, list, row));
        ASSERT_TRUE(ui::Click(dlg, button));
    };
}

// A plain left click on a lamp (an icon static, hit by the dialog's own test).
inline std::function<void(CDialog&)> ClickLamp(int lamp)
{
    return [=](CDialog& dlg) { ui::ClickAt(dlg, ui::CentreOf(dlg, lamp)); };
}
