// Menu, toolbar, accelerators and string table of the main frame.
#include "Resource.h"
#include "ResourceTables.h"
#include "Resources.h"

const std::vector<MenuTemplate> kMainMenu = {
    {"QUERY", {{"Start", ID_QUERY_START}, {"", ID_SEPARATOR}, {"Exit", ID_APP_EXIT}}},
    {"RUN", {{"Single Line", ID_RUN_SINGLELINE}, {"Data Logger", ID_RUN_DATALOGGER}}},
    {"ABOUT", {{"Help", ID_ABOUT_HELP}}},
};

const std::vector<UINT> kToolBarButtons = {
    ID_FILE_NEW,   ID_FILE_OPEN, ID_FILE_SAVE,  ID_SEPARATOR, ID_EDIT_CUT,  ID_EDIT_COPY,
    ID_EDIT_PASTE, ID_SEPARATOR, ID_FILE_PRINT, ID_SEPARATOR, ID_APP_ABOUT,
};

const std::vector<UINT> kStatusIndicators = {
    ID_SEPARATOR,
    ID_INDICATOR_CAPS,
    ID_INDICATOR_NUM,
    ID_INDICATOR_SCRL,
};

const std::vector<AcceleratorTemplate> kAccelerators = {
    {"Ctrl+N", ID_FILE_NEW},    {"Ctrl+O", ID_FILE_OPEN},   {"Ctrl+S", ID_FILE_SAVE},
    {"Ctrl+P", ID_FILE_PRINT},  {"Ctrl+Z", ID_EDIT_UNDO},   {"Ctrl+X", ID_EDIT_CUT},
    {"Ctrl+C", ID_EDIT_COPY},   {"Ctrl+V", ID_EDIT_PASTE},  {"Alt+Backspace", ID_EDIT_UNDO},
    {"Shift+Del", ID_EDIT_CUT}, {"Ctrl+Ins", ID_EDIT_COPY}, {"Shift+Ins", ID_EDIT_PASTE},
    {"F6", ID_NEXT_PANE},       {"Shift+F6", ID_PREV_PANE},
};

namespace {

struct StringEntry {
    UINT nID;
    const char* text;
};

// The application title, the document strings, the idle prompt, the indicators and the
// standard command prompts ("status text\ntooltip").
const StringEntry kStrings[] = {
    {AFX_IDS_APP_TITLE, "talvik4333"},
    {IDR_MAINFRAME, "Ostra\n\nOstra\n\n\nOstra.Document\nOstra Document"},
    {0xE001, "Ready"},
    {ID_INDICATOR_CAPS, "CAP"},
    {ID_INDICATOR_NUM, "NUM"},
    {ID_INDICATOR_SCRL, "SCRL"},
    {ID_FILE_NEW, "建立新文档\n新建"},
    {ID_FILE_OPEN, "打开一个现有文档\n打开"},
    {ID_FILE_SAVE, "保存活动文档\n保存"},
    {ID_FILE_PRINT, "打印活动文档\n打印"},
    {ID_APP_ABOUT, "显示程序信息，版本号和版权\n关于"},
    {ID_APP_EXIT, "退出应用程序；提示保存文档\n退出"},
    {ID_EDIT_CUT, "剪切所选内容，并将其放入剪贴板\n剪切"},
    {ID_EDIT_COPY, "复制所选内容，并将其放入剪贴板\n复制"},
    {ID_EDIT_PASTE, "插入剪贴板内容\n粘贴"},
    {ID_EDIT_UNDO, "撤消最后一步操作\n撤消"},
    {ID_NEXT_PANE, "切换到下一个窗格\n下一窗格"},
    {ID_PREV_PANE, "切换回前一个窗格\n前一窗格"},
    {ID_QUERY_START, "搜索总线上的模块\n搜索"},
    {ID_RUN_SINGLELINE, "发送单条命令\n单条命令"},
    {ID_RUN_DATALOGGER, "运行日志脚本\n数据记录"},
    {ID_ABOUT_HELP, "打开帮助\n帮助"},
};

const bool g_registered = [] {
    for (const StringEntry& s : kStrings) RegisterString(s.nID, s.text);
    return true;
}();

} // namespace
