// Rnd and Randomize: uniform singles in [0, 1) of 24 bits, from the stream
// and from each reseed (a new column's length is the first number after
// one), with no pattern between neighbours, and reseeds within one clock
// reading leading to different sequences.
#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <vector>

#include "runtime/language/random.h"

namespace {

constexpr int kBins = 64;
// Chi-square of 63 degrees of freedom beyond 160 has a chance below 1e-9.
constexpr double kChiSquareBound = 160;

double ChiSquare(const std::array<int, kBins>& counts, int draws) {
  const double expected = static_cast<double>(draws) / kBins;
  double sum = 0;
  for (const int count : counts) sum += (count - expected) * (count - expected) / expected;
  return sum;
}

int BinOf(float value) { return static_cast<int>(value * kBins); }

TEST(Random, EveryNumberIsA24BitFractionBelowOne) {
  rt::Randomize();
  for (int i = 0; i < 100000; ++i) {
    const float value = rt::Rnd();
    ASSERT_GE(value, 0.0f);
    ASSERT_LT(value, 1.0f);
    const float scaled = value * 16777216.0f;
    ASSERT_EQ(scaled, std::floor(scaled)) << value;
  }
}

TEST(Random, TheStreamIsUniform) {
  rt::Randomize();
  std::array<int, kBins> counts{};
  constexpr int kDraws = 640000;
  for (int i = 0; i < kDraws; ++i) ++counts[BinOf(rt::Rnd())];
  EXPECT_LT(ChiSquare(counts, kDraws), kChiSquareBound);
}

TEST(Random, NeighboursShowNoPattern) {
  rt::Randomize();
  // Pairs of successive numbers over an 8 × 8 grid.
  std::array<int, kBins> counts{};
  constexpr int kPairs = 320000;
  for (int i = 0; i < kPairs; ++i) {
    const int first = static_cast<int>(rt::Rnd() * 8);
    const int second = static_cast<int>(rt::Rnd() * 8);
    ++counts[first * 8 + second];
  }
  EXPECT_LT(ChiSquare(counts, kPairs), kChiSquareBound);
}

TEST(Random, TheFirstNumberAfterEachReseedIsUniform) {
  std::array<int, kBins> counts{};
  constexpr int kReseeds = 320000;  // many within one clock reading
  for (int i = 0; i < kReseeds; ++i) {
    rt::Randomize();
    ++counts[BinOf(rt::Rnd())];
  }
  EXPECT_LT(ChiSquare(counts, kReseeds), kChiSquareBound);
}

TEST(Random, BackToBackReseedsGiveDifferentSequences) {
  std::vector<std::vector<float>> sequences;
  for (int reseed = 0; reseed < 100; ++reseed) {
    rt::Randomize();
    std::vector<float> sequence;
    for (int i = 0; i < 4; ++i) sequence.push_back(rt::Rnd());
    for (const std::vector<float>& earlier : sequences) ASSERT_NE(sequence, earlier) << reseed;
    sequences.push_back(sequence);
  }
}

}  // namespace
