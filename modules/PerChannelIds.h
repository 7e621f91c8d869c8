// Control ids of the per-channel-type templates, which several families' templates share.
#pragma once

#include <array>

// Control ids of the per-channel-type templates.
enum : int {
    IDC_PC_LIST = 1000,
    IDC_PC_PROTOCOL = 1006,
    IDC_PC_CANCEL = 1027,
    IDC_PC_UPDATE = 1043,
    IDC_PC_REFRESH = 1046,
    IDC_PC_ADDRESS = 1090,
    IDC_PC_CHECKSUM = 1092,
    IDC_PC_RESPOND = 1171,
    IDC_PC_ZERO = 1174,
    IDC_PC_SPAN = 1175,
    IDC_PC_CJC = 1176,
    IDC_PC_BAUD = 1214,
    IDC_PC_FORMAT = 1216,
    IDC_PC_TYPE0 = 1221,  // the type list of channel k is IDC_PC_TYPE0 + k
    IDC_PC_VALUE0 = 1229, // the value field of channel k is IDC_PC_VALUE0 + k
    IDC_PC_FOLLOW_CH0 = 1410,
};
// The enable boxes of CH0 to CH7 in most of these templates.
inline constexpr std::array<int, 8> kPcCheckIds = {1217, 1218, 1219, 1220, 1144, 1145, 1146, 1147};
