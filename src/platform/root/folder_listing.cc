#include "platform/root/folder_listing.h"

#include <map>
#include <mutex>
#include <system_error>

#include "platform/os/file_io.h"

namespace h5 {
namespace {

namespace fs = std::filesystem;

// A root has a handful of folders; a process that walks many roots starts
// over rather than grow without end.
constexpr size_t kMaxFolders = 256;

struct Listing {
  FileStamp stamp;
  std::vector<std::string> names;
};

struct Listings {
  std::mutex mutex;
  std::map<std::string, Listing, std::less<>> by_folder;
};

Listings& Kept() {
  static Listings listings;
  return listings;
}

std::optional<std::vector<std::string>> List(const fs::path& dir) {
  std::vector<std::string> names;
  std::error_code ec;
  fs::directory_iterator it(dir, ec);
  if (ec) return std::nullopt;
  for (; it != fs::directory_iterator(); it.increment(ec)) {
    names.push_back(it->path().filename().string());
  }
  if (ec) return std::nullopt;
  return names;
}

}  // namespace

std::optional<std::vector<std::string>> FolderEntryNames(const fs::path& dir) {
  // Taken before listing: a change made while listing moves the stamp.
  const std::optional<FileStamp> stamp = SettledStamp(dir);
  const std::string key = dir.string();
  Listings& kept = Kept();
  if (stamp) {
    std::lock_guard<std::mutex> lock(kept.mutex);
    auto it = kept.by_folder.find(key);
    if (it != kept.by_folder.end() && it->second.stamp == *stamp) return it->second.names;
  }
  std::optional<std::vector<std::string>> names = List(dir);
  if (names && stamp) {
    std::lock_guard<std::mutex> lock(kept.mutex);
    if (kept.by_folder.size() >= kMaxFolders) kept.by_folder.clear();
    kept.by_folder.insert_or_assign(key, Listing{*stamp, *names});
  }
  return names;
}

}  // namespace h5
