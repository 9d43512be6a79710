#include "store/status.h"

#include <gtest/gtest.h>

#include <string>

#include "store/files.h"
#include "store/module.h"
#include "store_fixture.h"

namespace h5 {
namespace {

TEST(StatusTextTest, EveryStatusHasItsText) {
  struct Case {
    int16_t status;
    const char* text;
  };
  const Case cases[] = {
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
      {5, "エラーコード=5"},
      {18, "エラーコード=18"},
      {20, "エラーコード=20"},
      {86, "エラーコード=86"},
      {1003, "エラーコード=1003"},
      {99, "エラーコード=99"},
      {0, "エラーコード=0"},
      {-7, "エラーコード=-7"},
      {-32768, "エラーコード=-32768"},
  };
  for (const Case& c : cases) EXPECT_EQ(StatusText(c.status), c.text) << c.status;
}

TEST(StatusTextTest, HeadingLine) {
  EXPECT_EQ(StatusHeading(9, "Close　クレジット"), "《EOF エラー》  ** Close　クレジット **");
  EXPECT_EQ(StatusHeading(99, ""), "《エラーコード=99》  **  **");
}

class ShowModalMessageTest : public StoreTest {};

TEST_F(ShowModalMessageTest, StylesMapToButtonsAndIcons) {
  struct Case {
    int32_t style;
    Buttons buttons;
    Icon icon;
  };
  for (const Case& c :
       {Case{0, Buttons::kOk, Icon::kNone}, Case{4, Buttons::kYesNo, Icon::kNone},
        Case{36, Buttons::kYesNo, Icon::kQuestion}, Case{48, Buttons::kOk, Icon::kExclamation},
        Case{1, Buttons::kOkCancel, Icon::kNone}}) {
    SetUp();
    ShowModalMessage("text", c.style, "");
    ASSERT_EQ(dialogs.shown().size(), 1u);
    const MessageBoxRequest& box = dialogs.shown()[0];
    EXPECT_EQ(box.buttons, c.buttons) << c.style;
    EXPECT_EQ(box.icon, c.icon) << c.style;
    EXPECT_TRUE(box.system_modal);
    EXPECT_EQ(box.text, "text");
    EXPECT_EQ(box.title, "H5Kakei");
  }
}

TEST_F(ShowModalMessageTest, ReturnsTheAnswerAndKeepsAGivenTitle) {
  dialogs.Script({Answer::kYes, Answer::kNo, Answer::kOk});
  EXPECT_EQ(ShowModalMessage("q", 4, "家計診断"), 6);
  EXPECT_EQ(dialogs.shown()[0].title, "家計診断");
  EXPECT_EQ(ShowModalMessage("q", 36, ""), 7);
  EXPECT_EQ(ShowModalMessage("q", 0, ""), 1);
  EXPECT_EQ(ShowModalMessage("closed", 4, ""), 7);  // no answer left: closed
}

TEST_F(ShowModalMessageTest, WithoutDialogsAnswersAsClosed) {
  ResetModule(Ports{.environment = &env, .records = &records});
  EXPECT_EQ(ShowModalMessage("q", 4, ""), 7);
  EXPECT_EQ(ShowModalMessage("q", 0, ""), 1);
}

class ReportTest : public StoreTest {
 protected:
  // Opens three files and marks one absent.
  void OpenSome() {
    OpenHimoku(Module().KakeiDir);
    OpenSuitou();
    OpenKyuyoKingaku();
    Module().FileState[kSlotBunkatu] = kFileAbsent;
  }
  void ExpectAllClosed() {
    for (int slot = 1; slot <= 34; ++slot) EXPECT_EQ(Module().FileState[slot], 0) << slot;
    EXPECT_EQ(records.open_files(), 0);
  }
};

TEST_F(ReportTest, SystemErrorMessage) {
  EXPECT_EQ(ReportFileError(9, "Close　クレジット"), 0);
  ASSERT_EQ(dialogs.shown().size(), 1u);
  const MessageBoxRequest& box = dialogs.shown()[0];
  EXPECT_EQ(box.text,
            "システムエラーが発生しました。強制終了します。\n"
            "以下のメッセージをご確認の上、サポートセンターまで\n"
            "お問い合わせ下さい。\n"
            "\n"
            "《EOF エラー》  ** Close　クレジット **\n"
            "\n"
            "\n"
            "株式会社 青葉システム");
  EXPECT_EQ(box.buttons, Buttons::kOk);
  EXPECT_EQ(box.icon, Icon::kNone);
  EXPECT_TRUE(box.system_modal);
  EXPECT_EQ(box.title, "H5Kakei");
}

TEST_F(ReportTest, DefaultRowForUnlistedStatus) {
  ReportFileError(99, "ReadNXT　出納帳");
  ASSERT_EQ(dialogs.shown().size(), 1u);
  EXPECT_EQ(dialogs.shown()[0].text, SystemErrorText("《エラーコード=99》  ** ReadNXT　出納帳 **"));
}

TEST_F(ReportTest, EnvironmentMessageForRecordManagerErrors) {
  for (int16_t status : {1001, 1003, 1016}) {
    SetUp();
    EXPECT_EQ(ReportFileError(status, "Open　出納帳"), 0);
    ASSERT_EQ(dialogs.shown().size(), 1u);
    EXPECT_EQ(dialogs.shown()[0].text, "《エラーコード=" + std::to_string(status) +
                                           "》  ** Open　出納帳 **\n"
                                           "\n"
                                           "お使いのWindowsの動作環境が   「家計診断」の\n"
                                           "動作環境に当てはまらない可能性があります。\n"
                                           "詳しくは マニュアルの　<エラー> を　ご覧下さい。\n"
                                           "\n"
                                           "「家計診断」を終了します。");
    EXPECT_EQ(dialogs.shown()[0].buttons, Buttons::kOk);
  }
  SetUp();
  ReportFileError(1017, "x");  // just past the range: the system-error message
  EXPECT_EQ(dialogs.shown()[0].text, SystemErrorText("《エラーコード=1017》  ** x **"));
}

TEST_F(ReportTest, InactiveMessage) {
  ReportFileError(20, "ReadGtorEQ  Yosan");
  ASSERT_EQ(dialogs.shown().size(), 1u);
  EXPECT_EQ(dialogs.shown()[0].text,
            "《エラーコード=20》  ** ReadGtorEQ  Yosan **\n"
            "\n"
            "「家計診断」を起動できませんでした。\n"
            "もう一度「家計診断」を起動させてください。");
  EXPECT_EQ(dialogs.shown()[0].buttons, Buttons::kOk);
}

TEST_F(ReportTest, EmptyApplicationTitleBeforeInitialisation) {
  Module().ApplicationTitle.clear();
  ReportFileError(20, "Open　Start");
  ReportFileError(1003, "Open　Start");
  ASSERT_EQ(dialogs.shown().size(), 2u);
  EXPECT_NE(dialogs.shown()[0].text.find(
                "\n「」を起動できませんでした。\nもう一度「」を起動させてください。"),
            std::string::npos);
  EXPECT_NE(dialogs.shown()[1].text.find("動作環境が   「」の\n"), std::string::npos);
  EXPECT_NE(dialogs.shown()[1].text.find("\n「」を終了します。"), std::string::npos);
  EXPECT_EQ(dialogs.shown()[0].title, "H5Kakei");
}

TEST_F(ReportTest, DuplicateKeyKeepsFilesOpenSilently) {
  OpenSome();
  size_t calls = records.calls().size();
  Module().BtrStatus = 5;
  HandleFileStatus(Module().BtrStatus, "x");
  EXPECT_TRUE(dialogs.shown().empty());
  EXPECT_EQ(records.calls().size(), calls);
  EXPECT_EQ(Module().FileState[kSlotSuitou], kFileOpen);
  EXPECT_EQ(Module().BtrStatus, 5);
}

TEST_F(ReportTest, DiskFull) {
  struct Case {
    std::initializer_list<Answer> answers;
    int16_t answer;
  };
  for (const Case& c : {Case{{Answer::kYes}, 0}, Case{{Answer::kNo}, 1}, Case{{}, 1}}) {
    SetUp();
    OpenSome();
    dialogs.Script(c.answers);
    EXPECT_EQ(ReportFileError(18, "label"), c.answer);
    ASSERT_EQ(dialogs.shown().size(), 1u);
    EXPECT_EQ(dialogs.shown()[0].text,
              "ディスクが一杯のため、データ登録できません。\n"
              "不必要なファイルを削除してもう一度実行して下さい。\n"
              "「ひだまり家庭帳」をいったん終了しますか？");
    EXPECT_EQ(dialogs.shown()[0].buttons, Buttons::kYesNo);
    EXPECT_EQ(dialogs.shown()[0].icon, Icon::kNone);
  }
  // Through HandleFileStatus: Yes closes everything, No leaves the files open.
  SetUp();
  OpenSome();
  dialogs.Script({Answer::kNo});
  Module().BtrStatus = 18;
  HandleFileStatus(Module().BtrStatus, "label");
  EXPECT_EQ(Module().FileState[kSlotSuitou], kFileOpen);
  dialogs.Script({Answer::kYes});
  HandleFileStatus(Module().BtrStatus, "label");
  ExpectAllClosed();
  EXPECT_EQ(Module().BtrStatus, 18);
}

TEST_F(ReportTest, CloseAllVisitsSlotsInOrder) {
  OpenStart();
  OpenKyuyoKingaku();
  OpenBunkatu();
  OpenSuitou();
  OpenYosan();
  OpenKyuyo();
  OpenCredit();
  OpenHimoku(Module().KakeiDir);
  Module().FileState[kSlotBikou] = kFileAbsent;
  Module().BtrStatus = 0;
  HandleFileStatus(Module().BtrStatus, "unused");
  const std::string d = kTestKakeiDir;
  EXPECT_EQ(ClosedPaths(),
            (std::vector<std::string>{d + "Himoku.dat", d + "Credit.dat", d + "Kyuyo.dat",
                                      d + "Yosan02.dat", d + "suitou02.dat", d + "bunkat02.dat",
                                      d + "start02.dat", d + "Kyuyo02.dat"}));
  EXPECT_TRUE(dialogs.shown().empty());
  ExpectAllClosed();
  EXPECT_EQ(Module().BtrStatus, 0);
}

TEST_F(ReportTest, CloseAllLeavesLastCloseStatus) {
  OpenSome();
  size_t last_close = records.calls().size() + 2;  // Himoku, Suitou, then KyuyoKingaku
  AnswerCall(last_close, 5);  // duplicate key: reported silently, files stay as they are
  int16_t zero = 0;
  HandleFileStatus(zero, "unused");
  EXPECT_EQ(Module().BtrStatus, 5);
  EXPECT_TRUE(dialogs.shown().empty());
  ExpectAllClosed();
}

TEST_F(ReportTest, ReportedStatusSurvivesThePass) {
  for (bool files_open : {true, false}) {
    SetUp();
    if (files_open) OpenSome();
    AnswerOperation(kBtrGetGreaterOrEqual, 2);
    ReadGtorEQSuitou();
    EXPECT_EQ(Module().BtrStatus, 2);
    ASSERT_EQ(dialogs.shown().size(), 1u);
    EXPECT_EQ(dialogs.shown()[0].text,
              SystemErrorText("《I/O  エラー》  ** ReadGtorEQ  出納帳 **"));
    ExpectAllClosed();
  }
}

TEST_F(ReportTest, CloseFailingDuringPassReportsAndClosesTheRest) {
  OpenSome();
  OpenCredit();
  // The read is call n; the pass closes Himoku (n + 1), then Credit (n + 2).
  size_t credit_close = records.calls().size() + 2;
  AnswerCall(credit_close, 17);
  AnswerOperation(kBtrGetNext, 22);
  ReadNXTSuitou();
  ASSERT_EQ(dialogs.shown().size(), 2u);
  EXPECT_EQ(dialogs.shown()[0].text, SystemErrorText("《エラーコード=22》  ** ReadNXT　出納帳 **"));
  EXPECT_EQ(dialogs.shown()[1].text,
            SystemErrorText("《クローズエラー》  ** Close　クレジット **"));
  const std::string d = kTestKakeiDir;
  EXPECT_EQ(ClosedPaths(), (std::vector<std::string>{d + "Himoku.dat", d + "Credit.dat",
                                                     d + "suitou02.dat", d + "Kyuyo02.dat"}));
  ExpectAllClosed();
  EXPECT_EQ(Module().BtrStatus, 22);
}

TEST_F(ReportTest, CloseFailingDuringCloseAllLeavesItsStatus) {
  OpenSome();
  size_t suitou_close = records.calls().size() + 1;
  AnswerCall(suitou_close, 2);
  Module().BtrStatus = 0;
  HandleFileStatus(Module().BtrStatus, "");
  ASSERT_EQ(dialogs.shown().size(), 1u);
  EXPECT_EQ(dialogs.shown()[0].text, SystemErrorText("《I/O  エラー》  ** Close　現金 **"));
  ExpectAllClosed();
  EXPECT_EQ(Module().BtrStatus, 2);
}

TEST_F(ReportTest, EveryCloseFailingStillEndsWithAllClosed) {
  OpenStart();
  OpenKyuyoKingaku();
  OpenBunkatu();
  OpenSuitou();
  OpenYosan();
  OpenKyuyo();
  OpenCredit();
  OpenHimoku(Module().KakeiDir);
  AnswerOperation(kBtrClose, 17);
  Module().BtrStatus = 0;
  HandleFileStatus(Module().BtrStatus, "");
  EXPECT_EQ(dialogs.shown().size(), 8u);  // one nested report per file
  EXPECT_EQ(ClosedPaths().size(), 8u);
  ExpectAllClosed();
  EXPECT_EQ(Module().BtrStatus, 17);
}

}  // namespace
}  // namespace h5
