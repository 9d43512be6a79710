// Runs a program to its end and collects what it printed.
#ifndef H5KAKEI_TESTS_SUPPORT_RUN_PROCESS_H_
#define H5KAKEI_TESTS_SUPPORT_RUN_PROCESS_H_

#include <string>
#include <vector>

namespace h5 {

struct ProcessResult {
  int exit_code = -1;
  std::string out, err;
};

std::string ShellQuoted(const std::string& word);  // in single quotes, for sh
// argv[0] is the program's path. extra_env entries are "NAME=value".
ProcessResult RunProcess(const std::vector<std::string>& argv,
                         const std::vector<std::string>& extra_env = {});

}  // namespace h5

#endif  // H5KAKEI_TESTS_SUPPORT_RUN_PROCESS_H_
