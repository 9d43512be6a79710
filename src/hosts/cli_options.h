// The command line of h5kakei, parsed.
#ifndef H5KAKEI_HOSTS_CLI_OPTIONS_H_
#define H5KAKEI_HOSTS_CLI_OPTIONS_H_

#include <chrono>
#include <optional>
#include <string>
#include <vector>

#include "hosts/session.h"

namespace h5 {

struct CliOptions {
  std::string command;                   // diagnose, click, render, book, sample, dump, help
  std::vector<std::string> positionals;  // after the command
  SessionOptions session;
  bool root_given = false;
  bool twips_given = false;
  bool install = false;  // sample on Windows: also set the suite's settings
  bool json = false;
  std::string out;  // render --out
};

// Parses argv (without the program name). nullopt with *error set on bad
// usage. The root falls back to H5KAKEI_ROOT.
std::optional<CliOptions> ParseCli(const std::vector<std::string>& args, std::string* error);

extern const char kUsage[];

}  // namespace h5

#endif  // H5KAKEI_HOSTS_CLI_OPTIONS_H_
