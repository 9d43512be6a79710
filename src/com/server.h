// The in-process server's module-wide state: its own handle and path, and
// the count of live objects and locks that DllCanUnloadNow answers from.
#ifndef H5KAKEI_COM_SERVER_H_
#define H5KAKEI_COM_SERVER_H_

#include <windows.h>

#include <string>

namespace h5 {

// The handle of H5Kakei.ocx itself (its resources, its path).
HINSTANCE ServerModule();
// The module's full path, UTF-16, as registration writes it.
std::wstring ServerPath();

// Every COM object of the server and every IClassFactory::LockServer(TRUE)
// holds the server; it may unload when none does.
void HoldServer();
void ReleaseServer();
bool ServerInUse();

// QueryInterface of an object that offers IUnknown and one interface.
template <typename Interface>
HRESULT QueryOnly(Interface* self, REFIID offered, REFIID iid, void** out) {
  if (!out) return E_POINTER;
  if (iid == IID_IUnknown || iid == offered) {
    *out = self;
    self->AddRef();
    return S_OK;
  }
  *out = nullptr;
  return E_NOINTERFACE;
}

// Names a call the server received, for the debugger's output (under Wine:
// WINEDEBUG=+debugstr), so a container's conversation can be followed.
void TraceCall(const char* name);

}  // namespace h5

#endif  // H5KAKEI_COM_SERVER_H_
