// modsim serving a bus file on a pseudo-terminal, with its wire log; stopped with SIGTERM when the
// object ends. End-to-end tests point a COM port at Slave().
#pragma once

#include <filesystem>
#include <string>
#include <sys/types.h>

class CModsim {
public:
    // bin is the folder modsim was built in.
    CModsim(const std::string& busText, const std::string& bin);
    ~CModsim();
    CModsim(const CModsim&) = delete;
    CModsim& operator=(const CModsim&) = delete;

    // The pseudo-terminal modsim serves; empty when it did not start.
    const std::string& Slave() const { return m_strSlave; }
    // Ends modsim (SIGTERM unless it has ended by itself within waitMs); its exit status.
    int Stop(int waitMs = 0);
    // The wire log: one line per request and reply.
    std::string Log() const;

private:
    bool Reap(int flags);

    std::filesystem::path m_dir;
    pid_t m_pid = -1;
    int m_nStatus = -1;
    std::string m_strSlave;
};
