#include "SimDigitalIo.h"

#include "SimCodec.h"

#include <algorithm>
#include <cstdio>
#include <stdexcept>

// Counts and status layout of one model: input k is status bit nDiShift + k, output k is status
// bit nDoShift + k.
struct SSimDioModel {
    const char* pszName;
    int nInputs;
    int nOutputs;
    int nDiShift;
    int nDoShift;
    bool bCounters;
    // Outputs by "#AA00", safe value by "$AAX", no power-on value; "%" can switch it to RTU.
    bool bOwnCommands;
};

namespace {

constexpr SSimDioModel kDioModels[] = {
    {"6373", 4, 4, 0, 8, true, false},   {"6372", 4, 5, 0, 8, true, false},
    {"6370", 8, 3, 0, 8, true, false},   {"6399", 4, 8, 0, 8, true, false},
    {"6324", 12, 4, 0, 12, true, false}, {"6323", 7, 8, 0, 8, true, false},
    {"6376", 0, 8, 0, 8, false, false},  {"6377", 0, 7, 0, 8, false, false},
    {"6395", 0, 13, 0, 0, false, false}, {"6390", 0, 16, 0, 0, false, false},
    {"6398", 14, 0, 0, 0, true, false},  {"6325", 8, 0, 8, 0, true, false},
    {"6320", 16, 0, 0, 0, true, false},  {"6328", 16, 0, 0, 0, false, true},
    {"6322", 8, 8, 0, 8, false, true},
};

constexpr BYTE kType = 0x40;
constexpr BYTE kChecksumBit = 0x40;
constexpr BYTE kLatchBit = 0x80;
constexpr BYTE kProtocolBit = 0x04;
constexpr WORD kCoilOutputs = 0x0010;

const SSimDioModel& ModelOf(const std::string& name)
{
    for (const SSimDioModel& model : kDioModels)
        if (name == model.pszName) return model;
    throw std::invalid_argument("no digital I/O model " + name);
}

// Coils a read may span: the channels rounded up to whole bytes.
int CoilSpan(int channels)
{
    return (channels + 7) / 8 * 8;
}

// One to four upper-case hex digits and nothing else.
std::optional<unsigned> ParseValue(std::string_view digits)
{
    if (digits.empty() || digits.size() > 4) return std::nullopt;
    return SimParseHex(digits);
}

} // namespace

std::vector<std::string> SimDigitalIoModelNames()
{
    std::vector<std::string> names;
    for (const SSimDioModel& model : kDioModels) names.emplace_back(model.pszName);
    return names;
}

CSimDigitalIo::CSimDigitalIo(std::string model)
    : CSimModule(std::move(model), kType), m_model(ModelOf(Model()))
{
}

int CSimDigitalIo::InputCount() const
{
    return m_model.nInputs;
}

int CSimDigitalIo::OutputCount() const
{
    return m_model.nOutputs;
}

void CSimDigitalIo::SetOutputs(WORD outputs)
{
    m_nOutputs = static_cast<WORD>(outputs & Mask(m_model.nOutputs));
}

void CSimDigitalIo::SetDigitalInput(int index, bool on)
{
    if (index < 0 || index >= m_model.nInputs) return;
    WORD bit = static_cast<WORD>(1u << index);
    bool was = (m_nInputs & bit) != 0;
    if (was == on) return;
    m_nInputs = static_cast<WORD>(on ? m_nInputs | bit : m_nInputs & ~bit);
    if (on) ++m_nCounters[static_cast<size_t>(index)];
    if (on == LatchHigh()) m_nLatched = static_cast<WORD>(m_nLatched | bit);
}

WORD CSimDigitalIo::Counter(int channel) const
{
    return m_nCounters.at(static_cast<size_t>(channel));
}

void CSimDigitalIo::SetCounter(int channel, WORD value)
{
    m_nCounters.at(static_cast<size_t>(channel)) = value;
}

WORD CSimDigitalIo::Status() const
{
    return static_cast<WORD>(m_nInputs << m_model.nDiShift | m_nOutputs << m_model.nDoShift);
}

bool CSimDigitalIo::AcceptsType(BYTE type) const
{
    return type == kType || (m_model.bOwnCommands && type == 0x00);
}

