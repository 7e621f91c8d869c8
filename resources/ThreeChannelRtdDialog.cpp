// Template 148 "热电阻模块": the three-channel RTD dialog. Left, the module settings and the
// calibration buttons; right, an input and a resistance field for each of the three channels.
#include "DialogTemplate.h"
#include "Shell.h"
#include "Strings.h"
#include "TemplateRows.h"
#include "rtd/RtdIds.h"
#include "rtd/RtdRanges.h"

namespace {

using Controls = std::vector<ControlTemplate>;

void AddSettingGroup(Controls& c)
{
    c.push_back({-1, CtlKind::Static, "热电阻模块 (", 10, 8, 52, 9});
    c.push_back({IDC_RTD_MODEL, CtlKind::Static, "", 64, 8, 50, 9});
    c.push_back({-1, CtlKind::Static, ")", 116, 8, 8, 9});
    c.push_back({-1, CtlKind::GroupBox, "模块设置", 6, 22, 184, 140});
    const SSettingColumns columns = {12, 50, 66, 116, 100, 18};
    AddSettingRows(c, {{"地址", IDC_RTD_ADDRESS, CtlKind::Edit, {}, CS_NONE, 80}}, columns, 36);
    c.push_back({-1, CtlKind::Static, "(FF)", 150, 38, 30, 9});
    AddSettingRows(c,
                   {{"输入范围", IDC_RTD3_RANGE, CtlKind::DropList, RtdRanges3Ch().rows},
                    {"数据格式",
                     IDC_RTD_FORMAT,
                     CtlKind::DropList,
                     {"工程量单位", "百分比单位", "16进制补码", "欧姆"}},
                    {"波特率", IDC_RTD_BAUD, CtlKind::DropList, BaudRows()},
                    {"校验和", IDC_RTD_CHECKSUM, CtlKind::DropList, {"校验允许", "校验禁止"}}},
                   columns, 56);
    c.push_back({IDC_RTD_SETTING, CtlKind::Button, "设定", 66, 136, 60, 16});
}

void AddCalibrationGroup(Controls& c)
{
    c.push_back({IDC_RTD_CALIBRATION, CtlKind::Button, "校准许可", 12, 170, 54, 16});
    c.push_back({IDC_RTD_ZERO_CALIBRATION, CtlKind::Button, "零点校准", 70, 170, 54, 16});
    c.push_back({IDC_RTD_SPAN_CALIBRATION, CtlKind::Button, "满量程校准", 128, 170, 62, 16});
    c.push_back({IDC_RTD_STATUS, CtlKind::Edit, "", 12, 192, 178, 12, CS_READONLY});
}

void AddChannelFields(Controls& c)
{
    for (int ch = 0; ch < 3; ++ch) {
        int y = 22 + ch * 62;
        c.push_back({-1, CtlKind::GroupBox, Format("通道%d", ch + 1), 198, y, 182, 56});
        c.push_back({-1, CtlKind::Static, "输入值", 206, y + 16, 32, 9});
        c.push_back({kRtdInputIds[ch], CtlKind::Edit, "", 242, y + 14, 130, 12, CS_READONLY});
        c.push_back({-1, CtlKind::Static, "欧姆值", 206, y + 34, 32, 9});
        c.push_back({kRtdOhmIds[ch], CtlKind::Edit, "", 242, y + 32, 130, 12, CS_READONLY});
    }
}

Controls ThreeChannelRtdControls()
{
    Controls c;
    AddSettingGroup(c);
    AddCalibrationGroup(c);
    AddChannelFields(c);
    c.push_back({IDCANCEL, CtlKind::Button, "取消", 290, 214, 70, 16});
    return c;
}

const bool g_registered =
    RegisterDialogTemplate({IDD_M6380, "热电阻模块", 387, 240, ThreeChannelRtdControls()});

} // namespace
