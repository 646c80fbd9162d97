// Probes for the bench, on the boundary because both sides report: the
// forms layer every timer tick (its start and end), a backend its window's
// first paint after the map and its first whole frame on the server. A
// build configured with KELVORA_BENCH_PROBES writes them to standard error;
// in every other build they are empty and the program behaves exactly as
// without them. The forms layer defines them (runtime/forms/bench_probe.cpp).
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
