// `h5kakei render` draws the tile the way the Qt face shows it: for each
// graded level exactly the committed illustration.
#include <gtest/gtest.h>

#include <QImage>
#include <filesystem>

#include "book.h"
#include "run_process.h"
#include "tools/book_builder.h"

namespace h5 {
namespace {

namespace fs = std::filesystem;
using nlohmann::json;

TEST(Render, EachLevelDrawsItsIllustration) {
  struct Case {
    const char* what;
    std::function<void(json&)> change;
    int picture;
  } cases[] = {
      {"level 1",
       [](json& b) {
         b["data"][std::string(kBook) + "Yosan02.dat"]["records"] =
             json::array({{{"month", 1}, {"budgetKind", 1}, {"amount", 36}}});
       },
       6},
      {"level 2",
       [](json& b) {
         b["data"][std::string(kBook) + "Yosan02.dat"]["records"] =
             json::array({{{"month", 1}, {"budgetKind", 1}, {"amount", 1800}}});
       },
       5},
      {"level 3",
       [](json& b) {
         b["data"][std::string(kBook) + "Yosan02.dat"]["records"] =
             json::array({{{"month", 1}, {"budgetKind", 1}, {"amount", 2880}}});
       },
       4},
      {"level 4", [](json&) {}, 3},
      {"level 5",
       [](json& b) {
         b["data"][std::string(kBook) + "Yosan02.dat"]["records"] =
             json::array({{{"month", 1}, {"budgetKind", 1}, {"amount", 5040}}});
       },
       2},
      {"level 7", [](json& b) { b["data"].erase(std::string(kBook) + "Yosan02.dat"); }, 1},
  };
  fs::path root = fs::temp_directory_path() / ("h5kakei-render-" + std::to_string(::getpid()));
  fs::path png = root.string() + ".png";
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    fs::remove_all(root);
    json book = WorkedBook();
    c.change(book);
    std::string error;
    ASSERT_TRUE(BuildBook(book, root, &error)) << error;
    ProcessResult r = RunProcess({H5KAKEI_CLI, "render", "--root", root.string(), "--today",
                                  "2002-04-15", "--out", png.string()},
                                 {"QT_QPA_PLATFORM=offscreen"});
    ASSERT_EQ(r.exit_code, 0) << r.err;
    QImage drawn(QString::fromStdString(png.string()));
    ASSERT_EQ(drawn.size(), QSize(119, 113));
    QImage art(QStringLiteral(H5_SOURCE_DIR "/resources/kekka%1.png").arg(c.picture));
    drawn = drawn.convertToFormat(QImage::Format_RGB888);
    art = art.convertToFormat(QImage::Format_RGB888);
    if (c.picture >= 2) {
      EXPECT_EQ(drawn, art);
    } else {
      // The caption is drawn on the white panel; the title bar is the artwork's.
      EXPECT_EQ(drawn.copy(0, 0, 119, 16), art.copy(0, 0, 119, 16));
      EXPECT_NE(drawn, art);
    }
  }
  fs::remove_all(root);
  fs::remove(png);
}

}  // namespace
}  // namespace h5
