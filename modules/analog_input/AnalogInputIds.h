// Template and control ids of the analog-input family's dialogs.
#pragma once

#include "PerChannelIds.h"

enum : unsigned {
    IDD_M6384 = 155,
    IDD_M6384_MODBUS = 227,
    IDD_M6384P = 202,
    IDD_M6384P_MODBUS = 222,
    IDD_6385P_MODBUS = 225,
    IDD_M6387 = 185,
};

// Shared by the eight-channel templates.
enum : int {
    IDC_AI_FORMAT = 1007,
    IDC_AI_CH_TYPE = 1008,
    IDC_AI_PROTOCOL = 1006,
    IDC_AI_BAUD = 1034,
    IDC_AI_ADDRESS = 1090,
    IDC_AI_CHECKSUM = 1092,
    IDC_AI_RANGE = 1093,
    IDC_AI_SETTING = 1094,
    IDC_AI_STATUS = 1107,
    IDC_AI_ZERO = 1109,
    IDC_AI_SPAN = 1110,
    IDC_AI_HIGH_LIMIT = 1120,
    IDC_AI_LOW_LIMIT = 1121,
    IDC_AI_LAMP1 = 1122,
    IDC_AI_LAMP0 = 1123,
    IDC_AI_ALARMH_LABEL = 1124,
    IDC_AI_ALARML_LABEL = 1125,
    IDC_AI_HIGH_LABEL = 1126,
    IDC_AI_LOW_LABEL = 1127,
    IDC_AI_ALARM_VALUE = 1128,
    IDC_AI_MODEL = 1129,
    IDC_AI_ALARM_CLEAR = 1130,
    IDC_AI_ALARM_TYPE = 1131,
    IDC_AI_ALARM_MODE = 1182,
    IDC_AI_MODE = 1246,
    IDC_AI_ALARML_SETTING = 1254,
    IDC_AI_ALARMH_SETTING = 1255,
    IDC_AI_MODE_LABEL = 1258,
    IDC_AI_CH_NUMBER = 1403,
    IDC_AI_CH_READ = 1407,
    IDC_AI_CH_CONF = 1408,
    IDC_AI_FOLLOW_CH0 = 1409,
};

// Value fields and enable boxes of CH0 to CH7.
inline constexpr int kAiValueIds[8] = {1112, 1116, 1113, 1117, 1115, 1119, 1114, 1118};
inline constexpr int kAiCheckIds[8] = {1140, 1144, 1141, 1145, 1142, 1146, 1143, 1147};

// The bridge-input template.
enum : int {
    IDC_BRIDGE_CALIBRATION = 1097,
    IDC_BRIDGE_ZERO = 1098,
    IDC_BRIDGE_SPAN = 1099,
    IDC_BRIDGE_VOLT_ZERO = 1100,
    IDC_BRIDGE_VOLT_SPAN = 1101,
    IDC_BRIDGE_VOLT_TRIM = 1102,
    IDC_BRIDGE_TRIM = 1103,
    IDC_BRIDGE_STATUS = 1104,
    IDC_BRIDGE_INPUT = 1095,
    IDC_BRIDGE_OHM = 1096,
    IDC_BRIDGE_MODEL = 1106,
    IDC_BRIDGE_SLIDER = 1130,
    IDC_BRIDGE_EXCITATION = 1136,
    IDC_BRIDGE_CANCEL = 1183,
    IDC_BRIDGE_SELECT = 1185,
    IDC_BRIDGE_NUMBER = 1192,
};
// Lamps CH1 to CH4 of the DO and DI groups.
inline constexpr int kBridgeDoLampIds[4] = {1142, 1149, 1156, 1187};
inline constexpr int kBridgeDiLampIds[4] = {1188, 1189, 1190, 1191};

// The single-channel Modbus input template.
enum : int {
    IDC_6385_LIST = 1000,
    IDC_6385_FORMAT = 1007,
    IDC_6385_CANCEL = 1027,
    IDC_6385_BAUD = 1034,
    IDC_6385_UPDATA = 1043,
    IDC_6385_REFRESH = 1046,
    IDC_6385_INPUT_LAMP = 1054,
    IDC_6385_DIO0_LAMP = 1055,
    IDC_6385_DIO1_LAMP = 1056,
    IDC_6385_ADDRESS = 1090,
    IDC_6385_CHECKSUM = 1092,
    IDC_6385_ASCII = 1140,
    IDC_6385_RESPOND = 1171,
    IDC_6385_RANGE = 1221,
    IDC_6385_VALUE = 1229,
};
