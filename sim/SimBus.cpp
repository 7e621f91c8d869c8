#include "SimBus.h"

#include "SimCodec.h"
#include "SimRegistry.h"

#include <algorithm>
#include <charconv>
#include <fstream>
#include <functional>
#include <map>
#include <sstream>

namespace {

[[noreturn]] void Fail(const std::string& message)
{
    throw std::invalid_argument(message);
}

long ParseInteger(std::string_view text, const char* what)
{
    int base = 10;
    if (text.substr(0, 2) == "0x" || text.substr(0, 2) == "0X") {
        text.remove_prefix(2);
        base = 16;
    }
    long value = 0;
    auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value, base);
    if (text.empty() || error != std::errc() || end != text.data() + text.size())
        Fail(std::string("bad ") + what + " '" + std::string(text) + "'");
    return value;
}

BYTE ParseByte(std::string_view text, const char* what)
{
    auto value = text.size() == 2 ? SimParseHex(text) : std::nullopt;
    if (!value) Fail(std::string(what) + " must be two upper-case hex digits");
    return static_cast<BYTE>(*value);
}

bool ParseSwitch(std::string_view text)
{
    if (text == "on" || text == "1") return true;
    if (text == "off" || text == "0") return false;
    Fail("expected on or off, not '" + std::string(text) + "'");
}

int ParseCount(std::string_view text)
{
    long value = ParseInteger(text, "count");
    if (value < 0 || value > 1000000) Fail("count out of range '" + std::string(text) + "'");
    return static_cast<int>(value);
}

int ParseParity(std::string_view text)
{
    static const std::map<std::string_view, int> parities = {{"none", 0}, {"even", 1}, {"odd", 2}};
    auto it = parities.find(text);
    if (it == parities.end()) Fail("parity must be none, even or odd");
    return it->second;
}

unsigned ParseProbe(std::string_view text)
{
    if (text == "2710") return kSimProbe2710;
    if (text == "00D2") return kSimProbe00D2;
    if (text == "both") return kSimProbe2710 | kSimProbe00D2;
    Fail("probe must be 2710, 00D2 or both");
}

void SetChannelTypes(CSimModule& module, std::string_view list)
{
    int channel = 0;
    std::istringstream in{std::string(list)};
    for (std::string code; std::getline(in, code, ',');)
        module.SetChannelType(channel++, ParseByte(code, "types"));
    if (channel != module.ChannelTypeCount())
        Fail("types needs " + std::to_string(module.ChannelTypeCount()) + " codes");
}

using Setter = std::function<void(CSimModule&, std::string_view)>;

const std::map<std::string_view, Setter>& Setters()
{
    static const std::map<std::string_view, Setter> setters = {
        {"checksum", [](CSimModule& m, std::string_view v) { m.SetChecksum(ParseSwitch(v)); }},
        {"parity", [](CSimModule& m, std::string_view v) { m.SetParity(ParseParity(v)); }},
        {"format", [](CSimModule& m, std::string_view v) { m.SetFormat(ParseByte(v, "format")); }},
        {"type", [](CSimModule& m, std::string_view v) { m.SetType(ParseByte(v, "type")); }},
        {"types", SetChannelTypes},
        {"init", [](CSimModule& m, std::string_view v) { m.SetInit(ParseSwitch(v)); }},
        {"probe", [](CSimModule& m, std::string_view v) { m.SetProbeRegisters(ParseProbe(v)); }},
        {"delay",
         [](CSimModule& m, std::string_view v) {
             m.Faults().dwDelayMs = static_cast<DWORD>(ParseCount(v));
         }},
        {"cut", [](CSimModule& m, std::string_view v) { m.Faults().nCutTo = ParseCount(v); }},
        {"garbage", [](CSimModule& m, std::string_view v) { m.Faults().nGarbage = ParseCount(v); }},
        {"long", [](CSimModule& m, std::string_view v) { m.Faults().nLongTo = ParseCount(v); }},
        {"silent_after",
         [](CSimModule& m, std::string_view v) { m.Faults().nSilentAfter = ParseCount(v); }},
        {"hangup", [](CSimModule& m, std::string_view v) { m.Faults().bHangUp = ParseSwitch(v); }},
        {"blank", [](CSimModule& m, std::string_view v) { m.Faults().bBlank = ParseSwitch(v); }},
    };
    return setters;
}

