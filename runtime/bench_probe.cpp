#include "runtime/bench_probe.h"

#include <chrono>
#include <cstdio>

namespace rt::bench {
namespace {

long long MonotonicNanoseconds() {
  return std::chrono::duration_cast<std::chrono::nanoseconds>(
             std::chrono::steady_clock::now().time_since_epoch())
      .count();
}

}  // namespace

void CountTick() {
  static long long ticks = 0;
  // Every tenth tick, so that reporting costs next to nothing.
  if (++ticks % 10 == 0)
    std::fprintf(stderr, "bench-ticks %lld %lld\n", ticks, MonotonicNanoseconds());
}

void FirstPaint() {
  static bool painted = false;
  if (painted) return;
  painted = true;
  std::fprintf(stderr, "bench-first-paint %lld\n", MonotonicNanoseconds());
}

}  // namespace rt::bench
