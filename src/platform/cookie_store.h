// The browser's cookie store, as InternetGetCookieA reaches it. Texts are
// ANSI (CP932) bytes.
#ifndef H5KAKEI_PLATFORM_COOKIE_STORE_H_
#define H5KAKEI_PLATFORM_COOKIE_STORE_H_

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace h5 {

class CookieStore {
 public:
  virtual ~CookieStore() = default;

  // The cookie text ("a=1; b=2") kept for the page address url, which must
  // match exactly. nullopt when there is none, or when the text and its
  // terminating NUL do not fit buffer_size bytes.
  virtual std::optional<std::string> Cookie(std::string_view url, std::string_view name,
                                            uint32_t buffer_size) = 0;
};

}  // namespace h5

#endif  // H5KAKEI_PLATFORM_COOKIE_STORE_H_
