#include "platform/root/registry.h"

#include <string>

#include <gtest/gtest.h>

#include "scratch.h"

namespace h5 {
namespace {

using namespace std::string_literals;

const std::string kSuiteKey = "HKEY_LOCAL_MACHINE\\SOFTWARE\\SORAHATO\\ひだまり家庭帳５";

std::optional<std::string> PathOf(std::string_view text) {
  return RegistryFile::Parse(text).Find(kSuiteKey, "Path");
}

struct RegCase {
  const char* what;
  std::string text;
  std::optional<std::string> path;
};

TEST(RegistryTest, ReadsPathValue) {
  const std::string header = "Windows Registry Editor Version 5.00\r\n\r\n";
  const std::string section = "[HKEY_LOCAL_MACHINE\\SOFTWARE\\SORAHATO\\ひだまり家庭帳５]\r\n";
  const RegCase cases[] = {
      {"plain", header + section + "\"Path\"=\"C:\\\\Hidamari5\"\r\n", "C:\\Hidamari5"},
      {"LF only",
       "REGEDIT4\n[HKEY_LOCAL_MACHINE\\SOFTWARE\\SORAHATO\\ひだまり家庭帳５]\n"
       "\"Path\"=\"C:\\\\x\"",
       "C:\\x"},
      {"BOM", "\xEF\xBB\xBF" + header + section + "\"Path\"=\"D:\\\\y\"\r\n", "D:\\y"},
      {"escaped quote", header + section + "\"Path\"=\"a\\\"b\\\\\"\r\n", "a\"b\\"},
      {"lone backslash stands for itself", header + section + "\"Path\"=\"C:\\Hidamari5\"\n",
       "C:\\Hidamari5"},
      {"blanks around =", header + section + "  \"Path\" = \"v\"  \r\n", "v"},
      {"empty value", header + section + "\"Path\"=\"\"\r\n", ""},
      {"key and name case",
       header + "[hkey_local_machine\\software\\Sorahato\\ひだまり家庭帳５]\r\n"
                "\"PATH\"=\"v\"\r\n",
       "v"},
      {"later value wins", header + section + "\"Path\"=\"a\"\r\n\"Path\"=\"b\"\r\n", "b"},
      {"damaged lines skipped",
       header + section +
           "\"Path\"=\"unclosed\r\n"
           "garbage\r\n"
           "\"Path\"=\"x\" trailing\r\n"
           "\"Path\"\r\n"
           "\"Path\"=\"good\"\r\n",
       "good"},
      {"other types ignored",
       header + section +
           "\"Path\"=dword:00000001\r\n"
           "\"Path\"=hex(2):43,00,3a,00\r\n",
       std::nullopt},
      {"deleted key holds nothing",
       header + "[-HKEY_LOCAL_MACHINE\\SOFTWARE\\SORAHATO\\ひだまり家庭帳５]\r\n"
                "\"Path\"=\"x\"\r\n",
       std::nullopt},
      {"value in another key",
       header + "[HKEY_LOCAL_MACHINE\\SOFTWARE\\SORAHATO]\r\n"
                "\"Path\"=\"x\"\r\n",
       std::nullopt},
      {"value before any key", header + "\"Path\"=\"x\"\r\n" + section, std::nullopt},
      {"no header", section + "\"Path\"=\"x\"\r\n", std::nullopt},
      {"wrong header", "Windows Registry Editor Version 4.00\r\n" + section + "\"Path\"=\"x\"\r\n",
       std::nullopt},
      {"empty", "", std::nullopt},
  };
  for (const RegCase& c : cases) EXPECT_EQ(PathOf(c.text), c.path) << c.what;
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

TEST(RegistryTest, ReadsUtf16ExportOfRegedit) {
  std::u16string text =
      u"Windows Registry Editor Version 5.00\r\n\r\n"
      u"[HKEY_LOCAL_MACHINE\\SOFTWARE\\SORAHATO\\ひだまり家庭帳５]\r\n"
      u"\"Path\"=\"C:\\\\家計\"\r\n";
  std::string bytes = "\xFF\xFE";
  for (char16_t unit : text) {
    bytes += static_cast<char>(unit & 0xFF);
    bytes += static_cast<char>(unit >> 8);
  }
  EXPECT_EQ(PathOf(bytes), "C:\\家計");
  // An odd last byte is damage of its own line only.
  EXPECT_EQ(PathOf(bytes + "\x41"), "C:\\家計");
  // A line cut in the middle of a unit is damaged.
  EXPECT_EQ(PathOf(bytes.substr(0, bytes.size() - 5)), std::nullopt);
}

TEST(RegistryTest, ReadsFileAndTreatsMissingAsEmpty) {
  ScratchDir root;
  EXPECT_EQ(RegistryFile::Read(root.path() / "registry.reg").value_count(), 0u);
  root.MakeDir("registry.reg.d");
  EXPECT_EQ(RegistryFile::Read(root.path() / "registry.reg.d").value_count(), 0u);
  root.Write("registry.reg", "REGEDIT4\r\n[HKEY_LOCAL_MACHINE\\A]\r\n\"B\"=\"c\"\r\n");
  EXPECT_EQ(RegistryFile::Read(root.path() / "registry.reg").Find("HKEY_LOCAL_MACHINE\\a", "b"),
            "c");
}

}  // namespace
}  // namespace h5
