// One serial line ("COMn") on POSIX termios: opened exclusively in raw mode, read with time-outs.
// COMn is the device named by the environment variable OSTRA_COMn, else /dev/ttyS<n-1>.
#pragma once

#include "wintypes.h"

#include <chrono>
#include <cstddef>
#include <string>

// Rate and character format of a line. Parity: 'N', 'E' or 'O'.
struct LineSettings {
    DWORD m_dwBaud = 9600;
    unsigned m_nDataBits = 8;
    char m_cParity = 'N';
    unsigned m_nStopBits = 1;
};

// Milliseconds, rounded up, from now until deadline; 0 once it has passed.
int MsUntil(std::chrono::steady_clock::time_point deadline);

// Not thread-safe: one thread at a time works the line (the RTU receiver thread opens nothing and
// closes nothing; its owner only does so while the thread is not running).
class CSerialLine {
public:
    enum class EWait { Readable, Woken, TimedOut, Lost };

    CSerialLine() = default;
    ~CSerialLine() { Close(); }
    CSerialLine(const CSerialLine&) = delete;
    CSerialLine& operator=(const CSerialLine&) = delete;

    static std::string DevicePath(unsigned port);
    // The rates a line takes: 1200, 2400, 4800, 9600, 19200, 38400, 57600, 115200.
    static bool IsKnownRate(DWORD baud);

    // Opens COM<port> for this object alone (a second opener, in this process or another, is
    // refused) and puts it into raw mode. The rate and character format stay as the line had them
    // until Configure. Why an open failed goes to standard error, for the technician.
    bool Open(unsigned port);
    void Close();
    bool IsOpen() const { return m_nFd >= 0; }
    // The device went away (adapter unplugged, far end of a pseudo-terminal closed). It stays so
    // until the line is opened again.
    bool IsLost() const { return m_bLost; }

    // Sets rate and character format. Refuses a rate outside 1200 ... 115200, data bits outside
    // 5 to 8, stop bits other than 1 or 2 and parity other than N/E/O: false, line unchanged.
    bool Configure(const LineSettings& settings);
    // Drops unread input and unsent output.
    void Purge();

    // Waits until a byte can be read, wakeFd (an eventfd or pipe; -1 for none) is readable, or
    // timeoutMs passed (< 0: no limit). Woken wins over Readable. On a lost line only wakeFd is
    // watched, so a caller that keeps waiting sleeps instead of spinning; with no wakeFd the wait
    // then returns Lost at once.
    EWait Wait(int timeoutMs, int wakeFd = -1);
    // Reads what is queued without blocking: > 0 bytes read, 0 nothing queued, -1 the line is lost.
    long ReadSome(BYTE* buffer, size_t size);
    // Writes every byte within timeoutMs. False: time-out, or the line is lost.
    bool WriteAll(const BYTE* data, size_t size, int timeoutMs);
    // Milliseconds, rounded up, that count characters take on the wire at the current settings.
    int TransmitTimeMs(size_t count) const;

private:
    void ReportOpenFailure(const std::string& path, int error) const;

    int m_nFd = -1;
    unsigned m_nPort = 0;
    bool m_bLost = false;
};
