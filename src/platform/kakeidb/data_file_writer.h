// The writing side of kakeidb: creates a data file and appends records. Used
// by the book builder and the tests; the control never writes data files.
#ifndef H5KAKEI_PLATFORM_KAKEIDB_DATA_FILE_WRITER_H_
#define H5KAKEI_PLATFORM_KAKEIDB_DATA_FILE_WRITER_H_

#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "platform/kakeidb/file_definition.h"

namespace h5 {

// Writes one data file in a single transaction: nothing is visible at path
// until Commit succeeds, and a writer destroyed without Commit leaves no file.
class DataFileWriter {
 public:
  // Starts a new file that will replace any file at path (a real path).
  // nullptr with *error set when the definition is invalid or the file cannot be
  // created.
  static std::unique_ptr<DataFileWriter> Create(const std::filesystem::path& path,
                                                const FileDefinition& definition,
                                                std::string* error);
  virtual ~DataFileWriter() = default;

  // Appends one record; its length must equal the definition's record length.
  virtual bool Append(std::span<const uint8_t> record, std::string* error) = 0;
  virtual bool Commit(std::string* error) = 0;
};

// Everything a data file holds, records in write order; for dumps and tests.
struct DataFileContents {
  FileDefinition definition;
  std::vector<std::vector<uint8_t>> records;
};

// nullopt with *error set when path is not a readable kakeidb data file.
std::optional<DataFileContents> ReadDataFile(const std::filesystem::path& path, std::string* error);

// Writes contents as a new file at path, all or nothing as DataFileWriter does.
bool WriteDataFile(const std::filesystem::path& path, const DataFileContents& contents,
                   std::string* error);

}  // namespace h5

#endif  // H5KAKEI_PLATFORM_KAKEIDB_DATA_FILE_WRITER_H_
