// The text of a window as the original reads and writes it: a caption for top-level windows, the
// contents for edits and statics, the edit field or selected row for combo boxes.
#pragma once

#include <string>

class QWidget;

std::string WidgetText(const QWidget* widget);
void SetWidgetText(QWidget* widget, const std::string& text);
