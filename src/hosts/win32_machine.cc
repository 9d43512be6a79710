// The machine on Windows: the native adapters, data files by their own paths.
#include "hosts/session.h"
#include "platform/kakeidb/kakeidb.h"
#include "platform/win32/win32_cookie_store.h"
#include "platform/win32/win32_environment.h"
#include "platform/win32/win32_shell.h"

namespace h5 {

Machine MakeMachine(const SessionOptions& options) {
  Machine machine;
  machine.environment = std::make_unique<Win32Environment>(options.today);
  machine.cookies = std::make_unique<Win32CookieStore>();
  machine.shell = std::make_unique<Win32Shell>();
  machine.records = OpenKakeiDb(NativeWindowsPath, *machine.environment);
  return machine;
}

}  // namespace h5
