// The browser's cookie store through wininet's InternetGetCookieA.
#ifndef H5KAKEI_PLATFORM_WIN32_WIN32_COOKIE_STORE_H_
#define H5KAKEI_PLATFORM_WIN32_WIN32_COOKIE_STORE_H_

#include "platform/cookie_store.h"

namespace h5 {

class Win32CookieStore : public CookieStore {
 public:
  // name is passed on (wininet ignores it); the whole cookie text of url
  // comes back.
  std::optional<std::string> Cookie(std::string_view url, std::string_view name,
                                    uint32_t buffer_size) override;
};

}  // namespace h5

#endif  // H5KAKEI_PLATFORM_WIN32_WIN32_COOKIE_STORE_H_
