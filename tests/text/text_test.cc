// CP932 conversions, byte cuts, fixed buffers, record fields, character
// operations, checked arithmetic and day numbers.
#include <gtest/gtest.h>

#include <array>
#include <chrono>
#include <cmath>
#include <limits>
#include <thread>
#include <tuple>
#include <vector>

#include "text/ansi.h"
#include "text/checked.h"
#include "text/day_number.h"
#include "text/fields.h"
#include "text/vbstring.h"

namespace h5 {
namespace {

using Texts = std::pair<const char*, const char*>;
constexpr int32_t kMax32 = std::numeric_limits<int32_t>::max();
constexpr int32_t kMin32 = std::numeric_limits<int32_t>::min();
constexpr int64_t kHuge = std::numeric_limits<int64_t>::max();
constexpr char kDot[] = "\xE3\x83\xBB";  // U+30FB, what bad ANSI becomes

TEST(AnsiTest, ConvertsAndReplacesWhatCannotBeHeld) {
  // "表": trail byte in the ASCII range; "①": NEC row 13; katakana one byte each.
  const Texts both_ways[] = {{"", ""},
                             {"ab\r\n", "ab\r\n"},
                             {"表", "\x95\x5C"},
                             {"家計", "\x89\xC6\x8C\x76"},
                             {"ｵﾌﾟｴ", "\xB5\xCC\xDF\xB4"},
                             {"～①", "\x81\x60\x87\x40"}};
  for (auto [text, ansi] : both_ways) {
    EXPECT_EQ(ToAnsi(text), ansi) << text;
    EXPECT_EQ(FromAnsi(ansi), text) << text;
  }
  // Emoji, e acute, hangul, a stray byte, a cut-off sequence, a surrogate.
  const Texts to_ansi[] = {{"a\xF0\x9F\x98\x80z", "a?z"}, {"\xC3\xA9", "?"},
                           {"\xED\x95\x9C", "?"},         {"a\xFF", "a?"},
                           {"a\xE5\xAE", "a??"},          {"\xED\xA0\x80", "???"}};
  for (auto [text, ansi] : to_ansi) EXPECT_EQ(ToAnsi(text), ansi) << ansi;
  // A lone lead byte; one before a non-trail byte; an unassigned pair
  // (replaced as a pair); bytes that are no character.
  const Texts from_ansi[] = {
      {"\x81", ""}, {"\x81\n", "\n"}, {"\x85\x40", ""}, {"\x80", ""}, {"\xFD\xFF", kDot}};
  for (auto [ansi, rest] : from_ansi) EXPECT_EQ(FromAnsi(ansi), kDot + std::string(rest)) << rest;
}

TEST(AnsiTest, RoundTripsEveryCharacter) {
  int round_trips = 0;
  for (int lead = 0x81; lead <= 0xFC; ++lead) {
    for (int trail = 0x40; trail <= 0xFC && IsAnsiLeadByte(lead); ++trail) {
      const std::string text =
          FromAnsi(std::string{static_cast<char>(lead), static_cast<char>(trail)});
      if (trail == 0x7F || text == kDot) continue;
      // Duplicate codes (NEC/IBM rows) come back as one of them: same character.
      EXPECT_EQ(FromAnsi(ToAnsi(text)), text) << std::hex << lead << " " << trail;
      EXPECT_EQ(ToAnsi(text).size(), 2u);
      ++round_trips;
    }
  }
  EXPECT_GT(round_trips, 7000);
  for (int byte = 0x00; byte <= 0xDF; ++byte) {
    if (byte >= 0x80 && byte < 0xA1) continue;
    EXPECT_EQ(ToAnsi(FromAnsi(std::string(1, static_cast<char>(byte)))), std::string(1, byte));
  }
  for (int lead : {0x81, 0x9F, 0xE0, 0xFC}) EXPECT_TRUE(IsAnsiLeadByte(lead)) << lead;
  for (int other : {0x80, 0xA0, 0xDF, 0xFD}) EXPECT_FALSE(IsAnsiLeadByte(other)) << other;
}

TEST(AnsiTest, CutsNeverSplitACharacter) {
  // A lone lead byte at the end is a character of its own.
  const char* two = "\x95\x5C\x95\x5C";
  EXPECT_EQ((std::vector<std::string_view>{CutAnsiBytes(two, 1), CutAnsiBytes(two, 3),
                                           CutAnsiBytes(two, 9), CutAnsiBytes("a\x95\x5C", 2),
                                           CutAnsiBytes("a\x81", 2), CutAnsiBytes("\x81\n", 1),
                                           CutAnsiBytes("\xB4\xD7\xB0", 2)}),
            (std::vector<std::string_view>{"", "\x95\x5C", two, "a", "a\x81", "\x81", "\xB4\xD7"}));
  const std::tuple<const char*, int32_t, const char*> lefts[] = {
      {"表示", 3, "表"}, {"表示", 4, "表示"}, {"表示", 1, ""},
      {"表示", -5, ""},  {"ｴﾗｰ発", 4, "ｴﾗｰ"}, {"abc", kMax32, "abc"}};
  for (auto [text, n, left] : lefts) EXPECT_EQ(LeftAnsiBytes(text, n), left) << n;
  EXPECT_EQ(std::tuple(AnsiByteLength("家計ｴﾗｰ"), AnsiByteLength(std::string(40000, 'x'))),
            std::tuple(7, 32767));
  // Fixed buffers: a byte cut may split a character; the size is clamped.
  const std::tuple<const char*, int32_t, const char*> cases[] = {
      {"abc", 5, "abc  "}, {"abcdef", 5, "abcde"}, {"a", 3, "a  "},         {"abc", 0, ""},
      {"abc", -1, ""},     {"a表", 2, "a\x95"},    {"abcdefg", 9, "abcdef"}};
  for (auto [text, size, bytes] : cases) {
    std::array<uint8_t, 6> buffer;
    buffer.fill(0xEE);  // stale bytes must all be overwritten
    StrToFixedBytes(buffer, text, size);
    std::string expected = bytes;
    expected.resize(6, '\0');
    EXPECT_EQ(std::string(buffer.begin(), buffer.end()), expected) << text << " " << size;
  }
  StrToFixedBytes(std::span<uint8_t>(), "abc", 5);
}

TEST(FieldsTest, LittleEndianInsideTheBufferOnly) {
  std::vector<uint8_t> out(8, 0xAA);
  PutInt16At(out, 0, -2);
  PutInt32At(out, 2, -0x7FFCFDFF);
  PutInt16At(out, 6, 0x0807);
  PutInt32At(out, 5, -1);  // past the end: nothing written
  PutInt16At(out, 7, -1);
  PutByteAt(out, 8, 0);
  PutInt32At(out, SIZE_MAX - 2, 0);
  EXPECT_EQ(out, (std::vector<uint8_t>{0xFE, 0xFF, 1, 2, 3, 0x80, 7, 8}));
  PutByteAt(out, 7, 9);
  std::vector<int32_t> read;  // 16-bit, 32-bit, byte at each offset
  for (size_t at : {size_t{2}, size_t{4}, size_t{6}, size_t{7}, size_t{8}, SIZE_MAX - 1}) {
    read.insert(read.end(), {GetInt16At(out, at), GetInt32At(out, at), GetByteAt(out, at)});
  }
  EXPECT_EQ(read, (std::vector<int32_t>{0x0201, -0x7FFCFDFF, 1, -0x7FFD, 0x09078003, 3, 0x0907, 0,
                                        7, 0, 0, 9, 0, 0, 0, 0, 0, 0}));
}

TEST(VbStringTest, CountsCutsFindsCasesAndTrimsByCharacter) {
  EXPECT_EQ(CharCount("家計ｴ"), 3u);
  EXPECT_EQ(CharCount("a\xF0\x9F\x98\x80\xFF\xE5\xAE"), 5u);  // each stray byte counts
  const std::tuple<int64_t, const char*, const char*> sides[] = {
      {2, "家計", "02"}, {0, "", ""}, {-3, "", ""}, {7, "家計簿2002", "家計簿2002"}};
  for (auto [n, left, right] : sides) {
    EXPECT_EQ(LeftChars("家計簿2002", n) + "|" + RightChars("家計簿2002", n),
              std::string(left) + "|" + right);
  }
  EXPECT_EQ(LeftChars("家計", kHuge) + RightChars("家計", kHuge), "家計家計");
  const std::tuple<int64_t, int64_t, const char*> mids[] = {
      {3, 2, "簿2"},  {4, -1, "2002"},        {7, 5, "2"}, {8, 1, ""},
      {kHuge, 1, ""}, {-5, -1, "家計簿2002"}, {2, 0, ""},  {2, kHuge, "計簿2002"}};
  for (auto [start, n, mid] : mids) EXPECT_EQ(MidChars("家計簿2002", start, n), mid) << start;
  EXPECT_EQ(MidChars("家計簿2002", 5), "002");
  // Found only at character starts: U+8A08 (E8 A8 88) holds no "A8 88".
  EXPECT_EQ(FindChars("\xE8\xA8\x88", "\xA8\x88"), 0);
  const std::tuple<const char*, const char*, int64_t, int64_t> finds[] = {
      {"家計家計", "計", 1, 2}, {"家計家計", "計", 3, 4}, {"家計家計", "計", 5, 0},
      {"家計家計", "", 5, 5},   {"家計家計", "", 6, 0},   {"abc", "abcd", 1, 0},
      {"abc", "a", -3, 1},      {"abc", "c", kHuge, 0},   {"ABC", "b", 1, 0}};
  for (auto [text, what, start, found] : finds) {
    EXPECT_EQ(FindChars(text, what, start), found) << text << "/" << what << start;
  }
  EXPECT_EQ(LowerAscii("AZ@[\\ＡＢ"), "az@[\\ＡＢ");
  EXPECT_EQ(UpperAscii("az`{ 表"), "AZ`{ 表");
  EXPECT_EQ(TrimSpaces("  a b  ") + TrimSpaces("    ") + TrimSpaces("\tc\t") + TrimSpaces("　d　"),
            "a b\tc\t　d　");  // only U+0020
  EXPECT_EQ(DecimalText(std::numeric_limits<int64_t>::min()), "-9223372036854775808");
}

// Overflow is reported instead of wrapping; rounding goes half to even.
TEST(CheckedTest, ReportsOverflowAndRoundsHalfToEven) {
  using Result = std::optional<int32_t>;
  EXPECT_EQ((std::vector<Result>{CheckedAdd16(32767, 0), CheckedAdd16(32767, 1),
                                 CheckedAdd16(-16384, -16384), CheckedAdd16(-32768, -1),
                                 ToInt16(std::numeric_limits<int64_t>::min())}),
            (std::vector<Result>{32767, {}, -32768, {}, {}}));
  EXPECT_EQ((std::vector<Result>{CheckedAdd32(kMax32 - 1, 1), CheckedAdd32(kMax32, 1),
                                 CheckedAdd32(kMin32, -1), CheckedSub32(-1, kMin32),
                                 CheckedSub32(0, kMin32), CheckedSub32(kMin32, 1),
                                 CheckedSub32(40000, 50000)}),
            (std::vector<Result>{kMax32, {}, {}, kMax32, {}, {}, -10000}));
  // Overflow either way gives the maximum; accumulation goes on from there.
  const std::array<int32_t, 3> totals[] = {{100, 250, 350},          {kMax32 - 5, 5, kMax32},
                                           {kMax32 - 5, 6, kMax32},  {kMin32 + 5, -6, kMax32},
                                           {kMax32, -1, kMax32 - 1}, {-100, -200, -300}};
  for (auto [total, amount, sum] : totals) EXPECT_EQ(SaturatingTotalAdd(total, amount), sum);
  const double inf = std::numeric_limits<double>::infinity();
  const std::pair<double, std::optional<int16_t>> cases[] = {
      {48.5, 48},    {49.5, 50},       {0.5, 0},           {-0.5, 0},      {-1.5, -2},
      {-2.5, -2},    {48.4999999, 48}, {48.5000001, 49},   {-48.6, -49},   {32767.4, 32767},
      {32767.5, {}}, {32766.5, 32766}, {-32768.5, -32768}, {-32768.6, {}}, {-32769.5, {}},
      {1e300, {}},   {-1e300, {}},     {inf, {}},          {-inf, {}},     {std::nan(""), {}}};
  for (auto [value, rounded] : cases) EXPECT_EQ(RoundHalfEvenToInt16(value), rounded) << value;
}

TEST(DayNumberTest, KnownDaysCarryWeekdaysAndChrono) {
  const std::array<int32_t, 4> known[] = {
      {1899, 12, 30, 0}, {1998, 3, 18, 35872}, {100, 1, 1, -657434}, {9999, 12, 31, 2958465}};
  for (auto [y, m, d, n] : known) {
    EXPECT_EQ(DayNumber(y, m, d), n) << n;
    EXPECT_EQ(CalendarParts(n), (CalendarDate{y, m, d})) << n;
  }
  // Month 13, month 0 and below, day 0 and beyond the month carry over.
  const std::array<int32_t, 6> carried[] = {
      {2002, 13, 1, 2003, 1, 1},   {2002, 0, 1, 2001, 12, 1},   {2002, -1, 15, 2001, 11, 15},
      {2002, -12, 1, 2000, 12, 1}, {2002, -11, 1, 2001, 1, 1},  {2002, 25, 1, 2004, 1, 1},
      {2004, 3, 0, 2004, 2, 29},   {2002, 1, -30, 2001, 12, 1}, {2002, 1, 366, 2003, 1, 1},
      {2002, 14, 0, 2003, 1, 31},  {1900, 2, 29, 1900, 3, 1},   {2002, 1200, 1, 2101, 12, 1}};
  for (auto [y, m, d, py, pm, pd] : carried) {
    EXPECT_EQ(DayNumber(y, m, d), DayNumber(py, pm, pd)) << y << "-" << m << "-" << d;
  }
  // 2147483647 = 7 * 306783378 + 1; -2147483648 = 7 * -306783379 + 5.
  const std::pair<int32_t, int32_t> weekdays[] = {{0, 7},  {1, 1},      {-1, 6},    {-7, 7},
                                                  {-8, 6}, {kMax32, 1}, {kMin32, 5}};
  for (auto [n, weekday] : weekdays) EXPECT_EQ(Weekday(n), weekday) << n;
  // Every day of four centuries as chrono sees it.
  for (int32_t n = DayNumber(1800, 1, 1); n <= DayNumber(2200, 12, 31); ++n) {
    const std::chrono::year_month_day date = DateOf(n);
    const CalendarDate parts = CalendarParts(n);
    ASSERT_EQ(parts, (CalendarDate{static_cast<int>(date.year()),
                                   static_cast<int32_t>(unsigned{date.month()}),
                                   static_cast<int32_t>(unsigned{date.day()})}))
        << n;
    ASSERT_EQ(DayNumber(parts.year, parts.month, parts.day), n);
    ASSERT_EQ(DayNumberOf(date), n);
    ASSERT_EQ(Weekday(n), static_cast<int32_t>(std::chrono::weekday{date}.c_encoding()) + 1);
  }
  using namespace std::chrono;
  EXPECT_EQ(DayNumberOf(2002y / February / 30d), DayNumber(2002, 3, 2));  // not ok(): carried
  EXPECT_EQ(DateOf(kMax32), year{32767} / December / 31d);
  EXPECT_EQ(DateOf(kMin32), year{-32767} / January / 1d);
}

TEST(DayNumberTest, ExtremeArgumentsSaturateWithoutOverflow) {
  // Day d of December 1899 is d - 30, so some sit right at the limits; month
  // carry alone reaches 179 million years.
  const std::array<int32_t, 4> cases[] = {{kMax32, kMax32, kMax32, kMax32},
                                          {kMin32, kMin32, kMin32, kMin32},
                                          {2002, 1, kMax32, kMax32},
                                          {2002, 1, kMin32, kMin32 + 37256},
                                          {1899, 12, kMax32 - 1, kMax32 - 31},
                                          {1900, 1, kMax32 - 1, kMax32},
                                          {1900, 1, kMax32, kMax32},
                                          {1899, 12, kMin32 + 30, kMin32},
                                          {1899, 12, kMin32 + 29, kMin32},
                                          {0, kMax32, 1, kMax32},
                                          {0, kMin32, 1, kMin32},
                                          {0, kMax32, kMin32, kMax32}};
  for (auto [y, m, d, n] : cases) EXPECT_EQ(DayNumber(y, m, d), n) << y << " " << m << " " << d;
  for (int32_t n : {kMin32, kMin32 + 1, -1000000000, 1000000000, kMax32 - 1, kMax32}) {
    const CalendarDate parts = CalendarParts(n);
    EXPECT_EQ(DayNumber(parts.year, parts.month, parts.day), n) << n;
  }
}

}  // namespace
}  // namespace h5
