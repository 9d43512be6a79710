// file_io.h on Windows: the book builder and the tests write environment
// roots there too. Windows has no permission bits to keep, and a directory
// cannot be flushed: MOVEFILE_WRITE_THROUGH makes the rename itself durable.
#include <windows.h>

#include <algorithm>
#include <fstream>
#include <random>
#include <string>

#include "platform/os/file_io.h"

namespace h5 {
namespace {

// Closes a file handle when it goes out of scope.
struct HandleCloser {
  HANDLE handle;
  ~HandleCloser() {
    if (handle != INVALID_HANDLE_VALUE) CloseHandle(handle);
  }
};

bool WriteAll(HANDLE file, std::string_view bytes) {
  while (!bytes.empty()) {
    const DWORD chunk = static_cast<DWORD>(std::min<size_t>(bytes.size(), 1u << 30));
    DWORD written = 0;
    if (!WriteFile(file, bytes.data(), chunk, &written, nullptr) || written == 0) return false;
    bytes.remove_prefix(written);
  }
  return true;
}

}  // namespace

ReadStatus ReadFileBytes(const std::filesystem::path& path, std::string* bytes) {
  bytes->clear();
  std::error_code ec;
  const std::filesystem::file_status status = std::filesystem::status(path, ec);
  if (status.type() == std::filesystem::file_type::not_found) return ReadStatus::kMissing;
  if (ec || status.type() != std::filesystem::file_type::regular) return ReadStatus::kFailed;
  std::ifstream in(path, std::ios::binary);
  if (!in) return ReadStatus::kFailed;
  bytes->assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  if (in.bad()) {
    bytes->clear();
    return ReadStatus::kFailed;
  }
  return ReadStatus::kOk;
}

bool WriteFileAtomically(const std::filesystem::path& path, std::string_view bytes,
                         unsigned /*mode*/) {
  std::error_code ec;
  const std::filesystem::file_status status = std::filesystem::status(path, ec);
  if (status.type() != std::filesystem::file_type::not_found &&
      (ec || status.type() != std::filesystem::file_type::regular)) {
    return false;
  }
  std::optional<std::filesystem::path> temp =
      CreateUniqueFile(path.parent_path(), "." + path.filename().string() + ".");
  if (!temp) return false;
  bool ok = false;
  {
    HandleCloser file{CreateFileW(temp->c_str(), GENERIC_WRITE, 0, nullptr, TRUNCATE_EXISTING,
                                  FILE_ATTRIBUTE_NORMAL, nullptr)};
    ok = file.handle != INVALID_HANDLE_VALUE && WriteAll(file.handle, bytes) &&
         FlushFileBuffers(file.handle);
  }
  if (ok) {
    ok = MoveFileExW(temp->c_str(), path.c_str(),
                     MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
  }
  if (!ok) DeleteFileW(temp->c_str());
  return ok;
}

std::optional<std::filesystem::path> CreateUniqueFile(const std::filesystem::path& directory,
                                                      std::string_view prefix) {
  std::random_device random;
  for (int attempt = 0; attempt < 100; ++attempt) {
    std::filesystem::path candidate =
        directory / (std::string(prefix) + std::to_string(random() % 100000000));
    HandleCloser file{CreateFileW(candidate.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                  FILE_ATTRIBUTE_NORMAL, nullptr)};
    if (file.handle != INVALID_HANDLE_VALUE) return candidate;
    if (GetLastError() != ERROR_FILE_EXISTS) return std::nullopt;
  }
  return std::nullopt;
}

std::optional<FileStamp> SettledStamp(const std::filesystem::path&) { return std::nullopt; }

bool FlushToDisk(const std::filesystem::path& path) {
  std::error_code ec;
  if (std::filesystem::is_directory(path, ec)) return true;
  HandleCloser file{CreateFileW(path.c_str(), GENERIC_WRITE,
                                FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr)};
  return file.handle != INVALID_HANDLE_VALUE && FlushFileBuffers(file.handle);
}

// MoveFileExW cannot swap two folders.
std::optional<std::error_code> ExchangePaths(const std::filesystem::path&,
                                             const std::filesystem::path&) {
  return std::nullopt;
}

}  // namespace h5
