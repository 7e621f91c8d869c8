// Templates of the per-channel-type ASCII dialogs of the temperature families: 200 "V-6386P ASCII"
// and 205 "V-6381" (eight channels), 207 "4382A", 211 "V-6382T" and 215 "V-6307P" (six channels).
#include "PerChannelLayout.h"
#include "rtd/RtdChannelTypes.h"
#include "rtd/RtdIds.h"
#include "thermocouple/TcChannelTypes.h"
#include "thermocouple/ThermocoupleIds.h"

namespace {

using namespace per_channel_layout;

const Rows kVektProtocolRows = {"Vekt ASCII", "Modbus RTU"};
const Rows kAsciiProtocolRows = {"ASCII", "Modbus RTU"};

// The type texts are wider than the analog inputs' in the six-channel templates.
constexpr int kTcTypeWidth = 70;
constexpr int kRtdTypeWidth = 135;
constexpr int kHeight = 206;

bool Register(int id, const char* caption, int channels, const SCodedList& types,
              const Rows& protocolRows, int typeWidth, unsigned firstValueStyle = CS_NONE)
{
    SAsciiLayout layout = {
        .nChannels = channels,
        .typeRows = [&types](int channel) { return types.RowsOf(channel); },
        .protocolRows = protocolRows,
        .nTypeWidth = typeWidth,
        .bHexLabel = true,
        .nFirstValueStyle = firstValueStyle,
    };
    return RegisterDialogTemplate(
        {id, caption, AsciiWidth(layout), kHeight, AsciiControls(layout)});
}

const bool g_registered =
    Register(IDD_M6386P, "V-6386P ASCII", 8, Tc6386PTypes(), kVektProtocolRows, kTcTypeWidth) &&
    // Its channel 0 value field does not scroll horizontally.
    Register(IDD_M6381P, "V-6381", 8, UniversalTypes(), kVektProtocolRows, kTcTypeWidth,
             CS_NOAUTOHSCROLL) &&
    Register(IDD_M6382P, "4382A", 6, Rtd6382Types(), kAsciiProtocolRows, kRtdTypeWidth) &&
    Register(IDD_M63828P, "V-6382T", 6, Thermistor6382TTypes(), kVektProtocolRows, kRtdTypeWidth) &&
    Register(IDD_M6307P, "V-6307P", 6, Rtd6307Ranges(), kAsciiProtocolRows, kRtdTypeWidth);

} // namespace
