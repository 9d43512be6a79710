// h5-launch-log.exe: a stand-in for a program the tile starts. Appends one
// line, its parameters and working directory separated by a tab, to
// launch.log beside itself, in the form the Linux stand-in writes.
#include <windows.h>

#include <cstdio>
#include <string>

namespace {

// The command line after the program's own name, as the starter passed it.
std::string Parameters() {
  const char* line = GetCommandLineA();
  bool quoted = false;
  for (; *line != '\0'; ++line) {
    if (*line == '"') quoted = !quoted;
    if (!quoted && (*line == ' ' || *line == '\t')) break;
  }
  while (*line == ' ' || *line == '\t') ++line;
  return line;
}

}  // namespace

int main() {
  char module[MAX_PATH];
  DWORD length = GetModuleFileNameA(nullptr, module, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return 1;
  std::string log(module, length);
  log.erase(log.find_last_of('\\') + 1);
  log += "launch.log";
  char directory[MAX_PATH];
  DWORD dir_length = GetCurrentDirectoryA(MAX_PATH, directory);
  if (dir_length == 0 || dir_length >= MAX_PATH) return 1;
  FILE* out = std::fopen(log.c_str(), "ab");
  if (out == nullptr) return 1;
  std::fprintf(out, "%s\t%s\n", Parameters().c_str(), directory);
  return std::fclose(out) == 0 ? 0 : 1;
}
