#include <gtest/gtest.h>

#include "control/frm_kakei.h"

namespace h5 {
namespace {

constexpr std::array<int16_t, 5> kBounds = {0, 50, 80, 100, 140};

TEST(GradeRatio, BoundsFallIntoTheUpperLevel) {
  struct Case {
    int16_t ratio, level;
  } cases[] = {{-32768, 0}, {-1, 0}, {0, 1},   {49, 1},  {50, 2},  {79, 2},
               {80, 3},     {99, 3}, {100, 4}, {139, 4}, {140, 5}, {32767, 5}};
  for (Case c : cases) EXPECT_EQ(GradeRatio(c.ratio, kBounds), c.level) << c.ratio;
}

TEST(ComputeRatio, EvaluatesLeftToRightAndRoundsHalfToEven) {
  struct Case {
    int32_t budget, days, elapsed, spending;
    int16_t ratio;
  } cases[] = {
      {99, 1, 1, 200, 50},    // 49.5 -> 50
      {97, 1, 1, 200, 48},    // 48.5 -> 48
      {279, 1, 1, 200, 140},  // 139.5 -> 140
      {30000, 30, 15, 15000, 100}, {30000, 30, 1, 1000, 100},
      {1000000, 30, 30, 3, 140},   // far beyond 16 bits: overflow gives 140
      {1000, 30, 30, -1, 140},     // negative overflow too
      {1000, 30, 30, -2000, -50},  // negative spending: negative ratio
      {2147483647, 1, 1, 1, 140},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ComputeRatio(c.budget, c.days, c.elapsed, c.spending, 140), c.ratio)
        << c.budget << "/" << c.days << "*" << c.elapsed << "/" << c.spending;
  }
}

TEST(PictureForLevel, MapsEveryLevel) {
  struct Case {
    int16_t level, picture;
    const char* caption;
    bool label;
  } cases[] = {
      {1, 6, "", false},
      {2, 5, "", false},
      {3, 4, "", false},
      {4, 3, "", false},
      {5, 2, "", false},
      {6, 1, "今月は予算が設定されていません", true},
      {7, 1, "予算をたてて家計簿をつけると、かわいい イラストで家計を診断します! ", true},
      {0, 1, "予算をたてて家計簿をつけると、かわいい イラストで家計を診断します! ", true},
      {-3, 1, "予算をたてて家計簿をつけると、かわいい イラストで家計を診断します! ", true},
      {99, 1, "予算をたてて家計簿をつけると、かわいい イラストで家計を診断します! ", true},
  };
  for (const Case& c : cases) {
    std::string caption = "stale";
    bool label = !c.label;
    EXPECT_EQ(FrmKakei::PictureForLevel(c.level, &caption, &label), c.picture) << c.level;
    EXPECT_EQ(caption, c.caption) << c.level;
    EXPECT_EQ(label, c.label) << c.level;
  }
}

}  // namespace
}  // namespace h5
