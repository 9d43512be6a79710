// main of the test suites on Windows: they check CP932 behaviour, so they
// refuse to run on a system whose ANSI code page is another.
#include <windows.h>

#include <cstdio>

#include <gtest/gtest.h>

int main(int argc, char** argv) {
  if (GetACP() != 932) {
    std::fprintf(stderr,
                 "FATAL: the ANSI code page is %u, not 932 (Japanese); under Wine run with "
                 "LANG=ja_JP.UTF-8 and the ja_JP.UTF-8 locale generated\n",
                 GetACP());
    return 1;
  }
  testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
