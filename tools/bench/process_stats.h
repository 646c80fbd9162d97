// What /proc tells about a process: CPU time and memory.
#pragma once

#include <sys/types.h>

namespace bench {

// User plus system time so far, in seconds.
double CpuSeconds(pid_t pid);
// Peak resident memory (VmHWM) and resident memory now (VmRSS), in MiB.
double PeakMemoryMiB(pid_t pid);
double ResidentMemoryMiB(pid_t pid);

}  // namespace bench
