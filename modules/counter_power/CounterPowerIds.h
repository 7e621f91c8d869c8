// Template and control ids of the counter and power-meter dialogs.
#pragma once

enum : int {
    IDD_M63508 = 198,
    IDD_M6530RTU = 232,
};

enum : int {
    IDC_PM_COMMAND_ASCII = 1010,
    IDC_PM_SETTING = 1027,
    IDC_PM_COMMAND_MODBUS = 1030,
    IDC_PM_BAUD = 1034,
    IDC_PM_READ_PT = 1040,
    IDC_PM_SET_PT = 1041,
    IDC_PM_READ_CT = 1042,
    IDC_PM_SET_CT = 1043,
    IDC_PM_ADDRESS = 1090,
    IDC_PM_CHECKSUM = 1092,
    IDC_PM_MODEL = 1106,
    IDC_PM_STATUS = 1107,
    IDC_PM_CLEAR = 1108,
    IDC_PM_STEP1 = 1111,
    IDC_PM_STEP2 = 1112,
    IDC_PM_STEP3 = 1113,
    IDC_PM_STEP4 = 1114,
    IDC_PM_STEP5 = 1115,
    IDC_PM_SAVE = 1116,
    IDC_PM_RESET = 1117,
    IDC_PM_PROTOCOL_SWITCH = 1140, // "MODBUS/RTU" over ASCII, "ASCII" over Modbus RTU
    IDC_PM_PT_READ = 1171,
    IDC_PM_PT_SET = 1198,
    IDC_PM_CT_READ = 1199,
    IDC_PM_CT_SET = 1200,
    IDC_PM_DEFAULT = 1203,
    IDC_PM_SAVE2 = 1204,
    IDC_PM_INPUT_LEFT = 1205,
    IDC_PM_INPUT = 1206,
    IDC_PM_OUTPUT1 = 1207, // output bit 1
    IDC_PM_OUTPUT0 = 1208, // output bit 0
};

// The reading boxes.
enum : int {
    IDC_PM_V1 = 1202,
    IDC_PM_V2 = 1172,
    IDC_PM_V3 = 1173,
    IDC_PM_I1 = 1174,
    IDC_PM_I2 = 1175,
    IDC_PM_I3 = 1176,
    IDC_PM_P1 = 1177,
    IDC_PM_P2 = 1178,
    IDC_PM_P3 = 1179,
    IDC_PM_Q1 = 1180,
    IDC_PM_Q2 = 1181,
    IDC_PM_Q3 = 1182,
    IDC_PM_S1 = 1183,
    IDC_PM_S2 = 1184,
    IDC_PM_S3 = 1185,
    IDC_PM_PF1 = 1186,
    IDC_PM_PF2 = 1187,
    IDC_PM_PF3 = 1188,
    IDC_PM_IN = 1189,
    IDC_PM_P = 1190,
    IDC_PM_Q = 1191,
    IDC_PM_S = 1192,
    IDC_PM_F = 1193,
    IDC_PM_EPI = 1194,
    IDC_PM_EPO = 1195,
    IDC_PM_EQIND = 1196,
    IDC_PM_EQCAP = 1197,
};

// The five calibration steps, disabled when a dialog opens.
inline constexpr int kPmStepIds[5] = {IDC_PM_STEP1, IDC_PM_STEP2, IDC_PM_STEP3, IDC_PM_STEP4,
                                      IDC_PM_STEP5};
// The four lamps in the order the dialogs set them when they open.
inline constexpr int kPmLampIds[4] = {IDC_PM_INPUT, IDC_PM_INPUT_LEFT, IDC_PM_OUTPUT0,
                                      IDC_PM_OUTPUT1};

// ---- the counter/frequency dialog ----

enum : unsigned { IDD_M6363 = 194 };

enum : int {
    IDC_CNT_MODEL = 1106,
    IDC_CNT_ADDRESS = 1090,
    IDC_CNT_TYPE = 1093,
    IDC_CNT_GATE_TIME = 1007,
    IDC_CNT_BAUD = 1034,
    IDC_CNT_CHECKSUM = 1092,
    IDC_CNT_PROTOCOL = 1006,
    IDC_CNT_SETTING = 1094,
    IDC_CNT_VALUE0 = 1095,
    IDC_CNT_CLEAR0 = 1027,
    IDC_CNT_MODE0 = 1193,
    IDC_CNT_SET_MODE0 = 1032,
    IDC_CNT_PRESET0 = 1171,
    IDC_CNT_SET_PRESET0 = 1253,
    IDC_CNT_MAX0 = 1229,
    IDC_CNT_SET_MAX0 = 1031,
    IDC_CNT_VALUE1 = 1097,
    IDC_CNT_CLEAR1 = 1033,
    IDC_CNT_MODE1 = 1194,
    IDC_CNT_SET_MODE1 = 1030,
    IDC_CNT_PRESET1 = 1175,
    IDC_CNT_SET_PRESET1 = 1254,
    IDC_CNT_MAX1 = 1230,
    IDC_CNT_SET_MAX1 = 1036,
    IDC_CNT_GATE = 1252,
    IDC_CNT_SET_GATE = 1041,
    IDC_CNT_ALARM_MODE = 1197,
    IDC_CNT_SET_ALARM_MODE = 1040,
    IDC_CNT_A_ENABLE0 = 1195,
    IDC_CNT_A_VALUE0 = 1198,
    IDC_CNT_A_SET_ENABLE0 = 1042,
    IDC_CNT_A_SET_VALUE0 = 1048,
    IDC_CNT_A_ENABLE1 = 1196,
    IDC_CNT_A_VALUE1 = 1172,
    IDC_CNT_A_SET_ENABLE1 = 1046,
    IDC_CNT_A_SET_VALUE1 = 1043,
    IDC_CNT_B_ALARM = 1026,
    IDC_CNT_B_SET_ALARM = 1201,
    IDC_CNT_B_HIGH = 1174,
    IDC_CNT_B_SET_HIGH = 1044,
    IDC_CNT_B_HIGHHIGH = 1173,
    IDC_CNT_B_SET_HIGHHIGH = 1047,
    IDC_CNT_LAMP0 = 1199,
    IDC_CNT_LAMP1 = 1200,
    IDC_CNT_STATUS = 1107,
};

// Controls the template holds hidden, never shown.
inline constexpr int kCntHiddenButtons[] = {3, 1028, 1045, 1108, 1109, 1110};
inline constexpr int kCntHiddenEdits[] = {1096, 1098, 1099, 1100};
