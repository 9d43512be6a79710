#include "text/vbstring.h"

#include <gtest/gtest.h>

#include <limits>

namespace h5 {
namespace {

constexpr int64_t kHuge = std::numeric_limits<int64_t>::max();

TEST(VbStringTest, CharCount) {
  EXPECT_EQ(CharCount(""), 0u);
  EXPECT_EQ(CharCount("abc"), 3u);
  EXPECT_EQ(CharCount("家計診断"), 4u);
  EXPECT_EQ(CharCount("ｴﾗｰ"), 3u);
  EXPECT_EQ(CharCount("a\xF0\x9F\x98\x80"), 2u);
  EXPECT_EQ(CharCount("a\xFF\xE5\xAE"), 4u);  // each stray byte is a character
}

TEST(VbStringTest, LeftRightMid) {
  const struct {
    const char* text;
    int64_t n;
    const char* left;
    const char* right;
  } cases[] = {
      {"家計簿2002", 2, "家計", "02"},
      {"家計簿2002", 0, "", ""},
      {"家計簿2002", -3, "", ""},
      {"家計簿2002", 7, "家計簿2002", "家計簿2002"},
      {"家計簿2002", kHuge, "家計簿2002", "家計簿2002"},
      {"", 3, "", ""},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(LeftChars(c.text, c.n), c.left) << c.n;
    EXPECT_EQ(RightChars(c.text, c.n), c.right) << c.n;
  }
  const struct {
    int64_t start, n;
    const char* mid;
  } mids[] = {
      {1, 3, "家計簿"}, {3, 2, "簿2"},  {4, -1, "2002"},        {7, 5, "2"}, {8, 1, ""},
      {kHuge, 1, ""},   {0, 2, "家計"}, {-5, -1, "家計簿2002"}, {2, 0, ""},  {2, kHuge, "計簿2002"},
  };
  for (const auto& m : mids) EXPECT_EQ(MidChars("家計簿2002", m.start, m.n), m.mid) << m.start;
  EXPECT_EQ(MidChars("家計簿2002", 5), "002");
}

TEST(VbStringTest, CaseAndTrim) {
  EXPECT_EQ(LowerAscii("C:\\HdmData5\\ＡＢ"), "c:\\hdmdata5\\ＡＢ");
  EXPECT_EQ(UpperAscii("kakeibo1 表"), "KAKEIBO1 表");
  const struct {
    const char* text;
    const char* trimmed;
  } cases[] = {
      {"  abc  ", "abc"},     {"abc", "abc"}, {"    ", ""}, {"", ""},
      {"\tabc\t", "\tabc\t"},  // only U+0020
      {"　abc　", "　abc　"},  // ideographic space kept
      {" a b ", "a b"},
  };
  for (const auto& c : cases) EXPECT_EQ(TrimSpaces(c.text), c.trimmed) << c.text;
}

TEST(VbStringTest, FindChars) {
  const struct {
    const char* text;
    const char* what;
    int64_t start;
    int64_t found;
  } cases[] = {
      {"家計簿家計簿", "計", 1, 2},
      {"家計簿家計簿", "計", 3, 5},
      {"家計簿家計簿", "計", 6, 0},
      {"家計簿家計簿", "", 1, 1},
      {"家計簿家計簿", "", 4, 4},
      {"家計簿家計簿", "", 7, 7},
      {"家計簿家計簿", "", 8, 0},
      {"", "", 1, 1},
      {"", "a", 1, 0},
      {"abc", "abcd", 1, 0},
      {"abc", "a", -3, 1},
      {"abc", "c", kHuge, 0},
      {"ABC", "b", 1, 0},  // case matters
      // U+8A08 (E8 A8 88) must not match inside another character's bytes.
      {"\xE8\xA8\x88", "\xA8\x88", 1, 0},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(FindChars(c.text, c.what, c.start), c.found) << c.text << "/" << c.what;
  }
}

TEST(VbStringTest, DecimalText) {
  EXPECT_EQ(DecimalText(0), "0");
  EXPECT_EQ(DecimalText(2002), "2002");
  EXPECT_EQ(DecimalText(-32768), "-32768");
  EXPECT_EQ(DecimalText(std::numeric_limits<int64_t>::min()), "-9223372036854775808");
}

}  // namespace
}  // namespace h5
