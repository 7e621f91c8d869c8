// The digital slot modules as the slot digital I/O dialog shows them: which lamps each model uses,
// which watchdog boxes it shows, which output lamps take a click, and how a status reply lights
// the lamps. No window code here.
#pragma once

#include "wintypes.h"

#include <array>
#include <string>

// One model's layout. Masks have bit k for channel k.
struct SDioSlotModel {
    const char* pszModel;
    WORD nInputs;     // input lamps in use
    WORD nOutputs;    // output lamps in use
    WORD nWdtBoxes;   // "Turn On DOk" boxes shown
    bool bDirections; // the 1323: each channel is an input or an output by its direction bit
    const char* pszFirstBody;
    // First channel of status digits 3 to 6 (-1: the digit is not used).
    std::array<int, 4> nDigitChannel;
};

// The layout of a model text; nullptr for a text outside the five models.
const SDioSlotModel* DioSlotModel(const std::string& model);

enum class ELamp { Keep, Grey, Off, On };
using LampRow = std::array<ELamp, 16>;
struct SDioLamps {
    LampRow di;
    LampRow out;
};

// Input and output masks in force: the model's, or for the 1323 its direction bits (set: input).
WORD DioInputs(const SDioSlotModel& model, WORD directions);
WORD DioOutputs(const SDioSlotModel& model, WORD directions);

// The lamps after a status reply "!AA" + four hex digits (digit 3 = channels 12-15 ... digit 6 =
// channels 0-3, by the model's digit table). Lamps a model does not use turn grey. A digit past
// the end of the reply leaves its lamps as they are; "0"-"9", "A"-"F" give 0-15 and any other
// character its character code, as the module's own digits are read.
SDioLamps DecodeDioStatus(const SDioSlotModel& model, const std::string& reply, WORD directions);

// A status digit as the rack's modules write them: "0"-"9" and "A"-"F" as 0-15; any other
// character keeps its character code.
int StatusDigitValue(char c);

// The 1323's direction bits from its "7" reply (digits 3 to 6); nothing unless all four are there.
bool DecodeDirections(const std::string& reply, WORD& directions);
