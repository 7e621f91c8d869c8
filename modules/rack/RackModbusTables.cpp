#include "RackModbusTables.h"

#include "ModelName.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cstdio>

namespace {

// A piece of a text that clamps at its end, so a short reply gives short or empty pieces.
std::string_view Mid(std::string_view text, size_t at, size_t count)
{
    if (at >= text.size()) return {};
    return text.substr(at, count);
}

int HexDigit(char c)
{
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
}

// The leading hex digits of a text as a number, 0 when there are none.
unsigned HexValue(std::string_view digits)
{
    unsigned value = 0;
    for (char c : digits) {
        int d = HexDigit(c);
        if (d < 0) break;
        value = value << 4 | static_cast<unsigned>(d);
    }
    return value;
}

std::string Decimal(int value, int width = 0)
{
    char text[16];
    std::snprintf(text, sizeof text, "%0*d", width, value);
    return text;
}

std::string HexText(unsigned value, int width)
{
    char text[16];
    std::snprintf(text, sizeof text, "%0*X", width, value);
    return text;
}

// Fixed-point text, independent of the user's locale.
std::string Fixed(float value, int decimals)
{
    char text[64];
    auto result = std::to_chars(text, text + sizeof text, static_cast<double>(value),
                                std::chars_format::fixed, decimals);
    return std::string(text, result.ptr);
}

struct SSlotName {
    const char* pszCode;
    const char* pszName;
};
constexpr SSlotName kSlotNames[] = {
    {"71", "Vekt-1371"}, {"0F", "Vekt-1325"}, {"0C", "Vekt-1384H"},
    {"11", "Vekt-1328"}, {"12", "Vekt-1327"}, {"09", "Vekt-1380"},
    {"10", "Vekt-1323"}, {"18", "Vekt-1359"}, {"05", "Vekt-1386"},
};
constexpr const char* kNoModule = "NONE";

constexpr SDigitalModel kDigitalModels[] = {
    {"Vekt-1371", 8, true},   {"Vekt-1323", 16, true},  {"Vekt-1327", 16, true},
    {"Vekt-1328", 16, false}, {"Vekt-1325", 16, false},
};

const std::vector<SRangeCode> kTableA = {
    {"20", "Pt385 +/-100'C", 0},    {"21", "Pt.00385 0~100'C", 1},  {"22", "Pt.00385 0~200'C", 2},
    {"23", "Pt.00385 0~600'C", 3},  {"24", "Pt.00392 +/-100'C", 0}, {"25", "Pt.00392  0~100'C", 1},
    {"26", "Pt.00392  0~200'C", 2}, {"27", "Pt.00392  0~600'C", 3}, {"28", "Ni -80~100'C", 4},
    {"29", "Ni 0~100'C", 1},
};
const std::vector<SRangeCode> kTableB = {
    {"00", "+/-15mV", 5},
    {"01", "+/-50mV", 6},
    {"02", "+/-100mV", 0},
    {"03", "+/-500mV", 7},
    {"04", "+/-1V", 8},
    {"05", "+/-2.5V", 9},
    {"06", "+/-20mA", 10},
    {"0E", "Type J 0~760'C", 11},
    {"0F", "Type K 0~1370'C", 12},
    {"10", "Type T -100~400'C", 13},
    {"11", "Type E 0~1000'C", 14},
    {"12", "Type R 500~1750'C", 15},
    {"13", "Type S 500~1750'C", 15},
    {"14", "Type B 500~1800'C", 16},
};
// "0~2.5V" has a span of its own (type 29): with the 0-20 span of the current ranges its
// readings would be eight times too large.
const std::vector<SRangeCode> kTableC = {
    {"00", "+/-10V", 18},   {"01", "0~10V", 19},   {"02", "+/-5V", 25},  {"03", "0~5V", 26},
    {"04", "+/-2.5V", 27},  {"05", "0~2.5V", 29},  {"06", "+/-1V", 20},  {"07", "0~1V", 21},
    {"08", "+/-500mV", 22}, {"09", "0~500mV", 23}, {"0A", "4~20mA", 17}, {"0B", "0~20mA", 24},
};
const std::vector<SRangeCode> kTableD = {
    {"30", "0~20mA", 28},
    {"31", "4~20mA", 17},
    {"32", "0~10V", 19},
};

// The analog page's modules: rows used, type table, one range for the module or one per channel
// (a register then carries its odd channel in the high byte), the unit all rows show where the
// module fixes it, decimals of the shown value, and whether outputs can be sent.
struct SAnalogModel {
    const char* pszName;
    size_t nRows;
    const std::vector<SRangeCode>* pTable;
    bool bOneRange;
    const char* pszFixedUnit;
    int nDecimals;
    bool bOutputs;
};
const SAnalogModel kAnalogModels[] = {
    {"Vekt-1384H", 8, &kTableC, false, nullptr, 3, false},
    {"Vekt-1380", 3, &kTableA, true, "'C", 4, false},
    {"Vekt-1386", 7, &kTableB, true, nullptr, 3, false},
    {"Vekt-1359", 4, &kTableD, false, nullptr, 3, true},
    {"Vekt-1384", 8, &kTableC, false, nullptr, 3, false},
};

const SAnalogModel* FindAnalogModel(const std::string& name)
{
    for (const SAnalogModel& model : kAnalogModels)
        if (ModelIs(name, model.pszName)) return &model;
    return nullptr;
}

const std::vector<SRangeCode> kNoTable;

struct SScale {
    double dSpan;
    double dFullScale;
    double dOffset;
};
constexpr double k16 = 65535.0;
constexpr double k12 = 4096.0;
constexpr SScale kScales[] = {
    {200, k16, -100}, {100, k16, 0},    {200, k16, 0},     {600, k16, 0},     // 0-3
    {180, k16, -80},  {30, k16, -15},   {100, k16, -50},   {1000, k16, -500}, // 4-7
    {2, k16, -1},     {5, k16, -2.5},   {40, k16, -20},    {760, k16, 0},     // 8-11
    {1370, k16, 0},   {500, k16, -100}, {1000, k16, 0},    {1250, k16, 500},  // 12-15
    {1300, k16, 500}, {16, k12, 4},     {20, k12, -10},    {10, k12, 0},      // 16-19
    {2, k12, -1},     {1, k12, 0},      {1000, k12, -500}, {500, k12, 0},     // 20-23
    {20, k12, 0},     {10, k12, -5},    {5, k12, 0},       {5, k12, -2.5},    // 24-27
    {20, k12, 0},     {2.5, k12, 0},                                          // 28-29
};
constexpr int kTypeCount = static_cast<int>(std::size(kScales));

struct SOutputScale {
    int nType;
    SOutputRange range;
};
constexpr SOutputScale kOutputScales[] = {
    {17, {4.0f, 20.0f}},
    {19, {0.0f, 10.0f}},
    {28, {0.0f, 20.0f}},
};

} // namespace

