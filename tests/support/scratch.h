// Scratch folders, folder snapshots and byte I/O shared by every test that
// touches real files.
#ifndef H5KAKEI_TESTS_SUPPORT_SCRATCH_H_
#define H5KAKEI_TESTS_SUPPORT_SCRATCH_H_

#include <filesystem>
#include <map>
#include <string>
#include <string_view>

namespace h5 {

// A fresh folder, removed with everything in it on destruction.
class ScratchDir {
 public:
  ScratchDir();
  ~ScratchDir();
  ScratchDir(const ScratchDir&) = delete;
  ScratchDir& operator=(const ScratchDir&) = delete;

  const std::filesystem::path& path() const { return path_; }

  // relative is a UTF-8 path below the folder; parents are created.
  std::filesystem::path Write(const std::string& relative, std::string_view bytes) const;
  std::filesystem::path MakeDir(const std::string& relative) const;
  std::string Read(const std::string& relative) const;

 private:
  std::filesystem::path path_;
};

// Everything below folder: relative path -> "dir", or "file <mode> <bytes>".
using Snapshot = std::map<std::string, std::string>;
Snapshot TakeSnapshot(const std::filesystem::path& folder);

// Every regular file below folder: relative path -> contents (a symbolic
// link as "link to <target>").
using Tree = std::map<std::string, std::string>;
Tree ReadTree(const std::filesystem::path& folder);

std::string ReadBytes(const std::filesystem::path& file);
void WriteBytes(const std::filesystem::path& file, std::string_view bytes);

}  // namespace h5

#endif  // H5KAKEI_TESTS_SUPPORT_SCRATCH_H_
