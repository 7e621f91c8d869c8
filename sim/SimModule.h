// One simulated module: the identity every model shares (name, configuration, the "%" command,
// checksum framing, the Modbus RTU frame and the model probes) and the hooks through which a
// family adds its own commands and registers. A family is one class derived from CSimModule.
#pragma once

#include "wintypes.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

enum class ESimProtocol { Ascii, Rtu };

// The settings of the line a request travels on.
struct SSimLine {
    DWORD dwBaud = 9600;
    int nParity = 0; // 0 None, 1 Even, 2 Odd; -1 when the transport cannot tell
    int nDataBits = 8;
};

// Misbehaviour on demand. Every field's default means "behave".
struct SSimFaults {
    DWORD dwDelayMs = 0;   // every reply leaves this late
    int nCutTo = -1;       // every reply is cut to this many bytes (an ASCII reply loses its CR)
    int nGarbage = 0;      // every reply is replaced by this many garbage bytes (ASCII: then CR)
    int nLongTo = 0;       // every reply is padded to this many characters (ASCII: before its CR)
    int nSilentAfter = -1; // the module gives this many more replies, then stops answering
    bool bHangUp = false;  // the next request addressed to the module closes the line instead
    bool bBlank = false;   // every ASCII reply is its carriage return alone; RTU replies are lost
    // Every configuration is refused and changes nothing: "%" and "$AAR1" get "?AA", a write of
    // the address or protocol register an illegal-value exception; a rack refuses its watchdog
    // writes and its slots' configuration writes too.
    bool bRefuseSettings = false;
};

// What a module puts on the line for one request.
struct SSimAnswer {
    std::string strBytes; // ASCII: the reply and its CR; RTU: the frame with its CRC
    DWORD dwDelayMs = 0;
    bool bHangUp = false;
};

// Probe registers that a module answers (the search asks 0x2710 first, then 0x00D2).
enum : unsigned { kSimProbe2710 = 1, kSimProbe00D2 = 2 };

// Modbus exception codes.
enum : BYTE { kSimOk = 0, kSimIllegalFunction = 1, kSimIllegalAddress = 2, kSimIllegalValue = 3 };

class CSimModule {
public:
    virtual ~CSimModule() = default;
    CSimModule(const CSimModule&) = delete;
    CSimModule& operator=(const CSimModule&) = delete;

    // Configuration. The setters throw std::invalid_argument for a value the model does not take.
    const std::string& Model() const { return m_strModel; }
    BYTE Address() const { return m_nAddress; }
    void SetAddress(BYTE address) { m_nAddress = address; }
    DWORD Baud() const { return m_dwBaud; }
    void SetBaud(DWORD baud);
    int Parity() const { return m_nParity; }
    void SetParity(int parity);
    bool Checksum() const { return m_bChecksum; }
    void SetChecksum(bool on) { m_bChecksum = on; }
    ESimProtocol Protocol() const { return m_eProtocol; }
    void SetProtocol(ESimProtocol protocol) { m_eProtocol = protocol; }
    // The data-format byte as the module stores it, without the checksum bit.
    BYTE Format() const { return m_nFormat; }
    void SetFormat(BYTE format);
    // The module's type or range code; "FF" for the models with one type per channel.
    BYTE Type() const { return m_nType; }
    void SetType(BYTE type);
    // Per-channel types (models with one type per channel; 0 channels otherwise).
    int ChannelTypeCount() const { return static_cast<int>(m_vecChannelTypes.size()); }
    BYTE ChannelType(int channel) const;
    void SetChannelType(int channel, BYTE type);
    // INIT* wired to GND: the module answers in ASCII at address 00, 9600 baud, no parity and no
    // checksum, and accepts a new baud rate or checksum setting.
    bool Init() const { return m_bInit; }
    void SetInit(bool on) { m_bInit = on; }
    // Which of the two model probes the module answers (kSimProbe2710 | kSimProbe00D2 by default).
    void SetProbeRegisters(unsigned mask) { m_nProbeMask = mask; }
    SSimFaults& Faults() { return m_faults; }
    // The module's 16-bit model number as the probes report it: the first four characters of the
    // name as hex nibbles ("6384" gives 0x6384, "9384P" gives 0x9384).
    WORD ModelWord() const;

    // Inputs the test sets; families without such inputs ignore them.
    virtual void SetInput(int /*channel*/, double /*value*/) {}
    virtual void SetDigitalInput(int /*index*/, bool /*on*/) {}
    // A family's own bus-file key; false when the family has no such key.
    virtual bool SetOption(std::string_view /*key*/, std::string_view /*value*/) { return false; }

