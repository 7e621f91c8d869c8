// Send_Receive_Rtu over a pseudo-terminal against a far end (a thread) that answers at once. The
// floor is the silence time-out that ends every reply plus the wire time of request and reply at
// the chosen rate (a pseudo-terminal does not pace bytes, so the measured time holds no wire time).
#include "Portix_rtu.h"
#include "PtyPair.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <string>
#include <sys/resource.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace {

constexpr BYTE kPort = 10;
constexpr BYTE kBody[] = {0x01, 0x03, 0x00, 0x00, 0x00, 0x0A};
constexpr size_t kReplyBytes = 25; // 01 03 14, twenty data bytes, CRC

double ProcessCpuSeconds()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    auto seconds = [](const timeval& t) { return t.tv_sec + t.tv_usec / 1e6; };
    return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

// Processor time of every thread but the calling one (the library's receiver thread), from the
// scheduler's nanosecond counters.
double OtherThreadsCpuSeconds()
{
    double total = 0;
    const std::string self = std::to_string(gettid());
    for (const auto& task : std::filesystem::directory_iterator("/proc/self/task")) {
        if (task.path().filename() == self) continue;
        std::ifstream stat(task.path() / "schedstat");
        double ns = 0;
        if (stat >> ns) total += ns / 1e9;
    }
    return total;
}

void BM_RtuExchange(benchmark::State& state)
{
    const auto baud = static_cast<DWORD>(state.range(0));
    const auto timeoutMs = static_cast<WORD>(state.range(1));
    CPtyPair pty;
    pty.KeepSlaveOpen();
    CScopedComPort com(kPort, pty.SlavePath());
    if (Open_ComRtu(kPort, 100, baud, 8, 0, 1) != 1) {
        state.SkipWithError("open failed");
        return;
    }
    BYTE request[sizeof kBody + 2];
    GetRtuStrCRC(kBody, sizeof kBody, request);
    std::atomic<bool> stop = false;
    std::jthread farEnd([&] {
        const std::string reply(kReplyBytes, '\x11');
        while (!stop)
            if (pty.Read(sizeof request, 50).size() == sizeof request) pty.Write(reply);
    });
    std::vector<double> micros;
    std::vector<BYTE> reply(kRtuReplyBufferSize);
    WORD length = 0;
    for (auto _ : state) {
        auto start = std::chrono::steady_clock::now();
        int result =
            Send_Receive_Rtu(kPort, request, sizeof request, reply.data(), timeoutMs, 0, &length);
        micros.push_back(
            std::chrono::duration<double, std::micro>(std::chrono::steady_clock::now() - start)
                .count());
        if (result != 1 || length != kReplyBytes) state.SkipWithError("no reply");
    }
    stop = true;
    Close_ComRtu(kPort);
    std::nth_element(micros.begin(), micros.begin() + micros.size() / 2, micros.end());
    const double median = micros[micros.size() / 2];
    const double floor = timeoutMs * 1000.0 + (sizeof request + kReplyBytes) * 10.0 * 1e6 / baud;
    state.counters["median_us"] = median;
    state.counters["floor_us"] = floor;
    // On a pseudo-terminal the wire time is not spent, so only the time-out is the true floor.
    state.counters["over_timeout_us"] = median - timeoutMs * 1000.0;
}
BENCHMARK(BM_RtuExchange)
    ->Args({9600, 20})
    ->Args({115200, 20})
    ->Args({9600, 100})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

// An open line between exchanges: its receiver thread sleeps until a byte or a request comes.
void BM_RtuIdleReceiverThread(benchmark::State& state)
{
    CPtyPair pty;
    pty.KeepSlaveOpen();
    CScopedComPort com(kPort, pty.SlavePath());
    if (Open_ComRtu(kPort, 100, 9600, 8, 0, 1) != 1) {
        state.SkipWithError("open failed");
        return;
    }
    double process = 0;
    double receiver = 0;
    for (auto _ : state) {
        double processBefore = ProcessCpuSeconds();
        double receiverBefore = OtherThreadsCpuSeconds();
        std::this_thread::sleep_for(std::chrono::seconds(3));
        receiver = OtherThreadsCpuSeconds() - receiverBefore;
        process = ProcessCpuSeconds() - processBefore;
    }
    Close_ComRtu(kPort);
    state.counters["receiver_cpu_percent"] = receiver / 3.0 * 100.0;
    state.counters["process_cpu_percent"] = process / 3.0 * 100.0;
}
BENCHMARK(BM_RtuIdleReceiverThread)->Iterations(1)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace

BENCHMARK_MAIN();
