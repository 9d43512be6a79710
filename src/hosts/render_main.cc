// h5kakei-render: the Qt half of `h5kakei render`, kept apart so that every
// other command of h5kakei starts without loading Qt. h5kakei checks the
// arguments and hands them over unchanged.
#include <iostream>
#include <string>
#include <vector>

#include "hosts/cli_options.h"
#include "hosts/render_command.h"

int main(int argc, char** argv) {
  std::vector<std::string> args(argv + 1, argv + argc);
  std::string error;
  std::optional<h5::CliOptions> options = h5::ParseCli(args, &error);
  if (!options || options->command != "render" || options->out.empty()) {
    std::cerr << "h5kakei-render: run it as h5kakei render --out FILE.png [options]\n";
    return 2;
  }
  try {
    return h5::RunRender(*options);
  } catch (const std::exception& e) {
    std::cerr << "h5kakei: " << e.what() << "\n";
    return 1;
  }
}
