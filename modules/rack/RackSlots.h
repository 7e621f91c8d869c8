// What the rack main unit's ASCII dialog reads and writes, as plain data: the slot table with the
// model texts and descriptions it lists, which slot dialog a row opens, and the codes of its
// configuration and watchdog settings. No window code here.
#pragma once

#include "ModuleCodes.h"

#include <string>
#include <vector>

// One row of the slot list.
struct SSlotRow {
    std::string strModule;
    std::string strSlot;
    std::string strDescription;
    bool operator==(const SSlotRow&) const = default;
};

// The model text a slot code forms: "13" + code, or "138" + code for "4H" ("1384H").
std::string SlotModelText(const std::string& code);
// The row of slot (0 to 7) holding code: "1380" is listed as "1300"; texts outside the table are
// listed as formed, without a description.
SSlotRow DescribeSlot(int slot, const std::string& code);
// The rows of a slot table reply ("!AA" + eight two-character codes): every slot whose code is not
// "FF", in slot order. A reply cut short gives the slots it cuts a shortened code.
std::vector<SSlotRow> ParseSlotTable(const std::string& reply);

// The dialog a slot row opens, by its "Module" text.
enum class ESlotKind { None, Digital, AnalogOutput, AnalogInput, SpeedInput };
ESlotKind SlotKindOf(const std::string& moduleText);

// "Modbus Only:" rows: the code written after "#AAOU", and the two characters read at positions 4
// and 5 of the "$AAOU" reply.
extern const CodeTable kRackParityWriteCodes;
extern const CodeTable kRackParityReadCodes;
// "Protocol:" rows: the protocol digit, written in the configuration and read at position 6.
extern const CodeTable kRackProtocolDigits;
// "CheckSum:" rows: the checksum digit of the configuration ("Enable", "Disable").
extern const CodeTable kRackChecksumDigits;

// A box's flag as its handler flips it: 1 becomes 0, anything else 1.
void ToggleFlag(int& flag);
// Flags as hex digits, most significant first: four flags a digit, flag 0 in bit 0 of the last.
std::string FlagsToHex(const std::vector<int>& flags);
// Sets the flag of every set bit of the hex digits (most significant first, four flags a digit);
// a clear bit leaves its flag as it is. Missing or non-hex digits set nothing.
void SetFlagsFromHex(const std::string& digits, std::vector<int>& flags);
