#include "tools/book_values.h"

#include <gtest/gtest.h>

#include <limits>

namespace h5 {
namespace {

using nlohmann::json;

TEST(BookValuesTest, HexRoundTripsAndRejectsMalformedText) {
  std::vector<uint8_t> bytes{0x00, 0x7f, 0x80, 0xff};
  EXPECT_EQ(ToHex(bytes), "007f80ff");
  EXPECT_EQ(ParseHex("007F80ff"), bytes);
  EXPECT_EQ(ParseHex("00 7f 80 ff"), bytes);
  EXPECT_EQ(ParseHex(""), std::vector<uint8_t>{});
  for (const char* bad : {"0", "0g", "00 0", "0 0", "x1", "00-01"}) {
    EXPECT_FALSE(ParseHex(bad)) << bad;
  }
}

TEST(BookValuesTest, DatesParseAsDayNumbers) {
  struct Case {
    json value;
    int32_t day;
  };
  const Case cases[] = {
      {"1899-12-30", 0},
      {"1899-12-31", 1},
      {"1900-01-01", 2},
      {"1998-03-18", 35872},
      {"2002-04-03", 37349},
      {"2000-02-29", 36585},
      {37349, 37349},
      {-5, -5},
      {std::numeric_limits<int32_t>::max(), std::numeric_limits<int32_t>::max()},
  };
  for (const Case& c : cases) {
    std::string error;
    EXPECT_EQ(ParseBookDate(c.value, &error), c.day) << c.value << " " << error;
  }
}

TEST(BookValuesTest, BadDatesAreNamed) {
  struct Case {
    json value;
    const char* message;
  };
  const Case cases[] = {
      {"2002-13-01", "no such date: 2002-13-01"},
      {"2002-02-29", "no such date: 2002-02-29"},
      {"2002-04-31", "no such date: 2002-04-31"},
      {"0000-01-01", "no such date: 0000-01-01"},
      {"2002-4-3", "expected a date YYYY-MM-DD or a day number, got \"2002-4-3\""},
      {"2002-04-03T00", "expected a date YYYY-MM-DD or a day number, got \"2002-04-03T00\""},
      {2147483648LL, "expected a date YYYY-MM-DD or a day number within 32 bits"},
      {1.5, "expected a date YYYY-MM-DD or a day number, got a fraction"},
      {true, "expected a date YYYY-MM-DD or a day number, got a boolean"},
  };
  for (const Case& c : cases) {
    std::string error;
    EXPECT_FALSE(ParseBookDate(c.value, &error)) << c.value;
    EXPECT_EQ(error, c.message);
  }
}

TEST(BookValuesTest, FormattedDatesReadBackToTheSameDay) {
  EXPECT_EQ(FormatBookDate(0), json(0));
  EXPECT_EQ(FormatBookDate(37349), json("2002-04-03"));
  EXPECT_EQ(FormatBookDate(-693593), json("0001-01-01"));
  EXPECT_EQ(FormatBookDate(-693594), json(-693594));  // before year 1
  EXPECT_EQ(FormatBookDate(2958466), json(2958466));  // after 9999-12-31
  for (int32_t day : {1, 2, 59, 60, 61, 36585, 2958465, -1, -693593, -693594, 2958466,
                      std::numeric_limits<int32_t>::min(), std::numeric_limits<int32_t>::max()}) {
    std::string error;
    EXPECT_EQ(ParseBookDate(FormatBookDate(day), &error), day) << day;
  }
}

TEST(BookValuesTest, IntegersAreCheckedAgainstTheirRange) {
  std::string error;
  EXPECT_EQ(ParseBookInteger(json(-32768), -32768, 32767, &error), -32768);
  EXPECT_FALSE(ParseBookInteger(json(32768), -32768, 32767, &error));
  EXPECT_EQ(error, "expected an integer within 16 bits");
  EXPECT_FALSE(ParseBookInteger(json(2147483648LL), std::numeric_limits<int32_t>::min(),
                                std::numeric_limits<int32_t>::max(), &error));
  EXPECT_EQ(error, "expected an integer within 32 bits");
  EXPECT_FALSE(ParseBookInteger(json(std::numeric_limits<uint64_t>::max()), 0, 255, &error));
  EXPECT_EQ(error, "expected an integer from 0 to 255");
  EXPECT_FALSE(ParseBookInteger(json("12"), 0, 255, &error));
  EXPECT_EQ(error, "expected an integer from 0 to 255, got a string");
  EXPECT_FALSE(ParseBookInteger(json(2.0), 0, 255, &error));
}

TEST(BookValuesTest, AnsiTextMustBeRepresentable) {
  EXPECT_EQ(AnsiOf("給与"), std::string("\x8b\x8b\x97\x5e"));
  EXPECT_EQ(AnsiOf("a?b"), std::string("a?b"));
  EXPECT_EQ(AnsiOf("ｵﾌﾟｼｮﾝ"), std::string("\xb5\xcc\xdf\xbc\xae\xdd"));
  EXPECT_FALSE(AnsiOf("\xF0\x9F\x98\x80"));  // an emoji
  EXPECT_FALSE(AnsiOf("한"));
}

TEST(BookValuesTest, PlacesQuoteKeysAsJson) {
  EXPECT_EQ(Member("data", "C:\\a\\b.dat"), "data[\"C:\\\\a\\\\b.dat\"]");
  EXPECT_EQ(Field(Index(Member("data", "x"), 3), "amount"), "data[\"x\"][3].amount");
  EXPECT_EQ(Field("", "amount"), "amount");
}

}  // namespace
}  // namespace h5
