#include "shell/launch.h"

#include <charconv>
#include <cmath>
#include <string_view>
#include <system_error>

#include "store/module.h"
#include "text/ansi.h"
#include "text/checked.h"
#include "text/vbstring.h"

namespace h5 {
namespace {

constexpr uint32_t kCookieBufferBytes = 255;
constexpr int kShowRestore = 9;

std::optional<std::string> LookUpWinflag(const std::string& url) {
  CookieStore* cookies = Module().ports.cookies;
  if (!cookies) return std::nullopt;
  std::optional<std::string> text = cookies->Cookie(ToAnsi(url), "winflag", kCookieBufferBytes);
  if (!text) return std::nullopt;
  return FromAnsi(*text);
}

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r'; }

}  // namespace

double LeadingNumber(std::string_view text) {
  std::string digits;
  size_t i = 0;
  auto skip_blanks = [&] {
    while (i < text.size() && IsBlank(text[i])) ++i;
  };
  skip_blanks();
  if (i < text.size() && (text[i] == '-' || text[i] == '+')) digits += text[i++];
  bool any_digit = false, point = false;
  for (; i < text.size(); ++i) {
    char c = text[i];
    if (IsBlank(c)) continue;
    if (c >= '0' && c <= '9') {
      digits += c;
      any_digit = true;
    } else if (c == '.' && !point) {
      digits += c;
      point = true;
    } else {
      break;
    }
  }
  if (!any_digit) return 0;
  if (i < text.size() && (text[i] == 'e' || text[i] == 'E' || text[i] == 'd' || text[i] == 'D')) {
    std::string exponent = "e";
    size_t j = i + 1;
    if (j < text.size() && (text[j] == '-' || text[j] == '+')) exponent += text[j++];
    size_t start = exponent.size();
    while (j < text.size() && text[j] >= '0' && text[j] <= '9' && exponent.size() < 8) {
      exponent += text[j++];
    }
    if (exponent.size() > start) digits += exponent;
  }
  // from_chars reads the same whatever locale the host set (a decimal comma
  // would stop strtod at the point).
  const char* first = digits.data();
  const char* last = first + digits.size();
  bool negative = *first == '-';
  if (*first == '+' || negative) ++first;
  double value = 0;
  if (std::from_chars(first, last, value).ec == std::errc::result_out_of_range) {
    bool tiny = digits.find("e-") != std::string::npos;
    value = tiny ? 0.0 : HUGE_VAL;
  }
  return negative ? -value : value;
}

bool LaunchMenuApp(int16_t& app_no, std::string& option) {
  ModuleData& m = Module();
  std::string parameters = DecimalText(app_no);
  if (LeadingNumber(option) >= 0) parameters += "," + option;
  std::string program = m.InstallDir + "HdmMenu5.exe";
  Environment* env = m.ports.environment;
  Shell* shell = m.ports.shell;
  if (!env || !shell) return false;
  std::string directory = env->LibraryDirectory();
  return shell->Execute("OPEN", ToAnsi(program), ToAnsi(parameters), directory, kShowRestore);
}

bool IsKitchenTimerRunning() {
  ModuleData& m = Module();
  const std::string page = std::string("timer\\") + "bottom0.html";
  std::optional<std::string> cookie = LookUpWinflag("file:///" + m.InstallDir + page);
  if (!cookie) {
    std::string drive = UpperAscii(LeftChars(m.InstallDir, 3));
    std::string dir = m.InstallDir;
    GetLongDirPath(dir);
    dir += "\\";
    cookie = LookUpWinflag("file:///" + drive + dir + page);
    if (!cookie) cookie = LookUpWinflag("file:///" + LowerAscii(drive) + dir + page);
  }
  if (!cookie) return false;

  std::string text = CutAtNull(*cookie);
  if (FindChars(text, "winflag") == 0) return false;
  std::string key = std::string("winflag") + "=";
  std::string value = RemoveText(text, key);
  if (value.empty()) return false;
  // A number beyond 16 bits cannot be the flag.
  std::optional<int16_t> flag = RoundHalfEvenToInt16(LeadingNumber(value));
  return flag && *flag == 1;
}

int16_t GetLongDirPath(std::string& path) {
  Environment* env = Module().ports.environment;
  std::string prefix = LeftChars(path, 2);
  std::string rest = MidChars(path, 4);
  std::string result;
  size_t begin = 0;
  while (begin <= rest.size()) {
    size_t end = rest.find('\\', begin);
    if (end == std::string::npos) end = rest.size();
    std::string component = rest.substr(begin, end - begin);
    begin = end + 1;
    if (component.empty()) continue;
    prefix += "\\" + component;
    std::string name = env ? FromAnsi(env->StoredName(ToAnsi(prefix))) : std::string();
    if (name.empty()) continue;
    if (!result.empty()) result += "\\";
    result += name;
  }
  path = result;
  return 0;
}

std::string RemoveText(std::string& text, std::string& key) {
  if (key.empty()) return text;
  while (true) {
    int64_t p = FindChars(text, key);
    if (p == 0) return text;
    text = TrimSpaces(LeftChars(text, p - 1)) + MidChars(text, p + CharCount(key));
  }
}

std::string CutAtNull(std::string& text) {
  size_t nul = text.find('\0');
  if (nul == std::string::npos) return text;
  int16_t n = AnsiByteLength(std::string_view(text).substr(0, nul));
  return LeftAnsiBytes(text, n);
}

}  // namespace h5
