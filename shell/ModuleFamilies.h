// The module families of the open-module dispatch, in the order it tests a row against them:
// which listed names belong to a family, the block the row is copied into, the dialogs the row
// opens and how the row is rewritten once a dialog has stored new settings.
#pragma once

#include "MainFrm.h"
#include "ResultRow.h"

#include <string>
#include <vector>

// One dialog to run, and what it reads besides the family block, filled just before it runs.
struct SModuleDialogStep {
    const char* pszClass;
    void (*Fill)(CMainFrame& frame, const ResultRow& row) = nullptr;
};

struct SModuleFamily {
    const char* pszFamily;
    bool (*Matches)(const std::string& listedName);
    void (*FillBlock)(CMainFrame& frame, const ResultRow& row);
    // The dialogs for the row, by its protocol and name; none for the rows the family cannot open.
    std::vector<SModuleDialogStep> (*ChooseDialogs)(const ResultRow& row);
    bool CMainFrame::*pChanged; // settings-changed flag; null for the rack, which has none
    bool bRewritesScript;       // the write-back replaces the Script column as well
};

const std::vector<SModuleFamily>& ModuleFamilies();
