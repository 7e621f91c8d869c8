#include "RackModbusTables.h"

#include "ModelName.h"

#include "ModuleCodes.h"
#include "SlotDio.h"
#include "Strings.h"

#include <algorithm>

namespace {

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
// module fixes it, the format of the shown value, and whether outputs can be sent.
struct SAnalogModel {
    const char* pszName;
    size_t nRows;
    const std::vector<SRangeCode>* pTable;
    bool bOneRange;
    const char* pszFixedUnit;
    const char* pszValueFormat; // engineering values
    bool bOutputs;
};
const SAnalogModel kAnalogModels[] = {
    {"Vekt-1384H", 8, &kTableC, false, nullptr, "%2.3f", false},
    {"Vekt-1380", 3, &kTableA, true, "'C", "%2.4f", false},
    {"Vekt-1386", 7, &kTableB, true, nullptr, "%2.3f", false},
    {"Vekt-1359", 4, &kTableD, false, nullptr, "%2.3f", true},
    {"Vekt-1384", 8, &kTableC, false, nullptr, "%2.3f", false},
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

std::string SlotModuleName(const std::string& code)
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

SSlotTypes ParseSlotTypes(const std::string& digits)
{
    SSlotTypes types;
    types.strFirmware = Mid(digits, 8, 2) + "." + Mid(digits, 10, 2);
    for (size_t i = 0; i < kRackSlots; ++i) {
        types.strCode[i] = Mid(digits, 16 + 2 * static_cast<int>(i), 2);
        types.strModule[i] = SlotModuleName(types.strCode[i]);
    }
    return types;
}

SSlotAddresses ParseSlotAddresses(const std::string& digits)
{
    SSlotAddresses addresses;
    auto number = [&digits](int at) { return Format("%05ld", StrToLong(Mid(digits, at, 4), 16)); };
    for (size_t s = 0; s < kRackSlots; ++s) {
        addresses.strStart[s] = number(8 * static_cast<int>(s));
        addresses.strEnd[s] = number(8 * static_cast<int>(s) + 4);
    }
    return addresses;
}

// ---- the digital page ----

const SDigitalModel* FindDigitalModel(const std::string& name)
{
    for (const SDigitalModel& model : kDigitalModels)
        if (ModelIs(name, model.pszName)) return &model;
    return nullptr;
}

std::array<bool, kDigitalChannels> CoilStates(const std::string& digits)
{
    // The first channel each nibble of the two data bytes carries.
    constexpr int kFirstChannel[] = {4, 0, 12, 8};
    std::array<bool, kDigitalChannels> states{};
    for (size_t k = 0; k < 4; ++k) {
        int nibble = HexDigitOrZero(CharAt(digits, static_cast<int>(k)));
        for (int bit = 0; bit < 4; ++bit)
            states[static_cast<size_t>(kFirstChannel[k] + bit)] = (nibble >> bit & 1) != 0;
    }
    return states;
}

std::string CoilReadBody(int slot)
{
    return Format("0100%d00010", slot);
}

std::string CoilWriteBody(int slot, int channel, bool on)
{
    return Format("0500%d%X", slot, static_cast<unsigned>(channel)) + (on ? "FF00" : "0000");
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

std::string UnitOf(const std::string& rangeText)
{
    for (const char* unit : {"mA", "mV", "V", "'C"})
        if (rangeText.find(unit) != std::string::npos) return unit;
    return "";
}

void ParseInputTypes(const std::string& name, const std::string& digits, SAnalogTypes& types)
{
    const SAnalogModel* model = FindAnalogModel(name);
    if (!model) return;
    // A code the table lacks leaves the row as it was.
    auto apply = [&](size_t row, size_t code) {
        std::string text = Mid(digits, 2 * static_cast<int>(code), 2);
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
                                                       const std::string& digits,
                                                       const SAnalogTypes& types, bool showHex)
{
    std::array<std::string, kAnalogRows> values;
    const SAnalogModel* model = FindAnalogModel(name);
    size_t rows = model ? model->nRows : 0;
    for (size_t row = 0; row < rows; ++row) {
        std::string raw = Mid(digits, 4 * static_cast<int>(row), 4);
        auto count = static_cast<unsigned>(StrToLong(raw, 16));
        values[row] = showHex
                          ? raw
                          : Format(model->pszValueFormat,
                                   static_cast<double>(RawToEngineering(types.nType[row], count)));
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
            label = Format("CH%d", row);
        else
            label = row < rows ? Format("%d", start + row) : "00000";
    }
    return labels;
}

int AlarmNibble(const std::string& digits, int at)
{
    return StatusDigitValue(CharAt(digits, at));
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

SAlarmLamps ParseStatusReply(const std::string& digits)
{
    SAlarmLamps lamps;
    constexpr int kCharacters[] = {6, 7, 2, 3};
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
    return Format("0300%02X0008", static_cast<unsigned>(8 * slot));
}

std::string AlarmsReadBody(int slot)
{
    return Format("0327%02X0002", static_cast<unsigned>(0x74 + 2 * slot));
}

std::string OutputWriteBody(int slot, int channel, const std::string& countHex)
{
    return Format("06%04X", static_cast<unsigned>(8 * slot + channel)) + countHex;
}
