#include "qt/tile_widget.h"

#include <QBitmap>
#include <QImage>
#include <QMouseEvent>
#include <cmath>

// Outside any namespace, as the resource initialiser requires.
static void InitArtworkResources() { Q_INIT_RESOURCE(artwork); }

namespace h5 {
namespace {

QString Q(const std::string& text) {
  return QString::fromUtf8(text.data(), qsizetype(text.size()));
}

void EnsureArtworkLoaded() {
  // The artwork lives in the library's resources; a static library needs the
  // initialisation spelled out.
  static bool loaded = [] {
    InitArtworkResources();
    return true;
  }();
  (void)loaded;
}

}  // namespace

void ClickLabel::mouseReleaseEvent(QMouseEvent* event) {
  // Accepted here, so the tile underneath does not count the click again.
  event->accept();
  if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()) &&
      on_click) {
    on_click();
  }
}

QCursor HandCursor() {
  EnsureArtworkLoaded();
  QImage image(":/h5kakei/hand_cursor.png");
  // Index 1 is colour1: a set bit of the cursor's shape or mask.
  const QList<QRgb> mono = {qRgb(255, 255, 255), qRgb(0, 0, 0)};
  QImage shape(32, 32, QImage::Format_Mono);
  QImage mask(32, 32, QImage::Format_Mono);
  shape.setColorTable(mono);
  mask.setColorTable(mono);
  shape.fill(0);
  mask.fill(0);
  if (!image.isNull()) {
    image = image.convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < 32 && y < image.height(); ++y) {
      for (int x = 0; x < 32 && x < image.width(); ++x) {
        QRgb pixel = image.pixel(x, y);
        if (qAlpha(pixel) < 128) continue;
        mask.setPixel(x, y, 1);
        if (qGray(pixel) < 128) shape.setPixel(x, y, 1);
      }
    }
  }
  return QCursor(QBitmap::fromImage(shape), QBitmap::fromImage(mask), 5, 0);
}

QFont CaptionFont(float points) {
  QFont font;
  font.setFamilies({QStringLiteral("ＭＳ ゴシック"), QStringLiteral("MS Gothic"),
                    QStringLiteral("IPAGothic"), QStringLiteral("IPAexGothic"),
                    QStringLiteral("Noto Sans CJK JP")});
  font.setStyleHint(QFont::SansSerif);
  font.setWeight(QFont::Normal);
  font.setPointSizeF(points);
  return font;
}

TileWidget::TileWidget(float twips_per_pixel, QWidget* parent)
    : QWidget(parent), twips_per_pixel_(twips_per_pixel > 0 ? twips_per_pixel : 15.0f) {
  EnsureArtworkLoaded();
  for (int i = 1; i <= 6; ++i) {
    image_list_[i] = QPixmap(QStringLiteral(":/h5kakei/kekka%1.png").arg(i));
  }
  setAutoFillBackground(true);
  QPalette pal = palette();
  pal.setColor(QPalette::Window, palette().color(QPalette::Base));  // the window colour
  setPalette(pal);
  setFont(CaptionFont(9.0f));
  QCursor hand = HandCursor();
  setCursor(hand);

  picture_ = new ClickLabel(this);
  picture_->setObjectName("imgKekka");
  picture_->setCursor(hand);
  picture_->setAlignment(Qt::AlignLeft | Qt::AlignTop);

  label_ = new ClickLabel(this);
  label_->setObjectName("lblKekka");
  label_->setCursor(hand);
  label_->setWordWrap(true);
  label_->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
  label_->setFont(CaptionFont(label_font_points_));
  QPalette text = label_->palette();
  text.setColor(QPalette::WindowText, Qt::black);
  label_->setPalette(text);
  label_->setText(QStringLiteral("予算をたて家計簿をつけると家計状態を診断します！"));
  label_->raise();  // the label lies above the picture

  picture_->setGeometry(ToPixels(picture_rect_));
  label_->setGeometry(ToPixels(label_rect_));
  setFixedSize(ToPixels(TwipsRect{0, 0, kControlWidth, kControlHeight}).size());
}

void TileWidget::SetClickHandler(const std::function<void()>& handler) {
  on_click_ = handler;
  picture_->on_click = handler;
  label_->on_click = handler;
}

const QPixmap& TileWidget::ImageListPicture(int number) const {
  static const QPixmap none;
  return number >= 1 && number <= 6 ? image_list_[number] : none;
}

QRect TileWidget::ToPixels(const TwipsRect& r) const {
  auto px = [&](float twips) { return static_cast<int>(std::lround(twips / twips_per_pixel_)); };
  return QRect(px(r.left), px(r.top), px(r.width), px(r.height));
}

void TileWidget::ShowPicture() {
  const QPixmap& pixmap = ImageListPicture(picture_number_);
  picture_->setScaledContents(stretch_);
  picture_->setPixmap(pixmap);
}

void TileWidget::SetPicture(int16_t picture) {
  picture_number_ = picture;
  ShowPicture();
}

void TileWidget::SetCaption(const std::string& caption) { label_->setText(Q(caption)); }

void TileWidget::SetLabelVisible(bool visible) { label_->setVisible(visible); }

void TileWidget::SetPictureToolTip(const std::string& text) { picture_->setToolTip(Q(text)); }

void TileWidget::SetLabelToolTip(const std::string& text) { label_->setToolTip(Q(text)); }

void TileWidget::MovePicture(const TwipsRect& rect) {
  picture_rect_ = rect;
  picture_->setGeometry(ToPixels(rect));
}

void TileWidget::SetPictureStretch(bool stretch) {
  stretch_ = stretch;
  ShowPicture();
}

void TileWidget::MoveLabel(const TwipsRect& rect) {
  label_rect_ = rect;
  label_->setGeometry(ToPixels(rect));
}

void TileWidget::SetLabelFontSize(float points) {
  label_font_points_ = points;
  label_->setFont(CaptionFont(points));
}

void TileWidget::SetControlSize(float width, float height) {
  setFixedSize(ToPixels(TwipsRect{0, 0, width, height}).size());
}

void TileWidget::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()) &&
      on_click_) {
    on_click_();
  }
  event->accept();
}

}  // namespace h5
