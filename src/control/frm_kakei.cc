#include "control/frm_kakei.h"

#include "shell/launch.h"
#include "store/module.h"

namespace h5 {

const char kInviteToolTip[] =
    "家計簿をつけてみませんか？予算設定している場合、現在の家計状況を診断します。"
    "クリックすると、家計簿が起動します。";
const char kGradedToolTip[] = "家計診断";
const char kNoBudgetCaption[] = "今月は予算が設定されていません";
const char kInviteCaption[] = "予算をたてて家計簿をつけると、かわいい イラストで家計を診断します! ";

namespace {

constexpr char kApplicationTitle[] = "家計診断";
// Twips per pixel at 96 dpi, the density the layout is drawn for.
constexpr float kBaseTwipsPerPixel = 15.0f;

TwipsRect Scaled(const TwipsRect& r, float scale) {
  return {r.left * scale, r.top * scale, r.width * scale, r.height * scale};
}

}  // namespace

FrmKakei::FrmKakei(TileSurface& surface) : surface_(surface) {
  layout_scale_ = 1.0f;
  Module().ApplicationTitle = kApplicationTitle;
  ScaleLayout();
  SetInviteToolTips();
  ShowDiagnosis();
  surface_.SetControlSize(kControlWidth * layout_scale_, kControlHeight * layout_scale_);
}

void FrmKakei::Click() { OpenAccountBook(); }

void FrmKakei::ScaleLayout() {
  Screen* screen = Module().ports.screen;
  float twips_per_pixel = screen ? screen->TwipsPerPixelX() : kBaseTwipsPerPixel;
  // Denser screens only: the tile keeps its pixel size, the artwork is shown
  // pixel for pixel. The vertical direction uses the horizontal factor too.
  if (!(twips_per_pixel < kBaseTwipsPerPixel) || !(twips_per_pixel > 0)) return;
  layout_scale_ = twips_per_pixel / kBaseTwipsPerPixel;
  surface_.MovePicture(Scaled(surface_.PictureRect(), layout_scale_));
  surface_.SetPictureStretch(true);
  surface_.MoveLabel(Scaled(surface_.LabelRect(), layout_scale_));
  surface_.SetLabelFontSize(surface_.LabelFontSize() * layout_scale_);
}

void FrmKakei::SetInviteToolTips() {
  surface_.SetPictureToolTip(kInviteToolTip);
  surface_.SetLabelToolTip(kInviteToolTip);
}

void FrmKakei::ShowDiagnosis() {
  std::string caption;
  int16_t picture = 0;
  RunDiagnosis();
  SelectDisplay(caption, picture);
  surface_.SetCaption(caption);
  surface_.SetPicture(picture);
  const char* tooltip = picture >= 2 ? kGradedToolTip : kInviteToolTip;
  surface_.SetPictureToolTip(tooltip);
  surface_.SetLabelToolTip(tooltip);
}

int16_t FrmKakei::PictureForLevel(int16_t level, std::string* caption, bool* label_visible) {
  *label_visible = false;
  caption->clear();
  switch (level) {
    case 1:
      return 6;
    case 2:
      return 5;
    case 3:
      return 4;
    case 4:
      return 3;
    case 5:
      return 2;
    case 6:
      *caption = kNoBudgetCaption;
      *label_visible = true;
      return 1;
    default:
      *caption = kInviteCaption;
      *label_visible = true;
      return 1;
  }
}

void FrmKakei::SelectDisplay(std::string& caption, int16_t& picture) {
  surface_.SetLabelVisible(false);
  bool visible = false;
  picture = PictureForLevel(diagnosis_level_, &caption, &visible);
  if (visible) surface_.SetLabelVisible(true);
}

void FrmKakei::OpenAccountBook() {
  ModuleData& m = Module();
  if (IsKitchenTimerRunning()) {
    MessageBoxRequest box;
    box.text =
        "キッチンタイマーが動作中です｡続けるとキッチンタイマーがSTOPします｡ \r\n"
        "続けてよろしいですか？";
    box.title = m.ApplicationTitle.empty() ? "H5Kakei" : m.ApplicationTitle;
    box.buttons = Buttons::kOkCancel;
    Dialogs* dialogs = m.ports.dialogs;
    if (!dialogs || dialogs->Show(box) != Answer::kOk) return;
  }
  int16_t app_no = 4;
  std::string option = "1";
  LaunchMenuApp(app_no, option);
}

}  // namespace h5
