#include "SerialPort.h"

BOOL CSerialPort::StopReceiver()
{
    m_bStopRequested = true;
    return TRUE;
}

void CSerialPort::SetWaitTimeout(DWORD dwTimeoutMs)
{
    m_dwWaitTimeout = dwTimeoutMs;
}

void CSerialPort::SendString(const char*) {}
