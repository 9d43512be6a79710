#include "scratch.h"

#include <fstream>
#include <random>
#include <sstream>
#include <stdexcept>

namespace h5 {

namespace fs = std::filesystem;

ScratchDir::ScratchDir() {
  std::random_device random;
  for (int attempt = 0; attempt < 100; ++attempt) {
    fs::path candidate = fs::temp_directory_path() / ("h5test-" + std::to_string(random()));
    if (fs::create_directory(candidate)) {
      fs::permissions(candidate, fs::perms::owner_all, fs::perm_options::replace);
      path_ = candidate;
      return;
    }
  }
  throw std::runtime_error("cannot make a scratch folder");
}

ScratchDir::~ScratchDir() {
  std::error_code ec;
  fs::remove_all(path_, ec);
}

fs::path ScratchDir::Write(const std::string& relative, std::string_view bytes) const {
  fs::path file = path_ / relative;
  WriteBytes(file, bytes);
  return file;
}

fs::path ScratchDir::MakeDir(const std::string& relative) const {
  fs::create_directories(path_ / relative);
  return path_ / relative;
}

std::string ScratchDir::Read(const std::string& relative) const {
  return ReadBytes(path_ / relative);
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

Tree ReadTree(const fs::path& folder) {
  Tree tree;
  std::error_code ec;
  for (fs::recursive_directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
    // Links that lead nowhere or in circles, FIFOs and devices hold no bytes
    // of their own; a link to a regular file counts with its target's bytes.
    std::error_code type_ec;
    if (it->is_regular_file(type_ec)) {
      tree[it->path().lexically_relative(folder).string()] = ReadBytes(it->path());
    } else if (it->is_symlink(type_ec)) {
      tree[it->path().lexically_relative(folder).string()] =
          "link to " + fs::read_symlink(it->path(), type_ec).string();
    }
  }
  if (ec) tree["(unreadable)"] = ec.message();
  return tree;
}

std::string ReadBytes(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  std::stringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

void WriteBytes(const fs::path& file, std::string_view bytes) {
  fs::create_directories(file.parent_path());
  std::ofstream out(file, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

}  // namespace h5
