#include "SlotDio.h"

#include "AsciiCommand.h"
#include "ModelName.h"

namespace {

constexpr std::array<int, 4> kWordDigits = {12, 8, 4, 0};

const SDioSlotModel kModels[] = {
    {"1327", 0x0000, 0xFFFF, 0xFFFF, false, "M", kWordDigits},
    {"1371", 0x0000, 0x00FF, 0x00FF, false, "M", {4, 0, -1, -1}},
    {"1323", 0xFFFF, 0xFFFF, 0x00FF, true, "7", kWordDigits},
    {"1328", 0xFFFF, 0x0000, 0x0000, false, "M", kWordDigits},
    {"1325", 0x00FF, 0x0000, 0x0000, false, "M", {-1, -1, 4, 0}},
};

constexpr int kFirstDigit = 3;

} // namespace

int StatusDigitValue(char c)
{
    BYTE value = HexCharToValue(c);
    return value == 0xCC ? static_cast<unsigned char>(c) : value;
}

const SDioSlotModel* DioSlotModel(const std::string& model)
{
    for (const SDioSlotModel& entry : kModels)
        if (ModelIs(model, entry.pszModel)) return &entry;
    return nullptr;
}

WORD DioInputs(const SDioSlotModel& model, WORD directions)
{
    return model.bDirections ? directions : model.nInputs;
}

WORD DioOutputs(const SDioSlotModel& model, WORD directions)
{
    return model.bDirections ? static_cast<WORD>(~directions) : model.nOutputs;
}

SDioLamps DecodeDioStatus(const SDioSlotModel& model, const std::string& reply, WORD directions)
{
    WORD inputs = DioInputs(model, directions);
    WORD outputs = DioOutputs(model, directions);
    SDioLamps lamps;
    for (size_t ch = 0; ch < 16; ++ch) {
        lamps.di[ch] = inputs & (1u << ch) ? ELamp::Keep : ELamp::Grey;
        lamps.out[ch] = outputs & (1u << ch) ? ELamp::Keep : ELamp::Grey;
    }
    for (size_t d = 0; d < 4; ++d) {
        size_t at = kFirstDigit + d;
        int first = model.nDigitChannel[d];
        if (first < 0 || at >= reply.size()) continue;
        int value = StatusDigitValue(reply[at]);
        for (int bit = 0; bit < 4; ++bit) {
            auto ch = static_cast<size_t>(first + bit);
            ELamp state = value & (1 << bit) ? ELamp::On : ELamp::Off;
            if (lamps.di[ch] == ELamp::Keep) lamps.di[ch] = state;
            if (lamps.out[ch] == ELamp::Keep) lamps.out[ch] = state;
        }
    }
    return lamps;
}

bool DecodeDirections(const std::string& reply, WORD& directions)
{
    if (reply.size() < kFirstDigit + 4) return false;
    int value = 0;
    for (size_t d = 0; d < 4; ++d)
        value = value << 4 | (StatusDigitValue(reply[kFirstDigit + d]) & 0x0F);
    directions = static_cast<WORD>(value);
    return true;
}
