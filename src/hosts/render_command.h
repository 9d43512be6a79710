// `h5kakei render`: the tile drawn by its Qt face into a PNG file.
#ifndef H5KAKEI_HOSTS_RENDER_COMMAND_H_
#define H5KAKEI_HOSTS_RENDER_COMMAND_H_

#include "hosts/cli_options.h"

namespace h5 {

// Exit status 0 when the file was written.
int RunRender(const CliOptions& options);

}  // namespace h5

#endif  // H5KAKEI_HOSTS_RENDER_COMMAND_H_
