// Dialog templates: the program's dialogs are described by tables (resources/), the layer builds
// the widgets from them. Positions and sizes are in dialog units, which scale with the font.
#pragma once

#include <string>
#include <vector>

enum class CtlKind {
    Static, // text label; an "&" marks the next letter as its mnemonic, "&&" shows one "&"
    Icon,   // static showing an icon resource (lamps)
    Edit,
    Button,       // push button
    CheckBox,     // check box the program toggles itself
    AutoCheckBox, // check box that toggles on a click
    Radio,        // auto radio button; a Group style starts a new group
    GroupBox,
    DropList, // combo box without an edit field
    DropDown, // combo box with an edit field
    ListBox,
    ListCtrl, // report-style list with columns
    Progress,
    Slider,
    Tab,
};

// Control styles, combined with |.
enum CtlStyle : unsigned {
    CS_NONE = 0,
    CS_DISABLED = 1u << 0,
    CS_HIDDEN = 1u << 1,
    CS_READONLY = 1u << 2,
    CS_SORT = 1u << 3,
    CS_VSCROLL = 1u << 4,
    CS_DEFAULT = 1u << 5, // the dialog's default button: Enter clicks it
    CS_GROUP = 1u << 6,   // first radio button of a group
    CS_MULTILINE = 1u << 7,
    CS_BORDER = 1u << 8,     // statics with a sunken frame (edits have a frame unless CS_NOBORDER)
    CS_VERTICAL = 1u << 9,   // vertical slider
    CS_UPPERCASE = 1u << 10, // edits that turn what is typed into upper case
    CS_NOTIFY = 1u << 11,    // statics that take clicks themselves
    CS_CENTER = 1u << 12,    // centred static text
    CS_RIGHT = 1u << 13,     // right-aligned static text
    CS_NOBORDER = 1u << 14,  // edits without a frame
    // Edits that do not scroll horizontally: they take no more typed text than they show, and
    // show a longer text the program gives them from its start.
    CS_NOAUTOHSCROLL = 1u << 15,
    CS_NUMBER = 1u << 16, // edits that take typed digits only
};

struct ControlTemplate {
    int nID;
    CtlKind kind;
    std::string text; // caption; for Icon the icon id as text ("143")
    int x, y, cx, cy; // dialog units
    unsigned style = CS_NONE;
    std::vector<std::string> items = {}; // initial rows of combo and list boxes
};

struct DialogTemplate {
    int nID;
    std::string caption;
    int cx, cy; // dialog units
    std::vector<ControlTemplate> controls;
    // A child window without caption (a page inside another window): it lies in its parent's
    // client area and is created hidden; the program moves and shows it.
    bool bChild = false;
};

// Registers a template; returns true so it can initialise a static flag in the defining file.
bool RegisterDialogTemplate(DialogTemplate dialogTemplate);
// The template with that id, or null.
const DialogTemplate* FindDialogTemplate(int nID);
// The ids of every registered template, ascending.
std::vector<int> RegisteredDialogTemplateIds();
