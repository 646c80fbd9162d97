// Probes for the bench: a build configured with KELVORA_BENCH_PROBES reports
// its ticks and its first paint on standard error. In every other build they
// are empty and the program behaves exactly as without them.
#pragma once

namespace rt::bench {

#ifdef KELVORA_BENCH_PROBES
void CountTick();
void FirstPaint();
#else
inline void CountTick() {}
inline void FirstPaint() {}
#endif

}  // namespace rt::bench
