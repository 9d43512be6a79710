// Whole diagnoses run as a host runs them (a fresh module, start-up, then
// the control's creation) on the real files of a root, through ports the
// test may wrap, and the invariants every such run must keep whatever went
// wrong underneath.
#ifndef H5KAKEI_TESTS_SUPPORT_RIG_H_
#define H5KAKEI_TESTS_SUPPORT_RIG_H_

#include <array>
#include <chrono>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "control/tile_surface.h"
#include "messages.h"
#include "platform/kakeidb/kakeidb.h"
#include "platform/root/root_environment.h"
#include "scratch.h"

namespace h5 {

// Late in May: the cash book runs from April 1, the period holds a pay day,
// a card debit and every kind of entry of the demo book.
inline constexpr std::chrono::year_month_day kDemoToday{
    std::chrono::year{2002}, std::chrono::month{5}, std::chrono::day{27}};

std::filesystem::path KakeiFolder(const std::filesystem::path& root);
std::filesystem::path WinIniFile(const std::filesystem::path& root);

// Writes the demo book for kDemoToday and the year before's files under
// root, WIN.INI's [Btrieve] OPTIONS left out unless with_options (so that
// status 86 offers to write them).
bool BuildDemoBook(const std::filesystem::path& root, bool with_options);

// What one whole diagnosis left behind.
struct DiagnosisRun {
  std::vector<MessageBoxRequest> boxes;
  size_t startup_boxes = 0;  // shown before the control set its title
  std::string preset_level, fiscal_year;
  int16_t level = -1;
  std::array<int16_t, 35> file_state{};
  RecordingSurface surface;
  // Of every box, in order: its kind, and its heading as "status label"
  // ("" for a box without one).
  std::vector<BoxKind> kinds;
  std::vector<std::string> headings;
  std::vector<std::string> found;  // what Violations found
};

// The invariants of every run, one line per violation: every file closed
// (open_files: what the engine still holds), a level the tile knows and
// shows, only the library's own boxes. Fills run.kinds and run.headings.
std::vector<std::string> Violations(DiagnosisRun& run, int open_files);

// The violations one per line, for a failure message.
std::string Joined(const std::vector<std::string>& lines);

// The real environment (today kDemoToday) and engine on a root.
struct RealRoot {
  explicit RealRoot(const std::filesystem::path& root);
  // A checked run through records and environment when given, else the
  // real ones, answering every box agreeing (OK, Yes) or declining (Cancel,
  // No; OK where OK is the only button).
  DiagnosisRun Run(bool agree, RecordManager* records = nullptr, Environment* env = nullptr);

  RootEnvironment environment;
  std::unique_ptr<KakeiDb> engine;
};

// Passes every call on to inner, unless hook answers it first.
class HookedRecords : public RecordManager {
 public:
  using Hook = std::function<std::optional<int16_t>(int16_t operation, void* block, void* key)>;
  HookedRecords(RecordManager& inner, Hook hook) : inner_(inner), hook_(std::move(hook)) {}
  int16_t BTRV(int16_t operation, void* block, void* data, int32_t* length, void* key,
               int16_t key_length, int16_t key_number) override {
    if (std::optional<int16_t> status = hook_(operation, block, key)) return *status;
    return inner_.BTRV(operation, block, data, length, key, key_length, key_number);
  }

 private:
  RecordManager& inner_;
  Hook hook_;
};

}  // namespace h5

#endif  // H5KAKEI_TESTS_SUPPORT_RIG_H_
