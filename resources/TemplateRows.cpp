#include "TemplateRows.h"

const std::vector<std::string>& BaudRows()
{
    // Built on first use: templates register themselves while the program starts.
    static const std::vector<std::string> rows = {"1200",  "2400",  "4800",  "9600",
                                                  "19200", "38400", "57600", "115200"};
    return rows;
}

int AddSettingRows(std::vector<ControlTemplate>& controls, const std::vector<SSettingRow>& rows,
                   const SSettingColumns& columns, int y)
{
    for (const SSettingRow& r : rows) {
        controls.push_back(
            {-1, CtlKind::Static, r.label, columns.nLabelX, y + 2, columns.nLabelWidth, 9});
        // A list's height is its dropped-down height.
        int height = r.rows.empty() ? 12 : 80;
        controls.push_back(
            {r.id, r.kind, "", columns.nBoxX, y, columns.nBoxWidth, height, CS_NONE, r.rows});
        y += 16;
    }
    return y;
}
