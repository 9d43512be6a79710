// Declarations of data files read before, so that opening an unchanged file
// again skips reading its declaration tables (the costliest part of an Open).
// An entry holds only while the file keeps the stamp and the SQLite header it
// had when its declaration was read; any write, replacement or rename moves
// one of them and the file is read again.
#ifndef H5KAKEI_PLATFORM_KAKEIDB_DECLARATION_CACHE_H_
#define H5KAKEI_PLATFORM_KAKEIDB_DECLARATION_CACHE_H_

#include <array>
#include <cstdint>
#include <map>
#include <string>

#include "platform/kakeidb/file_definition.h"
#include "platform/os/file_io.h"

namespace h5 {

// The first bytes of a SQLite database: among them its change counter, bumped
// by every write transaction.
using SqliteHeader = std::array<uint8_t, 100>;

// What a file was when its declaration was read.
struct FileState {
  FileStamp stamp;
  SqliteHeader header{};
  friend bool operator==(const FileState&, const FileState&) = default;
};

// Not thread-safe: the engine serialises its calls.
class DeclarationCache {
 public:
  // The declaration read from path in that state, or nullptr.
  const FileDefinition* Find(const std::string& path, const FileState& state) const;
  void Store(const std::string& path, const FileState& state, const FileDefinition& definition);

 private:
  struct Entry {
    FileState state;
    FileDefinition definition;
  };
  std::map<std::string, Entry, std::less<>> entries_;
};

}  // namespace h5

#endif  // H5KAKEI_PLATFORM_KAKEIDB_DECLARATION_CACHE_H_
