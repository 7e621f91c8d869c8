// Every step the module's acknowledgement judges takes only "!" and the address the module answers
// at: a bare "!", "!" with another address or the late reply of another request shows none of the
// step's success texts, though the request went out.
#include "AckSteps.h"
#include "EveryDialog.h"

#include "ModuleDialogs.h"
#include "ModuleDlg.h"
#include "Presses.h"
#include "ScreenTexts.h"
#include "SpoiltLine.h"

#include <algorithm>
#include <cctype>
#include <iterator>

namespace {

// The configuration of every module dialog on an ASCII line of its own: its setting button sends
// "%" and the address the module answers at, and only the module's acknowledgement shows the
// dialog's success. The rack's main unit (no module block) and the slot dialogs (on the rack's
// line) list their steps with the rack's. The 6380 shows nothing for its configuration and closes:
// its own test judges the row it writes back.
std::vector<SAckStep> ConfigurationAckSteps()
{
    std::vector<SAckStep> steps;
    for (const SDialogRow& row : EveryDialogRows()) {
        if (row.eLink != ELinkKind::Ascii || row.eLine != ELineOwnership::Own ||
            !row.nSettingButton || row.block[kAddress].empty() || row.name == "CM6380")
            continue;
        steps.push_back({.dialog = row.name,
                         .name = "Configuration",
                         .press = Clicks(row.nSettingButton),
                         .request = "%" + row.block[kAddress],
                         .okTexts = {kConfigurationOk}});
    }
    return steps;
}

std::vector<SAckStep> AllAckSteps()
{
    std::vector<SAckStep> steps;
    for (auto family : {AnalogInputAckSteps, PerChannelAndRtdAckSteps, OutputCounterAckSteps,
                        RackAckSteps, ConfigurationAckSteps}) {
        for (SAckStep& step : family()) steps.push_back(std::move(step));
    }
    return steps;
}

std::string StepName(const ::testing::TestParamInfo<SAckStep>& info)
{
    std::string name = info.param.dialog + "_" + info.param.name;
    std::erase_if(name,
                  [](char c) { return !std::isalnum(static_cast<unsigned char>(c)) && c != '_'; });
    return name;
}

class EveryAcknowledgement : public CEveryDialogFixture,
                             public ::testing::WithParamInterface<SAckStep> {
protected:
    SDialogRow Row() const
    {
        const SAckStep& step = GetParam();
        auto rows = EveryDialogRows();
        auto it = std::ranges::find(rows, step.dialog, &SDialogRow::name);
        EXPECT_NE(it, rows.end()) << step.dialog;
        SDialogRow row = it == rows.end() ? SDialogRow{} : *it;
        if (!step.bus.empty()) row.bus = step.bus;
        if (!step.model.empty()) row.block[kModule] = step.model;
        return row;
    }
    // Whether a success text shows, after the step ran with its replies spoilt so (none: as the
    // module gives them).
    bool ShowsSuccess(std::optional<ESpoil> spoil)
    {
        m_bus = CSimBus{};
        m_boxes.m_boxes.clear();
        SDialogRow row = Row();
        std::unique_ptr<CDialog> dlg = Open(row);
        // In place from the start, so that a stale reply is one the dialog had before.
        std::optional<CSpoiltLine> line;
        if (spoil) line.emplace(*spoil, GetParam().request, INT_MAX);
        Tick(*dlg, 8);
        TakeRequests();
        GetParam().press(*dlg);
        // Every text shown on the way: a later read may overwrite an outcome.
        std::vector<std::string> shown;
        for (int i = 0; i < 8 && dlg->IsRunning(); ++i) {
            Tick(*dlg);
            std::ranges::copy(ScreenTexts(*dlg), std::back_inserter(shown));
        }
        bool sent = std::ranges::any_of(
            TakeRequests(), [](const std::string& r) { return r.starts_with(GetParam().request); });
        EXPECT_TRUE(sent) << "the step's request did not go out";
        for (const std::string& box : m_boxes.Texts()) shown.push_back(box);
        if (dlg->IsRunning()) dlg->OnCancel();
        CloseLine();
        return std::ranges::any_of(GetParam().okTexts, [&shown](const std::string& text) {
            return std::ranges::find(shown, text) != shown.end();
        });
    }
};

TEST_P(EveryAcknowledgement, OnlyTheModulesOwnAcknowledgementShowsSuccess)
{
    EXPECT_TRUE(ShowsSuccess(std::nullopt)) << "the step does not succeed with good replies";
    for (ESpoil spoil : {ESpoil::Bare, ESpoil::OtherAddress, ESpoil::Stale}) {
        SCOPED_TRACE(SpoilName(spoil));
        EXPECT_FALSE(ShowsSuccess(spoil));
    }
}

INSTANTIATE_TEST_SUITE_P(, EveryAcknowledgement, ::testing::ValuesIn(AllAckSteps()), StepName);

} // namespace
