// Faults of the environment over a whole diagnosis of the demo book: call k
// of start-up plus the control's creation finds its registry key, profile
// file, WIN.INI or directory gone (or there but empty), for every k. Every
// run must close every file, end on a level the tile knows, show only the
// library's own texts and leave every file of the root as it was.
#include <gtest/gtest.h>

#include <chrono>
#include <iostream>
#include <map>
#include <memory>
#include <sstream>

#include "platform/fake/fault_injecting_environment.h"
#include "platform/kakeidb/kakeidb.h"
#include "platform/root/root_environment.h"
#include "rig.h"
#include "tools/book_builder.h"

namespace h5 {
namespace {

using Fault = FaultInjectingEnvironment::Fault;

constexpr std::chrono::year_month_day kToday{std::chrono::year{2002}, std::chrono::month{5},
                                             std::chrono::day{27}};

// A fault, and whether it lasts for the rest of the run.
struct SweepMode {
  Fault fault;
  bool onward;
};

class EnvironmentFaultSweep : public ::testing::TestWithParam<SweepMode> {};

TEST_P(EnvironmentFaultSweep, EveryRunClosesEverythingAndChangesNothing) {
  const Fault fault = GetParam().fault;
  const bool onward = GetParam().onward;
  ScratchDir root;
  std::string error;
  ASSERT_TRUE(BuildBook(DemoBook(kToday, false), root.path(), &error)) << error;
  const Tree before = ReadTree(root.path());

  RootEnvironment real(root.path());
  real.SetToday(kToday);
  // The engine reads its open-file limit once, before the library runs.
  std::unique_ptr<KakeiDb> engine = OpenKakeiDb(root.path(), real);

  FaultInjectingEnvironment counting(real);
  AnsweringDialogs clean_dialogs(true);
  DiagnosisOutcome clean = RunWholeDiagnosis(counting, *engine, clean_dialogs);
  ASSERT_EQ(clean.level, 4);
  const int64_t calls = counting.calls();
  const std::vector<std::string_view> names = counting.call_names();
  ASSERT_GT(calls, 0);

  int runs = 0;
  std::map<std::string, int> outcomes;  // method -> level and boxes seen
  for (int64_t k = 0; k < calls; ++k) {
    for (bool agree : {true, false}) {
      FaultInjectingEnvironment environment(real);
      if (onward) {
        environment.FailCallsFrom(k, fault);
      } else {
        environment.FailCall(k, fault);
      }
      AnsweringDialogs dialogs(agree);
      DiagnosisOutcome outcome = RunWholeDiagnosis(environment, *engine, dialogs);
      ++runs;
      const std::string call = "call " + std::to_string(k) + " (" + std::string(names[k]) + ")";
      // The run is deterministic up to the fault: the same call is hit.
      ASSERT_GT(environment.calls(), k);
      ASSERT_EQ(environment.call_names()[k], names[k]);
      std::vector<std::string> found = Violations(outcome, dialogs, engine->open_files());
      EXPECT_TRUE(found.empty()) << call << (agree ? " agreeing" : " declining") << Joined(found);
      // Without the account book's folder there is no start file: preset 7
      // and no box; the record manager is never asked for a start file.
      if (names[k] == "ListFiles") {
        EXPECT_EQ(outcome.preset_level, "7") << call;
        EXPECT_EQ(outcome.level, 7) << call;
        EXPECT_TRUE(dialogs.shown().empty()) << call;
      }
      if (agree) {
        ++outcomes[std::string(names[k]) + " -> level " + std::to_string(outcome.level) + ", " +
                   std::to_string(dialogs.shown().size()) + " boxes"];
      }
    }
    if (k % 10 == 9) {
      EXPECT_TRUE(ReadTree(root.path()) == before) << "after call " << k;
    }
  }
  EXPECT_TRUE(ReadTree(root.path()) == before);
  EXPECT_EQ(engine->open_files(), 0);

  std::ostringstream summary;
  summary << (fault == Fault::kMissing ? "missing" : "empty") << (onward ? " onward" : "") << ": "
          << runs << " runs over " << calls << " calls;";
  for (const auto& [what, count] : outcomes) summary << " [" << what << "]:" << count;
  std::cout << summary.str() << std::endl;
  RecordProperty("summary", summary.str());
}

INSTANTIATE_TEST_SUITE_P(
    EveryFault, EnvironmentFaultSweep,
    ::testing::Values(SweepMode{Fault::kMissing, false}, SweepMode{Fault::kEmpty, false},
                      SweepMode{Fault::kMissing, true}, SweepMode{Fault::kEmpty, true}),
    [](const ::testing::TestParamInfo<SweepMode>& info) {
      return std::string(info.param.fault == Fault::kMissing ? "Missing" : "Empty") +
             (info.param.onward ? "Onward" : "Once");
    });

// Moves the account book's folder away just before call k of the record
// manager: files already open stay readable (as on any system that keeps
// open files), everything opened later is gone.
class VanishingFolder : public RecordManager {
 public:
  VanishingFolder(RecordManager& inner, std::filesystem::path folder, int64_t vanish_at)
      : inner_(inner), folder_(std::move(folder)), vanish_at_(vanish_at) {}
  ~VanishingFolder() override { Restore(); }

