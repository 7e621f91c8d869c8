// Template and control ids of the ASCII rack dialogs: the main unit (233), the digital slot (234),
// the analog input slot (235), the speed input slot (236), the analog output slot (237) and the
// two trims (243, 244). Each template's controls are in a namespace of their own, so an id of
// another template reads wrong where it is used; the two analog slot templates share the header
// and channel rows (rack_analog) and the alarm group (rack_alarm).
#pragma once

enum : int {
    IDD_RACK_MAIN = 233,
    IDD_RACK_DIO = 234,
    IDD_RACK_AI = 235,
    IDD_RACK_SPEED = 236,
    IDD_RACK_AO = 237,
    IDD_RACK_TRIM4 = 243,
    IDD_RACK_TRIM20 = 244,
};

// The main unit (233).
namespace rack_main {
enum : int {
    IDC_LIST = 1000,
    IDC_CANCEL = 1027,
    IDC_UPDATE = 1043,
    IDC_REFRESH = 1046,
    IDC_ADDRESS = 1090,
    IDC_CHECKSUM = 1092,
    IDC_WDT_TIMEOUT = 1171,
    IDC_BAUD = 1214,
    IDC_MODBUS_PARITY = 1235,
    IDC_PROTOCOL = 1392,
};
// "Enable Slot-0 WDT" to "Enable Slot-7 WDT".
inline constexpr int kWdtBoxIds[8] = {1217, 1218, 1219, 1220, 1144, 1145, 1146, 1147};
} // namespace rack_main

// The digital slot (234).
namespace rack_dio {
enum : int {
    IDC_UPDATA = 1042,
    IDC_MODEL = 1124,
    IDC_HIGH_BYTE = 1171,
    IDC_LOW_BYTE = 1172,
};
// Lamps and watchdog boxes, by channel.
inline constexpr int kInputLampIds[16] = {1054, 1055, 1056, 1057, 1058, 1059, 1060, 1061,
                                          1079, 1084, 1085, 1086, 1092, 1093, 1094, 1095};
inline constexpr int kOutputLampIds[16] = {1062, 1063, 1064, 1065, 1066, 1067, 1068, 1069,
                                           1109, 1110, 1111, 1112, 1113, 1114, 1115, 1116};
inline constexpr int kWdtBoxIds[16] = {1140, 1144, 1141, 1145, 1142, 1146, 1143, 1147,
                                       1148, 1149, 1150, 1151, 1152, 1153, 1154, 1155};
} // namespace rack_dio

// What both analog slot templates (235, 236) hold: the model, Cancel, the channel rows and the
// Update button under them.
namespace rack_analog {
enum : int {
    IDC_MODEL = 1106,
    IDC_CANCEL = 1288,
    IDC_UPDATE_ENABLE = 1040,
};
// A channel row: enable box, value, unit, the AlarmH and AlarmL lamps and their labels (-1: a
// label without id), and the 1384H's range combo.
struct SChannelIds {
    int nEnable, nValue, nUnit, nHighLamp, nLowLamp, nHighLabel, nLowLabel, nSpeedRange;
};
inline constexpr SChannelIds kChannelIds[8] = {
    {1140, 1171, 1229, 1291, 1299, -1, -1, 1307},
    {1144, 1095, 1096, 1292, 1300, -1, -1, 1308},
    {1141, 1097, 1098, 1293, 1301, -1, -1, 1009},
    {1145, 1099, 1100, 1294, 1302, 1124, 1129, 1010},
    {1142, 1101, 1102, 1295, 1303, 1125, 1130, 1011},
    {1146, 1103, 1104, 1296, 1304, 1126, 1131, 1012},
    {1143, 1105, 1111, 1297, 1305, 1127, 1132, 1013},
    {1147, 1230, 1231, 1298, 1306, 1128, 1133, 1014},
};
// The enable boxes in channel order, for the message maps.
inline constexpr int kEnableBoxIds[8] = {1140, 1144, 1141, 1145, 1142, 1146, 1143, 1147};
} // namespace rack_analog

// The analog input slot (235).
namespace rack_ai {
enum : int {
    IDC_FORMAT = 1007,
    IDC_UPDATE_SETTING = 1027,
    IDC_RTD_RANGE = 1093,
    IDC_VOLTAGE_RANGE = 1006,
    IDC_THERMOCOUPLE_RANGE = 1246,
    IDC_INTEGRATION = 1034,
    IDC_CH7_FRAME = 1338,
};
} // namespace rack_ai

// The speed input slot (236).
namespace rack_speed {
enum : int {
    IDC_FORMAT = 1007,
    IDC_UPDATE_SETTING = 1027,
    IDC_INTEGRATION = 1309,
};
} // namespace rack_speed

// The "Alarm Setting" group of both analog slot templates.
namespace rack_alarm {
enum : int {
    IDC_CHANNEL = 1290,
    IDC_HIGH_TYPE = 1122,
    IDC_LOW_TYPE = 1123,
    IDC_HIGH_LIMIT = 1232,
    IDC_LOW_LIMIT = 1233,
    IDC_UPDATE = 1042,
    IDC_CLEAR_HIGH = 1043,
    IDC_CLEAR_LOW = 1044,
};
} // namespace rack_alarm

// The analog output slot (237).
namespace rack_ao {
enum : int {
    IDC_FORMAT = 1007,
    IDC_CHANNEL = 1192,
    IDC_SLEW = 1314,
    IDC_TRIM4 = 1315,
    IDC_TRIM20 = 1316,
    IDC_UPDATE = 1317,
};
// A channel row.
struct SChannelIds {
    int nRange, nUpdate, nOutput, nOutputUnit, nSend, nReadBack, nReadBackUnit, nInitial, nSlider;
};
// The channel rows, by channel.
inline constexpr SChannelIds kChannelIds[4] = {
    {1324, 1328, 1319, 1095, 1332, 1112, 1096, 1335, 1241},
    {1325, 1329, 1320, 1097, 1029, 1116, 1098, 1336, 1242},
    {1318, 1330, 1321, 1099, 1333, 1113, 1100, 1337, 1243},
    {1326, 1331, 1323, 1101, 1334, 1117, 1102, 1049, 1244},
};
} // namespace rack_ao

// The two trims (243, 244).
namespace rack_trim {
enum : int {
    IDC_DOWN10 = 1043,
    IDC_DOWN1 = 1028,
    IDC_UP1 = 1041,
    IDC_UP10 = 1044,
    IDC_SAVE = 1042,
};
} // namespace rack_trim
