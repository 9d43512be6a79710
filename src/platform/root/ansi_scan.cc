#include "platform/root/ansi_scan.h"

#include "text/ansi.h"
#include "text/vbstring.h"

namespace h5 {
namespace {

bool IsBlank(char c) {
  return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f';
}

}  // namespace

std::string_view UpToNul(std::string_view text) {
  size_t nul = text.find('\0');
  return nul == std::string_view::npos ? text : text.substr(0, nul);
}

bool EqualsIgnoringAsciiCaseAnsi(std::string_view a, std::string_view b) {
  return a.size() == b.size() && LowerAsciiAnsi(a) == LowerAsciiAnsi(b);
}

bool EqualsIgnoringAsciiCaseUtf8(std::string_view a, std::string_view b) {
  return a.size() == b.size() && LowerAscii(a) == LowerAscii(b);
}

std::string_view TrimBlanks(std::string_view text) {
  while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
  while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
  return text;
}

}  // namespace h5
