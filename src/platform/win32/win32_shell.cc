#include "platform/win32/win32_shell.h"

#include <windows.h>
// shellapi.h needs windows.h first.
#include <shellapi.h>

#include <string>

namespace h5 {

bool Win32Shell::Execute(std::string_view verb, std::string_view program,
                         std::string_view parameters, std::string_view directory, int show) {
  const std::string verb_text(verb), program_text(program), parameters_text(parameters),
      directory_text(directory);
  HINSTANCE result = ShellExecuteA(nullptr, verb_text.empty() ? nullptr : verb_text.c_str(),
                                   program_text.c_str(), parameters_text.c_str(),
                                   directory_text.empty() ? nullptr : directory_text.c_str(), show);
  return reinterpret_cast<INT_PTR>(result) > 32;
}

}  // namespace h5
