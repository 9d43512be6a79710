#include "hosts/render_command.h"

#include <QApplication>
#include <QPixmap>
#include <iostream>

#include "control/frm_kakei.h"
#include "hosts/report.h"
#include "qt/tile_widget.h"

namespace h5 {

int RunRender(const CliOptions& options) {
  // Drawing needs no display.
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  int argc = 1;
  char name[] = "h5kakei";
  char* argv[] = {name, nullptr};
  QApplication app(argc, argv);

  Session session(options.session);
  session.Start();
  TileWidget tile(options.session.twips_per_pixel);
  FrmKakei control(tile);
  QPixmap image = tile.grab();
  if (!image.save(QString::fromStdString(options.out), "PNG")) {
    std::cerr << "h5kakei: cannot write " << options.out << "\n";
    return 2;
  }
  std::cout << "wrote " << options.out << " (" << image.width() << " x " << image.height()
            << " pixels, level " << control.DiagnosisLevel() << ", picture "
            << tile.picture_number() << ")\n";
  return 0;
}

}  // namespace h5
