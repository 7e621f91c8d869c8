// Readings held on a simulated meter and the boxes they must show, for both power-meter dialogs.
#pragma once

#include "Dialog.h"
#include "SimPowerMeter.h"

#include <gtest/gtest.h>

#include <map>
#include <string>

inline void HoldReadings(CSimPowerMeter& meter, const std::map<int, double>& readings)
{
    for (auto [quantity, value] : readings) meter.SetInput(quantity, value);
}

inline void ExpectBoxes(const CDialog& dlg, const std::map<int, std::string>& texts)
{
    for (auto [box, text] : texts) EXPECT_EQ(dlg.GetDlgItemText(box), text) << box;
}
