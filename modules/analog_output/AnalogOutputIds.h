// Control ids of the analog-output dialogs' templates (163 ASCII, 230 Modbus RTU).
#pragma once

#include <array>

enum : unsigned {
    IDD_M6359 = 163,
    IDD_M6359_MODBUS = 230,
};

enum : int {
    IDC_AO_PROTOCOL = 1006,
    IDC_AO_FORMAT = 1007,
    IDC_AO_SLEW_V = 1008,
    IDC_AO_SLEW_MA = 1009,
    IDC_AO_SLEW_CH0 = 1010,
    IDC_AO_SLEW_CH1 = 1011,
    IDC_AO_CAL_ZERO = 1027,
    IDC_AO_CAL_SPAN = 1028,
    IDC_AO_CH0_SET = 1033,
    IDC_AO_BAUD = 1034,
    IDC_AO_CH1_SET = 1035,
    IDC_AO_TRIM = 1040,
    IDC_AO_SET_POWERON = 1041,
    IDC_AO_SET_SAFE = 1042,
    IDC_AO_READ_POWERON = 1043,
    IDC_AO_READ_SAFE = 1044,
    IDC_AO_ADDRESS = 1090,
    IDC_AO_CHECKSUM = 1092,
    IDC_AO_RANGE = 1093,
    IDC_AO_SETTING = 1094,
    IDC_AO_RANGE4 = 1095,
    IDC_AO_WATCHDOG_TIME = 1096,
    IDC_AO_RANGE_CH0 = 1097,
    IDC_AO_RANGE_CH1 = 1098,
    IDC_AO_MODEL = 1106,
    IDC_AO_STATUS = 1107,
    IDC_AO_CALIBRATION = 1108,
    IDC_AO_ZERO_HIDDEN = 1109,
    IDC_AO_SPAN_HIDDEN = 1110,
    IDC_AO_CH0_LABEL = 1125,
    IDC_AO_CH1_LABEL = 1126,
    IDC_AO_RANGE_LABEL0 = 1127,
    IDC_AO_CHANNEL = 1168,
    IDC_AO_WATCHDOG = 1169,
    IDC_AO_TRIM_VALUE = 1171,
    IDC_AO_WATCHDOG_LABEL = 1174,
    IDC_AO_RESETTING = 1175,
    IDC_AO_RANGE_LABEL1 = 1208,
    IDC_AO_SLEW_LABEL0 = 1209,
    IDC_AO_SLEW_LABEL1 = 1210,
    IDC_AO_TIME_LABEL = 1211,
    IDC_AO_HEX_LABEL = 1212,
    IDC_AO_SLEW_MA_MODBUS = 1283,
};

// The controls of one output channel.
struct SAoChannelIds {
    int nSlider;
    std::array<int, 3> labels; // low, mid, high
    int nUnit;
    int nOutput;
    int nReadBack;
};

inline constexpr std::array<SAoChannelIds, 4> kAoChannels = {{
    {1130, {1133, 1134, 1135}, 1132, 1136, 1137},
    {1131, {1139, 1140, 1141}, 1138, 1142, 1143},
    {1144, {1146, 1147, 1148}, 1145, 1149, 1150},
    {1151, {1153, 1154, 1155}, 1152, 1156, 1157},
}};
