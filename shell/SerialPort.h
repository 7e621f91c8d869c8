// The program's serial-port class. The windows that carry one never open it: every line of the
// program goes through the ASCII and RTU links. What is here is what those windows call on a port
// that stays closed, and none of it makes a system call or allocates.
#pragma once

#include "wintypes.h"

class CSerialPort {
public:
    CSerialPort() = default;
    CSerialPort(const CSerialPort&) = delete;
    CSerialPort& operator=(const CSerialPort&) = delete;

    // Asks the receiver to stop. With no receiver running only the request is recorded. TRUE.
    BOOL StopReceiver();
    // The receiver's wait in ms, stored for its next wait.
    void SetWaitTimeout(DWORD dwTimeoutMs);
    DWORD GetWaitTimeout() const { return m_dwWaitTimeout; }
    bool IsStopRequested() const { return m_bStopRequested; }
    // Sends a text on the open port. The port is never open, so the text goes nowhere.
    void SendString(const char* pszText);

private:
    DWORD m_dwWaitTimeout = 500;
    bool m_bStopRequested = false;
};
