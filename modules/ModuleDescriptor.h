// What a module dialog is made of, stated once per dialog: its template, the family's block and
// flag in the frame, how it reaches the module, which settings boxes it has and the codes behind
// their rows. The base class fills those boxes on open and reads them back from it.
#pragma once

#include "MainFrm.h"
#include "ModuleCodes.h"
#include "PollTimer.h"

#include <string>

enum class ELinkKind { Ascii, Rtu };

// A line the dialog opens and closes itself, or one a rack's main unit holds open for it.
enum class ELineOwnership { Own, Borrowed };

// The control ids of the settings boxes a template has; 0 where it has none.
struct SSettingsBoxes {
    int nAddress = 0;  // edit: the decimal address
    int nBaud = 0;     // list: rows of BaudCodeTable
    int nChecksum = 0; // list: the row nChecksumOnRow means on, any other off
    int nRange = 0;    // list: rows of rangeCodes
    int nFormat = 0;   // list: rows of formatCodes
    int nProtocol = 0; // list: row 0 ASCII, row 1 Modbus RTU
    // The address edit shows and takes the address as two hex digits instead of decimal.
    bool bHexAddress = false;
};

// Where the block keeps each entry and in which form. Most families keep the search's order; some
// keep the model name first, a decimal address or a baud text.
struct SBlockLayout {
    ParamEntry address = kAddress;
    ParamEntry brate = kBrate;
    ParamEntry check = kCheck;
    ParamEntry script = kScript;
    ParamEntry format = kFormat;
    ParamEntry module = kModule;
    // The address entry starts with the decimal address ("26(1A)RTU") instead of two hex digits.
    bool bDecimalAddress = false;
};

struct SModuleDescriptor {
    UINT nTemplate = 0;
    ModuleParamBlock CMainFrame::*pBlock = nullptr;
    // Raised when the new settings are written back; null for dialogs that raise none.
    bool CMainFrame::*pChanged = nullptr;
    ELinkKind eLink = ELinkKind::Ascii;
    SSettingsBoxes boxes;
    // Pointers, so descriptors defined at namespace scope never copy a table of another file
    // before it is built.
    const CodeTable* pRangeCodes = nullptr;
    const CodeTable* pFormatCodes = nullptr;
    // What "Choose the ...!" calls the range and format lists.
    const char* pszRangeField = "Input Range";
    const char* pszFormatField = "Data Format";
    // The Format digit bits the Data Format box shows (the others carry the protocol).
    int nFormatMask = 0xF;
    int nChecksumOnRow = 0;
    // The Check entry read as a hex digit whose bit 2 is the checksum (a write-back may store the
    // format byte's whole high digit, "C" say), rather than by its character code.
    bool bCheckIsHexDigit = false;
    SBlockLayout layout;
    ELineOwnership eLine = ELineOwnership::Own;
    UINT_PTR nTimerId = kPollTimer;
    // Closing sets g_bDialogClosed to 1; most dialogs leave it as their opening set it.
    bool bSetsDialogClosed = false;
};
