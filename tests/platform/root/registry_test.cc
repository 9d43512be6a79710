#include "platform/root/registry.h"

#include <string>

#include <gtest/gtest.h>

#include "scratch.h"

namespace h5 {
namespace {

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
      {"", std::nullopt},
  };
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
  root.Write("registry.reg", "REGEDIT4\r\n[HKEY_LOCAL_MACHINE\\A]\r\n\"B\"=\"c\"\r\n");
  EXPECT_EQ(RegistryFile::Read(root.path() / "registry.reg").Find("HKEY_LOCAL_MACHINE\\a", "b"),
            "c");
}

}  // namespace
}  // namespace h5
