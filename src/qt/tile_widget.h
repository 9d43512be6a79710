// The tile on screen: a QWidget that is the surface of frmKakei. The picture
// fills the control, the caption label lies above it, both show the hand
// cursor, and a click on any of them is passed to the click handler.
#ifndef H5KAKEI_QT_TILE_WIDGET_H_
#define H5KAKEI_QT_TILE_WIDGET_H_

#include <QLabel>
#include <QPixmap>
#include <QWidget>
#include <array>
#include <functional>

#include "control/tile_surface.h"

namespace h5 {

// A label that reports a click (press and release inside it).
class ClickLabel : public QLabel {
 public:
  explicit ClickLabel(QWidget* parent) : QLabel(parent) {}
  std::function<void()> on_click;

 protected:
  void mouseReleaseEvent(QMouseEvent* event) override;
};

class TileWidget : public QWidget, public TileSurface {
 public:
  // twips_per_pixel: the screen's, used to turn the layout's twips into
  // pixels (15 at 96 dpi).
  explicit TileWidget(float twips_per_pixel, QWidget* parent = nullptr);

  void SetClickHandler(const std::function<void()>& handler);

  // The children, named as the control names them.
  ClickLabel* imgKekka() const { return picture_; }
  ClickLabel* lblKekka() const { return label_; }
  // The six illustrations of imglstKekka, numbered 1..6.
  const QPixmap& ImageListPicture(int number) const;
  int16_t picture_number() const { return picture_number_; }

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

 protected:
  void mouseReleaseEvent(QMouseEvent* event) override;

 private:
  QRect ToPixels(const TwipsRect& rect) const;
  void ShowPicture();

  float twips_per_pixel_;
  ClickLabel* picture_;
  ClickLabel* label_;
  std::array<QPixmap, 7> image_list_;  // 1..6
  int16_t picture_number_ = 0;
  bool stretch_ = false;
  TwipsRect picture_rect_ = kPictureLayout;
  TwipsRect label_rect_ = kLabelLayout;
  float label_font_points_ = kLabelFontPoints;
  std::function<void()> on_click_;
};

// The 32 x 32 two-colour hand cursor, hot spot at the fingertip (5, 0).
QCursor HandCursor();

// The caption font: "ＭＳ ゴシック" when present, else a Japanese gothic.
QFont CaptionFont(float points);

}  // namespace h5

#endif  // H5KAKEI_QT_TILE_WIDGET_H_
