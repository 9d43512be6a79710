#include "hosts/session.h"

#include <cstdlib>

#include "startup/startup.h"
#include "store/module.h"
#include "text/ansi.h"

namespace h5 {

class Session::RecordingShell : public Shell {
 public:
  RecordingShell(Shell& inner, std::vector<LaunchRecord>& log) : inner_(inner), log_(log) {}
  bool Execute(std::string_view verb, std::string_view program, std::string_view parameters,
               std::string_view directory, int show) override {
    bool ok = inner_.Execute(verb, program, parameters, directory, show);
    log_.push_back({FromAnsi(program), FromAnsi(parameters), FromAnsi(directory), show, ok});
    return ok;
  }

 private:
  Shell& inner_;
  std::vector<LaunchRecord>& log_;
};

class Session::FixedScreen : public Screen {
 public:
  explicit FixedScreen(float twips) : twips_(twips) {}
  float TwipsPerPixelX() override { return twips_; }

 private:
  float twips_;
};

Session::Session(const SessionOptions& options, Dialogs* dialogs)
    : options_(options),
      machine_(MakeMachine(options)),
      shell_(std::make_unique<RecordingShell>(*machine_.shell, launches_)),
      screen_(std::make_unique<FixedScreen>(options.twips_per_pixel)),
      scripted_(options.answers),
      dialogs_(dialogs ? dialogs : &scripted_) {}

// The module data must not outlive the adapters it points to.
Session::~Session() {
  if (Module().ports.records == machine_.records.get()) ResetModule(Ports{});
}

void Session::Start() {
  ResetModule(Ports{machine_.environment.get(), machine_.records.get(), dialogs_, shell_.get(),
                    machine_.cookies.get(), screen_.get()});
  Main();
}

std::filesystem::path RootFromEnvironment() {
  const char* root = std::getenv("H5KAKEI_ROOT");
  return root ? std::filesystem::path(root) : std::filesystem::path();
}

}  // namespace h5
