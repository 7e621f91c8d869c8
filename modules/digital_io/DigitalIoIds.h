// Control ids of the digital I/O templates (140 ASCII, 224 Modbus RTU). The controls of each
// channel are in DioChannelControls (DioModel.h).
#pragma once

enum : unsigned {
    IDD_M6373 = 140,
    IDD_M6373_MODBUS = 224,
};

enum : int {
    IDC_DIO_LIST = 1000,
    IDC_DIO_PROTOCOL = 1006,
    IDC_DIO_CHECKSUM = 1007,
    IDC_DIO_LATCH_LOW = 1010,
    IDC_DIO_SETTING = 1042,
    IDC_DIO_ADDRESS = 1080,
    IDC_DIO_BAUD = 1083,
    IDC_DIO_LATCH_HIGH = 1103,
    IDC_DIO_CLEAR_LATCH = 1105,
    IDC_DIO_MODEL = 1106,
    IDC_DIO_SET_SAFE = 1176,
    IDC_DIO_READ_SAFE = 1177,
    IDC_DIO_ANSWER = 1178,
    IDC_DIO_SET_POWERON = 1180,
    IDC_DIO_READ_POWERON = 1181,
};
