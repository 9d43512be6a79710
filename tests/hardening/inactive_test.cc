// A record manager that stays inactive (status 20) for the opens of one
// file: start-up and the diagnosis retry those opens up to 501 times in all,
// then give up with one box, and still close everything.
#include <gtest/gtest.h>

#include <chrono>
#include <memory>

#include "call_log.h"
#include "platform/kakeidb/kakeidb.h"
#include "platform/root/root_environment.h"
#include "rig.h"
#include "tools/book_builder.h"

namespace h5 {
namespace {

constexpr std::chrono::year_month_day kToday{std::chrono::year{2002}, std::chrono::month{5},
                                             std::chrono::day{27}};

// Answers 20 to the first `inactive_opens` opens of `file` (folded as
// DataFileOfPath folds it) without passing them on; everything else goes
// to the engine.
class InactiveOpens : public RecordManager {
 public:
  InactiveOpens(RecordManager& inner, std::string file, int inactive_opens)
      : inner_(inner), file_(std::move(file)), inactive_opens_(inactive_opens) {}

  int attempts() const { return attempts_; }

  int16_t BTRV(int16_t operation, void* position_block, void* data_buffer, int32_t* data_length,
               void* key_buffer, int16_t key_length, int16_t key_number) override {
    if (operation == kBtrOpen && DataFileOfPath(key_buffer) == file_) {
      if (attempts_++ < inactive_opens_) return kBtrInactive;
    }
    return inner_.BTRV(operation, position_block, data_buffer, data_length, key_buffer, key_length,
                       key_number);
  }

 private:
  RecordManager& inner_;
  std::string file_;
  int inactive_opens_;
  int attempts_ = 0;
};

struct InactiveCase {
  const char* file;
  int inactive_opens;
  int expected_attempts;
  BoxKind expected_box;  // kUnknown: no box
  const char* preset;
  int16_t level;
};

const InactiveCase kCases[] = {
    // Never active: 1 try and 500 repeats, then the box; the level stays
    // as start-up left it.
    {"himoku.dat", 100000, 501, BoxKind::kHimokuFailure, "", 0},
    // Active on the very last try: no box, a normal diagnosis.
    {"himoku.dat", 500, 501, BoxKind::kUnknown, "", 4},
    {"himoku.dat", 1, 2, BoxKind::kUnknown, "", 4},
    // One counter for all start files (this book has two): 501 opens in all,
    // then the box and preset 7; the diagnosis then finds no cash book.
    {"start.dat", 100000, 501, BoxKind::kStartFailure, "7", 7},
    {"start.dat", 500, 501, BoxKind::kUnknown, "", 4},
    {"start.dat", 1, 2, BoxKind::kUnknown, "", 4},
};

class InactiveTest : public ::testing::TestWithParam<bool> {};

TEST_P(InactiveTest, RetriesAreBoundedAndEverythingCloses) {
  const bool agree = GetParam();
  ScratchDir root;
  std::string error;
  ASSERT_TRUE(BuildBook(DemoBook(kToday, false), root.path(), &error)) << error;
  const Tree before = ReadTree(root.path() / "drive_c");
  for (const InactiveCase& c : kCases) {
    SCOPED_TRACE(std::string(c.file) + " inactive for " + std::to_string(c.inactive_opens));
    RootEnvironment environment(root.path());
    environment.SetToday(kToday);
    std::unique_ptr<KakeiDb> engine = OpenKakeiDb(root.path(), environment);
    InactiveOpens records(*engine, c.file, c.inactive_opens);
    AnsweringDialogs dialogs(agree);
    DiagnosisOutcome outcome = RunWholeDiagnosis(environment, records, dialogs);

    std::vector<BoxKind> kinds;
    std::vector<std::string> found = Violations(outcome, dialogs, engine->open_files(), &kinds);
    EXPECT_TRUE(found.empty()) << Joined(found);
    EXPECT_EQ(records.attempts(), c.expected_attempts);
    if (c.expected_box == BoxKind::kUnknown) {
      EXPECT_TRUE(kinds.empty());
    } else {
      EXPECT_EQ(kinds, std::vector<BoxKind>{c.expected_box});
    }
    EXPECT_EQ(outcome.preset_level, c.preset);
    if (c.expected_box == BoxKind::kStartFailure) {
      EXPECT_EQ(outcome.fiscal_year, "");
    }
    EXPECT_EQ(outcome.level, c.level);
  }
  EXPECT_TRUE(ReadTree(root.path() / "drive_c") == before);
}

INSTANTIATE_TEST_SUITE_P(BothAnswers, InactiveTest, ::testing::Values(true, false),
                         [](const ::testing::TestParamInfo<bool>& info) {
                           return info.param ? std::string("Agreeing") : std::string("Declining");
                         });

}  // namespace
}  // namespace h5
