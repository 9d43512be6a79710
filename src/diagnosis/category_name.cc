#include "diagnosis/category_name.h"

#include "store/files.h"
#include "store/himoku.h"
#include "store/module.h"
#include "text/ansi.h"
#include "text/fields.h"

namespace h5 {

void LookupCategoryName(int16_t key_number, int16_t group, int16_t major_code, int16_t middle_code,
                        int16_t minor_code, CategoryNameBuffer& name_buffer) {
  ModuleData& m = Module();
  m.himoku.key_number = key_number;
  m.himoku.key_buffer.fill(0);
  uint8_t level = middle_code == 0 ? 0 : (minor_code == 0 ? 1 : 2);
  std::span<uint8_t> key(m.himoku.key_buffer);
  PutByteAt(key, 0, static_cast<uint8_t>(group));
  PutByteAt(key, 1, level);
  PutInt16At(key, 2, minor_code);
  PutInt16At(key, 4, middle_code);
  PutInt16At(key, 6, major_code);

  HimokuRecord record;
  ReadEQHimoku(record);
  if (m.BtrStatus == 0) {
    name_buffer = record.name;
  } else {
    StrToFixedBytes(name_buffer, "******              ", 20);
  }
}

}  // namespace h5
