#include "DioModel.h"

#include "HexText.h"
#include "ModelName.h"
#include "Strings.h"

#include <algorithm>

namespace {

using M = EDioMatch;

// The names the Modbus dialog does not know.
const char* const kAsciiOnlyNumbers[] = {"6371", "9328", "9322"};

bool Matches(const std::string& model, const char* number, EDioMatch match)
{
    switch (match) {
    case M::Contains:
        return ModelHas(model, number);
    case M::Equal:
        return ModelIsListed(model, number) ||
               ModelIsListed(model, (std::string(number) + "D").c_str());
    case M::EqualBare:
        return ModelIsListed(model, number);
    }
    return false;
}

bool AsciiOnly(const char* number)
{
    return std::any_of(std::begin(kAsciiOnlyNumbers), std::end(kAsciiOnlyNumbers),
                       [&](const char* n) { return std::string(n) == number; });
}

std::string Hex4(unsigned value)
{
    return Format("%04X", value & 0xFFFF);
}

bool IsUpperHex(char c)
{
    return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'F');
}

const SDioLampMap* LampMapOf(int row)
{
    auto it = std::find_if(DioLampMap.begin(), DioLampMap.end(),
                           [row](const SDioLampMap& m) { return m.nRow == row; });
    return it == DioLampMap.end() ? nullptr : &*it;
}

WORD Mask(int count)
{
    return static_cast<WORD>((1u << count) - 1);
}

} // namespace

// clang-format off
const std::vector<SDioModelRow> DioModelTable = {
    // row names                           DI  DO  Clear digits disabled                         status own    counts       lamps
    {1,  {"4373", "6373"},                  4,  4,  4,  1, 0,                                    false, false, M::Equal,     M::Equal},
    {2,  {"4370", "6370"},                  8,  3,  8,  1, 0,                                    false, false, M::Contains,  M::Contains},
    {3,  {"4372", "6372"},                  4,  5,  4,  2, 0,                                    false, false, M::Contains,  M::Contains},
    {4,  {"4399", "6399"},                  4,  8,  4,  2, 0,                                    false, false, M::Equal,     M::Equal},
    {5,  {"4324", "6324"},                  12, 4,  12, 1, 0,                                    false, false, M::Equal,     M::Equal},
    {6,  {"4323", "6323"},                  7,  8,  7,  2, 0,                                    false, false, M::Equal,     M::Equal},
    {7,  {"4376", "6376", "6371"},          0,  8,  0,  2, 0,                                    false, false, M::Equal,     M::Equal},
    {8,  {"4377", "6377", "4374", "6374"},  0,  7,  0,  2, kDioLatch,                            false, false, M::Contains,  M::Equal},
    {9,  {"4395", "6395"},                  0,  13, 0,  4, kDioLatch,                            false, false, M::Contains,  M::Equal},
    {10, {"4390", "6390"},                  0,  16, 0,  4, kDioLatch,                            false, false, M::Contains,  M::Equal},
    {11, {"4398", "6398"},                  14, 0,  14, 4, kDioSafe | kDioPowerOn | kDioLatch,   false, false, M::Equal,     M::Equal},
    {12, {"4325", "6325"},                  8,  0,  8,  0, kDioSafe | kDioPowerOn | kDioLatch,   false, false, M::Equal,     M::Equal},
    {13, {"4320", "6320"},                  16, 0,  16, 0, kDioSafe | kDioPowerOn | kDioLatch,   false, false, M::Equal,     M::Equal},
    {14, {"6328", "9328"},                  16, 0,  0,  0, kDioSafe | kDioPowerOn | kDioLatch,   true,  false, M::EqualBare, M::EqualBare},
    {15, {"6322", "9322"},                  8,  8,  0,  2, kDioPowerOn | kDioLatch,              true,  true,  M::EqualBare, M::EqualBare},
};

const std::vector<SDioLampMap> DioLampMap = {
    {1, 0, 8},  {2, 0, 8},  {3, 0, 8},  {4, 0, 8},   {5, 0, 12},  {6, 0, 8},   {7, 0, 8}, {8, 0, 8},
    {9, 0, 0},  {10, 0, 0}, {11, 0, 0}, {12, 8, 0},  {13, 0, 0},  {14, 0, 0},  {15, 0, 8},
};

const std::vector<SDioCoilRead> DioCoilReadTable = {
    {{"6328"},         16, 0,  false},
    {{"4320", "6320"}, 16, 0,  false},
    {{"4398", "6398"}, 14, 0,  false},
    {{"4325", "6325"}, 8,  0,  false},
    {{"4395", "6395"}, 0,  13, true},
    {{"4390", "6390"}, 0,  16, true},
    {{"4376", "6376"}, 0,  8,  true},
    {{"4373", "6373"}, 4,  4,  false},
    {{"4372", "6372"}, 4,  5,  false},
    {{"4399", "6399"}, 4,  8,  false},
    {{"4324", "6324"}, 12, 8,  false},
    {{"4323", "6323"}, 7,  8,  true},
    {{"6322"},         8,  8,  false},
};

