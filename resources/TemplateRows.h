// Rows that many templates share.
#pragma once

#include "DialogTemplate.h"

#include <string>
#include <vector>

// The Baudrate lists: one row per code of the baud-code table, "1200" to "115200".
const std::vector<std::string>& BaudRows();

// One row of a settings group: a label and beside it an edit box (no rows) or a list.
struct SSettingRow {
    const char* label;
    int id;
    CtlKind kind;
    std::vector<std::string> rows;
};

// Where a settings group puts its labels and boxes.
struct SSettingColumns {
    int nLabelX;
    int nLabelWidth;
    int nBoxX;
    int nBoxWidth;
};

// Adds the rows one under another from y, 16 units apart; returns the y below the last row.
int AddSettingRows(std::vector<ControlTemplate>& controls, const std::vector<SSettingRow>& rows,
                   const SSettingColumns& columns, int y);
