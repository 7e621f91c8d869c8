// Every registered module dialog, one row each, with what it takes to open it on a simulated bus
// as the open-module dispatch would: the modules on the line, the blocks in the frame, and the
// controls a rule common to all dialogs is tried with. A rule meant for every dialog is one
// parameterized test over EveryDialogRows(); a rule whose outcome differs by dialog keeps a map
// from class name to its expectation and checks it with ExpectOneEntryPerRow.
#pragma once

#include "ModuleDescriptor.h"
#include "ModuleFixture.h"

#include <gtest/gtest.h>

#include <memory>
#include <optional>
#include <ostream>
#include <set>
#include <string>
#include <vector>

// What Enter does, pressed in the Address box (in the dialog where it has none).
enum class EEnter {
    Closes,         // the close path runs, as by Cancel
    PressesDefault, // the default button is pressed (nDefaultButton)
    FocusesCancel,  // the focus moves to Cancel; the dialog stays open
};

struct SDialogRow {
    std::string name; // the registered class name
    UINT nTemplate = 0;
    // The simulated modules, as bus-file text (a rack's main unit with its slots for a rack row).
    std::string bus;
    // The family's block as the dispatch fills it from the module's row.
    ModuleParamBlock CMainFrame::*pBlock = nullptr;
    ModuleParamBlock block;
    // The per-channel types the search read (null: the dialog reads them itself).
    ChannelTypeList CMainFrame::*pTypes = nullptr;
    ChannelTypeList types;
    // The rack's block, for the rack's main unit and its slot dialogs.
    RackParamBlock rack;
    int nAddressBox = 0;    // 0: the dialog has none
    int nSettingButton = 0; // the button that writes the settings; 0: none
    int nCancelButton = 0;
    ELinkKind eLink = ELinkKind::Ascii;
    // A borrowed line is the one the rack's main unit holds open for its slot dialogs.
    ELineOwnership eLine = ELineOwnership::Own;
    EEnter eEnter = EEnter::Closes;
    int nDefaultButton = 0;
    // Closing sets g_bDialogClosed to 1.
    bool bSetsDialogClosed = false;
};

// A row in a failure message: its class name.
inline void PrintTo(const SDialogRow& row, std::ostream* os)
{
    *os << row.name;
}

// Enough ticks for every dialog's start-up reads.
inline constexpr int kStartupTicks = 14;

// One row per registered dialog, in the order of the registry's names.
const std::vector<SDialogRow>& EveryDialogRows();

// The rack rows, in a file of their own: the rack's control ids share names with the modules'.
std::vector<SDialogRow> RackDialogRows();

// The row with its module (a rack row: the rack's main unit) answering at address 00, where the
// configuration lists are enabled; the blocks name that address.
SDialogRow AtAddress00(SDialogRow row);

// A row's name as a test name.
std::string DialogRowName(const ::testing::TestParamInfo<SDialogRow>& info);

// The models of other channel counts than their dialog's row has (the one-channel models among
// them): the row of the dialog, its address and polls, with another model on the line.
std::vector<SDialogRow> OtherChannelCountRows();
// A row's name and model as a test name.
std::string DialogRowModelName(const ::testing::TestParamInfo<SDialogRow>& info);

// Every row has exactly one entry in expectations (keyed by class name) and no entry names a
// dialog without a row, so a dialog registered later fails until its expectation is written.
template <class Map> void ExpectOneEntryPerRow(const Map& expectations)
{
    std::set<std::string> rows;
    for (const SDialogRow& row : EveryDialogRows()) rows.insert(row.name);
    std::vector<std::string> missing;
    std::vector<std::string> unknown;
    for (const std::string& name : rows) {
        if (!expectations.contains(name)) missing.push_back(name);
    }
    for (const auto& [name, expectation] : expectations) {
        if (!rows.contains(name)) unknown.push_back(name);
    }
    EXPECT_EQ(missing, std::vector<std::string>{}) << "dialogs without an expectation";
    EXPECT_EQ(unknown, std::vector<std::string>{}) << "expectations without a dialog";
}

// The rows a rule applies to: those whose entry in its expectations (keyed by class name) the
// rule takes, so that a rule is instantiated only where it applies.
template <class Map, class Applies>
std::vector<SDialogRow> RowsWhere(const Map& expectations, Applies applies)
{
    std::vector<SDialogRow> rows;
    for (const SDialogRow& row : EveryDialogRows()) {
        auto it = expectations.find(row.name);
        if (it != expectations.end() && applies(it->second)) rows.push_back(row);
    }
    return rows;
}

// A test world for one row: its modules on the bus, its blocks in the frame, a borrowed line open
// as the rack's main unit leaves it, and the dialog created through the registry.
class CEveryDialogFixture : public CModuleFixture {
protected:
    void Prepare(const SDialogRow& row);
    // Prepares the row and creates its dialog from its template (null when nothing registered).
    std::unique_ptr<CDialog> Open(const SDialogRow& row);
    // Opens COM1 at 9600 baud, no parity, as a dialog of that link would; true when it opened.
    static bool OpenLineAs(ELinkKind link);
    // Closes whichever line is open.
    void CloseLine();
    // The line open now, of either link.
    bool LineOpen() const { return m_link.IsAsciiOpen() || m_link.IsRtuOpen(); }
    // A clock of its own from the same start for a run whose screen is compared with another's:
    // the simulated modules' readings follow the clock.
    void RestartClock()
    {
        m_runClock.emplace();
        SetClock(&*m_runClock);
    }
    // Changes every value the modules on the bus show (readings, inputs, outputs, counts, alarms)
    // and none of their settings, so that a screen showing a reply taken after the change cannot
    // look by chance like one that kept what came before it. A module of a family without such a
    // change fails the test.
    void ChangeModuleValues();

private:
    std::optional<CVirtualClock> m_runClock;
};

// The same fixture over every row; each rule's file derives a suite of its own from it.
class CEveryDialogTest : public CEveryDialogFixture,
                         public ::testing::WithParamInterface<SDialogRow> {};
