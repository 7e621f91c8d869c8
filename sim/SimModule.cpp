#include "SimModule.h"

#include "SimCodec.h"

#include <stdexcept>

namespace {

constexpr BYTE kChecksumBit = 0x40;
constexpr WORD kRegProbe2710 = 0x2710;
constexpr WORD kRegProbe00D2 = 0x00D2;
constexpr WORD kRegTypes = 0x00C8;
constexpr WORD kRegProtocol = 0x080D;
constexpr WORD kRegSlaveAddress = 0x0812;
constexpr WORD kMaxReadRegisters = 125;
constexpr WORD kMaxReadCoils = 2000;

WORD Word(std::string_view bytes, size_t at)
{
    return static_cast<WORD>(static_cast<unsigned char>(bytes[at]) << 8 |
                             static_cast<unsigned char>(bytes[at + 1]));
}

std::string WordBytes(WORD value)
{
    return {static_cast<char>(value >> 8), static_cast<char>(value & 0xFF)};
}

std::string Exception(BYTE function, BYTE code)
{
    return {static_cast<char>(function | 0x80), static_cast<char>(code)};
}

// Deterministic line noise: any byte but CR, so an ASCII reader still sees the reply end.
std::string Garbage(int count, int seed)
{
    std::string out;
    unsigned state = 0x2545F491u + static_cast<unsigned>(seed) * 2654435761u;
    while (static_cast<int>(out.size()) < count) {
        state = state * 1103515245u + 12345u;
        char c = static_cast<char>((state >> 16) & 0xFF);
        if (c != '\r') out.push_back(c);
    }
    return out;
}

} // namespace

CSimModule::CSimModule(std::string model, BYTE type, int channelTypes, BYTE channelType)
    : m_strModel(std::move(model)), m_nType(type),
      m_vecChannelTypes(static_cast<size_t>(channelTypes), channelType)
{
}

void CSimModule::SetBaud(DWORD baud)
{
    if (SimBaudCode(baud) == 0) throw std::invalid_argument("baud rate not in the baud table");
    m_dwBaud = baud;
}

void CSimModule::SetParity(int parity)
{
    if (parity < 0 || parity > 2) throw std::invalid_argument("parity must be 0, 1 or 2");
    m_nParity = parity;
}

void CSimModule::SetFormat(BYTE format)
{
    if (!AcceptsDataFormat(format)) throw std::invalid_argument("data format not taken");
    m_nFormat = static_cast<BYTE>(format & ~kChecksumBit);
}

void CSimModule::SetType(BYTE type)
{
    if (!AcceptsType(type)) throw std::invalid_argument("type code not taken by " + m_strModel);
    m_nType = type;
}

BYTE CSimModule::ChannelType(int channel) const
{
    return m_vecChannelTypes.at(static_cast<size_t>(channel));
}

void CSimModule::SetChannelType(int channel, BYTE type)
{
    if (channel < 0 || channel >= ChannelTypeCount())
        throw std::invalid_argument(m_strModel + " has no type for channel " +
                                    std::to_string(channel));
    if (!AcceptsChannelType(type)) throw std::invalid_argument("channel type not taken");
    m_vecChannelTypes.at(static_cast<size_t>(channel)) = type;
}

WORD CSimModule::ModelWord() const
{
    WORD word = 0;
    for (size_t i = 0; i < 4 && i < m_strModel.size(); ++i) {
        auto nibble = SimParseHex(m_strModel.substr(i, 1));
        word = static_cast<WORD>(word << 4 | (nibble ? *nibble : 0));
    }
    return word;
}

BYTE CSimModule::TypeOf(int channel) const
{
    return m_vecChannelTypes.empty() ? m_nType : ChannelType(channel);
}

std::string CSimModule::Ack() const
{
    return "!" + SimHexPair(EffectiveAddress());
}
std::string CSimModule::Refuse() const
{
    return "?" + SimHexPair(EffectiveAddress());
}

bool CSimModule::Hears(ESimProtocol protocol, const SSimLine& line) const
{
    // INIT* forces the module's factory line settings.
    ESimProtocol own = m_bInit ? ESimProtocol::Ascii : m_eProtocol;
    DWORD baud = m_bInit ? 9600 : m_dwBaud;
    int parity = m_bInit ? 0 : m_nParity;
    return own == protocol && line.dwBaud == baud && line.nDataBits == 8 &&
           (line.nParity < 0 || line.nParity == parity);
}

