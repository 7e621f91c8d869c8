// Templates and control ids of the Modbus rack window and its pages.
#pragma once

#include <array>

enum : int {
    IDD_V1333M = 245,     // the rack window
    IDD_V1333MAIN = 246,  // main page
    IDD_V1384HM = 247,    // analog slot page
    IDD_V1333RTUIO = 248, // digital slot page
};

// Window 245.
enum : int {
    IDC_RACK_TAB = 1339,
    IDC_RACK_MODULE = 1343,
    IDC_RACK_FIRMWARE_LABEL = 1127,
    IDC_RACK_FIRMWARE = 1340,
    IDC_RACK_SLOT_LABEL = 1208,
    IDC_RACK_SLOT = 1352,
    IDC_RACK_START_LABEL = 1124,
    IDC_RACK_START = 1342,
    IDC_RACK_END_LABEL = 1125,
    IDC_RACK_END = 1341,
};

// Main page 246: per slot row, the module name, start and end address.
inline constexpr std::array<int, 8> kRackMainModuleIds = {1344, 1345, 1346, 1347,
                                                          1348, 1349, 1350, 1351};
inline constexpr std::array<int, 8> kRackMainStartIds = {1353, 1354, 1355, 1356,
                                                         1357, 1358, 1359, 1187};
inline constexpr std::array<int, 8> kRackMainEndIds = {1360, 1361, 1362, 1363,
                                                       1364, 1365, 1366, 1195};

// Digital page 248: a lamp button and a label per channel, and the label view button.
inline constexpr std::array<int, 16> kRackIoLampIds = {
    1384, 1385, 1029, 1386, 1387, 1388, 1389, 1034, 1390, 1391, 1037, 1038, 1039, 1040, 1041, 1042};
inline constexpr std::array<int, 16> kRackIoLabelIds = {
    1367, 1368, 1369, 1370, 1371, 1372, 1373, 1374, 1375, 1376, 1377, 1378, 1379, 1380, 1381, 1382};
inline constexpr int IDC_RACK_IO_VIEW = 1027;

// Analog page 247: per channel row, its alarm lamps, label, range, value and unit; per output
// channel its entry, unit and Send button; the two column heads that are buttons.
inline constexpr std::array<int, 8> kRackAiHighLampIds = {1291, 1292, 1293, 1294,
                                                          1295, 1296, 1297, 1298};
inline constexpr std::array<int, 8> kRackAiLowLampIds = {1299, 1300, 1301, 1302,
                                                         1303, 1304, 1305, 1306};
inline constexpr std::array<int, 8> kRackAiLabelIds = {1367, 1368, 1369, 1370,
                                                       1371, 1372, 1373, 1374};
inline constexpr std::array<int, 8> kRackAiRangeIds = {1278, 1279, 1095, 1112,
                                                       1280, 1281, 1177, 1178};
inline constexpr std::array<int, 8> kRackAiValueIds = {1375, 1376, 1377, 1378,
                                                       1379, 1380, 1381, 1382};
inline constexpr std::array<int, 8> kRackAiUnitIds = {1132, 1138, 1145, 1152,
                                                      1176, 1195, 1196, 1197};
inline constexpr std::array<int, 4> kRackAoEntryIds = {1398, 1399, 1181, 1174};
inline constexpr std::array<int, 4> kRackAoUnitIds = {1133, 1139, 1146, 1153};
inline constexpr std::array<int, 4> kRackAoSendIds = {1131, 1144, 1151, 1264};
inline constexpr int IDC_RACK_AI_VIEW = 1027;
inline constexpr int IDC_RACK_AI_HEX = 1040;
