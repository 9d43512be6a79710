#include "platform/os/file_io.h"

#include <errno.h>
#include <fcntl.h>
#include <stdio.h>  // renameat2
#include <stdlib.h>
#include <sys/stat.h>
#include <time.h>
#include <unistd.h>

namespace h5 {
namespace {

// How far a settled file's times lie behind the clock: far more than any
// file system's time tick.
constexpr int64_t kSettledNs = 2'000'000'000;

int64_t Nanoseconds(const struct timespec& t) {
  return static_cast<int64_t>(t.tv_sec) * 1'000'000'000 + t.tv_nsec;
}

bool WriteAll(int fd, std::string_view bytes) {
  while (!bytes.empty()) {
    ssize_t written = ::write(fd, bytes.data(), bytes.size());
    if (written < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    bytes.remove_prefix(static_cast<size_t>(written));
  }
  return true;
}

}  // namespace

std::optional<std::error_code> ExchangePaths(const std::filesystem::path& a,
                                             const std::filesystem::path& b) {
  if (::renameat2(AT_FDCWD, a.c_str(), AT_FDCWD, b.c_str(), RENAME_EXCHANGE) == 0) {
    return std::error_code();
  }
  if (errno == EINVAL || errno == ENOSYS) return std::nullopt;
  return std::error_code(errno, std::generic_category());
}

bool FlushToDisk(const std::filesystem::path& path) {
  int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return false;
  bool ok = ::fsync(fd) == 0;
  ::close(fd);
  return ok;
}

std::optional<std::filesystem::path> CreateUniqueFile(const std::filesystem::path& directory,
                                                      std::string_view prefix) {
  std::string pattern = (directory / (std::string(prefix) + "XXXXXX")).string();
  int fd = ::mkostemp(pattern.data(), O_CLOEXEC);
  if (fd < 0) return std::nullopt;
  ::fchmod(fd, 0644);
  ::close(fd);
  return std::filesystem::path(pattern);
}

std::optional<FileStamp> SettledStamp(const std::filesystem::path& path) {
  struct stat st;
  struct timespec now;
  if (::stat(path.c_str(), &st) != 0 || ::clock_gettime(CLOCK_REALTIME, &now) != 0) {
    return std::nullopt;
  }
  FileStamp stamp{static_cast<uint64_t>(st.st_dev), static_cast<uint64_t>(st.st_ino),
                  static_cast<int64_t>(st.st_size), Nanoseconds(st.st_mtim),
                  Nanoseconds(st.st_ctim)};
  // A time ahead of the clock is not settled either.
  const int64_t settled_before = Nanoseconds(now) - kSettledNs;
  if (stamp.modified_ns > settled_before || stamp.changed_ns > settled_before) return std::nullopt;
  return stamp;
}

ReadStatus ReadFileBytes(const std::filesystem::path& path, std::string* bytes) {
  bytes->clear();
  int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) {
    return (errno == ENOENT || errno == ENOTDIR) ? ReadStatus::kMissing : ReadStatus::kFailed;
  }
  struct stat st;
  if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
    ::close(fd);
    return ReadStatus::kFailed;
  }
  char buffer[65536];
  for (;;) {
    ssize_t got = ::read(fd, buffer, sizeof(buffer));
    if (got == 0) break;
    if (got < 0) {
      if (errno == EINTR) continue;
      ::close(fd);
      bytes->clear();
      return ReadStatus::kFailed;
    }
    bytes->append(buffer, static_cast<size_t>(got));
  }
  ::close(fd);
  return ReadStatus::kOk;
}

bool WriteFileAtomically(const std::filesystem::path& path, std::string_view bytes, unsigned mode) {
  struct stat old;
  if (::stat(path.c_str(), &old) == 0) {
    if (!S_ISREG(old.st_mode)) return false;
    mode = old.st_mode & 07777;
  }
  // A leading dot keeps a temporary file left by a crash out of listings.
  std::string temp = (path.parent_path() / ("." + path.filename().string() + ".XXXXXX")).string();
  int fd = ::mkostemp(temp.data(), O_CLOEXEC);
  if (fd < 0) return false;
  bool ok = WriteAll(fd, bytes) && ::fchmod(fd, static_cast<mode_t>(mode)) == 0 && ::fsync(fd) == 0;
  ok = (::close(fd) == 0) && ok;
  if (ok) ok = ::rename(temp.c_str(), path.c_str()) == 0;
  if (!ok) {
    ::unlink(temp.c_str());
    return false;
  }
  // The new content is already in place, so a failure here cannot be undone
  // and is not reported.
  FlushToDisk(path.parent_path());
  return true;
}

}  // namespace h5
