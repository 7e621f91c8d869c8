// The exports both library builds share.
#include "Portix_rtu.h"
#include "RtuCrc.h"
#include "RtuLink.h"

#include <cstring>

CRtuLink g_RtuLink;

RTU_API int GetRtuStrCRC(const BYTE* source, DWORD length, BYTE* dest)
{
    if (!dest || (length > 0 && !source)) return 0;
    RtuCrc crc = CalcRtuCrc(source, length);
    if (length > 0) std::memmove(dest, source, length);
    dest[length] = crc.m_nLow;
    dest[length + 1] = crc.m_nHigh;
    return 1;
}

RTU_API WORD Change_Baudrate(DWORD, DWORD)
{
    return 0;
}

RTU_API WORD Get_Portix_Version()
{
    return 1;
}
