// What the link tests read about their own process: where its libraries are, how many descriptors
// it has and which threads.
#pragma once

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <iterator>
#include <set>
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
// The ids of the process's threads as /proc lists them.
using ThreadIds = std::set<std::string>;
inline ThreadIds ThreadIdsNow()
{
    ThreadIds ids;
    for (const auto& entry : std::filesystem::directory_iterator("/proc/self/task"))
        ids.insert(entry.path().filename().string());
    return ids;
}

// How many threads the process has that were not there at `before`. A joined thread leaves the
// list only once the kernel has finished its exit, which under load can take a while, and a thread
// listed in `before` may end meanwhile: so only threads added since count, and the list is read
// again until it holds `expected` of them. Threads only leave it meanwhile, so the count settles;
// a thread still running never leaves, and the count it keeps fails the check after the bound.
inline size_t AddedThreadCount(const ThreadIds& before, size_t expected)
{
    const auto giveUp = std::chrono::steady_clock::now() + std::chrono::seconds(30);
    for (;;) {
        ThreadIds now = ThreadIdsNow();
        size_t added = static_cast<size_t>(std::count_if(
            now.begin(), now.end(), [&](const std::string& id) { return !before.contains(id); }));
        if (added == expected || std::chrono::steady_clock::now() > giveUp) return added;
        SleepMs(1);
    }
}
