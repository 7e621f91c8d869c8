// Resource and command ids of the program.
#pragma once

#include "wintypes.h"

inline constexpr UINT IDR_MAINFRAME = 128; // menu, toolbar, accelerators, document template
inline constexpr UINT IDD_SEARCH = 131;
inline constexpr UINT IDD_SINGLE = 135;
inline constexpr UINT IDD_LOG = 138;

inline constexpr int IDI_LAMP_ON = 143;     // red
inline constexpr int IDI_LAMP_OFF = 144;    // white
inline constexpr int IDI_LAMP_UNUSED = 145; // grey
inline constexpr int IDI_DOT_SET = 170;     // small red dot
inline constexpr int IDI_DOT_CLEAR = 171;   // small grey dot

inline constexpr UINT ID_RUN_SINGLELINE = 32771;
inline constexpr UINT ID_QUERY_START = 32773;
inline constexpr UINT ID_OPEN_DIO_MODULE = 32774;
inline constexpr UINT ID_RUN_DATALOGGER = 32775;
inline constexpr UINT ID_ABOUT_HELP = 32776;
