#include "platform/root/root_cookie_store.h"

#include <system_error>

#include "platform/os/file_io.h"
#include "platform/root/ansi_scan.h"
#include "platform/root/path_map.h"
#include "text/ansi.h"

namespace h5 {

RootCookieStore::RootCookieStore(const std::filesystem::path& root)
    : file_(NormalizeRoot(root) / "cookies.txt") {}

std::optional<std::string> RootCookieStore::Cookie(std::string_view url, std::string_view /*name*/,
                                                   uint32_t buffer_size) {
  std::string bytes;
  if (ReadFileBytes(file_, &bytes) != ReadStatus::kOk) return std::nullopt;
  std::string_view text = bytes;
  if (text.substr(0, 3) == "\xEF\xBB\xBF") text.remove_prefix(3);
  const std::string address = FromAnsi(UpToNul(url));
  if (address.empty()) return std::nullopt;

  size_t begin = 0;
  while (begin < text.size()) {
    size_t lf = text.find('\n', begin);
    std::string_view line =
        text.substr(begin, lf == std::string_view::npos ? std::string_view::npos : lf - begin);
    begin = lf == std::string_view::npos ? text.size() : lf + 1;
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    if (line.empty() || line[0] == '#') continue;
    size_t tab = line.find('\t');
    if (tab == std::string_view::npos || line.substr(0, tab) != address) continue;
    std::string cookie = ToAnsi(line.substr(tab + 1));
    if (cookie.size() + 1 > buffer_size) return std::nullopt;
    return cookie;
  }
  return std::nullopt;
}

}  // namespace h5
