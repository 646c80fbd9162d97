#include "runtime/language/random.h"

#include <chrono>
#include <cstdint>
#include <random>

namespace rt {
namespace {

// Knuth's 64-bit linear congruential generator: its top bits are uniform
// over the full period, and a reseed is one store, where a twister's is a
// fill of 624 words (the saver reseeds for every new column).
using Generator64 =
    std::linear_congruential_engine<uint64_t, 6364136223846793005u, 1442695040888963407u, 0u>;

Generator64& Generator() {
  static Generator64 generator;
  return generator;
}

}  // namespace

void Randomize() {
  Generator64& generator = Generator();
  const auto now =
      static_cast<uint64_t>(std::chrono::high_resolution_clock::now().time_since_epoch().count());
  // The clock, spread over all 64 bits, goes into the current state.
  generator.seed(generator() ^ (now * 0x9E3779B97F4A7C15u));
}

float Rnd() {
  // 24 random bits fill a single's mantissa exactly, so the result is < 1.
  return static_cast<float>(Generator()() >> 40) * (1.0f / 16777216.0f);
}

}  // namespace rt
