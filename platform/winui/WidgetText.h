// The text of a window as the original reads and writes it: a caption for top-level windows, the
// contents for edits and statics, the edit field or selected row for combo boxes.
#pragma once

#include <string>

class QWidget;

std::string WidgetText(const QWidget* widget);
void SetWidgetText(QWidget* widget, const std::string& text);
// A window's caption. An empty one shows an empty title bar (the window system would otherwise
// put the program's name there).
void SetWindowCaption(QWidget* window, const std::string& caption);
std::string WindowCaption(const QWidget* window);
