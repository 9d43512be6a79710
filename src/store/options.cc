#include "store/options.h"

#include "store/module.h"
#include "store/settings.h"
#include "store/status.h"
#include "text/vbstring.h"

namespace h5 {

bool HasRecordManagerOptions() {
  return TrimSpaces(ReadWinIniString("Btrieve", "OPTIONS", "NO", 100)) != "NO";
}

bool WriteRecordManagerOptions() {
  return WriteWinIniString("Btrieve", "OPTIONS", kRecordManagerOptions);
}

void OfferRecordManagerOptions(std::string_view heading, std::string_view environment_message) {
  if (HasRecordManagerOptions()) {
    ShowModalMessage(environment_message, kMbOk, "");
    return;
  }
  std::string question(heading);
  question +=
      "\nお使いのWindowsの動作環境ではﾃﾞｰﾀﾌｧｲﾙの開いている数が多すぎます。\n"
      "\n"
      "起動中の「ひだまり家庭帳」のﾒﾆｭｰ(ひだまり情報､家計簿､料理､星のしおり）\n"
      "のいずれかを終了するか、または、動作環境の設定を変更する必要があります。\n"
      "自動設定しますか？";
  if (ShowModalMessage(question, kMbYesNoQuestion, "") == kIdYes && WriteRecordManagerOptions()) {
    const std::string& title = Module().ApplicationTitle;
    ShowModalMessage("設定を終了しました。\n「" + title +
                         "」を終了します。\nこの設定を有効にするにはWindowsを再起動してください。",
                     kMbOkExclamation, "");
    return;
  }
  ShowModalMessage(environment_message, kMbOk, "");
}

}  // namespace h5
