// h5kakei-paint-artwork OUTDIR: paints the tile's artwork into OUTDIR:
// kekka1.png .. kekka6.png, hand_cursor.png, toolbox.bmp and the desktop
// icon h5kakei.png (from the best grade's picture), and for the Windows
// resources kekka1.bmp .. kekka6.bmp and hand_cursor.cur.

#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QString>
#include <cstdio>

#include "painter/app_icon.h"
#include "painter/hand_cursor.h"
#include "painter/illustration.h"
#include "painter/toolbox_bitmap.h"
#include "painter/windows_files.h"

namespace {

bool SaveImage(const QImage& image, const QString& path) {
  if (image.isNull() || !image.save(path, "PNG")) {
    std::fprintf(stderr, "h5kakei-paint-artwork: cannot write %s\n", qPrintable(path));
    return false;
  }
  return true;
}

bool SaveBytes(const std::string& bytes, const QString& path) {
  QFile file(path);
  if (bytes.empty() || !file.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
      file.write(bytes.data(), static_cast<qint64>(bytes.size())) !=
          static_cast<qint64>(bytes.size()) ||
      !file.flush()) {
    std::fprintf(stderr, "h5kakei-paint-artwork: cannot write %s\n", qPrintable(path));
    return false;
  }
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: h5kakei-paint-artwork OUTDIR\n");
    return 2;
  }
  // Painting needs fonts but no screen.
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication app(argc, argv);

  const QDir out(QString::fromLocal8Bit(argv[1]));
  if (!out.mkpath(".")) {
    std::fprintf(stderr, "h5kakei-paint-artwork: cannot create %s\n", argv[1]);
    return 1;
  }
  bool ok = true;
  for (int number = 1; number <= h5::kIllustrationCount; ++number) {
    const QImage picture = h5::PaintIllustration(number);
    ok &= SaveImage(picture, out.filePath(QString("kekka%1.png").arg(number)));
    ok &= SaveBytes(h5::EncodeBmp24(picture), out.filePath(QString("kekka%1.bmp").arg(number)));
  }
  ok &= SaveImage(h5::PaintAppIcon(h5::PaintIllustration(2)), out.filePath("h5kakei.png"));
  const QImage hand = h5::PaintHandCursor();
  ok &= SaveImage(hand, out.filePath("hand_cursor.png"));
  ok &= SaveBytes(h5::EncodeMonoCursor(hand, h5::kHandHotSpotX, h5::kHandHotSpotY),
                  out.filePath("hand_cursor.cur"));
  ok &= SaveBytes(h5::EncodeToolboxBitmap(), out.filePath("toolbox.bmp"));
  return ok ? 0 : 1;
}
