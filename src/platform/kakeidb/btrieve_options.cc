#include "platform/kakeidb/btrieve_options.h"

#include <charconv>

namespace h5 {

int OpenFileLimitFromOptions(std::string_view options) {
  int limit = kDefaultOpenFileLimit;
  size_t at = 0;
  while (at < options.size()) {
    size_t begin = options.find_first_not_of(" \t", at);
    if (begin == std::string_view::npos) break;
    size_t end = options.find_first_of(" \t", begin);
    if (end == std::string_view::npos) end = options.size();
    std::string_view token = options.substr(begin, end - begin);
    at = end;
    if (token.size() < 3 || token[0] != '/' || (token[1] != 'f' && token[1] != 'F') ||
        token[2] != ':') {
      continue;
    }
    std::string_view digits = token.substr(3);
    int value = 0;
    auto [rest, ec] = std::from_chars(digits.data(), digits.data() + digits.size(), value);
    bool whole = !digits.empty() && ec == std::errc() && rest == digits.data() + digits.size() &&
                 digits.front() != '-' && digits.front() != '+';
    limit = whole && value >= 1 && value <= kMaxOpenFileLimit ? value : kDefaultOpenFileLimit;
  }
  return limit;
}

}  // namespace h5
