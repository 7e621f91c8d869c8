// The codes the search stores for a module and the positions of the dialogs' lists they select.
#pragma once

#include "wintypes.h"

#include <array>
#include <string>
#include <vector>

// A list of codes whose index is the row of the list box that shows them.
using CodeTable = std::vector<std::string>;

// A list box's rows as its template lists them, with the code each row stands for: the range or
// type a module reports and takes. Code and row match exactly, case included; a code no row stands
// for selects none, and rows past the codes stand for no code.
struct SCodedList {
    std::vector<std::string> rows; // channel 0's list where the channels' lists differ
    CodeTable codes;               // by row
    // The lists of the other channels where their texts differ from channel 0's (same codes).
    std::vector<std::string> otherRows = {};

    const std::vector<std::string>& RowsOf(int channel) const
    {
        return channel > 0 && !otherRows.empty() ? otherRows : rows;
    }
};

// Baud codes "03" to "0A" by Baudrate row, and the rates they stand for.
extern const CodeTable BaudCodeTable;
extern const std::vector<DWORD> BaudRateTable;

// Data Format rows by the Format digit "0" to "3" (engineering units, % of FSR, hex, ohms).
extern const CodeTable FormatDigitTable;

// The row that shows code, -1 when none does.
int RowOfCode(const CodeTable& table, const std::string& code);
// The code a row stands for, empty when the row is none of the table's.
std::string CodeOfRow(const CodeTable& table, int row);
// The baud rate of a row, 0 when the row is none of the table's.
DWORD BaudRateOfRow(int row);

// The module's checksum is on when bit 2 of the Check character's code is set ("4").
bool ChecksumOn(const std::string& check);
// The Check digit to store: the old one with bit 2 set (checksum on) or cleared. A character that
// is not a hex digit counts as 0, so nothing but a hex digit ever reaches a command or a row.
std::string ChecksumDigit(const std::string& oldCheck, bool on);
// A hex digit read as a value, 0 when it is not one.
int HexDigitOrZero(char c);

// The channels whose bits the two mask digits set (low: CH0-CH3, high: CH4-CH7); a digit that is
// no hex digit sets none.
std::array<bool, 8> ChannelMaskBits(char low, char high);

// The channel-enable mask of eight channels as two hex digits: CH4-CH7 first, then CH0-CH3.
std::string ChannelMaskText(const std::array<int, 8>& enabled);
