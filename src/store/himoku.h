// The two master files the diagnosis reads, Himoku.dat (expense categories)
// and Credit.dat (credit cards): their packed record layouts and the
// structures a record is unpacked into.
#ifndef H5KAKEI_STORE_HIMOKU_H_
#define H5KAKEI_STORE_HIMOKU_H_

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

namespace h5 {

// Byte offsets of a Himoku.dat record (68 bytes). Key 4 is bytes 0-7 laid
// out exactly like the record: group, level, minor, middle, major code.
namespace himoku_layout {
constexpr size_t kGroup = 0;       // unsigned byte
constexpr size_t kLevel = 1;       // unsigned byte: 0 major, 1 middle, 2 minor
constexpr size_t kMinorCode = 2;   // 16-bit
constexpr size_t kMiddleCode = 4;  // 16-bit
constexpr size_t kMajorCode = 6;   // 16-bit
constexpr size_t kName = 8;        // 20 bytes, blank-padded ANSI text
constexpr size_t kField6 = 28;     // 10 bytes
constexpr size_t kField7 = 38;     // unsigned byte
constexpr size_t kField8 = 39;     // 16-bit
constexpr size_t kField9 = 41;     // 16-bit
constexpr size_t kField10 = 43;    // 16-bit
constexpr size_t kField11 = 45;    // 20 bytes
constexpr int32_t kRecordLength = 68;
constexpr int16_t kKeyNumber = 4;
}  // namespace himoku_layout

// Byte offsets of a Credit.dat record (60 bytes; only the first 34 are read).
namespace credit_layout {
constexpr size_t kCardCode = 0;  // 16-bit; key 0 is this code alone
constexpr size_t kField2 = 2;    // 20 bytes
constexpr size_t kField3 = 22;   // fields 3..8: 16-bit each, every 2 bytes
constexpr size_t kUnpackedLength = 34;
constexpr int32_t kRecordLength = 60;
constexpr int16_t kKeyNumber = 0;
}  // namespace credit_layout

// An unpacked Himoku.dat record. The codes are ordered from the highest level
// down, the reverse of the file; the single-byte fields are widened to 0..255.
struct HimokuRecord {
  int16_t group = 0;
  int16_t level = 0;
  int16_t majorCode = 0;
  int16_t middleCode = 0;
  int16_t minorCode = 0;
  std::array<uint8_t, 20> name{};  // ANSI bytes as stored
  std::array<uint8_t, 10> field6{};
  int16_t field7 = 0;
  std::string extra_text;  // not carried by the file; unpacking leaves it alone
  int16_t field8 = 0;
  int16_t field9 = 0;
  int16_t field10 = 0;
  std::array<uint8_t, 20> field11{};
};

// The first 34 bytes of a Credit.dat record, field by field.
struct CreditRecord {
  int16_t cardCode = 0;
  std::array<uint8_t, 20> field2{};
  int16_t field3 = 0;
  int16_t field4 = 0;
  int16_t field5 = 0;
  int16_t field6 = 0;
  int16_t field7 = 0;
  int16_t field8 = 0;
};

// Copies the fields of a Himoku.dat record into record. Bytes 65-67 are not
// read; bytes beyond a short buffer read as 0.
void UnpackHimokuRecord(std::span<const uint8_t> bytes, HimokuRecord& record);

// Copies bytes 0-33 of a Credit.dat record into record; bytes beyond a short
// buffer read as 0.
void UnpackCreditRecord(std::span<const uint8_t> bytes, CreditRecord& record);

}  // namespace h5

#endif  // H5KAKEI_STORE_HIMOKU_H_
