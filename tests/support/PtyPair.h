// A pseudo-terminal whose slave side stands in for a COM port, with the far end scripted by the
// test through the master side.
#pragma once

#include <chrono>
#include <string>
#include <string_view>
#include <termios.h>
#include <vector>

// One piece of a far end's answer: bytes sent after a pause.
struct PtyChunk {
    int nDelayMs;
    std::string strBytes;
};

class CPtyPair {
public:
    CPtyPair();
    ~CPtyPair();
    CPtyPair(const CPtyPair&) = delete;
    CPtyPair& operator=(const CPtyPair&) = delete;

    const std::string& SlavePath() const { return m_strSlavePath; }
    int MasterFd() const { return m_nMaster; }

    // Holds the slave open too, so the master does not see a hang-up while the program has the
    // port closed between two opens.
    void KeepSlaveOpen();
    void CloseMaster();

    // Reads what the program wrote: stops at maxBytes, or when nothing more came for gapMs.
    std::string Read(size_t maxBytes, int gapMs);
    // Reads up to and including terminator, or until timeoutMs have passed.
    std::string ReadUntil(char terminator, int timeoutMs);
    void Write(std::string_view bytes);
    // Sends each chunk after its pause.
    void WriteChunks(const std::vector<PtyChunk>& chunks);
    // The line settings the program set on its side (the master sees the slave's settings).
    termios SlaveSettings() const;

private:
    int m_nMaster = -1;
    int m_nSlaveHold = -1;
    std::string m_strSlavePath;
};

// Points COM<n> at a device path for the lifetime of the object.
class CScopedComPort {
public:
    CScopedComPort(int port, const std::string& path);
    ~CScopedComPort();
    CScopedComPort(const CScopedComPort&) = delete;
    CScopedComPort& operator=(const CScopedComPort&) = delete;

private:
    std::string m_strName;
};

// Real time since construction, for the lower and upper bounds of time-out tests.
class CStopwatch {
public:
    long long ElapsedMs() const
    {
        return std::chrono::duration_cast<std::chrono::milliseconds>(
                   std::chrono::steady_clock::now() - m_start)
            .count();
    }

private:
    std::chrono::steady_clock::time_point m_start = std::chrono::steady_clock::now();
};
