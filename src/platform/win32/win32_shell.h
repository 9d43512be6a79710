// Starting programs with ShellExecuteA, no owner window.
#ifndef H5KAKEI_PLATFORM_WIN32_WIN32_SHELL_H_
#define H5KAKEI_PLATFORM_WIN32_WIN32_SHELL_H_

#include "platform/shell.h"

namespace h5 {

class Win32Shell : public Shell {
 public:
  // Success is a result above 32, as ShellExecuteA reports it. An empty verb
  // or directory is passed as NULL (the default verb, the current folder).
  bool Execute(std::string_view verb, std::string_view program, std::string_view parameters,
               std::string_view directory, int show) override;
};

}  // namespace h5

#endif  // H5KAKEI_PLATFORM_WIN32_WIN32_SHELL_H_
