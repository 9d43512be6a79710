#include "run_process.h"

#include <sys/wait.h>

#include <cstdlib>

#include "scratch.h"

namespace h5 {

std::string ShellQuoted(const std::string& word) {
  std::string text = "'";
  for (char c : word) text += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return text + "'";
}

ProcessResult RunProcess(const std::vector<std::string>& argv,
                         const std::vector<std::string>& extra_env) {
  ScratchDir dir;
  std::string command = "env";
  for (const std::string& word : extra_env) command += " " + ShellQuoted(word);
  for (const std::string& word : argv) command += " " + ShellQuoted(word);
  command +=
      " </dev/null >" + ShellQuoted(dir.path() / "out") + " 2>" + ShellQuoted(dir.path() / "err");
  int status = std::system(command.c_str());
  return {WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status), dir.Read("out"),
          dir.Read("err")};
}

}  // namespace h5
