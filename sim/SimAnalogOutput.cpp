#include "SimAnalogOutput.h"

#include "SimCodec.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <cmath>
#include <cstdio>
#include <stdexcept>

namespace {

constexpr std::array<SSimAoRange, 3> kAoRanges = {{
    {0x30, 0.0, 20.0},
    {0x31, 4.0, 20.0},
    {0x32, 0.0, 10.0},
}};

constexpr BYTE kTwoChannelType = 0x3F;
constexpr BYTE kDefaultRange = 0x30;
constexpr WORD kRegRanges = 0x00C8;
// The range registers answer a read of 64 from the second channel's: 0x00C8 to 0x0108.
constexpr WORD kRangeRegisters = 65;
constexpr int kSlewRows = 16;

// A plain decimal number as the output commands carry it: an optional sign, digits and at most
// one point; nothing else (no blanks, exponents or hex).
std::optional<double> ParseOutputNumber(std::string_view text)
{
    std::string_view digits = text;
    if (!digits.empty() && (digits[0] == '+' || digits[0] == '-')) digits.remove_prefix(1);
    bool any = false;
    int points = 0;
    for (char c : digits) {
        if (c == '.') {
            ++points;
        } else if (std::isdigit(static_cast<unsigned char>(c))) {
            any = true;
        } else {
            return std::nullopt;
        }
    }
    if (!any || points > 1) return std::nullopt;
    return SimParseNumber(text);
}

int DigitValue(char c)
{
    return std::isdigit(static_cast<unsigned char>(c)) ? c - '0' : -1;
}

} // namespace

const SSimAoRange* SimAoRange(BYTE code)
{
    auto it = std::find_if(kAoRanges.begin(), kAoRanges.end(),
                           [code](const SSimAoRange& r) { return r.nCode == code; });
    return it == kAoRanges.end() ? nullptr : &*it;
}

CSimAnalogOutput::CSimAnalogOutput(std::string model, int channels)
    : CSimModule(std::move(model), channels == 2 ? kTwoChannelType : kDefaultRange,
                 channels == 2 ? 2 : 0, kDefaultRange),
      m_vecOutputs(static_cast<size_t>(channels), 0.0), m_vecSlew(static_cast<size_t>(channels), 0)
{
}

bool CSimAnalogOutput::AcceptsType(BYTE type) const
{
    return TwoChannel() ? type == kTwoChannelType : SimAoRange(type) != nullptr;
}

double CSimAnalogOutput::Output(int channel) const
{
    const SSimAoRange& range = RangeOf(channel);
    return std::clamp(m_vecOutputs.at(static_cast<size_t>(channel)), range.dLow, range.dHigh);
}

WORD CSimAnalogOutput::OutputRegister(int channel) const
{
    double value = Output(channel);
    if (Channels() != 4) return static_cast<WORD>(std::lround(value * 1000.0));
    const SSimAoRange& range = RangeOf(channel);
    return static_cast<WORD>(
        std::lround((value - range.dLow) / (range.dHigh - range.dLow) * 65535.0));
}

int CSimAnalogOutput::SlewIndex(int channel) const
{
    if (TwoChannel()) return m_vecSlew.at(static_cast<size_t>(channel));
    return (Format() >> 2) & 0x0F;
}

void CSimAnalogOutput::SetInput(int channel, double value)
{
    if (channel < 0 || channel >= Channels())
        throw std::invalid_argument("no output channel " + std::to_string(channel));
    const SSimAoRange& range = RangeOf(channel);
    m_vecOutputs[static_cast<size_t>(channel)] = std::clamp(value, range.dLow, range.dHigh);
}

bool CSimAnalogOutput::SetOutput(int channel, double value)
{
    if (channel < 0 || channel >= Channels()) return false;
    const SSimAoRange& range = RangeOf(channel);
    if (value < range.dLow || value > range.dHigh) return false;
    m_vecOutputs[static_cast<size_t>(channel)] = value;
    m_vecLog.emplace_back(channel, value);
    return true;
}

std::string CSimAnalogOutput::ValueText(int channel) const
{
    char text[16];
    std::snprintf(text, sizeof text, Channels() == 4 ? "%+07.3f" : "%06.3f", Output(channel));
    return text;
}

std::optional<std::string> CSimAnalogOutput::OnAscii(char lead, std::string_view body, DWORD)
{
    if (lead == '#') return Write(body);
    if (lead != '$' || body.empty()) return std::nullopt;
    if (body[0] == '6') {
        if (Channels() == 1) return body.size() == 1 ? Ack() + ValueText(0) : Refuse();
        int channel = body.size() == 2 ? DigitValue(body[1]) : -1;
        if (channel < 0 || channel >= Channels()) return Refuse();
        return Ack() + ValueText(channel);
    }
    if (body[0] == '9' && TwoChannel()) return RangeCommand(body.substr(1));
    return std::nullopt;
}

// "#AA" + value (one channel) or "#AA" + channel digit + value.
std::string CSimAnalogOutput::Write(std::string_view body)
{
    int channel = 0;
    if (Channels() > 1) {
        channel = body.empty() ? -1 : DigitValue(body[0]);
        if (channel < 0 || channel >= Channels()) return Refuse();
        body.remove_prefix(1);
    }
    auto value = ParseOutputNumber(body);
    if (!value || !SetOutput(channel, *value)) return Refuse();
    return ">";
}

// "i" reads channel i's range row and slew row ("!AA" r s, the slew row as one hex digit, since
// one character stands for it); "i" r s sets them, the slew row in decimal (one or two digits).
std::optional<std::string> CSimAnalogOutput::RangeCommand(std::string_view body)
{
    int channel = body.empty() ? -1 : DigitValue(body[0]);
    if (channel < 0 || channel >= Channels()) return Refuse();
    auto index = static_cast<size_t>(channel);
    if (body.size() == 1) {
        int row = TypeOf(channel) - kAoRanges[0].nCode;
        return Ack() + std::to_string(row) +
               SimHexPair(static_cast<unsigned>(m_vecSlew[index])).substr(1);
    }
    int row = DigitValue(body[1]);
    std::string_view slewText = body.substr(2);
    int slew = -1;
    if (slewText.size() == 1 || slewText.size() == 2) {
        auto parsed = ParseOutputNumber(slewText);
        bool whole = parsed && slewText.find_first_of("+-.") == std::string_view::npos;
        slew = whole ? static_cast<int>(*parsed) : -1;
    }
    if (row < 0 || row >= static_cast<int>(kAoRanges.size()) || slew < 0 || slew >= kSlewRows)
        return Refuse();
    SetChannelType(channel, kAoRanges[static_cast<size_t>(row)].nCode);
    m_vecSlew[index] = slew;
    return Ack();
}

std::optional<WORD> CSimAnalogOutput::ReadRegister(WORD reg, DWORD)
{
    if (reg < Channels()) return OutputRegister(reg);
    if (reg >= kRegRanges && reg < kRegRanges + kRangeRegisters) {
        int channel = reg - kRegRanges;
        return channel < Channels() ? TypeOf(channel) : 0;
    }
    return std::nullopt;
}

BYTE CSimAnalogOutput::WriteRegister(WORD reg, WORD value)
{
    if (reg >= Channels()) return kSimIllegalAddress;
    double output = value / 1000.0;
    if (Channels() == 4) {
        const SSimAoRange& range = RangeOf(reg);
        output = range.dLow + value * (range.dHigh - range.dLow) / 65535.0;
    }
    return SetOutput(reg, output) ? kSimOk : kSimIllegalValue;
}
