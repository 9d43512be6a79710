// H5Kakei.ocx as containers meet it: registered by regsvr32, described by its
// type library, created through CoCreateInstance and inside ATL's container
// window, clicked, and released. The books come from level_books.py, which
// scripts/test-windows.sh writes under C:\H5Levels before the suites run.
#include <windows.h>

#include <objsafe.h>
#include <ole2.h>
#include <olectl.h>

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <functional>
#include <optional>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include <commctrl.h>

#include "com/h5kakei.h"
#include "win32/resource_ids.h"
#include "win32/tile_window.h"

namespace h5 {
namespace {

namespace fs = std::filesystem;

constexpr wchar_t kInstallDir[] = L"C:\\H5Levels\\Hidamari5\\";
constexpr wchar_t kKakeiIni[] = L"C:\\H5Levels\\HdmData5\\kakeibo\\Kakei.ini";
constexpr int kWidth = 119, kHeight = 113;
const std::wstring kInvite =
    L"家計簿をつけてみませんか？予算設定している場合、現在の家計状況を診断します。クリックすると、"
    L"家計簿が起動します。";

std::wstring Wide(const std::string& utf8) {
  std::wstring text(utf8.size(), L'\0');
  text.resize(MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()),
                                  text.data(), static_cast<int>(text.size())));
  return text;
}

std::wstring OcxPath() {
  wchar_t full[MAX_PATH] = {};
  GetFullPathNameW(Wide(H5_OCX).c_str(), MAX_PATH, full, nullptr);
  return full;
}

std::wstring GuidText(REFGUID guid) {
  wchar_t text[40] = {};
  StringFromGUID2(guid, text, 40);
  return text;
}

DWORD Regsvr32(const std::wstring& options) {
  std::wstring line = L"regsvr32.exe /s " + options + L" \"" + OcxPath() + L"\"";
  STARTUPINFOW startup = {};
  startup.cb = sizeof(startup);
  PROCESS_INFORMATION process = {};
  if (!CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                      &process)) {
    return ~0u;
  }
  WaitForSingleObject(process.hProcess, 60000);
  DWORD code = ~0u;
  GetExitCodeProcess(process.hProcess, &code);
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  return code;
}

std::optional<std::wstring> ClassesValue(const std::wstring& key, const wchar_t* name) {
  wchar_t value[1024] = {};
  DWORD size = sizeof(value);
  if (RegGetValueW(HKEY_CLASSES_ROOT, key.c_str(), name, RRF_RT_REG_SZ, nullptr, value, &size) !=
      ERROR_SUCCESS) {
    return std::nullopt;
  }
  return std::wstring(value);
}

bool ClassesKeyExists(const std::wstring& key) {
  HKEY handle = nullptr;
  if (RegOpenKeyExW(HKEY_CLASSES_ROOT, key.c_str(), 0, KEY_READ, &handle) != ERROR_SUCCESS) {
    return false;
  }
  RegCloseKey(handle);
  return true;
}

HMODULE Ocx() { return GetModuleHandleW(L"H5Kakei.ocx"); }

HRESULT CanUnloadNow() {
  auto can_unload = reinterpret_cast<HRESULT(WINAPI*)()>(
      reinterpret_cast<void*>(GetProcAddress(Ocx(), "DllCanUnloadNow")));
  return can_unload ? can_unload() : E_FAIL;
}

using Pixels = std::vector<uint32_t>;

// Draws into a 32-bit top-down bitmap of the tile's size and returns it.
Pixels Capture(const std::function<void(HDC)>& draw) {
  BITMAPINFO info = {};
  info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  info.bmiHeader.biWidth = kWidth;
  info.bmiHeader.biHeight = -kHeight;  // top-down
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  HDC dc = CreateCompatibleDC(nullptr);
  HBITMAP bitmap = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  HGDIOBJ old = SelectObject(dc, bitmap);
  draw(dc);
  GdiFlush();
  const auto* first = static_cast<const uint32_t*>(bits);
  Pixels pixels(first, first + kWidth * kHeight);
  for (uint32_t& p : pixels) p &= 0xFFFFFF;
  SelectObject(dc, old);
  DeleteObject(bitmap);
  DeleteDC(dc);
  return pixels;
}

