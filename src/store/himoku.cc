#include "store/himoku.h"

#include "text/fields.h"

namespace h5 {
namespace {

// A byte field copied as stored; what lies past the buffer reads as 0.
template <size_t N>
void CopyBytes(std::span<const uint8_t> bytes, size_t offset, std::array<uint8_t, N>& out) {
  for (size_t i = 0; i < N; ++i) out[i] = GetByteAt(bytes, offset + i);
}

}  // namespace

void UnpackHimokuRecord(std::span<const uint8_t> bytes, HimokuRecord& record) {
  using namespace himoku_layout;
  record.group = GetByteAt(bytes, kGroup);
  record.level = GetByteAt(bytes, kLevel);
  record.majorCode = GetInt16At(bytes, kMajorCode);
  record.middleCode = GetInt16At(bytes, kMiddleCode);
  record.minorCode = GetInt16At(bytes, kMinorCode);
  CopyBytes(bytes, kName, record.name);
  CopyBytes(bytes, kField6, record.field6);
  record.field7 = GetByteAt(bytes, kField7);
  record.field8 = GetInt16At(bytes, kField8);
  record.field9 = GetInt16At(bytes, kField9);
  record.field10 = GetInt16At(bytes, kField10);
  CopyBytes(bytes, kField11, record.field11);
}

void UnpackCreditRecord(std::span<const uint8_t> bytes, CreditRecord& record) {
  using namespace credit_layout;
  record.cardCode = GetInt16At(bytes, kCardCode);
  CopyBytes(bytes, kField2, record.field2);
  record.field3 = GetInt16At(bytes, kField3);
  record.field4 = GetInt16At(bytes, kField3 + 2);
  record.field5 = GetInt16At(bytes, kField3 + 4);
  record.field6 = GetInt16At(bytes, kField3 + 6);
  record.field7 = GetInt16At(bytes, kField3 + 8);
  record.field8 = GetInt16At(bytes, kField3 + 10);
}

}  // namespace h5
