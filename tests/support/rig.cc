#include "rig.h"

#include <gtest/gtest.h>

#include "control/frm_kakei.h"
#include "platform/fake/fake_shell.h"
#include "platform/kakeidb/kakeidb.h"
#include "platform/root/path_map.h"
#include "startup/startup.h"
#include "store/module.h"
#include "tools/book_tool.h"

namespace h5 {

namespace fs = std::filesystem;

fs::path KakeiFolder(const fs::path& root) {
  return root / "drive_c" / "HdmData5" / "kakeibo" / "kakeibo1";
}

fs::path WinIniFile(const fs::path& root) { return root / "drive_c" / "windows" / "win.ini"; }

bool BuildDemoBook(const fs::path& root, bool with_options) {
  nlohmann::json book = SampleBook(kDemoToday);
  // The year before: a second start file for start-up to weigh.
  const nlohmann::json before =
      SampleBook({kDemoToday.year() - std::chrono::years{1}, kDemoToday.month(), kDemoToday.day()});
  for (const auto& [path, file] : before["data"].items()) {
    if (!book["data"].contains(path)) book["data"][path] = file;
  }
  if (!with_options) book["ini"]["C:\\windows\\win.ini"]["Btrieve"]["OPTIONS"] = nullptr;
  std::string error;
  const bool built = BuildBook(book, root, &error);
  EXPECT_TRUE(built) << error;
  return built;
}

std::vector<std::string> Violations(DiagnosisRun& run, int open_files) {
  std::vector<std::string> found;
  for (size_t slot = 0; slot < run.file_state.size(); ++slot) {
    if (run.file_state[slot] != 0) found.push_back("FileState slot " + std::to_string(slot));
  }
  if (open_files != 0) found.push_back(std::to_string(open_files) + " files left open");
  if (run.level < 0 || run.level > 7) found.push_back("level " + std::to_string(run.level));
  if (run.preset_level != "" && run.preset_level != "6" && run.preset_level != "7") {
    found.push_back("PresetLevel \"" + run.preset_level + "\"");
  }
  std::string caption;
  bool label_visible = false;
  int16_t picture = FrmKakei::PictureForLevel(run.level, &caption, &label_visible);
  if (run.surface.picture != picture || run.surface.label_visible != label_visible ||
      (label_visible && run.surface.caption != caption)) {
    found.push_back("the tile does not show level " + std::to_string(run.level));
  }
  run.kinds.clear();
  run.headings.clear();
  for (size_t i = 0; i < run.boxes.size(); ++i) {
    std::optional<StatusHeadingParts> heading = ParseHeading(run.boxes[i].text);
    run.headings.push_back(heading ? std::to_string(heading->status) + " " + heading->label : "");
    std::string why;
    // Start-up runs before the control has set its title.
    run.kinds.push_back(ClassifyBox(run.boxes[i], i < run.startup_boxes ? "" : "家計診断", &why));
    if (run.kinds.back() == BoxKind::kUnknown) {
      found.push_back("box " + std::to_string(i) + ": " + why);
    }
  }
  return found;
}

std::string Joined(const std::vector<std::string>& lines) {
  std::string text;
  for (const std::string& line : lines) text += "\n  " + line;
  return text;
}

namespace {

class AnsweringDialogs : public Dialogs {
 public:
  AnsweringDialogs(bool agree, std::vector<MessageBoxRequest>& shown)
      : agree_(agree), shown_(shown) {}
  Answer Show(const MessageBoxRequest& request) override {
    shown_.push_back(request);
    if (!agree_) return ClosedAnswer(request.buttons);
    return request.buttons == Buttons::kYesNo ? Answer::kYes : Answer::kOk;
  }

 private:
  bool agree_;
  std::vector<MessageBoxRequest>& shown_;
};

}  // namespace

RealRoot::RealRoot(const fs::path& root) : environment(root) {
  environment.SetToday(kDemoToday);
  engine = OpenKakeiDb(WindowsPathResolver(root), environment);
}

DiagnosisRun RealRoot::Run(bool agree, RecordManager* records, Environment* env) {
  DiagnosisRun run;
  AnsweringDialogs dialogs(agree, run.boxes);
  FakeShell shell;
  FakeScreen screen;
  ResetModule(Ports{env ? env : &environment, records ? records : engine.get(), &dialogs, &shell,
                    nullptr, &screen});
  Main();
  run.startup_boxes = run.boxes.size();
  run.preset_level = Module().PresetLevel;
  run.fiscal_year = Module().FiscalYear;
  {
    FrmKakei control(run.surface);
    run.level = control.DiagnosisLevel();
  }
  run.file_state = Module().FileState;
  ResetModule(Ports{});
  run.found = Violations(run, engine->open_files());
  return run;
}

}  // namespace h5
