#include "tools/layouts.h"

namespace h5 {

namespace {

KeySegment Signed(int32_t offset, int32_t length) {
  return KeySegment{offset, length, SegmentType::kSigned};
}

KeySegment Unsigned(int32_t offset, int32_t length) {
  return KeySegment{offset, length, SegmentType::kUnsigned};
}

KeyDefinition Key(int16_t number, std::vector<KeySegment> segments) {
  KeyDefinition key;
  key.number = number;
  key.segments = std::move(segments);
  key.duplicates = true;
  return key;
}

std::vector<Layout> MakeLayouts() {
  using K = FieldKind;
  std::vector<Layout> layouts;
  // The 16-bit value at offset 0 of the start record has no use here and no name.
  layouts.push_back(
      Layout{"start",
             8,
             {{"Year", 2, 2, K::kInt16}, {"Month", 4, 2, K::kInt16}, {"Day", 6, 2, K::kInt16}},
             {Key(0, {Signed(2, 2), Signed(4, 2), Signed(6, 2)})}});
  layouts.push_back(Layout{"period",
                           12,
                           {{"Year", 0, 2, K::kInt16},
                            {"Month", 2, 2, K::kInt16},
                            {"StartDay", 4, 4, K::kDate},
                            {"EndDay", 8, 4, K::kDate}},
                           {Key(0, {Signed(0, 2), Signed(2, 2)})}});
  // Key 4 is the one the diagnosis reads; key 0 is there because the account
  // book's own file has more than one key.
  layouts.push_back(
      Layout{"category",
             68,
             {{"group", 0, 1, K::kByte},
              {"level", 1, 1, K::kByte},
              {"minorCode", 2, 2, K::kInt16},
              {"middleCode", 4, 2, K::kInt16},
              {"majorCode", 6, 2, K::kInt16},
              {"name", 8, 20, K::kText}},
             {Key(0, {Signed(6, 2), Signed(4, 2), Signed(2, 2)}),
              Key(4, {Unsigned(0, 1), Unsigned(1, 1), Signed(2, 2), Signed(4, 2), Signed(6, 2)})}});
  layouts.push_back(Layout{"card", 60, {{"cardCode", 0, 2, K::kInt16}}, {Key(0, {Signed(0, 2)})}});
  layouts.push_back(Layout{"cashbook",
                           79,
                           {{"entryKind", 0, 1, K::kByte},
                            {"categoryCode", 5, 2, K::kInt16},
                            {"entryDate", 7, 4, K::kDate},
                            {"cardCode", 11, 2, K::kInt16},
                            {"statementCode", 17, 2, K::kInt16},
                            {"amount", 33, 4, K::kInt32},
                            {"fromPayStatement", 44, 1, K::kByte}},
                           {Key(0, {Signed(7, 4)})}});
  layouts.push_back(Layout{"installment",
                           27,
                           {{"entryKind", 0, 1, K::kByte},
                            {"cardCode", 7, 2, K::kInt16},
                            {"debitDate", 15, 4, K::kDate},
                            {"amount", 19, 4, K::kInt32}},
                           {Key(7, {Signed(15, 4)})}});
  layouts.push_back(
      Layout{"budget",
             12,
             {{"month", 0, 1, K::kByte},
              {"budgetKind", 1, 1, K::kByte},
              {"itemCode1", 2, 2, K::kInt16},
              {"itemCode2", 4, 2, K::kInt16},
              {"itemCode3", 6, 2, K::kInt16},
              {"amount", 8, 4, K::kInt32}},
             {Key(0, {Unsigned(0, 1), Unsigned(1, 1), Signed(2, 2), Signed(4, 2), Signed(6, 2)})}});
  layouts.push_back(Layout{"salary-item",
                           26,
                           {{"recordClass", 0, 2, K::kInt16},
                            {"statementCode", 2, 2, K::kInt16},
                            {"itemKind", 4, 1, K::kByte},
                            {"itemNumber", 13, 2, K::kInt16},
                            {"itemGroup", 15, 2, K::kInt16}},
                           {Key(1, {Signed(0, 2), Signed(2, 2)})}});
  layouts.push_back(Layout{"salary-amount",
                           26,
                           {{"salaryKind", 0, 2, K::kInt16},
                            {"statementCode", 2, 2, K::kInt16},
                            {"month", 4, 2, K::kInt16},
                            {"itemNumber", 6, 2, K::kInt16},
                            {"statementDate", 8, 4, K::kDate},
                            {"amount", 12, 4, K::kInt32}},
                           {Key(2, {Signed(0, 2), Signed(2, 2), Signed(4, 2)})}});
  return layouts;
}

}  // namespace

const std::vector<Layout>& AllLayouts() {
  static const std::vector<Layout>* const layouts = new std::vector<Layout>(MakeLayouts());
  return *layouts;
}

const Layout* FindLayout(std::string_view name) {
  for (const Layout& layout : AllLayouts()) {
    if (layout.name == name) return &layout;
  }
  return nullptr;
}

const Layout* RecognizeLayout(const FileDefinition& definition) {
  for (const Layout& layout : AllLayouts()) {
    if (layout.record_length == definition.record_length && layout.keys == definition.keys)
      return &layout;
  }
  return nullptr;
}

FileDefinition DefinitionOf(const Layout& layout) {
  FileDefinition definition;
  definition.record_length = layout.record_length;
  definition.owner_name = kBookOwnerName;
  definition.keys = layout.keys;
  return definition;
}

const FieldDef* FindField(const Layout& layout, std::string_view name) {
  for (const FieldDef& field : layout.fields) {
    if (field.name == name) return &field;
  }
  return nullptr;
}

std::string LayoutNames() {
  std::string names;
  for (const Layout& layout : AllLayouts()) {
    if (!names.empty()) names += ", ";
    names += layout.name;
  }
  return names;
}

}  // namespace h5
