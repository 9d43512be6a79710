#include "messages.h"

#include <charconv>
#include <initializer_list>

#include "store/status.h"

namespace h5 {

const char kHimokuFailureText[] =
    "費目ファイルのオープンに失敗しました(ｴﾗｰｺｰﾄﾞ20)\r\n\r\n"
    "パソコンを再起動して、やりなおしてください。";
const char kStartFailureText[] =
    "開始ファイルのオープンに失敗しました(ｴﾗｰｺｰﾄﾞ20)\r\n\r\n"
    "パソコンを再起動して、やりなおしてください。";
const char kOfferedOptions[] = "/m:32 /p:1024 /b:16 /f:50 /l:40 /n:12";

namespace {

constexpr char kTileTitle[] = "家計診断";
constexpr char kLibraryTitle[] = "H5Kakei";
constexpr char kCodePrefix[] = "エラーコード=";

// The short texts of the statuses that have one of their own.
struct NamedStatus {
  int16_t status;
  const char* text;
};
constexpr NamedStatus kNamedStatuses[] = {
    {1, "オペレーションが不正"},
    {2, "I/O  エラー"},
    {3, "未オープンエラー"},
    {4, "キーが見つからない"},
    {6, "キー・ナンバーが不正"},
    {7, "キー・ナンバーが不一致"},
    {8, "ポジショニングが不正"},
    {9, "EOF エラー"},
    {10, "変更エラー"},
    {11, "ファイル名が不正"},
    {12, "ファイルが見つからない"},
    {13, "拡張エラー"},
    {14, "プリ・オープン・エラー"},
    {15, "プリ・イメージ・エラー"},
    {16, "拡張エラー"},
    {17, "クローズエラー"},
};

std::string Lines(std::initializer_list<std::string> lines) {
  std::string text;
  bool first = true;
  for (const std::string& line : lines) {
    if (!first) text += '\n';
    text += line;
    first = false;
  }
  return text;
}

std::string EnvironmentText(const std::string& heading, const std::string& title) {
  return Lines({heading, "", "お使いのWindowsの動作環境が   「" + title + "」の",
                "動作環境に当てはまらない可能性があります。",
                "詳しくは マニュアルの　<エラー> を　ご覧下さい。", "",
                "「" + title + "」を終了します。"});
}

std::string InactiveText(const std::string& heading, const std::string& title) {
  return Lines({heading, "", "「" + title + "」を起動できませんでした。",
                "もう一度「" + title + "」を起動させてください。"});
}

std::string OfferText(const std::string& heading) {
  return Lines({heading, "お使いのWindowsの動作環境ではﾃﾞｰﾀﾌｧｲﾙの開いている数が多すぎます。", "",
                "起動中の「ひだまり家庭帳」のﾒﾆｭｰ(ひだまり情報､家計簿､料理､星のしおり）",
                "のいずれかを終了するか、または、動作環境の設定を変更する必要があります。",
                "自動設定しますか？"});
}

std::string WrittenText(const std::string& title) {
  return Lines({"設定を終了しました。", "「" + title + "」を終了します。",
                "この設定を有効にするにはWindowsを再起動してください。"});
}

std::string DiskFullText() {
  return Lines({"ディスクが一杯のため、データ登録できません。",
                "不必要なファイルを削除してもう一度実行して下さい。",
                "「ひだまり家庭帳」をいったん終了しますか？"});
}

bool StatusFromShortText(std::string_view text, int16_t* status) {
  for (const NamedStatus& named : kNamedStatuses) {
    if (text == named.text) {
      *status = named.status;
      return true;
    }
  }
  std::string_view prefix = kCodePrefix;
  if (text.substr(0, prefix.size()) != prefix) return false;
  std::string_view digits = text.substr(prefix.size());
  int16_t value = 0;
  const char* end = digits.data() + digits.size();
  auto [ptr, ec] = std::from_chars(digits.data(), end, value);
  if (ec != std::errc() || ptr != end || digits.empty()) return false;
  // The number must be written as the code writes it ("+5", "05" are not).
  if (std::to_string(value) != digits) return false;
  if (ShortStatusText(value) != text) return false;  // a status with a name of its own
  *status = value;
  return true;
}

// Checks the box's frame: a status dialog is system-modal and carries the
// library's title; the tile's own boxes are modal and titled 家計診断.
bool FrameIs(const MessageBoxRequest& box, Buttons buttons, Icon icon, bool status_dialog,
             std::string* why) {
  std::string expected_title = status_dialog ? kLibraryTitle : kTileTitle;
  if (box.title != expected_title) {
    *why = "title \"" + box.title + "\", expected \"" + expected_title + "\"";
    return false;
  }
  if (box.system_modal != status_dialog) {
    *why = "wrong modality";
    return false;
  }
  if (box.buttons != buttons) {
    *why = "wrong buttons";
    return false;
  }
  if (box.icon != icon) {
    *why = "wrong icon";
    return false;
  }
  return true;
}

}  // namespace

std::string SystemErrorText(const std::string& heading) {
  return Lines({"システムエラーが発生しました。強制終了します。",
                "以下のメッセージをご確認の上、サポートセンターまで", "お問い合わせ下さい。", "",
                heading, "", "", "株式会社 青葉システム"});
}

std::string ShortStatusText(int16_t status) {
  for (const NamedStatus& named : kNamedStatuses) {
    if (named.status == status) return named.text;
  }
  return kCodePrefix + std::to_string(status);
}

const std::vector<std::string>& KnownLabels() {
  static const std::vector<std::string> labels = {
      "費目ファイル オープン",
      "費目ファイル クローズ",
      "費目ファイル ReadEQ",
      "Open　クレジット",
      "Close　クレジット",
      "ReadEQ  クレジット",
      "Close　備考",
      "Close　単位",
      "Open　Kyuyo",
      "Close　Kyuyo",
      "ReadEQ  Kyuyo",
      "ReadNXT　Kyuyo",
      "Open　yosan",
      "Close　予算",
      "ReadGtorEQ  Yosan",
      "ReadNXT　yosan",
      "Open　出納帳",
      "Close　現金",
      "ReadGtorEQ  出納帳",
      "ReadNXT　出納帳",
      "Open　bunkatu",
      "Close　bunkatu",
      "ReadGtorEQ  bunkatu",
      "ReadNXT　bunkatu",
      "Close　zandaka",
      "Open　Start",
      "Close　Start",
      "Close　環境",
      "Open　給与金額ファイル",
      "Close　給与金額ファイル",
      "ReadEQ  給与金額ファイル",
      "ReadNXT　給与金額ファイル",
  };
  return labels;
}

std::optional<StatusHeadingParts> ParseHeading(std::string_view text) {
  constexpr std::string_view kOpen = "《";
  constexpr std::string_view kMiddle = "》  ** ";
  constexpr std::string_view kEnd = " **";
  size_t start = 0;
  while (start <= text.size()) {
    size_t stop = text.find('\n', start);
    if (stop == std::string_view::npos) stop = text.size();
    std::string_view line = text.substr(start, stop - start);
    size_t middle = line.find(kMiddle);
    if (line.substr(0, kOpen.size()) == kOpen && middle != std::string_view::npos &&
        line.size() >= middle + kMiddle.size() + kEnd.size() &&
        line.substr(line.size() - kEnd.size()) == kEnd) {
      StatusHeadingParts parts;
      std::string_view short_text = line.substr(kOpen.size(), middle - kOpen.size());
      if (!StatusFromShortText(short_text, &parts.status)) return std::nullopt;
      size_t label_start = middle + kMiddle.size();
      parts.label = std::string(line.substr(label_start, line.size() - kEnd.size() - label_start));
      return parts;
    }
    start = stop + 1;
  }
  return std::nullopt;
}

BoxKind ClassifyBox(const MessageBoxRequest& box, std::string_view application_title,
                    std::string* why) {
  const std::string title(application_title);
  if (box.text == kHimokuFailureText || box.text == kStartFailureText) {
    if (!FrameIs(box, Buttons::kOk, Icon::kNone, false, why)) return BoxKind::kUnknown;
    return box.text == kHimokuFailureText ? BoxKind::kHimokuFailure : BoxKind::kStartFailure;
  }
  if (box.text == WrittenText(title)) {
    if (!FrameIs(box, Buttons::kOk, Icon::kExclamation, true, why)) return BoxKind::kUnknown;
    return BoxKind::kOptionsWritten;
  }
  if (box.text == DiskFullText()) {
    if (!FrameIs(box, Buttons::kYesNo, Icon::kNone, true, why)) return BoxKind::kUnknown;
    return BoxKind::kDiskFull;
  }

  std::optional<StatusHeadingParts> parts = ParseHeading(box.text);
  if (!parts) {
    *why = "not a text of the library: " + box.text;
    return BoxKind::kUnknown;
  }
  bool label_known = false;
  for (const std::string& label : KnownLabels()) label_known = label_known || label == parts->label;
  if (!label_known) {
    *why = "unknown operation label \"" + parts->label + "\"";
    return BoxKind::kUnknown;
  }
  const int16_t status = parts->status;
  const std::string heading = "《" + ShortStatusText(status) + "》  ** " + parts->label + " **";
  if (StatusHeading(status, parts->label) != heading) {
    *why = "the library's heading for status " + std::to_string(status) + " reads \"" +
           StatusHeading(status, parts->label) + "\", expected \"" + heading + "\"";
    return BoxKind::kUnknown;
  }

  struct Candidate {
    BoxKind kind;
    std::string text;
    Buttons buttons;
    Icon icon;
  };
  std::vector<Candidate> candidates;
  if (status == 86) {
    candidates.push_back(
        {BoxKind::kEnvironment, EnvironmentText(heading, title), Buttons::kOk, Icon::kNone});
    candidates.push_back(
        {BoxKind::kOptionsOffer, OfferText(heading), Buttons::kYesNo, Icon::kQuestion});
  } else if (status >= 1001 && status <= 1016) {
    candidates.push_back(
        {BoxKind::kEnvironment, EnvironmentText(heading, title), Buttons::kOk, Icon::kNone});
  } else if (status == 20) {
    candidates.push_back(
        {BoxKind::kInactive, InactiveText(heading, title), Buttons::kOk, Icon::kNone});
  } else if (status != 5 && status != 18 && status != 0) {
    candidates.push_back(
        {BoxKind::kSystemError, SystemErrorText(heading), Buttons::kOk, Icon::kNone});
  }
  for (const Candidate& candidate : candidates) {
    if (box.text != candidate.text) continue;
    if (!FrameIs(box, candidate.buttons, candidate.icon, true, why)) return BoxKind::kUnknown;
    return candidate.kind;
  }
  *why = "status " + std::to_string(status) + " with label \"" + parts->label +
         "\" has another text: " + box.text;
  return BoxKind::kUnknown;
}

}  // namespace h5
