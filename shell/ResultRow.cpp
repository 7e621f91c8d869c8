#include "ResultRow.h"

#include "AsciiCommand.h"
#include "ModelName.h"
#include "ModuleCodes.h"
#include "Strings.h"

#include <algorithm>
#include <vector>

// Every name tested here is the module's own, not yet listed, so its tests take a number as it
// stands (RawModelHas): 6384, 9384 and 4384 are different models.

namespace {

using Numbers = std::vector<const char*>;

// The name equals one of the models (exact) or contains one of the numbers.
bool NameMatches(const std::string& name, const Numbers& models, bool exact)
{
    return std::any_of(models.begin(), models.end(), [&](const char* model) {
        return exact ? ModelIs(name, model) : RawModelHas(name, model);
    });
}

// ---- names of Modbus RTU finds

// The probe reports older-series twins under their own number; they are listed as the main one.
struct STwin {
    const char* pszMain;
    const char* pszTwin;
};

const STwin kTwins[] = {
    {"6307", "4307"}, {"6300", "4300"}, {"6384", "4384"}, {"6385", "4385"},
    {"6398", "4398"}, {"6395", "4395"}, {"6390", "4390"}, {"6399", "4399"},
    {"6324", "4324"}, {"6323", "4323"}, {"6325", "4325"}, {"6320", "4320"},
    {"6373", "4373"}, {"6372", "4372"}, {"6376", "4376"}, {"6530", "4530"},
};

// Models listed under a name of their own, by a number in their name.
struct SFixedName {
    const char* pszNumber;
    const char* pszName;
    const char* pszVariant = nullptr;     // a name containing this one ...
    const char* pszVariantName = nullptr; // ... gets this name instead
};

const SFixedName kRtuNames[] = {
    {"9384", "4384A"},
    {"9386", "4386A"},
    {"9381", "6381P"},
    {"9359", "4359A"},
    {"9382", "4382A", "9382T", "6382T"},
    {"9328", "6328"},
    {"9322", "6322"},
};

std::string NormaliseRtuName(std::string name)
{
    for (const STwin& twin : kTwins) {
        if (RawModelHas(name, twin.pszMain) || RawModelHas(name, twin.pszTwin)) name = twin.pszMain;
    }
    for (const SFixedName& fixed : kRtuNames) {
        if (!RawModelHas(name, fixed.pszNumber)) continue;
        bool variant = fixed.pszVariant && RawModelHas(name, fixed.pszVariant);
        name = variant ? fixed.pszVariantName : fixed.pszName;
    }
    if (!RawModelHas(name, "P") && !RawModelHasAny(name, {"4386A", "4384A", "4359A", "4382A"})) {
        name = Left(name, 4);
    }
    return name;
}

// ---- codes

struct SCodeText {
    const char* pszCode;
    const char* pszText;
};

const std::vector<SCodeText> kDataFormats = {
    {"0", "Engineering Unit"},
    {"1", "% of FSR"},
    {"2", "2's complement"},
    {"3", "Ohm"},
};

// The code of a decimal rate, "" for a rate outside the table.
std::string BaudCodeOfRate(const std::string& rate)
{
    for (int row = 0; row < static_cast<int>(BaudRateTable.size()); ++row) {
        if (rate == std::to_string(BaudRateOfRow(row))) return CodeOfRow(BaudCodeTable, row);
    }
    return {};
}

// The text of a code, or null when the table has no row for it.
const char* TextOfCode(const std::vector<SCodeText>& table, const std::string& code)
{
    for (const SCodeText& entry : table) {
        if (code == entry.pszCode) return entry.pszText;
    }
    return nullptr;
}

// ---- descriptions

// A model group and its description: a fixed text, or the text of the module's type code.
struct SDescription {
    bool bExact; // the name equals one of the models (else: contains one of the numbers)
    Numbers models;
    const char* pszText; // null: look the code up in codes
    std::vector<SCodeText> codes = {};
};

// Tested in this order; a later match replaces an earlier one.
const SDescription kDescriptions[] = {
    // Digital I/O, by the exact name.
    {true, {"6395", "6395D", "4395", "4395D"}, "DO*13"},
    {true, {"6324", "6324D", "4324", "4324D"}, "DI*12 + DO*4"},
    {true, {"6373", "6373D", "4373", "4373D"}, "DI*4 +DO*4"},
    {true, {"6320", "6320D", "4320", "4320D", "6328", "4328"}, "DI*16"},
    {true, {"6322", "9322"}, "DI*8 +DO*8"},
    {true, {"6398", "6398D", "4398", "4398D"}, "DI*14"},
    {true, {"6390", "6390D", "4390", "4390D"}, "DO*16"},
    {true, {"6399", "6399D", "4399", "4399D"}, "DI*4 + DO*8"},
    // Digital I/O, by the number in the name.
    {false, {"6323", "4323"}, "DI*7 + DO*8"},
    {false, {"6325", "4325"}, "DI*8"},
    {false, {"6370", "4370"}, "DI*8 + DO*3"},
    {false, {"6372", "4372"}, "DI*4 + DO*5"},
    {false, {"6377", "4377", "4374", "6374"}, "DO*7"},
    {false, {"4376", "6376", "6371"}, "DO*8"},
    // RTD types, in three model groups.
    {false,
     {"6309"},
     nullptr,
     {{"20", "Pt100 -200-400C"},
      {"21", "CU100 -50-150C"},
      {"22", "CU50 -50-150C"},
      {"23", "BA1 -200-650C"},
      {"24", "BA2 -200-650C"},
      {"25", "G53 -50-150C"}}},
    {false,
     {"6300", "4300", "6308", "4308"},
     nullptr,
     {{"20", "Pt100 a=0.00385 -100-100C"},
      {"21", "Pt100 a=0.00385 0-100C"},
      {"22", "Pt100 a=0.00385 0-200C"},
      {"23", "Pt100 a=0.00385 0-600C"},
      {"24", "Pt100 a=0.003916  -100-100C"},
      {"25", "Pt100 a=0.003916  0-100C"}}},
    {false,
     {"6380", "4380"},
     nullptr,
     {{"20", "Pt/.00385 +/-100C"},
      {"21", "Pt/.00385 0-100C"},
      {"22", "Pt/.00385 0-200C"},
      {"23", "Pt/.00385 0-600C"},
      {"24", "Pt/.00392 +/-100C"},
      {"25", "Pt/.00392 0-100C"},
      {"26", "Pt/.00392 0-200C"},
      {"27", "Pt/.00392 0-600C"},
      {"2B", "CU100 -50-150C"},
      {"2C", "CU50 -50-150C"},
      {"2D", "BA1 -200-650C"},
      {"2E", "BA2 -200-650C"},
      {"2F", "G53 -50-150C"}}},
    // Analog-input ranges.
    {false,
     {"6385", "4385", "4389", "6389", "6384", "4384"},
     nullptr,
     {{"08", "-10 to +10V"},
      {"09", "-5 to +5V"},
      {"0A", "-1 to +1V"},
      {"0B", "-500 to +500mV"},
      {"0C", "-150 to +150mV"},
      {"0D", "-20 to +20mV"}}},
    // Thermocouple and millivolt ranges.
    {false,
     {"6388", "4388", "4386", "6386", "9386P", "6386P"},
     nullptr,
     {{"00", "-15 to +15mV"},
      {"01", "-50 to +50mV"},
      {"02", "-100 to +100mV"},
      {"03", "-500 to +500mV"},
      {"04", "-1 to +1V"},
      {"05", "-2.5 to +2.5V"},
      {"06", "-20 to +20mA"},
      {"0E", "T/C J-type"},
      {"0F", "T/C K-type"},
      {"10", "T/C T-type"},
      {"11", "T/C E-type"},
      {"12", "T/C R-type"},
      {"13", "T/C S-type"},
      {"14", "T/C B-type"},
      {"15", "T/C N-type"},
      {"16", "T/C C-type"},
      {"17", "T/C L-type"},
      {"18", "T/C M-type"}}},
    // Analog-output ranges, in two model groups.
    {false,
     {"4359", "6359"},
     nullptr,
     {{"30", "0 to 20mA"},
      {"31", "4 to 20mA"},
      {"32", "0 to 10V"},
      {"34", "0 to +5V"},
      {"35", "-5 to +5V"}}},
    {false,
     {"6358", "4358", "4355", "6355"},
     nullptr,
     {{"30", "0 to 20mA"}, {"31", "4 to 20mA"}, {"32", "0 to +10V"}}},
    // Bridge-input ranges.
    {false,
     {"6387", "4387"},
     nullptr,
     {{"00", "+/-15mV"},
      {"01", "+/-50mV"},
      {"02", "+/-100mV"},
      {"03", "+/-500mV"},
      {"04", "+/-1V"},
      {"05", "+/-2.5V"},
      {"06", "+/-20mA"}}},
    // Counter modes.
    {false, {"6363", "4363"}, nullptr, {{"50", "Counter"}, {"51", "Frequency"}}},
    // Power meters, whatever the code.
    {false, {"6530", "4530"}, "Electric Power"},
};

std::string Describe(const std::string& model, const std::string& code)
{
    std::string description;
    for (const SDescription& group : kDescriptions) {
        bool named = NameMatches(model, group.models, group.bExact);
        if (!named) continue;
        const char* text = group.pszText ? group.pszText : TextOfCode(group.codes, code);
        if (text) description = text;
    }
    return description;
}

// Per-channel models listed under fixed names.
const SFixedName kPerChannelNames[] = {
    {"9359", "6359A"},
    {"9384P", "6384A"},
    {"9386P", "6386A"},
    {"9382", "4382A"},
};

// What the replies say, field by field.
struct SFields {
    std::string strModel;
    std::string strAddress;
    std::string strScript;
    std::string strBaudCode;
    std::string strChecksumDigit;
    std::string strFormat;
    BYTE nChecksum = 0; // value of the checksum digit
    bool bRack = false;
};

SFields TakeApart(const SFoundModule& found, const std::string& name)
{
    SFields f;
    if (found.bRtu) {
        f.strModel = name;
    } else if (RawModelHas(name, "2333E")) {
        f.bRack = true;
        f.strModel = "2333E";
        f.strAddress = Mid(name, 1, 2);
        f.strChecksumDigit = Mid(found.strSecond, 5, 1);
        f.nChecksum = HexCharToValue(CharAt(found.strSecond, 5));
        f.strFormat = Mid(found.strSecond, 7, 1);
    } else {
        f.strModel = Mid(name, 3);
        f.strAddress = Mid(name, 1, 2);
        f.strScript = Mid(found.strSecond, 3, 2);
        f.strBaudCode = Mid(found.strSecond, 5, 2);
        f.strChecksumDigit = Mid(found.strSecond, 7, 1);
        f.nChecksum = HexCharToValue(CharAt(found.strSecond, 7));
        f.strFormat = Mid(found.strSecond, 8, 1);
    }
    return f;
}

// The address text ("17(11)ASCII", "17(11)RTU", "0(00)", "0(0)") and the address code.
void SetAddressColumns(ResultRow& row, const SFoundModule& found, const std::string& replyAddress)
{
    if (!found.bRtu) {
        std::string digits = found.bAddressZero ? "00" : replyAddress;
        row[kColAddressText] =
            Format("%ld(", StrToLong(digits, 16)) + digits + (found.bAddressZero ? ")" : ")ASCII");
        row[kColAddress] = digits;
    } else if (found.bAddressZero) {
        row[kColAddressText] = found.strSecond + "(" + found.strSecond + ")";
        row[kColAddress] = found.strSecond;
    } else {
        std::string hex = Format("%02lX", StrToLong(found.strSecond, 10));
        row[kColAddressText] = found.strSecond + "(" + hex + ")RTU";
        row[kColAddress] = hex;
    }
}

} // namespace

