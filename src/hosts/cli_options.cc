#include "hosts/cli_options.h"

#include <charconv>
#include <cmath>
#include <iostream>

#include "hosts/machine_commands.h"

#include "text/day_number.h"

namespace h5 {

int Fail(const std::string& message) {
  std::cerr << "h5kakei: " << message << "\n";
  return kCliUsageError;
}

const char kUsage[] =
    "usage: h5kakei COMMAND [options]\n"
    "\n"
    "commands:\n"
    "  diagnose [--root DIR] [--today YYYY-MM-DD] [--twips-per-pixel N] [--answer A]... [--json]\n"
    "      runs start-up and creates the tile; prints what it shows and every message box\n"
    "  click [same options]\n"
    "      creates the tile, then clicks it: kitchen-timer question, launch of the account book\n"
    "  render --out FILE.png [same options]\n"
    "      draws the tile as the Qt face shows it\n"
    "  book build BOOK.json --root DIR\n"
    "      writes an environment root from a book description\n"
    "  sample --root DIR [--today YYYY-MM-DD]\n"
    "      writes a demo root whose book year contains that day (default today)\n"
    "  dump FILE [--json]\n"
    "      prints the key definitions and records of a data file\n"
    "\n"
    "--answer takes ok, cancel, yes or no and answers the message boxes in order; a box with\n"
    "no answer left is closed (OK, Cancel or No). The root defaults to $H5KAKEI_ROOT.\n"
    "h5kakei.exe on Windows reads the machine itself (no --root), writes the demo with\n"
    "sample FOLDER [--install] (--install also sets the registry and WIN.INI to it),\n"
    "and has no render or book.\n";

std::optional<CliOptions> ParseCli(const std::vector<std::string>& args, std::string* error) {
  CliOptions options;
  if (args.empty()) {
    *error = "no command given";
    return std::nullopt;
  }
  options.command = args[0];
  if (options.command == "--help" || options.command == "-h") options.command = "help";
  for (size_t i = 1; i < args.size(); ++i) {
    const std::string& arg = args[i];
    auto value = [&](std::string* out) {
      if (i + 1 >= args.size()) {
        *error = arg + " needs a value";
        return false;
      }
      *out = args[++i];
      return true;
    };
    std::string v;
    if (arg == "--root") {
      if (!value(&v)) return std::nullopt;
      if (v.empty()) {
        *error = "--root needs a directory";
        return std::nullopt;
      }
      options.session.root = v;
      options.root_given = true;
    } else if (arg == "--today") {
      if (!value(&v)) return std::nullopt;
      options.session.today = ParseIsoDate(v);
      if (!options.session.today) {
        *error = "--today wants a date as YYYY-MM-DD, not '" + v + "'";
        return std::nullopt;
      }
    } else if (arg == "--twips-per-pixel") {
      if (!value(&v)) return std::nullopt;
      float twips = 0;
      auto [ptr, ec] = std::from_chars(v.data(), v.data() + v.size(), twips);
      if (ec != std::errc() || ptr != v.data() + v.size() || !(twips > 0) || twips > 1440) {
        *error = "--twips-per-pixel wants a number above 0 (15 at 96 dpi), not '" + v + "'";
        return std::nullopt;
      }
      options.session.twips_per_pixel = twips;
      options.twips_given = true;
    } else if (arg == "--answer") {
      if (!value(&v)) return std::nullopt;
      std::optional<Answer> answer = ParseAnswer(v);
      if (!answer) {
        *error = "--answer takes ok, cancel, yes or no, not '" + v + "'";
        return std::nullopt;
      }
      options.session.answers.push_back(*answer);
    } else if (arg == "--install") {
      options.install = true;
    } else if (arg == "--json") {
      options.json = true;
    } else if (arg == "--out") {
      if (!value(&options.out)) return std::nullopt;
    } else if (arg == "--help" || arg == "-h") {
      options.command = "help";
    } else if (!arg.empty() && arg[0] == '-') {
      *error = "unknown option " + arg;
      return std::nullopt;
    } else {
      options.positionals.push_back(arg);
    }
  }
  if (!options.root_given) options.session.root = RootFromEnvironment();
  return options;
}

}  // namespace h5
