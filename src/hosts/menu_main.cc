// h5kakei-menu: a small window standing for the suite's menu page, with the
// diagnosis tile on it. Usage: h5kakei-menu [--root DIR] [--today YYYY-MM-DD]
#include <QApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>
#include <QWidget>
#include <iostream>

#include "control/frm_kakei.h"
#include "hosts/cli_options.h"
#include "hosts/session.h"
#include "qt/qt_dialogs.h"
#include "qt/qt_screen.h"
#include "qt/tile_widget.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  std::vector<std::string> args{"menu"};
  for (int i = 1; i < argc; ++i) args.emplace_back(argv[i]);
  std::string error;
  std::optional<h5::CliOptions> options = h5::ParseCli(args, &error);
  if (!options || !options->positionals.empty() || options->command == "help") {
    std::cerr << (options ? "" : "h5kakei-menu: " + error + "\n")
              << "usage: h5kakei-menu [--root DIR] [--today YYYY-MM-DD]\n";
    return options && options->command == "help" ? 0 : 2;
  }
  if (options->session.root.empty()) {
    std::cerr << "h5kakei-menu: no environment root: give --root DIR or set H5KAKEI_ROOT\n";
    return 2;
  }

  QWidget window;
  window.setWindowTitle(QStringLiteral("ひだまり家庭帳５ メニュー"));
  auto* layout = new QVBoxLayout(&window);
  auto* heading = new QLabel(QStringLiteral("ひだまり家庭帳５"), &window);
  QFont big = heading->font();
  big.setPointSizeF(big.pointSizeF() * 1.5);
  heading->setFont(big);
  layout->addWidget(heading);
  auto* row = new QHBoxLayout();
  layout->addLayout(row);

  h5::QtDialogs dialogs(&window);
  h5::QtScreen screen;
  options->session.twips_per_pixel = screen.TwipsPerPixelX();
  h5::Session session(options->session, &dialogs);
  session.Start();
  auto* tile = new h5::TileWidget(options->session.twips_per_pixel, &window);
  h5::FrmKakei control(*tile);
  tile->SetClickHandler([&control] { control.Click(); });
  row->addWidget(tile);
  row->addStretch();
  layout->addStretch();
  window.resize(420, 260);
  window.show();
  return app.exec();
}
