// The same book gives the same tile whatever the disk underneath: a data
// folder whose name holds a blank, and start files created in any order.
#include <gtest/gtest.h>

#include <algorithm>

#include "book.h"
#include "scratch.h"
#include "store/module.h"

namespace h5 {
namespace {

namespace fs = std::filesystem;
using nlohmann::json;

struct Tile {
  std::string fiscal_year;
  int16_t level;
  std::optional<int32_t> spending, budget;
  size_t boxes;
  bool operator==(const Tile&) const = default;
};

class SameAnswerTest : public BookTest {
 protected:
  Tile Run(int year, int month, int day) {
    StartUp(year, month, day);
    FrmKakei& control = Diagnose();
    return Tile{Module().FiscalYear, control.DiagnosisLevel(), control.trace().spending,
                control.trace().budget, dialogs_.shown().size()};
  }
};

TEST_F(SameAnswerTest, DataFolderWithABlankGradesLikeAnyOther) {
  Build(WorkedBook());
  const Tile plain = Run(2002, 4, 15);
  ASSERT_EQ(plain.level, 4);

  json blank = WorkedBook();
  json data;
  for (auto& [path, file] : blank["data"].items()) {
    data["C:\\Hdm Data5\\" + path.substr(std::string("C:\\HdmData5\\").size())] = file;
  }
  blank["data"] = data;
  blank["ini"]["C:\\Hidamari5\\DirName.ini"] = {{"DirName", {{"datapath", "Hdm Data5"}}}};
  Build(blank);
  EXPECT_EQ(Run(2002, 4, 15), plain);
  EXPECT_EQ(Module().KakeiDir, "C:\\Hdm Data5\\kakeibo\\kakeibo1\\");
}

TEST_F(SameAnswerTest, StartFilesCreatedInAnyOrderGiveTheSameBookYear) {
  json book = WorkedBook();
  AddData(book, "start00.dat", "start", json::array({{{"Year", 2000}, {"Month", 1}, {"Day", 1}}}));
  AddData(book, "start01.dat", "start", json::array({{{"Year", 2001}, {"Month", 6}, {"Day", 1}}}));
  AddData(book, "start02.dat", "start", json::array({{{"Year", 2002}, {"Month", 1}, {"Day", 1}}}));
  Build(book);
  // Write the book's files again, in each order, into a fresh folder.
  const fs::path folder = root_ / "drive_c/HdmData5/kakeibo/kakeibo1";
  std::map<std::string, std::string> files;
  for (const auto& entry : fs::directory_iterator(folder)) {
    files[entry.path().filename().string()] = ReadBytes(entry.path());
  }
  std::vector<std::string> order;
  for (const auto& [name, bytes] : files) order.push_back(name);
  std::vector<Tile> tiles;
  for (int round = 0; round < 3; ++round) {
    if (round == 1) std::reverse(order.begin(), order.end());
    if (round == 2) std::rotate(order.begin(), order.begin() + 2, order.end());
    fs::remove_all(folder);
    fs::create_directories(folder);
    for (const std::string& name : order) WriteBytes(folder / name, files[name]);
    tiles.push_back(Run(2002, 3, 15));
  }
  // One exchange pass over 2000, 2001, 2002 tries 2001 first, which holds
  // 15 March 2002.
  EXPECT_EQ(tiles[0].fiscal_year, "2001");
  EXPECT_EQ(tiles[1], tiles[0]);
  EXPECT_EQ(tiles[2], tiles[0]);
}

}  // namespace
}  // namespace h5