// clang-format on

const SDioModelRow* DioFindRow(const std::string& model, EDioTest test, EDioDialog dialog)
{
    for (const SDioModelRow& row : DioModelTable) {
        EDioMatch match = test == EDioTest::Counts  ? row.eCounts
                          : test == EDioTest::Lamps ? row.eLamps
                                                    : M::Contains;
        for (const char* number : row.names) {
            if (dialog == EDioDialog::Modbus && AsciiOnly(number)) continue;
            if (Matches(model, number, match)) return &row;
        }
    }
    return nullptr;
}

SDioLampStates DioLampStates(const std::string& model, WORD status, EDioDialog dialog)
{
    SDioLampStates states;
    const SDioModelRow* row = DioFindRow(model, EDioTest::Lamps, dialog);
    const SDioLampMap* map = row ? LampMapOf(row->nRow) : nullptr;
    if (!map) return states;
    auto lamp = [status](int bit) { return (status >> bit) & 1 ? EDioLamp::On : EDioLamp::Off; };
    for (int k = 0; k < 16; ++k) {
        auto i = static_cast<size_t>(k);
        states.di[i] = k < row->nDi ? lamp(map->nDiFirstBit + k) : EDioLamp::Absent;
        states.dout[i] = k < row->nDo ? lamp(map->nDoFirstBit + k) : EDioLamp::Absent;
    }
    return states;
}

std::optional<WORD> DioParseStatus(const std::string& data)
{
    if (data.size() < 4 || !std::all_of(data.begin(), data.begin() + 4, IsUpperHex))
        return std::nullopt;
    if (data.size() > 4 && data.substr(4) != "00") return std::nullopt;
    return static_cast<WORD>(std::stoul(data.substr(0, 4), nullptr, 16));
}

std::optional<std::string> DioParseCounter(const std::string& data)
{
    if (data.size() != 5 ||
        !std::all_of(data.begin(), data.end(), [](char c) { return c >= '0' && c <= '9'; }))
        return std::nullopt;
    return data;
}

std::string BuildDoHexString(const std::string& model, int value)
{
    const SDioModelRow* row = DioFindRow(model, EDioTest::Rules);
    if (!row || row->nDoDigits == 0) return "";
    return Hex4(static_cast<unsigned>(value)).substr(static_cast<size_t>(4 - row->nDoDigits));
}

const SDioCoilRead* DioFindCoilRead(const std::string& model)
{
    for (const SDioCoilRead& read : DioCoilReadTable) {
        for (const char* number : read.names)
            if (ModelHas(model, number)) return &read;
    }
    return nullptr;
}

std::string DioCoilReadText(bool outputs, int count)
{
    return "01" + Hex4(outputs ? 0x0010 : 0x0000) + Hex4(static_cast<unsigned>(count));
}

std::optional<WORD> DioCoilBits(const std::vector<BYTE>& reply, BYTE slave, int count)
{
    if (count <= 0 || count > 16) return std::nullopt;
    // The reply fits any read of count coils from that slave, wherever the first coil is.
    std::vector<BYTE> read = {slave, 0x01, 0x00, 0x00, 0x00, static_cast<BYTE>(count)};
    if (!RtuReplyAnswers(read, reply)) return std::nullopt;
    size_t bytes = static_cast<size_t>((count + 7) / 8);
    unsigned bits = reply[3] | (bytes > 1 ? reply[4] << 8 : 0);
    return static_cast<WORD>(bits & Mask(count));
}

std::optional<WORD> DioComposeStatus(const std::string& model, WORD inputs, WORD outputs)
{
    const SDioModelRow* row = DioFindRow(model, EDioTest::Lamps, EDioDialog::Modbus);
    const SDioLampMap* map = row ? LampMapOf(row->nRow) : nullptr;
    if (!map) return std::nullopt;
    unsigned status = (inputs & Mask(row->nDi)) << map->nDiFirstBit | (outputs & Mask(row->nDo))
                                                                          << map->nDoFirstBit;
    return static_cast<WORD>(status);
}

std::string DioListRow(bool output, int channel, bool on, int width)
{
    return Format("%d         %-*s%c", (output ? 10017 : 10001) + channel, width,
                  ("CH" + std::to_string(channel)).c_str(), on ? '1' : '0');
}

int DioListFieldWidth(int row)
{
    struct SWidth {
        int nRow;
        int nWidth;
    };
    static const SWidth kWidths[] = {{2, 0}, {4, 16}, {5, 16}, {8, 0}, {15, 0}};
    for (const SWidth& w : kWidths)
        if (w.nRow == row) return w.nWidth;
    return 17;
}

bool DioSwitchesByConfiguration(const std::string& model)
{
    return ModelHasAny(model, {"6328", "6322"});
}
