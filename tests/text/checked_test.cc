#include "text/checked.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace h5 {
namespace {

constexpr int32_t kMax32 = std::numeric_limits<int32_t>::max();
constexpr int32_t kMin32 = std::numeric_limits<int32_t>::min();

TEST(CheckedTest, Add16) {
  const struct {
    int16_t a, b;
    std::optional<int16_t> sum;
  } cases[] = {
      {1, 2, 3},
      {32767, 0, 32767},
      {32767, 1, std::nullopt},
      {-32768, -1, std::nullopt},
      {-32768, 32767, -1},
      {16384, 16384, std::nullopt},
      {-16384, -16384, -32768},
  };
  for (const auto& c : cases) EXPECT_EQ(CheckedAdd16(c.a, c.b), c.sum) << c.a << "+" << c.b;
}

TEST(CheckedTest, AddAndSub32) {
  EXPECT_EQ(CheckedAdd32(kMax32 - 1, 1), kMax32);
  EXPECT_EQ(CheckedAdd32(kMax32, 1), std::nullopt);
  EXPECT_EQ(CheckedAdd32(kMin32, -1), std::nullopt);
  EXPECT_EQ(CheckedAdd32(kMin32, kMax32), -1);
  EXPECT_EQ(CheckedSub32(0, kMin32), std::nullopt);
  EXPECT_EQ(CheckedSub32(-1, kMin32), kMax32);
  EXPECT_EQ(CheckedSub32(kMin32, 1), std::nullopt);
  EXPECT_EQ(CheckedSub32(kMax32, -1), std::nullopt);
  EXPECT_EQ(CheckedSub32(40000, 50000), -10000);
}

TEST(CheckedTest, ToInt16) {
  EXPECT_EQ(ToInt16(32767), 32767);
  EXPECT_EQ(ToInt16(-32768), -32768);
  EXPECT_EQ(ToInt16(32768), std::nullopt);
  EXPECT_EQ(ToInt16(-32769), std::nullopt);
  EXPECT_EQ(ToInt16(65535), std::nullopt);  // would wrap to -1
  EXPECT_EQ(ToInt16(std::numeric_limits<int64_t>::min()), std::nullopt);
}

TEST(CheckedTest, SaturatingTotalAdd) {
  const struct {
    int32_t total, amount, result;
  } cases[] = {
      {100, 250, 350},          {kMax32 - 5, 5, kMax32},
      {kMax32 - 5, 6, kMax32},   // overflow upwards
      {kMin32 + 5, -6, kMax32},  // overflow downwards also gives the maximum
      {kMax32, -1, kMax32 - 1},  // accumulation goes on after saturating
      {-100, -200, -300},
  };
  for (const auto& c : cases) EXPECT_EQ(SaturatingTotalAdd(c.total, c.amount), c.result);
}

TEST(CheckedTest, RoundHalfEvenToInt16) {
  const double inf = std::numeric_limits<double>::infinity();
  const struct {
    double value;
    std::optional<int16_t> rounded;
  } cases[] = {
      {48.5, 48},
      {49.5, 50},
      {139.5, 140},
      {0.5, 0},
      {1.5, 2},
      {2.5, 2},
      {-0.5, 0},
      {-1.5, -2},
      {-2.5, -2},
      {48.4999999, 48},
      {48.5000001, 49},
      {-48.6, -49},
      {32767.0, 32767},
      {32767.4, 32767},
      {32767.5, std::nullopt},  // rounds to 32768
      {32766.5, 32766},
      {-32768.0, -32768},
      {-32768.5, -32768},  // even
      {-32768.6, std::nullopt},
      {-32769.5, std::nullopt},
      {1e300, std::nullopt},
      {-1e300, std::nullopt},
      {inf, std::nullopt},
      {-inf, std::nullopt},
      {std::nan(""), std::nullopt},
  };
  for (const auto& c : cases) EXPECT_EQ(RoundHalfEvenToInt16(c.value), c.rounded) << c.value;
}

}  // namespace
}  // namespace h5
