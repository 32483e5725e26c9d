#pragma once
// What a running process costs, read from /proc from outside it: CPU time of
// all its threads and its resident memory, sorted by what each page holds.
#include <sys/types.h>

#include <string>
#include <utility>
#include <vector>

namespace bench {

// Nanoseconds all threads of the process have run so far.
double cpuNs(pid_t pid);
// VmRSS in MiB; 0 when the process is gone.
double residentMiB(pid_t pid);

// Resident MiB of the process by what the pages hold, in a fixed order; the
// parts add up to VmRSS.
std::vector<std::pair<std::string, double>> residentBreakdown(pid_t pid);

} // namespace bench
