#pragma once
// Times repeated runs of one piece of work by the wall clock and by the process's
// CPU time, and prints both medians with the fastest run. The CPU time stays
// meaningful on a machine that other work keeps busy.
#include <time.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <vector>

namespace zor::bench {

inline double cpuMilliseconds() {
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return double(t.tv_sec) * 1e3 + double(t.tv_nsec) / 1e6;
}

template <typename Work>
void timeRuns(const char* label, int runs, Work work) {
    std::vector<double> wall, cpu;
    for (int i = 0; i < runs; ++i) {
        const auto start = std::chrono::steady_clock::now();
        const double cpuStart = cpuMilliseconds();
        work();
        cpu.push_back(cpuMilliseconds() - cpuStart);
        wall.push_back(std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() -
                                                                 start)
                           .count());
    }
    std::sort(wall.begin(), wall.end());
    std::sort(cpu.begin(), cpu.end());
    std::printf("%s median %.3f ms, fastest %.3f ms; CPU time median %.3f ms; over %d runs\n",
                label, wall[wall.size() / 2], wall.front(), cpu[cpu.size() / 2], runs);
}

}  // namespace zor::bench