std::optional<SSimAnswer> CSimModule::Answer(ESimProtocol protocol, std::string_view request,
                                             DWORD now)
{
    if (m_faults.nSilentAfter == 0) return std::nullopt;
    auto bytes =
        protocol == ESimProtocol::Ascii ? AnswerAscii(request, now) : AnswerRtu(request, now);
    if (!bytes) return std::nullopt;
    if (m_faults.bHangUp) return SSimAnswer{"", 0, true};
    ++m_nReplies;
    if (m_faults.nSilentAfter > 0) --m_faults.nSilentAfter;
    return SSimAnswer{ApplyFaults(std::move(*bytes), protocol), m_faults.dwDelayMs, false};
}

std::string CSimModule::ApplyFaults(std::string bytes, ESimProtocol protocol) const
{
    bool ascii = protocol == ESimProtocol::Ascii;
    if (m_faults.bBlank) return ascii ? "\r" : "";
    if (m_faults.nGarbage > 0) bytes = Garbage(m_faults.nGarbage, m_nReplies) + (ascii ? "\r" : "");
    int body = static_cast<int>(bytes.size()) - (ascii ? 1 : 0);
    if (m_faults.nLongTo > body)
        bytes.insert(bytes.size() - (ascii ? 1 : 0), static_cast<size_t>(m_faults.nLongTo - body),
                     ascii ? '0' : '\0');
    if (m_faults.nCutTo >= 0 && static_cast<size_t>(m_faults.nCutTo) < bytes.size())
        bytes.resize(static_cast<size_t>(m_faults.nCutTo));
    return bytes;
}

// ---- ASCII ----

std::optional<std::string> CSimModule::AnswerAscii(std::string_view text, DWORD now)
{
    static constexpr std::string_view kLeads = "$#%@~";
    if (text.size() < 3 || kLeads.find(text[0]) == std::string_view::npos) return std::nullopt;
    auto address = SimParseHex(text.substr(1, 2));
    if (!address || *address != EffectiveAddress()) return std::nullopt;
    // The reply is framed with the checksum setting the request arrived under, even when the
    // request changes it.
    bool checksum = EffectiveChecksum();
    std::string_view body = text.substr(3);
    if (checksum) {
        if (body.size() < 2) return std::nullopt;
        std::string_view digits = text.substr(text.size() - 2);
        if (digits != SimAsciiChecksum(text.substr(0, text.size() - 2))) return std::nullopt;
        body.remove_suffix(2);
    }
    std::string reply = DispatchAscii(text[0], body, now);
    if (reply.empty()) return std::nullopt;
    if (checksum) reply += SimAsciiChecksum(reply);
    return reply + '\r';
}

std::string CSimModule::DispatchAscii(char lead, std::string_view body, DWORD now)
{
    if (auto reply = OnAscii(lead, body, now)) return *reply;
    if (auto reply = IdentityAscii(lead, body)) return *reply;
    return Refuse();
}

std::optional<std::string> CSimModule::IdentityAscii(char lead, std::string_view body)
{
    if (lead == '%') return Configure(body);
    if (lead != '$') return std::nullopt;
    if (body == "M") return Ack() + m_strModel;
    if (body == "2")
        return Ack() + SimHexPair(m_nType) + SimHexPair(SimBaudCode(m_dwBaud)) +
               SimHexPair(ReportedFormat() | (m_bChecksum ? kChecksumBit : 0));
    if (body == "R1") {
        if (m_faults.bRefuseSettings) return Refuse();
        // The module goes over to Modbus RTU at once and has nothing to say in ASCII any more.
        m_eProtocol = ESimProtocol::Rtu;
        return std::string();
    }
    return ChannelTypeAscii(body);
}

