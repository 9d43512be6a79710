// A fresh environment root in a temporary directory, removed afterwards.
#ifndef H5KAKEI_TESTS_PLATFORM_ROOT_TEMP_ROOT_H_
#define H5KAKEI_TESTS_PLATFORM_ROOT_TEMP_ROOT_H_

#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <string_view>

#include <gtest/gtest.h>

namespace h5 {

class TempRoot {
 public:
  TempRoot() {
    std::string pattern = (std::filesystem::temp_directory_path() / "h5root.XXXXXX").string();
    if (::mkdtemp(pattern.data()) == nullptr) ADD_FAILURE() << "mkdtemp failed";
    path_ = pattern;
  }
  ~TempRoot() {
    std::error_code ec;
    std::filesystem::remove_all(path_, ec);
  }
  TempRoot(const TempRoot&) = delete;
  TempRoot& operator=(const TempRoot&) = delete;

  const std::filesystem::path& path() const { return path_; }

  // relative is a UTF-8 path below the root; parents are created.
  std::filesystem::path Write(const std::string& relative, std::string_view bytes) const {
    std::filesystem::path file = path_ / relative;
    std::filesystem::create_directories(file.parent_path());
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    return file;
  }

  std::filesystem::path MakeDir(const std::string& relative) const {
    std::filesystem::create_directories(path_ / relative);
    return path_ / relative;
  }

  std::string Read(const std::string& relative) const {
    std::ifstream in(path_ / relative, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  }

 private:
  std::filesystem::path path_;
};

}  // namespace h5

#endif  // H5KAKEI_TESTS_PLATFORM_ROOT_TEMP_ROOT_H_
