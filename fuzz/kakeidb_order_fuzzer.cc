// The record manager's order, against a model: a data file written by the
// writer from a fuzzed declaration and fuzzed records must read back, key by
// key, in the order of the typed key segments (little-endian integers, signed
// or not, and byte strings), equal keys in write order; Get Equal and Get
// Greater or Equal must land where the model says, and Get Next go on from
// there.
//
// Input: record length, key count, per key a flags byte and per segment a
// type, length and offset byte; then a chunk (length byte, bytes) searched
// for; then the records, record length bytes each.
#include <algorithm>
#include <cstdint>
#include <cstring>
#include <set>
#include <string>
#include <vector>

#include "fuzz_support.h"
#include "platform/kakeidb/data_file_writer.h"
#include "platform/kakeidb/file_definition.h"
#include "platform/kakeidb/kakeidb.h"
#include "platform/record_manager.h"
#include "platform/root/path_map.h"

namespace h5 {
namespace {

using Record = std::vector<uint8_t>;

constexpr size_t kMaxRecords = 300;

FileDefinition ReadDefinition(fuzz::InputReader& input) {
  FileDefinition definition;
  definition.record_length = 1 + input.Byte() % 48;
  const int keys = 1 + input.Byte() % 3;
  for (int k = 0; k < keys; ++k) {
    const uint8_t flags = input.Byte();
    KeyDefinition key;
    key.number = static_cast<int16_t>(k * 5 + flags % 5);
    key.duplicates = (flags & 0x80) == 0;
    const int segments = 1 + (flags >> 3) % 3;
    for (int s = 0; s < segments; ++s) {
      KeySegment segment;
      segment.type = static_cast<SegmentType>(input.Byte() % 3);
      const uint8_t length = input.Byte();
      constexpr int32_t kIntegerLengths[] = {1, 2, 4, 8};
      segment.length =
          segment.type == SegmentType::kString ? 1 + length % 8 : kIntegerLengths[length % 4];
      while (segment.length > definition.record_length) segment.length /= 2;
      segment.offset = input.Byte() % (definition.record_length - segment.length + 1);
      key.segments.push_back(segment);
    }
    definition.keys.push_back(key);
  }
  return definition;
}

// The model: typed comparison of two key values.
int64_t Integer(const uint8_t* bytes, int32_t length, bool is_signed) {
  uint64_t value = 0;
  for (int32_t i = length - 1; i >= 0; --i) value = (value << 8) | bytes[i];
  if (is_signed && length < 8 && (bytes[length - 1] & 0x80) != 0) {
    value |= ~uint64_t{0} << (8 * length);
  }
  return static_cast<int64_t>(value);
}

int Compare(const uint8_t* a, const uint8_t* b, const KeyDefinition& key) {
  for (const KeySegment& segment : key.segments) {
    int order = 0;
    if (segment.type == SegmentType::kString) {
      order = std::memcmp(a, b, static_cast<size_t>(segment.length));
    } else if (segment.type == SegmentType::kSigned) {
      int64_t x = Integer(a, segment.length, true), y = Integer(b, segment.length, true);
      order = x < y ? -1 : x > y;
    } else {
      auto x = static_cast<uint64_t>(Integer(a, segment.length, false));
      auto y = static_cast<uint64_t>(Integer(b, segment.length, false));
      order = x < y ? -1 : x > y;
    }
    if (order != 0) return order;
    a += segment.length;
    b += segment.length;
  }
  return 0;
}

std::string KeyOf(const Record& record, const KeyDefinition& key) {
  std::string value;
  for (const KeySegment& segment : key.segments) {
    value.append(reinterpret_cast<const char*>(record.data()) + segment.offset,
                 static_cast<size_t>(segment.length));
  }
  return value;
}

const uint8_t* Bytes(const std::string& text) {
  return reinterpret_cast<const uint8_t*>(text.data());
}

class Reader {
 public:
  Reader(KakeiDb& db, const FileDefinition& definition) : db_(db), definition_(definition) {}

  int16_t Open() {
    std::vector<uint8_t> key(kKeyBufferSize, ' ');
    const char path[] = "C:\\d\\f.dat";
    std::memcpy(key.data(), path, sizeof(path) - 1);
    int32_t length = 0;
    return db_.BTRV(kBtrOpen, block_, nullptr, &length, key.data(), 0, 0);
  }
  int16_t Close() {
    int32_t length = 0;
    return db_.BTRV(kBtrClose, block_, nullptr, &length, nullptr, 0, 0);
  }

  // One read; on 0 the record in *record, the key buffer's key value
  // checked against it.
  int16_t Read(int16_t operation, const KeyDefinition& key, const std::string& search,
               Record* record) {
    Record data(static_cast<size_t>(definition_.record_length));
    std::vector<uint8_t> buffer(kKeyBufferSize, 0);
    std::memcpy(buffer.data(), search.data(), std::min(search.size(), buffer.size()));
    int32_t length = definition_.record_length;
    int16_t status =
        db_.BTRV(operation, block_, data.data(), &length, buffer.data(), 0, key.number);
    if (status == kBtrOk) {
      fuzz::Check(length == definition_.record_length, "a record of another length");
      const std::string value = KeyOf(data, key);
      fuzz::Check(std::memcmp(buffer.data(), value.data(), value.size()) == 0,
                  "the key buffer does not hold the record's key value");
      *record = std::move(data);
    }
    return status;
  }

