// The rack main unit in ASCII mode and the modules in its eight slots. The slot modules have no
// address of their own: "$AAS<s>..." and "#AAS<s>..." reach the module in slot s through the main
// unit, which answers with its own address. "$AAXS<s>..." are the main unit's own functions for
// one slot (the watchdog output pattern of a digital slot).
#pragma once

#include "SimModule.h"

#include <array>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

// One module in a slot. Command answers a slot request body (after "S<s>"): the reply with its
// head character ("!", ">" or "?") and no address, which the main unit inserts after "!" and "?";
// "" stays silent. A ">" reply (a reading, or ">" alone acknowledging a write) goes out without
// the address, as a module sends it.
class CSimSlot {
public:
    virtual ~CSimSlot() = default;
    // The two-character code the slot table reports ("27" for a 1327, "4H" for a 1384H).
    const std::string& Code() const { return m_strCode; }
    virtual std::string Command(char lead, std::string_view body, DWORD now);
    // The watchdog output pattern ("$AAXS<s>"); only the digital slots keep one.
    virtual bool HasWatchdogPattern() const { return false; }
    WORD WatchdogPattern() const { return m_nWdtPattern; }
    void SetWatchdogPattern(WORD pattern) { m_nWdtPattern = pattern; }

protected:
    explicit CSimSlot(std::string code) : m_strCode(std::move(code)) {}

private:
    std::string m_strCode;
    WORD m_nWdtPattern = 0;
};

// A slot module of a known code, or one that refuses every request (a code the simulator has no
// model for); nullptr for "FF", the empty slot.
std::unique_ptr<CSimSlot> SimCreateSlot(std::string_view code);

// Digital slot modules: 1327 (16 outputs), 1371 (8 relays), 1323 (16 channels, each an input or
// an output by its direction bit), 1328 (16 inputs), 1325 (8 inputs).
class CSimDigitalSlot : public CSimSlot {
public:
    explicit CSimDigitalSlot(std::string code);
    std::string Command(char lead, std::string_view body, DWORD now) override;
    bool HasWatchdogPattern() const override { return true; }
    WORD Outputs() const { return m_nOutputs; }
    void SetInputs(WORD inputs) { m_nInputs = inputs; }
    // 1323: bit set = the channel is an input.
    void SetDirections(WORD directions) { m_nDirections = directions; }
    WORD OutputMask() const;

private:
    WORD InputMask() const;
    std::string Status() const;
    std::string Switch(std::string_view body);

    WORD m_nOutputs = 0;
    WORD m_nInputs = 0;
    WORD m_nDirections = 0x00FF; // 1323: channels 0-7 inputs, 8-15 outputs
};

// The 4-channel analog output slot module 1359: per channel a range digit ("0" 0-20 mA, "1" 4-20
// mA, "2" 0-10 V), a slew code, an output, a start-up value and two trims.
class CSimAnalogOutputSlot : public CSimSlot {
public:
    CSimAnalogOutputSlot();
    std::string Command(char lead, std::string_view body, DWORD now) override;
    struct SChannel {
        char cRange = '1';
        BYTE nSlew = 0;
        double dOutput = 4.0;
        double dStartup = 4.0;
        int nTrimSteps = 0; // the nudges since the last save
        int nTrim4mA = 0;   // stored by a 4 mA save
        int nTrim20mA = 0;  // stored by a 20 mA save
    };
    SChannel& Channel(int n) { return m_channels.at(static_cast<size_t>(n)); }

private:
    std::string Setting(SChannel& ch, std::string_view body);
    std::string SetOutput(SChannel& ch, std::string_view text);

    std::array<SChannel, 4> m_channels;
};

// The main unit, model "2333E" (listed as 1333E). "$AA2" reports "00", the checksum digit, the
// protocol digit ("0" ASCII, "4" Modbus) and "0"; "%AA00BBCP" writes baud code, checksum and
// protocol. The unit keeps its protocol digit but goes on answering in ASCII.
class CSimRack : public CSimModule {
public:
    explicit CSimRack(std::string model);
    // Puts a module of that code in a slot ("FF" empties it); throws for a slot outside 0-7.
    void SetSlot(int slot, std::string_view code);
    void SetSlot(int slot, std::unique_ptr<CSimSlot> module);
    CSimSlot* Slot(int slot) { return m_slots.at(static_cast<size_t>(slot)).get(); }
    template <class T> T& SlotAs(int slot) { return dynamic_cast<T&>(*Slot(slot)); }
    // "slots=27,59,FF,...": the codes of slots 0 onwards.
    bool SetOption(std::string_view key, std::string_view value) override;

    BYTE WatchdogEnables() const { return m_nWdtEnables; }
    void SetWatchdogEnables(BYTE mask) { m_nWdtEnables = mask; }
    const std::string& WatchdogTimeout() const { return m_strWdtTimeout; }
    const std::string& ModbusParity() const { return m_strModbusParity; }

protected:
    std::optional<std::string> OnAscii(char lead, std::string_view body, DWORD now) override;
    bool AcceptsType(BYTE type) const override { return type == 0; }
    bool AcceptsDataFormat(BYTE format) const override;

private:
    std::optional<std::string> MainUnit(char lead, std::string_view body);
    std::string ConfigureRack(std::string_view body);
    std::string Watchdog(std::string_view body);
    std::string SlotWatchdog(std::string_view body);
    std::string Relay(char lead, std::string_view body, DWORD now);
    // A write of the unit's or a slot's settings, which a rack that refuses settings refuses.
    static bool IsSettingWrite(char lead, std::string_view body);
    static bool IsSlotSettingWrite(char lead, std::string_view body);
    std::string SlotTable() const;

    std::array<std::unique_ptr<CSimSlot>, 8> m_slots;
    BYTE m_nWdtEnables = 0;
    std::string m_strWdtTimeout = "010";
    std::string m_strModbusParity = "00C";
};
