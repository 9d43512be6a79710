#include "win32/tile_window.h"

#include <commctrl.h>
#include <windowsx.h>

#include <algorithm>
#include <cmath>

#include "win32/resource_ids.h"

namespace h5 {
namespace {

// One class for the tile and both children: they paint and click alike.
constexpr wchar_t kWindowClass[] = L"H5KakeiTilePart";

std::wstring Wide(const std::string& text) {
  if (text.empty()) return {};
  const int size = static_cast<int>(text.size());
  std::wstring wide(
      static_cast<size_t>(MultiByteToWideChar(CP_UTF8, 0, text.data(), size, nullptr, 0)), L'\0');
  MultiByteToWideChar(CP_UTF8, 0, text.data(), size, wide.data(), static_cast<int>(wide.size()));
  return wide;
}

int CALLBACK NoteFontFound(const LOGFONTW*, const TEXTMETRICW*, DWORD, LPARAM found) {
  *reinterpret_cast<bool*>(found) = true;
  return 0;
}

// The first of the caption's faces the system has; the first one when none.
const wchar_t* CaptionFace() {
  static const wchar_t* face = [] {
    const wchar_t* faces[] = {L"ＭＳ ゴシック", L"MS Gothic", L"IPAGothic", L"IPAexGothic",
                              L"Noto Sans CJK JP"};
    HDC screen = GetDC(nullptr);
    const wchar_t* chosen = faces[0];
    for (const wchar_t* candidate : faces) {
      LOGFONTW query{};
      query.lfCharSet = DEFAULT_CHARSET;
      lstrcpynW(query.lfFaceName, candidate, LF_FACESIZE);
      bool found = false;
      EnumFontFamiliesExW(screen, &query, NoteFontFound, reinterpret_cast<LPARAM>(&found), 0);
      if (found) {
        chosen = candidate;
        break;
      }
    }
    ReleaseDC(nullptr, screen);
    return chosen;
  }();
  return face;
}

bool RegisterWindowClass(HINSTANCE module, WNDPROC proc) {
  WNDCLASSEXW info{};
  if (GetClassInfoExW(module, kWindowClass, &info)) return true;
  info.cbSize = sizeof(info);
  info.lpfnWndProc = proc;
  info.hInstance = module;
  info.hCursor = LoadCursorW(module, MAKEINTRESOURCEW(H5_IDC_HAND));
  info.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
  info.lpszClassName = kWindowClass;
  return RegisterClassExW(&info) != 0;
}

RECT Offset(RECT rect, POINT by) {
  OffsetRect(&rect, by.x, by.y);
  return rect;
}

}  // namespace

void UnregisterTileWindowClass(HINSTANCE module) { UnregisterClassW(kWindowClass, module); }

TileWindow::TileWindow(HINSTANCE module, float twips_per_pixel)
    : module_(module), twips_per_pixel_(twips_per_pixel > 0 ? twips_per_pixel : 15.0f) {
  cursor_ = LoadCursorW(module_, MAKEINTRESOURCEW(H5_IDC_HAND));
  UpdateFont();
}

TileWindow::~TileWindow() {
  Destroy();
  if (bitmap_) DeleteObject(bitmap_);
  if (font_) DeleteObject(font_);
}

void TileWindow::SetClickHandler(std::function<void()> handler) { on_click_ = std::move(handler); }

bool TileWindow::Create(HWND parent, const RECT& rect) {
  const int width = rect.right - rect.left, height = rect.bottom - rect.top;
  if (window_) return MoveWindow(window_, rect.left, rect.top, width, height, TRUE) != 0;
  if (!RegisterWindowClass(module_, &TileWindow::WindowProc)) return false;
  INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_BAR_CLASSES};
  InitCommonControlsEx(&controls);