// ---- the slot table ----

std::string SlotModuleName(std::string_view code)
{
    for (const SSlotName& entry : kSlotNames)
        if (code == entry.pszCode) return entry.pszName;
    return kNoModule;
}

bool IsAnalogPageModule(const std::string& name)
{
    return FindAnalogModel(name) != nullptr;
}

bool IsDigitalPageModule(const std::string& name)
{
    return FindDigitalModel(name) != nullptr;
}

SSlotTypes ParseSlotTypes(std::string_view digits)
{
    SSlotTypes types;
    types.strFirmware = std::string(Mid(digits, 8, 2)) + "." + std::string(Mid(digits, 10, 2));
    for (size_t i = 0; i < kRackSlots; ++i) {
        types.strCode[i] = Mid(digits, 16 + 2 * i, 2);
        types.strModule[i] = SlotModuleName(types.strCode[i]);
    }
    return types;
}

SSlotAddresses ParseSlotAddresses(std::string_view digits)
{
    SSlotAddresses addresses;
    for (size_t s = 0; s < kRackSlots; ++s) {
        addresses.strStart[s] = Decimal(static_cast<int>(HexValue(Mid(digits, 8 * s, 4))), 5);
        addresses.strEnd[s] = Decimal(static_cast<int>(HexValue(Mid(digits, 8 * s + 4, 4))), 5);
    }
    return addresses;
}

std::string ReplyDigits(std::string_view replyText, bool dropCrc)
{
    std::string digits;
    for (char c : replyText)
        if (c != ' ') digits.push_back(c);
    if (digits.size() < 10) return digits;
    return digits.substr(6, digits.size() - 6 - (dropCrc ? 4 : 0));
}

