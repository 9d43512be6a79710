// The screen the tile is drawn on.
#ifndef H5KAKEI_PLATFORM_SCREEN_H_
#define H5KAKEI_PLATFORM_SCREEN_H_

namespace h5 {

class Screen {
 public:
  virtual ~Screen() = default;

  // Horizontal twips (1/1440 inch) per pixel: 15 at 96 dpi, 12 at 120 dpi.
  virtual float TwipsPerPixelX() = 0;
};

}  // namespace h5

#endif  // H5KAKEI_PLATFORM_SCREEN_H_
