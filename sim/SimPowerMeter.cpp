#include "SimPowerMeter.h"

#include "SimCodec.h"

#include <cctype>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <stdexcept>

namespace {

constexpr WORD kRegReadings = 0x0300;

// How the meter stores a reading: registers it takes, the factor from its unit to the raw integer.
struct SSimReading {
    int nRegisters;
    double dScale;
};

constexpr std::array<SSimReading, kSimPowerQuantities> kReadings = {{
    {1, 100},   {1, 100},   {1, 100},              // V1-V3
    {1, 1000},  {1, 1000},  {1, 1000},  {1, 1000}, // I1-I3, In
    {1, 10},    {1, 10},    {1, 10},    {2, 10},   // P1-P3, P
    {1, 10},    {1, 10},    {1, 10},    {2, 10},   // Q1-Q3, Q
    {1, 10},    {1, 10},    {1, 10},    {2, 10},   // S1-S3, S
    {1, 10000}, {1, 10000}, {1, 10000}, {1, 100},  // PF1-PF3, F
    {2, 1e6},   {2, 1e6},   {2, 1e6},   {2, 1e6},  // Epi, Epo, EQind, EQcap
}};

// The six ASCII groups ("#AAA" to "#AAF") as register ranges.
struct SSimGroup {
    WORD nFirst;
    WORD nCount;
};
constexpr std::array<SSimGroup, 6> kGroups = {{
    {0x0300, 7},
    {0x0307, 5},
    {0x030C, 5},
    {0x0311, 5},
    {0x0316, 4},
    {0x031A, 8},
}};

// A ratio as the meter takes it: exactly four hex digits, either case.
std::optional<WORD> ParseRatio(std::string_view digits)
{
    if (digits.size() != 4) return std::nullopt;
    std::string upper(digits);
    for (char& c : upper) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    std::optional<unsigned> value = SimParseHex(upper);
    if (!value) return std::nullopt;
    return static_cast<WORD>(*value);
}

} // namespace

CSimPowerMeter::CSimPowerMeter(std::string model) : CSimModule(std::move(model), kAsciiType)
{
    // A balanced, slightly inductive load on a 230 V, 50 Hz supply.
    const double volts[3] = {230.06, 229.80, 231.20};
    const double amps[3] = {5.0, 4.9, 5.1};
    const double pf[3] = {0.95, 0.90, 0.85};
    double p = 0, q = 0, s = 0;
    for (int phase = 0; phase < 3; ++phase) {
        double va = volts[phase] * amps[phase];
        double w = va * pf[phase];
        double var = std::sqrt(va * va - w * w);
        SetInput(kSimV1 + phase, volts[phase]);
        SetInput(kSimI1 + phase, amps[phase]);
        SetInput(kSimP1 + phase, w);
        SetInput(kSimQ1 + phase, var);
        SetInput(kSimS1 + phase, va);
        SetInput(kSimPF1 + phase, pf[phase]);
        p += w;
        q += var;
        s += va;
    }
    SetInput(kSimIn, 0.2);
    SetInput(kSimP, p);
    SetInput(kSimQ, q);
    SetInput(kSimS, s);
    SetInput(kSimF, 50.0);
    SetInput(kSimEpi, 1234.56789);
    SetInput(kSimEpo, 12.5);
    SetInput(kSimEQind, 345.678);
    SetInput(kSimEQcap, 0.066);
}

bool CSimPowerMeter::HasDigitalIo() const
{
    return Model().find("6539") != std::string::npos;
}

bool CSimPowerMeter::SetOption(std::string_view key, std::string_view value)
{
    WORD* ratio = key == "pt" ? &m_nPt : key == "ct" ? &m_nCt : nullptr;
    if (!ratio) return false;
    unsigned parsed = 0;
    auto [end, error] = std::from_chars(value.data(), value.data() + value.size(), parsed);
    if (value.empty() || error != std::errc() || end != value.data() + value.size() ||
        parsed > 0xFFFF)
        throw std::invalid_argument("a ratio is 0 to 65535, not '" + std::string(value) + "'");
    *ratio = static_cast<WORD>(parsed);
    return true;
}

