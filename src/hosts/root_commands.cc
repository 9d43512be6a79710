// The machine-dependent commands on Linux, where the machine is a root.
#include <filesystem>
#include <iostream>

#include "hosts/machine_commands.h"
#include "hosts/render_command.h"
#include "platform/root/local_date.h"
#include "tools/book_tool.h"

namespace h5 {

void UseBinaryOutput() {}

float ScreenTwipsPerPixel() { return 15.0f; }

// The root of commands that read one: it must be an existing directory.
bool CheckMachine(const CliOptions& options, std::string* error) {
  const std::filesystem::path& root = options.session.root;
  if (root.empty()) {
    *error = "no environment root: give --root DIR or set H5KAKEI_ROOT";
    return false;
  }
  std::error_code ec;
  if (!std::filesystem::is_directory(root, ec)) {
    *error = "environment root " + root.string() + " is not a directory";
    return false;
  }
  return true;
}

int RunRenderCommand(const CliOptions& options, const std::vector<std::string>& args) {
  if (options.out.empty()) return Fail("render needs --out FILE.png");
  std::string error;
  if (!CheckMachine(options, &error)) return Fail(error);
  return LaunchRender(args);
}

int RunBook(const CliOptions& options) {
  if (options.positionals.size() != 2 || options.positionals[0] != "build") {
    return Fail("usage: h5kakei book build BOOK.json --root DIR");
  }
  if (!options.root_given) return Fail("book build needs --root DIR");
  std::string error;
  if (!BuildBookFile(options.positionals[1], options.session.root, &error)) return Fail(error);
  std::cout << "wrote " << options.session.root.string() << "\n";
  return 0;
}

int RunSample(const CliOptions& options) {
  if (!options.root_given) return Fail("sample needs --root DIR");
  if (options.install)
    return Fail("--install is for h5kakei.exe on Windows; a root holds its settings");
  if (!options.positionals.empty()) return Fail("sample takes no arguments besides its options");
  std::chrono::year_month_day today = options.session.today ? *options.session.today : LocalDate();
  std::string error;
  if (!BuildSampleRoot(options.session.root, today, &error)) return Fail(error);
  std::cout << "wrote a demo account book to " << options.session.root.string() << "\n";
  return 0;
}

}  // namespace h5
