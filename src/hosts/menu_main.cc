// h5kakei-menu: a small window standing for the suite's menu page, with the
// diagnosis tile on it. Usage: h5kakei-menu [--root DIR] [--today YYYY-MM-DD]
#include <QApplication>
#include <QHBoxLayout>
#include <QIcon>
#include <QLabel>
#include <QMessageBox>
#include <QVBoxLayout>
#include <QWidget>
#include <cstdlib>
#include <cstring>
#include <iostream>

#include "control/frm_kakei.h"
#include "hosts/cli_options.h"
#include "hosts/menu_root.h"
#include "hosts/session.h"
#include "platform/root/local_date.h"
#include "qt/qt_dialogs.h"
#include "qt/qt_screen.h"
#include "qt/tile_widget.h"
#include "tools/book_tool.h"

namespace {

constexpr int kUsageError = 2;

// The default root is ours to fill, after asking; a root the user named must
// already hold a book. Returns the exit status when the window must not open.
std::optional<int> EnsureRoot(const h5::CliOptions& options, bool is_default) {
  const std::filesystem::path& root = options.session.root;
  std::error_code ec;
  if (std::filesystem::is_directory(root, ec)) return std::nullopt;
  if (!is_default) {
    std::cerr << "h5kakei-menu: environment root " << root.string() << " is not a directory\n";
    return kUsageError;
  }
  const QString where = QString::fromStdString(root.string());
  QMessageBox::StandardButton answer = QMessageBox::question(
      nullptr, QStringLiteral("H5Kakei"),
      QStringLiteral("There is no account book in %1 yet.\n\n"
                     "Write the demo account book there, the one that h5kakei sample writes?\n"
                     "No closes the program; start it with --root DIR to open another book.")
          .arg(where));
  if (answer != QMessageBox::Yes) {
    std::cerr << "h5kakei-menu: no account book in " << root.string()
              << "; nothing written. Write the demo with `h5kakei sample --root " << root.string()
              << "` or start with --root DIR.\n";
    return 1;
  }
  std::string error;
  if (!h5::BuildSampleRoot(root, options.session.today.value_or(h5::LocalDate()), &error)) {
    std::cerr << "h5kakei-menu: " << error << "\n";
    QMessageBox::critical(nullptr, QStringLiteral("H5Kakei"),
                          QStringLiteral("The demo account book could not be written:\n%1")
                              .arg(QString::fromStdString(error)));
    return 1;
  }
  return std::nullopt;
}

}  // namespace

int main(int argc, char** argv) {
  // Help needs no display, so it comes before Qt connects to one.
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--help") == 0 || std::strcmp(argv[i], "-h") == 0) {
      std::cout << h5::kMenuUsage;
      return 0;
    }
  }
  QApplication app(argc, argv);
  QApplication::setDesktopFileName(QStringLiteral("h5kakei-menu"));
  QApplication::setWindowIcon(QIcon::fromTheme(QStringLiteral("h5kakei")));
  std::vector<std::string> args{"menu"};
  for (int i = 1; i < argc; ++i) args.emplace_back(argv[i]);
  std::string error;
  std::optional<h5::CliOptions> options = h5::ParseCli(args, &error);
  if (!options || !options->positionals.empty()) {
    std::cerr << "h5kakei-menu: "
              << (options ? "unexpected argument " + options->positionals[0] : error) << "\n"
              << h5::kMenuUsage;
    return kUsageError;
  }
  const bool is_default = options->session.root.empty();
  if (is_default) {
    options->session.root = h5::DefaultMenuRoot(std::getenv("XDG_DATA_HOME"), std::getenv("HOME"));
  }
  if (options->session.root.empty()) {
    std::cerr << "h5kakei-menu: no environment root: give --root DIR, set H5KAKEI_ROOT, or set "
                 "HOME for the default one\n";
    return kUsageError;
  }
  if (std::optional<int> status = EnsureRoot(*options, is_default)) return *status;

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
