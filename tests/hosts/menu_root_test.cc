#include "hosts/menu_root.h"

#include <gtest/gtest.h>

namespace h5 {
namespace {

TEST(MenuRootTest, XdgDataHomeComesFirst) {
  EXPECT_EQ(DefaultMenuRoot("/data", "/home/u"), "/data/h5kakei/root");
}

TEST(MenuRootTest, HomeWhenXdgDataHomeIsUnsetEmptyOrRelative) {
  EXPECT_EQ(DefaultMenuRoot(nullptr, "/home/u"), "/home/u/.local/share/h5kakei/root");
  EXPECT_EQ(DefaultMenuRoot("", "/home/u"), "/home/u/.local/share/h5kakei/root");
  EXPECT_EQ(DefaultMenuRoot("data", "/home/u"), "/home/u/.local/share/h5kakei/root");
}

TEST(MenuRootTest, NoneWithoutEitherVariable) {
  EXPECT_TRUE(DefaultMenuRoot(nullptr, nullptr).empty());
  EXPECT_TRUE(DefaultMenuRoot("rel", "").empty());
}

}  // namespace
}  // namespace h5
