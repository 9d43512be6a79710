// The record layouts of the account book's data files, as the book builder
// writes them and the dump decodes them: record length, named fields and the
// keys the diagnosis reads by. Offsets are the diagnosis's own (store/).
#ifndef H5KAKEI_TOOLS_LAYOUTS_H_
#define H5KAKEI_TOOLS_LAYOUTS_H_

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/kakeidb/file_definition.h"

namespace h5 {

// The owner name every data file of the account book is opened with.
inline constexpr char kBookOwnerName[] = "tefu";

enum class FieldKind {
  kByte,   // unsigned, 1 byte
  kInt16,  // signed little-endian
  kInt32,  // signed little-endian
  kDate,   // 32-bit day number; "YYYY-MM-DD" in a book
  kText,   // CP932, blank-padded to the width
};

struct FieldDef {
  std::string name;
  int32_t offset = 0;
  int32_t width = 0;
  FieldKind kind = FieldKind::kByte;
};

struct Layout {
  std::string name;  // "cashbook", ...
  int32_t record_length = 0;
  std::vector<FieldDef> fields;  // in offset order
  std::vector<KeyDefinition> keys;
};

// start, period, category, card, cashbook, installment, budget, salary-item,
// salary-amount, in this order.
const std::vector<Layout>& AllLayouts();

// nullptr when no layout has that name.
const Layout* FindLayout(std::string_view name);

// The layout whose record length and keys equal those of definition; nullptr
// when none does. The owner name is not looked at.
const Layout* RecognizeLayout(const FileDefinition& definition);

// nullptr when the layout has no field of that name.
const FieldDef* FindField(const Layout& layout, std::string_view name);

// "start, period, ..." for messages.
std::string LayoutNames();

}  // namespace h5

#endif  // H5KAKEI_TOOLS_LAYOUTS_H_