void ApplyOption(CSimModule& module, std::string_view option)
{
    size_t equals = option.find('=');
    if (equals == std::string_view::npos)
        Fail("expected KEY=VALUE, not '" + std::string(option) + "'");
    std::string_view key = option.substr(0, equals);
    std::string_view value = option.substr(equals + 1);
    if (key.size() == 6 && key.substr(0, 5) == "input" && key[5] >= '0' && key[5] <= '9') {
        auto number = SimParseNumber(value);
        if (!number) Fail("bad input value '" + std::string(value) + "'");
        module.SetInput(key[5] - '0', *number);
        return;
    }
    auto it = Setters().find(key);
    if (it == Setters().end() && module.SetOption(key, value)) return;
    if (it == Setters().end()) Fail("unknown key '" + std::string(key) + "'");
    it->second(module, value);
}

ESimProtocol ParseProtocol(std::string_view text)
{
    if (text == "ascii") return ESimProtocol::Ascii;
    if (text == "rtu") return ESimProtocol::Rtu;
    Fail("protocol must be ascii or rtu");
}

// Bytes of several replies on the line at once: where both drive it, a 0 bit wins.
std::string Collide(std::string a, const std::string& b)
{
    if (a.size() < b.size()) a.resize(b.size(), '\xFF');
    for (size_t i = 0; i < b.size(); ++i) a[i] = static_cast<char>(a[i] & b[i]);
    return a;
}

} // namespace

std::unique_ptr<CSimModule> SimParseModuleLine(std::string_view line)
{
    std::istringstream in{std::string(line)};
    std::vector<std::string> words;
    for (std::string word; in >> word;) words.push_back(word);
    if (words.size() < 4) Fail("expected MODEL ADDRESS BAUD PROTOCOL [KEY=VALUE ...]");
    auto module = SimCreateModule(words[0]);
    if (!module) Fail("unknown model '" + words[0] + "'");
    long address = ParseInteger(words[1], "address");
    if (address < 0 || address > 255) Fail("address must be 0 to 255");
    module->SetAddress(static_cast<BYTE>(address));
    module->SetBaud(static_cast<DWORD>(ParseInteger(words[2], "baud rate")));
    module->SetProtocol(ParseProtocol(words[3]));
    for (size_t i = 4; i < words.size(); ++i) ApplyOption(*module, words[i]);
    return module;
}

CSimModule& CSimBus::Add(std::string_view model, int address, DWORD baud, ESimProtocol protocol)
{
    auto module = SimCreateModule(model);
    if (!module) Fail("unknown model '" + std::string(model) + "'");
    if (address < 0 || address > 255) Fail("address must be 0 to 255");
    module->SetAddress(static_cast<BYTE>(address));
    module->SetBaud(baud);
    module->SetProtocol(protocol);
    return Add(std::move(module));
}

CSimModule& CSimBus::Add(std::unique_ptr<CSimModule> module)
{
    m_vecModules.push_back(std::move(module));
    return *m_vecModules.back();
}

void CSimBus::Load(std::string_view text)
{
    std::istringstream in{std::string(text)};
    int number = 0;
    for (std::string line; std::getline(in, line);) {
        ++number;
        line = line.substr(0, line.find('#'));
        if (line.find_first_not_of(" \t\r") == std::string::npos) continue;
        try {
            Add(SimParseModuleLine(line));
        } catch (const std::exception& e) {
            throw std::runtime_error("line " + std::to_string(number) + ": " + e.what());
        }
    }
}

void CSimBus::LoadFile(const std::string& path)
{
    std::ifstream file(path, std::ios::binary);
    if (!file) throw std::runtime_error("cannot read bus file " + path);
    std::ostringstream text;
    text << file.rdbuf();
    try {
        Load(text.str());
    } catch (const std::exception& e) {
        throw std::runtime_error(path + ": " + e.what());
    }
}

std::optional<SSimAnswer> CSimBus::Exchange(ESimProtocol protocol, const SSimLine& line,
                                            std::string_view request, DWORD now)
{
    std::optional<SSimAnswer> result;
    for (auto& module : m_vecModules) {
        if (!module->Hears(protocol, line)) continue;
        auto answer = module->Answer(protocol, request, now);
        if (!answer) continue;
        if (!result) {
            result = std::move(answer);
            continue;
        }
        result->strBytes = Collide(std::move(result->strBytes), answer->strBytes);
        result->dwDelayMs = std::max(result->dwDelayMs, answer->dwDelayMs);
        result->bHangUp = result->bHangUp || answer->bHangUp;
    }
    return result;
}
