#include "runtime/platform/bench_probe.h"

#include <chrono>
#include <cstdio>

namespace rt::bench {
namespace {

long long MonotonicNanoseconds() {
  return std::chrono::duration_cast<std::chrono::nanoseconds>(
             std::chrono::steady_clock::now().time_since_epoch())
      .count();
}

long long ticks = 0;

}  // namespace

TickScope::TickScope() : start_ns_(MonotonicNanoseconds()) {}

TickScope::~TickScope() {
  std::fprintf(stderr, "bench-tick %lld %lld %lld\n", ++ticks, start_ns_, MonotonicNanoseconds());
}

void FirstMap() {
  static bool mapped = false;
  if (mapped) return;
  mapped = true;
  std::fprintf(stderr, "bench-first-map %lld\n", MonotonicNanoseconds());
}

void FirstFrame() {
  static bool drawn = false;
  if (drawn) return;
  drawn = true;
  std::fprintf(stderr, "bench-first-frame %lld\n", MonotonicNanoseconds());
}

}  // namespace rt::bench
