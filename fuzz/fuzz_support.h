// What the fuzz targets share: a scratch folder per process, file writing
// that stops the run when the disk refuses (a harness fault, not a finding),
// and a reader that splits an input into framed parts.
#ifndef H5KAKEI_FUZZ_FUZZ_SUPPORT_H_
#define H5KAKEI_FUZZ_FUZZ_SUPPORT_H_

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>

namespace h5::fuzz {

// A fresh folder of this process, below $H5_FUZZ_TMPDIR, else /dev/shm
// (no disk syncs there), else the system's temporary folder. Removed at
// normal exit.
const std::filesystem::path& ScratchDir();

// Writes bytes to path, making its folders; aborts when that fails.
void WriteFile(const std::filesystem::path& path, std::string_view bytes);

// Removes path and everything below it; aborts when that fails.
void RemoveTree(const std::filesystem::path& path);

// Stops the run with a message when a property that must hold does not.
void Check(bool condition, const char* what);

// Reads an input from the front: single bytes, chunks framed by a length
// byte, and the rest. Reads past the end give zeros and empty chunks.
class InputReader {
 public:
  InputReader(const uint8_t* data, size_t size)
      : data_(reinterpret_cast<const char*>(data)), size_(size) {}

  uint8_t Byte();
  // A length byte, then that many bytes (fewer when the input ends).
  std::string Chunk();
  std::string Rest();

 private:
  const char* data_;
  size_t size_;
  size_t pos_ = 0;
};

}  // namespace h5::fuzz

#endif  // H5KAKEI_FUZZ_FUZZ_SUPPORT_H_
