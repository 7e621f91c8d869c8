// Rows that many templates share.
#pragma once

#include "DialogTemplate.h"

#include <string>
#include <vector>

// The Baudrate lists: one row per code of the baud-code table, "1200" to "115200".
const std::vector<std::string>& BaudRows();

// One row of a settings column: a label and beside it an edit box or a list with its rows.
struct SSettingRow {
    const char* label; // none: the box stands in the place of the row above, which shows it
    int id;
    CtlKind kind;
    std::vector<std::string> rows = {};
    unsigned style = CS_NONE; // the box's; a hidden row hides its label too
    int boxWidth = 0;         // 0: the column's
    int listHeight = 0;       // 0: the column's
};

// Where a settings column puts its labels and boxes.
struct SSettingColumns {
    int nLabelX;
    int nLabelWidth;
    int nBoxX;
    int nBoxWidth;
    int nListHeight = 80; // a list's dropped-down height
    int nPitch = 16;      // from one row to the next
    int nLabelDy = 2;     // the label's top below its box's top; negative: the label stands above
};

// Adds the rows one under another, the first box at y; returns the y of a row below the last.
int AddSettingRows(std::vector<ControlTemplate>& controls, const std::vector<SSettingRow>& rows,
                   const SSettingColumns& columns, int y);
