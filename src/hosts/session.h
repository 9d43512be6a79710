// One host thread's library, wired to a machine: the adapters of every port,
// start-up run once, then controls. On Linux the machine is an environment
// root; on Windows it is the machine itself.
#ifndef H5KAKEI_HOSTS_SESSION_H_
#define H5KAKEI_HOSTS_SESSION_H_

#include <chrono>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "hosts/scripted_dialogs.h"
#include "platform/ports.h"

namespace h5 {

// What a launch through the shell asked for and how it went.
struct LaunchRecord {
  std::string program, parameters, directory;  // UTF-8
  int show = 0;
  bool ok = false;
};

struct SessionOptions {
  std::filesystem::path root;  // not used on Windows
  std::optional<std::chrono::year_month_day> today;
  float twips_per_pixel = 15.0f;
  std::vector<Answer> answers;
};

// The adapters of the ports that reach the machine.
struct Machine {
  std::unique_ptr<Environment> environment;
  std::unique_ptr<CookieStore> cookies;
  std::unique_ptr<Shell> shell;
  std::unique_ptr<RecordManager> records;
};

// This system's machine for options: root_machine.cc on Linux (the root
// directory), win32_machine.cc on Windows (native calls, today from
// options.today when set).
Machine MakeMachine(const SessionOptions& options);

class Session {
 public:
  // dialogs: the boxes' face; nullptr answers them from options.answers.
  Session(const SessionOptions& options, Dialogs* dialogs = nullptr);
  ~Session();

  // Binds this thread's library to the adapters and runs start-up.
  void Start();

  const std::vector<LaunchRecord>& launches() const { return launches_; }
  // The scripted boxes (empty when another Dialogs face was given).
  const std::vector<ShownMessage>& messages() const { return scripted_.shown(); }

 private:
  class RecordingShell;
  class FixedScreen;

  SessionOptions options_;
  std::vector<LaunchRecord> launches_;
  Machine machine_;
  std::unique_ptr<RecordingShell> shell_;
  std::unique_ptr<FixedScreen> screen_;
  ScriptedDialogs scripted_;
  Dialogs* dialogs_;
};

// The root named by --root, else by H5KAKEI_ROOT; empty when neither.
std::filesystem::path RootFromEnvironment();

}  // namespace h5

#endif  // H5KAKEI_HOSTS_SESSION_H_
