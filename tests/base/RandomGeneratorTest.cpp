#include "base/RandomGenerator.h"

#include <gtest/gtest.h>

#include <random>

namespace ox::rng {
namespace {

// The generator's definition in plain 64-bit arithmetic, as the reference.
uint32_t Reference(uint32_t state) { return static_cast<uint32_t>((uint64_t{state} * 31415821 + 1) % 100000000); }

TEST(RandomGenerator, SeedPacksTheTime_NextMatchesTheWideArithmeticForAnyState) {
  EXPECT_EQ(Next(0), 1u);
  EXPECT_EQ(Next(1), 31415822u);
  std::mt19937 gen(1);
  for (int i = 0; i < 100000; ++i) {
    const uint32_t s = gen() % 400000000;  // seeds go up to about 3.9e8
    ASSERT_EQ(Next(s), Reference(s)) << s;
  }
  const uint32_t maxSeed = Seed(65535, 65535, 65535, 65535);  // unmasked 16-bit fields overflow 32 bits
  EXPECT_EQ(Next(maxSeed), Reference(maxSeed));
  EXPECT_EQ(Seed(23, 59, 59, 999), ((23u * 256 + 59) * 256 + 59) * 256 + 999);  // the time of day packed
}

TEST(RandomGenerator, Scale_StaysInRange) {
  uint32_t s = Seed(12, 34, 56, 789);
  bool seen[10] = {};
  for (int i = 0; i < 10000; ++i) {
    s = Next(s);
    EXPECT_EQ(Scale(s, 1), 0);
    const int32_t v = Scale(s, 10);
    ASSERT_GE(v, 0);
    ASSERT_LT(v, 10);
    seen[v] = true;
    ASSERT_LT(Scale(s, 2000000000), 2000000000);  // wide ranges do not overflow
  }
  for (bool b : seen) EXPECT_TRUE(b);
  EXPECT_EQ(Scale(99999999, 0), 0);
  EXPECT_EQ(Scale(99999999, -5), 0);
  EXPECT_EQ(Scale(99999999, 214748), 214726);  // (9999 * 214748) / 10000
}

}  // namespace
}  // namespace ox::rng
