// Small cartoon figures for the diagnosis illustrations: faces, hands and
// purses, built from vector paths so they stay smooth at tile size. All
// sizes are in pixels; the painter should have antialiasing on.
#ifndef H5KAKEI_PAINTER_FIGURES_H_
#define H5KAKEI_PAINTER_FIGURES_H_

#include <QColor>
#include <QPainter>
#include <QPointF>

namespace h5 {

enum class FaceMood { kBeaming, kWinking, kSmiling, kWorried, kCrying };
enum class HandSign { kVictory, kOk, kThumbsUp, kOpenPalm };

// A round face of `radius` around `centre`.
void DrawRoundFace(QPainter& painter, QPointF centre, qreal radius, FaceMood mood);

// A rounded, upward-pointing triangular face `width` wide whose bounding
// box is centred on `centre`.
void DrawTriangleFace(QPainter& painter, QPointF centre, qreal width, FaceMood mood);

// A hand about 12 x 16 pixels whose palm is centred on `palm`.
void DrawHand(QPainter& painter, QPointF palm, HandSign sign);

// A clasp purse: `top` is the middle of the clasp frame; the body hangs
// below it, `width` wide and `height` deep.
void DrawPurse(QPainter& painter, QPointF top, qreal width, qreal height, const QColor& body);

// A four-pointed twinkle of the given outer radius.
void DrawSparkle(QPainter& painter, QPointF centre, qreal radius, const QColor& colour);

// A gold coin of the given radius flying off on little wings.
void DrawWingedCoin(QPainter& painter, QPointF centre, qreal radius);

}  // namespace h5

#endif  // H5KAKEI_PAINTER_FIGURES_H_
