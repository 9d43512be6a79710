// Whole diagnoses run as a host runs them (a fresh module, start-up, then
// the control's creation) on ports the test chooses, and the checks that
// every such run must pass whatever went wrong underneath: every file
// closed, a level the tile knows, only the library's own message texts.
#ifndef H5KAKEI_TESTS_SUPPORT_RIG_H_
#define H5KAKEI_TESTS_SUPPORT_RIG_H_

#include <array>
#include <chrono>
#include <cstdint>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "control/tile_surface.h"
#include "messages.h"
#include "platform/dialogs.h"
#include "platform/environment.h"
#include "platform/record_manager.h"
#include "scratch.h"

namespace h5 {

// The account book's folder in the demo root, as a host path under root.
std::filesystem::path KakeiFolder(const std::filesystem::path& root);
std::filesystem::path WinIniFile(const std::filesystem::path& root);

// The demo book for today and the files of the book year before it, with
// WIN.INI's [Btrieve] OPTIONS left out when with_options is false (so that
// status 86 offers to write them).
nlohmann::json DemoBook(std::chrono::year_month_day today, bool with_options);

// Answers every box the same way: agreeing (OK, Yes) or declining (Cancel,
// No; OK where OK is the only button). Keeps every box and answer.
class AnsweringDialogs : public Dialogs {
 public:
  explicit AnsweringDialogs(bool agree) : agree_(agree) {}
  Answer Show(const MessageBoxRequest& request) override;

  const std::vector<MessageBoxRequest>& shown() const { return shown_; }
  const std::vector<Answer>& answers() const { return answers_; }

 private:
  bool agree_;
  std::vector<MessageBoxRequest> shown_;
  std::vector<Answer> answers_;
};

// What one whole diagnosis left behind.
struct DiagnosisOutcome {
  std::string preset_level;
  std::string fiscal_year;
  int16_t level = -1;
  std::array<int16_t, 35> file_state{};
  RecordingSurface surface;
  // Boxes shown by start-up, before the control set its title; the rest
  // were shown by the control.
  size_t startup_boxes = 0;
};

// Runs start-up and creates one control with a fresh module on these ports,
// then unbinds the module from them.
DiagnosisOutcome RunWholeDiagnosis(Environment& environment, RecordManager& records,
                                   AnsweringDialogs& dialogs);

// The invariants of every run; one line per violation, empty when all hold.
// open_files is what the engine still holds open. Fills *kinds with the
// kind of every box shown, in order, when given.
std::vector<std::string> Violations(const DiagnosisOutcome& outcome,
                                    const AnsweringDialogs& dialogs, int open_files,
                                    std::vector<BoxKind>* kinds = nullptr);

// The violations one per line, for a failure message.
std::string Joined(const std::vector<std::string>& lines);

// True when the run offered to write the record manager's options and the
// user agreed.
bool AgreedToWriteOptions(const AnsweringDialogs& dialogs);

}  // namespace h5

#endif  // H5KAKEI_TESTS_SUPPORT_RIG_H_
