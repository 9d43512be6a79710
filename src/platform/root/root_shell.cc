#include "platform/root/root_shell.h"

#include <errno.h>
#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <string.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <string>
#include <system_error>
#include <thread>
#include <vector>

#include "platform/root/ansi_scan.h"
#include "platform/root/path_map.h"
#include "text/ansi.h"

extern char** environ;

namespace h5 {
namespace {

namespace fs = std::filesystem;

constexpr std::string_view kRootVariable = "H5KAKEI_ROOT=";

bool IsExecutableFile(const fs::path& path) {
  struct stat st;
  return ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode) && ::access(path.c_str(), X_OK) == 0;
}

// The caller's environment with H5KAKEI_ROOT replaced by root.
std::vector<std::string> ChildEnvironment(const fs::path& root) {
  std::vector<std::string> variables;
  for (char** entry = environ; entry != nullptr && *entry != nullptr; ++entry) {
    if (std::string_view(*entry).substr(0, kRootVariable.size()) != kRootVariable) {
      variables.emplace_back(*entry);
    }
  }
  variables.push_back(std::string(kRootVariable) + root.string());
  return variables;
}

std::vector<char*> Pointers(std::vector<std::string>& texts) {
  std::vector<char*> pointers;
  pointers.reserve(texts.size() + 1);
  for (std::string& text : texts) pointers.push_back(text.data());
  pointers.push_back(nullptr);
  return pointers;
}

// Signals a host may ignore; ignored signals would stay ignored in the child.
constexpr int kSignalsToReset[] = {SIGPIPE, SIGINT,  SIGQUIT, SIGHUP,  SIGTERM,
                                   SIGCHLD, SIGXFSZ, SIGTSTP, SIGTTIN, SIGTTOU};

pid_t Spawn(const fs::path& program, const fs::path& directory, std::vector<std::string>& argv,
            std::vector<std::string>& environment) {
  posix_spawn_file_actions_t actions;
  posix_spawnattr_t attributes;
  if (posix_spawn_file_actions_init(&actions) != 0) return -1;
  if (posix_spawnattr_init(&attributes) != 0) {
    posix_spawn_file_actions_destroy(&actions);
    return -1;
  }
  sigset_t empty, reset;
  sigemptyset(&empty);
  sigemptyset(&reset);
  for (int signal : kSignalsToReset) sigaddset(&reset, signal);
  bool ready =
      posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0) == 0 &&
      posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0) == 0 &&
      posix_spawn_file_actions_addclosefrom_np(&actions, 3) == 0 &&
      posix_spawn_file_actions_addchdir_np(&actions, directory.c_str()) == 0 &&
      posix_spawnattr_setsigmask(&attributes, &empty) == 0 &&
      posix_spawnattr_setsigdefault(&attributes, &reset) == 0 &&
      posix_spawnattr_setflags(
          &attributes, POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF | POSIX_SPAWN_SETSID) == 0;
  pid_t pid = -1;
  if (ready) {
    std::vector<char*> argv_pointers = Pointers(argv);
    std::vector<char*> environment_pointers = Pointers(environment);
    if (posix_spawn(&pid, program.c_str(), &actions, &attributes, argv_pointers.data(),
                    environment_pointers.data()) != 0) {
      pid = -1;
    }
  }
  posix_spawnattr_destroy(&attributes);
  posix_spawn_file_actions_destroy(&actions);
  return pid;
}

void ReapLater(pid_t pid) {
  try {
    std::thread([pid] {
      while (::waitpid(pid, nullptr, 0) < 0 && errno == EINTR) {
      }
    }).detach();
  } catch (const std::system_error&) {
    // No thread to wait with: the child stays a zombie until the host exits.
    ::waitpid(pid, nullptr, WNOHANG);
  }
}

}  // namespace

RootShell::RootShell(const fs::path& root) : root_(NormalizeRoot(root)) {}

bool RootShell::Execute(std::string_view verb, std::string_view program,
                        std::string_view parameters, std::string_view directory, int /*show*/) {
  verb = UpToNul(verb);
  if (!verb.empty() && !EqualsIgnoringAsciiCaseAnsi(verb, "open")) return false;

  std::optional<fs::path> program_path = MapWindowsPath(root_, program);
  if (!program_path || !IsExecutableFile(*program_path)) return false;

  directory = UpToNul(directory);
  std::optional<fs::path> work_dir =
      directory.empty() ? program_path->parent_path() : MapWindowsPath(root_, directory);
  std::error_code ec;
  if (!work_dir || !fs::is_directory(*work_dir, ec)) return false;

  std::vector<std::string> argv{program_path->string()};
  std::string arguments = FromAnsi(UpToNul(parameters));
  if (!arguments.empty()) argv.push_back(std::move(arguments));
  std::vector<std::string> environment = ChildEnvironment(root_);

  pid_t pid = Spawn(*program_path, *work_dir, argv, environment);
  if (pid <= 0) return false;
  ReapLater(pid);
  return true;
}

}  // namespace h5
