#include "SimRack.h"

#include "SimCodec.h"
#include "SimRackAnalog.h"

#include <cmath>
#include <cstdio>
#include <sstream>
#include <stdexcept>

namespace {

constexpr const char* kEmptySlot = "FF";

// A digital model: which channels are inputs and outputs, and how many status digits it fills
// (from the right: 2 digits = channels 0-7).
struct SDigitalModel {
    const char* pszCode;
    WORD nInputs;
    WORD nOutputs;
};

constexpr SDigitalModel kDigitalModels[] = {
    {"27", 0x0000, 0xFFFF}, // 1327
    {"71", 0x0000, 0x00FF}, // 1371: its status puts DO0-7 in digits 3 and 4
    {"23", 0xFFFF, 0xFFFF}, // 1323: by direction
    {"28", 0xFFFF, 0x0000}, // 1328
    {"25", 0x00FF, 0x0000}, // 1325
};

const SDigitalModel& DigitalModel(const std::string& code)
{
    for (const SDigitalModel& model : kDigitalModels)
        if (code == model.pszCode) return model;
    throw std::invalid_argument("no digital slot model " + code);
}

// The range of an output by its range digit.
bool InRange(char range, double value)
{
    double high = range == '2' ? 10.0 : 20.0;
    double low = range == '1' ? 4.0 : 0.0;
    return value >= low && value <= high;
}

std::string OutputText(double value)
{
    char text[16];
    std::snprintf(text, sizeof text, "%06.3f", value);
    return text;
}

class CUnknownSlot : public CSimSlot {
public:
    explicit CUnknownSlot(std::string code) : CSimSlot(std::move(code)) {}
};

} // namespace

std::string CSimSlot::Command(char, std::string_view, DWORD)
{
    return "?";
}

std::unique_ptr<CSimSlot> SimCreateSlot(std::string_view code)
{
    if (code == kEmptySlot) return nullptr;
    for (const SDigitalModel& model : kDigitalModels)
        if (code == model.pszCode) return std::make_unique<CSimDigitalSlot>(std::string(code));
    if (code == "59") return std::make_unique<CSimAnalogOutputSlot>();
    if (code == "80" || code == "84" || code == "86")
        return std::make_unique<CSimAnalogInputSlot>(std::string(code));
    if (code == "4H") return std::make_unique<CSimSpeedInputSlot>();
    return std::make_unique<CUnknownSlot>(std::string(code));
}

// ---- digital slots

CSimDigitalSlot::CSimDigitalSlot(std::string code) : CSimSlot(std::move(code))
{
    DigitalModel(Code());
}

WORD CSimDigitalSlot::OutputMask() const
{
    WORD outputs = DigitalModel(Code()).nOutputs;
    return Code() == "23" ? static_cast<WORD>(outputs & ~m_nDirections) : outputs;
}

WORD CSimDigitalSlot::InputMask() const
{
    WORD inputs = DigitalModel(Code()).nInputs;
    return Code() == "23" ? static_cast<WORD>(inputs & m_nDirections) : inputs;
}

// "!" and four hex digits, channels 12-15 first. The 1371 reports DO0-7 in the first two digits.
std::string CSimDigitalSlot::Status() const
{
    WORD state = static_cast<WORD>((m_nOutputs & OutputMask()) | (m_nInputs & InputMask()));
    if (Code() == "71") state = static_cast<WORD>(state << 8);
    return "!" + SimHex4(state);
}

// "1" + channel (one hex digit) + "0" + state ("0" or "1"): answered with ">".
std::string CSimDigitalSlot::Switch(std::string_view body)
{
    auto channel = body.size() == 4 ? SimParseHex(body.substr(1, 1)) : std::nullopt;
    if (!channel || body[2] != '0' || (body[3] != '0' && body[3] != '1')) return "?";
    WORD bit = static_cast<WORD>(1u << *channel);
    if (!(OutputMask() & bit)) return "?";
    m_nOutputs = static_cast<WORD>(body[3] == '1' ? m_nOutputs | bit : m_nOutputs & ~bit);
    return ">";
}

std::string CSimDigitalSlot::Command(char lead, std::string_view body, DWORD)
{
    if (lead == '#' && !body.empty() && body[0] == '1') return Switch(body);
    if (lead != '$') return "?";
    if (body == "M") return "!13" + Code();
    if (body == "6") return Status();
    if (body == "7" && Code() == "23") return "!" + SimHex4(m_nDirections);
    return "?";
}

// ---- analog output slot

CSimAnalogOutputSlot::CSimAnalogOutputSlot() : CSimSlot("59") {}

