// What the link tests read about their own process: where its libraries are, how many descriptors
// and threads it has.
#pragma once

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <iterator>
#include <string>
#include <thread>

// Where the libraries were built: $OSTRA_BIN, else beside the test program.
inline std::string BinDir()
{
    if (const char* bin = std::getenv("OSTRA_BIN"); bin && *bin) return bin;
    return std::filesystem::read_symlink("/proc/self/exe").parent_path();
}

inline void SleepMs(int ms)
{
    std::this_thread::sleep_for(std::chrono::milliseconds(ms));
}

inline size_t CountEntries(const char* dir)
{
    return static_cast<size_t>(std::distance(std::filesystem::directory_iterator(dir), {}));
}
inline size_t OpenFdCount()
{
    return CountEntries("/proc/self/fd");
}
inline size_t ThreadCount()
{
    return CountEntries("/proc/self/task");
}

// A joined thread can linger in /proc for a moment after the join.
inline size_t SettledThreadCount(size_t expected)
{
    for (int i = 0; i < 100 && ThreadCount() != expected; ++i) SleepMs(10);
    return ThreadCount();
}