// "%AANNTTCCFF". A real module takes a new address, type and data format at any time, but a new
// baud rate or checksum setting only in its INIT state (INIT* wired to GND): otherwise a host
// could lose the module by a typing error, so it refuses with "?AA" and changes nothing.
std::string CSimModule::Configure(std::string_view fields)
{
    if (m_faults.bRefuseSettings || fields.size() != 8) return Refuse();
    auto address = SimParseHex(fields.substr(0, 2));
    auto type = SimParseHex(fields.substr(2, 2));
    auto baudCode = SimParseHex(fields.substr(4, 2));
    auto format = SimParseHex(fields.substr(6, 2));
    if (!address || !type || !baudCode || !format) return Refuse();
    DWORD baud = SimBaudOfCode(static_cast<BYTE>(*baudCode));
    bool checksum = (*format & kChecksumBit) != 0;
    if (!AcceptsType(static_cast<BYTE>(*type)) || baud == 0 ||
        !AcceptsDataFormat(static_cast<BYTE>(*format)))
        return Refuse();
    if (!m_bInit && (baud != m_dwBaud || checksum != m_bChecksum)) return Refuse();
    m_nAddress = static_cast<BYTE>(*address);
    m_nType = static_cast<BYTE>(*type);
    m_dwBaud = baud;
    m_bChecksum = checksum;
    ApplyFormat(static_cast<BYTE>(*format & ~kChecksumBit));
    return "!" + SimHexPair(*address);
}

// "$AA8Ci" reads channel i's type ("!AACiRrr"); "$AA7CiRrr" sets it.
std::optional<std::string> CSimModule::ChannelTypeAscii(std::string_view body)
{
    if (m_vecChannelTypes.empty() || body.size() < 3 || body[1] != 'C') return std::nullopt;
    if (body[0] != '8' && body[0] != '7') return std::nullopt;
    int channel = body[2] - '0';
    if (channel < 0 || channel >= ChannelTypeCount()) return Refuse();
    if (body[0] == '8') {
        if (body.size() != 3) return Refuse();
        return Ack() + "C" + body[2] + "R" + SimHexPair(ChannelType(channel));
    }
    auto type = body.size() == 6 && body[3] == 'R' ? SimParseHex(body.substr(4, 2)) : std::nullopt;
    if (!type || !AcceptsChannelType(static_cast<BYTE>(*type))) return Refuse();
    m_vecChannelTypes[static_cast<size_t>(channel)] = static_cast<BYTE>(*type);
    return Ack();
}

// ---- Modbus RTU ----

std::optional<std::string> CSimModule::AnswerRtu(std::string_view frame, DWORD now)
{
    if (!SimCrcValid(frame)) return std::nullopt;
    BYTE address = static_cast<BYTE>(frame[0]);
    // Address 0 is the broadcast: every module carries it out and none answers.
    if (address != 0 && address != m_nAddress) return std::nullopt;
    std::string reply = Modbus(frame.substr(1, frame.size() - 3), now);
    if (address == 0) return std::nullopt;
    return SimAppendCrc(static_cast<char>(address) + reply);
}

std::string CSimModule::Modbus(std::string_view pdu, DWORD now)
{
    BYTE function = static_cast<BYTE>(pdu[0]);
    bool known = function == 0x01 || function == 0x03 || function == 0x04 || function == 0x05 ||
                 function == 0x06;
    if (!known) return Exception(function, kSimIllegalFunction);
    // Every function served here carries a 16-bit address and a 16-bit count or value.
    if (pdu.size() != 5) return Exception(function, kSimIllegalValue);
    switch (function) {
    case 0x01:
        return ReadCoils(pdu, now);
    case 0x05:
        return WriteSingleCoil(pdu);
    case 0x06:
        return WriteSingleRegister(pdu);
    default:
        return ReadRegisters(pdu, now);
    }
}

std::string CSimModule::ReadRegisters(std::string_view pdu, DWORD now)
{
    BYTE function = static_cast<BYTE>(pdu[0]);
    WORD start = Word(pdu, 1);
    WORD count = Word(pdu, 3);
    if (count == 0 || count > kMaxReadRegisters) return Exception(function, kSimIllegalValue);
    std::string data;
    for (WORD i = 0; i < count; ++i) {
        WORD reg = static_cast<WORD>(start + i);
        auto value = ReadSharedRegister(reg);
        if (!value) value = ReadRegister(reg, now);
        if (!value) return Exception(function, kSimIllegalAddress);
        data += WordBytes(*value);
    }
    return std::string{static_cast<char>(function), static_cast<char>(data.size())} + data;
}

