// The library's entry points: DllMain and the four functions every
// in-process COM server exports.
#include "com/server.h"

#include <atomic>

#include "com/registration.h"
#include "com/thread_library.h"
#include "com/tile_control.h"
#include "win32/tile_window.h"

namespace h5 {
namespace {

HINSTANCE server_module = nullptr;
std::atomic<long> server_holds{0};

class ClassFactory : public IClassFactory {
 public:
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
    return QueryOnly<IClassFactory>(this, IID_IClassFactory, iid, out);
  }
  // One factory for the whole library; only LockServer holds the server.
  ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
  ULONG STDMETHODCALLTYPE Release() override { return 1; }
  HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown* outer, REFIID iid, void** out) override {
    TraceCall("IClassFactory::CreateInstance");
    if (out) *out = nullptr;
    if (outer) return CLASS_E_NOAGGREGATION;
    return TileControl::Create(iid, out);
  }
  HRESULT STDMETHODCALLTYPE LockServer(BOOL lock) override {
    if (lock) {
      HoldServer();
    } else {
      ReleaseServer();
    }
    return S_OK;
  }
};

ClassFactory class_factory;

}  // namespace

HINSTANCE ServerModule() { return server_module; }

std::wstring ServerPath() {
  std::wstring path(MAX_PATH, L'\0');
  for (;;) {
    DWORD length = GetModuleFileNameW(server_module, path.data(), static_cast<DWORD>(path.size()));
    if (length == 0) return std::wstring();
    if (length < path.size()) {
      path.resize(length);
      return path;
    }
    path.resize(path.size() * 2);
  }
}

void HoldServer() { ++server_holds; }
void ReleaseServer() { --server_holds; }
bool ServerInUse() { return server_holds.load() > 0; }

void TraceCall(const char* name) {
  std::string line = std::string("H5Kakei: ") + name + "\n";
  OutputDebugStringA(line.c_str());
}

}  // namespace h5

extern "C" {

BOOL WINAPI DllMain(HINSTANCE module, DWORD reason, LPVOID reserved) {
  switch (reason) {
    case DLL_PROCESS_ATTACH:
      h5::server_module = module;
      break;
    case DLL_THREAD_DETACH:
      h5::DropThreadLibrary();
      break;
    case DLL_PROCESS_DETACH:
      // At process exit (reserved set) the other threads are gone mid-flight;
      // only an unload frees the copies.
      if (!reserved) {
        h5::DropAllThreadLibraries();
        h5::UnregisterTileWindowClass(module);
      }
      break;
    default:
      break;
  }
  return TRUE;
}

STDAPI DllGetClassObject(REFCLSID clsid, REFIID iid, void** out) {
  if (!out) return E_POINTER;
  *out = nullptr;
  if (clsid != CLSID_frmKakei) return CLASS_E_CLASSNOTAVAILABLE;
  return h5::class_factory.QueryInterface(iid, out);
}

STDAPI DllCanUnloadNow() { return h5::ServerInUse() ? S_FALSE : S_OK; }

STDAPI DllRegisterServer() { return h5::RegisterServer(); }

STDAPI DllUnregisterServer() { return h5::UnregisterServer(); }

}  // extern "C"
