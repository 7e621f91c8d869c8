#include "SerialPort.h"

BOOL CSerialPort::StopReceiver()
{
    m_bStopRequested = 1;
    return TRUE;
}

void CSerialPort::SetWaitTimeout(DWORD dwTimeoutMs)
{
    m_dwWaitTimeout = dwTimeoutMs;
}

void CSerialPort::SendString(const char*) {}
