// What the Modbus rack window and its pages share while the window is open: the selected slot,
// the slot table and which pages exist. One window exists at a time; it resets the state when it
// opens and clears it when it closes.
#pragma once

#include "RackModbusTables.h"

struct CRackState {
    int nCurrentSlot = -1; // -1: the "Main" tab; 0 to 7: a slot's tab
    SlotTexts strSlotModule;
    SlotTexts strSlotStart;
    SlotTexts strSlotEnd;
    int bAnalogPage = 0;
    int bRtuIoPage = 0;

    // The selected slot's module name; "" on the main tab.
    const std::string& CurrentModule() const
    {
        static const std::string none;
        return nCurrentSlot >= 0 && nCurrentSlot < kRackSlots
                   ? strSlotModule[static_cast<size_t>(nCurrentSlot)]
                   : none;
    }
    const std::string& CurrentStart() const
    {
        static const std::string none;
        return nCurrentSlot >= 0 && nCurrentSlot < kRackSlots
                   ? strSlotStart[static_cast<size_t>(nCurrentSlot)]
                   : none;
    }
    // A window opens: main tab, no pages, no table yet.
    void Reset()
    {
        nCurrentSlot = -1;
        bAnalogPage = 0;
        bRtuIoPage = 0;
        ClearSlots();
    }
    void ClearSlots()
    {
        strSlotModule = {};
        strSlotStart = {};
        strSlotEnd = {};
    }
};

// The one rack state of the process.
CRackState& RackState();