bool ReplyAnswers(const std::vector<std::uint8_t>& request, const std::vector<std::uint8_t>& reply)
{
    constexpr size_t kRequest = 6; // address, function, register, count or value
    constexpr size_t kCrc = 2;
    if (request.size() < kRequest || reply.size() < 3 || reply[0] != request[0] ||
        reply[1] != request[1])
        return false;
    unsigned count = static_cast<unsigned>(request[4] << 8 | request[5]);
    switch (request[1]) {
    case 0x01:
    case 0x03: {
        unsigned bytes = request[1] == 0x01 ? (count + 7) / 8 : 2 * count;
        return reply[2] == bytes && reply.size() == 3 + bytes + kCrc;
    }
    case 0x05:
    case 0x06:
        return reply.size() == kRequest + kCrc &&
               std::equal(request.begin(), request.begin() + kRequest, reply.begin());
    default:
        return false;
    }
}

namespace {

// The leading number of a text as the C library reads it: blanks and a "+" skipped; 0 for none.
template <class T> T Leading(std::string_view text)
{
    size_t at = 0;
    while (at < text.size() && std::isspace(static_cast<unsigned char>(text[at]))) ++at;
    if (at < text.size() && text[at] == '+') ++at;
    T value{};
    auto result = std::from_chars(text.data() + at, text.data() + text.size(), value);
    return result.ec == std::errc() ? value : T{};
}

} // namespace

double LeadingNumber(std::string_view text)
{
    return Leading<double>(text);
}

int LeadingInteger(std::string_view text)
{
    return Leading<int>(text);
}

// ---- the digital page ----

const SDigitalModel* FindDigitalModel(const std::string& name)
{
    for (const SDigitalModel& model : kDigitalModels)
        if (ModelIs(name, model.pszName)) return &model;
    return nullptr;
}

std::array<bool, kDigitalChannels> CoilStates(std::string_view digits)
{
    // The first channel each nibble of the two data bytes carries.
    constexpr int kFirstChannel[] = {4, 0, 12, 8};
    std::array<bool, kDigitalChannels> states{};
    for (size_t k = 0; k < 4; ++k) {
        int nibble = k < digits.size() ? std::max(HexDigit(digits[k]), 0) : 0;
        for (int bit = 0; bit < 4; ++bit)
            states[static_cast<size_t>(kFirstChannel[k] + bit)] = (nibble >> bit & 1) != 0;
    }
    return states;
}

std::string CoilReadBody(int slot)
{
    return "0100" + Decimal(slot) + "00010";
}

std::string CoilWriteBody(int slot, int channel, bool on)
{
    return "0500" + Decimal(slot) + HexText(static_cast<unsigned>(channel), 1) +
           (on ? "FF00" : "0000");
}

// ---- the analog page ----

int AnalogRowCount(const std::string& name)
{
    const SAnalogModel* model = FindAnalogModel(name);
    return model ? static_cast<int>(model->nRows) : 0;
}

bool HasAnalogOutputs(const std::string& name)
{
    const SAnalogModel* model = FindAnalogModel(name);
    return model && model->bOutputs;
}

const std::vector<SRangeCode>& RangeTable(const std::string& name)
{
    const SAnalogModel* model = FindAnalogModel(name);
    return model ? *model->pTable : kNoTable;
}

std::string UnitOf(std::string_view rangeText)
{
    for (const char* unit : {"mA", "mV", "V", "'C"})
        if (rangeText.find(unit) != std::string_view::npos) return unit;
    return "";
}

void ParseInputTypes(const std::string& name, std::string_view digits, SAnalogTypes& types)
{
    const SAnalogModel* model = FindAnalogModel(name);
    if (!model) return;
    // A code the table lacks leaves the row as it was.
    auto apply = [&](size_t row, size_t code) {
        std::string_view text = Mid(digits, 2 * code, 2);
        for (const SRangeCode& entry : *model->pTable) {
            if (text == entry.pszCode) {
                types.strRange[row] = entry.pszText;
                types.nType[row] = entry.nType;
                return;
            }
        }
    };
    size_t rows = model->nRows;
    for (size_t row = 0; row < rows; ++row) apply(row, model->bOneRange ? 0 : row ^ 1);
    for (size_t row = rows; row < kAnalogRows; ++row) {
        types.strRange[row].clear();
        types.strUnit[row].clear();
    }
    for (size_t row = 0; row < rows; ++row)
        types.strUnit[row] = model->pszFixedUnit
                                 ? model->pszFixedUnit
                                 : UnitOf(types.strRange[model->bOneRange ? 0 : row]);
    if (model->bOutputs)
        for (size_t row = 0; row < kAnalogOutputs; ++row)
            types.strOutputUnit[row] = types.strUnit[row];
}

