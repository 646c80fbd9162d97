#include "runtime/language/random.h"

#include <chrono>
#include <cstdint>
#include <random>

namespace rt {
namespace {

std::mt19937& Generator() {
  static std::mt19937 generator;
  return generator;
}

}  // namespace

void Randomize() {
  std::mt19937& generator = Generator();
  const auto now =
      static_cast<uint64_t>(std::chrono::high_resolution_clock::now().time_since_epoch().count());
  std::seed_seq seed{static_cast<uint32_t>(generator()), static_cast<uint32_t>(generator()),
                     static_cast<uint32_t>(now), static_cast<uint32_t>(now >> 32)};
  generator.seed(seed);
}

float Rnd() {
  // 24 random bits fill a single's mantissa exactly, so the result is < 1.
  return static_cast<float>(Generator()() >> 8) * (1.0f / 16777216.0f);
}

}  // namespace rt
