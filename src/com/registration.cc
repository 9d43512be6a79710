#include "com/registration.h"

#include <olectl.h>

#include <string>

#include "com/h5kakei.h"
#include "com/server.h"
#include "win32/resource_ids.h"

namespace h5 {
namespace {

std::wstring GuidText(REFGUID guid) {
  wchar_t text[40] = {};
  StringFromGUID2(guid, text, 40);
  return text;
}

std::wstring ClassKey() { return L"CLSID\\" + GuidText(CLSID_frmKakei); }

// Writes HKCR\key's value name (the default value when name is null).
LSTATUS SetText(const std::wstring& key, const wchar_t* name, const std::wstring& value) {
  HKEY handle = nullptr;
  LSTATUS status = RegCreateKeyExW(HKEY_CLASSES_ROOT, key.c_str(), 0, nullptr, 0, KEY_SET_VALUE,
                                   nullptr, &handle, nullptr);
  if (status != ERROR_SUCCESS) return status;
  status = RegSetValueExW(handle, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                          static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
  RegCloseKey(handle);
  return status;
}

LSTATUS DeleteTree(const std::wstring& key) {
  LSTATUS status = RegDeleteTreeW(HKEY_CLASSES_ROOT, key.c_str());
  if (status == ERROR_SUCCESS) status = RegDeleteKeyW(HKEY_CLASSES_ROOT, key.c_str());
  return status == ERROR_FILE_NOT_FOUND ? ERROR_SUCCESS : status;
}

LSTATUS WriteClassKeys() {
  const std::wstring key = ClassKey(), path = ServerPath();
  const std::wstring misc = std::to_wstring(kMiscStatus);
  struct Value {
    std::wstring key;
    const wchar_t* name;
    std::wstring value;
  };
  const Value values[] = {
      {key, nullptr, L"frmKakei"},
      {key + L"\\InprocServer32", nullptr, path},
      {key + L"\\InprocServer32", L"ThreadingModel", L"Apartment"},
      {key + L"\\ProgID", nullptr, kProgId},
      {key + L"\\Control", nullptr, L""},
      {key + L"\\MiscStatus", nullptr, misc},
      {key + L"\\MiscStatus\\1", nullptr, misc},
      {key + L"\\ToolboxBitmap32", nullptr, path + L", " + std::to_wstring(H5_IDB_TOOLBOX)},
      {key + L"\\TypeLib", nullptr, GuidText(LIBID_H5Kakei)},
      {key + L"\\Version", nullptr, L"1.0"},
      {kProgId, nullptr, L"frmKakei"},
      {std::wstring(kProgId) + L"\\CLSID", nullptr, GuidText(CLSID_frmKakei)},
  };
  for (const Value& v : values) {
    LSTATUS status = SetText(v.key, v.name, v.value);
    if (status != ERROR_SUCCESS) return status;
  }
  return ERROR_SUCCESS;
}

LSTATUS DeleteClassKeys() {
  LSTATUS a = DeleteTree(ClassKey());
  LSTATUS b = DeleteTree(kProgId);
  return a != ERROR_SUCCESS ? a : b;
}

HRESULT UnregisterTypeLibrary() {
  HRESULT hr = UnRegisterTypeLib(LIBID_H5Kakei, 1, 0, LOCALE_NEUTRAL,
                                 sizeof(void*) == 8 ? SYS_WIN64 : SYS_WIN32);
  // Not registered is not an error when undoing.
  return hr == TYPE_E_REGISTRYACCESS || hr == TYPE_E_CANTLOADLIBRARY ? S_OK : hr;
}

}  // namespace

HRESULT RegisterServer() {
  if (WriteClassKeys() != ERROR_SUCCESS) {
    DeleteClassKeys();
    return SELFREG_E_CLASS;
  }
  ITypeLib* library = nullptr;
  HRESULT hr = LoadTypeLibEx(ServerPath().c_str(), REGKIND_REGISTER, &library);
  if (FAILED(hr)) {
    DeleteClassKeys();
    return SELFREG_E_TYPELIB;
  }
  library->Release();
  return S_OK;
}

HRESULT UnregisterServer() {
  HRESULT library = UnregisterTypeLibrary();
  if (DeleteClassKeys() != ERROR_SUCCESS) return SELFREG_E_CLASS;
  return FAILED(library) ? SELFREG_E_TYPELIB : S_OK;
}

}  // namespace h5
