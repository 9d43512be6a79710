// The library wired for a whole diagnosis: to in-memory doubles (FakeTest),
// or to an account book that the book builder wrote into a scratch root
// (BookTest: real SQLite files, the real directory environment).
#ifndef H5KAKEI_TESTS_SUPPORT_BOOK_H_
#define H5KAKEI_TESTS_SUPPORT_BOOK_H_

#include <gtest/gtest.h>

#include <map>
#include <nlohmann/json.hpp>

#include "control/frm_kakei.h"
#include "platform/fake/fake_dialogs.h"
#include "platform/fake/fake_environment.h"
#include "platform/fake/fake_record_manager.h"
#include "platform/fake/fake_shell.h"
#include "platform/kakeidb/kakeidb.h"
#include "platform/root/path_map.h"
#include "platform/root/root_environment.h"
#include "scratch.h"

namespace h5 {

inline constexpr char kBook[] = "C:\\HdmData5\\kakeibo\\kakeibo1\\";

#ifdef H5_SOURCE_DIR
// The worked month: April 2002 on calendar months, 1800 yen of spending and
// 3600 yen of budget, of which half is due on 15 April.
inline nlohmann::json WorkedBook() {
  return nlohmann::json::parse(ReadBytes(H5_SOURCE_DIR "/tests/support/worked_book.json"));
}
#endif

void AddData(nlohmann::json& book, const std::string& name, const std::string& layout,
             nlohmann::json records);

class FakeTest : public ::testing::Test {
 protected:
  // Fresh doubles for April 2002; opens of the files named in open_status
  // answer that status, every other call the doubles' default.
  void Bind(float twips = 15.0f, std::map<std::string, int16_t> open_status = {});
  // Files the record manager or the module still holds open.
  int OpenFiles();

  FakeEnvironment env_;
  FakeRecordManager records_;
  FakeDialogs dialogs_;
  FakeShell shell_;
  FakeCookieStore cookies_;
  FakeScreen screen_;
  std::map<std::string, int> opens_;  // file name in lower case -> opens
};

class BookTest : public ::testing::Test {
 protected:
  ~BookTest() override;
  void Build(const nlohmann::json& book);  // into a fresh root_
  void StartUp(int year, int month, int day);
  FrmKakei& Diagnose();  // a control after start-up, on surface_

  ScratchDir scratch_;
  std::filesystem::path root_ = scratch_.path() / "root";
  std::unique_ptr<RootEnvironment> env_;
  std::unique_ptr<RecordManager> records_;
  FakeDialogs dialogs_;
  FakeShell shell_;
  FakeScreen screen_;
  RecordingSurface surface_;
  std::unique_ptr<FrmKakei> control_;
};

}  // namespace h5

#endif  // H5KAKEI_TESTS_SUPPORT_BOOK_H_
