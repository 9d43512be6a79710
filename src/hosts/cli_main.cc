// h5kakei: the tile on the command line, and the tools that write and read
// account books.
#include <iostream>
#include <string>
#include <vector>

#include "control/frm_kakei.h"
#include "control/tile_surface.h"
#include "hosts/cli_options.h"
#include "hosts/machine_commands.h"
#include "hosts/report.h"
#include "hosts/session.h"
#include "tools/book_tool.h"

namespace h5 {
namespace {

int RunTile(const CliOptions& options, bool click) {
  std::string error;
  if (!CheckMachine(options, &error)) return Fail(error);
  SessionOptions session_options = options.session;
  if (!options.twips_given) session_options.twips_per_pixel = ScreenTwipsPerPixel();
  Session session(session_options);
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

int RunDump(const CliOptions& options) {
  if (options.positionals.size() != 1) return Fail("usage: h5kakei dump FILE [--json]");
  std::string error;
  bool ok = DumpDataFile(options.positionals[0], options.json, std::cout, &error);
  return ok ? 0 : Fail(error);
}

int Run(const std::vector<std::string>& args) {
  std::string error;
  std::optional<CliOptions> options = ParseCli(args, &error);
  if (!options) {
    std::cerr << "h5kakei: " << error << "\n" << kUsage;
    return kCliUsageError;
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
  if (command == "render") return RunRenderCommand(*options, args);
  if (command == "book") return RunBook(*options);
  if (command == "sample") return RunSample(*options);
  if (command == "dump") return RunDump(*options);
  std::cerr << "h5kakei: unknown command " << command << "\n" << kUsage;
  return kCliUsageError;
}

}  // namespace
}  // namespace h5

int main(int argc, char** argv) {
  try {
    h5::UseBinaryOutput();
    std::vector<std::string> args(argv + 1, argv + argc);
    return h5::Run(args);
  } catch (const std::exception& e) {
    std::cerr << "h5kakei: " << e.what() << "\n";
    return 1;
  }
}
