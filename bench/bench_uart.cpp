// One ASCII exchange through libuart.so over a pseudo-terminal, against a far end (a thread) that
// answers at once. A pseudo-terminal does not pace bytes, so the wire time a real line adds at the
// chosen rate is reported beside the measured time rather than contained in it.
#include "PtyPair.h"
#include "uart.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <sys/resource.h>
#include <thread>
#include <vector>

namespace {

constexpr BYTE kPort = 9;
constexpr char kCommand[] = "$01M";      // goes out as "$01MXX\r": 7 characters
constexpr char kReply[] = "!014017AF\r"; // 10 characters

double ProcessCpuSeconds()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    auto seconds = [](const timeval& t) { return t.tv_sec + t.tv_usec / 1e6; };
    return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

void BM_AsciiExchange(benchmark::State& state)
{
    const auto baud = static_cast<DWORD>(state.range(0));
    CPtyPair pty;
    pty.KeepSlaveOpen();
    CScopedComPort com(kPort, pty.SlavePath());
    if (Open_ComAscii(kPort, baud, 8, 0, 0) != UART_OK) {
        state.SkipWithError("open failed");
        return;
    }
    std::atomic<bool> stop = false;
    std::jthread farEnd([&] {
        while (!stop)
            if (pty.ReadUntil('\r', 50).ends_with('\r')) pty.Write(kReply);
    });
    std::vector<double> micros;
    char reply[200];
    WORD length = 0;
    for (auto _ : state) {
        auto start = std::chrono::steady_clock::now();
        WORD result = Send_Receive_Ascii(kPort, kCommand, reply, 200, 1, &length);
        micros.push_back(
            std::chrono::duration<double, std::micro>(std::chrono::steady_clock::now() - start)
                .count());
        if (result != UART_OK) state.SkipWithError("no reply");
    }
    stop = true;
    Close_ComAscii(kPort);
    std::nth_element(micros.begin(), micros.begin() + micros.size() / 2, micros.end());
    state.counters["median_us"] = micros[micros.size() / 2];
    // 10 bits a character: request and reply as a real line at this rate would carry them.
    state.counters["wire_us"] = (7.0 + 10.0) * 10.0 * 1e6 / baud;
}
BENCHMARK(BM_AsciiExchange)->Arg(9600)->Arg(115200)->Unit(benchmark::kMicrosecond)->UseRealTime();

// An open line between exchanges: the library runs no thread, so nothing should be spent.
void BM_AsciiIdleOpenLine(benchmark::State& state)
{
    CPtyPair pty;
    pty.KeepSlaveOpen();
    CScopedComPort com(kPort, pty.SlavePath());
    if (Open_ComAscii(kPort, 9600, 8, 0, 0) != UART_OK) {
        state.SkipWithError("open failed");
        return;
    }
    double cpu = 0;
    for (auto _ : state) {
        double before = ProcessCpuSeconds();
        std::this_thread::sleep_for(std::chrono::seconds(2));
        cpu = ProcessCpuSeconds() - before;
    }
    Close_ComAscii(kPort);
    state.counters["cpu_percent"] = cpu / 2.0 * 100.0;
}
BENCHMARK(BM_AsciiIdleOpenLine)->Iterations(1)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace

BENCHMARK_MAIN();
