#include "painter/figures.h"

#include <QPainterPath>
#include <QPainterPathStroker>
#include <QPolygonF>
#include <QRectF>
#include <QVector>
#include <cmath>

namespace h5 {

namespace {

const QColor kInk(0x4a, 0x2e, 0x1a);
const QColor kSkin(0xff, 0xdc, 0x6a);
const QColor kCheek(0xff, 0x7f, 0x7f, 150);
const QColor kMouth(0xd9, 0x3f, 0x3f);
const QColor kTear(0x4f, 0xb3, 0xf0);
const QColor kGold(0xf2, 0xc2, 0x2e);
const QColor kGoldLight(0xff, 0xe8, 0x8a);

void Fill(QPainter& p, const QPainterPath& path, const QColor& fill, qreal outline = 1.0) {
  if (outline > 0) {
    p.setPen(QPen(kInk, outline, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
  } else {
    p.setPen(Qt::NoPen);
  }
  p.setBrush(fill);
  p.drawPath(path);
}

void Line(QPainter& p, const QPainterPath& path, qreal width, const QColor& colour = kInk) {
  p.setPen(QPen(colour, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
  p.setBrush(Qt::NoBrush);
  p.drawPath(path);
}

void Dot(QPainter& p, QPointF c, qreal rx, qreal ry, const QColor& colour = kInk) {
  p.setPen(Qt::NoPen);
  p.setBrush(colour);
  p.drawEllipse(c, rx, ry);
}

// The outline of a thick round-ended stroke from a to b, for uniting with
// other parts into one silhouette.
QPainterPath Capsule(QPointF a, QPointF b, qreal width) {
  QPainterPath line(a);
  line.lineTo(b);
  QPainterPathStroker stroker;
  stroker.setWidth(width);
  stroker.setCapStyle(Qt::RoundCap);
  stroker.setJoinStyle(Qt::RoundJoin);
  return stroker.createStroke(line);
}

QPainterPath Ring(QPointF centre, qreal radius, qreal width) {
  QPainterPath circle;
  circle.addEllipse(centre, radius, radius);
  QPainterPathStroker stroker;
  stroker.setWidth(width);
  return stroker.createStroke(circle);
}

QPainterPath RoundRect(qreal x, qreal y, qreal w, qreal h, qreal r) {
  QPainterPath path;
  path.addRoundedRect(QRectF(x, y, w, h), r, r);
  return path;
}

// A finger from `base` of `length` at `degrees` from upright (clockwise).
QPainterPath Finger(QPointF base, qreal degrees, qreal length, qreal width) {
  const qreal a = degrees * M_PI / 180.0;
  return Capsule(base, base + QPointF(std::sin(a) * length, -std::cos(a) * length), width);
}

QPainterPath RoundedPolygon(const QVector<QPointF>& points, qreal radius) {
  QPainterPath path;
  const int n = points.size();
  for (int i = 0; i < n; ++i) {
    const QPointF v = points[i];
    const QPointF prev = points[(i + n - 1) % n];
    const QPointF next = points[(i + 1) % n];
    const QPointF to_prev = prev - v;
    const QPointF to_next = next - v;
    const qreal lp = std::hypot(to_prev.x(), to_prev.y());
    const qreal ln = std::hypot(to_next.x(), to_next.y());
    const QPointF in = v + to_prev * (radius / lp);
    const QPointF out = v + to_next * (radius / ln);
    if (i == 0) {
      path.moveTo(in);
    } else {
      path.lineTo(in);
    }
    path.quadTo(v, out);
  }
  path.closeSubpath();
  return path;
}

// A closed, happy eye: an arch.
void ArchEye(QPainter& p, QPointF c, qreal half_width, qreal rise) {
  QPainterPath eye(c + QPointF(-half_width, rise * 0.4));
  eye.quadTo(c + QPointF(0, -rise * 1.4), c + QPointF(half_width, rise * 0.4));
  Line(p, eye, 1.3);
}

// A squeezed eye: '>' for the left eye, '<' for the right one.
void SqueezedEye(QPainter& p, QPointF c, qreal size, bool left) {
  const qreal dir = left ? 1 : -1;
  QPainterPath eye(c + QPointF(-dir * size, -size));
  eye.lineTo(c + QPointF(dir * size, 0));
  eye.lineTo(c + QPointF(-dir * size, size));
  Line(p, eye, 1.2);
}

void Cheeks(QPainter& p, QPointF left, QPointF right, qreal rx, qreal ry) {
  Dot(p, left, rx, ry, kCheek);
  Dot(p, right, rx, ry, kCheek);
}

void Teardrop(QPainter& p, QPointF tip, qreal size) {
  QPainterPath drop(tip);
  drop.cubicTo(tip + QPointF(size * 0.9, size * 0.9), tip + QPointF(size * 0.9, size * 1.9),
               tip + QPointF(0, size * 1.9));
  drop.cubicTo(tip + QPointF(-size * 0.9, size * 1.9), tip + QPointF(-size * 0.9, size * 0.9), tip);
  p.setPen(QPen(kTear.darker(140), 0.8));
  p.setBrush(kTear);
  p.drawPath(drop);
}

// An open mouth between `left` and `right`, sagging by `depth` (negative
// depth turns it upside down).
void OpenMouth(QPainter& p, QPointF left, QPointF right, qreal depth) {
  QPainterPath mouth(left);
  mouth.cubicTo(left + QPointF(0, depth * 1.3), right + QPointF(0, depth * 1.3), right);
  mouth.closeSubpath();
  p.save();
  Fill(p, mouth, kMouth, 1.0);
  // The tongue, kept inside the mouth.
  p.setClipPath(mouth);
  const QPointF bottom((left.x() + right.x()) / 2, left.y() + depth);
  Dot(p, bottom + QPointF(0, depth > 0 ? 0.3 : -0.3), (right.x() - left.x()) * 0.28,
      std::abs(depth) * 0.45, QColor(0xff, 0x9a, 0x9a));
  p.restore();
}

void Smile(QPainter& p, QPointF left, QPointF right, qreal depth) {
  QPainterPath mouth(left);
  mouth.quadTo(QPointF((left.x() + right.x()) / 2, left.y() + depth * 2), right);
  Line(p, mouth, 1.2);
}

}  // namespace

void DrawRoundFace(QPainter& p, QPointF c, qreal r, FaceMood mood) {
  QPainterPath head;
  head.addEllipse(c, r, r);
  Fill(p, head, kSkin, 1.2);
  // A soft shine on the upper left keeps the disc from looking flat.
  Dot(p, c + QPointF(-r * 0.45, -r * 0.5), r * 0.22, r * 0.14, QColor(255, 255, 255, 150));
  Cheeks(p, c + QPointF(-r * 0.58, r * 0.2), c + QPointF(r * 0.58, r * 0.2), r * 0.17, r * 0.11);

  const QPointF left_eye = c + QPointF(-r * 0.36, -r * 0.16);
  const QPointF right_eye = c + QPointF(r * 0.36, -r * 0.16);
  switch (mood) {
    case FaceMood::kBeaming:
      ArchEye(p, left_eye, r * 0.15, r * 0.13);
      ArchEye(p, right_eye, r * 0.15, r * 0.13);
      OpenMouth(p, c + QPointF(-r * 0.4, r * 0.2), c + QPointF(r * 0.4, r * 0.2), r * 0.42);
      break;
    case FaceMood::kWinking:
      ArchEye(p, left_eye, r * 0.15, r * 0.13);
      Dot(p, right_eye, r * 0.1, r * 0.15);
      OpenMouth(p, c + QPointF(-r * 0.32, r * 0.24), c + QPointF(r * 0.32, r * 0.24), r * 0.32);
      break;
    default:
      Dot(p, left_eye, r * 0.1, r * 0.15);
      Dot(p, right_eye, r * 0.1, r * 0.15);
      Smile(p, c + QPointF(-r * 0.36, r * 0.25), c + QPointF(r * 0.36, r * 0.25), r * 0.2);
      break;
  }
}

void DrawTriangleFace(QPainter& p, QPointF c, qreal w, FaceMood mood) {
  const qreal h = w * 0.9;
  const QVector<QPointF> corners = {c + QPointF(0, -h / 2), c + QPointF(w / 2, h / 2),
                                    c + QPointF(-w / 2, h / 2)};
  Fill(p, RoundedPolygon(corners, w * 0.2), kSkin, 1.2);
  Dot(p, c + QPointF(-w * 0.08, -h * 0.22), w * 0.06, w * 0.04, QColor(255, 255, 255, 150));

  const QPointF left_eye = c + QPointF(-w * 0.15, h * 0.1);
  const QPointF right_eye = c + QPointF(w * 0.15, h * 0.1);
  // Eyebrows raised towards the middle: worry.
  QPainterPath brows(left_eye + QPointF(-w * 0.08, -w * 0.07));
  brows.lineTo(left_eye + QPointF(w * 0.06, -w * 0.13));
  brows.moveTo(right_eye + QPointF(w * 0.08, -w * 0.07));
  brows.lineTo(right_eye + QPointF(-w * 0.06, -w * 0.13));
  Line(p, brows, 1.0);

  const QPointF mouth_centre = c + QPointF(0, h * 0.33);
  if (mood == FaceMood::kCrying) {
    SqueezedEye(p, left_eye, w * 0.05, true);
    SqueezedEye(p, right_eye, w * 0.05, false);
    // Streams of tears down the cheeks.
    QPainterPath streams(left_eye + QPointF(-w * 0.02, w * 0.06));
    streams.lineTo(left_eye + QPointF(-w * 0.04, h * 0.34));
    streams.moveTo(right_eye + QPointF(w * 0.02, w * 0.06));
    streams.lineTo(right_eye + QPointF(w * 0.04, h * 0.34));
    Line(p, streams, w * 0.07, kTear);
    OpenMouth(p, mouth_centre + QPointF(-w * 0.1, w * 0.04),
              mouth_centre + QPointF(w * 0.1, w * 0.04), -w * 0.1);
    Teardrop(p, c + QPointF(-w * 0.38, -h * 0.12), w * 0.06);
    Teardrop(p, c + QPointF(w * 0.4, -h * 0.2), w * 0.06);
  } else {
    Dot(p, left_eye, w * 0.035, w * 0.05);
    Dot(p, right_eye, w * 0.035, w * 0.05);
    // A wobbly mouth.
    QPainterPath mouth(mouth_centre + QPointF(-w * 0.12, 0));
    mouth.cubicTo(mouth_centre + QPointF(-w * 0.07, -w * 0.05),
                  mouth_centre + QPointF(-w * 0.02, -w * 0.05), mouth_centre);
    mouth.cubicTo(mouth_centre + QPointF(w * 0.02, w * 0.05),
                  mouth_centre + QPointF(w * 0.07, w * 0.05), mouth_centre + QPointF(w * 0.12, 0));
    Line(p, mouth, 1.0);
    Teardrop(p, c + QPointF(w * 0.3, -h * 0.25), w * 0.07);
  }
}

void DrawHand(QPainter& p, QPointF h, HandSign sign) {
  const qreal x = h.x();
  const qreal y = h.y();
  QPainterPath shape;
  switch (sign) {
    case HandSign::kVictory: {
      shape = RoundRect(x - 4.5, y - 3.5, 9, 8.5, 3)
                  .united(Finger(QPointF(x - 2, y - 2), -14, 9, 3.4))
                  .united(Finger(QPointF(x + 1.8, y - 2), 14, 9, 3.4));
      Fill(p, shape, kSkin);
      // The thumb folded over the other fingers.
      Fill(p, Capsule(QPointF(x - 3.4, y + 1.6), QPointF(x + 2.2, y + 0.2), 3.0), kSkin, 0.9);
      break;
    }
    case HandSign::kOk: {
      shape = RoundRect(x - 4, y - 3, 9.5, 8, 3)
                  .united(Ring(QPointF(x - 4.8, y - 4.8), 3.2, 2.4))
                  .united(Finger(QPointF(x - 0.4, y - 2), -4, 9, 3.0))
                  .united(Finger(QPointF(x + 2.4, y - 2), 10, 8.5, 3.0))
                  .united(Finger(QPointF(x + 4.4, y - 1), 26, 7, 2.8));
      Fill(p, shape, kSkin);
      break;
    }
    case HandSign::kThumbsUp: {
      shape = RoundRect(x - 4.5, y - 3.5, 10, 9.5, 3.2)
                  .united(Capsule(QPointF(x - 2.4, y - 3), QPointF(x - 2.8, y - 11.5), 4.0));
      Fill(p, shape, kSkin);
      // The curled fingers.
      QPainterPath folds(QPointF(x + 0.2, y - 1.2));
      folds.lineTo(QPointF(x + 5.2, y - 1.2));
      folds.moveTo(QPointF(x + 0.2, y + 1.3));
      folds.lineTo(QPointF(x + 5.2, y + 1.3));
      folds.moveTo(QPointF(x + 0.2, y + 3.7));
      folds.lineTo(QPointF(x + 5.0, y + 3.7));
      Line(p, folds, 0.8);
      break;
    }
    case HandSign::kOpenPalm: {
      shape = RoundRect(x - 5, y - 3, 10, 9, 3.5)
                  .united(Finger(QPointF(x - 3.4, y - 1.5), -22, 8, 2.7))
                  .united(Finger(QPointF(x - 1.1, y - 2), -7, 9.5, 2.7))
                  .united(Finger(QPointF(x + 1.3, y - 2), 8, 9, 2.7))
                  .united(Finger(QPointF(x + 3.5, y - 1), 24, 7.2, 2.6))
                  .united(Finger(QPointF(x - 4, y + 2.5), -58, 6.5, 3.0));
      Fill(p, shape, kSkin);
      break;
    }
  }
}

void DrawPurse(QPainter& p, QPointF top, qreal w, qreal h, const QColor& body) {
  const qreal x = top.x();
  const qreal y = top.y();
  QPainterPath bag(QPointF(x - w * 0.4, y));
  bag.cubicTo(QPointF(x - w * 0.66, y + h * 0.35), QPointF(x - w * 0.6, y + h), QPointF(x, y + h));
  bag.cubicTo(QPointF(x + w * 0.6, y + h), QPointF(x + w * 0.66, y + h * 0.35),
              QPointF(x + w * 0.4, y));
  bag.closeSubpath();
  Fill(p, bag, body, 1.2);

  // Shine and the yen mark.
  p.save();
  p.setClipPath(bag);
  Dot(p, QPointF(x - w * 0.24, y + h * 0.4), w * 0.07, h * 0.16, QColor(255, 255, 255, 110));
  p.restore();
  QPainterPath yen(QPointF(x - w * 0.13, y + h * 0.32));
  yen.lineTo(QPointF(x, y + h * 0.55));
  yen.lineTo(QPointF(x + w * 0.13, y + h * 0.32));
  yen.moveTo(QPointF(x, y + h * 0.55));
  yen.lineTo(QPointF(x, y + h * 0.82));
  yen.moveTo(QPointF(x - w * 0.12, y + h * 0.58));
  yen.lineTo(QPointF(x + w * 0.12, y + h * 0.58));
  yen.moveTo(QPointF(x - w * 0.12, y + h * 0.7));
  yen.lineTo(QPointF(x + w * 0.12, y + h * 0.7));
  // White reads on the dark bodies; a light body gets a deeper shade of itself.
  const QColor mark = qGray(body.rgb()) > 180 ? body.darker(165) : QColor(255, 255, 255, 235);
  Line(p, yen, 1.4, mark);

  // The clasp frame along the mouth of the bag, and its two knobs.
  QPainterPath frame(QPointF(x - w * 0.44, y + 1));
  frame.quadTo(QPointF(x, y - 2.5), QPointF(x + w * 0.44, y + 1));
  Line(p, frame, 4.2, kInk);
  Line(p, frame, 2.4, kGold);
  QPainterPath knobs;
  knobs.addEllipse(QPointF(x - 2.1, y - 3.4), 2.3, 2.3);
  knobs.addEllipse(QPointF(x + 2.1, y - 3.4), 2.3, 2.3);
  Fill(p, knobs.simplified(), kGold, 1.0);
  Dot(p, QPointF(x - 2.6, y - 4.1), 0.8, 0.8, kGoldLight);
  Dot(p, QPointF(x + 1.6, y - 4.1), 0.8, 0.8, kGoldLight);
}

void DrawSparkle(QPainter& p, QPointF c, qreal r, const QColor& colour) {
  QPainterPath star(c + QPointF(0, -r));
  star.quadTo(c, c + QPointF(r, 0));
  star.quadTo(c, c + QPointF(0, r));
  star.quadTo(c, c + QPointF(-r, 0));
  star.quadTo(c, c + QPointF(0, -r));
  p.setPen(Qt::NoPen);
  p.setBrush(colour);
  p.drawPath(star);
}

void DrawWingedCoin(QPainter& p, QPointF c, qreal r) {
  const QColor feather(255, 255, 255);
  for (qreal side : {-1.0, 1.0}) {
    QPainterPath wing(c + QPointF(side * r * 0.7, -r * 0.2));
    wing.cubicTo(c + QPointF(side * r * 1.6, -r * 1.6), c + QPointF(side * r * 2.6, -r * 1.2),
                 c + QPointF(side * r * 2.3, -r * 0.5));
    wing.cubicTo(c + QPointF(side * r * 2.0, -r * 0.1), c + QPointF(side * r * 1.4, r * 0.1),
                 c + QPointF(side * r * 0.7, r * 0.2));
    wing.closeSubpath();
    Fill(p, wing, feather, 0.9);
  }
  QPainterPath coin;
  coin.addEllipse(c, r, r);
  Fill(p, coin, kGold, 1.0);
  QPainterPath inner;
  inner.addEllipse(c, r * 0.6, r * 0.6);
  Line(p, inner, 0.7, QColor(0xc9, 0x92, 0x10));
}

}  // namespace h5
