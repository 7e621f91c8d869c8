// The exchange context every ASCII rack dialog shares: the main unit's address and checksum
// setting from the rack block, the port, and for a slot dialog its slot. Slot requests go to the
// main unit's address with "S" (or, for the main unit's own functions for one slot, "XS") and the
// slot digit before the body. The main unit's dialog owns the line; a slot dialog, and a trim
// dialog opened from one, uses it and never closes it.
#pragma once

#include "ModuleDlg.h"

#include <optional>
#include <string>

// Entries of the slot blocks the main unit writes before it runs a slot dialog.
enum SlotEntry { kSlotAddress = 0, kSlotAnalogModule = 1, kSlotNumber = 2, kSlotModule = 5 };

// How far a rack reply may run past the places its reader reads: a module's longer form of it.
inline constexpr size_t kReplyWiderBy = 4;

class CRackDlg : public CModuleDlg {
public:
    // slotBlock: the slot block the main unit wrote for this dialog, whose line it borrows; null
    // for the main unit, which owns the line.
    CRackDlg(UINT nIDTemplate, ModuleParamBlock CMainFrame::*slotBlock);

    // The step of m_nCommand and m_nLastCommand that stands for none: no reply awaited, nothing
    // to send. Each dialog numbers its other steps.
    enum : int { kNone = 0 };

    // One tick: the reply of the last exchange is taken, the rule of the step that awaits it runs
    // (it chooses the next send step and may end the tick), an operator's queued request takes the
    // send step's place, then the request of the send step, if it has one, goes out and its step
    // awaits the reply.
    void PollStep() final;

    // Time-outs: the request sent while the dialog opens, and every request of a tick.
    static constexpr WORD kOpenTimeout = 100;
    static constexpr WORD kTickTimeout = 200;

protected:
    // The frame, address, checksum setting and port; the slot from the slot block.
    void InitRackContext();
    // The slot block this dialog was opened with (the main unit has none).
    const ModuleParamBlock& SlotBlock() const { return Block(); }
    bool OwnsLine() const { return Descriptor().eLine == ELineOwnership::Own; }

    // lead + address + "S" + slot + body, framed; "$" + address + "XS" + slot + body, framed.
    std::string SlotRequest(char lead, const std::string& body) const;
    std::string SlotFunctionRequest(const std::string& body) const;
    // The rule of the step whose reply has come (the step already cleared); false ends the tick.
    virtual bool ReadReply(int nStep) = 0;
    // The request of the send step m_nCommand, framed; empty for a step that has none.
    virtual std::string StepRequest() = 0;

    // A write a slot module answers with ">": ">" alone, as a module sends it (nothing more but
    // the checksum digits).
    bool DataAcknowledged() const { return ReplyFits('>', 0); }
    // The data of a reply with this lead (and the address for "!") that reaches the places a
    // reader reads: at least length characters, and at most kReplyWiderBy more (a module's longer
    // form of the reply); nothing for a reply that stops short of them, runs far past them (another
    // text run on) or has another head.
    std::optional<std::string> DataReaching(char lead, size_t length) const;

    std::string m_strSlot;
};