void CSimPowerMeter::SetInput(int quantity, double value)
{
    if (quantity < 0 || quantity >= kSimPowerQuantities) return;
    const SSimReading& reading = kReadings[static_cast<size_t>(quantity)];
    auto raw = static_cast<long long>(std::llround(value * reading.dScale));
    DWORD mask = reading.nRegisters == 2 ? 0xFFFFFFFFu : 0xFFFFu;
    m_raw[static_cast<size_t>(quantity)] = static_cast<DWORD>(raw) & mask;
}

void CSimPowerMeter::SetDigitalInput(int index, bool on)
{
    if (index == 0) m_bInput = on;
}

std::optional<WORD> CSimPowerMeter::ReadRegister(WORD reg, DWORD /*now*/)
{
    return Register(reg);
}

std::optional<WORD> CSimPowerMeter::Register(WORD reg) const
{
    WORD at = kRegReadings;
    for (size_t i = 0; i < kReadings.size(); ++i) {
        int count = kReadings[i].nRegisters;
        if (reg >= at && reg < at + count) {
            int shift = 16 * (at + count - 1 - reg); // high word first
            return static_cast<WORD>(m_raw[i] >> shift);
        }
        at = static_cast<WORD>(at + count);
    }
    return std::nullopt;
}

std::string CSimPowerMeter::Group(int group) const
{
    std::string text = ">";
    const SSimGroup& g = kGroups[static_cast<size_t>(group)];
    for (WORD i = 0; i < g.nCount; ++i) text += SimHex4(*Register(static_cast<WORD>(g.nFirst + i)));
    return text;
}

std::optional<std::string> CSimPowerMeter::OnAscii(char lead, std::string_view body, DWORD /*now*/)
{
    if (lead == '#' && body.size() == 1 && body[0] >= 'A' && body[0] <= 'F')
        return Group(body[0] - 'A');
    if (lead == '$') return Ratio(body);
    if (lead == '@') return DigitalIo(body);
    if (lead == '%') return ConfigureOrSwitch(body);
    return std::nullopt;
}

// "$AA3" / "$AA4" read the PT / CT ratio ("!AA" and four hex digits); "$AA5hhhh" / "$AA6hhhh" set
// it.
std::optional<std::string> CSimPowerMeter::Ratio(std::string_view body)
{
    if (body.empty() || body[0] < '3' || body[0] > '6') return std::nullopt;
    WORD& ratio = body[0] == '3' || body[0] == '5' ? m_nPt : m_nCt;
    if (body[0] <= '4') return body.size() == 1 ? Ack() + SimHex4(ratio) : Refuse();
    auto value = ParseRatio(body.substr(1));
    if (!value) return Refuse();
    ratio = *value;
    return Ack();
}

// "@AAS": "!AA", the input digit (0 while the input is closed, else 1) and the output digit (bit 0
// plus twice bit 1). "@AAOd" sets the outputs to d (0 to 3). Only the 6539 has them.
std::optional<std::string> CSimPowerMeter::DigitalIo(std::string_view body)
{
    if (!HasDigitalIo()) return Refuse();
    if (body == "S") return Ack() + (m_bInput ? "0" : "1") + static_cast<char>('0' + m_nOutputs);
    if (body.size() == 2 && body[0] == 'O' && body[1] >= '0' && body[1] <= '3') {
        m_nOutputs = static_cast<BYTE>(body[1] - '0');
        return Ack();
    }
    return Refuse();
}

// Type "01" keeps the ASCII command set. Type "02" is the switch to Modbus RTU: the meter takes
// the rest of the command as with "01", goes over at once and has nothing more to say in ASCII.
std::string CSimPowerMeter::ConfigureOrSwitch(std::string_view fields)
{
    if (fields.size() != 8 || fields.substr(2, 2) != "02") return Configure(fields);
    std::string asAscii(fields);
    asAscii.replace(2, 2, SimHexPair(kAsciiType));
    std::string reply = Configure(asAscii);
    if (reply.empty() || reply[0] != '!') return reply;
    SetProtocol(ESimProtocol::Rtu);
    return std::string();
}
