#include "messages.h"

#include <algorithm>
#include <charconv>
#include <cstring>
#include <initializer_list>
#include <regex>
#include <sstream>

namespace h5 {

const char kHimokuFailureText[] =
    "費目ファイルのオープンに失敗しました(ｴﾗｰｺｰﾄﾞ20)\r\n\r\n"
    "パソコンを再起動して、やりなおしてください。";
const char kStartFailureText[] =
    "開始ファイルのオープンに失敗しました(ｴﾗｰｺｰﾄﾞ20)\r\n\r\n"
    "パソコンを再起動して、やりなおしてください。";
const char kOfferedOptions[] = "/m:32 /p:1024 /b:16 /f:50 /l:40 /n:12";

namespace {

constexpr char kCodePrefix[] = "エラーコード=";

struct NamedStatus {
  int16_t status;
  const char* text;
};
constexpr NamedStatus kNamedStatuses[] = {{1, "オペレーションが不正"},
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
                                          {17, "クローズエラー"}};

std::string Lines(std::initializer_list<std::string> lines) {
  std::string text;
  for (const std::string& line : lines) text += line + '\n';
  text.pop_back();
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

// Only the spelling the library writes counts ("+5", "05" do not).
bool StatusFromShortText(std::string_view text, int16_t* status) {
  for (const NamedStatus& named : kNamedStatuses) {
    *status = named.status;
    if (text == named.text) return true;
  }
  std::string_view digits = text.substr(std::min(text.size(), std::strlen(kCodePrefix)));
  auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), *status);
  return error == std::errc() && end == digits.data() + digits.size() &&
         ShortStatusText(*status) == text;
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

const std::vector<FileLabels>& DataFileLabels() {
  static const std::vector<FileLabels> files = {
      {"himoku.dat", "費目ファイル オープン", "費目ファイル クローズ", "費目ファイル ReadEQ", ""},
      {"credit.dat", "Open　クレジット", "Close　クレジット", "ReadEQ  クレジット", ""},
      {"kyuyo.dat", "Open　Kyuyo", "Close　Kyuyo", "ReadEQ  Kyuyo", "ReadNXT　Kyuyo"},
      {"yosan.dat", "Open　yosan", "Close　予算", "ReadGtorEQ  Yosan", "ReadNXT　yosan"},
      {"suitou.dat", "Open　出納帳", "Close　現金", "ReadGtorEQ  出納帳", "ReadNXT　出納帳"},
      {"bunkat.dat", "Open　bunkatu", "Close　bunkatu", "ReadGtorEQ  bunkatu", "ReadNXT　bunkatu"},
      {"start.dat", "Open　Start", "Close　Start", "", ""},
      {"kyuyo-amounts.dat", "Open　給与金額ファイル", "Close　給与金額ファイル",
       "ReadEQ  給与金額ファイル", "ReadNXT　給与金額ファイル"}};
  return files;
}

const std::vector<std::string>& KnownLabels() {
  static const std::vector<std::string> labels = [] {
    // Files the library only ever closes.
    std::vector<std::string> all = {"Close　備考", "Close　単位", "Close　zandaka", "Close　環境"};
    for (const FileLabels& file : DataFileLabels()) {
      for (const char* label : {file.open, file.close, file.read, file.next}) {
        if (*label != '\0') all.push_back(label);
      }
    }
    return all;
  }();
  return labels;
}

std::optional<StatusHeadingParts> ParseHeading(std::string_view text) {
  static const std::regex kHeading("《(.*?)》  \\*\\* (.*) \\*\\*");
  std::istringstream lines{std::string(text)};
  std::smatch match;
  for (std::string line; std::getline(lines, line);) {
    if (!std::regex_match(line, match, kHeading)) continue;
    StatusHeadingParts parts{0, match[2]};
    if (!StatusFromShortText(match[1].str(), &parts.status)) return std::nullopt;
    return parts;
  }
  return std::nullopt;
}

BoxKind ClassifyBox(const MessageBoxRequest& box, std::string_view application_title,
                    std::string* why) {
  const std::string title(application_title);
  std::vector<std::pair<BoxKind, std::string>> expected = {
      {BoxKind::kHimokuFailure, kHimokuFailureText},
      {BoxKind::kStartFailure, kStartFailureText},
      {BoxKind::kOptionsWritten, WrittenText(title)},
      {BoxKind::kDiskFull, DiskFullText()}};
  if (std::optional<StatusHeadingParts> parts = ParseHeading(box.text)) {
    if (std::ranges::count(KnownLabels(), parts->label) == 0) {
      *why = "unknown operation label \"" + parts->label + "\"";
      return BoxKind::kUnknown;
    }
    const int16_t s = parts->status;
    const std::string heading = "《" + ShortStatusText(s) + "》  ** " + parts->label + " **";
    if (s == 86 || (s >= 1001 && s <= 1016)) {
      expected.push_back({BoxKind::kEnvironment, EnvironmentText(heading, title)});
    }
    if (s == 86) expected.push_back({BoxKind::kOptionsOffer, OfferText(heading)});
    if (s == 20) expected.push_back({BoxKind::kInactive, InactiveText(heading, title)});
    if (s != 0 && s != 5 && s != 18 && s != 20 && s != 86 && (s < 1001 || s > 1016)) {
      expected.push_back({BoxKind::kSystemError, SystemErrorText(heading)});
    }
  }
  for (const auto& [kind, text] : expected) {
    if (box.text != text) continue;
    // A status dialog is system-modal with the library's title; the tile's
    // own boxes are modal and titled 家計診断.
    const bool status_dialog = kind != BoxKind::kHimokuFailure && kind != BoxKind::kStartFailure;
    const bool yes_no = kind == BoxKind::kOptionsOffer || kind == BoxKind::kDiskFull;
    const Icon icon = kind == BoxKind::kOptionsOffer     ? Icon::kQuestion
                      : kind == BoxKind::kOptionsWritten ? Icon::kExclamation
                                                         : Icon::kNone;
    if (box.title != (status_dialog ? "H5Kakei" : "家計診断") ||
        box.system_modal != status_dialog || box.icon != icon ||
        box.buttons != (yes_no ? Buttons::kYesNo : Buttons::kOk)) {
      *why = "wrong title, modality, buttons or icon for: " + box.text;
      return BoxKind::kUnknown;
    }
    return kind;
  }
  *why = "not a text of the library: " + box.text;
  return BoxKind::kUnknown;
}

}  // namespace h5
