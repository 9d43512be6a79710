// What DllRegisterServer writes under HKEY_CLASSES_ROOT, and its undoing.
#ifndef H5KAKEI_COM_REGISTRATION_H_
#define H5KAKEI_COM_REGISTRATION_H_

#include <windows.h>

namespace h5 {

// The class under CLSID\{...} (name, InprocServer32 with the apartment
// model, ProgID, Control, MiscStatus, ToolboxBitmap32, TypeLib, Version),
// the ProgID key, and the type library. On failure what was written is
// removed again and the HRESULT says which part failed
// (SELFREG_E_CLASS, SELFREG_E_TYPELIB).
HRESULT RegisterServer();
// Removes exactly those keys and the type library's registration; S_OK
// when they were not there.
HRESULT UnregisterServer();

// The control's OLE status bits: recompose on resize, can't link inside,
// inside out, activate when visible, set client site first.
constexpr DWORD kMiscStatus = 0x20191;
constexpr wchar_t kProgId[] = L"H5Kakei.frmKakei";

}  // namespace h5

#endif  // H5KAKEI_COM_REGISTRATION_H_
