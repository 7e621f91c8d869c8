// Template and control ids of the four-channel output dialogs with digital inputs (ASCII and
// Modbus RTU).
#pragma once

enum : unsigned {
    IDD_M6359P = 213,
    IDD_M6359P_MODBUS = 223,
};

enum : int {
    IDC_ODI_LIST = 1000,
    IDC_ODI_PROTOCOL = 1006,
    IDC_ODI_CANCEL = 1027,
    IDC_ODI_OUTPUT = 1040, // "&Output" (ASCII), "&Setting" (Modbus RTU)
    IDC_ODI_UPDATE_STARTUP = 1042,
    IDC_ODI_UPDATE = 1043,
    IDC_ODI_REFRESH = 1046,
    IDC_ODI_ADDRESS = 1090,
    IDC_ODI_CHECKSUM = 1092,
    IDC_ODI_VALUE = 1099,
    IDC_ODI_RESPOND = 1171,
    IDC_ODI_BAUD = 1214,
    IDC_ODI_FORMAT = 1216,
    IDC_ODI_PROTOCOL_BOX = 1235,
    IDC_ODI_SLIDER_MODBUS = 1241,
    IDC_ODI_SLIDER = 1245,
    IDC_ODI_CHANNEL = 1246,
    IDC_ODI_SCALE = 1251,
    IDC_ODI_CODE = 1409,
};

// Per channel CH0 to CH3.
inline constexpr int kOdiRangeIds[4] = {1221, 1222, 1223, 1224};
inline constexpr int kOdiCurrentIds[4] = {1229, 1230, 1231, 1232};
inline constexpr int kOdiStartupIds[4] = {1095, 1096, 1097, 1098};
inline constexpr int kOdiLampIds[4] = {1054, 1055, 1056, 1057};
inline constexpr int kOdiCheckIds[4] = {1217, 1218, 1219, 1220};
// The "Direct Output Value" group the ASCII template holds hidden: a slider and a label each.
inline constexpr int kOdiHiddenSliderIds[4] = {1241, 1242, 1243, 1244};
inline constexpr int kOdiHiddenLabelIds[4] = {1247, 1248, 1249, 1250};
