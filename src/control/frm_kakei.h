// frmKakei, the diagnosis tile: on creation it diagnoses the account book
// once and shows the result; every click starts the account book.
#ifndef H5KAKEI_CONTROL_FRM_KAKEI_H_
#define H5KAKEI_CONTROL_FRM_KAKEI_H_

#include <array>
#include <cstdint>
#include <optional>
#include <string>

#include "control/tile_surface.h"
#include "store/module.h"

namespace h5 {

// The tile's fixed texts.
extern const char kInviteToolTip[];
extern const char kGradedToolTip[];
extern const char kNoBudgetCaption[];
extern const char kInviteCaption[];

// How far one diagnosis got, for hosts that explain it.
struct DiagnosisTrace {
  std::optional<int32_t> spending;
  std::optional<int32_t> budget;
  std::optional<int16_t> ratio;
};

class FrmKakei {
 public:
  // Initialises the control on surface (which must outlive it): title,
  // layout, tooltips, the diagnosis and its display. Start-up (Main) must
  // have run on this thread.
  explicit FrmKakei(TileSurface& surface);

  // A click on the picture, the label or the control itself.
  void Click();

  int16_t DiagnosisLevel() const { return diagnosis_level_; }
  float LayoutScale() const { return layout_scale_; }
  const DiagnosisTrace& trace() const { return trace_; }

  // The picture number and caption for a level, as the tile shows them.
  static int16_t PictureForLevel(int16_t level, std::string* caption, bool* label_visible);

 private:
  // Diagnose, then close every file.
  void RunDiagnosis();
  // Opens the files, totals the period and grades it: the level, or the
  // preset level where the run ends early. Files stay open for the close-all.
  int16_t Diagnose(ModuleData& m);
  void ShowDiagnosis();
  void SelectDisplay(std::string& caption, int16_t& picture);
  void SetInviteToolTips();
  void OpenAccountBook();
  void ScaleLayout();

  TileSurface& surface_;
  int16_t diagnosis_level_ = 0;
  float layout_scale_ = 1.0f;
  std::array<int16_t, 5> grade_bounds_{};
  DiagnosisTrace trace_;
};

// Grades a ratio (percent) against the bounds 0, 50, 80, 100, 140: 0 below
// 0, then 1..4, and 5 from 140 on.
int16_t GradeRatio(int16_t ratio, const std::array<int16_t, 5>& bounds);

// The prorated budget as a percentage of the spending, evaluated left to
// right in doubles and rounded half-even; 140 when it overflows 16 bits.
int16_t ComputeRatio(int32_t budget_total, int32_t days_in_period, int32_t elapsed_days,
                     int32_t spending_total, int16_t overflow_ratio);

}  // namespace h5

#endif  // H5KAKEI_CONTROL_FRM_KAKEI_H_