 private:
  KakeiDb& db_;
  const FileDefinition& definition_;
  uint8_t block_[kPositionBlockSize] = {};
};

// Reads on after a positioning read that gave first, comparing with the
// model's order from position at on.
void CheckFollowing(Reader& reader, const KeyDefinition& key, const std::vector<Record>& order,
                    size_t at, size_t count) {
  for (size_t i = at; i < std::min(order.size(), at + count); ++i) {
    Record record;
    fuzz::Check(reader.Read(kBtrGetNext, key, "", &record) == kBtrOk && record == order[i],
                "Get Next strayed from the key's order");
  }
  if (at + count >= order.size()) {
    Record record;
    fuzz::Check(reader.Read(kBtrGetNext, key, "", &record) == kBtrEndOfFile,
                "Get Next read past the last record");
  }
}

void CheckKey(Reader& reader, const KeyDefinition& key, const std::vector<Record>& written,
              const std::string& search_input) {
  const auto key_length = static_cast<size_t>(KeyLength(key));
  // The model's order: records and their key values, stably sorted.
  std::vector<size_t> index(written.size());
  std::vector<std::string> values(written.size());
  for (size_t i = 0; i < written.size(); ++i) {
    index[i] = i;
    values[i] = KeyOf(written[i], key);
  }
  std::stable_sort(index.begin(), index.end(), [&](size_t a, size_t b) {
    return Compare(Bytes(values[a]), Bytes(values[b]), key) < 0;
  });
  std::vector<Record> order;
  std::vector<std::string> keys;
  for (size_t i : index) {
    order.push_back(written[i]);
    keys.push_back(values[i]);
  }

  // The whole key in order.
  Record record;
  int16_t status = reader.Read(kBtrGetFirst, key, "", &record);
  if (order.empty()) {
    fuzz::Check(status == kBtrEndOfFile, "Get First on an empty file");
  } else {
    fuzz::Check(status == kBtrOk && record == order[0], "Get First is not the first record");
    CheckFollowing(reader, key, order, 1, order.size());
  }

  // Get Equal on a written key: the first record with it, then on.
  if (!order.empty()) {
    const size_t pick = search_input.empty() ? 0 : Bytes(search_input)[0] % order.size();
    size_t first = 0;
    while (Compare(Bytes(keys[first]), Bytes(keys[pick]), key) != 0) ++first;
    fuzz::Check(
        reader.Read(kBtrGetEqual, key, keys[pick], &record) == kBtrOk && record == order[first],
        "Get Equal missed the first record of a key");
    CheckFollowing(reader, key, order, first + 1, 4);
  }

  // Both searches for arbitrary bytes.
  std::string search = search_input.substr(0, key_length);
  search.resize(key_length, '\0');
  size_t at = 0;
  while (at < order.size() && Compare(Bytes(keys[at]), Bytes(search), key) < 0) ++at;
  const bool equal = at < order.size() && Compare(Bytes(keys[at]), Bytes(search), key) == 0;
  status = reader.Read(kBtrGetGreaterOrEqual, key, search, &record);
  if (at == order.size()) {
    fuzz::Check(status == kBtrEndOfFile, "Get Greater or Equal found a record beyond the last");
    fuzz::Check(reader.Read(kBtrGetNext, key, "", &record) == kBtrEndOfFile,
                "Get Next after the end");
  } else {
    fuzz::Check(status == kBtrOk && record == order[at], "Get Greater or Equal landed elsewhere");
    CheckFollowing(reader, key, order, at + 1, 4);
  }
  status = reader.Read(kBtrGetEqual, key, search, &record);
  if (equal) {
    fuzz::Check(status == kBtrOk && record == order[at], "Get Equal landed elsewhere");
  } else {
    fuzz::Check(status == kBtrKeyNotFound, "Get Equal found a key not written");
  }
}

}  // namespace
}  // namespace h5

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace h5;
  static const std::filesystem::path root = fuzz::ScratchDir() / "order";
  const std::filesystem::path path = root / "drive_c" / "d" / "f.dat";
  fuzz::InputReader input(data, size);
  const FileDefinition definition = ReadDefinition(input);
  const std::string search = input.Chunk();
  const std::string bytes = input.Rest();

  std::string error;
  std::error_code ec;
  std::filesystem::create_directories(path.parent_path(), ec);
  std::unique_ptr<DataFileWriter> writer = DataFileWriter::Create(path, definition, &error);
  fuzz::Check(writer != nullptr, "the writer refused a valid declaration");
  std::vector<Record> written;
  std::vector<std::set<std::string>> unique(definition.keys.size());
  const auto length = static_cast<size_t>(definition.record_length);
  for (size_t at = 0; at + length <= bytes.size() && written.size() < kMaxRecords; at += length) {
    Record record(Bytes(bytes) + at, Bytes(bytes) + at + length);
    // A record whose value of a unique key is taken is refused; the model
    // drops it too.
    bool taken = false;
    for (size_t k = 0; k < definition.keys.size(); ++k) {
      if (!definition.keys[k].duplicates &&
          unique[k].count(KeyOf(record, definition.keys[k])) != 0) {
        taken = true;
      }
    }
    fuzz::Check(writer->Append(record, &error) != taken, "the writer and the model disagree");
    if (taken) continue;
    for (size_t k = 0; k < definition.keys.size(); ++k)
      unique[k].insert(KeyOf(record, definition.keys[k]));
    written.push_back(std::move(record));
  }
  fuzz::Check(writer->Commit(&error), "the writer could not commit");
  writer.reset();

  KakeiDb db(WindowsPathResolver(root), 20);
  Reader reader(db, definition);
  fuzz::Check(reader.Open() == kBtrOk, "a file just written does not open");
  for (const KeyDefinition& key : definition.keys) CheckKey(reader, key, written, search);
  fuzz::Check(reader.Close() == kBtrOk, "close failed");
  return 0;
}