std::string CSimModule::ReadCoils(std::string_view pdu, DWORD now)
{
    WORD start = Word(pdu, 1);
    WORD count = Word(pdu, 3);
    if (count == 0 || count > kMaxReadCoils) return Exception(0x01, kSimIllegalValue);
    std::string data((count + 7) / 8, '\0');
    for (WORD i = 0; i < count; ++i) {
        auto on = ReadCoil(static_cast<WORD>(start + i), now);
        if (!on) return Exception(0x01, kSimIllegalAddress);
        if (*on) data[i / 8] = static_cast<char>(data[i / 8] | (1 << (i % 8)));
    }
    return std::string{0x01, static_cast<char>(data.size())} + data;
}

std::string CSimModule::WriteSingleRegister(std::string_view pdu)
{
    WORD reg = Word(pdu, 1);
    WORD value = Word(pdu, 3);
    auto shared = WriteSharedRegister(reg, value);
    BYTE code = shared ? *shared : WriteRegister(reg, value);
    return code == kSimOk ? std::string(pdu) : Exception(0x06, code);
}

std::string CSimModule::WriteSingleCoil(std::string_view pdu)
{
    WORD value = Word(pdu, 3);
    if (value != 0xFF00 && value != 0x0000) return Exception(0x05, kSimIllegalValue);
    BYTE code = WriteCoil(Word(pdu, 1), value == 0xFF00);
    return code == kSimOk ? std::string(pdu) : Exception(0x05, code);
}

std::optional<WORD> CSimModule::ReadSharedRegister(WORD reg) const
{
    if ((m_nProbeMask & kSimProbe2710) && (reg == kRegProbe2710 || reg == kRegProbe2710 + 1))
        return reg == kRegProbe2710 ? ModelWord() : 0;
    if ((m_nProbeMask & kSimProbe00D2) && (reg == kRegProbe00D2 || reg == kRegProbe00D2 + 1))
        return reg == kRegProbe00D2 ? ModelWord() : 0;
    if (reg == kRegProtocol) return 0; // the module is speaking RTU
    if (reg == kRegSlaveAddress) return m_nAddress;
    size_t types = m_vecChannelTypes.empty() ? 1 : m_vecChannelTypes.size();
    if (reg >= kRegTypes && reg < kRegTypes + types) return TypeOf(reg - kRegTypes);
    return std::nullopt;
}

// The new address or protocol takes effect once the echo has gone out (the echo is built from the
// request, so changing the state here is already "after").
std::optional<BYTE> CSimModule::WriteSharedRegister(WORD reg, WORD value)
{
    bool setting = reg == kRegProtocol || reg == kRegSlaveAddress;
    if (setting && m_faults.bRefuseSettings) return kSimIllegalValue;
    if (reg == kRegProtocol) {
        if (value > 1) return kSimIllegalValue;
        if (value == 1) m_eProtocol = ESimProtocol::Ascii;
        return kSimOk;
    }
    if (reg == kRegSlaveAddress) {
        // 0 is the broadcast address: a module there could never answer again.
        if (value == 0 || value > 0xFF) return kSimIllegalValue;
        m_nAddress = static_cast<BYTE>(value);
        return kSimOk;
    }
    size_t types = m_vecChannelTypes.empty() ? 1 : m_vecChannelTypes.size();
    if (reg >= kRegTypes && reg < kRegTypes + types) {
        bool perChannel = !m_vecChannelTypes.empty();
        BYTE type = static_cast<BYTE>(value);
        bool ok = value <= 0xFF && (perChannel ? AcceptsChannelType(type) : AcceptsType(type));
        if (!ok) return kSimIllegalValue;
        (perChannel ? m_vecChannelTypes[reg - kRegTypes] : m_nType) = type;
        return kSimOk;
    }
    bool probe = reg == kRegProbe2710 || reg == kRegProbe2710 + 1 || reg == kRegProbe00D2 ||
                 reg == kRegProbe00D2 + 1;
    if (probe) return kSimIllegalAddress;
    return std::nullopt;
}
