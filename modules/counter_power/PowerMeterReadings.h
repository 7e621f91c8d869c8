// What both power-meter dialogs share without a window: the six reading groups (their requests in
// either protocol and how a reply's hex digits become the texts of the reading boxes), the digital
// I/O state of a 6539 reply, and the PT and CT ratios as the meter takes and reports them.
#pragma once

#include <array>
#include <optional>
#include <string>
#include <vector>

enum class EPmRaw { Unsigned16, Signed16, Signed32, Unsigned32 };

// One reading: the box it is shown in and where its hex digits stand in a group's data text.
struct SPmField {
    int nBox;
    int nAt;
    EPmRaw eRaw;
    double dScale;
};

struct SPmGroup {
    const char* pszRtu;           // the request text after the address
    const char* pszAscii;         // the body of the "#AA" request
    std::vector<SPmField> fields; // in the order the boxes are written
};

// Groups "0" to "5".
extern const std::array<SPmGroup, 6> kPmGroups;

struct SPmBoxText {
    int nBox;
    std::string strText;
    bool operator==(const SPmBoxText&) const = default;
};

// Whether data is what a reply to a group's request carries: four hex digits for each of its
// registers, nothing more.
bool IsGroupData(int group, const std::string& data);
// The box texts of a group's reply, in writing order. data is the register contents as hex
// digits, four per register. A field cut short by the end of the data reads its partial digits,
// a missing one reads 0, and the reading of a field stops at its first character that is no hex
// digit. A group other than "0" to "5" gives no text.
std::vector<SPmBoxText> ParseReadingGroup(const std::string& group, const std::string& data);
// A reading as the boxes show it: "%06.3f".
std::string ReadingText(double value);

// The digital I/O state in the data "io" of a "!AAio" reply: the input lamp is lit for input digit
// "0" and off for "1"; the output digit "0" to "3" gives output bit 0 plus twice bit 1. Any other
// character leaves that part unchanged (nothing here).
struct SPmDioState {
    std::optional<bool> bInputLit;
    std::optional<std::array<int, 2>> outputs;
};
SPmDioState DecodeDioState(const std::string& data);
// The digit that carries output bits 0 and 1 ("0" to "3").
char OutputDigit(const std::array<int, 2>& bits);

// A typed ratio as the request carries it: four lower-case hex digits. Nothing for a text that is
// not a decimal number from 0 to 65535 (the meter's register holds 16 bits).
std::optional<std::string> RatioDigits(const std::string& typed);
// The decimal text of the ratio in the data "hhhh" of a "!AAhhhh" reply; nothing when the four
// digits are not all hex digits.
std::optional<std::string> RatioFromData(const std::string& data);