// Illustration n (1..6) of the control's own resources.
Pixels Illustration(int n) {
  HBITMAP bitmap = static_cast<HBITMAP>(
      LoadImageW(Ocx(), MAKEINTRESOURCEW(H5_IDB_KEKKA1 + n - 1), IMAGE_BITMAP, 0, 0, 0));
  Pixels pixels = Capture([&](HDC dc) {
    HDC source = CreateCompatibleDC(dc);
    HGDIOBJ old = SelectObject(source, bitmap);
    BitBlt(dc, 0, 0, kWidth, kHeight, source, 0, 0, SRCCOPY);
    SelectObject(source, old);
    DeleteDC(source);
  });
  DeleteObject(bitmap);
  return pixels;
}

// The illustration a capture shows exactly, or 0.
int PictureOf(const Pixels& pixels) {
  for (int n = 1; n <= 6; ++n) {
    if (pixels == Illustration(n)) return n;
  }
  return 0;
}

void SelectBook(int book) {
  WritePrivateProfileStringW(L"賞味期限", L"家計簿", std::to_wstring(book).c_str(), kKakeiIni);
}

// Runs body on a new apartment thread, as a second host thread would.
void OnNewThread(const std::function<void()>& body) {
  std::thread thread([&] {
    ASSERT_TRUE(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)));
    body();
    CoUninitialize();
  });
  thread.join();
}

void PumpMessages(int milliseconds) {
  const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(milliseconds);
  do {
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&message);
      DispatchMessageW(&message);
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  } while (std::chrono::steady_clock::now() < end);
}

