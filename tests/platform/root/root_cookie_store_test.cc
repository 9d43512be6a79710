#include "platform/root/root_cookie_store.h"

#include <string>

#include <gtest/gtest.h>

#include "scratch.h"

namespace h5 {
namespace {

using namespace std::string_literals;

// file:///C:\ひだまり\timer\bottom0.html in CP932.
const std::string kPageAnsi = "file:///C:\\\x82\xD0\x82\xBE\x82\xDC\x82\xE8\\timer\\bottom0.html";

TEST(RootCookieStoreTest, MissingFileHasNoCookies) {
  ScratchDir root;
  RootCookieStore store(root.path());
  EXPECT_EQ(store.Cookie("file:///C:\\x", "winflag", 255), std::nullopt);
}

TEST(RootCookieStoreTest, LooksUpExactAddresses) {
  ScratchDir root;
  root.Write("cookies.txt",
             "\xEF\xBB\xBF# comment\tline\r\n"
             "file:///C:\\ひだまり\\timer\\bottom0.html\twinflag=1\r\n"
             "file:///c:\\ひだまり\\timer\\bottom0.html\twinflag=0\r\n"
             "file:///C:\\Other\\timer\\bottom0.html\tother=x; winflag=1; name=値\n"
             "no tab here\n"
             "#file:///C:\\Commented\\timer\\bottom0.html\twinflag=1\n"
             "file:///C:\\Empty\\timer\\bottom0.html\t\n"
             "file:///C:\\Twice\\timer\\bottom0.html\tfirst\n"
             "file:///C:\\Twice\\timer\\bottom0.html\tsecond");
  RootCookieStore store(root.path());
  struct Case {
    std::string url;
    std::optional<std::string> cookie;
  };
  const Case cases[] = {
      {kPageAnsi, "winflag=1"},
      {"file:///c:\\\x82\xD0\x82\xBE\x82\xDC\x82\xE8\\timer\\bottom0.html", "winflag=0"},
      {"FILE:///C:\\\x82\xD0\x82\xBE\x82\xDC\x82\xE8\\timer\\bottom0.html", std::nullopt},
      {kPageAnsi + " ", std::nullopt},
      {kPageAnsi + "\0junk"s, "winflag=1"},
      {"file:///C:\\Other\\timer\\bottom0.html", "other=x; winflag=1; name=\x92\x6C"},
      {"file:///C:\\Commented\\timer\\bottom0.html", std::nullopt},
      {"#file:///C:\\Commented\\timer\\bottom0.html", std::nullopt},
      {"file:///C:\\Empty\\timer\\bottom0.html", ""},
      {"file:///C:\\Twice\\timer\\bottom0.html", "first"},
      {"no tab here", std::nullopt},
      {"", std::nullopt},
  };
  for (const Case& c : cases) EXPECT_EQ(store.Cookie(c.url, "winflag", 255), c.cookie) << c.url;
}

TEST(RootCookieStoreTest, TextAndNulMustFitTheBuffer) {
  ScratchDir root;
  root.Write("cookies.txt", "page\twinflag=1\nwide\t値\n");
  RootCookieStore store(root.path());
  EXPECT_EQ(store.Cookie("page", "winflag", 10), "winflag=1");
  EXPECT_EQ(store.Cookie("page", "winflag", 9), std::nullopt);
  EXPECT_EQ(store.Cookie("page", "winflag", 0), std::nullopt);
  // The size counts ANSI bytes: 値 is 2 bytes in CP932 (3 in UTF-8).
  EXPECT_EQ(store.Cookie("wide", "winflag", 3), "\x92\x6C");
  EXPECT_EQ(store.Cookie("wide", "winflag", 2), std::nullopt);
}

}  // namespace
}  // namespace h5
