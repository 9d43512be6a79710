#include "temp_dir.h"

#include <stdlib.h>

#include <fstream>
#include <sstream>
#include <stdexcept>

namespace h5 {

namespace fs = std::filesystem;

TempDir::TempDir() {
  std::string pattern = (fs::temp_directory_path() / "h5tools-XXXXXX").string();
  if (mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("mkdtemp failed");
  path_ = pattern;
}

TempDir::~TempDir() {
  std::error_code ec;
  fs::remove_all(path_, ec);
}

Snapshot TakeSnapshot(const fs::path& folder) {
  Snapshot snapshot;
  if (!fs::exists(folder)) return snapshot;
  for (const fs::directory_entry& entry : fs::recursive_directory_iterator(folder)) {
    std::string relative = entry.path().lexically_relative(folder).string();
    if (entry.is_directory()) {
      snapshot[relative] = "dir";
    } else {
      auto mode = static_cast<unsigned>(entry.status().permissions());
      snapshot[relative] = "file " + std::to_string(mode) + " " + ReadBytes(entry.path());
    }
  }
  return snapshot;
}

std::string ReadBytes(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  std::stringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

void WriteBytes(const fs::path& file, const std::string& bytes) {
  fs::create_directories(file.parent_path());
  std::ofstream out(file, std::ios::binary);
  out << bytes;
}

}  // namespace h5
