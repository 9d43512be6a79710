// Where h5kakei-menu keeps its account book when it is given none, and its
// --help text.
#ifndef H5KAKEI_HOSTS_MENU_ROOT_H_
#define H5KAKEI_HOSTS_MENU_ROOT_H_

#include <filesystem>

namespace h5 {

// $XDG_DATA_HOME/h5kakei/root, else $HOME/.local/share/h5kakei/root, from
// the two variables' values (nullptr when unset). A relative XDG_DATA_HOME
// is ignored, as the XDG base-directory rules say. Empty when neither helps.
std::filesystem::path DefaultMenuRoot(const char* xdg_data_home, const char* home);

extern const char kMenuUsage[];

}  // namespace h5

#endif  // H5KAKEI_HOSTS_MENU_ROOT_H_
