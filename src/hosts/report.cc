#include "hosts/report.h"

#include <cmath>
#include <sstream>

#include "store/module.h"
#include "text/day_number.h"

namespace h5 {
namespace {

using nlohmann::json;

// Day 0 is what an entry holds before anything set it.
json DateOrNull(int32_t day_number) {
  if (day_number == 0) return nullptr;
  return IsoDateText(day_number);
}

const char* ButtonsWord(Buttons b) {
  switch (b) {
    case Buttons::kOk:
      return "ok";
    case Buttons::kOkCancel:
      return "okcancel";
    case Buttons::kYesNo:
      return "yesno";
  }
  return "ok";
}

const char* IconWord(Icon i) {
  switch (i) {
    case Icon::kNone:
      return "none";
    case Icon::kQuestion:
      return "question";
    case Icon::kExclamation:
      return "exclamation";
  }
  return "none";
}

template <typename T>
json OrNull(const std::optional<T>& value) {
  return value ? json(*value) : json(nullptr);
}

std::string Field(const json& value) {
  if (value.is_null()) return "-";
  if (value.is_string()) return value.get<std::string>();
  return value.dump();
}

}  // namespace

json DiagnosisReport(const FrmKakei& control, const RecordingSurface& surface,
                     const std::vector<ShownMessage>& messages) {
  const ModuleData& m = Module();
  json report;
  report["level"] = control.DiagnosisLevel();
  report["picture"] = surface.picture;
  report["caption"] = surface.label_visible ? surface.caption : "";
  report["label_visible"] = surface.label_visible;
  report["tooltip"] = surface.picture_tooltip;
  report["width_twips"] = std::lround(surface.control_width);
  report["height_twips"] = std::lround(surface.control_height);

  json boxes = json::array();
  for (const ShownMessage& shown : messages) {
    boxes.push_back({{"title", shown.request.title},
                     {"text", shown.request.text},
                     {"buttons", ButtonsWord(shown.request.buttons)},
                     {"icon", IconWord(shown.request.icon)},
                     {"system_modal", shown.request.system_modal},
                     {"answer", AnswerWord(shown.answer)}});
  }
  report["messages"] = boxes;

  json periods = json::array();
  for (int i = 1; i <= 12; ++i) {
    const PeriodEntry& p = m.PeriodTable[i];
    periods.push_back({{"year", p.Year},
                       {"month", p.Month},
                       {"start", DateOrNull(p.StartDay)},
                       {"end", DateOrNull(p.EndDay)}});
  }
  report["startup"] = {{"install_dir", m.InstallDir},
                       {"data_dir", m.DataDir},
                       {"kakei_dir", m.KakeiDir},
                       {"fiscal_year", m.FiscalYear},
                       {"current_month", m.CurrentMonth},
                       {"preset_level", m.PresetLevel},
                       {"periods", periods}};
  const DiagnosisTrace& trace = control.trace();
  report["totals"] = {{"spending", OrNull(trace.spending)},
                      {"budget", OrNull(trace.budget)},
                      {"ratio", OrNull(trace.ratio)}};
  return report;
}

json LaunchReport(const std::vector<LaunchRecord>& launches) {
  if (launches.empty()) return nullptr;
  const LaunchRecord& l = launches.back();
  return {{"program", l.program},
          {"parameters", l.parameters},
          {"directory", l.directory},
          {"show", l.show},
          {"ok", l.ok}};
}

std::string DiagnosisText(const json& report) {
  std::ostringstream out;
  out << "家計診断: level " << report["level"] << ", picture " << report["picture"] << "\n";
  if (report["label_visible"].get<bool>()) out << "caption: " << Field(report["caption"]) << "\n";
  out << "tooltip: " << Field(report["tooltip"]) << "\n";
  out << "size: " << report["width_twips"] << " x " << report["height_twips"] << " twips\n";
  const json& s = report["startup"];
  out << "account book: " << Field(s["kakei_dir"]) << "\n";
  out << "book year: " << (s["fiscal_year"] == "" ? "-" : Field(s["fiscal_year"]))
      << ", current month: " << s["current_month"]
      << ", preset level: " << (s["preset_level"] == "" ? "-" : Field(s["preset_level"])) << "\n";
  int month = s["current_month"].get<int>();
  if (month >= 1 && month <= 12) {
    const json& p = s["periods"][month - 1];
    out << "period: " << Field(p["start"]) << " .. " << Field(p["end"]) << "\n";
  }
  const json& t = report["totals"];
  out << "spending: " << Field(t["spending"]) << " yen, budget: " << Field(t["budget"])
      << " yen, ratio: " << Field(t["ratio"]) << " %\n";
  for (const json& box : report["messages"]) {
    out << "message box [" << Field(box["title"]) << "] (" << Field(box["buttons"]) << ", answered "
        << Field(box["answer"]) << "):\n";
    std::string text = box["text"].get<std::string>();
    std::string line;
    std::istringstream lines(text);
    while (std::getline(lines, line)) {
      if (!line.empty() && line.back() == '\r') line.pop_back();
      out << "  | " << line << "\n";
    }
  }
  return out.str();
}

}  // namespace h5