  window_ = CreateWindowExW(0, kWindowClass, L"", WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN,
                            rect.left, rect.top, width, height, parent, nullptr, module_, this);
  if (!window_) return false;
  auto child = [this](const TwipsRect& layout, bool visible, int id) {
    const RECT r = ToPixels(layout);
    return CreateWindowExW(0, kWindowClass, L"",
                           WS_CHILD | WS_CLIPSIBLINGS | (visible ? WS_VISIBLE : 0), r.left, r.top,
                           r.right - r.left, r.bottom - r.top, window_,
                           reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), module_, this);
  };
  picture_ = child(picture_rect_, true, kPictureId);
  label_ = child(label_rect_, label_visible_, kLabelId);
  if (!picture_ || !label_) {
    Destroy();
    return false;
  }
  // The label lies above the picture.
  SetWindowPos(label_, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  SetWindowTextW(label_, Wide(caption_).c_str());

  tooltip_ = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr,
                             WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX, CW_USEDEFAULT, CW_USEDEFAULT,
                             CW_USEDEFAULT, CW_USEDEFAULT, window_, nullptr, module_, nullptr);
  if (tooltip_) {
    // Wide enough for a few words a line: the invitation is long.
    SendMessageW(tooltip_, TTM_SETMAXTIPWIDTH, 0, 240);
    SetToolTip(picture_, picture_tooltip_, TTM_ADDTOOLW);
    SetToolTip(label_, label_tooltip_, TTM_ADDTOOLW);
  }
  return true;
}

void TileWindow::Destroy() {
  // The children and the tooltip (owned by the tile) go with it.
  if (window_) DestroyWindow(window_);
  window_ = picture_ = label_ = tooltip_ = nullptr;
  pressed_ = nullptr;
}

SIZE TileWindow::PixelSize() const {
  const RECT r = ToPixels(TwipsRect{0, 0, control_width_, control_height_});
  return SIZE{r.right, r.bottom};
}

