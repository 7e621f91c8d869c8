#include "SimAnalog.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <stdexcept>

namespace {

constexpr std::array<SSimRange, 7> kAiRanges = {{
    {0x07, 4.0, 20.0, 3},
    {0x08, -10.0, 10.0, 3},
    {0x09, -5.0, 5.0, 4},
    {0x0A, -1.0, 1.0, 4},
    {0x0B, -500.0, 500.0, 2},
    {0x0C, -150.0, 150.0, 2},
    {0x0D, -20.0, 20.0, 3},
}};

constexpr double kPi = 3.14159265358979323846;
// Drift: a slow sine of 0.3 % of the span, a different phase on each channel.
constexpr double kDriftAmplitude = 0.003;
constexpr double kDriftPeriodMs = 8000.0;

std::string Printf(const char* format, double value, int decimals = 0, int width = 7)
{
    char text[32];
    std::snprintf(text, sizeof text, format, width, decimals, value);
    return text;
}

double Span(const SSimRange& range)
{
    return range.dHigh - range.dLow;
}
bool Unipolar(const SSimRange& range)
{
    return range.dLow >= 0;
}

} // namespace

const SSimRange* SimAiRange(BYTE code)
{
    return SimFindRange(kAiRanges, code);
}

std::string SimFormatEngineering(const SSimRange& range, double value)
{
    return Printf("%+0*.*f", value, range.nDecimals, range.nWidth);
}

std::string SimFormatReading(const SSimRange& range, BYTE dataFormat, double value)
{
    switch (dataFormat & 0x03) {
    case 1: {
        double percent = Unipolar(range) ? (value - range.dLow) / Span(range) * 100.0
                                         : value / range.dHigh * 100.0;
        return Printf("%+0*.*f", percent, 2);
    }
    case 2: {
        long counts = Unipolar(range) ? std::lround((value - range.dLow) / Span(range) * 65535.0)
                                      : std::lround(value / range.dHigh * 32767.0);
        char text[8];
        std::snprintf(text, sizeof text, "%04X", static_cast<unsigned>(counts) & 0xFFFF);
        return text;
    }
    default:
        return SimFormatEngineering(range, value);
    }
}

WORD SimRawRegister(const SSimRange& range, double value)
{
    double raw = std::lround((value - range.dLow) / Span(range) * 65535.0);
    return static_cast<WORD>(std::clamp(raw, 0.0, 65535.0));
}

CSimAnalogModule::CSimAnalogModule(std::string model, int channels, SimRangeLookup ranges,
                                   BYTE type, int channelTypes, BYTE channelType)
    : CSimModule(std::move(model), type, channelTypes, channelType), m_pRanges(ranges),
      m_vecFixed(static_cast<size_t>(channels))
{
}

const SSimRange& CSimAnalogModule::RangeOf(int channel) const
{
    // The setters and the "%" command admit only codes of the table, so the lookup always hits.
    return *m_pRanges(TypeOf(channel));
}

void CSimAnalogModule::SetInput(int channel, double value)
{
    if (channel < 0 || channel >= Channels())
        throw std::invalid_argument("no input channel " + std::to_string(channel));
    m_vecFixed[static_cast<size_t>(channel)] = value;
}

double CSimAnalogModule::Value(int channel, DWORD now) const
{
    const SSimRange& range = RangeOf(channel);
    const std::optional<double>& fixed = m_vecFixed.at(static_cast<size_t>(channel));
    if (fixed) return std::clamp(*fixed, range.dLow, range.dHigh);
    double phase = 2.0 * kPi * (now % static_cast<DWORD>(kDriftPeriodMs)) / kDriftPeriodMs;
    double fraction = 0.55 + 0.04 * channel + kDriftAmplitude * std::sin(phase + channel);
    return range.dLow + std::clamp(fraction, 0.0, 1.0) * Span(range);
}

std::string CSimAnalogModule::Reading(int channel, DWORD now) const
{
    return SimFormatReading(RangeOf(channel), Format(), Value(channel, now));
}

WORD CSimAnalogModule::Raw(int channel, DWORD now) const
{
    return SimRawRegister(RangeOf(channel), Value(channel, now));
}
