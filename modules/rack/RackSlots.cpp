#include "RackSlots.h"

#include "AsciiCommand.h"
#include "ModelName.h"
#include "Strings.h"

namespace {

constexpr int kSlots = 8;
constexpr int kFirstCode = 3;

struct SSlotModel {
    const char* pszFormed;
    const char* pszShown;
    const char* pszDescription;
};

const SSlotModel kSlotModels[] = {
    {"1380", "1300", "Vekt-1300 3-channel RTD input module"},
    {"1384", "1384", "Vekt-1384 8-channel analog input module"},
    {"1386", "1386", "Vekt-1386 8-channel thermocouple input module"},
    {"1323", "1323", "Vekt-1323 16-ch universal digital I/O module"},
    {"1327", "1327", "Vekt-1327 16-channel digital output module"},
    {"1325", "1325", "Vekt-1325 8-ch isolated digital input module"},
    {"1328", "1328", "Vekt-1328 16-ch digital input module"},
    {"1313", "1313", "Vekt-1313 4 port RS-232 Communication module"},
    {"1371", "1371", "Vekt-1371 8-channel relay output module"},
    {"1384H", "1384H", "Vekt-1384H 8-channel speed input module"},
    {"1359", "1359", "Vekt-1359 4-channel analog output module"},
};
// The communication module in slot 0 is described with a hyphen.
constexpr const char* kCommunicationSlot0 = "Vekt-1313 4-port RS-232 Communication module";

} // namespace

const CodeTable kRackParityWriteCodes = {"00C", "02C", "04C", "00E"};
const CodeTable kRackParityReadCodes = {"0C", "2C", "4C", "0E"};
const CodeTable kRackProtocolDigits = {"0", "4"};
const CodeTable kRackChecksumDigits = {"4", "0"};

std::string SlotModelText(const std::string& code)
{
    return (code == "4H" ? "138" : "13") + code;
}

SSlotRow DescribeSlot(int slot, const std::string& code)
{
    std::string formed = SlotModelText(code);
    SSlotRow row{formed, std::to_string(slot), ""};
    for (const SSlotModel& model : kSlotModels) {
        if (!ModelIs(formed, model.pszFormed)) continue;
        row.strModule = model.pszShown;
        row.strDescription = model.pszDescription;
    }
    if (slot == 0 && ModelIs(formed, "1313")) row.strDescription = kCommunicationSlot0;
    return row;
}

std::vector<SSlotRow> ParseSlotTable(const std::string& reply)
{
    std::vector<SSlotRow> rows;
    for (int slot = 0; slot < kSlots; ++slot) {
        std::string code = Mid(reply, kFirstCode + 2 * slot, 2);
        if (code != "FF") rows.push_back(DescribeSlot(slot, code));
    }
    return rows;
}

ESlotKind SlotKindOf(const std::string& moduleText)
{
    if (ModelHasAny(moduleText, {"1327", "1371", "1325", "1328", "1323"}))
        return ESlotKind::Digital;
    if (ModelHas(moduleText, "1359")) return ESlotKind::AnalogOutput;
    if (ModelHas(moduleText, "1384H")) return ESlotKind::SpeedInput;
    if (ModelHasAny(moduleText, {"1300", "1384", "1386"})) return ESlotKind::AnalogInput;
    return ESlotKind::None;
}

void ToggleFlag(int& flag)
{
    flag = flag == 1 ? 0 : 1;
}

std::string FlagsToHex(const std::vector<int>& flags)
{
    std::string digits;
    for (size_t first = flags.size() / 4 * 4; first >= 4; first -= 4) {
        int value = 0;
        for (size_t bit = 0; bit < 4; ++bit)
            if (flags[first - 4 + bit] == 1) value |= 1 << bit;
        digits += ValueToHexChar(value);
    }
    return digits;
}

void SetFlagsFromHex(const std::string& digits, std::vector<int>& flags)
{
    int count = static_cast<int>(flags.size()) / 4;
    for (int d = 0; d < count && d < static_cast<int>(digits.size()); ++d) {
        BYTE value = HexCharToValue(digits[static_cast<size_t>(d)]);
        if (value == 0xCC) continue;
        size_t first = static_cast<size_t>(4 * (count - 1 - d));
        for (size_t bit = 0; bit < 4; ++bit)
            if (value & (1 << bit)) flags[first + bit] = 1;
    }
}
