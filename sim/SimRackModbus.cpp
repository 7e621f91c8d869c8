#include "SimRackModbus.h"

#include <stdexcept>

namespace {

constexpr WORD kRegTable = 10000; // slot table, 38 registers
constexpr int kTableSize = 38;
constexpr int kOffsetFirmware = 2;
constexpr int kOffsetCodes = 4;      // four registers, two slots each
constexpr int kOffsetAddresses = 20; // start and end of each slot
constexpr WORD kRegAlarms = 10100;   // low and high alarm flags, two registers per slot
constexpr WORD kRegTypes = 10200;    // eight registers per slot
constexpr int kTypeRegisters = 4;    // registers carrying type codes; the other four read 0
constexpr int kOutputChannels = 4;   // the analog-output module
constexpr WORD kMaxCount = 4095;     // 12-bit output counts

// The population of a fresh rack: analog slots' registers count from 40001 + 8 x slot, digital
// slots' coils from 00001 + 16 x slot.
struct SDefaultSlot {
    BYTE nCode;
    BYTE nType;
};
constexpr std::array<SDefaultSlot, CSimRackModbus::kSlots> kDefaultSlots = {{
    {kSimSlot1384H, 0x01},
    {kSimSlot1371, 0},
    {kSimSlot1380, 0x20},
    {kSimSlot1327, 0},
    {kSimSlot1359, 0x31},
    {kSimSlot1328, 0},
    {kSimSlotEmpty, 0},
    {kSimSlot1386, 0x0F},
}};

WORD DefaultStart(int slot, BYTE code)
{
    if (CSimRackModbus::IsAnalog(code)) return static_cast<WORD>(40001 + 8 * slot);
    if (CSimRackModbus::IsDigital(code)) return static_cast<WORD>(1 + 16 * slot);
    return 0;
}

WORD DefaultEnd(int slot, BYTE code)
{
    if (CSimRackModbus::IsAnalog(code)) return static_cast<WORD>(DefaultStart(slot, code) + 7);
    if (CSimRackModbus::IsDigital(code)) return static_cast<WORD>(DefaultStart(slot, code) + 15);
    return 0;
}

} // namespace

CSimRackModbus::CSimRackModbus(std::string model) : CSimModule(std::move(model), 0x00)
{
    // The table's first register is the model number the search's first probe asks for; the
    // rack has no register 0x00D2.
    SetProbeRegisters(kSimProbe2710);
    for (int s = 0; s < kSlots; ++s) {
        BYTE code = kDefaultSlots[static_cast<size_t>(s)].nCode;
        SetSlot(s, code, DefaultStart(s, code), DefaultEnd(s, code));
        if (IsAnalog(code)) SetSlotType(s, kDefaultSlots[static_cast<size_t>(s)].nType);
    }
    // Live-looking readings: mid-scale on the 16-bit modules, a quarter on the 12-bit ones.
    Slot(0).nRaw = {1024, 2048, 3072, 4095, 0, 512, 1536, 2560};
    Slot(0).nTypes = {0x01, 0x0A, 0x03, 0x0B, 0x00, 0x00, 0x07, 0x09};
    Slot(2).nRaw = {32768, 16384, 49152, 0, 0, 0, 0, 0};
    Slot(7).nRaw = {10000, 20000, 30000, 40000, 50000, 60000, 65535, 0};
    Slot(0).nHighAlarms = 0x08;
    Slot(0).nLowAlarms = 0x10;
    Slot(1).nCoils = 0x0501;
    Slot(5).nCoils = 0x8003;
}

bool CSimRackModbus::IsAnalog(BYTE code)
{
    return code == kSimSlot1384H || code == kSimSlot1380 || code == kSimSlot1386 ||
           code == kSimSlot1359;
}

bool CSimRackModbus::IsDigital(BYTE code)
{
    return code == kSimSlot1371 || code == kSimSlot1325 || code == kSimSlot1328 ||
           code == kSimSlot1327 || code == kSimSlot1323;
}

WORD CSimRackModbus::WritableCoils(BYTE code)
{
    switch (code) {
    case kSimSlot1371:
        return 0x00FF;
    case kSimSlot1323:
    case kSimSlot1327:
        return 0xFFFF;
    default:
        return 0;
    }
}

