#include "platform/root/profile.h"

#include <string>

#include <gtest/gtest.h>

#include "text/ansi.h"

namespace h5 {
namespace {

using namespace std::string_literals;

// CP932 bytes.
const std::string kShomikigen = "\x8F\xDC\x96\xA1\x8A\xFA\x8C\xC0";  // 賞味期限
const std::string kKakeibo = "\x89\xC6\x8C\x76\x95\xEB";             // 家計簿
const std::string kOption = "\xB5\xCC\xDF\xBC\xAE\xDD";  // ｵﾌﾟｼｮﾝ (half-width)
const std::string kShukei = "\x8F\x57\x8C\x76";          // 集計
const std::string kA = "\x83\x41";                       // ア
const std::string kDi = "\x83\x61";                      // ヂ
const std::string kZo = "\x83\x5D";                      // ゾ, trail byte ']'
const std::string kHyo = "\x95\x5C";                     // 表, trail byte '\'

std::optional<ProfileText> Ansi(std::string bytes) { return ProfileTextOf(std::move(bytes)); }

struct StringCase {
  const char* what;
  std::optional<std::string> file;  // nullopt: no file
  std::string section, key, default_value;
  uint32_t size;
  std::string expected;
};

TEST(ProfileTest, StringSemantics) {
  const std::string dirname =
      "[DirName]\r\n"
      "datapath=HdmData6\r\n"
      "kakeiPath=\r\n"
      "  Spaced  =   value with  inner  blanks   \r\n"
      "quoted=\"  q  \"\r\n"
      "single='s'\r\n"
      "half=\"h\r\n"
      "eq=a=b\r\n"
      "datapath=second\r\n"
      ";comment=x\r\n"
      "noequals\r\n"
      "[Other]\r\n"
      "datapath=other\r\n"
      "[DIRNAME]\r\n"
      "late=from second section\r\n";
  const StringCase cases[] = {
      {"no file", std::nullopt, "DirName", "datapath", "HdmData5", 256, "HdmData5"},
      {"empty file", "", "DirName", "datapath", "HdmData5", 256, "HdmData5"},
      {"found", dirname, "DirName", "datapath", "HdmData5", 256, "HdmData6"},
      {"section and key case", dirname, "dIRnAME", "DATAPATH", "d", 256, "HdmData6"},
      {"names trimmed", dirname, " DirName ", " spaced ", "d", 256, "value with  inner  blanks"},
      {"empty value stays empty", dirname, "DirName", "kakeiPath", "kakeibo", 256, ""},
      {"missing key", dirname, "DirName", "nothing", "dflt", 256, "dflt"},
      {"missing section", dirname, "Nothing", "datapath", "dflt", 256, "dflt"},
      {"double quotes removed", dirname, "DirName", "quoted", "", 256, "  q  "},
      {"single quotes removed", dirname, "DirName", "single", "", 256, "s"},
      {"unmatched quote kept", dirname, "DirName", "half", "", 256, "\"h"},
      {"value holds =", dirname, "DirName", "eq", "", 256, "a=b"},
      {"first key wins", dirname, "DirName", "datapath", "", 256, "HdmData6"},
      {"comment is no key", dirname, "DirName", ";comment", "d", 256, "d"},
      {"line without = is no key", dirname, "DirName", "noequals", "d", 256, "d"},
      {"only the first section counts", dirname, "DirName", "late", "d", 256, "d"},
      {"next section ends the first", dirname, "Other", "datapath", "d", 256, "other"},
      {"default loses trailing blanks", dirname, "DirName", "nothing", "dflt  \t", 256, "dflt"},
      {"default keeps leading blanks", dirname, "DirName", "nothing", "  dflt", 256, "  dflt"},
      {"cut at size - 1", dirname, "DirName", "datapath", "", 4, "Hdm"},
      {"cut default too", dirname, "DirName", "nothing", "abcdef", 3, "ab"},
      {"size 1", dirname, "DirName", "datapath", "", 1, ""},
      {"size 0", dirname, "DirName", "datapath", "dflt", 0, ""},
      {"names up to NUL", dirname, "DirName\0junk"s, "datapath\0x"s, "", 256, "HdmData6"},
      {"default up to NUL", std::nullopt, "s", "k", "ab\0cd"s, 256, "ab"},
      {"LF and no final newline", "[s]\nk=v1\n[t]\nk=v2", "t", "k", "", 256, "v2"},
      {"key before any section", "k=v\n[s]\n", "s", "k", "d", 256, "d"},
      {"blanks before [", "  [s]  \nk=v\n", "s", "k", "", 256, "v"},
      {"section without ]", "[s\nk=v\n", "s", "k", "", 256, "v"},
      {"text after ]", "[s] junk\nk=v\n", "s", "k", "d", 256, "v"},
      {"tab blanks", "[s]\n\tk\t=\tv\t\n", "s", "k", "", 256, "v"},
  };
  for (const StringCase& c : cases) {
    std::optional<ProfileText> file = c.file ? Ansi(*c.file) : std::nullopt;
    EXPECT_EQ(ProfileString(file, c.section, c.key, c.default_value, c.size), c.expected) << c.what;
  }
}

TEST(ProfileTest, Cp932Names) {
  const std::string kakei = "[" + kShomikigen + "]\r\n" + kKakeibo + "=3\r\n" + "[" + kOption +
                            "]\r\n" + kShukei + "=1\r\n" + "[" + kZo + "]\r\n" + "k=zo\r\n" + "[" +
                            kA + "]\r\n" + "k=a\r\n" + "[x" + kHyo + "]\r\n" + kHyo + "=hyo\r\n";
  std::optional<ProfileText> file = Ansi(kakei);
  EXPECT_EQ(ProfileString(file, kShomikigen, kKakeibo, "", 256), "3");
  EXPECT_EQ(ProfileString(file, kOption, kShukei, "", 256), "1");
  // ']' as a trail byte does not close the section name.
  EXPECT_EQ(ProfileString(file, kZo, "k", "", 256), "zo");
  // A trail byte 'A' is not folded: ヂ is not ア.
  EXPECT_EQ(ProfileString(file, kA, "k", "", 256), "a");
  EXPECT_EQ(ProfileString(file, kDi, "k", "none", 256), "none");
  EXPECT_EQ(ProfileString(file, "X" + kHyo, kHyo, "", 256), "hyo");
}

TEST(ProfileTest, CutNeverSplitsADoubleByteCharacter) {
  std::optional<ProfileText> file = Ansi("[s]\nk=a" + kKakeibo + "\n");  // 7 bytes
  const std::pair<uint32_t, std::string> cuts[] = {
      {1, ""},
      {2, "a"},
      {3, "a"},  // two bytes left would split 家
      {4, "a\x89\xC6"},
      {5, "a\x89\xC6"},
      {7, "a\x89\xC6\x8C\x76"},
      {8, "a" + kKakeibo},
      {1000, "a" + kKakeibo},
  };
  for (const auto& [size, expected] : cuts) {
    EXPECT_EQ(ProfileString(file, "s", "k", "", size), expected) << size;
  }
}

TEST(ProfileTest, BytesInvalidInCp932PassThrough) {
  // A lone lead byte before '=' and bytes CP932 does not define.
  std::optional<ProfileText> file = Ansi("[s]\nk\x81=\x80\xFF\xA0x\x81\n[t]\nk=v\n");
  EXPECT_EQ(ProfileString(file, "s", "k\x81", "", 256), "\x80\xFF\xA0x\x81");
  EXPECT_EQ(ProfileString(file, "t", "k", "", 256), "v");
  // Cutting keeps a lone lead byte at the end as one character.
  EXPECT_EQ(ProfileString(file, "s", "k\x81", "", 6), "\x80\xFF\xA0x\x81");
}

TEST(ProfileTest, Utf8FileWithByteOrderMark) {
  std::optional<ProfileText> file =
      Ansi("\xEF\xBB\xBF[賞味期限]\r\n家計簿=2\r\n[ｵﾌﾟｼｮﾝ]\r\n名前= 家計 ✓ \r\n");
  ASSERT_EQ(file->encoding, ProfileEncoding::kUtf8);
  EXPECT_EQ(ProfileString(file, kShomikigen, kKakeibo, "", 256), "2");
  // Characters CP932 cannot hold come back as '?'.
  EXPECT_EQ(ProfileString(file, kOption, ToAnsi("名前"), "", 256), ToAnsi("家計 ?"));
  EXPECT_EQ(ProfileString(file, kOption, ToAnsi("名前"), "", 4), ToAnsi("家"));
  EXPECT_EQ(ProfileInt(file, kShomikigen, kKakeibo, 1), 2u);
}

TEST(ProfileTest, VeryLongLinesAndValues) {
  std::string value(200000, 'v');
  std::string text = "[s]\r\n" + std::string(100000, ' ') + "k=" + value + "\r\n[" +
                     std::string(50000, 'S') + "]\r\nk=long section\r\n";
  std::optional<ProfileText> file = Ansi(text);
  EXPECT_EQ(ProfileString(file, "s", "k", "", 256), std::string(255, 'v'));
  EXPECT_EQ(ProfileString(file, "s", "k", "", 0xFFFFFFFFu), value);
  EXPECT_EQ(ProfileString(file, std::string(50000, 's'), "k", "", 256), "long section");
}

struct IntCase {
  std::string value_line;  // "" for no entry
  int32_t default_value;
  uint32_t expected;
};

TEST(ProfileTest, IntSemantics) {
  const IntCase cases[] = {
      {"", 1, 1u},
      {"k=", 1, 1u},
      {"k=\"\"", 7, 7u},
      {"k=3", 1, 3u},
      {"k=  42  ", 1, 42u},
      {"k=+5", 1, 5u},
      {"k=-5", 1, 0xFFFFFFFBu},
      {"k=12abc", 1, 12u},
      {"k=abc", 1, 0u},
      {"k=-", 1, 0u},
      {"k=--1", 1, 0u},
      {"k=\" 9\"", 1, 9u},
      {"k=0x10", 1, 0u},
      {"k=4294967297", 1, 1u},                     // wraps modulo 2^32
      {"k=99999999999999999999", 1, 1661992959u},  // 10^20 mod 2^32
      {"k=1.5", 1, 1u},
      {"", -1, 0xFFFFFFFFu},
  };
  for (const IntCase& c : cases) {
    std::optional<ProfileText> file = Ansi("[s]\r\n" + c.value_line + "\r\n");
    EXPECT_EQ(ProfileInt(file, "S", "K", c.default_value), c.expected) << c.value_line;
  }
  EXPECT_EQ(ProfileInt(std::nullopt, "s", "k", 5), 5u);
}

struct SetCase {
  const char* what;
  std::string before;
  std::string section, key, value;
  std::optional<std::string> after;
};

TEST(ProfileTest, SetKeepsEveryOtherByte) {
  const std::string opt = "/m:32 /p:1024 /b:16 /f:50 /l:40 /n:12";
  const SetCase cases[] = {
      {"empty file", "", "Btrieve", "OPTIONS", opt, "[Btrieve]\r\nOPTIONS=" + opt + "\r\n"},
      {"replace value only",
       "; top\r\n[windows]\r\nload=\r\n\r\n[btrieve]  \r\n  options = NO  \r\nx=1\r\n", "Btrieve",
       "OPTIONS", opt,
       "; top\r\n[windows]\r\nload=\r\n\r\n[btrieve]  \r\n  options = " + opt + "  \r\nx=1\r\n"},
      {"replace empty value", "[Btrieve]\nOPTIONS=\nz=1\n", "Btrieve", "OPTIONS", "v",
       "[Btrieve]\nOPTIONS=v\nz=1\n"},
      {"replace quoted value", "[B]\r\nK=\"old\"\r\n", "b", "k", "new", "[B]\r\nK=new\r\n"},
      {"replace in first section only", "[B]\r\nK=1\r\n[B]\r\nK=2\r\n", "B", "K", "3",
       "[B]\r\nK=3\r\n[B]\r\nK=2\r\n"},
      {"add key after last line of section", "[Btrieve]\r\na=1\r\n\r\n\r\n[Next]\r\nb=2\r\n",
       "Btrieve", "OPTIONS", "v", "[Btrieve]\r\na=1\r\nOPTIONS=v\r\n\r\n\r\n[Next]\r\nb=2\r\n"},
      {"add key to empty section", "[Btrieve]\n[Next]\n", "btrieve", "OPTIONS", "v",
       "[Btrieve]\nOPTIONS=v\n[Next]\n"},
      {"add key to last section without final newline", "[Btrieve]\r\na=1", "Btrieve", "K", "v",
       "[Btrieve]\r\na=1\r\nK=v"},
      {"add section, LF file", "[a]\nx=1\n", "Btrieve", "OPTIONS", "v",
       "[a]\nx=1\n[Btrieve]\nOPTIONS=v\n"},
      {"add section, no final newline", "[a]\r\nx=1", "Btrieve", "OPTIONS", "v",
       "[a]\r\nx=1\r\n[Btrieve]\r\nOPTIONS=v\r\n"},
      {"add section to file without newline", "junk", "B", "K", "v", "junk\r\n[B]\r\nK=v\r\n"},
      {"CP932 names", "[" + kZo + "]\r\n", kZo, kHyo, kKakeibo,
       "[" + kZo + "]\r\n" + kHyo + "=" + kKakeibo + "\r\n"},
      {"empty key refused", "[B]\r\n", "B", " ", "v", std::nullopt},
      {"key with = refused", "[B]\r\n", "B", "a=b", "v", std::nullopt},
      {"key starting with [ refused", "", "B", "[x", "v", std::nullopt},
      {"key starting with ; refused", "", "B", ";x", "v", std::nullopt},
      {"line break in value refused", "", "B", "K", "a\r\nb=c", std::nullopt},
      {"line break in section refused", "", "B]\n[C", "K", "v", std::nullopt},
  };
  for (const SetCase& c : cases) {
    EXPECT_EQ(SetProfileValue(c.before, ProfileEncoding::kAnsi, c.section, c.key, c.value), c.after)
        << c.what;
  }
}

TEST(ProfileTest, SetThenReadBack) {
  std::string text = "[B]\r\nK=1\r\n";
  for (const char* value : {"", "x", "  padded  ", "a=b", "/m:32 /p:1024"}) {
    std::optional<std::string> edited =
        SetProfileValue(text, ProfileEncoding::kAnsi, "B", "NEW", value);
    ASSERT_TRUE(edited);
    std::string trimmed = value;
    while (!trimmed.empty() && trimmed.front() == ' ') trimmed.erase(0, 1);
    while (!trimmed.empty() && trimmed.back() == ' ') trimmed.pop_back();
    EXPECT_EQ(ProfileString(Ansi(*edited), "b", "new", "d", 256), trimmed) << value;
    EXPECT_EQ(ProfileString(Ansi(*edited), "b", "k", "d", 256), "1") << value;
  }
}

// A name or value ending in a lead byte with no trail byte would swallow
// the "]" or "=" after it when read back: such writes are refused.
TEST(SetProfileValue, RefusesTextEndingInALoneLeadByte) {
  struct Case {
    const char* section;
    const char* key;
    const char* value;
  } cases[] = {{"A\x81", "k", "v"},
               {"\x8d\x80\xda\x96", "k", "v"},
               {"s", "k\x81", "v"},
               {"s", "k", "v\x81"}};
  for (const Case& c : cases) {
    EXPECT_FALSE(
        SetProfileValue("[s]\r\nk=1\r\n", ProfileEncoding::kAnsi, c.section, c.key, c.value))
        << c.section << " " << c.key << " " << c.value;
  }
  // A complete double-byte character at the end is fine.
  EXPECT_TRUE(SetProfileValue("", ProfileEncoding::kAnsi, "A\x81\x40", "k", "v"));
}

}  // namespace
}  // namespace h5
