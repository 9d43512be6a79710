#include "store/open_path.h"

#include <gtest/gtest.h>

#include <array>
#include <string>

#include "store_fixture.h"
#include "text/ansi.h"

namespace h5 {
namespace {

std::string BufferText(std::span<const uint8_t> buffer) {
  return std::string(buffer.begin(), buffer.end());
}

class OpenPathTest : public StoreTest {
 protected:
  void SetUp() override {
    StoreTest::SetUp();
    env.AddDirectory("C:\\Data");
    env.AddDirectory(ToAnsi("C:\\データ"));
  }
};

TEST_F(OpenPathTest, ShortPathOf) {
  EXPECT_EQ(ShortPathOf("C:\\Data\\"), "C:\\Data\\");
  EXPECT_EQ(ShortPathOf("C:\\データ\\"), "C:\\データ\\");
  EXPECT_EQ(ShortPathOf("C:\\Missing\\"), "");
  std::string deep = "C:\\" + std::string(300, 'a');
  env.AddDirectory(deep);
  EXPECT_EQ(ShortPathOf(deep), "");  // does not fit the system's buffer
}

TEST_F(OpenPathTest, ShortPathOfWithoutEnvironment) {
  ResetModule(Ports{});
  EXPECT_EQ(ShortPathOf("C:\\Data\\"), "");
}

TEST_F(OpenPathTest, MakeOpenPath) {
  struct Case {
    const char* name;
    const char* dir;
    const char* name_after;
    const char* dir_after;
  };
  const Case cases[] = {
      {"Kikan02.dat", "C:\\Data\\", "C:\\Data\\Kikan02.dat", "C:\\Data\\"},
      {"Kikan02.dat", "C:\\Data", "C:\\Data\\Kikan02.dat", "C:\\Data\\"},
      {"  Kikan02.dat  ", "C:\\Data\\", "C:\\Data\\Kikan02.dat", "C:\\Data\\"},
      {"Kikan02.dat", "C:\\Missing\\", "Kikan02.dat", "C:\\Missing\\"},
      {"Kikan02.dat", "C:\\Missing", "Kikan02.dat", "C:\\Missing\\"},
      // A name that already begins with dir is used as it stands.
      {"C:\\Data\\x.dat", "C:\\Data\\", "C:\\Data\\x.dat", "C:\\Data\\"},
      {"C:\\Data\\x.dat", "C:\\Data", "C:\\Data\\x.dat", "C:\\Data"},
      {" a.dat", "", " a.dat", ""},
      // Compared by character code: another case is another directory.
      {"c:\\data\\x.dat", "C:\\Data\\", "C:\\Data\\c:\\data\\x.dat", "C:\\Data\\"},
      {"給与.dat", "C:\\データ", "C:\\データ\\給与.dat", "C:\\データ\\"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.name) + " | " + c.dir);
    std::string name = c.name;
    std::string dir = c.dir;
    std::array<uint8_t, 254> buffer;
    buffer.fill(0xCC);
    MakeOpenPath(name, dir, buffer);
    EXPECT_EQ(name, c.name_after);
    EXPECT_EQ(dir, c.dir_after);
    std::string ansi = ToAnsi(c.name_after);
    EXPECT_EQ(BufferText(buffer), ansi + std::string(254 - ansi.size(), ' '));
  }
}

TEST_F(OpenPathTest, LongPathIsCutAtBufferSize) {
  std::string name(300, 'x');
  std::string dir;
  std::array<uint8_t, 254> buffer{};
  MakeOpenPath(name, dir, buffer);
  EXPECT_EQ(BufferText(buffer), std::string(254, 'x'));
  std::array<uint8_t, 8> small{};
  name = "ab";
  MakeOpenPath(name, dir, small);
  EXPECT_EQ(BufferText(small), "ab      ");
}

TEST_F(OpenPathTest, SetOwnerName) {
  std::array<uint8_t, 6> owner;
  owner.fill(0xFF);
  SetOwnerName(owner, "tefu");
  EXPECT_EQ(owner, (std::array<uint8_t, 6>{'t', 'e', 'f', 'u', 0, 0}));
  SetOwnerName(owner, "ab");
  EXPECT_EQ(owner, (std::array<uint8_t, 6>{'a', 'b', ' ', ' ', 0, 0}));
}

}  // namespace
}  // namespace h5
