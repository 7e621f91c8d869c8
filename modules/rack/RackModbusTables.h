// The Modbus rack window's own data and rules, free of any window: the slot-type table and the
// page kinds, the slot table's parse, the digital page's coil nibbles and model rules, the analog
// page's type tables, conversions and alarm nibbles, and the check that a reply answers its
// request.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

inline constexpr int kRackSlots = 8;
using SlotTexts = std::array<std::string, kRackSlots>;

// ---- the slot table ----

// The module name of a slot's type code ("71" gives "Vekt-1371"); "NONE" for any other text.
std::string SlotModuleName(const std::string& code);
// The page that shows a slot's module.
bool IsAnalogPageModule(const std::string& name);
bool IsDigitalPageModule(const std::string& name);

// What the first 32 digits of the table's data give (registers 10000-10007).
struct SSlotTypes {
    std::string strFirmware; // "01.05"
    SlotTexts strCode;       // two hex digits each, or shorter where the text ends
    SlotTexts strModule;     // names of the slot-type table, or "NONE"
};
SSlotTypes ParseSlotTypes(const std::string& digits);
// Start and end addresses "%05d" from the 64 digits of registers 10020-10035 (a missing number
// reads 00000).
struct SSlotAddresses {
    SlotTexts strStart;
    SlotTexts strEnd;
};
SSlotAddresses ParseSlotAddresses(const std::string& digits);

// ---- the digital page ----

inline constexpr int kDigitalChannels = 16;

struct SDigitalModel {
    const char* pszName;
    int nFlagChannels; // channels whose flag a coil read sets, from channel 0
    bool bWrites;      // the lamp buttons switch outputs
};
// The model rules of a digital page module; null for any other name.
const SDigitalModel* FindDigitalModel(const std::string& name);

// Channel states from the four digits of a coil reply (two data bytes): nibble 1 gives channels
// 0-3, nibble 0 channels 4-7, nibble 3 channels 8-11 and nibble 2 channels 12-15, bit 0 the
// lowest. A missing or non-hex digit counts as 0.
std::array<bool, kDigitalChannels> CoilStates(const std::string& digits);
// "0100" + slot + "00010": sixteen coils from 16 x slot.
std::string CoilReadBody(int slot);
// "0500" + slot + channel digit + "FF00" (on) or "0000" (off).
std::string CoilWriteBody(int slot, int channel, bool on);

// ---- the analog page ----

inline constexpr int kAnalogRows = 8;
inline constexpr int kAnalogOutputs = 4;
inline constexpr int kNoType = -1;

// Rows of an analog page module (0 for any other name).
int AnalogRowCount(const std::string& name);
// The module whose outputs can be sent.
bool HasAnalogOutputs(const std::string& name);

struct SRangeCode {
    const char* pszCode;
    const char* pszText;
    int nType;
};
// The type table of a module; empty for a module without one.
const std::vector<SRangeCode>& RangeTable(const std::string& name);

// What the type codes set on the page; carried over from one analog slot to the next.
struct SAnalogTypes {
    std::array<std::string, kAnalogRows> strRange;
    std::array<std::string, kAnalogRows> strUnit;
    std::array<std::string, kAnalogOutputs> strOutputUnit;
    std::array<int, kAnalogRows> nType{kNoType, kNoType, kNoType, kNoType,
                                       kNoType, kNoType, kNoType, kNoType};
};
// Applies the 16 digits of a slot's four type registers for that module.
void ParseInputTypes(const std::string& name, const std::string& digits, SAnalogTypes& types);
// "mA", "mV", "V" or "'C" as the range text names it, else "".
std::string UnitOf(const std::string& rangeText);

// raw x span / full scale + offset (full scale 65535 for types 0-16, 4096 for 17-29), in single
// precision; 0 for a value without type.
float RawToEngineering(int type, unsigned raw);
// The output count of a value: 0 at the bottom of the range, 4095 at its top; never below 0.
unsigned EngineeringToCount(float value, int type);
// Output ranges, bounds included; nothing for a type without a range test.
struct SOutputRange {
    float fLow;
    float fHigh;
};
std::optional<SOutputRange> OutputRange(int type);

// Shown values of a slot from its eight value registers' 32 digits: four hex digits per row, or
// the engineering value ("%2.4f" for "Vekt-1380", "%2.3f" otherwise); rows the module lacks "".
std::array<std::string, kAnalogRows> ChannelValueTexts(const std::string& name,
                                                       const std::string& digits,
                                                       const SAnalogTypes& types, bool showHex);
// Row labels: reference numbers from start, "00000" beyond the module's rows (rows 0-2 always
// numbered), or "CH0" to "CH7" in channel view.
std::array<std::string, kAnalogRows> AnalogRowLabels(const std::string& name, int start,
                                                     bool channelView);

// The alarm lamps from the 8 digits of a slot's two alarm registers.
struct SAlarmLamps {
    std::array<bool, kAnalogRows> bHigh{};
    std::array<bool, kAnalogRows> bLow{};
};
// The nibble of one character: "0"-"9" and "A"-"F" their value, another its character code, a
// missing one 0.
int AlarmNibble(const std::string& digits, int at);
// Nibble index 0-3 sets four lamps: 1 high rows 0-3, 0 high rows 4-7, 3 low rows 0-3, 2 low rows
// 4-7.
void SetLedNibble(SAlarmLamps& lamps, int index, int nibble);
SAlarmLamps ParseStatusReply(const std::string& digits);

// Request bodies of the analog page (after the address).
std::string TypesReadBody();
std::string ValuesReadBody(int slot);
std::string AlarmsReadBody(int slot);
std::string OutputWriteBody(int slot, int channel, const std::string& countHex);
