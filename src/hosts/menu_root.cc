#include "hosts/menu_root.h"

namespace h5 {

const char kMenuUsage[] =
    "usage: h5kakei-menu [--root DIR] [--today YYYY-MM-DD]\n"
    "\n"
    "Opens a window standing for the suite's menu page, with the household-budget\n"
    "diagnosis tile on it; a click on the tile starts the account book.\n"
    "\n"
    "options:\n"
    "  --root DIR          the environment root to read (default $H5KAKEI_ROOT, else\n"
    "                      $XDG_DATA_HOME/h5kakei/root, else ~/.local/share/h5kakei/root)\n"
    "  --today YYYY-MM-DD  the day to diagnose (default today)\n"
    "  -h, --help          print this help and exit\n"
    "\n"
    "When the default root does not exist yet, h5kakei-menu offers to write the demo\n"
    "account book of `h5kakei sample` there; on No it writes nothing and exits.\n";

std::filesystem::path DefaultMenuRoot(const char* xdg_data_home, const char* home) {
  std::filesystem::path base;
  if (xdg_data_home && std::filesystem::path(xdg_data_home).is_absolute()) {
    base = xdg_data_home;
  } else if (home && *home) {
    base = std::filesystem::path(home) / ".local" / "share";
  } else {
    return {};
  }
  return base / "h5kakei" / "root";
}

}  // namespace h5