void CSimRackModbus::SetSlot(int slot, BYTE code, WORD start, WORD end)
{
    if (slot < 0 || slot >= kSlots) throw std::invalid_argument("a rack has slots 0 to 7");
    SSlot fresh;
    fresh.nCode = code;
    fresh.nStart = start;
    fresh.nEnd = end;
    m_slots[static_cast<size_t>(slot)] = fresh;
}

void CSimRackModbus::SetSlotType(int slot, BYTE code)
{
    Slot(slot).nTypes.fill(code);
}

void CSimRackModbus::SetDigitalInput(int index, bool on)
{
    if (index < 0 || index >= kSlots * kCoils) throw std::invalid_argument("no such coil");
    WORD& coils = Slot(index / kCoils).nCoils;
    WORD bit = static_cast<WORD>(1u << (index % kCoils));
    coils = static_cast<WORD>(on ? coils | bit : coils & ~bit);
}

std::optional<WORD> CSimRackModbus::TableRegister(int offset) const
{
    if (offset == kOffsetFirmware) return m_nFirmware;
    if (offset >= kOffsetCodes && offset < kOffsetCodes + kSlots / 2) {
        int first = 2 * (offset - kOffsetCodes);
        return static_cast<WORD>(m_slots[static_cast<size_t>(first)].nCode << 8 |
                                 m_slots[static_cast<size_t>(first + 1)].nCode);
    }
    if (offset >= kOffsetAddresses && offset < kOffsetAddresses + 2 * kSlots) {
        const SSlot& slot = m_slots[static_cast<size_t>((offset - kOffsetAddresses) / 2)];
        return (offset - kOffsetAddresses) % 2 ? slot.nEnd : slot.nStart;
    }
    return 0;
}

std::optional<WORD> CSimRackModbus::ReadRegister(WORD reg, DWORD)
{
    if (reg >= kRegTable && reg < kRegTable + kTableSize) return TableRegister(reg - kRegTable);
    if (reg < kSlots * kChannels) {
        const SSlot& slot = m_slots[reg / kChannels];
        if (!IsAnalog(slot.nCode)) return std::nullopt;
        return slot.nRaw[reg % kChannels];
    }
    if (reg >= kRegAlarms && reg < kRegAlarms + 2 * kSlots) {
        const SSlot& slot = m_slots[static_cast<size_t>((reg - kRegAlarms) / 2)];
        if (!IsAnalog(slot.nCode)) return std::nullopt;
        return (reg - kRegAlarms) % 2 ? slot.nHighAlarms : slot.nLowAlarms;
    }
    if (reg >= kRegTypes && reg < kRegTypes + kSlots * kChannels) {
        // Every slot answers here, so the host can read all eight slots' codes at once.
        const SSlot& slot = m_slots[static_cast<size_t>((reg - kRegTypes) / kChannels)];
        int k = (reg - kRegTypes) % kChannels;
        if (!IsAnalog(slot.nCode)) return 0xFFFF;
        if (k >= kTypeRegisters) return 0;
        return static_cast<WORD>(slot.nTypes[static_cast<size_t>(2 * k + 1)] << 8 |
                                 slot.nTypes[static_cast<size_t>(2 * k)]);
    }
    return std::nullopt;
}

BYTE CSimRackModbus::WriteRegister(WORD reg, WORD value)
{
    if (reg >= kSlots * kChannels) return kSimIllegalAddress;
    SSlot& slot = m_slots[reg / kChannels];
    if (slot.nCode != kSimSlot1359 || reg % kChannels >= kOutputChannels) return kSimIllegalAddress;
    if (value > kMaxCount) return kSimIllegalValue;
    slot.nRaw[reg % kChannels] = value;
    return kSimOk;
}

std::optional<bool> CSimRackModbus::ReadCoil(WORD coil, DWORD)
{
    if (coil >= kSlots * kCoils) return std::nullopt;
    const SSlot& slot = m_slots[coil / kCoils];
    if (!IsDigital(slot.nCode)) return std::nullopt;
    return (slot.nCoils >> (coil % kCoils) & 1) != 0;
}

BYTE CSimRackModbus::WriteCoil(WORD coil, bool on)
{
    if (coil >= kSlots * kCoils) return kSimIllegalAddress;
    SSlot& slot = m_slots[coil / kCoils];
    WORD bit = static_cast<WORD>(1u << (coil % kCoils));
    if (!(WritableCoils(slot.nCode) & bit)) return kSimIllegalAddress;
    slot.nCoils = static_cast<WORD>(on ? slot.nCoils | bit : slot.nCoils & ~bit);
    return kSimOk;
}
