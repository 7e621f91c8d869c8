// The Modbus RTU master link (libPortix_rtu.so, and its later revision libKobal.so).
// One RTU line is open per process; every call runs on the caller's thread. While the line is open
// a receiver thread of the library reads it; between requests that thread sleeps.
#pragma once

#include "wintypes.h"

#define RTU_API extern "C" __attribute__((visibility("default")))

// Largest request Send_Receive_Rtu accepts (CRC included); longer ones are refused. (Kobal takes
// up to 512 bytes.)
inline constexpr DWORD kRtuMaxRequest = 52;
// Largest reply the link collects; a reply that fills it ends there.
inline constexpr DWORD kRtuMaxReply = 3000;
// Every reply buffer handed to Send_Receive_Rtu must hold at least this many bytes: the reply and
// the zero byte after it.
inline constexpr DWORD kRtuReplyBufferSize = kRtuMaxReply + 1;

// Opens COM<port>, starts the receiver thread and pauses 100 ms. 1 opened, 0 not (port 0, no such
// device, in use). A line already open is closed first. parity: 0 None, 1 Even, 2 Odd. Settings
// the line refuses (stop bits 0, a rate outside 1200 ... 115200) leave it as it was: still 1.
// Portix_rtu ignores timeoutArg; Kobal takes it as the line-silence time-out in ms and ignores
// parity (always none).
RTU_API int Open_ComRtu(BYTE port, DWORD timeoutArg, DWORD baud, BYTE dataBits, BYTE parity,
                        BYTE stopBits);
// Stops the receiver thread, waits for it and closes the line. 1; Portix_rtu returns 0 for port 0.
// Harmless when no line is open.
RTU_API int Close_ComRtu(BYTE port);
// Sends the request (CRC included) and collects every byte until the line has been silent for
// timeoutMs, which is also the wait for the first byte once the request has left. 1 = a reply
// came; reply holds it followed by a zero byte, replyLength its length. reply must hold
// kRtuReplyBufferSize bytes. 0 with replyLength 0: no reply, line not open, or the request too long
// (then nothing is sent). Portix_rtu: port 0 returns 0 and leaves replyLength as it was.
// Kobal ignores port and timeoutMs (the time-out of the last open holds); mode is 0 or 1, both send
// the request unchanged, any other mode sends nothing; no reply gives replyLength 1.
#ifdef KOBAL_REVISION
RTU_API int Send_Receive_Rtu(BYTE port, const BYTE* request, DWORD requestLength, BYTE* reply,
                             WORD timeoutMs, WORD mode, WORD* replyLength);
#else
RTU_API int Send_Receive_Rtu(BYTE port, const BYTE* request, DWORD requestLength, BYTE* reply,
                             WORD timeoutMs, DWORD reserved, WORD* replyLength);
#endif
// Copies length bytes to dest (length + 2 bytes) and appends their CRC-16/MODBUS, low byte first.
// 1; 0 only for a null pointer.
RTU_API int GetRtuStrCRC(const BYTE* source, DWORD length, BYTE* dest);
// Does nothing; 0.
RTU_API WORD Change_Baudrate(DWORD, DWORD);
// Portix_rtu: closes the line (it stays closed), pauses 100 ms, 0. Kobal: closes, pauses 100 ms and
// reopens with these settings, no parity and a silence time-out of 500 ms; 0.
RTU_API WORD Change_Config(BYTE port, DWORD baud, DWORD dataBits, DWORD parity, DWORD stopBits);
// 1.
RTU_API WORD Get_Portix_Version();

#ifdef KOBAL_REVISION
// 0.
RTU_API WORD Get_Com_Status(DWORD);
// Sends text + CR (mode 1: text, its two checksum digits, CR) on ports 1 to 4, at most count
// characters of it, pauses 200 ms and returns 1.
RTU_API int Send_Rtu(BYTE port, const char* text, DWORD count, WORD mode);
// Ports 1 to 4: copies the stored ASCII reply, which this revision never fills, into dest (an empty
// text). 1 if it began with "!" or ">", so always 0.
RTU_API int Receive_Rtu(BYTE port, char* dest, DWORD, DWORD, DWORD);
// Copies a frame without its two CRC bytes to dest. 1 when the CRC (low byte first) is right, 0
// when not or when length is below 2.
RTU_API int DetachStrCRC(const BYTE* frame, DWORD length, BYTE* dest);
#endif