  int64_t calls() const { return calls_; }
  void Restore() {
    if (vanished_) std::filesystem::rename(Moved(), folder_);
    vanished_ = false;
  }

  int16_t BTRV(int16_t operation, void* position_block, void* data_buffer, int32_t* data_length,
               void* key_buffer, int16_t key_length, int16_t key_number) override {
    if (calls_++ == vanish_at_) {
      std::filesystem::rename(folder_, Moved());
      vanished_ = true;
    }
    return inner_.BTRV(operation, position_block, data_buffer, data_length, key_buffer, key_length,
                       key_number);
  }

 private:
  std::filesystem::path Moved() const { return folder_.string() + ".gone"; }

  RecordManager& inner_;
  std::filesystem::path folder_;
  int64_t vanish_at_;
  int64_t calls_ = 0;
  bool vanished_ = false;
};

TEST(VanishingFolderSweep, FolderGoneAtEveryCallClosesEverything) {
  ScratchDir root;
  std::string error;
  ASSERT_TRUE(BuildBook(DemoBook(kToday, true), root.path(), &error)) << error;
  const Tree before = ReadTree(root.path());
  RootEnvironment environment(root.path());
  environment.SetToday(kToday);
  std::unique_ptr<KakeiDb> engine = OpenKakeiDb(root.path(), environment);

  VanishingFolder counting(*engine, KakeiFolder(root.path()), -1);
  AnsweringDialogs clean_dialogs(true);
  ASSERT_EQ(RunWholeDiagnosis(environment, counting, clean_dialogs).level, 4);
  const int64_t calls = counting.calls();

  std::map<int, int> levels;
  for (int64_t k = 0; k < calls; ++k) {
    for (bool agree : {true, false}) {
      VanishingFolder records(*engine, KakeiFolder(root.path()), k);
      AnsweringDialogs dialogs(agree);
      DiagnosisOutcome outcome = RunWholeDiagnosis(environment, records, dialogs);
      records.Restore();
      std::vector<std::string> found = Violations(outcome, dialogs, engine->open_files());
      EXPECT_TRUE(found.empty()) << "folder gone at call " << k << Joined(found);
      ++levels[outcome.level];
    }
  }
  EXPECT_TRUE(ReadTree(root.path()) == before);
  std::ostringstream summary;
  summary << "folder gone: " << 2 * calls << " runs; levels";
  for (auto [level, count] : levels) summary << " " << level << ":" << count;
  std::cout << summary.str() << std::endl;
}

}  // namespace
}  // namespace h5
