// Starting programs, as ShellExecuteA does. Texts are ANSI (CP932) bytes and
// paths are Windows paths.
#ifndef H5KAKEI_PLATFORM_SHELL_H_
#define H5KAKEI_PLATFORM_SHELL_H_

#include <string_view>

namespace h5 {

class Shell {
 public:
  virtual ~Shell() = default;

  // Starts program with parameters (one argument) in directory; does not wait
  // for it. show is the Windows show command (9 = restore). Returns false when
  // the program could not be started (missing, not executable, a directory).
  virtual bool Execute(std::string_view verb, std::string_view program, std::string_view parameters,
                       std::string_view directory, int show) = 0;
};

}  // namespace h5

#endif  // H5KAKEI_PLATFORM_SHELL_H_
