// h5kakei: the tile on the command line, and the tools that write and read
// account books.
#include <filesystem>
#include <iostream>
#include <string>
#include <vector>

#include "control/frm_kakei.h"
#include "control/tile_surface.h"
#include "hosts/cli_options.h"
#include "hosts/render_command.h"
#include "hosts/report.h"
#include "hosts/session.h"
#include "platform/root/root_environment.h"
#include "tools/book_builder.h"
#include "tools/dump.h"
#include "tools/sample.h"

namespace h5 {
namespace {

constexpr int kUsageError = 2;

int Fail(const std::string& message) {
  std::cerr << "h5kakei: " << message << "\n";
  return kUsageError;
}

// The root of commands that read one: it must be an existing directory.
bool CheckRoot(const CliOptions& options, std::string* error) {
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

int RunTile(const CliOptions& options, bool click) {
  std::string error;
  if (!CheckRoot(options, &error)) return Fail(error);
  Session session(options.session);
  session.Start();
  RecordingSurface surface;
  FrmKakei control(surface);
  if (click) control.Click();
  nlohmann::json report = DiagnosisReport(control, surface, session.messages());
  if (click) report["launch"] = LaunchReport(session.launches());
  if (options.json) {
    std::cout << report.dump(2) << "\n";
    return 0;
  }
  std::cout << DiagnosisText(report);
  if (click) {
    const nlohmann::json& launch = report["launch"];
    if (launch.is_null()) {
      std::cout << "launch: none\n";
    } else {
      std::cout << "launch: " << launch["program"].get<std::string>() << " "
                << launch["parameters"].get<std::string>() << " in "
                << launch["directory"].get<std::string>()
                << (launch["ok"].get<bool>() ? " (started)" : " (could not be started)") << "\n";
    }
  }
  return 0;
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
  if (!options.positionals.empty()) return Fail("sample takes no arguments besides its options");
  std::chrono::year_month_day today = options.session.today ? *options.session.today : LocalToday();
  std::string error;
  if (!BuildSampleRoot(options.session.root, today, &error)) return Fail(error);
  std::cout << "wrote a demo account book to " << options.session.root.string() << "\n";
  return 0;
}

int RunDump(const CliOptions& options) {
  if (options.positionals.size() != 1) return Fail("usage: h5kakei dump FILE [--json]");
  std::string error;
  bool ok = options.json ? DumpDataFileJson(options.positionals[0], std::cout, &error)
                         : DumpDataFile(options.positionals[0], std::cout, &error);
  return ok ? 0 : Fail(error);
}

int Run(const std::vector<std::string>& args) {
  std::string error;
  std::optional<CliOptions> options = ParseCli(args, &error);
  if (!options) {
    std::cerr << "h5kakei: " << error << "\n" << kUsage;
    return kUsageError;
  }
  const std::string& command = options->command;
  if (command == "help") {
    std::cout << kUsage;
    return 0;
  }
  if (command == "diagnose" || command == "click") {
    if (!options->positionals.empty()) return Fail(command + " takes no arguments");
    return RunTile(*options, command == "click");
  }
  if (command == "render") {
    if (options->out.empty()) return Fail("render needs --out FILE.png");
    if (!CheckRoot(*options, &error)) return Fail(error);
    return LaunchRender(args);
  }
  if (command == "book") return RunBook(*options);
  if (command == "sample") return RunSample(*options);
  if (command == "dump") return RunDump(*options);
  std::cerr << "h5kakei: unknown command " << command << "\n" << kUsage;
  return kUsageError;
}

}  // namespace
}  // namespace h5

int main(int argc, char** argv) {
  try {
    std::vector<std::string> args(argv + 1, argv + argc);
    return h5::Run(args);
  } catch (const std::exception& e) {
    std::cerr << "h5kakei: " << e.what() << "\n";
    return 1;
  }
}
