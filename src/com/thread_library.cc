#include "com/thread_library.h"

#include <windows.h>

#include <map>
#include <memory>
#include <mutex>

#include "platform/kakeidb/kakeidb.h"
#include "platform/win32/win32_cookie_store.h"
#include "platform/win32/win32_dialogs.h"
#include "platform/win32/win32_environment.h"
#include "platform/win32/win32_screen.h"
#include "platform/win32/win32_shell.h"
#include "startup/startup.h"
#include "store/module.h"

namespace h5 {
namespace {

struct ThreadLibrary {
  ModuleData module;
  Win32Environment environment;
  Win32CookieStore cookies;
  Win32Shell shell;
  Win32Dialogs dialogs;
  Win32Screen screen;
  std::unique_ptr<RecordManager> records = OpenKakeiDb(NativeWindowsPath, environment);
};

// Owned here rather than in thread-local storage: a thread-local object with
// a destructor hangs a MinGW DLL at thread exit, and unloading the library
// must free them while the threads live on.
std::mutex libraries_mutex;
// Whether this thread has started its copy: a dead thread's copy stays in
// the map until the library goes, and its id may come back.
thread_local bool started = false;
std::map<DWORD, std::unique_ptr<ThreadLibrary>>& Libraries() {
  static auto* libraries = new std::map<DWORD, std::unique_ptr<ThreadLibrary>>();
  return *libraries;
}

}  // namespace

void EnsureThreadLibrary() {
  if (started) return;
  started = true;
  ThreadLibrary* library = nullptr;
  std::unique_ptr<ThreadLibrary> stale;
  {
    std::lock_guard<std::mutex> lock(libraries_mutex);
    auto& slot = Libraries()[GetCurrentThreadId()];
    stale = std::move(slot);
    slot = std::make_unique<ThreadLibrary>();
    library = slot.get();
  }
  BindModule(&library->module);
  ResetModule(Ports{&library->environment, library->records.get(), &library->dialogs,
                    &library->shell, &library->cookies, &library->screen});
  Main();
}

void DropThreadLibrary() {
  std::unique_ptr<ThreadLibrary> gone;
  std::lock_guard<std::mutex> lock(libraries_mutex);
  auto it = Libraries().find(GetCurrentThreadId());
  if (it == Libraries().end()) return;
  gone = std::move(it->second);
  Libraries().erase(it);
}

void DropAllThreadLibraries() {
  std::lock_guard<std::mutex> lock(libraries_mutex);
  Libraries().clear();
}

}  // namespace h5
