#include "platform/root/profile.h"
#include "platform/root/registry.h"

#include <string>

#include <gtest/gtest.h>

#include "scratch.h"

namespace h5 {
namespace {

using namespace std::string_literals;

// CP932 bytes: 賞味期限, 家計簿, ｵﾌﾟｼｮﾝ (half-width), 集計, ア, ヂ, ゾ (trail ']'), 表 (trail '\').
const std::string kShomikigen = "\x8F\xDC\x96\xA1\x8A\xFA\x8C\xC0",
                  kKakeibo = "\x89\xC6\x8C\x76\x95\xEB", kOption = "\xB5\xCC\xDF\xBC\xAE\xDD",
                  kShukei = "\x8F\x57\x8C\x76", kA = "\x83\x41", kDi = "\x83\x61", kZo = "\x83\x5D",
                  kHyo = "\x95\x5C";

std::optional<ProfileText> Ansi(std::string bytes) { return ProfileTextOf(std::move(bytes)); }

TEST(ProfileTest, StringSemantics) {
  const std::string dirname =
      "[DirName]\r\ndatapath=HdmData6\r\nkakeiPath=\r\n  Spaced  =   value with  inner  blanks   "
      "\r\n"
      "quoted=\"  q  \"\r\nsingle='s'\r\nhalf=\"h\r\neq=a=b\r\ndatapath=second\r\n;comment=x\r\n"
      "noequals\r\n[Other]\r\ndatapath=other\r\n[DIRNAME]\r\nlate=from second section\r\n";
  const std::string cp932 = "[" + kShomikigen + "]\r\n" + kKakeibo + "=3\r\n[" + kOption + "]\r\n" +
                            kShukei + "=1\r\n[" + kZo + "]\r\nk=zo\r\n[" + kA + "]\r\nk=a\r\n[x" +
                            kHyo + "]\r\n" + kHyo + "=hyo\r\n";
  const std::string cut = "[s]\nk=a" + kKakeibo + "\n";  // the value is 7 bytes
  const std::string utf8 = "\xEF\xBB\xBF[賞味期限]\r\n家計簿=2\r\n[ｵﾌﾟｼｮﾝ]\r\n名前= 家計 ✓ \r\n";
  const std::string long_lines = "[s]\r\n" + std::string(100000, ' ') +
                                 "k=" + std::string(200000, 'v') + "\r\n[" +
                                 std::string(50000, 'S') + "]\r\nk=long section\r\n";
  const std::tuple<const char*, std::optional<std::string>, std::string, std::string, std::string,
                   uint32_t, std::string>
      cases[] = {
          // what, file (nullopt: none), section, key, default, size, expected
          {"no file", std::nullopt, "DirName", "datapath", "HdmData5", 256, "HdmData5"},
          {"empty file", "", "DirName", "datapath", "HdmData5", 256, "HdmData5"},
          {"first key wins", dirname, "DirName", "datapath", "HdmData5", 256, "HdmData6"},
          {"section and key case", dirname, "dIRnAME", "DATAPATH", "d", 256, "HdmData6"},
          {"names trimmed", dirname, " DirName ", " spaced ", "d", 256,
           "value with  inner  blanks"},
          {"empty value stays empty", dirname, "DirName", "kakeiPath", "kakeibo", 256, ""},
          {"missing key", dirname, "DirName", "nothing", "dflt", 256, "dflt"},
          {"missing section", dirname, "Nothing", "datapath", "dflt", 256, "dflt"},
          {"double quotes removed", dirname, "DirName", "quoted", "", 256, "  q  "},
          {"single quotes removed", dirname, "DirName", "single", "", 256, "s"},
          {"unmatched quote kept", dirname, "DirName", "half", "", 256, "\"h"},
          {"value holds =", dirname, "DirName", "eq", "", 256, "a=b"},
          {"comment is no key", dirname, "DirName", ";comment", "d", 256, "d"},
          {"line without = is no key", dirname, "DirName", "noequals", "d", 256, "d"},
          {"only the first section counts", dirname, "DirName", "late", "d", 256, "d"},
          {"next section ends the first", dirname, "Other", "datapath", "d", 256, "other"},
          {"default loses trailing blanks", dirname, "DirName", "nothing", "dflt  \t", 256, "dflt"},
          {"default keeps leading blanks", dirname, "DirName", "nothing", "  dflt", 256, "  dflt"},
          {"cut default too", dirname, "DirName", "nothing", "abcdef", 3, "ab"},
          {"size 0", dirname, "DirName", "datapath", "dflt", 0, ""},
          {"names up to NUL", dirname, "DirName\0junk"s, "datapath\0x"s, "", 256, "HdmData6"},
          {"default up to NUL", std::nullopt, "s", "k", "ab\0cd"s, 256, "ab"},
          {"LF and no final newline", "[s]\nk=v1\n[t]\nk=v2", "t", "k", "", 256, "v2"},
          {"key before any section", "k=v\n[s]\n", "s", "k", "d", 256, "d"},
          {"blanks before [", "  [s]  \nk=v\n", "s", "k", "", 256, "v"},
          {"section without ]", "[s\nk=v\n", "s", "k", "", 256, "v"},
          {"text after ]", "[s] junk\nk=v\n", "s", "k", "d", 256, "v"},
          {"tab blanks", "[s]\n\tk\t=\tv\t\n", "s", "k", "", 256, "v"},
          {"CP932 names", cp932, kShomikigen, kKakeibo, "", 256, "3"},
          {"half-width names", cp932, kOption, kShukei, "", 256, "1"},
          {"trail byte ] closes no section", cp932, kZo, "k", "", 256, "zo"},
          {"trail byte A not folded", cp932, kA, "k", "", 256, "a"},
          {"ヂ is not ア", cp932, kDi, "k", "none", 256, "none"},
          {"trail byte \\ and case", cp932, "X" + kHyo, kHyo, "", 256, "hyo"},
          {"bytes CP932 lacks pass", "[s]\nk\x81=\x80\xFF\xA0x\x81\n[t]\nk=v\n", "s", "k\x81", "",
           6, "\x80\xFF\xA0x\x81"},
          {"size 1", cut, "s", "k", "", 1, ""},
          {"cut before a lead byte", cut, "s", "k", "", 2, "a"},
          {"cut never splits a character", cut, "s", "k", "", 3, "a"},
          {"cut after a whole character", cut, "s", "k", "", 4, "a\x89\xC6"},
          {"cut leaves room for NUL", cut, "s", "k", "", 8, "a" + kKakeibo},
          {"UTF-8 file", utf8, kShomikigen, kKakeibo, "", 256, "2"},
          {"UTF-8 beyond CP932 as ?", utf8, kOption, "\x96\xBC\x91\x4F", "", 256,
           "\x89\xC6\x8C\x76 ?"},
          {"UTF-8 cut in CP932 bytes", utf8, kOption, "\x96\xBC\x91\x4F", "", 4, "\x89\xC6"},
          {"long value cut", long_lines, "s", "k", "", 256, std::string(255, 'v')},
          {"long value whole", long_lines, "s", "k", "", 0xFFFFFFFFu, std::string(200000, 'v')},
          {"long section name", long_lines, std::string(50000, 's'), "k", "", 256, "long section"},
          {"after lone lead byte", "[s]\nk\x81=\x80\xFF\xA0x\x81\n[t]\nk=v\n", "t", "k", "", 256,
           "v"}};
  for (const auto& [what, text, section, key, default_value, size, expected] : cases) {
    std::optional<ProfileText> file = text ? Ansi(*text) : std::nullopt;
    EXPECT_EQ(ProfileString(file, section, key, default_value, size), expected) << what;
  }
}

TEST(ProfileTest, IntSemantics) {
  const std::tuple<std::string, int32_t, uint32_t> cases[] = {
      // value line, default, expected
      {"", 1, 1u},          {"k=", 1, 1u},
      {"k=\"\"", 7, 7u},    {"k=  42  ", 1, 42u},
      {"k=+5", 1, 5u},      {"k=-5", 1, 0xFFFFFFFBu},
      {"k=12abc", 1, 12u},  {"k=abc", 1, 0u},
      {"k=--1", 1, 0u},     {"k=\" 9\"", 1, 9u},
      {"k=0x10", 1, 0u},    {"k=99999999999999999999", 1, 1661992959u},  // mod 2^32
      {"", -1, 0xFFFFFFFFu}};
  for (const auto& [line, default_value, expected] : cases) {
    EXPECT_EQ(ProfileInt(Ansi("[s]\r\n" + line + "\r\n"), "S", "K", default_value), expected)
        << line;
  }
  EXPECT_EQ(ProfileInt(std::nullopt, "s", "k", 5), 5u);
}

// Edits touch only the value; refusals cover text the reader could not see again.
TEST(ProfileTest, SetKeepsEveryOtherByte) {
  const std::string o = "/m:32 /p:1024 /b:16 /f:50 /l:40 /n:12";
  const std::tuple<std::string, std::string, std::string, std::string, std::optional<std::string>>
      cases[] = {
          // before, section, key, value, after (nullopt: refused)
          {"", "Btrieve", "OPTIONS", o, "[Btrieve]\r\nOPTIONS=" + o + "\r\n"},
          {"; top\r\n[windows]\r\nload=\r\n\r\n[btrieve]  \r\n  options = NO  \r\nx=1\r\n",
           "Btrieve", "OPTIONS", o,
           "; top\r\n[windows]\r\nload=\r\n\r\n[btrieve]  \r\n  options = " + o + "  \r\nx=1\r\n"},
          {"[Btrieve]\nOPTIONS=\nz=1\n", "Btrieve", "OPTIONS", "v", "[Btrieve]\nOPTIONS=v\nz=1\n"},
          {"[B]\r\nK=\"old\"\r\n", "b", "k", "new", "[B]\r\nK=new\r\n"},
          {"[B]\r\nK=1\r\n[B]\r\nK=2\r\n", "B", "K", "3", "[B]\r\nK=3\r\n[B]\r\nK=2\r\n"},
          {"[Btrieve]\r\na=1\r\n\r\n\r\n[Next]\r\nb=2\r\n", "Btrieve", "OPTIONS", "v",
           "[Btrieve]\r\na=1\r\nOPTIONS=v\r\n\r\n\r\n[Next]\r\nb=2\r\n"},
          {"[Btrieve]\n[Next]\n", "btrieve", "OPTIONS", "v", "[Btrieve]\nOPTIONS=v\n[Next]\n"},
          {"[Btrieve]\r\na=1", "Btrieve", "K", "v", "[Btrieve]\r\na=1\r\nK=v"},
          {"[a]\nx=1\n", "Btrieve", "OPTIONS", "v", "[a]\nx=1\n[Btrieve]\nOPTIONS=v\n"},
          {"[a]\r\nx=1", "Btrieve", "OPTIONS", "v", "[a]\r\nx=1\r\n[Btrieve]\r\nOPTIONS=v\r\n"},
          {"[B]\r\nK=1\r\n", "B", "NEW", "  padded  ", "[B]\r\nK=1\r\nNEW=  padded  \r\n"},
          {"[" + kZo + "]\r\n", kZo, kHyo, kKakeibo,
           "[" + kZo + "]\r\n" + kHyo + "=" + kKakeibo + "\r\n"},
          {"", "A\x81\x40", "k", "v", "[A\x81\x40]\r\nk=v\r\n"},
          {"[B]\r\n", "B", " ", "v", std::nullopt},
          {"[B]\r\n", "B", "a=b", "v", std::nullopt},
          {"", "B", "[x", "v", std::nullopt},
          {"", "B", ";x", "v", std::nullopt},
          {"", "B", "K", "a\r\nb=c", std::nullopt},
          {"", "B]\n[C", "K", "v", std::nullopt},
          // A lone lead byte at the end would swallow the "]" or "=" after it.
          {"[s]\r\nk=1\r\n", "A\x81", "k", "v", std::nullopt},
          {"[s]\r\nk=1\r\n", "\x8d\x80\xda\x96", "k", "v", std::nullopt},
          {"[s]\r\nk=1\r\n", "s", "k\x81", "v", std::nullopt},
          {"[s]\r\nk=1\r\n", "s", "k", "v\x81", std::nullopt}};
  for (const auto& [before, section, key, value, after] : cases) {
    EXPECT_EQ(SetProfileValue(before, ProfileEncoding::kAnsi, section, key, value), after)
        << before << " " << section << " " << key << " " << value;
  }
}

const std::string kKey = "HKEY_LOCAL_MACHINE\\SOFTWARE\\SORAHATO\\ひだまり家庭帳５";

std::optional<std::string> PathOf(std::string_view text) {
  return RegistryFile::Parse(text).Find(kKey, "Path");
}

// Damaged lines and other value types are skipped; only a valid header counts.
TEST(RegistryTest, ReadsPathValue) {
  const std::string section = "[" + kKey + "]\r\n";
  const std::string head = "Windows Registry Editor Version 5.00\r\n\r\n" + section;
  const std::pair<std::string, std::optional<std::string>> cases[] = {
      {head + "\"Path\"=\"C:\\\\Hidamari5\"\r\n", "C:\\Hidamari5"},
      {"REGEDIT4\n[" + kKey + "]\n\"Path\"=\"C:\\\\x\"", "C:\\x"},
      {"\xEF\xBB\xBF" + head + "\"Path\"=\"D:\\\\y\"\r\n", "D:\\y"},
      {head + "\"Path\"=\"a\\\"b\\\\\"\r\n", "a\"b\\"},
      {head + "\"Path\"=\"C:\\Hidamari5\"\n", "C:\\Hidamari5"},  // a lone backslash is itself
      {head + "  \"Path\" = \"v\"  \r\n", "v"},
      {head + "\"Path\"=\"\"\r\n", ""},
      {"REGEDIT4\r\n[hkey_local_machine\\software\\Sorahato\\ひだまり家庭帳５]\r\n\"PATH\"=\"v\"",
       "v"},
      {head + "\"Path\"=\"a\"\r\n\"Path\"=\"b\"\r\n", "b"},
      {head + "\"Path\"=\"unclosed\r\ngarbage\r\n\"Path\"=\"x\" "
              "trailing\r\n\"Path\"\r\n\"Path\"=\"good\"",
       "good"},
      {head + "\"Path\"=dword:00000001\r\n\"Path\"=hex(2):43,00,3a,00\r\n", std::nullopt},
      {"REGEDIT4\r\n[-" + kKey + "]\r\n\"Path\"=\"x\"\r\n", std::nullopt},
      {"REGEDIT4\r\n[HKEY_LOCAL_MACHINE\\SOFTWARE\\SORAHATO]\r\n\"Path\"=\"x\"\r\n", std::nullopt},
      {"REGEDIT4\r\n\"Path\"=\"x\"\r\n[" + kKey + "]\r\n", std::nullopt},
      {section + "\"Path\"=\"x\"\r\n", std::nullopt},
      {"Windows Registry Editor Version 4.00\r\n" + section + "\"Path\"=\"x\"\r\n", std::nullopt},
      {"", std::nullopt}};
  for (const auto& [text, path] : cases) EXPECT_EQ(PathOf(text), path) << text;
}

TEST(RegistryTest, KeyPathsIgnoreOuterAndDoubledBackslashes) {
  RegistryFile registry = RegistryFile::Parse(
      "REGEDIT4\n[HKEY_LOCAL_MACHINE\\SOFTWARE\\X\\]\n\"A\"=\"1\"\n@=\"default\"\n");
  EXPECT_EQ(registry.Find("HKEY_LOCAL_MACHINE\\\\SOFTWARE\\X", "a"), "1");
  EXPECT_EQ(registry.Find("\\HKEY_LOCAL_MACHINE\\SOFTWARE\\X\\", "A"), "1");
  EXPECT_EQ(registry.Find("HKEY_LOCAL_MACHINE\\SOFTWARE\\X", ""), "default");
  EXPECT_EQ(registry.Find("HKEY_LOCAL_MACHINE\\SOFTWARE", "A"), std::nullopt);
  EXPECT_EQ(registry.Find("HKEY_LOCAL_MACHINE\\SOFTWARE\\X\\Y", "A"), std::nullopt);
}

// UTF-16 exports of regedit; a cut line is damage of that line only.
TEST(RegistryTest, ReadsUtf16ExportAndFiles) {
  std::u16string text =
      u"Windows Registry Editor Version 5.00\r\n\r\n[HKEY_LOCAL_MACHINE\\"
      u"SOFTWARE\\SORAHATO\\ひだまり家庭帳５]\r\n\"Path\"=\"C:\\\\家計\"\r\n";
  std::string bytes = "\xFF\xFE";
  for (char16_t unit : text)
    bytes += {static_cast<char>(unit & 0xFF), static_cast<char>(unit >> 8)};
  EXPECT_EQ(PathOf(bytes), "C:\\家計");
  EXPECT_EQ(PathOf(bytes + "\x41"), "C:\\家計");
  EXPECT_EQ(PathOf(bytes.substr(0, bytes.size() - 5)), std::nullopt);
  ScratchDir root;
  root.MakeDir("registry.reg.d");
  EXPECT_EQ(RegistryFile::Read(root.path() / "registry.reg.d").value_count(), 0u);
}

}  // namespace
}  // namespace h5
