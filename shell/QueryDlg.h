// The search dialog: scans the bus and lists the modules found.
#pragma once

#include "Dialog.h"

class CMainFrame;

// Controls of the search dialog.
enum : int {
    IDC_RESULT_LIST = 1000,
    IDC_COM_PORT = 1006,
    IDC_CHECKSUM_ENABLE = 1010,
    IDC_BAUD_115200 = 1011,
    IDC_BAUD_57600 = 1012,
    IDC_BAUD_38400 = 1013,
    IDC_BAUD_19200 = 1014,
    IDC_BAUD_9600 = 1015,
    IDC_BAUD_4800 = 1016,
    IDC_BAUD_2400 = 1017,
    IDC_BAUD_1200 = 1018,
    IDC_TIMEOUT = 1025,
    IDC_STOP = 1027,
    IDC_PROGRESS = 1028,
    IDC_CHECKSUM_DISABLE = 1030,
    IDC_SAVE = 1043,
    IDC_SCAN_BAUD = 1180,
    IDC_SCAN_ADDRESS = 1181,
    IDC_PARITY = 1246,
};

class CQueryDlg : public CDialog {
public:
    explicit CQueryDlg(CMainFrame* pMainFrame);

    CMainFrame* m_pMainFrame;
};
