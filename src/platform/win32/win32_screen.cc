#include "platform/win32/win32_screen.h"

#include <windows.h>

namespace h5 {

float Win32Screen::TwipsPerPixelX() {
  constexpr float kTwipsPerInch = 1440.0f;
  HDC screen = GetDC(nullptr);
  const int dpi = screen ? GetDeviceCaps(screen, LOGPIXELSX) : 0;
  if (screen) ReleaseDC(nullptr, screen);
  return dpi > 0 ? kTwipsPerInch / static_cast<float>(dpi) : 15.0f;
}

}  // namespace h5
