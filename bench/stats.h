#pragma once
// The clock, and order statistics of repeated measurements printed as one
// table row.
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include <time.h>

namespace bench {

inline double clockMs(clockid_t clock)
{
    timespec now{};
    clock_gettime(clock, &now);
    return double(now.tv_sec) * 1e3 + double(now.tv_nsec) / 1e6;
}

inline double monotonicMs()
{
    return clockMs(CLOCK_MONOTONIC);
}

// Wall time, and the CPU time of the calling thread: on a busy machine the
// wall time also counts the moments other processes had the CPU, the thread
// time only the work done.
class Stopwatch {
public:
    Stopwatch() : wall_(monotonicMs()), cpu_(clockMs(CLOCK_THREAD_CPUTIME_ID)) {}
    double wallMs() const { return monotonicMs() - wall_; }
    double cpuMs() const { return clockMs(CLOCK_THREAD_CPUTIME_ID) - cpu_; }

private:
    double wall_;
    double cpu_;
};

struct Summary {
    std::size_t runs = 0;
    double min = 0, p25 = 0, median = 0, p75 = 0, p99 = 0, max = 0;
};

// The q-quantile by linear interpolation between the closest ranks.
inline double quantile(const std::vector<double> &sorted, double q)
{
    if (sorted.empty())
        return 0;
    const double rank = q * double(sorted.size() - 1);
    const auto below = std::size_t(std::floor(rank));
    const auto above = std::min(below + 1, sorted.size() - 1);
    return sorted[below] + (rank - double(below)) * (sorted[above] - sorted[below]);
}

inline Summary summarize(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    Summary s;
    s.runs = values.size();
    if (values.empty())
        return s;
    s.min = values.front();
    s.p25 = quantile(values, 0.25);
    s.median = quantile(values, 0.5);
    s.p75 = quantile(values, 0.75);
    s.p99 = quantile(values, 0.99);
    s.max = values.back();
    return s;
}

// Other work on the machine stretches wall times: say how busy it was.
inline void printLoad()
{
    double lastMinute = 0;
    std::ifstream("/proc/loadavg") >> lastMinute;
    std::printf("(load average over the last minute: %.2f)\n", lastMinute);
}

inline void printHeader(const char *what, const char *unit)
{
    printLoad();
    std::printf("%-34s %6s %9s %9s %9s %9s %9s %9s  (%s)\n", what, "runs", "min", "p25", "median", "p75",
                "p99", "max", unit);
}

inline void printRow(const std::string &name, const Summary &s)
{
    std::printf("%-34s %6zu %9.3f %9.3f %9.3f %9.3f %9.3f %9.3f\n", name.c_str(), s.runs, s.min, s.p25,
                s.median, s.p75, s.p99, s.max);
    std::fflush(stdout);
}

} // namespace bench
