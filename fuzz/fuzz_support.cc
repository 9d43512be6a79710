#include "fuzz_support.h"

#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <system_error>

namespace h5::fuzz {
namespace {

std::filesystem::path ScratchBase() {
  if (const char* dir = std::getenv("H5_FUZZ_TMPDIR"); dir != nullptr && *dir != '\0') return dir;
  if (access("/dev/shm", W_OK) == 0) return "/dev/shm";
  return std::filesystem::temp_directory_path();
}

std::filesystem::path* scratch = nullptr;

void RemoveScratch() {
  std::error_code ec;
  if (scratch != nullptr) std::filesystem::remove_all(*scratch, ec);
}

}  // namespace

const std::filesystem::path& ScratchDir() {
  if (scratch == nullptr) {
    std::string pattern = (ScratchBase() / "h5fuzz-XXXXXX").string();
    Check(mkdtemp(pattern.data()) != nullptr, "cannot make the scratch folder");
    // Deliberately never freed: it must outlive every other static.
    scratch = new std::filesystem::path(pattern);
    std::atexit(RemoveScratch);
  }
  return *scratch;
}

void WriteFile(const std::filesystem::path& path, std::string_view bytes) {
  std::error_code ec;
  std::filesystem::create_directories(path.parent_path(), ec);
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  out.close();
  Check(static_cast<bool>(out), "cannot write a scratch file");
}

void RemoveTree(const std::filesystem::path& path) {
  std::error_code ec;
  std::filesystem::remove_all(path, ec);
  Check(!ec, "cannot clean a scratch folder");
}

void Check(bool condition, const char* what) {
  if (condition) return;
  std::fprintf(stderr, "fuzz check failed: %s\n", what);
  std::abort();
}

uint8_t InputReader::Byte() {
  if (pos_ >= size_) return 0;
  return static_cast<uint8_t>(data_[pos_++]);
}

std::string InputReader::Chunk() {
  size_t length = std::min<size_t>(Byte(), size_ - pos_);
  std::string chunk(data_ + pos_, length);
  pos_ += length;
  return chunk;
}

std::string InputReader::Rest() {
  std::string rest(data_ + pos_, size_ - pos_);
  pos_ = size_;
  return rest;
}

}  // namespace h5::fuzz
