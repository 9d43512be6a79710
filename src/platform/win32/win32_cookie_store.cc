#include "platform/win32/win32_cookie_store.h"

#include <windows.h>
// wininet.h needs windows.h first.
#include <wininet.h>

#include <string>

namespace h5 {

std::optional<std::string> Win32CookieStore::Cookie(std::string_view url, std::string_view name,
                                                    uint32_t buffer_size) {
  if (buffer_size == 0) return std::nullopt;
  const std::string url_text(url), name_text(name);
  std::string buffer(buffer_size, '\0');
  DWORD size = buffer_size;
  if (!InternetGetCookieA(url_text.c_str(), name_text.empty() ? nullptr : name_text.c_str(),
                          buffer.data(), &size)) {
    return std::nullopt;
  }
  buffer.resize(buffer.find('\0') == std::string::npos ? buffer.size() : buffer.find('\0'));
  return buffer;
}

}  // namespace h5
