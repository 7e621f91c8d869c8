// Icons and strings of the program's resources.
#pragma once

#include "Controls.h"

#include <functional>
#include <string>

class QIcon;

// Icons are drawn by code; a resource file registers a painter for each id.
bool RegisterIcon(HICON id, std::function<QIcon()> make);
// The icon of a resource id (an empty icon when unknown). Built once, then cached.
const QIcon& IconFor(HICON id);

bool RegisterString(UINT nID, std::string text);
std::string LoadString(UINT nID);
