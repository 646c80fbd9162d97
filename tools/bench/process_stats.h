// What /proc tells about a process: CPU time and memory.
#pragma once

#include <sys/types.h>

#include <string>

namespace bench {

// User plus system time so far, in seconds.
double CpuSeconds(pid_t pid);
// Peak resident memory (VmHWM) and resident memory now (VmRSS), in MiB.
double PeakMemoryMiB(pid_t pid);
double ResidentMemoryMiB(pid_t pid);
// How often its threads have gone to sleep so far (voluntary context
// switches), each sleep ended by a wake-up.
long long VoluntarySwitches(pid_t pid);
// The first process whose command line, its arguments joined by blanks,
// starts so; -1 for none.
pid_t FindProcess(const std::string& command_line_start);

}  // namespace bench
