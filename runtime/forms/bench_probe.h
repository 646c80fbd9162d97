// Probes for the bench: a build configured with KELVORA_BENCH_PROBES reports
// every timer tick (its start and end), the window's first paint after it
// is mapped and its first whole frame on the server on standard error. In
// every other build they are empty and the program behaves exactly as
// without them.
#pragma once

namespace rt::bench {

#ifdef KELVORA_BENCH_PROBES
// Marks the start of a tick; the tick ends when the returned value is gone.
class TickScope {
 public:
  TickScope();
  ~TickScope();
  TickScope(const TickScope&) = delete;
  TickScope& operator=(const TickScope&) = delete;

 private:
  long long start_ns_;
};
constexpr bool kProbes = true;
void FirstMap();
void FirstFrame();
#else
constexpr bool kProbes = false;
class TickScope {};
inline void FirstMap() {}
inline void FirstFrame() {}
#endif

}  // namespace rt::bench
