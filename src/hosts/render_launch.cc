// `h5kakei render` runs h5kakei-render, installed beside h5kakei, in its
// place: Qt's libraries load only for the command that draws.
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <iostream>

#include "hosts/render_command.h"

namespace h5 {

int LaunchRender(const std::vector<std::string>& args) {
  namespace fs = std::filesystem;
  std::error_code ec;
  fs::path self = fs::read_symlink("/proc/self/exe", ec);
  fs::path program = (ec ? fs::path() : self.parent_path()) / "h5kakei-render";
  std::vector<char*> argv;
  std::string name = program.string();
  argv.push_back(name.data());
  std::vector<std::string> copies = args;
  for (std::string& arg : copies) argv.push_back(arg.data());
  argv.push_back(nullptr);
  ::execv(name.c_str(), argv.data());
  std::cerr << "h5kakei: render needs " << name << ", the Qt face of the tile ("
            << std::strerror(errno) << "); it is built with H5_WITH_QT=ON\n";
  return 2;
}

}  // namespace h5
