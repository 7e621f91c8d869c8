// What every ASCII dialog with a setting does when its module answers just after the time-out, so
// that each reply arrives as the answer to the next request: the configuration goes out, and a
// late reply of a poll never confirms it.
#include "EveryDialog.h"

#include "LateLine.h"
#include "ModuleDialogs.h"
#include "ModuleDlg.h"
#include "UiDriver.h"
#include "WireRequests.h"

#include <algorithm>
#include <cctype>
#include <functional>
#include <map>

namespace {

// The rack dialogs whose setting is written only while the main unit answers at 00, its initial
// state: elsewhere their setting button is disabled.
bool WritesOnlyAtAddress00(const SDialogRow& row)
{
    return row.name == "CV1333E" || row.name == "CV1300" || row.name == "CV1384H";
}

// Every ASCII dialog that writes settings, and the single-channel models of the two dialogs that
// serve them.
std::vector<SDialogRow> SettingRows()
{
    std::vector<SDialogRow> rows;
    for (const SDialogRow& row : EveryDialogRows()) {
        if (row.eLink != ELinkKind::Ascii || !row.nSettingButton) continue;
        rows.push_back(WritesOnlyAtAddress00(row) ? AtAddress00(row) : row);
        if (row.name == "CM6386") {
            rows.push_back(row);
            rows.back().bus = "4388 0x10 9600 ascii";
            rows.back().block[kModule] = "4388";
        } else if (row.name == "CM6384") {
            rows.push_back(row);
            rows.back().bus = "6385 1 9600 ascii";
            rows.back().block[kModule] = "4385";
        }
    }
    return rows;
}

// What a row's setting sends: a configuration, or a rack dialog's own update.
std::function<bool(const std::string&)> SettingRequestOf(const std::string& dialog)
{
    static const std::map<std::string, std::string> rackUpdates = {
        {"CV1333E", "%00"},   {"CV1327", "$50XS0D"},   {"CV1359", "$50S1C0A3"},
        {"CV1300", "$00S1A"}, {"CV1384H", "$00S3AFF"},
    };
    auto it = rackUpdates.find(dialog);
    if (it == rackUpdates.end()) return IsConfiguration;
    return [start = it->second](const std::string& r) { return r.starts_with(start); };
}

std::string LateRowName(const ::testing::TestParamInfo<SDialogRow>& info)
{
    std::string name = info.param.name + "_" + info.param.block[kModule];
    std::erase_if(name,
                  [](char c) { return !std::isalnum(static_cast<unsigned char>(c)) && c != '_'; });
    return name + "_" + std::to_string(info.index);
}

class EveryLateReply : public CEveryDialogFixture,
                       public ::testing::WithParamInterface<SDialogRow> {};

TEST_P(EveryLateReply, NeverConfirmsASetting)
{
    const SDialogRow& row = GetParam();
    CLateLine line;
    std::unique_ptr<CDialog> dlg = Open(row);
    ASSERT_NE(dlg, nullptr);
    Tick(*dlg, 6);
    line.SetLate(true);
    Tick(*dlg, 3);
    m_boxes.m_boxes.clear();
    TakeRequests();
    ui::Click(*dlg, row.nSettingButton);
    Tick(*dlg, 4);
    EXPECT_TRUE(std::ranges::any_of(TakeRequests(), SettingRequestOf(row.name)))
        << "the setting did not go out";
    for (const std::string& box : m_boxes.Texts()) EXPECT_NE(box, kConfigurationOk);
    if (dlg->IsRunning()) dlg->OnCancel();
}

INSTANTIATE_TEST_SUITE_P(, EveryLateReply, ::testing::ValuesIn(SettingRows()), LateRowName);

} // namespace
