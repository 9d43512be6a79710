// The screen's density as Qt reports it.
#ifndef H5KAKEI_QT_QT_SCREEN_H_
#define H5KAKEI_QT_QT_SCREEN_H_

#include <QGuiApplication>
#include <QScreen>

#include "platform/screen.h"

namespace h5 {

class QtScreen : public Screen {
 public:
  // 1440 twips an inch over the primary screen's logical dots per inch.
  float TwipsPerPixelX() override {
    QScreen* screen = QGuiApplication::primaryScreen();
    double dpi = screen ? screen->logicalDotsPerInchX() : 96.0;
    return dpi > 0 ? static_cast<float>(1440.0 / dpi) : 15.0f;
  }
};

}  // namespace h5

#endif  // H5KAKEI_QT_QT_SCREEN_H_
