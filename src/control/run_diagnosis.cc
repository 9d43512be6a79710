// The diagnosis run of frmKakei: opens the files, totals spending and budget,
// grades the prorated budget against the spending, closes everything.
#include <charconv>
#include <vector>

#include "control/frm_kakei.h"
#include "diagnosis/spending.h"
#include "store/data_file.h"
#include "store/files.h"
#include "store/module.h"
#include "store/status.h"
#include "text/checked.h"
#include "text/day_number.h"

namespace h5 {
namespace {

// PresetLevel as a level: start-up only stores "6" or "7"; any text that is
// not a whole 16-bit number is taken as no preset.
int16_t PresetAsLevel(const std::string& preset) {
  int16_t level = 0;
  const char* end = preset.data() + preset.size();
  auto [ptr, ec] = std::from_chars(preset.data(), end, level);
  if (ec != std::errc() || ptr != end) return 0;
  return level;
}

bool OptionalFileOpened(void (*open)()) {
  Module().BtrStatus = 0;
  open();
  int16_t status = Module().BtrStatus;
  return status == 0 || status == kBtrFileNotFound;
}

}  // namespace

int16_t GradeRatio(int16_t ratio, const std::array<int16_t, 5>& bounds) {
  int16_t level = 0;
  for (int i = 0; i < 4; ++i) {
    if (bounds[i] <= ratio && ratio < bounds[i + 1]) {
      level = static_cast<int16_t>(i + 1);
      break;
    }
  }
  if (ratio >= bounds[4]) level = 5;
  return level;
}

int16_t ComputeRatio(int32_t budget_total, int32_t days_in_period, int32_t elapsed_days,
                     int32_t spending_total, int16_t overflow_ratio) {
  double value = static_cast<double>(budget_total);
  value = value / days_in_period;
  value = value * elapsed_days;
  value = value / spending_total;
  value = value * 100;
  return RoundHalfEvenToInt16(value).value_or(overflow_ratio);
}

int16_t FrmKakei::Diagnose(ModuleData& m) {
  const int16_t preset = m.PresetLevel.empty() ? 0 : PresetAsLevel(m.PresetLevel);
  int repeats = 0;
  if (!OpenPastInactive([&m] { OpenHimoku(m.KakeiDir); }, repeats)) {
    ShowInactiveOpenFailure("費目");
    return preset;
  }
  if (m.BtrStatus != 0) return preset;

  m.BtrStatus = 0;
  OpenSuitou();
  if (m.BtrStatus != 0) return preset;  // the cash book is required
  for (void (*open)() : {OpenBunkatu, OpenCredit, OpenKyuyo, OpenKyuyoKingaku}) {
    if (!OptionalFileOpened(open)) return preset;
  }

  // No period contains today: there is nothing to diagnose.
  if (m.CurrentMonth < 1 || m.CurrentMonth > 12) return preset;
  int32_t period_start = m.PeriodTable[m.CurrentMonth].StartDay;
  int32_t period_end = m.PeriodTable[m.CurrentMonth].EndDay;

  // Totals cut short by a reported failure (the user has just been told of
  // it) are not graded.
  int32_t spending_total = 0;
  std::vector<StatementSeenEntry> statement_seen_list;
  int16_t statement_seen_last = -1;
  SumMonthSpending(period_start, period_end, spending_total, statement_seen_list,
                   statement_seen_last);
  if (m.stopped_by != 0) return preset;
  trace_.spending = spending_total;

  OpenYosan();
  if (m.BtrStatus != 0) return 7;
  int32_t budget_total = 0;
  SumMonthBudget(m.CurrentMonth, budget_total);
  if (m.stopped_by != 0) return preset;
  trace_.budget = budget_total;
  if (budget_total == 0) return 6;

  Environment* env = m.ports.environment;
  int32_t today = env ? DayNumberOf(env->Today()) : 0;
  // Day counts that do not fit 32 bits describe no real period.
  std::optional<int32_t> days = CheckedSub32(period_end, period_start);
  if (days) days = CheckedAdd32(*days, 1);
  std::optional<int32_t> elapsed = CheckedAdd32(today, 1);
  if (elapsed) elapsed = CheckedSub32(*elapsed, period_start);
  if (!days || !elapsed) return preset;
  if (*days == 0 || spending_total == 0) return preset;

  int16_t ratio = ComputeRatio(budget_total, *days, *elapsed, spending_total, grade_bounds_[4]);
  trace_.ratio = ratio;
  return GradeRatio(ratio, grade_bounds_);
}

void FrmKakei::RunDiagnosis() {
  ModuleData& m = Module();
  grade_bounds_ = {0, 50, 80, 100, 140};
  trace_ = DiagnosisTrace{};
  m.stopped_by = 0;
  m.diagnosing = true;
  diagnosis_level_ = Diagnose(m);
  m.diagnosing = false;
  m.stopped_by = 0;
  int16_t status = 0;
  HandleFileStatus(status, "");
}

}  // namespace h5
