// Whole-file reads and atomic replacement for the files of an environment
// root.
#ifndef H5KAKEI_PLATFORM_OS_FILE_IO_H_
#define H5KAKEI_PLATFORM_OS_FILE_IO_H_

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <system_error>

namespace h5 {

enum class ReadStatus {
  kOk,
  kMissing,  // nothing at the path (or a parent is not a directory)
  kFailed,   // something is there but could not be read as a file
};

// Reads the regular file at path (symlinks followed) into bytes.
ReadStatus ReadFileBytes(const std::filesystem::path& path, std::string* bytes);

// Replaces the file at path with bytes so that readers see either the old or
// the new content, never a mixture: a temporary file in the same directory is
// written, flushed to disk and renamed over path. An existing file keeps its
// permission bits; a new one gets mode. On failure the temporary file is
// removed, the old file is untouched and false is returned.
bool WriteFileAtomically(const std::filesystem::path& path, std::string_view bytes,
                         unsigned mode = 0644);

// Creates a new, empty file in directory whose name starts with prefix and
// ends in a unique suffix, readable by everyone (0644). nullopt when it
// cannot be created.
std::optional<std::filesystem::path> CreateUniqueFile(const std::filesystem::path& directory,
                                                      std::string_view prefix);

// Swaps the entries of two paths in one step: no error when done, the error
// when it failed, nullopt where the system or the file system cannot exchange
// (the caller may then fall back to two renames).
std::optional<std::error_code> ExchangePaths(const std::filesystem::path& a,
                                             const std::filesystem::path& b);

// Flushes the file or directory at path to the disk, so a rename that follows
// or went before survives a crash. False when that cannot be done.
bool FlushToDisk(const std::filesystem::path& path);

// One state of a file or folder: writing, replacing, renaming or touching it
// (for a folder: adding, removing or renaming an entry) moves at least one of
// these.
struct FileStamp {
  uint64_t device = 0;
  uint64_t inode = 0;
  int64_t size = 0;
  int64_t modified_ns = 0;
  int64_t changed_ns = 0;  // of the inode: set on any of the above, never by hand
  friend bool operator==(const FileStamp&, const FileStamp&) = default;
};

// The stamp of the file or folder at path, when one can be trusted: file times
// advance in coarse ticks, so a file changed in the last seconds could change
// again under the same stamp; nullopt then, and when nothing is at path.
// Always nullopt on Windows, which keeps no change time.
std::optional<FileStamp> SettledStamp(const std::filesystem::path& path);

}  // namespace h5

#endif  // H5KAKEI_PLATFORM_OS_FILE_IO_H_
