#include "store/status.h"

#include <initializer_list>

#include "store/file_table.h"
#include "store/module.h"
#include "store/options.h"
#include "text/vbstring.h"

namespace h5 {
namespace {

// System-modal, added to every box of this layer.
constexpr int32_t kMbSystemModal = 4096;

std::string JoinLines(std::initializer_list<std::string_view> lines) {
  std::string text;
  bool first = true;
  for (std::string_view line : lines) {
    if (!first) text += '\n';
    text += line;
    first = false;
  }
  return text;
}

std::string Quoted(std::string_view before, std::string_view after) {
  std::string text(before);
  text += Module().ApplicationTitle;
  text += after;
  return text;
}

std::string InactiveMessage(std::string_view heading) {
  return JoinLines({heading, "", Quoted("「", "」を起動できませんでした。"),
                    Quoted("もう一度「", "」を起動させてください。")});
}

std::string SystemErrorMessage(std::string_view heading) {
  return JoinLines({"システムエラーが発生しました。強制終了します。",
                    "以下のメッセージをご確認の上、サポートセンターまで", "お問い合わせ下さい。",
                    "", heading, "", "", "株式会社 青葉システム"});
}

std::string DiskFullMessage() {
  return JoinLines({"ディスクが一杯のため、データ登録できません。",
                    "不必要なファイルを削除してもう一度実行して下さい。",
                    "「ひだまり家庭帳」をいったん終了しますか？"});
}

// Dialogs-port form of a Windows message-box style.
MessageBoxRequest RequestFor(int32_t style) {
  MessageBoxRequest request;
  switch (style & 0x0F) {
    case 1:
      request.buttons = Buttons::kOkCancel;
      break;
    case 4:
      request.buttons = Buttons::kYesNo;
      break;
    default:
      request.buttons = Buttons::kOk;
      break;
  }
  switch (style & 0xF0) {
    case 0x20:
      request.icon = Icon::kQuestion;
      break;
    case 0x30:
      request.icon = Icon::kExclamation;
      break;
    default:
      request.icon = Icon::kNone;
      break;
  }
  request.system_modal = (style & kMbSystemModal) != 0;
  return request;
}

// Closes every data file that has a slot, in slot order.
void CloseAllDataFiles() {
  for (const DataFile* file : kEveryFile) {
    if (file->slot != 0 && Module().FileState[file->slot] != kFileClosed) CloseDataFile(*file);
  }
}

}  // namespace

int16_t ShowModalMessage(std::string_view prompt, int32_t buttons, std::string_view title) {
  MessageBoxRequest request = RequestFor(buttons | kMbSystemModal);
  request.text = std::string(prompt);
  request.title = std::string(title.empty() ? kLibraryTitle : title);
  Dialogs* dialogs = Module().ports.dialogs;
  if (dialogs == nullptr) return static_cast<int16_t>(ClosedAnswer(request.buttons));
  return static_cast<int16_t>(dialogs->Show(request));
}

std::string StatusText(int16_t status) {
  switch (status) {
    case 1:
      return "オペレーションが不正";
    case 2:
      return "I/O  エラー";
    case 3:
      return "未オープンエラー";
    case 4:
      return "キーが見つからない";
    case 6:
      return "キー・ナンバーが不正";
    case 7:
      return "キー・ナンバーが不一致";
    case 8:
      return "ポジショニングが不正";
    case 9:
      return "EOF エラー";
    case 10:
      return "変更エラー";
    case 11:
      return "ファイル名が不正";
    case 12:
      return "ファイルが見つからない";
    case 13:
      return "拡張エラー";
    case 14:
      return "プリ・オープン・エラー";
    case 15:
      return "プリ・イメージ・エラー";
    case 16:
      return "拡張エラー";
    case 17:
      return "クローズエラー";
    default:
      return "エラーコード=" + DecimalText(status);
  }
}

std::string StatusHeading(int16_t status, std::string_view label) {
  std::string heading = "《" + StatusText(status) + "》  ** ";
  heading += label;
  heading += " **";
  return heading;
}

std::string EnvironmentMessage(std::string_view heading) {
  return JoinLines({heading, "", Quoted("お使いのWindowsの動作環境が   「", "」の"),
                    "動作環境に当てはまらない可能性があります。",
                    "詳しくは マニュアルの　<エラー> を　ご覧下さい。", "",
                    Quoted("「", "」を終了します。")});
}

void ShowInactiveOpenFailure(std::string_view kind) {
  MessageBoxRequest box;
  box.text = std::string(kind) +
             "ファイルのオープンに失敗しました(ｴﾗｰｺｰﾄﾞ20)\r\n\r\n"
             "パソコンを再起動して、やりなおしてください。";
  box.title = "家計診断";
  if (Dialogs* dialogs = Module().ports.dialogs) dialogs->Show(box);
}

int16_t ReportFileError(int16_t status, std::string_view label) {
  if (status == kBtrDuplicateKey) return 1;
  if (status == kBtrDiskFull) {
    return ShowModalMessage(DiskFullMessage(), kMbYesNo, "") == kIdYes ? 0 : 1;
  }
  std::string heading = StatusHeading(status, label);
  if (status == kBtrTooManyFiles) {
    OfferRecordManagerOptions(heading, EnvironmentMessage(heading));
  } else if (status >= 1001 && status <= 1016) {
    ShowModalMessage(EnvironmentMessage(heading), kMbOk, "");
  } else if (status == kBtrInactive) {
    ShowModalMessage(InactiveMessage(heading), kMbOk, "");
  } else {
    ShowModalMessage(SystemErrorMessage(heading), kMbOk, "");
  }
  return 0;
}

void HandleFileStatus(int16_t& status, std::string_view label) {
  // status is usually BtrStatus itself, which the closes below overwrite.
  const int16_t reported = status;
  if (reported != 0 && ReportFileError(reported, label) == 1) return;
  if (reported != 0 && Module().diagnosing) Module().stopped_by = reported;
  CloseAllDataFiles();
  if (reported != 0) Module().BtrStatus = reported;
}

}  // namespace h5
