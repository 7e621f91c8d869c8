// Control ids shared by the analog-input dialogs' templates.
#pragma once

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

// Message-map entries of the eight enable boxes: handler<k> runs for the box of CH k.
#define ON_AI_CHANNEL_CHECKS(handler)                                                              \
    ON_BN_CLICKED(1140, handler<0>)                                                                \
    ON_BN_CLICKED(1144, handler<1>)                                                                \
    ON_BN_CLICKED(1141, handler<2>)                                                                \
    ON_BN_CLICKED(1145, handler<3>)                                                                \
    ON_BN_CLICKED(1142, handler<4>)                                                                \
    ON_BN_CLICKED(1146, handler<5>)                                                                \
    ON_BN_CLICKED(1143, handler<6>)                                                                \
    ON_BN_CLICKED(1147, handler<7>)
