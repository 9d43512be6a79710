// `h5kakei render`: the tile drawn by its Qt face into a PNG file.
#ifndef H5KAKEI_HOSTS_RENDER_COMMAND_H_
#define H5KAKEI_HOSTS_RENDER_COMMAND_H_

#include <string>
#include <vector>

#include "hosts/cli_options.h"

namespace h5 {

// Draws the tile with Qt (h5kakei-render). Exit status 0 when the file was
// written.
int RunRender(const CliOptions& options);

// Replaces this process by h5kakei-render beside it, given args (the
// command line without the program name). Returns only when that fails, with
// the exit status after saying why.
int LaunchRender(const std::vector<std::string>& args);

}  // namespace h5

#endif  // H5KAKEI_HOSTS_RENDER_COMMAND_H_
