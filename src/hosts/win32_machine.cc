// The machine on Windows: the native adapters, data files by their own paths.
#include "hosts/session.h"
#include "platform/kakeidb/kakeidb.h"
#include "platform/win32/win32_cookie_store.h"
#include "platform/win32/win32_environment.h"
#include "platform/win32/win32_shell.h"
#include "text/ansi.h"

namespace h5 {

Machine MakeMachine(const SessionOptions& options) {
  Machine machine;
  machine.environment = std::make_unique<Win32Environment>(options.today);
  machine.cookies = std::make_unique<Win32CookieStore>();
  machine.shell = std::make_unique<Win32Shell>();
  // ANSI paths name the machine's own files; the path is built from UTF-8
  // so no narrow-string conversion of the C library guesses the code page.
  machine.records = OpenKakeiDb(
      [](std::string_view windows_path) -> std::optional<std::filesystem::path> {
        const std::string utf8 = FromAnsi(windows_path);
        return std::filesystem::path(std::u8string(utf8.begin(), utf8.end()));
      },
      *machine.environment);
  return machine;
}

}  // namespace h5