    // True when a request of that protocol on that line reaches the module.
    bool Hears(ESimProtocol protocol, const SSimLine& line) const;
    // The module's answer to one request it hears: ASCII text without its CR, or an RTU frame.
    // nullopt when it stays silent. now is the bus time in ms (drives the live readings).
    std::optional<SSimAnswer> Answer(ESimProtocol protocol, std::string_view request, DWORD now);

protected:
    // channelTypes: number of channels with a type of their own (0: one type for the module),
    // each starting at channelType.
    CSimModule(std::string model, BYTE type, int channelTypes = 0, BYTE channelType = 0);

    // A family command: the reply text without checksum and CR, "" to stay silent, or nullopt
    // when the family does not know the command (the identity commands are tried next).
    virtual std::optional<std::string> OnAscii(char /*lead*/, std::string_view /*body*/,
                                               DWORD /*now*/)
    {
        return std::nullopt;
    }
    // Codes the model takes as its type (the "%" command's TT) and as a channel type.
    virtual bool AcceptsType(BYTE type) const = 0;
    virtual bool AcceptsChannelType(BYTE /*type*/) const { return false; }
    // Data formats the model takes (bits 0-1 of the format byte).
    virtual bool AcceptsDataFormat(BYTE format) const { return (format & 0x03) != 0x03; }
    // The format byte as "$AA2" reports it, checksum bit excluded.
    virtual BYTE ReportedFormat() const { return m_nFormat; }
    // A new format byte from the "%" command, checksum bit excluded.
    virtual void ApplyFormat(BYTE format) { m_nFormat = format; }
    // Family registers and coils: nullopt / kSimIllegalAddress when the module has none there.
    virtual std::optional<WORD> ReadRegister(WORD /*reg*/, DWORD /*now*/) { return std::nullopt; }
    virtual BYTE WriteRegister(WORD /*reg*/, WORD /*value*/) { return kSimIllegalAddress; }
    virtual std::optional<bool> ReadCoil(WORD /*coil*/, DWORD /*now*/) { return std::nullopt; }
    virtual BYTE WriteCoil(WORD /*coil*/, bool /*on*/) { return kSimIllegalAddress; }

    // Reply heads for the address the module answers at: "!AA" and the refusal "?AA".
    std::string Ack() const;
    std::string Refuse() const;
    // The type in force for a channel: its own type, or the module's.
    BYTE TypeOf(int channel) const;
    // The "%" command's fields after the lead and address: the reply, "!NN" or the refusal.
    std::string Configure(std::string_view fields);

private:
    BYTE EffectiveAddress() const { return m_bInit ? 0 : m_nAddress; }
    bool EffectiveChecksum() const { return !m_bInit && m_bChecksum; }
    std::optional<std::string> AnswerAscii(std::string_view text, DWORD now);
    std::optional<std::string> AnswerRtu(std::string_view frame, DWORD now);
    std::string DispatchAscii(char lead, std::string_view body, DWORD now);
    std::optional<std::string> IdentityAscii(char lead, std::string_view body);
    std::optional<std::string> ChannelTypeAscii(std::string_view body);
    std::string Modbus(std::string_view pdu, DWORD now);
    std::string ReadRegisters(std::string_view pdu, DWORD now);
    std::string ReadCoils(std::string_view pdu, DWORD now);
    std::string WriteSingleRegister(std::string_view pdu);
    std::string WriteSingleCoil(std::string_view pdu);
    std::optional<WORD> ReadSharedRegister(WORD reg) const;
    std::optional<BYTE> WriteSharedRegister(WORD reg, WORD value);
    std::string ApplyFaults(std::string bytes, ESimProtocol protocol) const;

    std::string m_strModel;
    BYTE m_nAddress = 1;
    DWORD m_dwBaud = 9600;
    int m_nParity = 0;
    bool m_bChecksum = false;
    ESimProtocol m_eProtocol = ESimProtocol::Ascii;
    BYTE m_nFormat = 0;
    BYTE m_nType;
    std::vector<BYTE> m_vecChannelTypes;
    bool m_bInit = false;
    unsigned m_nProbeMask = kSimProbe2710 | kSimProbe00D2;
    SSimFaults m_faults;
    int m_nReplies = 0; // seeds the garbage, so each garbled reply differs
};
