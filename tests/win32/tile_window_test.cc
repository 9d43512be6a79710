// The tile's Win32 face: each level's picture pixel for pixel at two screen
// densities, caption, tooltips, the hand cursor and clicks.
#include "win32/tile_window.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include <array>
#include <memory>
#include <vector>

#include "book.h"
#include "control/frm_kakei.h"
#include "store/module.h"
#include "win32/resource_ids.h"

namespace h5 {
namespace {

std::wstring Wide(const std::string& text) {
  std::wstring wide(text.size(), L'\0');
  wide.resize(static_cast<size_t>(MultiByteToWideChar(
      CP_UTF8, 0, text.data(), static_cast<int>(text.size()), wide.data(), int(wide.size()))));
  return wide;
}

// The bitmap's pixels as a 24-bit top-down DIB.
std::vector<uint8_t> Bits(HBITMAP bitmap, SIZE size) {
  BITMAPINFO info{};
  info.bmiHeader = {sizeof(BITMAPINFOHEADER), size.cx, -size.cy, 1, 24, BI_RGB, 0, 0, 0, 0, 0};
  std::vector<uint8_t> bits(static_cast<size_t>((size.cx * 3 + 3) / 4 * 4 * size.cy));
  HDC screen = GetDC(nullptr);
  EXPECT_EQ(GetDIBits(screen, bitmap, 0, size.cy, bits.data(), &info, DIB_RGB_COLORS), size.cy);
  ReleaseDC(nullptr, screen);
  return bits;
}

std::vector<uint8_t> Load(HINSTANCE module, const wchar_t* name, UINT flags = 0) {
  auto bitmap = static_cast<HBITMAP>(
      LoadImageW(module, name, IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION | flags));
  std::vector<uint8_t> bits = Bits(bitmap, {119, 113});
  DeleteObject(bitmap);
  return bits;
}

// Picture number of the resources, checked against its file.
std::vector<uint8_t> Picture(int number) {
  std::vector<uint8_t> bits =
      Load(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(H5_IDB_KEKKA1 + number - 1));
  const std::wstring file =
      Wide(H5_SOURCE_DIR "/resources/kekka" + std::to_string(number) + ".bmp");
  EXPECT_EQ(bits, Load(nullptr, file.c_str(), LR_LOADFROMFILE)) << number;
  return bits;
}

// What print(dc) paints into a 119 x 113 canvas.
template <typename Print>
std::vector<uint8_t> Capture(Print print) {
  HDC dc = CreateCompatibleDC(nullptr);
  BITMAPINFO format{};
  format.bmiHeader = {sizeof(BITMAPINFOHEADER), 119, 113, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
  void* bits = nullptr;
  HBITMAP canvas = CreateDIBSection(dc, &format, DIB_RGB_COLORS, &bits, nullptr, 0);
  HGDIOBJ old = SelectObject(dc, canvas);
  print(dc);
  SelectObject(dc, old);
  DeleteDC(dc);
  std::vector<uint8_t> pixels = Bits(canvas, {119, 113});
  DeleteObject(canvas);
  return pixels;
}

// The window's rectangle in its parent's client coordinates.
std::array<LONG, 4> Place(HWND window) {
  RECT r{};
  GetWindowRect(window, &r);
  MapWindowPoints(HWND_DESKTOP, GetParent(window), reinterpret_cast<POINT*>(&r), 2);
  return {r.left, r.top, r.right, r.bottom};
}

std::wstring ToolText(TileWindow& tile, HWND tool) {
  wchar_t text[512] = L"";
  TTTOOLINFOW info{};
  info.cbSize = TTTOOLINFOW_V2_SIZE;
  info.hwnd = tile.window();
  info.uId = reinterpret_cast<UINT_PTR>(tool);
  info.lpszText = text;
  SendMessageW(tile.tooltip_window(), TTM_GETTEXTW, 512, reinterpret_cast<LPARAM>(&info));
  return text;
}

void Click(HWND window, int x = 3, int y = 3) {
  SendMessageW(window, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y));
  SendMessageW(window, WM_LBUTTONUP, 0, MAKELPARAM(x, y));
}

class TileWindowTest : public FakeTest {
 protected:
  // One top-level window for all: Wine waits for the X server on each.
  static void SetUpTestSuite() {
    host_ = CreateWindowExW(0, L"STATIC", L"h5 tile host", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0,
                            300, 300, nullptr, nullptr, nullptr, nullptr);
  }
  static void TearDownTestSuite() { DestroyWindow(host_); }
  void SetUp() override { ASSERT_NE(host_, nullptr); }
  void TearDown() override {
    control_.reset();
    tile_.reset();
  }

  // A tile on doubles where the category file is missing, so the diagnosis
  // stops at once and the preset is the level shown.
  TileWindow& Show(const std::string& preset, float twips = 15.0f) {
    Bind(twips, {{"himoku.dat", kBtrFileNotFound}});
    Module().PresetLevel = preset;
    control_.reset();
    tile_ = std::make_unique<TileWindow>(GetModuleHandleW(nullptr), twips);
    control_ = std::make_unique<FrmKakei>(*tile_);  // before the windows exist
    tile_->SetClickHandler([this] { ++clicks_; });
    const SIZE size = tile_->PixelSize();
    EXPECT_TRUE(tile_->Create(host_, RECT{0, 0, size.cx, size.cy}));
    return *tile_;
  }