bool CSimDigitalIo::AcceptsDataFormat(BYTE format) const
{
    BYTE allowed = kChecksumBit | kLatchBit | (m_model.bOwnCommands ? kProtocolBit : 0);
    return (format & ~allowed) == 0;
}

void CSimDigitalIo::ApplyFormat(BYTE format)
{
    CSimModule::ApplyFormat(static_cast<BYTE>(format & ~kProtocolBit));
    if (format & kProtocolBit) SetProtocol(ESimProtocol::Rtu);
}

std::optional<std::string> CSimDigitalIo::OnAscii(char lead, std::string_view body, DWORD /*now*/)
{
    switch (lead) {
    case '$':
        return Dollar(body);
    case '~':
        return Tilde(body);
    case '@':
        if (m_model.bOwnCommands) return Refuse();
        return SetOutputsText(body);
    case '#':
        if (body.size() == 1) return CounterText(body);
        if (m_model.bOwnCommands && body.substr(0, 2) == "00")
            return SetOutputsText(body.substr(2));
        return Refuse();
    default:
        return std::nullopt;
    }
}

std::optional<std::string> CSimDigitalIo::Dollar(std::string_view body)
{
    if (body == "6") return "!" + SimHex4(Status()) + "00";
    if (body == "C") {
        m_nLatched = 0;
        return Ack();
    }
    if (body.size() == 2 && body[0] == 'C') {
        auto channel = SimParseHex(body.substr(1));
        if (!m_model.bCounters || !channel || static_cast<int>(*channel) >= m_model.nInputs)
            return Refuse();
        m_nCounters[*channel] = 0;
        return Ack();
    }
    if (!m_model.bOwnCommands || body.substr(0, 1) != "X") return std::nullopt;
    if (body == "X1") return Ack() + SimHex4(m_nSafe);
    auto value = body.substr(0, 2) == "X0" ? SimParseHex(body.substr(2)) : std::nullopt;
    if (!value || *value > Mask(m_model.nOutputs)) return Refuse();
    m_nSafe = static_cast<WORD>(*value);
    return Ack();
}

std::optional<std::string> CSimDigitalIo::Tilde(std::string_view body)
{
    if (body.size() != 2 || (body[0] != '4' && body[0] != '5')) return std::nullopt;
    if (m_model.nOutputs == 0 || m_model.bOwnCommands) return Refuse();
    WORD* value = body[1] == 'P' ? &m_nPowerOn : body[1] == 'S' ? &m_nSafe : nullptr;
    if (!value) return Refuse();
    if (body[0] == '4') return Ack() + SimHex4(*value);
    *value = m_nOutputs;
    return Ack();
}

std::string CSimDigitalIo::SetOutputsText(std::string_view digits)
{
    auto value = ParseValue(digits);
    if (m_model.nOutputs == 0 || !value || *value > Mask(m_model.nOutputs)) return Refuse();
    m_nOutputs = static_cast<WORD>(*value);
    return ">";
}

std::string CSimDigitalIo::CounterText(std::string_view body) const
{
    auto channel = SimParseHex(body);
    if (!m_model.bCounters || !channel || static_cast<int>(*channel) >= m_model.nInputs)
        return Refuse();
    char digits[8];
    std::snprintf(digits, sizeof digits, "%05u", static_cast<unsigned>(m_nCounters[*channel]));
    return Ack() + digits;
}

std::optional<bool> CSimDigitalIo::ReadCoil(WORD coil, DWORD /*now*/)
{
    if (coil < CoilSpan(m_model.nInputs)) return (m_nInputs >> coil & 1) != 0;
    if (coil >= kCoilOutputs && coil < kCoilOutputs + CoilSpan(m_model.nOutputs))
        return (m_nOutputs >> (coil - kCoilOutputs) & 1) != 0;
    return std::nullopt;
}

BYTE CSimDigitalIo::WriteCoil(WORD coil, bool on)
{
    if (coil < kCoilOutputs || coil >= kCoilOutputs + m_model.nOutputs) return kSimIllegalAddress;
    WORD bit = static_cast<WORD>(1u << (coil - kCoilOutputs));
    m_nOutputs = static_cast<WORD>(on ? m_nOutputs | bit : m_nOutputs & ~bit);
    return kSimOk;
}
