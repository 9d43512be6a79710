// What the diagnosis control draws on: a picture from the image list, a
// caption label above it, their tooltips, and the layout in twips. The Qt
// face implements it on screen; RecordingSurface keeps it in memory.
#ifndef H5KAKEI_CONTROL_TILE_SURFACE_H_
#define H5KAKEI_CONTROL_TILE_SURFACE_H_

#include <cstdint>
#include <string>

namespace h5 {

// A rectangle in twips (1/1440 inch).
struct TwipsRect {
  float left = 0, top = 0, width = 0, height = 0;
  friend bool operator==(const TwipsRect&, const TwipsRect&) = default;
};

class TileSurface {
 public:
  virtual ~TileSurface() = default;

  // Picture number 1..6 of the image list; any other number shows none.
  virtual void SetPicture(int16_t picture) = 0;
  virtual void SetCaption(const std::string& caption) = 0;
  virtual void SetLabelVisible(bool visible) = 0;
  virtual void SetPictureToolTip(const std::string& text) = 0;
  virtual void SetLabelToolTip(const std::string& text) = 0;

  // The picture's and the label's rectangles; the picture stretches its image
  // to its size once stretching is on.
  virtual TwipsRect PictureRect() const = 0;
  virtual void MovePicture(const TwipsRect& rect) = 0;
  virtual void SetPictureStretch(bool stretch) = 0;
  virtual TwipsRect LabelRect() const = 0;
  virtual void MoveLabel(const TwipsRect& rect) = 0;
  virtual float LabelFontSize() const = 0;  // points
  virtual void SetLabelFontSize(float points) = 0;
  // The control's own size.
  virtual void SetControlSize(float width, float height) = 0;
};

// Layout of the control at scale 1, in twips.
constexpr TwipsRect kPictureLayout{0, 0, 1785, 1695};
constexpr TwipsRect kLabelLayout{60, 540, 1665, 1185};
constexpr float kLabelFontPoints = 8.25f;
constexpr float kControlWidth = 1785;
constexpr float kControlHeight = 1695;

// A surface that only remembers what was set: for the command line and tests.
class RecordingSurface : public TileSurface {
 public:
  int16_t picture = 0;
  std::string caption = "予算をたて家計簿をつけると家計状態を診断します！";
  bool label_visible = true;
  std::string picture_tooltip, label_tooltip;
  TwipsRect picture_rect = kPictureLayout;
  TwipsRect label_rect = kLabelLayout;
  bool picture_stretch = false;
  float label_font_size = kLabelFontPoints;
  float control_width = kControlWidth, control_height = kControlHeight;

  void SetPicture(int16_t p) override { picture = p; }
  void SetCaption(const std::string& c) override { caption = c; }
  void SetLabelVisible(bool v) override { label_visible = v; }
  void SetPictureToolTip(const std::string& t) override { picture_tooltip = t; }
  void SetLabelToolTip(const std::string& t) override { label_tooltip = t; }
  TwipsRect PictureRect() const override { return picture_rect; }
  void MovePicture(const TwipsRect& r) override { picture_rect = r; }
  void SetPictureStretch(bool s) override { picture_stretch = s; }
  TwipsRect LabelRect() const override { return label_rect; }
  void MoveLabel(const TwipsRect& r) override { label_rect = r; }
  float LabelFontSize() const override { return label_font_size; }
  void SetLabelFontSize(float p) override { label_font_size = p; }
  void SetControlSize(float w, float h) override {
    control_width = w;
    control_height = h;
  }
};

}  // namespace h5

#endif  // H5KAKEI_CONTROL_TILE_SURFACE_H_
