// Template and control ids of the RTD and thermistor families' dialogs: 183 (ASCII), 226 and 228
// (one range, Modbus RTU), and the six-channel per-channel-type templates, whose controls are
// those of PerChannelIds.h.
#pragma once

#include "PerChannelIds.h"

#include <array>

// The RTD dialog's template (183) and the Modbus RTU templates.
enum : int {
    IDD_M6309X = 183,
    IDD_M6382P_MODBUS = 220,
    IDD_M6307P_MODBUS = 226,
    IDD_M6300_MODBUS = 228,
    IDD_M6382T_MODBUS = 231,
    IDC_RTDM_RANGE = 1093, // templates 226 and 228
    IDC_RTDM_MODEL = 1282,
    IDC_RTD_CANCEL = 4,
    IDC_RTD_PROTOCOL = 1006,
    IDC_RTD_FORMAT = 1007,
    IDC_RTD_BAUD = 1034,
    IDC_RTD_ADDRESS = 1090,
    IDC_RTD_CHECKSUM = 1092,
    IDC_RTD_RANGE6 = 1093,
    IDC_RTD_SETTING = 1094,
    IDC_RTD_MODEL = 1106,
    IDC_RTD_STATUS = 1107,
    IDC_RTD_CALIBRATION = 1108,
    IDC_RTD_ZERO_CALIBRATION = 1109,
    IDC_RTD_SPAN_CALIBRATION = 1110,
    IDC_RTD_RANGE13 = 1112,
    IDC_RTD_ZERO_VALUE = 1163,
    IDC_RTD_SPAN_VALUE = 1164,
    IDC_RTD_ZERO_ADJUST = 1165,
    IDC_RTD_SPAN_ADJUST = 1166,
    IDC_RTD_CHANNEL = 1168,
    IDC_RTD_READ_ZERO = 1169,
    IDC_RTD_READ_SPAN = 1170,
};

// The "Input" and "Ohm" fields of CH0 to CH5.
inline constexpr int kRtdInputIds[6] = {1095, 1097, 1099, 1101, 1103, 1105};
inline constexpr int kRtdOhmIds[6] = {1096, 1098, 1100, 1102, 1104, 1111};

// What one poll of the ASCII RTD dialogs reads: the input values ("#AA") or the resistances
// ("$AAA"); the dialogs alternate the two.
enum ERtdRead : int { kInputRead = 0, kResistanceRead = 1 };

// The field that shows a channel's reading of that kind.
inline int RtdReadingId(int channel, int read)
{
    return read == kInputRead ? kRtdInputIds[channel] : kRtdOhmIds[channel];
}
// The value fields of CH0 to CH5 in templates 226 and 228.
inline constexpr std::array<int, 8> kRtdmValueIds = {1278, 1279, 1095, 1112, 1280, 1281, 0, 0};

// Template 148, the three-channel dialog: the ids above where the controls are the same, and its
// own range list in the place of the six-range one.
enum : int {
    IDD_M6380 = 148,
    IDC_RTD3_RANGE = 1093,
};

// The six-channel per-channel-type templates; their controls are those of PerChannelIds.h.
enum : int {
    IDD_M6382P = 207,
    IDD_M63828P = 211,
    IDD_M6307P = 215,
};
