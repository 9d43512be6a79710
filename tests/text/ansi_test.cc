#include "text/ansi.h"

#include <gtest/gtest.h>

#include <array>
#include <string>
#include <thread>
#include <vector>

namespace h5 {
namespace {

struct ConversionCase {
  const char* utf8;
  const char* ansi;
};

TEST(AnsiTest, ConvertsBothWays) {
  const ConversionCase cases[] = {
      {"", ""},
      {"abc 123", "abc 123"},
      {"家計診断", "\x89\xC6\x8C\x76\x90\x66\x92\x66"},
      {"表", "\x95\x5C"},       // trail byte in the ASCII range
      {"ｴﾗｰ", "\xB4\xD7\xB0"},  // half-width katakana: one byte each
      {"ｵﾌﾟｼｮﾝ", "\xB5\xCC\xDF\xBC\xAE\xDD"},
      {"～", "\x81\x60"},
      {"①", "\x87\x40"},  // NEC row 13
      {"\r\n", "\r\n"},
  };
  for (const ConversionCase& c : cases) {
    EXPECT_EQ(ToAnsi(c.utf8), c.ansi) << c.utf8;
    EXPECT_EQ(FromAnsi(c.ansi), c.utf8) << c.utf8;
  }
}

TEST(AnsiTest, UnrepresentableBecomesQuestionMark) {
  const ConversionCase cases[] = {
      {"a\xF0\x9F\x98\x80z", "a?z"},  // emoji
      {"\xC3\xA9", "?"},              // e acute
      {"\xED\x95\x9C", "?"},          // hangul
      {"a\xFF"
       "b",
       "a?b"},                  // invalid UTF-8 byte
      {"a\xE5\xAE", "a??"},     // UTF-8 cut off at the end
      {"\xED\xA0\x80", "???"},  // encoded surrogate
  };
  for (const ConversionCase& c : cases) EXPECT_EQ(ToAnsi(c.utf8), c.ansi) << c.ansi;
}

TEST(AnsiTest, InvalidAnsiBecomesMiddleDot) {
  const ConversionCase cases[] = {
      {"a\xE3\x83\xBB", "a\x81"},    // lone lead byte at the end
      {"\xE3\x83\xBB\n", "\x81\n"},  // lead byte before a non-trail byte
      {"\xE3\x83\xBB"
       "b",
       "\x85\x40"
       "b"},  // unassigned pair, replaced as a pair
      {"\xE3\x83\xBB"
       "x",
       "\x80x"},  // bytes that are no character
      {"\xE3\x83\xBB\xE3\x83\xBB", "\xFD\xFF"},
  };
  for (const ConversionCase& c : cases) EXPECT_EQ(FromAnsi(c.ansi), c.utf8) << c.utf8;
}

TEST(AnsiTest, RoundTripsEveryValidDoubleByteCharacter) {
  int round_trips = 0;
  for (int lead = 0x81; lead <= 0xFC; ++lead) {
    if (!IsAnsiLeadByte(static_cast<uint8_t>(lead))) continue;
    for (int trail = 0x40; trail <= 0xFC; ++trail) {
      if (trail == 0x7F) continue;
      const std::string ansi{static_cast<char>(lead), static_cast<char>(trail)};
      const std::string text = FromAnsi(ansi);
      if (text == "\xE3\x83\xBB") continue;  // unassigned
      // CP932 has duplicate codes (NEC/IBM rows); the way back picks one of
      // them, which must decode to the same character.
      EXPECT_EQ(FromAnsi(ToAnsi(text)), text) << std::hex << lead << " " << trail;
      EXPECT_EQ(ToAnsi(text).size(), 2u);
      ++round_trips;
    }
  }
  EXPECT_GT(round_trips, 7000);
}

TEST(AnsiTest, SingleByteCharactersStaySingleBytes) {
  for (int byte = 0x00; byte <= 0xFF; ++byte) {
    if (byte >= 0x80 && byte < 0xA1) continue;
    if (byte > 0xDF) continue;
    const std::string ansi(1, static_cast<char>(byte));
    const std::string text = FromAnsi(ansi);
    EXPECT_NE(text, "\xE3\x83\xBB") << byte;
    EXPECT_EQ(ToAnsi(text), ansi) << byte;
  }
}

TEST(AnsiTest, LeadBytes) {
  const struct {
    uint8_t byte;
    bool lead;
  } cases[] = {{0x00, false}, {0x5C, false}, {0x7F, false}, {0x80, false}, {0x81, true},
               {0x9F, true},  {0xA0, false}, {0xA1, false}, {0xDF, false}, {0xE0, true},
               {0xFC, true},  {0xFD, false}, {0xFF, false}};
  for (const auto& c : cases) EXPECT_EQ(IsAnsiLeadByte(c.byte), c.lead) << int{c.byte};
}

TEST(AnsiTest, CutAnsiBytesNeverSplitsACharacter) {
  const struct {
    const char* ansi;
    size_t n;
    const char* expected;
  } cases[] = {
      {"\x95\x5C\x95\x5C", 0, ""},
      {"\x95\x5C\x95\x5C", 1, ""},
      {"\x95\x5C\x95\x5C", 2, "\x95\x5C"},
      {"\x95\x5C\x95\x5C", 3, "\x95\x5C"},
      {"\x95\x5C\x95\x5C", 4, "\x95\x5C\x95\x5C"},
      {"\x95\x5C\x95\x5C", 100, "\x95\x5C\x95\x5C"},
      {"a\x95\x5C"
       "b",
       2, "a"},
      {"a\x95\x5C"
       "b",
       3, "a\x95\x5C"},
      {"\xB4\xD7\xB0", 2, "\xB4\xD7"},  // half-width katakana cut anywhere
      {"\\\x5C\\", 2, "\\\\"},
      {"a\x81", 2, "a\x81"},  // lone lead byte at the end is a character of its own
      {"\x81\n", 1, "\x81"},
  };
  for (const auto& c : cases) EXPECT_EQ(CutAnsiBytes(c.ansi, c.n), c.expected) << c.n;
}

TEST(AnsiTest, LeftAnsiBytes) {
  const struct {
    const char* text;
    int32_t n;
    const char* expected;
  } cases[] = {
      {"表示", 2, "表"},
      {"表示", 3, "表"},
      {"表示", 4, "表示"},
      {"表示", 1, ""},
      {"表示", 0, ""},
      {"表示", -5, ""},
      {"ｴﾗｰ発生", 4, "ｴﾗｰ"},
      {"ｴﾗｰ発生", 5, "ｴﾗｰ発"},
      {"C:\\表\\x", 5, "C:\\表"},
      {"abc", 2147483647, "abc"},
  };
  for (const auto& c : cases) EXPECT_EQ(LeftAnsiBytes(c.text, c.n), c.expected) << c.n;
}

TEST(AnsiTest, AnsiByteLength) {
  EXPECT_EQ(AnsiByteLength(""), 0);
  EXPECT_EQ(AnsiByteLength("abc"), 3);
  EXPECT_EQ(AnsiByteLength("家計"), 4);
  EXPECT_EQ(AnsiByteLength("ｴﾗｰ"), 3);
  EXPECT_EQ(AnsiByteLength(std::string(40000, 'x')), 32767);
}

TEST(AnsiTest, StrToFixedBytes) {
  const struct {
    const char* text;
    int32_t size;
    std::array<uint8_t, 8> expected;
  } cases[] = {
      {"abc", 5, {'a', 'b', 'c', ' ', ' ', 0, 0, 0}},
      {"abcdef", 5, {'a', 'b', 'c', 'd', 'e', 0, 0, 0}},
      {"", 3, {' ', ' ', ' ', 0, 0, 0, 0, 0}},
      {"abc", 0, {0, 0, 0, 0, 0, 0, 0, 0}},
      {"abc", -1, {0, 0, 0, 0, 0, 0, 0, 0}},
      {"tefu", 4, {'t', 'e', 'f', 'u', 0, 0, 0, 0}},
      {"a表", 2, {'a', 0x95, 0, 0, 0, 0, 0, 0}},  // byte cut may split a character
      {"表", 4, {0x95, 0x5C, ' ', ' ', 0, 0, 0, 0}},
      {"abcdefghij", 100, {'a', 'b', 'c', 'd', 'e', 'f', 'g', 'h'}},  // clamped to buffer
  };
  for (const auto& c : cases) {
    std::array<uint8_t, 8> buffer;
    buffer.fill(0xEE);  // stale bytes must all be overwritten
    StrToFixedBytes(buffer, c.text, c.size);
    EXPECT_EQ(buffer, c.expected) << c.text << " " << c.size;
  }
  StrToFixedBytes(std::span<uint8_t>(), "abc", 5);  // empty buffer: nothing to write
}

TEST(AnsiTest, ConvertsOnManyThreadsAtOnce) {
  std::vector<std::thread> threads;
  std::vector<int> failures(4, 0);
  for (int t = 0; t < 4; ++t) {
    threads.emplace_back([t, &failures] {
      for (int i = 0; i < 2000; ++i) {
        if (ToAnsi("家計診断ｴﾗｰ") != "\x89\xC6\x8C\x76\x90\x66\x92\x66\xB4\xD7\xB0" ||
            FromAnsi("\x95\x5C\x81") != "表\xE3\x83\xBB") {
          ++failures[t];
        }
      }
    });
  }
  for (std::thread& thread : threads) thread.join();
  for (int f : failures) EXPECT_EQ(f, 0);
}

}  // namespace
}  // namespace h5
