// The screen of the Windows desktop.
#ifndef H5KAKEI_PLATFORM_WIN32_WIN32_SCREEN_H_
#define H5KAKEI_PLATFORM_WIN32_WIN32_SCREEN_H_

#include "platform/screen.h"

namespace h5 {

class Win32Screen : public Screen {
 public:
  // 1440 / GetDeviceCaps(LOGPIXELSX) of the screen; 15 (96 dpi) when the
  // screen cannot be asked.
  float TwipsPerPixelX() override;
};

}  // namespace h5

#endif  // H5KAKEI_PLATFORM_WIN32_WIN32_SCREEN_H_
