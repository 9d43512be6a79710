// One host thread's library, wired to an environment root: the adapters of
// every port, start-up run once, then controls.
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

class RootEnvironment;
class RootCookieStore;
class RootShell;

// What a launch through the shell asked for and how it went.
struct LaunchRecord {
  std::string program, parameters, directory;  // UTF-8
  int show = 0;
  bool ok = false;
};

struct SessionOptions {
  std::filesystem::path root;
  std::optional<std::chrono::year_month_day> today;
  float twips_per_pixel = 15.0f;
  std::vector<Answer> answers;
};

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
  std::unique_ptr<RootEnvironment> environment_;
  std::unique_ptr<RootCookieStore> cookies_;
  std::unique_ptr<RootShell> root_shell_;
  std::unique_ptr<RecordingShell> shell_;
  std::unique_ptr<FixedScreen> screen_;
  ScriptedDialogs scripted_;
  Dialogs* dialogs_;
  std::unique_ptr<RecordManager> records_;
};

// The root named by --root, else by H5KAKEI_ROOT; empty when neither.
std::filesystem::path RootFromEnvironment();

}  // namespace h5

#endif  // H5KAKEI_HOSTS_SESSION_H_
