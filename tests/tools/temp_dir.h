// Scratch folders and folder snapshots for the tool tests.
#ifndef H5KAKEI_TESTS_TOOLS_TEMP_DIR_H_
#define H5KAKEI_TESTS_TOOLS_TEMP_DIR_H_

#include <filesystem>
#include <map>
#include <string>

namespace h5 {

// A fresh folder, removed with everything in it on destruction.
class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;

  const std::filesystem::path& path() const { return path_; }

 private:
  std::filesystem::path path_;
};

// Everything below folder: relative path -> "dir", or "file <mode> <bytes>".
using Snapshot = std::map<std::string, std::string>;
Snapshot TakeSnapshot(const std::filesystem::path& folder);

std::string ReadBytes(const std::filesystem::path& file);
void WriteBytes(const std::filesystem::path& file, const std::string& bytes);

}  // namespace h5

#endif  // H5KAKEI_TESTS_TOOLS_TEMP_DIR_H_