float RawToEngineering(int type, unsigned raw)
{
    if (type < 0 || type >= kTypeCount) return 0.0f;
    const SScale& scale = kScales[type];
    double factor = scale.dSpan / scale.dFullScale;
    return static_cast<float>(raw * factor + scale.dOffset);
}

std::optional<SOutputRange> OutputRange(int type)
{
    for (const SOutputScale& entry : kOutputScales)
        if (entry.nType == type) return entry.range;
    return std::nullopt;
}

unsigned EngineeringToCount(float value, int type)
{
    auto range = OutputRange(type);
    if (!range) return 0;
    double span = static_cast<double>(range->fHigh - range->fLow);
    double count = (static_cast<double>(value) - range->fLow) * k12 / span - 1;
    // Truncated toward zero; the bottom of the range (count -1) gives 0.
    return count <= 0 ? 0u : static_cast<unsigned>(count);
}

std::array<std::string, kAnalogRows> ChannelValueTexts(const std::string& name,
                                                       std::string_view digits,
                                                       const SAnalogTypes& types, bool showHex)
{
    std::array<std::string, kAnalogRows> values;
    const SAnalogModel* model = FindAnalogModel(name);
    size_t rows = model ? model->nRows : 0;
    int decimals = model ? model->nDecimals : 3;
    for (size_t row = 0; row < rows; ++row) {
        std::string_view raw = Mid(digits, 4 * row, 4);
        values[row] = showHex ? std::string(raw)
                              : Fixed(RawToEngineering(types.nType[row], HexValue(raw)), decimals);
    }
    return values;
}

std::array<std::string, kAnalogRows> AnalogRowLabels(const std::string& name, int start,
                                                     bool channelView)
{
    constexpr int kAlwaysNumbered = 3;
    std::array<std::string, kAnalogRows> labels;
    int rows = std::max(AnalogRowCount(name), kAlwaysNumbered);
    for (int row = 0; row < kAnalogRows; ++row) {
        std::string& label = labels[static_cast<size_t>(row)];
        if (channelView)
            label = "CH" + Decimal(row);
        else
            label = row < rows ? Decimal(start + row) : "00000";
    }
    return labels;
}

int AlarmNibble(std::string_view digits, size_t at)
{
    if (at >= digits.size()) return 0;
    char c = digits[at];
    if ((c >= '0' && c <= '9') || (c >= 'A' && c <= 'F')) return HexDigit(c);
    return static_cast<unsigned char>(c);
}

void SetLedNibble(SAlarmLamps& lamps, int index, int nibble)
{
    // index: the lamps' column and first row.
    struct SLamps {
        bool bHigh;
        size_t nFirstRow;
    };
    constexpr SLamps kLamps[] = {{true, 4}, {true, 0}, {false, 4}, {false, 0}};
    if (index < 0 || index > 3) return;
    const SLamps& target = kLamps[index];
    auto& column = target.bHigh ? lamps.bHigh : lamps.bLow;
    for (size_t bit = 0; bit < 4; ++bit) column[target.nFirstRow + bit] = (nibble >> bit & 1) != 0;
}

SAlarmLamps ParseStatusReply(std::string_view digits)
{
    SAlarmLamps lamps;
    constexpr size_t kCharacters[] = {6, 7, 2, 3};
    for (int index = 0; index < 4; ++index)
        SetLedNibble(lamps, index, AlarmNibble(digits, kCharacters[index]));
    return lamps;
}

std::string TypesReadBody()
{
    return "0327D80040";
}

std::string ValuesReadBody(int slot)
{
    return "0300" + HexText(static_cast<unsigned>(8 * slot), 2) + "0008";
}

std::string AlarmsReadBody(int slot)
{
    return "0327" + HexText(static_cast<unsigned>(0x74 + 2 * slot), 2) + "0002";
}

std::string OutputWriteBody(int slot, int channel, const std::string& countHex)
{
    return "06" + HexText(static_cast<unsigned>(8 * slot + channel), 4) + countHex;
}
