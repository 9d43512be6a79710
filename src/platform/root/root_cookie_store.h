// The browser's cookie store of an environment root: <root>/cookies.txt,
// UTF-8 lines "page-address<TAB>cookie-text". A line starting with '#' is a
// comment; a line without a tab is skipped; CRLF endings and a byte-order
// mark are tolerated. The file is read afresh on every lookup.
#ifndef H5KAKEI_PLATFORM_ROOT_ROOT_COOKIE_STORE_H_
#define H5KAKEI_PLATFORM_ROOT_ROOT_COOKIE_STORE_H_

#include <filesystem>

#include "platform/cookie_store.h"

namespace h5 {

class RootCookieStore : public CookieStore {
 public:
  // root is made absolute; it need not exist.
  explicit RootCookieStore(const std::filesystem::path& root);

  // The cookie text of the first line whose address equals url (ANSI,
  // compared as UTF-8, byte for byte). The cookie name is not used: as with
  // InternetGetCookieA, all cookies of the page come back and the caller
  // picks its pair. nullopt when the file or address is missing or the text
  // and its NUL need more than buffer_size bytes.
  std::optional<std::string> Cookie(std::string_view url, std::string_view name,
                                    uint32_t buffer_size) override;

 private:
  std::filesystem::path file_;
};

}  // namespace h5

#endif  // H5KAKEI_PLATFORM_ROOT_ROOT_COOKIE_STORE_H_
