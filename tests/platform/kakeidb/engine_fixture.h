// A fixture with a real environment root in a temporary directory and an
// engine on it. Every data file written through it must come out of the test
// byte for byte unchanged.
#ifndef H5KAKEI_TESTS_PLATFORM_KAKEIDB_ENGINE_FIXTURE_H_
#define H5KAKEI_TESTS_PLATFORM_KAKEIDB_ENGINE_FIXTURE_H_

#include <map>
#include <memory>
#include <string>

#include <gtest/gtest.h>

#include "platform/fake/fake_environment.h"
#include "platform/kakeidb/kakeidb.h"
#include "test_util.h"

namespace h5::testing {

class EngineTest : public ::testing::Test {
 protected:
  void SetUp() override { StartEngine(); }

  void TearDown() override {
    engine_.reset();
    for (const auto& [path, hash] : hashes_) {
      EXPECT_EQ(FileHash(path), hash) << path << " changed";
    }
    // Reading leaves no journal or shared-memory file behind either.
    std::error_code ec;
    for (auto it = std::filesystem::recursive_directory_iterator(root_.path(), ec);
         it != std::filesystem::recursive_directory_iterator(); it.increment(ec)) {
      const std::string name = it->path().filename().string();
      for (const char* suffix : {"-journal", "-wal", "-shm"}) {
        EXPECT_FALSE(name.ends_with(suffix)) << it->path();
      }
    }
  }

  // A new engine, reading WIN.INI of env_ now.
  void StartEngine() { engine_ = OpenKakeiDb(root_.path(), env_); }

  // Where the account book keeps name, on disk and as the callers name it.
  std::filesystem::path DiskPath(const std::string& name) const {
    return root_.path() / "drive_c" / "HdmData5" / "kakeibo" / "kakeibo1" / name;
  }
  static std::string WindowsPath(const std::string& name) {
    return "C:\\HdmData5\\kakeibo\\kakeibo1\\" + name;
  }

  // Writes a data file and remembers its hash.
  void Write(const std::string& name, const FileDefinition& definition,
             const std::vector<Record>& records) {
    WriteFile(DiskPath(name), definition, records);
    Watch(name);
  }
  void Watch(const std::string& name) { hashes_[DiskPath(name)] = FileHash(DiskPath(name)); }

  int16_t OpenFile(Block& block, const std::string& name, const std::string& owner = "ABCD") {
    return Open(*engine_, block, WindowsPath(name), owner);
  }

  ScratchDir root_;
  FakeEnvironment env_;
  std::unique_ptr<KakeiDb> engine_;
  std::map<std::filesystem::path, uint64_t> hashes_;
};

}  // namespace h5::testing

#endif  // H5KAKEI_TESTS_PLATFORM_KAKEIDB_ENGINE_FIXTURE_H_
