// Starting programs of an environment root, as ShellExecuteA with the verb
// "open" starts an executable. The program is the file its Windows path maps
// to (see path_map.h), started directly with posix_spawn, never through a
// shell:
//
//   argv        { mapped program path, parameters }  (no second argument when
//               parameters is empty; parameters converted to UTF-8)
//   directory   the mapped directory (the program's own folder when empty)
//   environment the caller's, with H5KAKEI_ROOT=<root>
//   stdin/out   /dev/null, as a program started from a window has no console;
//               stderr is inherited so a failing stand-in can be diagnosed
//   session     a new one, so signals meant for the host do not reach it
//
// The launch does not wait. A detached thread per launch waits for the child
// so that it never lingers as a zombie; a host must therefore not reap
// children it did not start (waitpid(-1, ...)).
#ifndef H5KAKEI_PLATFORM_ROOT_ROOT_SHELL_H_
#define H5KAKEI_PLATFORM_ROOT_ROOT_SHELL_H_

#include <filesystem>

#include "platform/shell.h"

namespace h5 {

class RootShell : public Shell {
 public:
  // root is made absolute; it need not exist.
  explicit RootShell(const std::filesystem::path& root);

  // verb must be "open" in any letter case, or empty (the default verb).
  // False, before anything is started, for another verb, a program that is
  // missing, a directory, or not executable, and for a directory that does
  // not exist; false too when the spawn itself fails. show is not used:
  // there are no windows to show.
  bool Execute(std::string_view verb, std::string_view program, std::string_view parameters,
               std::string_view directory, int show) override;

 private:
  std::filesystem::path root_;
};

}  // namespace h5

#endif  // H5KAKEI_PLATFORM_ROOT_ROOT_SHELL_H_
