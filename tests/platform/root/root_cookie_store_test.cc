#include "platform/root/root_cookie_store.h"

#include <string>

#include <gtest/gtest.h>

#include "scratch.h"

namespace h5 {
namespace {

using namespace std::string_literals;

// Exact address lookup; the size counts CP932 bytes and the NUL.
TEST(RootCookieStoreTest, LooksUpExactAddressesWithinTheBuffer) {
  ScratchDir root;
  EXPECT_EQ(RootCookieStore(root.path()).Cookie("file:///C:\\x", "winflag", 255), std::nullopt);
  root.Write(
      "cookies.txt",
      "\xEF\xBB\xBF# comment\tline\r\nfile:///C:\\ひだまり\\timer\\bottom0.html\twinflag=1\r\n"
      "file:///c:\\ひだまり\\timer\\bottom0.html\twinflag=0\r\n"
      "file:///C:\\Other\\timer\\bottom0.html\tother=x; winflag=1; name=値\nno tab here\n"
      "#file:///C:\\Commented\\timer\\bottom0.html\twinflag=1\n"
      "file:///C:\\Empty\\timer\\bottom0.html\t\nfile:///C:\\Twice\\timer\\bottom0.html\tfirst\n"
      "file:///C:\\Twice\\timer\\bottom0.html\tsecond\npage\twinflag=1\nwide\t値");
  RootCookieStore store(root.path());
  const std::string page = "file:///C:\\\x82\xD0\x82\xBE\x82\xDC\x82\xE8\\timer\\bottom0.html";
  const std::tuple<std::string, uint32_t, std::optional<std::string>> cases[] = {
      {page, 255, "winflag=1"},
      {"file:///c:\\\x82\xD0\x82\xBE\x82\xDC\x82\xE8\\timer\\bottom0.html", 255, "winflag=0"},
      {"FILE:///C:\\\x82\xD0\x82\xBE\x82\xDC\x82\xE8\\timer\\bottom0.html", 255, std::nullopt},
      {page + " ", 255, std::nullopt},
      {page + "\0junk"s, 255, "winflag=1"},
      {"file:///C:\\Other\\timer\\bottom0.html", 255, "other=x; winflag=1; name=\x92\x6C"},
      {"file:///C:\\Commented\\timer\\bottom0.html", 255, std::nullopt},
      {"#file:///C:\\Commented\\timer\\bottom0.html", 255, std::nullopt},
      {"file:///C:\\Empty\\timer\\bottom0.html", 255, ""},
      {"file:///C:\\Twice\\timer\\bottom0.html", 255, "first"},
      {"no tab here", 255, std::nullopt},
      {"", 255, std::nullopt},
      {"page", 10, "winflag=1"},
      {"page", 9, std::nullopt},
      {"page", 0, std::nullopt},
      {"wide", 3, "\x92\x6C"},  // 値: 2 bytes in CP932, 3 in UTF-8
      {"wide", 2, std::nullopt},
  };
  for (const auto& [url, size, cookie] : cases) {
    EXPECT_EQ(store.Cookie(url, "winflag", size), cookie) << url << " " << size;
  }
}

}  // namespace
}  // namespace h5
