#include "painter/illustration.h"

#include <QFont>
#include <QFontMetricsF>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QString>
#include <QStringList>
#include <QTextLayout>
#include <QTextLine>
#include <QTextOption>
#include <vector>

#include "painter/figures.h"

namespace h5 {

namespace {

struct Grade {
  const char* banner;
  QColor banner_colour;
  FaceMood mood;
  HandSign sign;
  bool has_hand;
  QColor purse;
  const char* message;
};

// Pictures 2..6, best result first; the banners warm from orange-yellow to red.
const Grade kGrades[] = {
    {"Excellent", QColor(0xf6, 0xb4, 0x00), FaceMood::kBeaming, HandSign::kVictory, true,
     QColor(0x3c, 0xb0, 0x4a), "ステキ！あなたは家計の達人です！夢や目標の達成の日も近いのでは？"},
    {"Very Good", QColor(0xf5, 0x98, 0x0c), FaceMood::kWinking, HandSign::kOk, true,
     QColor(0xf7, 0xd3, 0x1e), "収支のバランスが理想的です！この調子で頑張りましょう！"},
    {"Good", QColor(0xf0, 0x78, 0x14), FaceMood::kSmiling, HandSign::kThumbsUp, true,
     QColor(0xf7, 0xd3, 0x1e), "やりくり上手予備軍になりつつあります！気を抜かずに頑張って！"},
    {"No Good", QColor(0xe8, 0x52, 0x1c), FaceMood::kWorried, HandSign::kOpenPalm, true,
     QColor(0xf3, 0x8b, 0x1f), "夢の実現のため、ふんばり時です！焦らず一歩づつ前進あるのみ！"},
    {"Bad", QColor(0xd8, 0x22, 0x1c), FaceMood::kCrying, HandSign::kOpenPalm, false,
     QColor(0xe2, 0x3b, 0x35), "Oh！My God！突然の出費が原因？あきらめないで切り詰めよう！"},
};

const QColor kFrame(0x1c, 0x4c, 0xb4);
const QColor kTextInk(0x33, 0x2a, 0x22);

// Fonts are asked for by family with fallbacks, so that a machine without
// IPA fonts still paints something readable.
QFont GothicFont(int pixel_size) {
  QFont font;
  font.setFamilies(
      QStringList{"IPAGothic", "IPAPGothic", "Noto Sans CJK JP", "Droid Sans Fallback"});
  font.setStyleHint(QFont::SansSerif);
  font.setPixelSize(pixel_size);
  font.setHintingPreference(QFont::PreferFullHinting);
  font.setKerning(false);
  return font;
}

QFont BannerFont(int pixel_size) {
  QFont font;
  font.setFamilies(QStringList{"DejaVu Sans", "Nimbus Sans", "IPAPGothic"});
  font.setStyleHint(QFont::SansSerif);
  font.setPixelSize(pixel_size);
  font.setBold(true);
  font.setItalic(true);
  return font;
}

void PaintPanel(QPainter& p) {
  const QRectF all(0, 0, kIllustrationWidth, kIllustrationHeight);
  p.fillRect(all, Qt::white);
  p.setPen(QPen(kFrame, 1));
  p.setBrush(Qt::NoBrush);
  p.drawRect(QRectF(0.5, 0.5, kIllustrationWidth - 1, kIllustrationHeight - 1));

  const QRectF bar(0, 0, kIllustrationWidth, kTitleBarHeight);
  QLinearGradient shade(bar.topLeft(), bar.bottomLeft());
  shade.setColorAt(0, QColor(0x4a, 0x86, 0xe8));
  shade.setColorAt(1, QColor(0x1c, 0x4c, 0xb4));
  p.fillRect(bar, shade);

  p.setFont(GothicFont(12));
  p.setPen(Qt::white);
  p.drawText(bar, Qt::AlignCenter, QString::fromUtf8("家計診断"));
}

void PaintBanner(QPainter& p, const Grade& grade) {
  const qreal top = 18;
  const qreal height = 13;
  const QColor tail = grade.banner_colour.darker(135);
  // Ribbon tails behind the band, notched at their outer ends.
  for (qreal side : {-1.0, 1.0}) {
    const qreal inner = 59.5 + side * 44;
    const qreal outer = 59.5 + side * 56;
    QPainterPath path(QPointF(inner, top + 3));
    path.lineTo(QPointF(outer, top + 3));
    path.lineTo(QPointF(outer - side * 4, top + 3 + height / 2));
    path.lineTo(QPointF(outer, top + 3 + height));
    path.lineTo(QPointF(inner, top + 3 + height));
    path.closeSubpath();
    p.setPen(Qt::NoPen);
    p.setBrush(tail);
    p.drawPath(path);
  }
  const QRectF band(59.5 - 48, top, 96, height);
  p.setPen(QPen(tail, 1));
  p.setBrush(grade.banner_colour);
  p.drawRoundedRect(band.adjusted(0.5, 0.5, -0.5, -0.5), 2, 2);

  const QString word = QString::fromUtf8(grade.banner);
  p.setFont(BannerFont(11));
  p.setPen(grade.banner_colour.darker(170));
  p.drawText(band.translated(0.8, 0.8), Qt::AlignCenter, word);
  p.setPen(Qt::white);
  p.drawText(band, Qt::AlignCenter, word);
}

// Lays `text` out in `box`, centred line by line, in the largest font size
// that fits.
void PaintMessage(QPainter& p, const QString& text, const QRectF& box) {
  for (int size = 10; size >= 7; --size) {
    const QFont font = GothicFont(size);
    QTextLayout layout(text, font);
    QTextOption option(Qt::AlignHCenter);
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    layout.setTextOption(option);
    const qreal leading = size * 0.18;
    qreal y = 0;
    layout.beginLayout();
    for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
      line.setLineWidth(box.width());
      line.setPosition(QPointF(0, y));
      y += line.height() + leading;
    }
    layout.endLayout();
    const qreal used = y - leading;
    if (used > box.height() && size > 7) continue;
    p.setPen(kTextInk);
    layout.draw(&p, QPointF(box.left(), box.top() + (box.height() - used) / 2));
    return;
  }
}

void PaintGrade(QPainter& p, const Grade& grade, int number) {
  PaintBanner(p, grade);

  const QPointF face(27, 54);
  const QPointF purse(86, 45);
  if (grade.mood == FaceMood::kWorried || grade.mood == FaceMood::kCrying) {
    DrawTriangleFace(p, face + QPointF(0, 1), 32, grade.mood);
  } else {
    DrawRoundFace(p, face, 14, grade.mood);
  }
  if (grade.has_hand) DrawHand(p, QPointF(48.5, 59), grade.sign);
  DrawPurse(p, purse, 32, 24, grade.purse);

  const QColor twinkle(0xff, 0xc8, 0x1e);
  switch (number) {
    case 2:
      DrawSparkle(p, QPointF(66, 41), 4, twinkle);
      DrawSparkle(p, QPointF(108, 48), 3.2, twinkle);
      DrawSparkle(p, QPointF(104, 38), 2.2, twinkle);
      break;
    case 3:
      DrawSparkle(p, QPointF(107, 42), 3, twinkle);
      break;
    case 6:
      DrawWingedCoin(p, QPointF(105, 40), 3.6);
      break;
    default:
      break;
  }

  PaintMessage(p, QString::fromUtf8(grade.message), QRectF(4, 73, kIllustrationWidth - 8, 38));
}

}  // namespace

QImage PaintIllustration(int number) {
  if (number < 1 || number > kIllustrationCount) return QImage();
  QImage canvas(kIllustrationWidth, kIllustrationHeight, QImage::Format_ARGB32_Premultiplied);
  canvas.fill(Qt::white);
  {
    QPainter p(&canvas);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    PaintPanel(p);
    if (number >= 2) PaintGrade(p, kGrades[number - 2], number);
  }
  return canvas.convertToFormat(QImage::Format_RGB888);
}

}  // namespace h5
