#include "AlarmLimit.h"

#include "ReadingFields.h"

namespace {

inline constexpr const char* kLimitForm =
    "The limit must be a sign and 6 digits or point, eg.(+0500.0)!";

} // namespace

bool IsFixedWidthValue(const std::string& text)
{
    // The decimal number after the sign has no sign of its own.
    return text.size() == kFixedValueWidth && (text[0] == '+' || text[0] == '-') &&
           IsDecimalNumber(text);
}

std::optional<std::string> CheckedAlarmLimit(CDialog& dlg, int nEdit)
{
    std::string text = dlg.GetDlgItemText(nEdit);
    if (IsFixedWidthValue(text)) return text;
    dlg.MessageBox(kLimitForm, "Note", MB_ICONEXCLAMATION);
    return std::nullopt;
}
