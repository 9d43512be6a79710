// The tile as Win32 windows: a child window of the container's with the
// picture (imgKekka) and the caption label (lblKekka) as its own children,
// tooltips on both, the hand cursor everywhere and every click routed to one
// handler. Until Create() is called it only keeps what it was told, so the
// control can initialise (and diagnose) before its container gives it a
// window; Create() then shows that state.
#ifndef H5KAKEI_WIN32_TILE_WINDOW_H_
#define H5KAKEI_WIN32_TILE_WINDOW_H_

#include <windows.h>

#include <functional>
#include <string>

#include "control/tile_surface.h"

namespace h5 {

class TileWindow : public TileSurface {
 public:
  // The children's window ids (GetDlgItem of window()).
  static constexpr int kPictureId = 1;
  static constexpr int kLabelId = 2;

  // module: where the artwork resources live (resource_ids.h).
  // twips_per_pixel: the screen's, for turning twips into pixels.
  TileWindow(HINSTANCE module, float twips_per_pixel);
  ~TileWindow() override;
  TileWindow(const TileWindow&) = delete;
  TileWindow& operator=(const TileWindow&) = delete;

  void SetClickHandler(std::function<void()> handler);

  // Creates the windows as a visible child of parent at rect (pixels). False
  // when Windows refuses; a second call moves the existing window instead.
  bool Create(HWND parent, const RECT& rect);
  // Destroys the windows; the state stays for a later Create().
  void Destroy();

  HWND window() const { return window_; }
  HWND picture_window() const { return picture_; }
  HWND label_window() const { return label_; }
  // The tooltip control holding the picture's and the label's texts.
  HWND tooltip_window() const { return tooltip_; }

  // The control's size in pixels.
  SIZE PixelSize() const;
  // Paints the tile as it looks (picture, then the caption when shown) into
  // dc at bounds, for containers that draw it without a window.
  void Draw(HDC dc, const RECT& bounds) const;

  // What is shown, for tests and hosts.
  int16_t picture_number() const { return picture_number_; }
  const std::string& caption() const { return caption_; }
  bool label_visible() const { return label_visible_; }
  const std::string& picture_tooltip() const { return picture_tooltip_; }
  const std::string& label_tooltip() const { return label_tooltip_; }

  // TileSurface.
  void SetPicture(int16_t picture) override;
  void SetCaption(const std::string& caption) override;
  void SetLabelVisible(bool visible) override;
  void SetPictureToolTip(const std::string& text) override;
  void SetLabelToolTip(const std::string& text) override;
  TwipsRect PictureRect() const override { return picture_rect_; }
  void MovePicture(const TwipsRect& rect) override;
  void SetPictureStretch(bool stretch) override;
  TwipsRect LabelRect() const override { return label_rect_; }
  void MoveLabel(const TwipsRect& rect) override;
  float LabelFontSize() const override { return label_font_points_; }
  void SetLabelFontSize(float points) override;
  void SetControlSize(float width, float height) override;

 private:
  static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam);
  // Messages of the tile and of both children.
  LRESULT Handle(HWND window, UINT message, WPARAM wparam, LPARAM lparam);
  RECT ToPixels(const TwipsRect& rect) const;
  void Place(HWND window, const TwipsRect& rect);
  void Repaint();
  void UpdateFont();
  // message: TTM_ADDTOOLW or TTM_UPDATETIPTEXTW.
  void SetToolTip(HWND tool, const std::string& text, UINT message);
  // Paints the whole tile with its top left at origin; every window paints
  // its own part of it this way.
  void PaintTile(HDC dc, POINT origin) const;
  void DrawCaption(HDC dc, const RECT& box) const;
  POINT Origin(HWND window) const;

  HINSTANCE module_;
  float twips_per_pixel_;
  std::function<void()> on_click_;
  HWND window_ = nullptr, picture_ = nullptr, label_ = nullptr, tooltip_ = nullptr;
  HWND pressed_ = nullptr;  // where the left button went down
  HCURSOR cursor_ = nullptr;
  HBITMAP bitmap_ = nullptr;  // the picture shown, none outside 1..6
  HFONT font_ = nullptr;      // the caption's
  int16_t picture_number_ = 0;
  std::string caption_ = "予算をたて家計簿をつけると家計状態を診断します！";
  bool label_visible_ = true;
  bool stretch_ = false;
  std::string picture_tooltip_, label_tooltip_;
  TwipsRect picture_rect_ = kPictureLayout;
  TwipsRect label_rect_ = kLabelLayout;
  float label_font_points_ = kLabelFontPoints;
  float control_width_ = kControlWidth, control_height_ = kControlHeight;
};

// Takes back the window class the tiles of module registered; for a DLL
// being unloaded (Windows keeps a DLL's classes otherwise). No tile window
// may be left.
void UnregisterTileWindowClass(HINSTANCE module);

}  // namespace h5

#endif  // H5KAKEI_WIN32_TILE_WINDOW_H_
