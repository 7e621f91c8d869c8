// The look of the dialogs built from templates: the font their dialog units come from, and the
// margins of buttons, check boxes and combo boxes. The templates were laid out for a 10-point Song
// face whose Latin letters are half as wide as its Chinese ones; AR PL UMing (Debian package
// fonts-arphic-uming) has the same metrics, so every template keeps the room its texts had.
#pragma once

class QFont;
class QStyle;

inline constexpr const char* kDialogFontFamily = "AR PL UMing CN";
inline constexpr int kDialogFontPoints = 10;

// The font of every template dialog.
const QFont& DialogFont();
// The style of every template control: Fusion, with the original's margins around texts.
QStyle* DialogStyle();
