// Template and control ids of the thermocouple and universal-input families' dialogs.
#pragma once

#include "PerChannelIds.h"

// The thermocouple dialog's template (159).

enum : int {
    IDD_M6386 = 159,
    IDC_TC_PROTOCOL = 1006,
    IDC_TC_FORMAT = 1007,
    IDC_TC_CH_TYPE = 1008,
    IDC_TC_CHANNEL = 1027, // never enabled
    IDC_TC_SET = 1028,     // never enabled or shown
    IDC_TC_BAUD = 1034,
    IDC_TC_ALARML_SETTING = 1040,
    IDC_TC_ADDRESS = 1090,
    IDC_TC_CHECKSUM = 1092,
    IDC_TC_RANGE = 1093,
    IDC_TC_SETTING = 1094,
    IDC_TC_STATUS = 1107,
    IDC_TC_CALIBRATE = 1108,
    IDC_TC_ZERO = 1109,
    IDC_TC_SPAN = 1110,
    IDC_TC_HIGH_LIMIT = 1120,
    IDC_TC_LOW_LIMIT = 1121,
    IDC_TC_HIGH_LAMP = 1122,
    IDC_TC_LOW_LAMP = 1123,
    IDC_TC_ALARMH_LABEL = 1124,
    IDC_TC_ALARML_LABEL = 1125,
    IDC_TC_HIGH_LAMP_LABEL = 1126,
    IDC_TC_LOW_LAMP_LABEL = 1127,
    IDC_TC_ALARMH_SETTING = 1128,
    IDC_TC_MODEL = 1129,
    IDC_TC_CLEAR_ALARM = 1130,
    IDC_TC_ALARM_TYPE = 1131,
    IDC_TC_CJC_ZERO_VALUE = 1154,
    IDC_TC_COEFFICIENT_VALUE = 1155,
    IDC_TC_COEFFICIENT_READ = 1156,
    IDC_TC_CJC_ZERO = 1157,
    IDC_TC_COEFFICIENT_WRITE = 1158,
    IDC_TC_TEMPERATURE = 1159,
    IDC_TC_READ_CJC = 1160,
    IDC_TC_CJC_STATUS = 1161,
    IDC_TC_CJC_OFFSET = 1162,
    IDC_TC_CJC_TEMP = 1163,
    IDC_TC_ALARM_MODE = 1182,
    IDC_TC_CH_NUMBER = 1403,
    IDC_TC_CH_READ = 1407,
    IDC_TC_CH_CONF = 1408,
    IDC_TC_READ = 1409,
    IDC_TC_FOLLOW_CH0 = 1410,
};

// Reading fields and enable boxes of CH0 to CH7.
inline constexpr int kTcValueIds[8] = {1112, 1116, 1113, 1117, 1115, 1119, 1114, 1118};
inline constexpr int kTcCheckIds[8] = {1140, 1144, 1141, 1145, 1142, 1146, 1143, 1147};

// The per-channel-type templates; their controls are those of PerChannelIds.h.
enum : int {
    IDD_M6386P = 200,
    IDD_M6381P = 205,
};
