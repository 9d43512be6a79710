// The set of ports one thread of the library talks to the world through.
#ifndef H5KAKEI_PLATFORM_PORTS_H_
#define H5KAKEI_PLATFORM_PORTS_H_

#include "platform/cookie_store.h"
#include "platform/dialogs.h"
#include "platform/environment.h"
#include "platform/record_manager.h"
#include "platform/screen.h"
#include "platform/shell.h"

namespace h5 {

// Borrowed pointers; the host owns the adapters and keeps them alive while
// the thread uses the library.
struct Ports {
  Environment* environment = nullptr;
  RecordManager* records = nullptr;
  Dialogs* dialogs = nullptr;
  Shell* shell = nullptr;
  CookieStore* cookies = nullptr;
  Screen* screen = nullptr;
};

}  // namespace h5

#endif  // H5KAKEI_PLATFORM_PORTS_H_
