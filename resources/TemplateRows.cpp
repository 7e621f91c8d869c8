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
        if (r.label) {
            controls.push_back({-1, CtlKind::Static, r.label, columns.nLabelX, y + columns.nLabelDy,
                                columns.nLabelWidth, 9, r.style & CS_HIDDEN});
        } else {
            y -= columns.nPitch;
        }
        int width = r.boxWidth ? r.boxWidth : columns.nBoxWidth;
        // A list's height is its dropped-down height.
        int listHeight = r.listHeight ? r.listHeight : columns.nListHeight;
        int height = r.kind == CtlKind::Edit ? 12 : listHeight;
        controls.push_back({r.id, r.kind, "", columns.nBoxX, y, width, height, r.style, r.rows});
        y += columns.nPitch;
    }
    return y;
}
