#include "rig.h"

#include "control/frm_kakei.h"
#include "platform/fake/fake_shell.h"
#include "startup/startup.h"
#include "store/module.h"
#include "tools/sample.h"

namespace h5 {

namespace fs = std::filesystem;

fs::path KakeiFolder(const fs::path& root) {
  return root / "drive_c" / "HdmData5" / "kakeibo" / "kakeibo1";
}

fs::path WinIniFile(const fs::path& root) { return root / "drive_c" / "windows" / "win.ini"; }

nlohmann::json DemoBook(std::chrono::year_month_day today, bool with_options) {
  nlohmann::json book = SampleBook(today);
  // The year before: a second start file for start-up to weigh.
  const std::chrono::year_month_day year_before{today.year() - std::chrono::years{1}, today.month(),
                                                today.day()};
  const nlohmann::json before = SampleBook(year_before);
  for (const auto& [path, file] : before["data"].items()) {
    if (!book["data"].contains(path)) book["data"][path] = file;
  }
  if (!with_options) book["ini"]["C:\\windows\\win.ini"]["Btrieve"]["OPTIONS"] = nullptr;
  return book;
}

Answer AnsweringDialogs::Show(const MessageBoxRequest& request) {
  Answer answer = ClosedAnswer(request.buttons);
  if (agree_) answer = request.buttons == Buttons::kYesNo ? Answer::kYes : Answer::kOk;
  shown_.push_back(request);
  answers_.push_back(answer);
  return answer;
}

DiagnosisOutcome RunWholeDiagnosis(Environment& environment, RecordManager& records,
                                   AnsweringDialogs& dialogs) {
  DiagnosisOutcome outcome;
  FakeShell shell;
  FakeScreen screen;
  ResetModule(Ports{&environment, &records, &dialogs, &shell, nullptr, &screen});
  Main();
  outcome.startup_boxes = dialogs.shown().size();
  outcome.preset_level = Module().PresetLevel;
  outcome.fiscal_year = Module().FiscalYear;
  {
    FrmKakei control(outcome.surface);
    outcome.level = control.DiagnosisLevel();
  }
  outcome.file_state = Module().FileState;
  ResetModule(Ports{});
  return outcome;
}

std::vector<std::string> Violations(const DiagnosisOutcome& outcome,
                                    const AnsweringDialogs& dialogs, int open_files,
                                    std::vector<BoxKind>* kinds) {
  std::vector<std::string> found;
  for (size_t slot = 0; slot < outcome.file_state.size(); ++slot) {
    if (outcome.file_state[slot] != 0) {
      found.push_back("FileState slot " + std::to_string(slot) + " is " +
                      std::to_string(outcome.file_state[slot]));
    }
  }
  if (open_files != 0) found.push_back(std::to_string(open_files) + " files left open");
  if (outcome.level < 0 || outcome.level > 7) {
    found.push_back("level " + std::to_string(outcome.level));
  }
  if (outcome.preset_level != "" && outcome.preset_level != "6" && outcome.preset_level != "7") {
    found.push_back("PresetLevel \"" + outcome.preset_level + "\"");
  }

  // The tile shows what its level says.
  std::string caption;
  bool label_visible = false;
  int16_t picture = FrmKakei::PictureForLevel(outcome.level, &caption, &label_visible);
  if (outcome.surface.picture != picture || outcome.surface.label_visible != label_visible ||
      (label_visible && outcome.surface.caption != caption)) {
    found.push_back("the tile does not show level " + std::to_string(outcome.level));
  }

  for (size_t i = 0; i < dialogs.shown().size(); ++i) {
    std::string why;
    // Start-up runs before the control has set its title.
    std::string_view title = i < outcome.startup_boxes ? "" : "家計診断";
    BoxKind kind = ClassifyBox(dialogs.shown()[i], title, &why);
    if (kind == BoxKind::kUnknown) found.push_back("box " + std::to_string(i) + ": " + why);
    if (kinds) kinds->push_back(kind);
  }
  return found;
}

std::string Joined(const std::vector<std::string>& lines) {
  std::string text;
  for (const std::string& line : lines) text += "\n  " + line;
  return text;
}

bool AgreedToWriteOptions(const AnsweringDialogs& dialogs) {
  for (size_t i = 0; i < dialogs.shown().size(); ++i) {
    std::string why;
    if (ClassifyBox(dialogs.shown()[i], "", &why) == BoxKind::kOptionsOffer &&
        dialogs.answers()[i] == Answer::kYes) {
      return true;
    }
  }
  return false;
}

}  // namespace h5
