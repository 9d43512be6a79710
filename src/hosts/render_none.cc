// Built without Qt: there is no face to draw the tile with.
#include <iostream>

#include "hosts/render_command.h"

namespace h5 {

int RunRender(const CliOptions& /*options*/) {
  std::cerr << "h5kakei: render needs the Qt face; this build has none (H5_WITH_QT=OFF)\n";
  return 2;
}

}  // namespace h5
