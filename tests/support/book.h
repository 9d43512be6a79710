// Account books written by the book builder into a temporary environment
// root, and the library wired to that root: real SQLite files, the real
// directory environment, scripted dialogs.
#ifndef H5KAKEI_TESTS_SUPPORT_BOOK_H_
#define H5KAKEI_TESTS_SUPPORT_BOOK_H_

#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <memory>
#include <nlohmann/json.hpp>
#include <string>

#include "control/frm_kakei.h"
#include "platform/fake/fake_dialogs.h"
#include "platform/fake/fake_shell.h"
#include "platform/kakeidb/kakeidb.h"
#include "platform/root/root_environment.h"

namespace h5 {

inline constexpr char kBook[] = "C:\\HdmData5\\kakeibo\\kakeibo1\\";

// The worked month: April 2002 on calendar months, 1800 yen of spending.
nlohmann::json WorkedBook();

// Adds a data file of layout with records to book.
void AddData(nlohmann::json& book, const std::string& name, const std::string& layout,
             nlohmann::json records);

class BookTest : public ::testing::Test {
 protected:
  BookTest();
  ~BookTest() override;

  // Writes book into a fresh root, then runs start-up for today on it.
  void Build(const nlohmann::json& book);
  void StartUp(int year, int month, int day);
  // Creates a control after start-up; the surface and control stay here.
  FrmKakei& Diagnose();

  std::map<std::string, std::string> HashFiles() const;

  std::filesystem::path root_;
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
