// h5kakei-menu.exe on Windows: a small window that hosts the tile as a page
// of the suite's menu would, through the ActiveX container window of ATL
// ("AtlAxWin" from atl.dll) created with the control's ProgID. The control
// must be registered (regsvr32 H5Kakei.ocx).
#include <windows.h>

#include <ole2.h>

namespace {

constexpr wchar_t kTitle[] = L"H5Kakei 家計診断";
constexpr wchar_t kProgId[] = L"H5Kakei.frmKakei";
constexpr int kMargin = 12;

using AtlAxWinInitFunction = BOOL(WINAPI*)();
using AtlAxGetControlFunction = HRESULT(WINAPI*)(HWND, IUnknown**);

LRESULT CALLBACK FrameProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  if (message == WM_DESTROY) {
    PostQuitMessage(0);
    return 0;
  }
  return DefWindowProcW(window, message, wparam, lparam);
}

int Fail(const wchar_t* text) {
  MessageBoxW(nullptr, text, kTitle, MB_OK | MB_ICONERROR);
  return 1;
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int show) {
  if (FAILED(OleInitialize(nullptr))) return Fail(L"OLE could not be started.");
  HMODULE atl = LoadLibraryW(L"atl.dll");
  auto init = atl ? reinterpret_cast<AtlAxWinInitFunction>(
                        reinterpret_cast<void*>(GetProcAddress(atl, "AtlAxWinInit")))
                  : nullptr;
  auto get_control = atl ? reinterpret_cast<AtlAxGetControlFunction>(
                               reinterpret_cast<void*>(GetProcAddress(atl, "AtlAxGetControl")))
                         : nullptr;
  if (!init || !get_control || !init()) {
    return Fail(L"atl.dll, which hosts the tile, is missing on this system.");
  }

  WNDCLASSW frame_class = {};
  frame_class.lpfnWndProc = FrameProc;
  frame_class.hInstance = instance;
  frame_class.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
  frame_class.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  frame_class.lpszClassName = L"H5KakeiMenu";
  RegisterClassW(&frame_class);

  // The tile is 119 x 113 pixels at any density; the frame leaves a margin.
  RECT frame = {0, 0, 119 + 2 * kMargin, 113 + 2 * kMargin};
  const DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
  AdjustWindowRect(&frame, style, FALSE);
  HWND window = CreateWindowW(L"H5KakeiMenu", kTitle, style, CW_USEDEFAULT, CW_USEDEFAULT,
                              frame.right - frame.left, frame.bottom - frame.top, nullptr, nullptr,
                              instance, nullptr);
  if (!window) return Fail(L"The window could not be created.");
  // The container creates the control, which diagnoses the book before it
  // appears.
  HWND host = CreateWindowW(L"AtlAxWin", kProgId, WS_CHILD | WS_VISIBLE, kMargin, kMargin, 119, 113,
                            window, nullptr, instance, nullptr);
  IUnknown* control = nullptr;
  if (!host || FAILED(get_control(host, &control)) || !control) {
    DestroyWindow(window);
    return Fail(
        L"The tile H5Kakei.frmKakei is not registered. Register it with\r\n"
        L"regsvr32 H5Kakei.ocx\r\nfrom the folder that holds it, then start again.");
  }
  control->Release();
  ShowWindow(window, show);
  UpdateWindow(window);

  MSG message;
  while (GetMessageW(&message, nullptr, 0, 0) > 0) {
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
  OleUninitialize();
  return 0;
}
