#include "SimRtd.h"

#include <array>
#include <cstdio>
#include <stdexcept>

namespace {

// A range with the sensor behind it: R = R0 (1 + alpha T), near enough for a simulated bus.
struct SRtdRange : SSimRange {
    double dR0;
    double dAlpha;
};

// Temperatures in eight characters ("+0100.00").
constexpr int kWidth = 8;
constexpr int kDecimals = 2;

constexpr double kPt385 = 0.00385;
constexpr double kPt3916 = 0.003916;
constexpr double kCu = 0.00428;
constexpr double kBa = 0.00391;

constexpr std::array<SRtdRange, 13> kRanges13 = {{
    {{0x20, -100.0, 100.0, kDecimals, kWidth}, 100.0, kPt385},
    {{0x21, 0.0, 100.0, kDecimals, kWidth}, 100.0, kPt385},
    {{0x22, 0.0, 200.0, kDecimals, kWidth}, 100.0, kPt385},
    {{0x23, 0.0, 600.0, kDecimals, kWidth}, 100.0, kPt385},
    {{0x24, -100.0, 100.0, kDecimals, kWidth}, 100.0, kPt3916},
    {{0x25, 0.0, 100.0, kDecimals, kWidth}, 100.0, kPt3916},
    {{0x26, 0.0, 200.0, kDecimals, kWidth}, 100.0, kPt3916},
    {{0x27, 0.0, 600.0, kDecimals, kWidth}, 100.0, kPt3916},
    {{0x2B, -50.0, 150.0, kDecimals, kWidth}, 100.0, kCu},
    {{0x2C, -50.0, 150.0, kDecimals, kWidth}, 50.0, kCu},
    {{0x2D, -200.0, 650.0, kDecimals, kWidth}, 46.0, kBa},
    {{0x2E, -200.0, 650.0, kDecimals, kWidth}, 100.0, kBa},
    {{0x2F, -50.0, 150.0, kDecimals, kWidth}, 53.0, kCu},
}};

constexpr std::array<SRtdRange, 6> kRanges6 = {{
    {{0x20, -200.0, 400.0, kDecimals, kWidth}, 100.0, kPt385},
    {{0x21, -50.0, 150.0, kDecimals, kWidth}, 100.0, kCu},
    {{0x22, -50.0, 150.0, kDecimals, kWidth}, 50.0, kCu},
    {{0x23, -200.0, 650.0, kDecimals, kWidth}, 46.0, kBa},
    {{0x24, -200.0, 650.0, kDecimals, kWidth}, 100.0, kBa},
    {{0x25, -50.0, 150.0, kDecimals, kWidth}, 53.0, kCu},
}};

struct SRtdModel {
    const char* pszName;
    int nChannels;
    bool bThirteenRanges;
    bool bCalibration = false; // the three-step calibration
};

constexpr std::array<SRtdModel, 14> kModels = {{
    {"6308", 1, true},
    {"4308", 1, true},
    {"6300", 3, true},
    {"4300", 3, true},
    {"6307", 6, true},
    {"4307", 6, true},
    {"6308A", 1, false},
    {"4308A", 1, false},
    {"6300A", 3, false},
    {"4300A", 3, false},
    {"6309", 4, false},
    {"4309", 4, false},
    {"6380", 3, true, true},
    {"4380", 3, true, true},
}};

const SRtdModel& ModelOf(const std::string& name)
{
    for (const SRtdModel& model : kModels)
        if (name == model.pszName) return model;
    throw std::invalid_argument(name + " is no RTD-input model");
}

constexpr BYTE kOhmFormat = 0x03;
constexpr BYTE kDefaultRange = 0x20;

} // namespace

const SSimRange* SimRtdRange13(BYTE code)
{
    return SimFindRange(kRanges13, code);
}

const SSimRange* SimRtdRange6(BYTE code)
{
    return SimFindRange(kRanges6, code);
}

CSimRtd::CSimRtd(std::string model)
    : CSimAnalogModule(model, ModelOf(model).nChannels,
                       ModelOf(model).bThirteenRanges ? SimRtdRange13 : SimRtdRange6, kDefaultRange),
      m_bHasCalibration(ModelOf(model).bCalibration)
{
}

double CSimRtd::Resistance(int channel, DWORD now) const
{
    // Every range of this module comes from one of the tables above.
    const auto& sensor = static_cast<const SRtdRange&>(RangeOf(channel));
    return sensor.dR0 * (1.0 + sensor.dAlpha * Value(channel, now));
}

std::string CSimRtd::ResistanceText(int channel, DWORD now) const
{
    char text[16];
    std::snprintf(text, sizeof text, "%07.2f", Resistance(channel, now));
    return text;
}

std::optional<std::string> CSimRtd::Calibrate(char lead, std::string_view body)
{
    if (lead == '~' && body == "E1") {
        m_bCalibrationEnabled = true;
        return Ack();
    }
    if (lead != '$' || (body != "1" && body != "0")) return std::nullopt;
    // Zero and span are taken only once the calibration is enabled.
    if (!m_bCalibrationEnabled) return Refuse();
    ++(body == "1" ? m_nZeroCalibrations : m_nSpanCalibrations);
    return Ack();
}

std::optional<std::string> CSimRtd::OnAscii(char lead, std::string_view body, DWORD now)
{
    if (m_bHasCalibration) {
        if (auto reply = Calibrate(lead, body)) return reply;
    }
    bool values = lead == '#' && body.empty();
    bool resistances = lead == '$' && body == "A";
    if (!values && !resistances) return std::nullopt;
    std::string reply = ">";
    for (int channel = 0; channel < Channels(); ++channel) {
        bool ohms = resistances || (Format() & 0x03) == kOhmFormat;
        reply += ohms ? ResistanceText(channel, now) : Reading(channel, now);
    }
    return reply;
}

std::optional<WORD> CSimRtd::ReadRegister(WORD reg, DWORD now)
{
    if (reg < Channels()) return Raw(reg, now);
    return std::nullopt;
}