ResultRow BuildResultRow(const SFoundModule& found)
{
    std::string name = found.bRtu ? NormaliseRtuName(found.strName) : found.strName;
    ResultRow row;
    bool alarms = RawModelHasAny(name, {"6385", "4385", "4389", "6389", "6384", "4384", "4388",
                                        "6388", "6386", "4386", "6386P", "6384P", "6381"});
    row[kColAlarm] = alarms ? "Yes" : "No";

    SFields f = TakeApart(found, name);
    bool ascii = !found.bRtu;
    bool checksumOn = (f.nChecksum & 0x04) != 0;
    // The module appends its checksum digits to the name; a module at 00 (INIT) sends none.
    if (ascii && !f.bRack && found.bChecksumChoice && f.strAddress != "00") {
        f.strModel = Left(f.strModel, static_cast<int>(f.strModel.size()) - 2);
    }
    row[kColChecksum] = checksumOn ? "Enable" : "Disable";
    row[kColCheck] = checksumOn ? "4" : "0";
    bool codeFromRate = found.bRtu || f.strAddress == "00" || f.bRack;
    row[kColBrate] = codeFromRate ? BaudCodeOfRate(found.strBaud) : f.strBaudCode;

    row[kColDescription] = Describe(f.strModel, f.strScript);
    if (RawModelHasAny(f.strModel, {"6380", "4380"})) {
        const char* text = TextOfCode(kDataFormats, f.strFormat);
        row[kColDataFormat] = text ? text : "";
    }

    for (const SFixedName& fixed : kPerChannelNames) {
        if (RawModelHas(f.strModel, fixed.pszNumber)) f.strModel = fixed.pszName;
    }
    bool rackName = ModelIs(f.strModel, "2333E") || ModelIs(f.strModel, "233E");
    row[kColModule] = rackName ? "1333E" : "4" + Mid(f.strModel, 1);

    SetAddressColumns(row, found, f.strAddress);
    row[kColBaudrate] = found.strBaud;
    row[kColScript] = f.strScript;
    row[kColFormat] = f.strFormat;
    // The 4359A models carry their protocol in the format's high digit; the dispatch reads it.
    if (RawModelHas(f.strModel, "6359A"))
        row[kColProtocol] = f.strChecksumDigit;
    else
        row[kColProtocol] = ascii ? "ASC" : "RTU";
    return row;
}