std::string CSimAnalogOutputSlot::SetOutput(SChannel& ch, std::string_view text)
{
    auto value = SimParseNumber(text);
    if (!value || !InRange(ch.cRange, *value)) return "?";
    ch.dOutput = *value;
    return ">";
}

// The "$" bodies after "C<n>": "B" configuration, "6" read-back, "A3<d><SS>" range and slew,
// "4" output as start-up value, "3<HH>" trim nudge, "0"/"1" save the 4 mA / 20 mA trim.
std::string CSimAnalogOutputSlot::Setting(SChannel& ch, std::string_view body)
{
    if (body == "B") return "!3" + std::string(1, ch.cRange) + SimHexPair(ch.nSlew);
    if (body == "6") return "!" + OutputText(ch.dOutput);
    if (body == "4") {
        ch.dStartup = ch.dOutput;
        return "!";
    }
    if (body.size() == 5 && body.substr(0, 2) == "A3") {
        auto slew = SimParseHex(body.substr(3, 2));
        char range = body[2];
        if (range < '0' || range > '2' || !slew || (*slew & 0x03) || *slew > 0x2C) return "?";
        ch.cRange = range;
        ch.nSlew = static_cast<BYTE>(*slew);
        return "!";
    }
    if (body.size() == 3 && body[0] == '3') {
        auto step = SimParseHex(body.substr(1, 2));
        if (!step) return "?";
        ch.nTrimSteps += static_cast<signed char>(*step);
        return "!";
    }
    if (body == "0" || body == "1") {
        (body == "0" ? ch.nTrim4mA : ch.nTrim20mA) += ch.nTrimSteps;
        ch.nTrimSteps = 0;
        return "!";
    }
    return "?";
}

std::string CSimAnalogOutputSlot::Command(char lead, std::string_view body, DWORD)
{
    if (body.size() < 2 || body[0] != 'C' || body[1] < '0' || body[1] > '3') return "?";
    SChannel& ch = Channel(body[1] - '0');
    if (lead == '#') return SetOutput(ch, body.substr(2));
    if (lead == '$') return Setting(ch, body.substr(2));
    return "?";
}

// ---- main unit

CSimRack::CSimRack(std::string model) : CSimModule(std::move(model), 0) {}

void CSimRack::SetSlot(int slot, std::string_view code)
{
    if (code.size() != 2) throw std::invalid_argument("a slot code has two characters");
    SetSlot(slot, SimCreateSlot(code));
}

void CSimRack::SetSlot(int slot, std::unique_ptr<CSimSlot> module)
{
    if (slot < 0 || slot > 7) throw std::invalid_argument("slot must be 0 to 7");
    m_slots[static_cast<size_t>(slot)] = std::move(module);
}

bool CSimRack::SetOption(std::string_view key, std::string_view value)
{
    if (key != "slots") return false;
    std::istringstream in{std::string(value)};
    int slot = 0;
    for (std::string code; std::getline(in, code, ',');) SetSlot(slot++, code);
    for (; slot < 8; ++slot) SetSlot(slot, kEmptySlot);
    return true;
}

bool CSimRack::AcceptsDataFormat(BYTE format) const
{
    BYTE protocol = static_cast<BYTE>(format & ~0x40);
    return protocol == 0x00 || protocol == 0x04;
}

std::string CSimRack::SlotTable() const
{
    std::string table;
    for (const auto& slot : m_slots) table += slot ? slot->Code() : kEmptySlot;
    return table;
}

std::optional<std::string> CSimRack::OnAscii(char lead, std::string_view body, DWORD now)
{
    if ((lead == '$' || lead == '#') && !body.empty() && body[0] == 'S')
        return Relay(lead, body.substr(1), now);
    return MainUnit(lead, body);
}

// "%", and the watchdog writes: time-out digits, "XEW" enables, "XS<s>D" a slot's pattern.
bool CSimRack::IsSettingWrite(char lead, std::string_view body)
{
    if (lead == '%') return true;
    if (lead != '$' || body.empty() || body[0] != 'X') return false;
    std::string_view wdt = body.substr(1);
    bool timeout = !wdt.empty() && wdt.find_first_not_of("0123456789") == std::string_view::npos;
    return timeout || wdt.starts_with("EW") || (wdt.size() > 2 && wdt[0] == 'S' && wdt[2] == 'D');
}

// After the slot digit: "A..." the slot's configuration, "C<n>A<digit>..." a channel's (not its
// alarms, "C<n>AH"/"C<n>AL").
bool CSimRack::IsSlotSettingWrite(char lead, std::string_view body)
{
    if (lead != '$') return false;
    if (body.starts_with("A")) return true;
    return body.size() > 3 && body[0] == 'C' && body[2] == 'A' && body[3] >= '0' && body[3] <= '9';
}

