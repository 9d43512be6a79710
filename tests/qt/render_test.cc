// `h5kakei render` draws the tile the way the Qt face shows it: for each
// graded level exactly the committed illustration.
#include <gtest/gtest.h>

#include <QImage>

#include "book.h"
#include "run_process.h"
#include "tools/book_tool.h"

namespace h5 {
namespace {

TEST(Render, EachLevelDrawsItsIllustration) {
  // Budgets for levels 1, 2, 3, 4 (the worked book's own), 5, and 7 (none).
  for (auto [budget, picture] :
       {std::pair{36, 6}, {1800, 5}, {2880, 4}, {-1, 3}, {5040, 2}, {0, 1}}) {
    SCOPED_TRACE(picture);
    ScratchDir dir;
    nlohmann::json book = WorkedBook();
    if (budget == 0) book["data"].erase(std::string(kBook) + "Yosan02.dat");
    if (budget > 0) {
      AddData(book, "Yosan02.dat", "budget",
              nlohmann::json::array({{{"month", 1}, {"budgetKind", 1}, {"amount", budget}}}));
    }
    std::string error, png = (dir.path() / "tile.png").string();
    ASSERT_TRUE(BuildBook(book, dir.path() / "root", &error)) << error;
    ProcessResult r = RunProcess({H5KAKEI_CLI, "render", "--root", (dir.path() / "root").string(),
                                  "--today", "2002-04-15", "--out", png},
                                 {"QT_QPA_PLATFORM=offscreen"});
    ASSERT_EQ(r.exit_code, 0) << r.err;
    EXPECT_NE(r.out.find(", picture " + std::to_string(picture) + ")\n"), std::string::npos);
    QImage drawn = QImage(QString::fromStdString(png)).convertToFormat(QImage::Format_RGB888);
    QImage art = QImage(QStringLiteral(H5_SOURCE_DIR "/resources/kekka%1.png").arg(picture))
                     .convertToFormat(QImage::Format_RGB888);
    ASSERT_EQ(drawn.size(), QSize(119, 113));
    if (picture >= 2) {
      EXPECT_EQ(drawn, art);
    } else {
      // The caption is drawn on the white panel; the title bar is the artwork's.
      EXPECT_EQ(drawn.copy(0, 0, 119, 16), art.copy(0, 0, 119, 16));
      EXPECT_NE(drawn, art);
    }
  }
}

}  // namespace
}  // namespace h5
