#include "store/options.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "store/files.h"
#include "store/status.h"
#include "store_fixture.h"
#include "text/ansi.h"

namespace h5 {
namespace {

const char kHeading[] = "《エラーコード=86》  ** Open　出納帳 **";

std::string Question() {
  return std::string(kHeading) +
         "\nお使いのWindowsの動作環境ではﾃﾞｰﾀﾌｧｲﾙの開いている数が多すぎます。\n"
         "\n"
         "起動中の「ひだまり家庭帳」のﾒﾆｭｰ(ひだまり情報､家計簿､料理､星のしおり）\n"
         "のいずれかを終了するか、または、動作環境の設定を変更する必要があります。\n"
         "自動設定しますか？";
}

std::string EnvironmentText() {
  return std::string(kHeading) +
         "\n\nお使いのWindowsの動作環境が   「家計診断」の\n"
         "動作環境に当てはまらない可能性があります。\n"
         "詳しくは マニュアルの　<エラー> を　ご覧下さい。\n\n「家計診断」を終了します。";
}

const char kConfirmation[] =
    "設定を終了しました。\n「家計診断」を終了します。\nこの設定を有効にするにはWindowsを再起動して"
    "ください。";

enum class Box { kQuestion, kConfirmation, kEnvironment };

struct Case {
  const char* name;
  std::optional<std::string> value;  // [Btrieve] OPTIONS before; nullopt: missing
  std::initializer_list<Answer> answers;
  bool write_fails;
  std::vector<Box> boxes;
  std::optional<std::string> value_after;
};

const std::string kWritten = "/m:32 /p:1024 /b:16 /f:50 /l:40 /n:12";

class TooManyFilesTest : public StoreTest {};

TEST_F(TooManyFilesTest, Flows) {
  const Case cases[] = {
      {"missing, yes",
       std::nullopt,
       {Answer::kYes},
       false,
       {Box::kQuestion, Box::kConfirmation},
       kWritten},
      {"missing, no",
       std::nullopt,
       {Answer::kNo},
       false,
       {Box::kQuestion, Box::kEnvironment},
       std::nullopt},
      {"missing, closed",
       std::nullopt,
       {},
       false,
       {Box::kQuestion, Box::kEnvironment},
       std::nullopt},
      {"NO, yes", "NO", {Answer::kYes}, false, {Box::kQuestion, Box::kConfirmation}, kWritten},
      {"blank NO, yes",
       " NO ",
       {Answer::kYes},
       false,
       {Box::kQuestion, Box::kConfirmation},
       kWritten},
      {"missing, yes, write fails",
       std::nullopt,
       {Answer::kYes},
       true,
       {Box::kQuestion, Box::kEnvironment},
       std::nullopt},
      {"lower-case no", "no", {Answer::kYes}, false, {Box::kEnvironment}, "no"},
      {"empty", "", {Answer::kYes}, false, {Box::kEnvironment}, ""},
      {"already set", "/f:20", {Answer::kYes}, false, {Box::kEnvironment}, "/f:20"},
      {"NO with tab", "NO\t", {Answer::kYes}, false, {Box::kEnvironment}, "NO\t"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    SetUp();
    if (c.value) env.SetWinIni("Btrieve", "OPTIONS", *c.value);
    env.FailWinIniWrites(c.write_fails);
    dialogs.Script(c.answers);
    OpenCredit();
    AnswerOperation(kBtrOpen, kBtrTooManyFiles);
    OpenSuitou();
    EXPECT_EQ(Module().BtrStatus, kBtrTooManyFiles);
    ASSERT_EQ(dialogs.shown().size(), c.boxes.size());
    for (size_t i = 0; i < c.boxes.size(); ++i) {
      const MessageBoxRequest& box = dialogs.shown()[i];
      EXPECT_TRUE(box.system_modal);
      EXPECT_EQ(box.title, "H5Kakei");
      switch (c.boxes[i]) {
        case Box::kQuestion:
          EXPECT_EQ(box.text, Question());
          EXPECT_EQ(box.buttons, Buttons::kYesNo);
          EXPECT_EQ(box.icon, Icon::kQuestion);
          break;
        case Box::kConfirmation:
          EXPECT_EQ(box.text, kConfirmation);
          EXPECT_EQ(box.buttons, Buttons::kOk);
          EXPECT_EQ(box.icon, Icon::kExclamation);
          break;
        case Box::kEnvironment:
          EXPECT_EQ(box.text, EnvironmentText());
          EXPECT_EQ(box.buttons, Buttons::kOk);
          EXPECT_EQ(box.icon, Icon::kNone);
          break;
      }
    }
    EXPECT_EQ(env.WinIniValue("Btrieve", "OPTIONS"), c.value_after);
    // Whatever the path, every file is closed afterwards.
    EXPECT_EQ(Module().FileState[kSlotCredit], kFileClosed);
    EXPECT_EQ(records.open_files(), 0);
  }
}

TEST_F(TooManyFilesTest, AfterAWriteOnlyTheEnvironmentMessage) {
  dialogs.Script({Answer::kYes});
  AnswerOperation(kBtrOpen, kBtrTooManyFiles);
  OpenSuitou();
  EXPECT_EQ(env.win_ini_writes(), 1);
  OpenSuitou();
  ASSERT_EQ(dialogs.shown().size(), 3u);
  EXPECT_EQ(dialogs.shown()[2].text, EnvironmentText());
  EXPECT_EQ(env.win_ini_writes(), 1);
}

TEST_F(TooManyFilesTest, NothingWrittenWithoutYes) {
  dialogs.Script({Answer::kNo});
  AnswerOperation(kBtrOpen, kBtrTooManyFiles);
  OpenSuitou();
  EXPECT_EQ(env.win_ini_writes(), 0);
}

TEST_F(StoreTest, HasRecordManagerOptions) {
  EXPECT_FALSE(HasRecordManagerOptions());
  env.SetWinIni("btrieve", "options", "  NO  ");
  EXPECT_FALSE(HasRecordManagerOptions());
  env.SetWinIni("btrieve", "options", "No");
  EXPECT_TRUE(HasRecordManagerOptions());
}

TEST_F(StoreTest, WinIniStringsPassAsAnsi) {
  env.SetWinIni(ToAnsi("設定"), ToAnsi("名前"), ToAnsi("家計簿です"));
  EXPECT_EQ(ReadWinIniString("設定", "名前", "", 100), "家計簿です");
  // Cut below size bytes, never inside a double-byte character.
  EXPECT_EQ(ReadWinIniString("設定", "名前", "", 6), "家計");
  EXPECT_EQ(ReadWinIniString("設定", "無い", "既定", 100), "既定");
  EXPECT_EQ(ReadWinIniString("設定", "名前", "", 0), "");
  EXPECT_EQ(ReadWinIniString("設定", "名前", "", -5), "");
  EXPECT_TRUE(WriteWinIniString("設定", "新", "値"));
  EXPECT_EQ(env.WinIniValue(ToAnsi("設定"), ToAnsi("新")), ToAnsi("値"));
  env.FailWinIniWrites(true);
  EXPECT_FALSE(WriteWinIniString("設定", "新", "別"));
  EXPECT_FALSE(WriteRecordManagerOptions());
}

TEST_F(StoreTest, WithoutEnvironmentNothingIsReadOrWritten) {
  ResetModule(Ports{.records = &records, .dialogs = &dialogs});
  EXPECT_EQ(ReadWinIniString("Btrieve", "OPTIONS", "NO", 100), "");
  EXPECT_FALSE(WriteRecordManagerOptions());
}

}  // namespace
}  // namespace h5
