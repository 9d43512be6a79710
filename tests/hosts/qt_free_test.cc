// Every command but render starts without Qt's libraries.
#include <gtest/gtest.h>

#include "run_process.h"

namespace h5 {
namespace {

TEST(CommandLine, DoesNotLinkQt) {
  ProcessResult r = RunProcess({"/usr/bin/ldd", H5KAKEI_CLI});
  ASSERT_EQ(r.exit_code, 0) << r.err;
  EXPECT_NE(r.out.find("libsqlite3"), std::string::npos) << r.out;
  EXPECT_EQ(r.out.find("libQt"), std::string::npos) << r.out;
}

}  // namespace
}  // namespace h5