void TileWindow::Draw(HDC dc, const RECT& bounds) const {
  // Painted at the tile's own size first: the container's rectangle may be in
  // other units or another size.
  const SIZE size = PixelSize();
  BITMAPINFO info{};
  info.bmiHeader = {sizeof(BITMAPINFOHEADER), size.cx, -size.cy, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
  void* bits = nullptr;
  HDC memory = CreateCompatibleDC(nullptr);
  HBITMAP canvas = CreateDIBSection(memory, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  if (memory && canvas) {
    HGDIOBJ old = SelectObject(memory, canvas);
    PaintTile(memory, POINT{0, 0});
    SetStretchBltMode(dc, COLORONCOLOR);
    StretchBlt(dc, bounds.left, bounds.top, bounds.right - bounds.left, bounds.bottom - bounds.top,
               memory, 0, 0, size.cx, size.cy, SRCCOPY);
    SelectObject(memory, old);
  }
  if (canvas) DeleteObject(canvas);
  if (memory) DeleteDC(memory);
}

void TileWindow::SetPicture(int16_t picture) {
  picture_number_ = picture;
  if (bitmap_) DeleteObject(bitmap_);
  bitmap_ = nullptr;
  if (picture >= 1 && picture <= 6) {
    bitmap_ =
        static_cast<HBITMAP>(LoadImageW(module_, MAKEINTRESOURCEW(H5_IDB_KEKKA1 + picture - 1),
                                        IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
  }
  Repaint();
}

void TileWindow::SetCaption(const std::string& caption) {
  caption_ = caption;
  if (label_) SetWindowTextW(label_, Wide(caption_).c_str());
  Repaint();
}

void TileWindow::SetLabelVisible(bool visible) {
  label_visible_ = visible;
  if (label_) ShowWindow(label_, visible ? SW_SHOWNA : SW_HIDE);
  Repaint();
}

void TileWindow::SetPictureToolTip(const std::string& text) {
  picture_tooltip_ = text;
  SetToolTip(picture_, picture_tooltip_, TTM_UPDATETIPTEXTW);
}

void TileWindow::SetLabelToolTip(const std::string& text) {
  label_tooltip_ = text;
  SetToolTip(label_, label_tooltip_, TTM_UPDATETIPTEXTW);
}

void TileWindow::MovePicture(const TwipsRect& rect) {
  picture_rect_ = rect;
  Place(picture_, rect);
}

void TileWindow::SetPictureStretch(bool stretch) {
  stretch_ = stretch;
  Repaint();
}

void TileWindow::MoveLabel(const TwipsRect& rect) {
  label_rect_ = rect;
  Place(label_, rect);
}

void TileWindow::SetLabelFontSize(float points) {
  label_font_points_ = points;
  UpdateFont();
  Repaint();
}

void TileWindow::SetControlSize(float width, float height) {
  control_width_ = width;
  control_height_ = height;
  const SIZE size = PixelSize();
  if (window_) {
    SetWindowPos(window_, nullptr, 0, 0, size.cx, size.cy,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  }
}

RECT TileWindow::ToPixels(const TwipsRect& r) const {
  auto px = [this](float twips) { return static_cast<int>(std::lround(twips / twips_per_pixel_)); };
  const int left = px(r.left), top = px(r.top);
  return RECT{left, top, left + px(r.width), top + px(r.height)};
}

void TileWindow::Place(HWND window, const TwipsRect& rect) {
  if (!window) return;
  const RECT r = ToPixels(rect);
  MoveWindow(window, r.left, r.top, r.right - r.left, r.bottom - r.top, FALSE);
  Repaint();
}

void TileWindow::Repaint() {
  // The label shows the picture under its caption, so both change together.
  for (HWND window : {window_, picture_, label_}) {
    if (window) InvalidateRect(window, nullptr, FALSE);
  }
}

void TileWindow::UpdateFont() {
  if (font_) DeleteObject(font_);
  // Points to pixels at the screen's density (1440 twips an inch).
  const int height =
      -static_cast<int>(std::lround(label_font_points_ * 1440.0f / 72.0f / twips_per_pixel_));
  font_ = CreateFontW(height, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, SHIFTJIS_CHARSET,
                      OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                      FIXED_PITCH | FF_MODERN, CaptionFace());
}

void TileWindow::SetToolTip(HWND tool, const std::string& text, UINT message) {
  if (!tooltip_ || !tool) return;
  std::wstring wide = Wide(text);
  TTTOOLINFOW info{};
  // The older, shorter form: common controls 5 reject the longer one.
  info.cbSize = TTTOOLINFOW_V2_SIZE;
  info.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
  info.hwnd = window_;
  info.uId = reinterpret_cast<UINT_PTR>(tool);
  info.lpszText = wide.data();
  SendMessageW(tooltip_, message, 0, reinterpret_cast<LPARAM>(&info));
}

void TileWindow::PaintTile(HDC dc, POINT origin) const {
  const SIZE size = PixelSize();
  const RECT all{origin.x, origin.y, origin.x + size.cx, origin.y + size.cy};
  FillRect(dc, &all, GetSysColorBrush(COLOR_WINDOW));
  if (bitmap_) {
    BITMAP info{};
    GetObjectW(bitmap_, sizeof(info), &info);
    HDC memory = CreateCompatibleDC(dc);
    HGDIOBJ old = SelectObject(memory, bitmap_);
    const RECT r = Offset(ToPixels(picture_rect_), origin);
    const int width = r.right - r.left, height = r.bottom - r.top;
    if (stretch_) {
      SetStretchBltMode(dc, COLORONCOLOR);
      StretchBlt(dc, r.left, r.top, width, height, memory, 0, 0, info.bmWidth, info.bmHeight,
                 SRCCOPY);
    } else {  // pixel for pixel from the top left, cut at the picture's edge
      BitBlt(dc, r.left, r.top, std::min<int>(width, info.bmWidth),
             std::min<int>(height, info.bmHeight), memory, 0, 0, SRCCOPY);
    }
    SelectObject(memory, old);
    DeleteDC(memory);
  }
  if (label_visible_) DrawCaption(dc, Offset(ToPixels(label_rect_), origin));
}

void TileWindow::DrawCaption(HDC dc, const RECT& box) const {
  const std::wstring text = Wide(caption_);
  HGDIOBJ old = SelectObject(dc, font_);
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, RGB(0, 0, 0));
  TEXTMETRICW metrics{};
  GetTextMetricsW(dc, &metrics);
  const int width = box.right - box.left;
  // Centred lines broken between any two characters, as Japanese is written;
  // a space at a break is dropped.
  size_t start = 0;
  for (int top = box.top; start < text.size() && top < box.bottom; top += metrics.tmHeight) {
    if (start > 0 && text[start] == L' ') ++start;
    const int rest = static_cast<int>(text.size() - start);
    int fit = 0;
    SIZE extent{};
    GetTextExtentExPointW(dc, text.data() + start, rest, width, &fit, nullptr, &extent);
    fit = std::clamp(fit, 1, rest);
    GetTextExtentPoint32W(dc, text.data() + start, fit, &extent);
    const RECT line{box.left, top, box.right, std::min<LONG>(box.bottom, top + metrics.tmHeight)};
    ExtTextOutW(dc, box.left + (width - extent.cx) / 2, top, ETO_CLIPPED, &line,
                text.data() + start, static_cast<UINT>(fit), nullptr);
    start += static_cast<size_t>(fit);
  }
  SelectObject(dc, old);
}

POINT TileWindow::Origin(HWND window) const {
  // Where the tile's top left lies in window's client coordinates.
  POINT origin{0, 0};
  if (window != window_) MapWindowPoints(window_, window, &origin, 1);
  return origin;
}

LRESULT CALLBACK TileWindow::WindowProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  if (message == WM_NCCREATE) {
    auto* create = reinterpret_cast<CREATESTRUCTW*>(lparam);
    SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
  }
  auto* tile = reinterpret_cast<TileWindow*>(GetWindowLongPtrW(window, GWLP_USERDATA));
  if (!tile) return DefWindowProcW(window, message, wparam, lparam);
  if (message == WM_NCDESTROY) {
    SetWindowLongPtrW(window, GWLP_USERDATA, 0);
    if (window == tile->window_) tile->window_ = nullptr;
    if (window == tile->picture_) tile->picture_ = nullptr;
    if (window == tile->label_) tile->label_ = nullptr;
    return DefWindowProcW(window, message, wparam, lparam);
  }
  return tile->Handle(window, message, wparam, lparam);
}

LRESULT TileWindow::Handle(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  switch (message) {
    case WM_SETCURSOR:
      if (LOWORD(lparam) != HTCLIENT || !cursor_) break;
      SetCursor(cursor_);
      return TRUE;
    case WM_LBUTTONDOWN:
      pressed_ = window;
      SetCapture(window);
      return 0;
    case WM_LBUTTONUP: {
      // A click is a press and a release inside the same window.
      const bool pressed = pressed_ == window;
      pressed_ = nullptr;
      if (GetCapture() == window) ReleaseCapture();
      RECT client{};
      GetClientRect(window, &client);
      const POINT at{GET_X_LPARAM(lparam), GET_Y_LPARAM(lparam)};
      const bool shown = window != label_ || label_visible_;
      if (pressed && shown && PtInRect(&client, at) && on_click_) on_click_();
      return 0;
    }
    case WM_CAPTURECHANGED:
      if (reinterpret_cast<HWND>(lparam) != window) pressed_ = nullptr;
      return 0;
    case WM_ERASEBKGND:
      return 1;  // painted whole in WM_PAINT
    case WM_PAINT: {
      PAINTSTRUCT paint;
      HDC dc = BeginPaint(window, &paint);
      PaintTile(dc, Origin(window));
      EndPaint(window, &paint);
      return 0;
    }
    case WM_PRINTCLIENT:  // what WM_PRINT and PrintWindow ask for
      PaintTile(reinterpret_cast<HDC>(wparam), Origin(window));
      return 0;
    default:
      break;
  }
  return DefWindowProcW(window, message, wparam, lparam);
}

}  // namespace h5