std::optional<std::string> CSimRack::MainUnit(char lead, std::string_view body)
{
    if (Faults().bRefuseSettings && IsSettingWrite(lead, body)) return Refuse();
    if (lead == '%') return ConfigureRack(body);
    if (lead == '#' && body.substr(0, 2) == "OU") {
        std::string_view code = body.substr(2);
        if (code != "00C" && code != "02C" && code != "04C" && code != "00E") return Refuse();
        m_strModbusParity = std::string(code);
        return Ack();
    }
    if (lead != '$') return std::nullopt;
    if (body == "2")
        return Ack() + "00" + (Checksum() ? "4" : "0") + (Format() == 0x04 ? "4" : "0") + "0";
    if (body == "T") return Ack() + SlotTable();
    if (body == "OU") return ">" + Ack().substr(1) + m_strModbusParity;
    if (!body.empty() && body[0] == 'X') return Watchdog(body.substr(1));
    return std::nullopt;
}

// "%AA" + "00" + baud code + checksum digit ("4" on, "0" off) + protocol digit ("0" ASCII, "4"
// Modbus). A new baud rate or checksum setting only with INIT* at GND.
std::string CSimRack::ConfigureRack(std::string_view body)
{
    auto baudCode = body.size() == 6 && body.substr(0, 2) == "00" ? SimParseHex(body.substr(2, 2))
                                                                  : std::nullopt;
    DWORD baud = baudCode ? SimBaudOfCode(static_cast<BYTE>(*baudCode)) : 0;
    if (baud == 0 || (body[4] != '0' && body[4] != '4') || (body[5] != '0' && body[5] != '4'))
        return Refuse();
    bool checksum = body[4] == '4';
    if (!Init() && (baud != Baud() || checksum != Checksum())) return Refuse();
    SetBaud(baud);
    SetChecksum(checksum);
    SetFormat(body[5] == '4' ? 0x04 : 0x00);
    return Ack();
}

// After "X": "R" reads the time-out, digits write it, "ER" reads the slot enables, "EW<HH>" writes
// them, "S<s>..." the pattern of a slot.
std::string CSimRack::Watchdog(std::string_view body)
{
    if (body == "R") return Ack() + m_strWdtTimeout;
    if (body == "ER") return Ack() + SimHexPair(m_nWdtEnables);
    if (body.substr(0, 2) == "EW") {
        auto mask = body.size() == 4 ? SimParseHex(body.substr(2)) : std::nullopt;
        if (!mask) return Refuse();
        m_nWdtEnables = static_cast<BYTE>(*mask);
        return Ack();
    }
    if (!body.empty() && body[0] == 'S') return SlotWatchdog(body.substr(1));
    bool digits = !body.empty() && body.size() <= 3 &&
                  body.find_first_not_of("0123456789") == std::string_view::npos;
    if (!digits) return Refuse();
    m_strWdtTimeout = std::string(3 - body.size(), '0') + std::string(body);
    return Ack();
}

// "<s>" reads the pattern of slot s, "<s>D<HHHH>" writes it.
std::string CSimRack::SlotWatchdog(std::string_view body)
{
    if (body.empty() || body[0] < '0' || body[0] > '7') return Refuse();
    CSimSlot* slot = Slot(body[0] - '0');
    if (!slot || !slot->HasWatchdogPattern()) return Refuse();
    if (body.size() == 1) return Ack() + SimHex4(slot->WatchdogPattern());
    auto pattern = body.size() == 6 && body[1] == 'D' ? SimParseHex(body.substr(2)) : std::nullopt;
    if (!pattern) return Refuse();
    slot->SetWatchdogPattern(static_cast<WORD>(*pattern));
    return Ack();
}

std::string CSimRack::Relay(char lead, std::string_view body, DWORD now)
{
    if (body.empty() || body[0] < '0' || body[0] > '7') return Refuse();
    CSimSlot* slot = Slot(body[0] - '0');
    if (!slot || (Faults().bRefuseSettings && IsSlotSettingWrite(lead, body.substr(1))))
        return Refuse();
    std::string reply = slot->Command(lead, body.substr(1), now);
    if (reply.empty()) return reply;
    // A slot module's ">" (a reading, or a write's acknowledgement alone) goes out as the module
    // gives it, without the address.
    if (reply[0] == '>') return reply;
    return reply.substr(0, 1) + Ack().substr(1) + reply.substr(1);
}
