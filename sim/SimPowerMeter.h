// The three-phase power meters ("6530", "6539"): 27 readings in holding registers 0x0300-0x0321
// (a 32-bit value high word first), the same registers in six ASCII groups ("#AAA" to "#AAF"),
// PT and CT ratios, and on the 6539 one digital input and two digital outputs. A "%" command with
// type "02" moves the meter to Modbus RTU; register 0x080D moves it back.
#pragma once

#include "SimModule.h"

#include <array>

// The readings in register order; SetInput(quantity, value) holds one at a value in its unit.
enum ESimPowerQuantity {
    kSimV1,
    kSimV2,
    kSimV3,
    kSimI1,
    kSimI2,
    kSimI3,
    kSimIn,
    kSimP1,
    kSimP2,
    kSimP3,
    kSimP,
    kSimQ1,
    kSimQ2,
    kSimQ3,
    kSimQ,
    kSimS1,
    kSimS2,
    kSimS3,
    kSimS,
    kSimPF1,
    kSimPF2,
    kSimPF3,
    kSimF,
    kSimEpi,
    kSimEpo,
    kSimEQind,
    kSimEQcap,
    kSimPowerQuantities
};

class CSimPowerMeter : public CSimModule {
public:
    explicit CSimPowerMeter(std::string model);

    // Holds a reading at value (volts, amperes, watts, ..., kWh); it is stored as the meter's raw
    // integer (value times the reading's scale, rounded, in the reading's width).
    void SetInput(int quantity, double value) override;
    // The 6539's input: on while the input is closed.
    void SetDigitalInput(int index, bool on) override;
    WORD PtRatio() const { return m_nPt; }
    WORD CtRatio() const { return m_nCt; }
    void SetPtRatio(WORD ratio) { m_nPt = ratio; }
    void SetCtRatio(WORD ratio) { m_nCt = ratio; }
    // Output bit 0 and bit 1 of the 6539 (0 to 3).
    BYTE Outputs() const { return m_nOutputs; }
    bool HasDigitalIo() const;
    // "pt=N" and "ct=N": the ratios, 0 to 65535.
    bool SetOption(std::string_view key, std::string_view value) override;

protected:
    std::optional<std::string> OnAscii(char lead, std::string_view body, DWORD now) override;
    bool AcceptsType(BYTE type) const override { return type == kAsciiType; }
    std::optional<WORD> ReadRegister(WORD reg, DWORD now) override;

private:
    static constexpr BYTE kAsciiType = 0x01;

    std::optional<std::string> Ratio(std::string_view body);
    std::optional<std::string> DigitalIo(std::string_view body);
    std::string ConfigureOrSwitch(std::string_view fields);
    std::optional<WORD> Register(WORD reg) const;
    std::string Group(int group) const;

    std::array<DWORD, kSimPowerQuantities> m_raw{};
    WORD m_nPt = 1;
    WORD m_nCt = 1;
    BYTE m_nOutputs = 0;
    bool m_bInput = false;
};