  static inline HWND host_ = nullptr;
  std::unique_ptr<TileWindow> tile_;
  std::unique_ptr<FrmKakei> control_;
  int clicks_ = 0;
};

TEST_F(TileWindowTest, EachLevelShowsItsPicturePixelForPixelAtTwoDensities) {
  const std::pair<const char*, int> cases[] = {{"7", 1}, {"5", 2}, {"4", 3},
                                               {"3", 4}, {"2", 5}, {"1", 6}};
  for (float twips : {15.0f, 12.0f}) {
    for (auto [preset, picture] : cases) {
      SCOPED_TRACE(std::to_string(twips) + " twips, level " + preset);
      TileWindow& tile = Show(preset, twips);
      EXPECT_EQ(tile.picture_number(), picture);
      EXPECT_EQ(Place(tile.window()), (std::array<LONG, 4>{0, 0, 119, 113}));
      EXPECT_EQ(Place(tile.picture_window()), (std::array<LONG, 4>{0, 0, 119, 113}));
      EXPECT_EQ(Place(tile.label_window()), (std::array<LONG, 4>{4, 36, 115, 115}));
      auto print = [&](HDC dc) { EXPECT_TRUE(PrintWindow(tile.window(), dc, 0)); };
      auto draw = [&](HDC dc) { tile.Draw(dc, RECT{0, 0, 119, 113}); };
      if (picture == 1) {  // the caption is written on the empty panel
        EXPECT_NE(Capture(print), Picture(1));
        EXPECT_EQ(Capture(print), Capture(draw));
        tile.SetCaption("");
      }
      EXPECT_EQ(Capture(print), Picture(picture));
      EXPECT_EQ(Capture(draw), Picture(picture));
    }
  }
}

TEST_F(TileWindowTest, CaptionAndTooltipsOfEachKindOfResult) {
  const struct {
    const char *preset, *caption, *tooltip;
  } cases[] = {{"6", kNoBudgetCaption, kInviteToolTip},
               {"0", kInviteCaption, kInviteToolTip},
               {"5", "", kGradedToolTip}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.preset);
    TileWindow& tile = Show(c.preset);
    wchar_t text[256] = L"";
    GetWindowTextW(tile.label_window(), text, 256);
    EXPECT_EQ(text, Wide(c.caption));
    EXPECT_EQ(IsWindowVisible(tile.label_window()) != 0, *c.caption != '\0');
    EXPECT_EQ(SendMessageW(tile.tooltip_window(), TTM_GETTOOLCOUNT, 0, 0), 2);
    EXPECT_GT(SendMessageW(tile.tooltip_window(), TTM_GETMAXTIPWIDTH, 0, 0), 0);
    for (HWND tool : {tile.picture_window(), tile.label_window()}) {
      EXPECT_EQ(ToolText(tile, tool), Wide(c.tooltip));
    }
  }
  // Once shown, the windows follow every change.
  tile_->SetLabelToolTip("ラベル");
  tile_->SetCaption("見出し");
  tile_->SetLabelVisible(true);
  EXPECT_EQ(ToolText(*tile_, tile_->label_window()), L"ラベル");
  EXPECT_EQ(ToolText(*tile_, tile_->picture_window()), Wide(kGradedToolTip));
  wchar_t text[16] = L"";
  GetWindowTextW(tile_->label_window(), text, 16);
  EXPECT_STREQ(text, L"見出し");
  EXPECT_TRUE(IsWindowVisible(tile_->label_window()));
}

TEST_F(TileWindowTest, HandCursorAndOneClickFromEachPart) {
  TileWindow& tile = Show("7");
  HCURSOR hand = LoadCursorW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(H5_IDC_HAND));
  ICONINFO info{};
  ASSERT_TRUE(GetIconInfo(hand, &info));
  EXPECT_EQ(std::make_tuple(info.fIcon, info.xHotspot, info.yHotspot),
            std::make_tuple(FALSE, DWORD{5}, DWORD{0}));
  DeleteObject(info.hbmMask);
  if (info.hbmColor) DeleteObject(info.hbmColor);

  const POINT on_label{60, 75};
  EXPECT_EQ(ChildWindowFromPointEx(tile.window(), on_label, CWP_SKIPINVISIBLE),
            tile.label_window());  // above the picture
  for (HWND part : {tile.window(), tile.picture_window(), tile.label_window()}) {
    SetCursor(nullptr);
    SendMessageW(part, WM_SETCURSOR, reinterpret_cast<WPARAM>(part), MAKELPARAM(HTCLIENT, 0));
    EXPECT_EQ(GetCursor(), hand);
    Click(part);
  }
  EXPECT_EQ(clicks_, 3);
  // Released outside, or the right button: no click.
  SendMessageW(tile.picture_window(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(3, 3));
  SendMessageW(tile.picture_window(), WM_LBUTTONUP, 0, MAKELPARAM(200, 3));
  SendMessageW(tile.picture_window(), WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(3, 3));
  SendMessageW(tile.picture_window(), WM_RBUTTONUP, 0, MAKELPARAM(3, 3));
  EXPECT_EQ(clicks_, 3);
  // A hidden label takes no click; the picture under it does.
  tile.SetLabelVisible(false);
  Click(tile.label_window());
  EXPECT_EQ(clicks_, 3);
  HWND under = ChildWindowFromPointEx(tile.window(), on_label, CWP_SKIPINVISIBLE);
  EXPECT_EQ(under, tile.picture_window());
  Click(under, on_label.x, on_label.y);
  EXPECT_EQ(clicks_, 4);
}

}  // namespace
}  // namespace h5
