// The rack main unit over Modbus RTU: its slot table (registers 10000-10037), and the slot modules
// it reaches through its own registers and coils. An analog slot shows eight raw values from
// register 8 x slot, its alarm flags from 10100 + 2 x slot and its type codes from 10200 + 8 x
// slot; a digital slot shows sixteen coils from 16 x slot. What a slot lacks is refused with an
// exception.
#pragma once

#include "SimModule.h"

#include <array>

// Slot type codes as the main unit reports them.
enum : BYTE {
    kSimSlot1371 = 0x71, // relay output: relays on channels 0-7, inputs on 8-15
    kSimSlot1325 = 0x0F, // digital input
    kSimSlot1384H = 0x0C,
    kSimSlot1328 = 0x11, // digital input
    kSimSlot1327 = 0x12, // digital output
    kSimSlot1380 = 0x09,
    kSimSlot1323 = 0x10, // universal digital I/O
    kSimSlot1359 = 0x18, // analog output, four channels
    kSimSlot1386 = 0x05,
    kSimSlotEmpty = 0xFF,
};

class CSimRackModbus : public CSimModule {
public:
    static constexpr int kSlots = 8;
    static constexpr int kChannels = 8; // analog registers per slot
    static constexpr int kCoils = 16;   // coils per digital slot

    struct SSlot {
        BYTE nCode = kSimSlotEmpty;
        WORD nStart = 0;
        WORD nEnd = 0;
        std::array<WORD, kChannels> nRaw{};   // analog: readings; 1359: output counts (0-3)
        std::array<BYTE, kChannels> nTypes{}; // analog: type code per channel
        BYTE nLowAlarms = 0;                  // bit c: channel c
        BYTE nHighAlarms = 0;
        WORD nCoils = 0; // digital: bit c is channel c
    };

    // A rack with a population of analog, digital and output slots and one empty slot.
    explicit CSimRackModbus(std::string model);

    // Puts a module in a slot (kSimSlotEmpty empties it); its values, alarms and coils clear.
    void SetSlot(int slot, BYTE code, WORD start, WORD end);
    SSlot& Slot(int slot) { return m_slots.at(static_cast<size_t>(slot)); }
    // Every channel type of an analog slot at once (the modules with one range for all).
    void SetSlotType(int slot, BYTE code);
    void SetFirmware(WORD version) { m_nFirmware = version; }
    // index = coil number (16 x slot + channel): an input seen by a digital slot.
    void SetDigitalInput(int index, bool on) override;

    static bool IsAnalog(BYTE code);
    static bool IsDigital(BYTE code);
    // Channels a slot module lets the host switch (bit c: channel c).
    static WORD WritableCoils(BYTE code);

protected:
    bool AcceptsType(BYTE type) const override { return type == 0x00; }
    std::optional<WORD> ReadRegister(WORD reg, DWORD now) override;
    BYTE WriteRegister(WORD reg, WORD value) override;
    std::optional<bool> ReadCoil(WORD coil, DWORD now) override;
    BYTE WriteCoil(WORD coil, bool on) override;

private:
    std::optional<WORD> TableRegister(int offset) const;

    std::array<SSlot, kSlots> m_slots;
    WORD m_nFirmware = 0x0105;
};
