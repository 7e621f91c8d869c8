// The ASCII command link (libuart.so): one line open at a time, one command out, one reply back.
// Calls block the calling thread; the library runs no thread of its own.
#pragma once

#include "wintypes.h"

#define UART_API extern "C" __attribute__((visibility("default")))

// Results. Callers only tell 0 from the rest; the other values say why, for tests and diagnosis.
enum UartResult : WORD {
    UART_OK = 0,
    UART_BAD_ARGUMENT = 1,     // port 0, parity other than 0/1/2, a null text or buffer
    UART_OPEN_FAILED = 2,      // no such device, no permission, or in use (reason on stderr)
    UART_SETTINGS_REFUSED = 3, // a rate outside 1200 ... 115200, or data bits outside 5 to 8
    UART_NOT_OPEN = 4,         // no line open on that port
    UART_WRITE_FAILED = 5,     // the command could not be written in time
    UART_NO_REPLY = 6,         // no carriage return within the time-out
    UART_REPLY_TOO_LONG = 7,   // the reply did not fit: its first 199 characters are in the buffer
    UART_LINE_LOST = 8,        // the device went away (adapter unplugged, far end closed)
};

// Opens COM<port> at baud with dataBits and parity (0 None, 1 Even, 2 Odd), 1 stop bit. 0 = the
// line is open. One line is open at a time: an open line (this port or another) is closed first.
// The line is held exclusively; another program, or another open in this one, is refused.
UART_API WORD Open_ComAscii(BYTE port, DWORD baud, BYTE dataBits, BYTE parity, BYTE reserved);
// Changes the rate of the line open on COM<port> at once. On a closed line it only checks the rate:
// the next Open_ComAscii gives its own. 0 = done.
UART_API WORD Change_BaudAscii(BYTE port, DWORD baud);
// Closes the line if it is open on COM<port>; harmless otherwise.
UART_API WORD Close_ComAscii(BYTE port);
// Drops stale input, sends command + CR (with its checksum digits before the CR when checksum is
// nonzero) and reads one reply ended by CR. timeoutMs bounds the wait for the first reply byte
// once the command has left and each gap between reply bytes; the call returns as soon as the CR
// arrives. 0 = a reply arrived: reply then holds it NUL-terminated, without its CR, with the
// module's own checksum digits. reply must hold 200 characters: at most 199 are stored, the rest of
// a longer reply is read and dropped. On any result reply is NUL-terminated (possibly empty) and
// replyLength (may be null) receives its length. Fails at once when the line is not open.
UART_API WORD Send_Receive_Ascii(BYTE port, const char* command, char* reply, WORD timeoutMs,
                                 WORD checksum, WORD* replyLength);
