// The scaling of Modbus input registers shared by the Modbus input dialogs: a register holds 0 at
// the low end of the channel's range and 65535 at its top.
#pragma once

#include <optional>
#include <string>
#include <vector>

struct SRawScale {
    double dSpan; // top minus low end, in the range's own unit
    double dLow;
};
// Indexed by the row of the dialog's type or range list.
using RawScaleTable = std::vector<SRawScale>;

// raw × (span / 65535) + low end: the factor is a double constant, product and sum are taken in
// double precision and the result is rounded to single precision. Nothing when row is none of the
// table's (a list without a selection), since there is then no range to scale by.
std::optional<float> RawToEngineering(int raw, int row, const RawScaleTable& table);
// The value as the dialogs show it ("%f"), or an empty text when there is none.
std::string EngineeringText(std::optional<float> value);
