// h5-set-cookie.exe URL TEXT: stores a cookie in this machine's browser
// store through wininet, kept until 2099 so that later processes see it.
#include <windows.h>
// wininet.h needs windows.h first.
#include <wininet.h>

#include <cstdio>
#include <string>

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: h5-set-cookie URL TEXT\n");
    return 2;
  }
  const std::string text = std::string(argv[2]) + "; expires=Thu, 31-Dec-2099 23:59:59 GMT";
  if (!InternetSetCookieA(argv[1], nullptr, text.c_str())) {
    std::fprintf(stderr, "h5-set-cookie: %s refused (error %lu)\n", argv[1], GetLastError());
    return 1;
  }
  return 0;
}