std::string LaunchLog() {
  std::ifstream in(fs::path(std::wstring(kInstallDir) + L"launch.log"), std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

// The lines the stand-in menu program logged, waiting up to 10 s for count.
int LaunchesLogged(int count) {
  for (int wait = 0; wait < 200; ++wait) {
    const std::string log = LaunchLog();
    int lines = 0;
    for (char c : log) lines += c == '\n';
    if (lines >= count) return lines;
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
  }
  return -1;
}

class ComEnvironment : public testing::Environment {
 public:
  void SetUp() override {
    ASSERT_NE(GetFileAttributesW(L"C:\\H5Levels\\HdmData5\\kakeibo\\kakeibo1"),
              INVALID_FILE_ATTRIBUTES)
        << "the level books are missing: run the suite through scripts/test-windows.sh";
    HKEY key = nullptr;
    ASSERT_EQ(RegCreateKeyExW(HKEY_LOCAL_MACHINE, L"SOFTWARE\\SORAHATO\\ひだまり家庭帳５", 0,
                              nullptr, 0, KEY_SET_VALUE | KEY_WOW64_32KEY, nullptr, &key, nullptr),
              ERROR_SUCCESS);
    const std::wstring path = kInstallDir;
    RegSetValueExW(key, L"Path", 0, REG_SZ, reinterpret_cast<const BYTE*>(path.c_str()),
                   static_cast<DWORD>((path.size() + 1) * sizeof(wchar_t)));
    RegCloseKey(key);
    fs::copy_file(H5_LAUNCH_LOG_EXE, std::wstring(kInstallDir) + L"HdmMenu5.exe",
                  fs::copy_options::overwrite_existing);
    ASSERT_EQ(Regsvr32(L""), 0u);
  }
  void TearDown() override { Regsvr32(L"/u"); }
};

testing::Environment* const com_environment = testing::AddGlobalTestEnvironment(new ComEnvironment);

TEST(RegistrationTest, WritesTheClassAndTheTypeLibraryAndTakesThemAway) {
  const std::wstring clsid = L"CLSID\\" + GuidText(CLSID_frmKakei);
  const std::wstring ocx = OcxPath();
  const struct {
    std::wstring key;
    const wchar_t* name;
    std::wstring value;
  } values[] = {
      {clsid, nullptr, L"frmKakei"},
      {clsid + L"\\InprocServer32", nullptr, ocx},
      {clsid + L"\\InprocServer32", L"ThreadingModel", L"Apartment"},
      {clsid + L"\\ProgID", nullptr, L"H5Kakei.frmKakei"},
      {clsid + L"\\Control", nullptr, L""},
      {clsid + L"\\MiscStatus", nullptr, L"131473"},
      {clsid + L"\\MiscStatus\\1", nullptr, L"131473"},
      {clsid + L"\\ToolboxBitmap32", nullptr, ocx + L", 30000"},
      {clsid + L"\\TypeLib", nullptr, GuidText(LIBID_H5Kakei)},
      {clsid + L"\\Version", nullptr, L"1.0"},
      {L"H5Kakei.frmKakei\\CLSID", nullptr, GuidText(CLSID_frmKakei)},
  };
  for (const auto& v : values) {
    EXPECT_EQ(ClassesValue(v.key, v.name).value_or(L"(missing)"), v.value) << v.key.c_str();
  }

  ITypeLib* library = nullptr;
  ASSERT_EQ(LoadRegTypeLib(LIBID_H5Kakei, 1, 0, 0, &library), S_OK);
  ITypeInfo* info = nullptr;
  TYPEATTR* attr = nullptr;
  ASSERT_EQ(library->GetTypeInfoOfGuid(CLSID_frmKakei, &info), S_OK);
  ASSERT_EQ(info->GetTypeAttr(&attr), S_OK);
  EXPECT_EQ(attr->typekind, TKIND_COCLASS);
  EXPECT_TRUE(attr->wTypeFlags & TYPEFLAG_FCONTROL);
  EXPECT_EQ(attr->cImplTypes, 2);
  info->ReleaseTypeAttr(attr);
  const struct {
    UINT index;
    int flags;
    const wchar_t* name;
  } implemented[] = {{0, IMPLTYPEFLAG_FDEFAULT, L"_frmKakei"},
                     {1, IMPLTYPEFLAG_FDEFAULT | IMPLTYPEFLAG_FSOURCE, L"__frmKakei"}};
  for (const auto& i : implemented) {
    int flags = 0;
    HREFTYPE ref = 0;
    ITypeInfo* interface_info = nullptr;
    BSTR name = nullptr;
    ASSERT_EQ(info->GetImplTypeFlags(i.index, &flags), S_OK);
    EXPECT_EQ(flags, i.flags);
    ASSERT_EQ(info->GetRefTypeOfImplType(i.index, &ref), S_OK);
    ASSERT_EQ(info->GetRefTypeInfo(ref, &interface_info), S_OK);
    ASSERT_EQ(interface_info->GetDocumentation(MEMBERID_NIL, &name, nullptr, nullptr, nullptr),
              S_OK);
    EXPECT_STREQ(name, i.name);
    SysFreeString(name);
    // Neither declares anything of its own: a dispinterface lists only what
    // it adds, a dual interface's own view counts only its own methods.
    ASSERT_EQ(interface_info->GetTypeAttr(&attr), S_OK);
    EXPECT_EQ(attr->typekind, TKIND_DISPATCH);
    const bool dual = attr->wTypeFlags & TYPEFLAG_FDUAL;
    EXPECT_EQ(dual, i.index == 0);
    EXPECT_EQ(attr->cVars, 0);
    if (!dual) {
      EXPECT_EQ(attr->cFuncs, 0);
    }
    interface_info->ReleaseTypeAttr(attr);
    if (dual) {
      ITypeInfo* own = nullptr;
      ASSERT_EQ(interface_info->GetRefTypeOfImplType(-1, &ref), S_OK);
      ASSERT_EQ(interface_info->GetRefTypeInfo(ref, &own), S_OK);
      ASSERT_EQ(own->GetTypeAttr(&attr), S_OK);
      EXPECT_EQ(attr->typekind, TKIND_INTERFACE);
      EXPECT_EQ(attr->cFuncs, 0);
      own->ReleaseTypeAttr(attr);
      own->Release();
    }
    interface_info->Release();
  }
  info->Release();
  library->Release();

  ASSERT_EQ(Regsvr32(L"/u"), 0u);
  for (const std::wstring& key :
       {clsid, std::wstring(L"H5Kakei.frmKakei"), L"TypeLib\\" + GuidText(LIBID_H5Kakei),
        L"Interface\\" + GuidText(IID__frmKakei), L"Interface\\" + GuidText(DIID___frmKakei)}) {
    EXPECT_FALSE(ClassesKeyExists(key)) << key.c_str();
  }
  ASSERT_EQ(Regsvr32(L""), 0u);
}

TEST(ResourcesTest, CarryTheToolboxBitmapAndTheVersion) {
  HMODULE file = LoadLibraryExW(OcxPath().c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
  ASSERT_NE(file, nullptr);
  HRSRC found = FindResourceW(file, MAKEINTRESOURCEW(H5_IDB_TOOLBOX), MAKEINTRESOURCEW(2));
  ASSERT_NE(found, nullptr);
  const auto* bitmap =
      static_cast<const BITMAPINFOHEADER*>(LockResource(LoadResource(file, found)));
  EXPECT_EQ(bitmap->biWidth, 16);
  EXPECT_EQ(bitmap->biHeight, 15);
  EXPECT_EQ(bitmap->biBitCount, 4);
  FreeLibrary(file);

  std::vector<char> version(GetFileVersionInfoSizeW(OcxPath().c_str(), nullptr));
  ASSERT_FALSE(version.empty());
  ASSERT_TRUE(GetFileVersionInfoW(OcxPath().c_str(), 0, version.size(), version.data()));
  const std::pair<const wchar_t*, std::wstring> values[] = {
      {L"FileVersion", L"1.00.0003"},        {L"ProductVersion", L"1.00.0003"},
      {L"ProductName", L"H5Kakei"},          {L"InternalName", L"H5Kakei"},
      {L"OriginalFilename", L"H5Kakei.ocx"}, {L"OLESelfRegister", L""}};
  for (const auto& [name, expected] : values) {
    wchar_t* value = nullptr;
    UINT length = 0;
    const std::wstring path = std::wstring(L"\\StringFileInfo\\041103a4\\") + name;
    ASSERT_TRUE(
        VerQueryValueW(version.data(), path.c_str(), reinterpret_cast<void**>(&value), &length))
        << name;
    EXPECT_EQ(std::wstring(value), expected) << name;
  }
}

template <typename Interface>
Interface* Query(IUnknown* object, REFIID iid) {
  Interface* found = nullptr;
  EXPECT_EQ(object->QueryInterface(iid, reinterpret_cast<void**>(&found)), S_OK);
  return found;
}

// No members, no events, no state: what a container or script may try.
void ExpectNothingToScriptOrKeep(IOleObject* control) {
  auto* dispatch = Query<IDispatch>(control, IID__frmKakei);
  wchar_t name[] = L"Caption";
  LPOLESTR names[] = {name};
  DISPID id = 0;
  EXPECT_EQ(dispatch->GetIDsOfNames(IID_NULL, names, 1, 0, &id), DISP_E_UNKNOWNNAME);
  dispatch->Release();

  auto* points = Query<IConnectionPointContainer>(control, IID_IConnectionPointContainer);
  IConnectionPoint* point = nullptr;
  EXPECT_EQ(points->FindConnectionPoint(IID_IDispatch, &point), CONNECT_E_NOCONNECTION);
  ASSERT_EQ(points->FindConnectionPoint(DIID___frmKakei, &point), S_OK);
  DWORD cookie = 0;
  EXPECT_EQ(point->Advise(control, &cookie), S_OK);
  EXPECT_EQ(point->Unadvise(cookie), S_OK);
  EXPECT_EQ(point->Unadvise(cookie), CONNECT_E_NOCONNECTION);
  point->Release();
  points->Release();

  auto* persist = Query<IPersistStreamInit>(control, IID_IPersistStreamInit);
  ULARGE_INTEGER size = {};
  EXPECT_EQ(persist->IsDirty(), S_FALSE);
  EXPECT_EQ(persist->GetSizeMax(&size), S_OK);
  EXPECT_EQ(size.QuadPart, 0u);
  persist->Release();

  auto* safety = Query<IObjectSafety>(control, IID_IObjectSafety);
  const DWORD both = INTERFACESAFE_FOR_UNTRUSTED_CALLER | INTERFACESAFE_FOR_UNTRUSTED_DATA;
  DWORD supported = 0, enabled = 0;
  EXPECT_EQ(safety->SetInterfaceSafetyOptions(IID_IDispatch, both, both), S_OK);
  EXPECT_EQ(safety->GetInterfaceSafetyOptions(IID_IDispatch, &supported, &enabled), S_OK);
  EXPECT_EQ(supported, both);
  EXPECT_EQ(enabled, both);
  safety->Release();

  auto* class_info = Query<IProvideClassInfo>(control, IID_IProvideClassInfo);
  ITypeInfo* info = nullptr;
  TYPEATTR* attr = nullptr;
  ASSERT_EQ(class_info->GetClassInfo(&info), S_OK);
  ASSERT_EQ(info->GetTypeAttr(&attr), S_OK);
  EXPECT_EQ(attr->guid, CLSID_frmKakei);
  info->ReleaseTypeAttr(attr);
  info->Release();
  class_info->Release();
}

TEST(CreateInstanceTest, OffersTheControlInterfacesAndDrawsEachGrade) {
  const IID interfaces[] = {IID_IDispatch,          IID__frmKakei,
                            IID_IOleInPlaceObject,  IID_IOleInPlaceActiveObject,
                            IID_IOleControl,        IID_IViewObject2,
                            IID_IPersistStreamInit, IID_IPersistPropertyBag,
                            IID_IProvideClassInfo,  IID_IConnectionPointContainer,
                            IID_IObjectSafety};
  for (int level = 1; level <= 5; ++level) {
    SCOPED_TRACE(level);
    SelectBook(level);
    OnNewThread([&] {
      IOleObject* control = nullptr;
      ASSERT_EQ(CoCreateInstance(CLSID_frmKakei, nullptr, CLSCTX_INPROC_SERVER, IID_IOleObject,
                                 reinterpret_cast<void**>(&control)),
                S_OK);
      for (const IID& iid : interfaces) {
        IUnknown* other = nullptr;
        EXPECT_EQ(control->QueryInterface(iid, reinterpret_cast<void**>(&other)), S_OK);
        if (other) other->Release();
      }
      SIZEL extent = {};
      EXPECT_EQ(control->GetExtent(DVASPECT_CONTENT, &extent), S_OK);
      EXPECT_EQ(extent.cx, 3149);  // 119 and 113 pixels at 96 dpi, in 0.01 mm
      EXPECT_EQ(extent.cy, 2990);
      DWORD status = 0;
      EXPECT_EQ(control->GetMiscStatus(DVASPECT_CONTENT, &status), S_OK);
      EXPECT_EQ(status, 0x20191u);
      if (level == 1) ExpectNothingToScriptOrKeep(control);
      IViewObject* view = nullptr;
      ASSERT_EQ(control->QueryInterface(IID_IViewObject, reinterpret_cast<void**>(&view)), S_OK);
      const RECTL bounds = {0, 0, kWidth, kHeight};
      const Pixels drawn = Capture([&](HDC dc) {
        view->Draw(DVASPECT_CONTENT, -1, nullptr, nullptr, nullptr, dc, &bounds, nullptr, nullptr,
                   0);
      });
      EXPECT_EQ(PictureOf(drawn), 7 - level);
      view->Release();
      EXPECT_EQ(CanUnloadNow(), S_FALSE);
      EXPECT_EQ(control->Release(), 0u);
      EXPECT_EQ(CanUnloadNow(), S_OK);
    });
  }
}

// A page of the menu: a window holding ATL's container window, which creates
// the control from its ProgID. Everything lives on the calling thread.
class AtlPage {
 public:
  AtlPage() {
    HMODULE atl = LoadLibraryW(L"atl.dll");
    auto init = reinterpret_cast<BOOL(WINAPI*)()>(
        reinterpret_cast<void*>(GetProcAddress(atl, "AtlAxWinInit")));
    get_control_ = reinterpret_cast<HRESULT(WINAPI*)(HWND, IUnknown**)>(
        reinterpret_cast<void*>(GetProcAddress(atl, "AtlAxGetControl")));
    // Registers the class once per process; later calls fail and need not.
    if (!init || !get_control_) return;
    init();
    page_ = CreateWindowW(L"STATIC", L"menu", WS_POPUP | WS_VISIBLE, 0, 0, 300, 200, nullptr,
                          nullptr, nullptr, nullptr);
    host_ = CreateWindowW(L"AtlAxWin", L"H5Kakei.frmKakei", WS_CHILD | WS_VISIBLE, 10, 10, kWidth,
                          kHeight, page_, nullptr, nullptr, nullptr);
    PumpMessages(100);
  }
  ~AtlPage() { Close(); }
  // Destroys the page: the container lets go of the control.
  void Close() {
    if (page_) DestroyWindow(page_);
    page_ = host_ = nullptr;
    PumpMessages(50);
  }
  AtlPage(const AtlPage&) = delete;
  AtlPage& operator=(const AtlPage&) = delete;

  bool HasControl() {
    IUnknown* control = nullptr;
    if (!host_ || FAILED(get_control_(host_, &control)) || !control) return false;
    control->Release();
    return true;
  }
  HWND tile() const { return GetWindow(host_, GW_CHILD); }
  HWND picture() const { return GetDlgItem(tile(), TileWindow::kPictureId); }
  HWND label() const { return GetDlgItem(tile(), TileWindow::kLabelId); }

 private:
  HRESULT(WINAPI* get_control_)(HWND, IUnknown**) = nullptr;
  HWND page_ = nullptr, host_ = nullptr;
};

std::wstring Text(HWND window) {
  wchar_t text[512] = {};
  GetWindowTextW(window, text, 512);
  return text;
}

// The tooltip text the thread's tooltip windows hold for window.
std::wstring ToolTipOf(HWND window) {
  std::wstring found;
  struct Search {
    HWND window;
    std::wstring* found;
  } search{window, &found};
  EnumThreadWindows(
      GetCurrentThreadId(),
      [](HWND tip, LPARAM param) -> BOOL {
        auto* s = reinterpret_cast<Search*>(param);
        wchar_t name[64] = {};
        GetClassNameW(tip, name, 64);
        if (std::wstring(name) != TOOLTIPS_CLASSW) return TRUE;
        wchar_t text[512] = {};
        TTTOOLINFOW tool = {};
        tool.cbSize = sizeof(tool);
        for (int i = 0; SendMessageW(tip, TTM_ENUMTOOLSW, i, reinterpret_cast<LPARAM>(&tool));
             ++i) {
          if (reinterpret_cast<HWND>(tool.uId) != s->window) continue;
          tool.lpszText = text;
          SendMessageW(tip, TTM_GETTEXTW, 512, reinterpret_cast<LPARAM>(&tool));
          *s->found = text;
          return FALSE;
        }
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&search));
  return found;
}

void ClickOn(HWND window) {
  PostMessageW(window, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(20, 20));
  PostMessageW(window, WM_LBUTTONUP, 0, MAKELPARAM(20, 20));
  PumpMessages(50);
}

TEST(AtlContainerTest, ShowsEveryLevelInPlaceAndLaunchesOncePerClick) {
  const std::wstring no_budget = L"今月は予算が設定されていません";
  const std::wstring invite_caption =
      L"予算をたてて家計簿をつけると、かわいい イラストで家計を診断します! ";
  struct Case {
    int level;
    int picture;
    std::wstring caption;  // empty: the label is hidden
    std::wstring tooltip;
  };
  const Case cases[] = {{0, 1, invite_caption, kInvite}, {1, 6, L"", L"家計診断"},
                        {2, 5, L"", L"家計診断"},        {3, 4, L"", L"家計診断"},
                        {4, 3, L"", L"家計診断"},        {5, 2, L"", L"家計診断"},
                        {6, 1, no_budget, kInvite},      {7, 1, invite_caption, kInvite}};
  DeleteFileW((std::wstring(kInstallDir) + L"launch.log").c_str());
  int clicks = 0;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.level);
    SelectBook(c.level);
    OnNewThread([&] {
      AtlPage page;
      ASSERT_TRUE(page.HasControl());
      RECT rect = {};
      GetWindowRect(page.tile(), &rect);
      EXPECT_EQ(rect.right - rect.left, kWidth);
      EXPECT_EQ(rect.bottom - rect.top, kHeight);
      const Pixels shown = Capture([&](HDC dc) { PrintWindow(page.tile(), dc, 0); });
      const bool graded = c.caption.empty();
      if (graded) {
        EXPECT_EQ(PictureOf(shown), c.picture);
      } else {
        EXPECT_EQ(Text(page.label()), c.caption);
      }
      EXPECT_EQ(IsWindowVisible(page.label()) != FALSE, !graded);
      EXPECT_EQ(ToolTipOf(page.picture()), c.tooltip);
      EXPECT_EQ(ToolTipOf(page.label()), c.tooltip);
      if (c.level == 5 || c.level == 6) {
        ClickOn(page.picture());
        if (!graded) ClickOn(page.label());
        clicks += graded ? 1 : 2;
      }
      page.Close();
      EXPECT_EQ(CanUnloadNow(), S_OK);
    });
  }
  ASSERT_EQ(LaunchesLogged(clicks), clicks);
  wchar_t folder[MAX_PATH] = {};
  wcscpy_s(folder, OcxPath().c_str());
  *wcsrchr(folder, L'\\') = L'\0';
  int folder_length = WideCharToMultiByte(CP_ACP, 0, folder, -1, nullptr, 0, nullptr, nullptr);
  std::string ansi_folder(folder_length - 1, '\0');
  WideCharToMultiByte(CP_ACP, 0, folder, -1, ansi_folder.data(), folder_length, nullptr, nullptr);
  std::string expected;
  for (int i = 0; i < clicks; ++i) expected += "4,1\t" + ansi_folder + "\n";
  EXPECT_EQ(LaunchLog(), expected);
}

TEST(ThreadsTest, EachThreadStartsItsOwnCopyOnce) {
  auto picture_of_new_control = [] {
    IViewObject* view = nullptr;
    EXPECT_EQ(CoCreateInstance(CLSID_frmKakei, nullptr, CLSCTX_INPROC_SERVER, IID_IViewObject,
                               reinterpret_cast<void**>(&view)),
              S_OK);
    if (!view) return -1;
    const RECTL bounds = {0, 0, kWidth, kHeight};
    const int picture = PictureOf(Capture([&](HDC dc) {
      view->Draw(DVASPECT_CONTENT, -1, nullptr, nullptr, nullptr, dc, &bounds, nullptr, nullptr, 0);
    }));
    view->Release();
    return picture;
  };
  SelectBook(1);
  OnNewThread([&] {
    EXPECT_EQ(picture_of_new_control(), 6);
    // Start-up ran once in this thread: its book stays the one it found.
    SelectBook(5);
    EXPECT_EQ(picture_of_new_control(), 6);
    OnNewThread([&] { EXPECT_EQ(picture_of_new_control(), 2); });
    EXPECT_EQ(picture_of_new_control(), 6);
    EXPECT_EQ(CanUnloadNow(), S_OK);
  });
}

}  // namespace
}  // namespace h5
