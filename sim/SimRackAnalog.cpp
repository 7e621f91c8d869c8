#include "SimRackAnalog.h"

#include "SimCodec.h"

#include <cstdio>
#include <stdexcept>

namespace {

struct SInputModel {
    const char* pszCode;
    int nChannels;
    const char* pszRange; // at power-up
    const char* pszRanges;
};

// The range codes each model takes, two characters a code.
constexpr SInputModel kInputModels[] = {
    {"80", 3, "20", "20212223242526272829"},
    {"84", 8, "08", "08090A0B0C0D07"},
    {"86", 7, "0F", "000102030405060E0F1011121314"},
};

const SInputModel& InputModel(const std::string& code)
{
    for (const SInputModel& model : kInputModels)
        if (code == model.pszCode) return model;
    throw std::invalid_argument("no analog input slot model " + code);
}

bool TakesRange(const SInputModel& model, std::string_view code)
{
    std::string_view ranges = model.pszRanges;
    for (size_t i = 0; i + 1 < ranges.size(); i += 2)
        if (ranges.substr(i, 2) == code) return true;
    return false;
}

std::string LimitText(double limit)
{
    char text[24];
    std::snprintf(text, sizeof text, "%+07.2f", limit);
    return text;
}

} // namespace

CSimAnalogSlotBase::CSimAnalogSlotBase(std::string code, int channels, const char* valueFormat)
    : CSimSlot(std::move(code)), m_channels(static_cast<size_t>(channels)),
      m_pszValueFormat(valueFormat)
{
}

bool CSimAnalogSlotBase::HighActive(int n)
{
    SChannel& ch = Channel(n);
    bool beyond = ch.high.cType != 'D' && ch.dValue > ch.high.dLimit;
    if (beyond && ch.high.cType == 'L') ch.high.bLatched = true;
    return beyond || ch.high.bLatched;
}

bool CSimAnalogSlotBase::LowActive(int n)
{
    SChannel& ch = Channel(n);
    bool beyond = ch.low.cType != 'D' && ch.dValue < ch.low.dLimit;
    if (beyond && ch.low.cType == 'L') ch.low.bLatched = true;
    return beyond || ch.low.bLatched;
}

std::string CSimAnalogSlotBase::Command(char lead, std::string_view body, DWORD)
{
    if (refused.contains(body)) return "?";
    if (body.size() >= 2 && body[0] == 'C' && body[1] >= '0' && body[1] < '0' + Channels()) {
        int n = body[1] - '0';
        return ChannelCommand(lead, Channel(n), n, body.substr(2));
    }
    if (lead != '$') return "?";
    if (body == "6") return "!" + SimHexPair(m_nEnableMask);
    if (body.size() == 3 && body[0] == '5') {
        auto mask = SimParseHex(body.substr(1));
        if (!mask) return "?";
        m_nEnableMask = static_cast<BYTE>(*mask);
        return "!";
    }
    std::string reply = Setting(body);
    return reply.empty() ? "?" : reply;
}

std::string CSimAnalogSlotBase::ChannelCommand(char lead, SChannel& ch, int n,
                                               std::string_view body)
{
    if (lead == '#') {
        if (!body.empty()) return "?";
        char text[24];
        std::snprintf(text, sizeof text, m_pszValueFormat, ch.dValue);
        return std::string(">") + text;
    }
    if (lead != '$') return "?";
    if (body == "S")
        return std::string("!") + (HighActive(n) ? "1" : "0") + (LowActive(n) ? "1" : "0");
    std::string reply = Alarm(ch, body);
    if (!reply.empty()) return reply;
    reply = Setting("C" + std::string(1, static_cast<char>('0' + n)) + std::string(body));
    return reply.empty() ? "?" : reply;
}

// "AH"/"AL" read the type, + "EE" enables, + "ED" disables, + "M"/"L" sets the type of an
// enabled alarm; + "U" + number sets the limit; "RHU"/"RLU" read it; "CH"/"CL" clear a latch.
std::string CSimAnalogSlotBase::Alarm(SChannel& ch, std::string_view body)
{
    if (body == "RHU") return "!" + LimitText(ch.high.dLimit);
    if (body == "RLU") return "!" + LimitText(ch.low.dLimit);
    if (body == "CH" || body == "CL") {
        (body == "CH" ? ch.high : ch.low).bLatched = false;
        return "!";
    }
    if (body.size() < 2 || body[0] != 'A' || (body[1] != 'H' && body[1] != 'L')) return "";
    SAlarm& alarm = body[1] == 'H' ? ch.high : ch.low;
    std::string_view arg = body.substr(2);
    if (arg.empty()) return std::string("!") + alarm.cType;
    if (arg == "EE") {
        if (alarm.cType == 'D') alarm.cType = 'M';
        return "!";
    }
    if (arg == "ED") {
        alarm.cType = 'D';
        alarm.bLatched = false;
        return "!";
    }
    if (arg == "M" || arg == "L") {
        if (alarm.cType == 'D') return "?"; // enable it first
        alarm.cType = arg[0];
        return "!";
    }
    if (arg[0] == 'U') {
        auto limit = SimParseNumber(arg.substr(1));
        if (!limit) return "?";
        alarm.dLimit = *limit;
        return "!";
    }
    return "?";
}

// ---- 1300, 1384, 1386

CSimAnalogInputSlot::CSimAnalogInputSlot(std::string code)
    : CSimAnalogSlotBase(code, InputModel(code).nChannels, "%+07.2f"),
      strRange(InputModel(code).pszRange)
{
}

std::string CSimAnalogInputSlot::Setting(std::string_view body)
{
    if (body == "B") return "!" + strRange + cIntegration + cFormat;
    if (body.size() != 5 || body[0] != 'A') return "";
    std::string_view range = body.substr(1, 2);
    char integration = body[3];
    char format = body[4];
    bool formatOk = format == '0' || (Code() == "80" && format == '3');
    if (bLocked || !TakesRange(InputModel(Code()), range) ||
        (integration != '0' && integration != '8') || !formatOk)
        return "?";
    strRange = std::string(range);
    cIntegration = integration;
    cFormat = format;
    return "!";
}

// ---- 1384H

CSimSpeedInputSlot::CSimSpeedInputSlot() : CSimAnalogSlotBase("4H", 8, "%+08.3f") {}

std::string CSimSpeedInputSlot::Setting(std::string_view body)
{
    if (body == "B") return std::string("!FF0") + cFormat;
    if (body == "AFF00" || body == "AFF02") {
        cFormat = body[4];
        return "!";
    }
    // "C<n>B", "C<n>A0<c>FF"
    if (body.size() < 3 || body[0] != 'C' || body[1] < '0' || body[1] > '7') return "";
    SChannel& ch = Channel(body[1] - '0');
    std::string_view rest = body.substr(2);
    if (rest == "B") return std::string("!0") + ch.cRange;
    if (rest.size() == 5 && rest.substr(0, 2) == "A0" && rest.substr(3) == "FF") {
        auto code = SimParseHex(rest.substr(2, 1));
        if (!code || *code > 0xB) return "?";
        ch.cRange = rest[2];
        return "!";
    }
    return "";
}
